// The handlers of the command table, by the file that holds them.
#pragma once

// app/file_commands.cpp
void NewCommand();
void OpenCommand();
void ClearCommand();
void ExitCommand();

// app/view_commands.cpp
void EditSelectionCommand();
void GridButtonCommand();
void GridCommand(int size);
void AxesCommand();
void BspLinesCommand();
void PvsTestCommand();
bool HasSelection();
bool HasTwoSidedLinedefSelected();
void UndoCommand();
void RedoCommand();
bool CanUndo();
bool CanRedo();
