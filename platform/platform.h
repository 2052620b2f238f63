// The seam between the program and the operating system's user interface.
// Which implementation is linked decides how a message reaches the user: the
// Windows one shows message boxes, the headless one writes to stderr.
#pragma once

#include <string>

// Shows a modal message box without owner: caption "Keldra", the UTF-8 text,
// an OK button only and no icon. Returns when the user has closed it.
void PlatformShowMessage(const std::string& text);

// Ends the process after a fatal error has been shown. The editor ends with
// status 0; the headless build ends with status 1 so that scripts see failure.
[[noreturn]] void PlatformExitAfterFatalError();

// Replaces the main window's title; the headless build only remembers it.
void PlatformSetWindowTitle(const std::string& text);
