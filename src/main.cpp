#include "gui/MainWindow.h"
#include "info/AppInfo.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Ties the running window to its menu entry and icon, where the desktop asks for them.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(AppInfo::Id));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromUtf8(AppInfo::Id)));
    SdlSoundComponent sound;
    MainWindow window(sound);
    window.start();
    // The ordinary event loop blocks until something happens and ends with the last window.
    return QApplication::exec();
}
