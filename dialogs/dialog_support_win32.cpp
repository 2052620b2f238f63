// Shared pieces of the property dialogs' procedures.
#include "dialogs/dialog_support_win32.h"

#include <commctrl.h>

#include "platform/win32.h"
#include "view/image_bitmap_win32.h"

DialogRegistration::DialogRegistration(const char* name, DLGPROC procedure) { PlatformRegisterDialog(name, procedure); }

void CentreDialog(HWND dialog) {
    static const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    static const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT r;
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    SetWindowPos(dialog, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string DialogItemText(HWND dialog, int control) {
    HWND item = GetDlgItem(dialog, control);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(item, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return Narrow(text);
}

void SetDialogItemText(HWND dialog, int control, const std::string& text) {
    SetDlgItemTextW(dialog, control, Widen(text).c_str());
}

void FillDropDown(HWND dialog, int control, const std::vector<std::string>& entries, int selected) {
    HWND list = GetDlgItem(dialog, control);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void SelectDropDown(HWND dialog, int control, int position) {
    SendDlgItemMessageW(dialog, control, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int DropDownPosition(HWND dialog, int control) {
    const LRESULT position = SendDlgItemMessageW(dialog, control, CB_GETCURSEL, 0, 0);
    return position == CB_ERR ? -1 : static_cast<int>(position);
}

void ShowRefusal(HWND dialog, const FieldRefusal& refusal) {
    MessageBoxW(dialog, Widen(refusal.message).c_str(), L"Keldra", MB_OK | MB_ICONEXCLAMATION);
    HWND field = GetDlgItem(dialog, refusal.control);
    if (!field) return;
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageW(field, EM_SETSEL, 0, -1);
}

namespace {

// A device-independent bitmap of the image in the palette, top row first.
struct PreviewPicture {
    Image image;
    std::vector<uint8_t> info;  // BITMAPINFO with 256 colours
};

constexpr UINT_PTR kPreviewSubclass = 0x4b50;  // "KP"
constexpr const wchar_t* kPreviewProperty = L"KeldraPreview";

LRESULT CALLBACK PreviewProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* picture = reinterpret_cast<PreviewPicture*>(data);
    switch (message) {
        case WM_PAINT: {
            // The static control paints its grey first, then the picture.
            DefSubclassProc(control, message, wParam, lParam);
            if (picture->image.width > 0 && picture->image.height > 0) {
                HDC dc = GetDC(control);
                const Image& image = picture->image;
                SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height), 0, 0, 0,
                                  static_cast<UINT>(image.height), image.pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(picture->info.data()), DIB_RGB_COLORS);
                ReleaseDC(control, dc);
            }
            return 0;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, PreviewProc, kPreviewSubclass);
            RemovePropW(control, kPreviewProperty);
            delete picture;
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void SetPreviewImage(HWND dialog, int control, const Image& image, const Palette& palette) {
    HWND item = GetDlgItem(dialog, control);
    if (!item) return;
    auto* picture = static_cast<PreviewPicture*>(GetPropW(item, kPreviewProperty));
    if (!picture) {
        picture = new PreviewPicture;
        SetPropW(item, kPreviewProperty, picture);
        SetWindowSubclass(item, PreviewProc, kPreviewSubclass, reinterpret_cast<DWORD_PTR>(picture));
    }
    picture->image = image;
    picture->info = ImageBitmapInfo(image, palette);
    // Erased at once, then painted with the new picture.
    InvalidateRect(item, nullptr, TRUE);
    UpdateWindow(item);
}
