#pragma once

class frmMain;
class SoundComponent;

/// Shows the window, says so once when there is no sound, greets the player and starts the first game.
void Begin(frmMain &window, SoundComponent &component);
/// The whole program: plays until the main window is closed; returns the exit code.
int Main();
