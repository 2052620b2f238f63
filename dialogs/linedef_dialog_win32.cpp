// The "Linedef Edit" dialog's procedure: copies the controls to and from
// the working copy (dialogs/linedef_form.h) and shows one side at a time
// on a tab control made when the dialog opens.
#include <windows.h>
// The common controls need windows.h first.
#include <commctrl.h>

#include "dialogs/dialog_support_win32.h"
#include "dialogs/linedef_form.h"
#include "dialogs/picker_lists.h"
#include "dialogs/pickers_win32.h"
#include "model/map.h"
#include "platform/win32.h"

namespace {

LinedefForm form;
Linedef* edited = nullptr;

// The side labels in dialog units (left, top, right, bottom).
struct SideLabel {
    const wchar_t* text;
    RECT units;
};
const SideLabel kSideLabels[] = {
    {L"X offset", {162, 23, 192, 33}},        {L"Y offset", {244, 23, 274, 33}},
    {L"Upper Texture", {320, 45, 410, 55}},   {L"Middle Texture", {320, 133, 410, 143}},
    {L"Lower Texture", {320, 221, 410, 231}},
};

constexpr UINT_PTR kTabSubclass = 0x4b54;  // "KT"

int& SideTexture(LinedefFormSide& side, int part) {
    return part == 0 ? side.upper : part == 1 ? side.middle : side.lower;
}

// The labels are drawn over the tab control's face each time it paints, so
// they are never left covered.
LRESULT CALLBACK TabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_PAINT) {
        DefSubclassProc(tab, message, wParam, lParam);
        HWND dialog = GetParent(tab);
        POINT origin{0, 0};
        MapWindowPoints(tab, dialog, &origin, 1);
        HDC dc = GetDC(tab);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        for (const SideLabel& label : kSideLabels) {
            RECT r = label.units;
            MapDialogRect(dialog, &r);
            OffsetRect(&r, -origin.x, -origin.y);
            DrawTextW(dc, label.text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
        SelectObject(dc, oldFont);
        ReleaseDC(tab, dc);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(tab, TabProc, kTabSubclass);
    return DefSubclassProc(tab, message, wParam, lParam);
}

void MakeTabs(HWND dialog) {
    RECT r{152, 0, 420, 310};
    MapDialogRect(dialog, &r);
    HWND tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER, r.left,
                               r.top, r.right - r.left, r.bottom - r.top, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinedefTabs)), GetModuleHandleW(nullptr),
                               nullptr);
    SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // Beneath the side controls, which lie on it.
    SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowSubclass(tab, TabProc, kTabSubclass, 0);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Right Sidedef");
    SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (form.hasLeft) {
        item.pszText = const_cast<wchar_t*>(L"Left Sidedef");
        SendMessageW(tab, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    }
}

// Shows the working copy of a side in the side controls.
void ShowSide(HWND dialog, int side) {
    form.shownSide = side;
    LinedefFormSide& s = form.sides[side];
    const std::string x = s.xOffset, y = s.yOffset;  // setting the texts stores them again
    SetDialogItemText(dialog, kLinedefXOffset, x);
    SetDialogItemText(dialog, kLinedefYOffset, y);
    for (int part = 0; part < 3; ++part) {
        const int number = SideTexture(s, part);
        SelectDropDown(dialog, kLinedefUpperList + part, TextureListPosition(number, true));
        DrawTexturePreview(dialog, kLinedefUpperPreview + part, number);
    }
}

void Open(HWND dialog) {
    CentreDialog(dialog);
    edited = selection.kind == kObjectLinedef ? static_cast<Linedef*>(selection.object) : nullptr;
    if (!edited) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    form = LoadLinedefForm(*edited);
    for (int bit = 0; bit < kLinedefFlagBoxes; ++bit) {
        CheckDlgButton(dialog, kLinedefFirstFlag + bit, (form.flags >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    FillLinedefSpecialList(dialog, kLinedefSpecial, form.special);
    SetDialogItemText(dialog, kLinedefTag, form.tag);
    MakeTabs(dialog);
    for (int part = 0; part < 3; ++part) {
        FillTextureList(dialog, kLinedefUpperList + part, SideTexture(form.sides[0], part), true);
    }
    ShowSide(dialog, 0);
}

void Ok(HWND dialog) {
    form.flags = 0;
    for (int bit = 0; bit < kLinedefFlagBoxes; ++bit) {
        if (IsDlgButtonChecked(dialog, kLinedefFirstFlag + bit) == BST_CHECKED) form.flags |= 1 << bit;
    }
    form.special = DropDownPosition(dialog, kLinedefSpecial);
    form.tag = DialogItemText(dialog, kLinedefTag);
    form.sides[form.shownSide].xOffset = DialogItemText(dialog, kLinedefXOffset);
    form.sides[form.shownSide].yOffset = DialogItemText(dialog, kLinedefYOffset);
    const auto refusal = ApplyLinedefForm(form, *edited);
    if (!refusal) {
        EndDialog(dialog, IDOK);
        return;
    }
    if (refusal->side != form.shownSide) {
        SendDlgItemMessageW(dialog, kLinedefTabs, TCM_SETCURSEL, static_cast<WPARAM>(refusal->side), 0);
        ShowSide(dialog, refusal->side);
    }
    ShowRefusal(dialog, refusal->field);
}

INT_PTR CALLBACK LinedefDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Open(dialog);
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == kLinedefTabs && header->code == TCN_SELCHANGE) {
                const auto tab = static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
                ShowSide(dialog, tab == 1 && form.hasLeft ? 1 : 0);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (control >= kLinedefUpperList && control < kLinedefUpperList + 3 &&
                (code == CBN_SELCHANGE || code == CBN_CLOSEUP)) {
                const int part = control - kLinedefUpperList;
                const int number = TextureAtListPosition(DropDownPosition(dialog, control), true);
                DrawTexturePreview(dialog, kLinedefUpperPreview + part, number);
                SideTexture(form.sides[form.shownSide], part) = number;
            } else if ((control == kLinedefXOffset || control == kLinedefYOffset) && code == EN_CHANGE) {
                LinedefFormSide& side = form.sides[form.shownSide];
                (control == kLinedefXOffset ? side.xOffset : side.yOffset) = DialogItemText(dialog, control);
            } else if (control == IDOK) {
                Ok(dialog);
            } else if (control == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

const DialogRegistration kRegistration("lineedit", LinedefDialogProc);

}  // namespace
