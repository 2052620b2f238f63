// The edit and view commands: the selection's dialog, the grid, the axes,
// the build's lines and the PVS test.
#include "app/command_handlers.h"
#include "model/editing.h"
#include "model/map.h"
#include "model/map_history.h"
#include "model/sector_drawing.h"
#include "platform/shell.h"
#include "view/map_input.h"
#include "view/view_navigation.h"

bool HasSelection() { return selection.kind != kObjectNone && selection.object; }

bool HasTwoSidedLinedefSelected() {
    return selection.kind == kObjectLinedef && selection.object &&
           static_cast<const Linedef*>(selection.object)->left.sector;
}

void EditSelectionCommand() {
    if (!selection.object) return;
    switch (selection.kind) {
        case kObjectLinedef:
            PlatformRunDialog("lineedit");
            break;
        case kObjectSector:
            PlatformRunDialog("secedit");
            break;
        case kObjectThing:
            PlatformRunDialog("thingedit");
            break;
        default:
            break;
    }
}

// While a polygon is being drawn, undo takes back its last point.
bool DrawingPolygon() { return mapMode == MapMode::kDrawSector && numDrawPoints > 0; }

void UndoCommand() {
    if (DrawingPolygon())
        TakeBackDrawPoint();
    else
        UndoMapChange();
}

void RedoCommand() { RedoMapChange(); }

bool CanUndo() { return !dragging && (DrawingPolygon() || CanUndoMapChange()); }

bool CanRedo() { return !dragging && !DrawingPolygon() && CanRedoMapChange(); }

void GridButtonCommand() { PlatformShowGridMenu(); }

void GridCommand(int size) { gridSize = size; }

void AxesCommand() { showAxes = !showAxes; }

void BspLinesCommand() { showBspLines = !showBspLines; }

void PvsTestCommand() {
    if (mapMode == MapMode::kPvsTest) {
        mapMode = MapMode::kSelect;
        return;
    }
    // A polygon being drawn is abandoned: the test takes the clicks.
    numDrawPoints = 0;
    mapMode = MapMode::kPvsTest;
    selection = {kObjectNone, nullptr};
    pvsChosenSubsector = -1;
}
