// The frame window's keys: modes, view navigation and the key commands.
#include "app/frame_keys.h"

#include "app/commands.h"
#include "app/frame_state.h"
#include "app/resource.h"
#include "app/status_text.h"
#include "view/map_input.h"
#include "view/view_navigation.h"
#include "view/view_transform.h"

void FrameKeyDown(FrameKey key, bool shift, bool control, int32_t cursorX, int32_t cursorY) {
    if (frameBusy) {
        if (key == FrameKey::kEscape) cancelRequested = 1;
        return;
    }
    const int32_t step = shift ? 20 : 10;
    switch (key) {
        case FrameKey::kEnter:
            if (EnterKeyDown()) RunCommand(IDM_EDIT_SELECTION);
            break;
        case FrameKey::kControl:
            ControlKeyDown(cursorX, cursorY);
            break;
        case FrameKey::kEscape:
            EscapeKeyDown();
            break;
        case FrameKey::kLeft:
            ScrollView(-step, 0);
            break;
        case FrameKey::kUp:
            ScrollView(0, step);
            break;
        case FrameKey::kRight:
            ScrollView(step, 0);
            break;
        case FrameKey::kDown:
            ScrollView(0, -step);
            break;
        case FrameKey::kDelete:
            RunCommand(IDM_DELETE_SELECTION);
            break;
        case FrameKey::kA:
            FitView();
            break;
        case FrameKey::kC:
            viewCentreX = viewCentreY = 0;
            ScrollView(0, 0);
            break;
        case FrameKey::kF:
            RunCommand(IDM_FLIP);
            break;
        case FrameKey::kI:
            ZoomView(shift ? 1.0201f : 1.01f);
            break;
        case FrameKey::kO:
            ZoomView(shift ? 0.9801f : 0.99f);
            break;
        case FrameKey::kR:
            viewScale = 1;
            ZoomView(1);
            break;
        case FrameKey::kY:
            if (control) RunCommand(IDM_REDO);
            break;
        case FrameKey::kZ:
            if (control) RunCommand(shift ? IDM_REDO : IDM_UNDO);
            break;
        case FrameKey::kF1:
            RunCommand(IDM_HELP);
            break;
        case FrameKey::kOther:
            return;  // nothing changed: a note stays
    }
    UpdateStatusBar();
}

// Releases refresh the status bar only when the mode changed, so that the
// release of the key that answered a question does not wipe " 保存しました".
void FrameKeyUp(FrameKey key) {
    if (frameBusy || key != FrameKey::kControl) return;
    const MapMode before = mapMode;
    ControlKeyUp();
    if (mapMode != before) UpdateStatusBar();
}

void FrameAltDown(int32_t cursorX, int32_t cursorY) {
    if (frameBusy) return;
    AltKeyDown(cursorX, cursorY);
    UpdateStatusBar();
}

void FrameAltUp() {
    if (frameBusy) return;
    const MapMode before = mapMode;
    AltKeyUp();
    if (mapMode != before) UpdateStatusBar();
}
