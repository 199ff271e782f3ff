#pragma once
// The program entry: start-up, the hidden main window and the message loop.

// Runs the program; returns the exit code when the message loop ends.
int RunProgram(int& argc, char** argv);
