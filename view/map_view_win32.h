// The map view child window "ChildWndClass": an OpenGL view between the
// frame's tool bar and status bar.
#pragma once

#include <windows.h>

// What the view asks its frame: whether it takes mouse input now (not while
// long work runs), and to show what a mouse action changed.
struct MapViewFrame {
    bool (*takesInput)();
    void (*changed)();
};

// Registers the class and creates the view as a child of parent.
HWND CreateMapView(HWND parent, HINSTANCE instance, int x, int y, int width, int height, MapViewFrame frame);
