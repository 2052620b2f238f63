// The frame's commands: one table of command numbers (app/resource.h) with
// their handlers, run alike by the menu, the tool bar, the keys and map
// scripts. A handler decides without a window: it asks the platform seam
// (platform/shell.h) for the question boxes and file dialogs it needs.
#pragma once

#include <cstdint>
#include <string>

struct Command {
    int32_t id;        // the command number of the menu item or button
    const char* name;  // the name map scripts use ("save", "build", ...)
    void (*run)();
    bool (*applies)();  // whether the command can run now; null: always
};

extern const Command commands[];
extern const int kNumCommands;

// The table row of a number or a name, or null.
const Command* FindCommand(int32_t id);
const Command* FindCommandByName(const std::string& name);

// Runs the command when it applies now, then refreshes the status bar
// (help aside). False when there is no such command or it does not apply:
// no command runs while a build or the play test is going on.
bool RunCommand(int32_t id);
bool CommandApplies(int32_t id);

// The steps other commands share; each returns false when the user
// cancelled or the work failed, so that the caller stops.
// The unsaved-changes question: Yes saves, No discards, Cancel goes back.
bool ConfirmDiscard();
// The save command: asks about the default name on the first save.
bool SaveCommand();
// The save-as command: the save dialog, a question before replacing a file.
bool SaveAsCommand();
// The build command: saves, then builds; Esc stops the PVS pass.
bool BuildCommand();
