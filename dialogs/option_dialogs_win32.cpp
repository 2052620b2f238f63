// The build option and play option dialogs: check boxes and texts moved to
// and from their forms; Build and Play store, close, then start the work.
#include "app/resource.h"
#include "dialogs/dialog_support_win32.h"
#include "dialogs/option_forms.h"
#include "platform/win32.h"

namespace {

constexpr int kFirstBox = 7001;
constexpr int kSecondBox = 7002;
constexpr int kStartButton = 8000;

void Check(HWND dialog, int control, bool on) { CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED); }
bool Checked(HWND dialog, int control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }

// Closes the dialog; the command then runs from the main window's queue,
// once the dialog has gone.
void CloseThenRun(HWND dialog, int command) {
    EndDialog(dialog, IDOK);
    PostMessageW(shellWindows.main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

INT_PTR CALLBACK BuildOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            CentreDialog(dialog);
            const BuildOptionsForm form = LoadBuildOptionsForm();
            Check(dialog, kFirstBox, form.computePvs);
            Check(dialog, kSecondBox, form.writeDebugFile);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case kStartButton:
                    ApplyBuildOptionsForm({Checked(dialog, kFirstBox), Checked(dialog, kSecondBox)});
                    if (LOWORD(wParam) == kStartButton) {
                        CloseThenRun(dialog, IDM_BUILD);
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

INT_PTR CALLBACK PlayOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            CentreDialog(dialog);
            const PlayOptionsForm form = LoadPlayOptionsForm();
            Check(dialog, kFirstBox, form.noMonsters);
            Check(dialog, kSecondBox, form.noMusic);
            SetDialogItemText(dialog, kPlayFilesField, form.files);
            SetDialogItemText(dialog, kPlayOthersField, form.others);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case kStartButton: {
                    const PlayOptionsForm form{Checked(dialog, kFirstBox), Checked(dialog, kSecondBox),
                                               DialogItemText(dialog, kPlayFilesField),
                                               DialogItemText(dialog, kPlayOthersField)};
                    if (const std::optional<FieldRefusal> refusal = ApplyPlayOptionsForm(form)) {
                        ShowRefusal(dialog, *refusal);
                    } else if (LOWORD(wParam) == kStartButton) {
                        CloseThenRun(dialog, IDM_PLAY);
                    } else {
                        EndDialog(dialog, IDOK);
                    }
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

const DialogRegistration kBuildRegistration("buildoption", BuildOptionsDialogProc);
const DialogRegistration kPlayRegistration("playoption", PlayOptionsDialogProc);

}  // namespace
