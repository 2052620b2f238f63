// The game executable dialog: the path shown, chosen with the open-file
// dialog, stored on OK.
#include <windows.h>
// The common dialogs need windows.h first.
#include <commdlg.h>

#include "dialogs/dialog_support_win32.h"
#include "dialogs/option_forms.h"
#include "platform/win32.h"

namespace {

constexpr int kPathText = 2002;

// Kept for the whole run, so that the file dialog offers the last choice again.
wchar_t chosenName[1024];
wchar_t chosenTitle[256];

// The working copy while the dialog is open; modal dialogs never nest.
GameExecutableForm form;

bool ChooseGameExecutable(HWND owner, std::string& path) {
    static const wchar_t kFilter[] = L"ゲーム実行ファイル {*.exe}\0*.exe\0";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = chosenName;
    ofn.nMaxFile = sizeof chosenName / sizeof chosenName[0];
    ofn.lpstrFileTitle = chosenTitle;
    ofn.nMaxFileTitle = sizeof chosenTitle / sizeof chosenTitle[0];
    ofn.lpstrDefExt = L"exe";
    ofn.lpstrTitle = L"ゲーム実行ファイルを指定";
    // A typed name of a file that is not there is taken as it is.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return false;
    path = Narrow(chosenName);
    return true;
}

INT_PTR CALLBACK GameExecutableDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CentreDialog(dialog);
            form = LoadGameExecutableForm();
            SetDialogItemText(dialog, kPathText, GameExecutableText(form));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kChooseGameButton:
                    if (ChooseGameExecutable(dialog, form.path)) {
                        SetDialogItemText(dialog, kPathText, GameExecutableText(form));
                    }
                    return TRUE;
                case IDOK:
                    if (const std::optional<FieldRefusal> refusal = ApplyGameExecutableForm(form)) {
                        ShowRefusal(dialog, *refusal);
                    } else {
                        EndDialog(dialog, IDOK);
                    }
                    return TRUE;
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

const DialogRegistration kRegistration("locategame", GameExecutableDialogProc);

}  // namespace
