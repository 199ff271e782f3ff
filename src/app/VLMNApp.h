#pragma once
// The program entry: start-up, the hidden main window and the message loop.

#include "app/Startup.h"

// What the program's start-up shows and uses: the single-instance message,
// the splash and the program icon (also made the windows' default icon).
TStartupServices ProgramStartupServices();

// Runs the program; returns the exit code when the message loop ends.
int RunProgram(int& argc, char** argv);
