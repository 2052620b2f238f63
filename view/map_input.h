// What the mouse and the mode keys do in the map view, decided without a
// window: the Windows procedures pass their pixel positions here and redraw.
#pragma once

#include <cstdint>

extern int32_t vertexInsertionMode;  // 1 while Alt is held
extern int32_t pvsTestMode;          // 1 while the PVS test view is on
extern int32_t dragging;             // 1 while a vertex or thing follows the mouse

void MapMouseMove(int32_t x, int32_t y, bool leftButtonHeld);
void MapLeftButtonDown(int32_t x, int32_t y);
// False when no drag was going on (the message is the system's to handle).
bool MapLeftButtonUp();
// True when the thing type menu is to open at (x, y); the choice is placed there.
bool MapRightButtonDown(int32_t x, int32_t y);
void MapThingMenuChosen(int32_t row);

// The mode keys; the cursor is given in view pixels.
void ControlKeyDown(int32_t cursorX, int32_t cursorY);
void ControlKeyUp();
void AltKeyDown(int32_t cursorX, int32_t cursorY);
void AltKeyUp();
void EscapeKeyDown();
// True when Enter means the Edit command for the selection.
bool EnterKeyDown();
