#pragma once

/// The whole program: plays until the main window is closed; returns the exit code.
int Main();
