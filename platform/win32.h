// Windows-only helpers of the platform layer, for the Windows front end.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The window whose title PlatformSetWindowTitle sets.
void SetTitleWindow(HWND window);
