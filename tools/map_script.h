// Map scripts: the map view's mouse and keys as lines of text, with
// positions in map coordinates, so that maps can be drawn without a window.
//
//   grid N                  grid of N map units (0, 8, 16, 32, 64)
//   view CX CY SCALE        view centre and pixels per map unit
//   size W H                view size in pixels (8192 by 8192 at first)
//   move X Y                mouse move without a button
//   click X Y               left click;  down X Y / up: its two halves
//   drag X1 Y1 X2 Y2        left button down at 1, moved to 2, released
//   rclick X Y              right click; menu ROW then places a thing there
//   press ctrl|alt X Y      key down with the mouse at X Y;  release ctrl|alt
//   key enter|escape|delete|flip
//   sector X1 Y1 X2 Y2 ...  holds Ctrl, clicks every corner, Enter, releases
//   insert X Y              holds Alt and clicks the linedef at X Y
//   thing ROW X Y           right click at X Y and choose ROW of the thing table
//   slot N                  map slot 1 to 32
//   clear                   the clear map command
//   load PATH / save PATH
//
// Blank lines and text after '#' are ignored. Positions are rounded to the
// nearest view pixel, as a mouse would give them.
#pragma once

#include <string>

// Runs the script; false, with a message naming the line, at the first line
// that cannot be run. Refused edits are warnings, not script errors.
bool RunMapScript(const std::string& script, std::string& error);

// Puts the view the scripts start with in place: 8192 by 8192 pixels,
// centre (0, 0), scale 1.
void ResetScriptView();
