// The thing type menu: categories, then each type's name, then its sprite;
// choosing an entry sends the owner a command whose identifier is the row
// of the thing type table.
#pragma once

#include <windows.h>

// The menu, made on first use from the catalogue and kept until exit.
HMENU ThingTypeMenu();
