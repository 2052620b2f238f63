// Debug log, warnings and fatal errors.
#include "base/report.h"

#include <cstdarg>
#include <cstdio>

#include "platform/files.h"
#include "platform/platform.h"

const char* const kFatalSuffix = "\nプログラムは終了します";

namespace {
bool debugLogEnabled = false;

std::string FormatText(const char* format, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(n));
    return text;
}
}  // namespace

std::string CutToCp932Length(const std::string& text, std::size_t limit) {
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + length > text.size()) break;  // a broken sequence ends the text
        unsigned codePoint = lead;
        if (length == 3) {
            codePoint = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        }
        std::size_t width = (length == 1 || (codePoint >= 0xFF61 && codePoint <= 0xFF9F)) ? 1 : 2;
        if (used + width > limit) break;
        used += width;
        i += length;
    }
    return text.substr(0, i);
}

void SetDebugLogEnabled(bool enabled) { debugLogEnabled = enabled; }
bool DebugLogEnabled() { return debugLogEnabled; }

void LogDebug(const char* format, ...) {
    if (!debugLogEnabled) return;
    std::va_list args;
    va_start(args, format);
    std::string text = Utf8ToCp932(FormatText(format, args));
    va_end(args);
    std::FILE* f = OpenFile("debug.txt", "a");
    if (!f) return;  // logging never stops the program
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

void ShowWarning(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatText(format, args);
    va_end(args);
    PlatformShowMessage(CutToCp932Length(text, kWarningTextLimit));
}

void FatalError(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string text = FormatText(format, args);
    va_end(args);
    PlatformShowMessage(CutToCp932Length(text, kFatalTextLimit) + kFatalSuffix);
    PlatformExitAfterFatalError();
}
