// The main window's title: program, map file name, modified mark, map slot.
#pragma once

#include <string>

// "Keldra - [name - MAP01]", with " * - " in the middle while modified.
std::string TitleText();

// Sets the main window's title to TitleText().
void UpdateTitle();
