// The list of a WAD's maps to open one of.
#include "app/wad_levels.h"
#include "dialogs/dialog_support_win32.h"
#include "platform/win32.h"

namespace {

constexpr int kLevelList = 3001;

INT_PTR CALLBACK WadLevelDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            CentreDialog(dialog);
            HWND list = GetDlgItem(dialog, kLevelList);
            for (const std::string& name : wadLevelChoice.names) {
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
            }
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            SetFocus(list);
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kLevelList && HIWORD(wParam) == LBN_DBLCLK) wParam = IDOK;
            if (LOWORD(wParam) == IDOK) {
                const LRESULT chosen = SendDlgItemMessageW(dialog, kLevelList, LB_GETCURSEL, 0, 0);
                wadLevelChoice.chosen = chosen == LB_ERR ? -1 : static_cast<int>(chosen);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

const DialogRegistration kRegistration("wadlevel", WadLevelDialogProc);

}  // namespace
