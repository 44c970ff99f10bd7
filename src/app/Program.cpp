#include "Program.h"

#include "frmMain.h"
#include "info/AppInfo.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>
#include <QMessageBox>

void Begin(frmMain &window, SoundComponent &component)
{
    window.show();
    if (!component.IsOpen()) {
        QMessageBox::warning(&window, QString::fromUtf8(AppInfo::Title),
                             QStringLiteral("Fant ingen lydenhet. Velkarn går videre uten lyd."));
    }
    SoundPlayer &player = window.Player();
    player.PlayWave(player.SoundDir() + QStringLiteral("welcome.wav"), true, 0);
    window.NewGame();
}

int Main()
{
    SdlSoundComponent component;
    frmMain window(component);
    Begin(window, component);
    // The ordinary event loop blocks until something happens and ends with the last window.
    return QApplication::exec();
}
