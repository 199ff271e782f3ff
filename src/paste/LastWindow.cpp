#include "paste/LastWindow.h"

TWindowHandle LastWindow = kNoWindow;
