// The frame's side of the seam: questions, file dialogs, the status bar, the
// game's process and the help viewer. The Windows side uses the main window;
// the headless side answers from queues that scripts and tests fill.
#pragma once

#include <string>

enum class Answer { kYes, kNo, kCancel };
enum class AskButtons { kYesNo, kYesNoCancel };

// Asks the UTF-8 question in a box owned by the main window, with the
// exclamation icon; returns the button pressed (closing the box is Cancel,
// or No when there is no Cancel button).
Answer PlatformAsk(const std::string& text, const std::string& caption, AskButtons buttons);

// The map file dialog ("*.kdm", default extension kdm, working directory
// left alone). False when cancelled; otherwise path holds the chosen file.
// The save dialog does not ask about replacing: the caller does.
bool PlatformChooseMapFile(bool save, std::string& path);

// The open dialog for a WAD file ("*.wad"). False when cancelled.
bool PlatformChooseWadFile(std::string& path);

// Sets the text of status bar part 0 to 3.
void PlatformSetStatusText(int part, const std::string& text);

// Starts the executable with the whole command line (its first entry is the
// program's name) in the directory, and waits until it has ended. False
// when it could not be started.
bool PlatformRunProcess(const std::string& executable, const std::string& commandLine, const std::string& directory);

// The working directory as an absolute path.
std::string PlatformCurrentDirectory();

// Shows the help file's default topic; nothing happens when the viewer or
// the file is missing.
void PlatformShowHelp(const std::string& path);

// Runs the modal dialog of that resource name; false when there is none.
bool PlatformRunDialog(const char* name);

// Opens the grid menu under the tool bar's grid button.
void PlatformShowGridMenu();

// Destroys the main window, which ends the message loop.
void PlatformCloseMainWindow();

// Handles the input and painting that is waiting, then returns: long work
// calls it now and then so that the window stays alive.
void PlatformPumpMessages();
