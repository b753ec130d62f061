// The setting controls that the Settings dialog and the Open dialog's pane share. Win32.
#ifndef DUOSCOPE_UI_SETTING_CONTROLS_H
#define DUOSCOPE_UI_SETTING_CONTROLS_H

#include <windows.h>

// Shows PlayerSettings in the check boxes, the decoder buttons (where the template has
// them) and the two layout combo boxes, which it fills from the catalogue.
void ShowSettingControls(HWND hDlg);

// How a dialog reads a layout combo box; the two dialogs have different rules.
enum class LayoutReading {
    // The list index selected, or the setting unchanged when nothing is selected. The
    // Open dialog's pane reads a box on its selection change notice, when the edit field
    // may still show the entry chosen before.
    Selected,
    // The list index chosen, or the setting unchanged when no list entry is chosen
    // (nothing selected, or text typed into the edit field since the choice). The
    // Settings dialog reads the boxes when it is closed.
    Shown,
};

// Copies the state of control `id` into its setting in PlayerSettings: a check box as 1
// when checked, else 0; any decoder button as the decoder that the buttons choose (0
// where the template has none); a layout box as `reading` says. Returns false, changing
// nothing, for an id that is no setting control.
bool StoreSettingControl(HWND hDlg, int id, LayoutReading reading);

// Copies every setting control into PlayerSettings at once.
void StoreSettingControls(HWND hDlg, LayoutReading reading);

#endif
