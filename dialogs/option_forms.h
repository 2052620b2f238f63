// The working copies of the build option, play option and game executable
// dialogs, which edit the settings of keldra.cfg.
#pragma once

#include <optional>
#include <string>

#include "dialogs/number_field.h"

// The controls the forms name in their refusals.
constexpr int kPlayFilesField = 4001;
constexpr int kPlayOthersField = 4002;
constexpr int kChooseGameButton = 8000;

// True when the text is empty or holds only blanks and tabs.
bool IsBlankText(const std::string& text);

struct BuildOptionsForm {
    bool computePvs = false;      // buildoption1
    bool writeDebugFile = false;  // buildoption2
};
BuildOptionsForm LoadBuildOptionsForm();
// Stores both switches; the debug log follows its switch at once.
void ApplyBuildOptionsForm(const BuildOptionsForm& form);

struct PlayOptionsForm {
    bool noMonsters = false;  // playoption1
    bool noMusic = false;     // playoption2
    std::string files;        // playoption3, empty when unset
    std::string others;       // playoption4, empty when unset
};
PlayOptionsForm LoadPlayOptionsForm();
// A blank text field stores the unset marker, any other text is stored as
// typed. A text keldra.cfg cannot hold whole (longer than its 255 bytes of
// code page 932, or with characters that code page lacks) is refused, and
// then nothing is stored.
std::optional<FieldRefusal> ApplyPlayOptionsForm(const PlayOptionsForm& form);

// What the game executable dialog shows where no executable is set.
extern const char* const kGameNotSet;  // "指定されていません"

struct GameExecutableForm {
    std::string path;  // the unset marker when none is chosen
};
GameExecutableForm LoadGameExecutableForm();
// The text shown for the path: the path, or kGameNotSet.
std::string GameExecutableText(const GameExecutableForm& form);
// Stores the path; refused, storing nothing, when keldra.cfg cannot hold it
// whole (longer than 1023 bytes of code page 932, or characters that code
// page lacks).
std::optional<FieldRefusal> ApplyGameExecutableForm(const GameExecutableForm& form);
