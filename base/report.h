// The three ways any part of the program reports a problem.
#pragma once

#include <cstddef>
#include <string>

#if defined(__GNUC__)
#define KELDRA_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KELDRA_PRINTF(fmt, args)
#endif

// Appends the formatted text to "debug.txt" when the debug log is switched
// on. Adds nothing: callers end their lines with "\n".
void LogDebug(const char* format, ...) KELDRA_PRINTF(1, 2);

// Switches the debug log on or off; off until the settings say otherwise.
void SetDebugLogEnabled(bool enabled);
bool DebugLogEnabled();

// Shows the formatted text in a message box and returns when it is closed.
void ShowWarning(const char* format, ...) KELDRA_PRINTF(1, 2);

// Shows the formatted text followed by the closing line, then ends the program.
[[noreturn]] void FatalError(const char* format, ...) KELDRA_PRINTF(1, 2);

// The box holds what a 256-byte buffer of the Japanese code page holds.
constexpr std::size_t kWarningTextLimit = 255;
constexpr std::size_t kFatalTextLimit = 232;
extern const char* const kFatalSuffix;  // "\nプログラムは終了します"

// Cuts UTF-8 text, at a character boundary, to the characters that fit into
// limit bytes of code page 932 (ASCII and half-width katakana take one byte,
// every other character two).
std::string CutToCp932Length(const std::string& text, std::size_t limit);
