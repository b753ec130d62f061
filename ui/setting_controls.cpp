#include "ui/setting_controls.h"

#include <cstdint>
#include <cstring>

#include "common/res_string.h"
#include "res/resource.h"
#include "settings/format_catalogue.h"
#include "settings/player_settings.h"

static void FillLayoutList(HWND hDlg, int id, unsigned firstTextId, int count, int selection)
{
    SendDlgItemMessageA(hDlg, id, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        SendDlgItemMessageA(hDlg, id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(LoadResString(firstTextId + i)));
    SendDlgItemMessageA(hDlg, id, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void ShowSettingControls(HWND hDlg)
{
    // A check box is ticked when its setting is on as the player sees it.
    CheckDlgButton(hDlg, IDC_FULLSCREEN,
                   IsFullScreen(PlayerSettings.nFull) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_ORIGINAL,
                   IsOriginalPicture(PlayerSettings.nOrg) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_ERROR_CHECK,
                   ShowsConsole(PlayerSettings.nERCHK) ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(hDlg, IDC_CPU_DECODE, IDC_GPU_H265, IDC_CPU_DECODE + PlayerSettings.nGPU);
    FillLayoutList(hDlg, IDC_STEREO_IN, IDS_INPUT_TEXT_FIRST, kInputFormatCount,
                   PlayerSettings.nStin);
    FillLayoutList(hDlg, IDC_STEREO_OUT, IDS_OUTPUT_TEXT_FIRST, kOutputFormatCount,
                   PlayerSettings.nStout);
}

static int32_t CheckState(HWND hDlg, int id)
{
    return IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? 1 : 0;
}

static int32_t DecoderChoice(HWND hDlg)
{
    if (IsDlgButtonChecked(hDlg, IDC_GPU_H264) == BST_CHECKED)
        return kDecodeH264;
    if (IsDlgButtonChecked(hDlg, IDC_GPU_H265) == BST_CHECKED)
        return kDecodeH265;
    return kDecodeCpu;
}

static int32_t SelectedLayout(HWND hDlg, int id, int32_t previous)
{
    LRESULT selection = SendDlgItemMessageA(hDlg, id, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? previous : static_cast<int32_t>(selection);
}

static int32_t LayoutChoice(HWND hDlg, int id, int32_t previous)
{
    LRESULT selection = SendDlgItemMessageA(hDlg, id, CB_GETCURSEL, 0, 0);
    if (selection == CB_ERR)
        return previous;
    // Typed text can leave the old selection in place: it counts only while the edit
    // field still shows the selected entry.
    char entry[kResStringSize];
    char shown[kResStringSize];
    LRESULT entryLength = SendDlgItemMessageA(hDlg, id, CB_GETLBTEXTLEN, selection, 0);
    if (entryLength == CB_ERR || entryLength >= static_cast<LRESULT>(sizeof entry))
        return previous;
    SendDlgItemMessageA(hDlg, id, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(entry));
    GetDlgItemTextA(hDlg, id, shown, sizeof shown);
    if (strcmp(entry, shown) != 0)
        return previous;
    return static_cast<int32_t>(selection);
}

static int32_t LayoutState(HWND hDlg, int id, LayoutReading reading, int32_t previous)
{
    return reading == LayoutReading::Selected ? SelectedLayout(hDlg, id, previous)
                                              : LayoutChoice(hDlg, id, previous);
}

bool StoreSettingControl(HWND hDlg, int id, LayoutReading reading)
{
    PlayerSettingsRecord &settings = PlayerSettings;
    switch (id) {
    case IDC_FULLSCREEN:
        settings.nFull = CheckState(hDlg, id);
        return true;
    case IDC_ORIGINAL:
        settings.nOrg = CheckState(hDlg, id);
        return true;
    case IDC_ERROR_CHECK:
        settings.nERCHK = CheckState(hDlg, id);
        return true;
    case IDC_STEREO_IN:
        settings.nStin = LayoutState(hDlg, id, reading, settings.nStin);
        return true;
    case IDC_STEREO_OUT:
        settings.nStout = LayoutState(hDlg, id, reading, settings.nStout);
        return true;
    case IDC_CPU_DECODE:
    case IDC_GPU_H264:
    case IDC_GPU_H265:
        settings.nGPU = DecoderChoice(hDlg);
        return true;
    }
    return false;
}

void StoreSettingControls(HWND hDlg, LayoutReading reading)
{
    static constexpr int kControls[] = {IDC_CPU_DECODE,  IDC_FULLSCREEN, IDC_ORIGINAL,
                                        IDC_ERROR_CHECK, IDC_STEREO_IN,  IDC_STEREO_OUT};
    for (int id : kControls)
        StoreSettingControl(hDlg, id, reading);
}
