// Undo and redo: the map as its file bytes after every user action. Only the
// current state is kept whole; each step back or forward is kept as the
// bytes in which it differs from its neighbour, so a step on a big level
// costs about what the action changed.
#pragma once

#include <cstddef>

// The current map becomes the only state, with nothing to undo or redo, and
// the state in the map file when it is not modified (a map loaded, a new map).
void ResetMapHistory();

// The end of a user action (a click, a key, a command, a dialog's OK): when
// the map changed since the last one, the state before becomes a step to
// undo, and the steps to redo are dropped. Cheap when nothing changed.
void CommitMapChange();

// Counts a change of the map (every MarkModified does), so that the next
// CommitMapChange looks at it.
void NoteMapChanged();

// The current state is what the map file holds (after a save).
void NoteMapSaved();

bool CanUndoMapChange();
bool CanRedoMapChange();
// Puts the map back to the state before the last step (after the next one):
// the selection and the hover become none, the build's tables are dropped,
// and the modified flag says whether the state differs from the saved one.
bool UndoMapChange();
bool RedoMapChange();

// The steps kept: at most kMaxUndoSteps, and fewer while their bytes pass
// kMaxUndoBytes, but never fewer than kMinUndoSteps.
constexpr int kMaxUndoSteps = 1000;
constexpr int kMinUndoSteps = 100;
constexpr std::size_t kMaxUndoBytes = std::size_t{256} << 20;

struct MapHistoryUsage {
    std::size_t undoSteps;
    std::size_t redoSteps;
    std::size_t bytes;  // the current state's and every step's
};
MapHistoryUsage MapHistorySize();
