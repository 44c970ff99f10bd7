#include "gui/MainWindow.h"
#include "info/AppInfo.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Ties the running window to its menu entry and icon, where the desktop asks for them.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(AppInfo::Id));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromUtf8(AppInfo::Id)));
    auto sound = std::make_unique<SdlSoundComponent>();
    int exitCode = 0;
    {
        MainWindow window(*sound);
        window.start();
        // The ordinary event loop blocks until something happens and ends with the last window.
        exitCode = QApplication::exec();
    } // the window has written the settings by now
    return SdlSoundComponent::closeAtExit(std::move(sound), exitCode);
}
