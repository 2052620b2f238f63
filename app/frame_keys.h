// The frame window's keys: every key press of the editor arrives here,
// named without the platform's key codes.
#pragma once

#include <cstdint>

enum class FrameKey {
    kOther,
    kEnter,
    kControl,
    kEscape,
    kLeft,
    kUp,
    kRight,
    kDown,
    kDelete,
    kA,  // fit the map into the view
    kC,  // centre on the origin
    kF,  // flip
    kI,  // zoom in
    kO,  // zoom out
    kR,  // one pixel per map unit
    kY,  // with Ctrl: redo
    kZ,  // with Ctrl: undo; with Ctrl and Shift: redo
    kF1,
};

// A key pressed; shift and control tell whether Shift and Ctrl are held, the
// cursor is in map view pixels. While the frame is busy only Esc counts: it asks the build
// to stop. Refreshes the status bar, except after a key that does nothing.
void FrameKeyDown(FrameKey key, bool shift, bool control, int32_t cursorX, int32_t cursorY);
// A key released: Ctrl ends sector drawing mode when no point was placed.
// The status bar is refreshed only when the mode changed.
void FrameKeyUp(FrameKey key);
// Alt pressed and released: vertex insertion mode.
void FrameAltDown(int32_t cursorX, int32_t cursorY);
void FrameAltUp();
