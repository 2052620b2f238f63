// What every property dialog's procedure uses: registration by resource
// name, centring, UTF-8 texts of controls, drop-down lists, refusing OK,
// and preview controls that keep their picture painted.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/number_field.h"
#include "resources/images.h"

// A static object of this type registers a dialog procedure under the
// dialog template's name (see PlatformRunDialog).
struct DialogRegistration {
    DialogRegistration(const char* name, DLGPROC procedure);
};

// Moves the dialog to the centre of the screen; the screen size is read once.
void CentreDialog(HWND dialog);

std::string DialogItemText(HWND dialog, int control);
void SetDialogItemText(HWND dialog, int control, const std::string& text);

// Empties the drop-down list, adds the entries and selects position
// `selected` (-1 selects nothing).
void FillDropDown(HWND dialog, int control, const std::vector<std::string>& entries, int selected);
void SelectDropDown(HWND dialog, int control, int position);
// The selected position, -1 when nothing is selected.
int DropDownPosition(HWND dialog, int control);

// Tells the user why OK was refused and puts the focus on the field, its
// text selected; the dialog stays open with what was typed.
void ShowRefusal(HWND dialog, const FieldRefusal& refusal);

// A preview control shows an image at its top-left corner, 1:1 and clipped,
// over its own grey; the image is repainted whenever the control paints, so
// it survives being covered. An empty image shows the grey only.
void SetPreviewImage(HWND dialog, int control, const Image& image, const Palette& palette);
