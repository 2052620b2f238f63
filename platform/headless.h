// The headless side of the message seam (command-line tool, tests): a
// message is printed on stderr, beginning with a prefix that says where it
// comes from.
#pragma once

#include <string>

// The text before each message; "Keldra: " until set. The command-line tool
// names the file it is working on here, so that every message names it.
void SetMessagePrefix(const std::string& prefix);

// The frame seam without a window (platform/shell.h). Questions take their
// answers from a queue (No when it is empty); file dialogs take their paths
// from a queue (cancelled when it is empty, or for an empty path).
#include <functional>
#include <vector>

#include "platform/shell.h"

void QueueAnswer(Answer answer);
void QueueChosenPath(const std::string& path);
// What the next PlatformRunDialog does in place of the user: the action runs
// and its result is the dialog's (true for OK). Without one, a dialog is
// recorded and cancelled.
void QueueDialogAction(std::function<bool()> action);
// Whether PlatformRunProcess reports the game as started (true at first).
void SetProcessStarts(bool starts);
// Called by every PlatformPumpMessages, as if input had arrived meanwhile.
void SetPumpHook(std::function<void()> hook);

struct ProcessStart {
    std::string executable;
    std::string commandLine;
    std::string directory;
};

// What the frame seam was asked to show or do since the last reset.
struct HeadlessRecord {
    std::vector<std::string> questions;
    std::vector<std::string> fileDialogs;  // "open", "save" or "wad", in order
    std::string statusTexts[4];
    std::vector<ProcessStart> processes;
    std::vector<std::string> helpShown;
    std::vector<std::string> dialogs;
    int gridMenus = 0;
    int pumps = 0;
    bool closed = false;
};
HeadlessRecord& Headless();

// Empties the queues and the record.
void ResetHeadlessShell();
