// The map view child window "ChildWndClass": an OpenGL view between the
// frame's tool bar and status bar.
#pragma once

#include <windows.h>

// Registers the class and creates the view as a child of parent.
HWND CreateMapView(HWND parent, HINSTANCE instance, int x, int y, int width, int height);

// Called after a mouse action that changes what the status bar shows; the
// frame sets it.
extern void (*mapViewStatusChanged)();
