// The map view's input state machine: modes, selection, drags and clicks.
#include "view/map_input.h"

#include "model/editing.h"
#include "model/geometry.h"
#include "model/map.h"
#include "model/map_history.h"
#include "model/sector_drawing.h"
#include "view/picking.h"
#include "view/view_transform.h"

MapMode mapMode = MapMode::kSelect;
int32_t dragging = 0;

namespace {
// Drawing overlays insertion: Ctrl pressed with Alt held draws, and the
// insertion comes back when the drawing ends while Alt is still held.
MapMode modeUnderDrawing = MapMode::kSelect;
Vertex savedVertex;  // the dragged vertex as it was when the drag began
float savedThingX = 0, savedThingY = 0;
int32_t popupX = 0, popupY = 0;  // where the thing type menu was opened

void EndDrawing() {
    if (mapMode == MapMode::kDrawSector) mapMode = modeUnderDrawing;
}

// Declared first in each entry point: on the way out, what the input changed
// becomes a step to undo.
struct InputStep {
    InputStep() = default;
    InputStep(const InputStep&) = delete;
    InputStep& operator=(const InputStep&) = delete;
    ~InputStep() {
        if (!dragging) CommitMapChange();
    }
};

DrawPoint MapPoint(int32_t x, int32_t y) {
    DrawPoint p = {0, 0, kDrawFree, nullptr};
    ViewToMap(static_cast<float>(x), static_cast<float>(y), p.x, p.y);
    return p;
}
}  // namespace

void MapMouseMove(int32_t x, int32_t y, bool leftButtonHeld) {
    const InputStep step;
    if (mapMode == MapMode::kDrawSector) {
        PickAt(x, y);
        const DrawPoint p = MapPoint(x, y);
        MoveRubberBand(p.x, p.y);
    } else if (mapMode == MapMode::kInsertVertex) {
        PickAt(x, y);
    } else if (dragging && leftButtonHeld && (selection.kind == kObjectVertex || selection.kind == kObjectThing)) {
        const DrawPoint p = MapPoint(x, y);
        DragTo(selection, p.x, p.y);
    }
}

void MapLeftButtonDown(int32_t x, int32_t y) {
    const InputStep step;
    PickAt(x, y);
    const DrawPoint p = MapPoint(x, y);
    if (mapMode == MapMode::kDrawSector) {
        if (AddDrawPoint(p.x, p.y)) EndDrawing();
        return;
    }
    if (mapMode == MapMode::kInsertVertex && hover.kind == kObjectLinedef && hover.object) {
        InsertVertex(p.x, p.y, static_cast<Linedef*>(hover.object));
        return;
    }
    if (mapMode == MapMode::kPvsTest) return;
    switch (hover.kind) {
        case kObjectNone: {
            Sector* s = FindSectorAt(p);
            selection = s ? MapObject{kObjectSector, s} : MapObject{kObjectNone, nullptr};
            break;
        }
        case kObjectVertex:
            if (auto* v = static_cast<Vertex*>(hover.object)) {
                selection = hover;
                BeginDrag(v->x, v->y, p.x, p.y);
                savedVertex = *v;
                dragging = 1;
            }
            break;
        case kObjectLinedef:
            if (hover.object) selection = hover;
            break;
        case kObjectThing:
            if (auto* t = static_cast<Thing*>(hover.object)) {
                selection = hover;
                BeginDrag(t->x, t->y, p.x, p.y);
                savedThingX = t->x;
                savedThingY = t->y;
                dragging = 1;
            }
            break;
        default:
            break;
    }
}

bool MapLeftButtonUp() {
    const InputStep step;
    if (!dragging) return false;
    if (selection.kind == kObjectVertex && selection.object) {
        auto* v = static_cast<Vertex*>(selection.object);
        if (!CheckVertexMove(v)) {
            v->x = savedVertex.x;
            v->y = savedVertex.y;
        } else if (v->x != savedVertex.x || v->y != savedVertex.y) {
            MarkModified();
        }
    } else if (selection.kind == kObjectThing && selection.object) {
        auto* t = static_cast<Thing*>(selection.object);
        if (t->x != savedThingX || t->y != savedThingY) MarkModified();
    }
    dragging = 0;
    return true;
}

void TakeBackDrawPoint() {
    const InputStep step;
    if (RemoveLastDrawPoint()) EndDrawing();
}

bool MapRightButtonDown(int32_t x, int32_t y) {
    const InputStep step;
    if (mapMode == MapMode::kDrawSector) {
        TakeBackDrawPoint();
        return false;
    }
    selection = {kObjectNone, nullptr};
    popupX = x;
    popupY = y;
    return true;
}

void MapThingMenuChosen(int32_t row) {
    const InputStep step;
    const DrawPoint p = MapPoint(popupX, popupY);
    PlaceThing(p.x, p.y, row);
}

void ControlKeyDown(int32_t cursorX, int32_t cursorY) {
    const InputStep step;
    selection = {kObjectNone, nullptr};
    if (mapMode != MapMode::kDrawSector && numDrawPoints == 0 && mapMode != MapMode::kPvsTest) {
        modeUnderDrawing = mapMode;
        mapMode = MapMode::kDrawSector;
        PickAt(cursorX, cursorY);
    }
}

void ControlKeyUp() {
    const InputStep step;
    if (mapMode == MapMode::kDrawSector && numDrawPoints == 0) EndDrawing();
}

void AltKeyDown(int32_t cursorX, int32_t cursorY) {
    const InputStep step;
    selection = {kObjectNone, nullptr};
    if (mapMode == MapMode::kSelect) {
        mapMode = MapMode::kInsertVertex;
        PickAt(cursorX, cursorY);
    } else if (mapMode == MapMode::kDrawSector && modeUnderDrawing != MapMode::kInsertVertex) {
        modeUnderDrawing = MapMode::kInsertVertex;
        PickAt(cursorX, cursorY);
    }
}

void AltKeyUp() {
    const InputStep step;
    if (mapMode == MapMode::kInsertVertex) mapMode = MapMode::kSelect;
    if (modeUnderDrawing == MapMode::kInsertVertex) modeUnderDrawing = MapMode::kSelect;
}

void EscapeKeyDown() {
    const InputStep step;
    if (mapMode == MapMode::kDrawSector) {
        numDrawPoints = 0;
        EndDrawing();
    } else {
        selection = {kObjectNone, nullptr};
    }
}

bool EnterKeyDown() {
    const InputStep step;
    if (mapMode == MapMode::kDrawSector) {
        if (CloseDrawing()) EndDrawing();
        return false;
    }
    return true;
}
