// The "Default Textures" dialog's procedure: three texture lists with
// their previews, copied to the form (dialogs/default_textures_form.h).
#include <windows.h>

#include "dialogs/default_textures_form.h"
#include "dialogs/dialog_support_win32.h"
#include "dialogs/picker_lists.h"
#include "dialogs/pickers_win32.h"

namespace {

INT_PTR CALLBACK DefaultTexturesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            CentreDialog(dialog);
            const DefaultTexturesForm form = LoadDefaultTexturesForm();
            for (int part = 0; part < 3; ++part) {
                FillTextureList(dialog, kDefaultTexturesUpperList + part, form.textures[part], false);
                DrawTexturePreview(dialog, kDefaultTexturesUpperPreview + part, form.textures[part]);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (control >= kDefaultTexturesUpperList && control < kDefaultTexturesUpperList + 3 &&
                (code == CBN_SELCHANGE || code == CBN_CLOSEUP)) {
                DrawTexturePreview(dialog, kDefaultTexturesUpperPreview + (control - kDefaultTexturesUpperList),
                                   TextureAtListPosition(DropDownPosition(dialog, control), false));
            } else if (control == IDOK) {
                DefaultTexturesForm form;
                for (int part = 0; part < 3; ++part) {
                    form.textures[part] =
                        TextureAtListPosition(DropDownPosition(dialog, kDefaultTexturesUpperList + part), false);
                }
                ApplyDefaultTexturesForm(form);
                EndDialog(dialog, IDOK);
            } else if (control == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

const DialogRegistration kRegistration("deftex", DefaultTexturesDialogProc);

}  // namespace
