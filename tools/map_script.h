// Map scripts: the map view's mouse and keys as lines of text, with
// positions in map coordinates, so that maps can be drawn without a window.
// The commands are listed by MapScriptUsage(), e.g. "sector X1 Y1 X2 Y2 ..."
// holds Ctrl, clicks every corner and presses Enter.
//
// Blank lines and text after '#' are ignored. Positions are rounded to the
// nearest view pixel, as a mouse would give them.
#pragma once

#include <string>

// Runs the script; false, with a message naming the line, at the first line
// that cannot be run. Refused edits are warnings, not script errors.
bool RunMapScript(const std::string& script, std::string& error);

// One line per command: its arguments and what it does.
std::string MapScriptUsage();

// Puts the view the scripts start with in place: 8192 by 8192 pixels,
// centre (0, 0), scale 1.
void ResetScriptView();
