// The map slot dialog: which map of the game the level is built as.
#include "dialogs/dialog_support_win32.h"
#include "dialogs/map_slot_form.h"

namespace {

constexpr int kSlotList = 3001;

INT_PTR CALLBACK MapSlotDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CentreDialog(dialog);
            FillDropDown(dialog, kSlotList, MapSlotEntries(), LoadMapSlotForm().position);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: {
                    MapSlotForm form;
                    form.position = DropDownPosition(dialog, kSlotList);
                    ApplyMapSlotForm(form);
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

const DialogRegistration kRegistration("changemap", MapSlotDialogProc);

}  // namespace
