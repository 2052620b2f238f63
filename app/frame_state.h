// What the frame keeps between commands: the one-shot notes of the status
// bar and whether long work is running.
#pragma once

#include <cstdint>

// Set by the save and build commands; the next status bar refresh shows
// " 保存しました" or " ビルドしました" once and clears them.
extern int32_t savedNote;
extern int32_t builtNote;

// 1 while a build or the play test runs and the window only pumps its
// messages: commands are refused, Esc asks the build to stop.
extern int32_t frameBusy;
extern int32_t cancelRequested;
