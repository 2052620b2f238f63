// The Thing Edit dialog's procedure: it moves values between the controls
// and the thing form, and offers the thing type menu for the type.
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/dialog_support_win32.h"
#include "dialogs/thing_form.h"
#include "resources/game_tables.h"
#include "view/thing_menu_win32.h"

namespace {

Thing* edited = nullptr;
ThingForm form;

void ShowRow(HWND dialog, int row) {
    form.row = row;
    SetDialogItemText(dialog, kThingTypeName, ThingRowName(row));
    SetPreviewImage(dialog, kThingPicture, ThingRowPicture(row), ThingRowPalette(row));
}

// The thing type menu at the button's top-right corner. A chosen row comes
// back as a command posted while the menu was up; it is taken from the
// queue here, so the dialog's own commands (Esc and the close box send 2,
// which is also row 2) never pass for a row.
void ChooseType(HWND dialog) {
    RECT button = {10, 106, 50, 120};
    MapDialogRect(dialog, &button);
    POINT corner = {button.right, button.top};
    ClientToScreen(dialog, &corner);
    TrackPopupMenu(ThingTypeMenu(), TPM_LEFTALIGN | TPM_TOPALIGN, corner.x, corner.y, 0, dialog, nullptr);
    MSG chosen;
    if (PeekMessageW(&chosen, dialog, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(chosen.wParam) == 0 &&
        chosen.lParam == 0) {
        ShowRow(dialog, LOWORD(chosen.wParam));
    }
}

void Accept(HWND dialog) {
    form.angle = DropDownPosition(dialog, kThingAngleList);
    for (int i = 0; i < kNumThingOptions; ++i) {
        form.options[i] = IsDlgButtonChecked(dialog, kThingOptionFirst + i) == BST_CHECKED;
    }
    ApplyThingForm(form, *edited);
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ThingEditProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            edited = selection.kind == kObjectThing ? static_cast<Thing*>(selection.object) : nullptr;
            if (!edited) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            form = LoadThingForm(*edited);
            CentreDialog(dialog);
            FillDropDown(dialog, kThingAngleList, std::vector<std::string>(angleNames, angleNames + kNumAngles),
                         form.angle);
            for (int i = 0; i < kNumThingOptions; ++i) {
                CheckDlgButton(dialog, kThingOptionFirst + i, form.options[i] ? BST_CHECKED : BST_UNCHECKED);
            }
            ShowRow(dialog, form.row);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kThingTypeButton:
                    ChooseType(dialog);
                    return TRUE;
                case kThingOk:
                    Accept(dialog);
                    return TRUE;
                case kThingCancel:
                case IDCANCEL:  // Esc and the close box: nothing is written
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

const DialogRegistration kThingEdit("thingedit", ThingEditProc);

}  // namespace
