#pragma once
// The dialogs behind the main window's commands, as the program runs them.
#include "ui/main/MainDialogs.h"

TMainDialogs ProgramDialogs();
