// The Sector Edit and Default Sector dialogs' procedures: they move values
// between the controls and the sector form.
#include <windows.h>

#include "dialogs/dialog_support_win32.h"
#include "dialogs/pickers_win32.h"
#include "dialogs/sector_form.h"
#include "model/map.h"

namespace {

// The sector being edited; null in Default Sector.
Sector* edited = nullptr;

void ShowForm(HWND dialog, const SectorForm& form) {
    SetDialogItemText(dialog, kSectorFloorField, form.floorHeight);
    SetDialogItemText(dialog, kSectorCeilingField, form.ceilingHeight);
    SetDialogItemText(dialog, kSectorLightField, form.light);
    FillFlatList(dialog, kSectorFloorList, form.floorFlat);
    FillFlatList(dialog, kSectorCeilingList, form.ceilingFlat);
    DrawFlatPreview(dialog, kSectorFloorPreview, form.floorFlat);
    DrawFlatPreview(dialog, kSectorCeilingPreview, form.ceilingFlat);
    if (edited) {
        SetDialogItemText(dialog, kSectorTagField, form.tag);
        FillSectorSpecialList(dialog, kSectorSpecialList, edited->special);
    }
}

SectorForm ReadForm(HWND dialog) {
    SectorForm form;
    form.floorHeight = DialogItemText(dialog, kSectorFloorField);
    form.ceilingHeight = DialogItemText(dialog, kSectorCeilingField);
    form.light = DialogItemText(dialog, kSectorLightField);
    form.floorFlat = DropDownPosition(dialog, kSectorFloorList);
    form.ceilingFlat = DropDownPosition(dialog, kSectorCeilingList);
    if (edited) {
        form.tag = DialogItemText(dialog, kSectorTagField);
        form.special = DropDownPosition(dialog, kSectorSpecialList);
    }
    return form;
}

INT_PTR SectorDialog(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            CentreDialog(dialog);
            ShowForm(dialog, edited ? LoadSectorForm(*edited) : LoadDefaultSectorForm());
            return TRUE;
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if ((control == kSectorFloorList || control == kSectorCeilingList) &&
                (code == CBN_SELCHANGE || code == CBN_CLOSEUP)) {
                const int preview = control == kSectorFloorList ? kSectorFloorPreview : kSectorCeilingPreview;
                DrawFlatPreview(dialog, preview, DropDownPosition(dialog, control));
                return TRUE;
            }
            if (control == IDOK) {
                const SectorForm form = ReadForm(dialog);
                const std::optional<FieldRefusal> refusal =
                    edited ? ApplySectorForm(form, *edited) : ApplyDefaultSectorForm(form);
                if (refusal) {
                    ShowRefusal(dialog, *refusal);
                } else {
                    EndDialog(dialog, IDOK);
                }
                return TRUE;
            }
            if (control == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK SectorEditProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        edited = selection.kind == kObjectSector ? static_cast<Sector*>(selection.object) : nullptr;
        if (!edited) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
    }
    return SectorDialog(dialog, message, wParam);
}

INT_PTR CALLBACK DefaultSectorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) edited = nullptr;
    return SectorDialog(dialog, message, wParam);
}

const DialogRegistration kSectorEdit("secedit", SectorEditProc);
const DialogRegistration kDefaultSector("defsec", DefaultSectorProc);

}  // namespace
