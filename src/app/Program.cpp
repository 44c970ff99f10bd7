#include "Program.h"

#include "frmMain.h"
#include "sound/SdlSoundComponent.h"

#include <QApplication>

int Main()
{
    SdlSoundComponent component;
    frmMain window(component);
    window.Start();
    // The ordinary event loop blocks until something happens and ends with the last window.
    return QApplication::exec();
}
