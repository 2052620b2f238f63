// What the mouse and the mode keys do in the map view, decided without a
// window: the Windows procedures pass their pixel positions here and redraw.
#pragma once

#include <cstdint>

// What clicks in the map view do; the mode keys and the PVS test command
// switch it.
enum class MapMode : int32_t {
    kSelect,        // clicks select; a vertex or thing clicked is dragged
    kDrawSector,    // Ctrl held, or a polygon begun: clicks place its corners
    kInsertVertex,  // Alt held: a click on a linedef inserts a vertex there
    kPvsTest,       // clicks only pick the subsector whose visible set is shown
};
extern MapMode mapMode;

// 1 while a vertex or thing follows the mouse. A drag belongs to the left
// button, not to a mode: it also starts on a vertex clicked in insertion mode.
extern int32_t dragging;

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
// Takes back the last point of the polygon being drawn (the drawing ends
// with its first point).
void TakeBackDrawPoint();

// Each of these is one user action: what it changed in the map becomes one
// step to undo when it returns, except while a drag goes on (the whole drag
// is one step, kept when the button is released).
