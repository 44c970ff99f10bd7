#include "Program.h"
#include "info/AppInfo.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Ties the running window to its menu entry and icon, where the desktop asks for them.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(AppInfo::Id));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromUtf8(AppInfo::Id)));
    return Main();
}
