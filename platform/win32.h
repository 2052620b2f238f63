// Windows-only helpers of the platform layer, for the Windows front end.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The window whose title PlatformSetWindowTitle sets.
void SetTitleWindow(HWND window);

// The frame's windows that the frame seam (platform/shell.h) works with;
// the frame fills this in as it creates them.
struct ShellWindows {
    HWND main = nullptr;
    HWND toolBar = nullptr;
    HWND statusBar = nullptr;
    HMENU gridMenu = nullptr;  // opened under the tool bar button gridButton
    int gridButton = 0;
};
extern ShellWindows shellWindows;

// The property dialogs register their procedures by resource name; the
// frame's commands run them through PlatformRunDialog (platform/shell.h).
void PlatformRegisterDialog(const char* name, DLGPROC procedure);

// Gives the keyboard back to the frame when a box or dialog that closed left
// it nowhere.
void ReturnFocusToFrame();
