// Reading and writing "keldra.cfg": lines of key, two tabs and value.
#include "app/config.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "app/backups.h"
#include "base/report.h"
#include "platform/files.h"

const char* const kUndesignated = "undesignated";

std::string gamefile = kUndesignated;
int32_t playoption1 = 0;
int32_t playoption2 = 0;
std::string playoption3 = kUndesignated;
std::string playoption4 = kUndesignated;
int32_t buildoption1 = 0;
int32_t buildoption2 = 0;

const ConfigRow configRows[] = {
    {"gamefile", &gamefile, kConfigText, kUndesignated, 0, 0.0f, kGamefileBytes},
    {"playoption1", &playoption1, kConfigInteger, nullptr, 0, 0.0f, 0},
    {"playoption2", &playoption2, kConfigInteger, nullptr, 0, 0.0f, 0},
    {"playoption3", &playoption3, kConfigText, kUndesignated, 0, 0.0f, kPlayOptionBytes},
    {"playoption4", &playoption4, kConfigText, kUndesignated, 0, 0.0f, kPlayOptionBytes},
    {"buildoption1", &buildoption1, kConfigInteger, nullptr, 0, 0.0f, 0},
    {"buildoption2", &buildoption2, kConfigInteger, nullptr, 0, 0.0f, 0},
    {"backupminutes", &backupMinutes, kConfigReal, nullptr, 0, 3.0f, 0},
};
const int kNumConfigRows = sizeof configRows / sizeof configRows[0];

namespace {
const char* const kConfigFile = "keldra.cfg";
constexpr std::size_t kMaxKeyBytes = 63;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Cuts code page 932 text to at most limit bytes without splitting a
// double-byte character.
std::string CutCp932(const std::string& text, std::size_t limit) {
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        if (i + length > limit) break;
        i += length;
    }
    return text.substr(0, i);
}

// "%d": an optional sign and digits, saturated to 32 bits; false when the
// value does not begin with a number.
bool ParseInteger(const std::string& value, int32_t& result) {
    errno = 0;
    char* end = nullptr;
    long long n = std::strtoll(value.c_str(), &end, 10);
    if (end == value.c_str()) return false;
    if (n > std::numeric_limits<int32_t>::max()) n = std::numeric_limits<int32_t>::max();
    if (n < std::numeric_limits<int32_t>::min()) n = std::numeric_limits<int32_t>::min();
    result = static_cast<int32_t>(n);
    return true;
}

bool ParseReal(const std::string& value, float& result) {
    char* end = nullptr;
    float f = std::strtof(value.c_str(), &end);
    if (end == value.c_str()) return false;
    result = f;
    return true;
}

void Apply(const ConfigRow& row, const std::string& value) {
    switch (row.type) {
        case kConfigText:
            *static_cast<std::string*>(row.variable) = Cp932ToUtf8(CutCp932(value, row.maxBytes));
            break;
        case kConfigInteger:
            ParseInteger(value, *static_cast<int32_t*>(row.variable));
            break;
        case kConfigReal:
            ParseReal(value, *static_cast<float*>(row.variable));
            break;
    }
}
}  // namespace

void SetConfigDefaults(const ConfigRow* rows, int count) {
    for (int i = 0; i < count; ++i) {
        const ConfigRow& row = rows[i];
        switch (row.type) {
            case kConfigText:
                *static_cast<std::string*>(row.variable) = row.defaultText;
                break;
            case kConfigInteger:
                *static_cast<int32_t*>(row.variable) = row.defaultInteger;
                break;
            case kConfigReal:
                *static_cast<float*>(row.variable) = row.defaultReal;
                break;
        }
    }
}

// Each record is a key (a run of non-blank characters), blanks and line ends,
// then a value running to the end of its line. Line ends are "\n" or "\r\n".
void ParseConfig(const std::string& fileBytes, const ConfigRow* rows, int count) {
    std::string text;
    text.reserve(fileBytes.size());
    for (std::size_t i = 0; i < fileBytes.size(); ++i) {
        if (fileBytes[i] == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
        text.push_back(fileBytes[i]);
    }
    std::size_t pos = 0;
    const std::size_t end = text.size();
    while (true) {
        while (pos < end && IsBlank(text[pos])) ++pos;
        if (pos == end) break;
        std::size_t keyStart = pos;
        while (pos < end && !IsBlank(text[pos]) && pos - keyStart < kMaxKeyBytes) ++pos;
        std::string key = text.substr(keyStart, pos - keyStart);
        while (pos < end && IsBlank(text[pos])) ++pos;
        if (pos == end) break;  // a key without a value
        std::size_t valueStart = pos;
        while (pos < end && text[pos] != '\n') ++pos;
        std::string value = text.substr(valueStart, pos - valueStart);
        for (int i = 0; i < count; ++i) {
            if (key == rows[i].key) Apply(rows[i], value);
        }
    }
}

std::string FormatConfig(const ConfigRow* rows, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        const ConfigRow& row = rows[i];
        out += row.key;
        out += "\t\t";
        char number[64];
        switch (row.type) {
            case kConfigText:
                out += Utf8ToCp932(*static_cast<const std::string*>(row.variable));
                break;
            case kConfigInteger:
                std::snprintf(number, sizeof number, "%d",
                              static_cast<int>(*static_cast<const int32_t*>(row.variable)));
                out += number;
                break;
            case kConfigReal:
                std::snprintf(number, sizeof number, "%f",
                              static_cast<double>(*static_cast<const float*>(row.variable)));
                out += number;
                break;
        }
        out += "\n";
    }
    return out;
}

void LoadConfig() {
    SetConfigDefaults(configRows, kNumConfigRows);
    std::string bytes;
    if (ReadWholeFile(kConfigFile, bytes)) ParseConfig(bytes, configRows, kNumConfigRows);
    SetDebugLogEnabled(buildoption2 != 0);
}

void SaveConfig() { WriteWholeFile(kConfigFile, FormatConfig(configRows, kNumConfigRows), true); }
