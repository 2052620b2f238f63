// Windows messages: message boxes through the wide API.
#include <cstdlib>

#include "platform/platform.h"
#include "platform/win32.h"

namespace {
HWND titleWindow = nullptr;
}

void SetTitleWindow(HWND window) { titleWindow = window; }

void PlatformShowMessage(const std::string& text) {
    MessageBoxW(nullptr, Widen(text).c_str(), L"Keldra", MB_OK);
    ReturnFocusToFrame();
}

void PlatformExitAfterFatalError() { std::exit(0); }

void PlatformSetWindowTitle(const std::string& text) {
    if (titleWindow) SetWindowTextW(titleWindow, Widen(text).c_str());
}
