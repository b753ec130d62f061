// The setting controls that the Settings dialog and the Open dialog's pane share. Win32.
#ifndef DUOSCOPE_UI_SETTING_CONTROLS_H
#define DUOSCOPE_UI_SETTING_CONTROLS_H

#include <windows.h>

#include <cstdint>

// Shows PlayerSettings in the check boxes, the decoder buttons (where the template has
// them) and the two layout combo boxes, which it fills from the catalogue.
void ShowSettingControls(HWND hDlg);

// 1 when check box `id` is checked, else 0.
int32_t CheckState(HWND hDlg, int id);

// The decoder that the radio buttons choose: 0, or 1 or 2 when 1006 or 1007 is
// checked. A template without them gives 0.
int32_t DecoderChoice(HWND hDlg);

// The list index selected in combo box `id`, or `previous` when nothing is selected.
// For a selection change notice: the edit field may still show the entry chosen before.
int32_t SelectedLayout(HWND hDlg, int id, int32_t previous);

// The list index chosen in combo box `id`, or `previous` when no list entry is chosen
// (nothing selected, or text typed into the edit field since the choice).
int32_t LayoutChoice(HWND hDlg, int id, int32_t previous);

#endif
