// The user's settings, kept between runs in "keldra.cfg".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A text setting that holds this means that nothing has been chosen.
extern const char* const kUndesignated;  // "undesignated"

// The most bytes of code page 932 a text setting keeps in the file.
constexpr std::size_t kGamefileBytes = 1023;
constexpr std::size_t kPlayOptionBytes = 255;

extern std::string gamefile;     // path of the game executable
extern int32_t playoption1;      // nonzero: pass -nomonsters
extern int32_t playoption2;      // nonzero: pass -nomusic
extern std::string playoption3;  // further files after the PWAD behind -file
extern std::string playoption4;  // other command-line options
extern int32_t buildoption1;     // nonzero: compute the PVS when building
extern int32_t buildoption2;     // nonzero: write the debug log

enum ConfigType { kConfigText = 0, kConfigInteger = 1, kConfigReal = 2 };

// One setting: its key, the variable bound to it, its type and default.
struct ConfigRow {
    const char* key;
    void* variable;  // std::string, int32_t or float by type
    int type;
    const char* defaultText;
    int32_t defaultInteger;
    float defaultReal;
    std::size_t maxBytes;  // text rows: the most bytes a value keeps in the file
};

// The settings, in the order of the lines written.
extern const ConfigRow configRows[];
extern const int kNumConfigRows;

// Sets the defaults, then reads "keldra.cfg" in the working directory when it exists.
void LoadConfig();
// Writes "keldra.cfg"; when it cannot be written nothing is said and the old file stays.
void SaveConfig();

// The same two on file contents (code page 932) and any table of rows.
void SetConfigDefaults(const ConfigRow* rows, int count);
void ParseConfig(const std::string& fileBytes, const ConfigRow* rows, int count);
std::string FormatConfig(const ConfigRow* rows, int count);
