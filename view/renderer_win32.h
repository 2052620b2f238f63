// The map view's OpenGL side: its context, the thing icon atlas, the
// projection of the view transform, and drawing one frame of the scene.
#pragma once

#include <windows.h>

// Creates the context on the view's own device context, the atlas from
// bitmap 1002 and the projection. False when OpenGL could not be set up;
// the other functions then do nothing.
bool SetupView(HWND view);
// The viewport and projection after the view's size (SetViewSize) changed.
void ResizeView();
// Draws the scene of the current state and shows it.
void DrawFrame();
// Releases the context and the atlas, when the view is destroyed.
void TearDownView();
// Whether a context exists.
bool ViewHasContext();
