// The frame window: menu bar, tool bar, status bar and the map view between.
#pragma once

#include <windows.h>

// Registers the class "Keldra" and creates the frame with its children;
// null when that failed.
HWND CreateFrameWindow(HINSTANCE instance);
