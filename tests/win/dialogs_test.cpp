// The Settings and About dialogs and the five dialog templates, driven in-process from the
// real resources with the real dialog procedures.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/app_state.h"
#include "playback/play_media.h"
#include "playback/player_process.h"
#include "res/resource.h"
#include "settings/player_settings.h"
#include "ui/dialogs.h"
#include "dialog_support.h"
#include "support.h"

namespace {

// One control of a template as the resources must hold it. `text` nullptr: any text
// but an empty one; "#n": the resource with number n.
struct ExpectedItem {
    int id;
    const char *kind;
    const char *text;
    DWORD style;
    short x, y, cx, cy;
};

struct ExpectedTemplate {
    LPCSTR name;
    DWORD style;
    short x, y, cx, cy;
    const char *caption;
    WORD points;
    const char *font;
    std::vector<ExpectedItem> items;
};

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kDefault = kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP;
const DWORD kCheck = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kGroupBox = kChild | BS_GROUPBOX;
const DWORD kCombo = kChild | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;
const DWORD kPush = kChild | BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kNote = kChild | SS_LEFT | WS_GROUP;
const DWORD kFirstRadio = kChild | BS_AUTORADIOBUTTON | WS_GROUP;
const DWORD kRadio = kChild | BS_AUTORADIOBUTTON;
const DWORD kModal = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
const DWORD kPane = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_CONTROL | DS_3DLOOK | DS_SETFONT;

const char kFull[] = "Launch in full screen";
const char kOriginal[] = "Play Original Video (The settings below are ignored.)";
const char kErrorCheck[] = "Error check mode (Display the command prompt)";
const char kInput[] = "Set stereoscopic image format of input";
const char kOutput[] = "Set stereoscopic image format of output";
const char kGpuGroup[] = "nVidia GPU Decode";
const char kGpuNote[] = "If you make a mistake, the operation will not play back. It is "
                        "recommended to use CPU Decode.";

const ExpectedTemplate kSettings = {
    MAKEINTRESOURCEA(IDD_SETTING),
    kModal,
    22,
    17,
    399,
    120,
    "Setting",
    8,
    "System",
    {{IDOK, "Button", "OK", kDefault, 167, 105, 44, 11},
     {IDC_FULLSCREEN, "Button", kFull, kCheck, 9, 7, 87, 10},
     {-1, "Button", kInput, kGroupBox, 8, 31, 383, 26},
     {-1, "Button", kOutput, kGroupBox, 8, 59, 383, 26},
     {IDC_STEREO_IN, "ComboBox", "", kCombo, 15, 41, 370, 174},
     {IDC_STEREO_OUT, "ComboBox", "", kCombo, 16, 69, 370, 147},
     {IDCANCEL, "Button", "CANCEL", kDefault, 116, 105, 44, 11},
     {IDC_ORIGINAL, "Button", kOriginal, kCheck, 8, 19, 196, 10},
     {IDC_REPLAY, "Button", "Replay", kPush, 218, 105, 44, 11},
     {IDC_ERROR_CHECK, "Button", kErrorCheck, kCheck, 8, 88, 185, 10}}};

const ExpectedTemplate kSettingsGpu = {
    MAKEINTRESOURCEA(IDD_SETTING_GPU),
    kModal,
    22,
    17,
    399,
    156,
    "Setting",
    8,
    "System",
    {{IDOK, "Button", "OK", kDefault, 178, 142, 44, 11},
     {IDC_FULLSCREEN, "Button", kFull, kCheck, 9, 7, 87, 10},
     {-1, "Button", kInput, kGroupBox, 8, 31, 383, 26},
     {-1, "Button", kOutput, kGroupBox, 8, 59, 383, 26},
     {IDC_STEREO_IN, "ComboBox", "", kCombo, 15, 41, 370, 174},
     {IDC_STEREO_OUT, "ComboBox", "", kCombo, 16, 69, 370, 147},
     {IDCANCEL, "Button", "CANCEL", kDefault, 127, 142, 44, 11},
     {IDC_ORIGINAL, "Button", kOriginal, kCheck, 8, 19, 196, 10},
     {IDC_REPLAY, "Button", "Replay", kPush, 229, 142, 44, 11},
     {-1, "Button", kGpuGroup, kGroupBox, 8, 90, 383, 34},
     {-1, "Static", kGpuNote, kNote, 14, 100, 366, 8},
     {IDC_CPU_DECODE, "Button", "CPU Decode", kFirstRadio, 14, 110, 61, 10},
     {IDC_GPU_H264, "Button", "nVidia GPU for H264", kRadio, 113, 110, 87, 10},
     {IDC_GPU_H265, "Button", "nVidia GPU for H265", kRadio, 238, 110, 87, 10},
     {IDC_ERROR_CHECK, "Button", kErrorCheck, kCheck, 8, 127, 185, 10}}};

const ExpectedTemplate kAbout = {
    MAKEINTRESOURCEA(IDD_ABOUTBOX),
    kModal,
    22,
    17,
    164,
    53,
    "About",
    8,
    "System",
    {{IDC_ABOUT_ICON, "Static", "#107", kChild | SS_ICON, 14, 9, 20, 20},
     {-1, "Static", "duoscope Version 0.1", kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP, 42, 10, 119,
      8},
     {-1, "Static", nullptr, kChild | SS_LEFT | WS_GROUP, 42, 20, 119, 8},
     {IDOK, "Button", "OK", kDefault, 63, 36, 30, 11}}};

const std::vector<ExpectedItem> kPaneCommon = {
    {IDC_STC32, "Static", "", kNote, 0, 0, 300, 39},
    {IDC_FULLSCREEN, "Button", kFull, kCheck, 9, 39, 77, 15},
    {-1, "Button", kInput, kGroupBox, 8, 56, 293, 39},
    {-1, "Button", kOutput, kGroupBox, 8, 98, 293, 39},
    {IDC_STEREO_IN, "ComboBox", "", kCombo, 16, 71, 280, 174},
    {IDC_STEREO_OUT, "ComboBox", "", kCombo, 17, 113, 280, 147},
    {IDC_ORIGINAL, "Button", kOriginal, kCheck, 89, 39, 169, 15}};

std::vector<ExpectedItem> Joined(std::vector<ExpectedItem> items,
                                 const std::vector<ExpectedItem> &more)
{
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

const ExpectedTemplate kPaneTemplate = {
    OPNOPTIONS_NAME,
    kPane,
    0,
    0,
    301,
    155,
    "",
    9,
    "MS UI Gothic",
    Joined(kPaneCommon, {{IDC_ERROR_CHECK, "Button", kErrorCheck, kCheck, 9, 138, 194, 15}})};

const ExpectedTemplate kPaneGpuTemplate = {
    OPNOPTIONS_GPU_NAME,
    kPane,
    0,
    0,
    301,
    215,
    "",
    9,
    "MS UI Gothic",
    Joined(kPaneCommon, {{-1, "Button", kGpuGroup, kGroupBox, 8, 145, 293, 51},
                         {-1, "Static", kGpuNote, kNote, 15, 159, 282, 12},
                         {IDC_CPU_DECODE, "Button", "CPU Decode", kFirstRadio, 15, 175, 52, 15},
                         {IDC_GPU_H264, "Button", "nVidia GPU for H264", kRadio, 73, 175, 78, 15},
                         {IDC_GPU_H265, "Button", "nVidia GPU for H265", kRadio, 157, 175, 80, 15},
                         {IDC_ERROR_CHECK, "Button", kErrorCheck, kCheck, 9, 197, 159, 15}})};

// A template as the resources hold it (the DLGTEMPLATE form of a DIALOG statement).
struct ParsedItem {
    DWORD style, exStyle;
    short x, y, cx, cy;
    WORD id;
    std::string kind, text;
};
struct ParsedTemplate {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, windowClass, caption, font;
    WORD points = 0;
    std::vector<ParsedItem> items;
};

class TemplateReader {
  public:
    explicit TemplateReader(const BYTE *start) : start_(start), at_(start) {}
    WORD Word()
    {
        WORD value;
        memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    DWORD Dword()
    {
        DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    std::string Text()
    {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text += static_cast<char>(c);
        return text;
    }
    // A name or a number: "" for none, "#n" for a number.
    std::string NameOrNumber()
    {
        WORD first = Word();
        if (first == 0)
            return "";
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        at_ -= sizeof(WORD);
        return Text();
    }
    void AlignDword()
    {
        while ((at_ - start_) % 4 != 0)
            ++at_;
    }
    void Skip(size_t bytes) { at_ += bytes; }

  private:
    const BYTE *start_;
    const BYTE *at_;
};

ParsedTemplate ReadTemplate(LPCSTR name)
{
    ParsedTemplate parsed;
    HRSRC found = FindResourceA(hInst, name, RT_DIALOG);
    if (found == nullptr)
        return parsed;
    TemplateReader in(static_cast<const BYTE *>(LockResource(LoadResource(hInst, found))));
    parsed.style = in.Dword();
    parsed.exStyle = in.Dword();
    WORD count = in.Word();
    parsed.x = in.Short();
    parsed.y = in.Short();
    parsed.cx = in.Short();
    parsed.cy = in.Short();
    parsed.menu = in.NameOrNumber();
    parsed.windowClass = in.NameOrNumber();
    parsed.caption = in.Text();
    if (parsed.style & DS_SETFONT) {
        parsed.points = in.Word();
        parsed.font = in.Text();
    }
    const char *const kinds[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        ParsedItem item;
        item.style = in.Dword();
        item.exStyle = in.Dword();
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = in.Word();
        item.kind = in.NameOrNumber();
        if (item.kind.size() == 4 && item.kind[0] == '#') {
            int atom = std::stoi(item.kind.substr(1));
            if (atom >= 0x80 && atom <= 0x85)
                item.kind = kinds[atom - 0x80];
        }
        item.text = in.NameOrNumber();
        in.Skip(in.Word());
        parsed.items.push_back(item);
    }
    return parsed;
}

void ExpectTemplateExactly(const ExpectedTemplate &expected)
{
    ParsedTemplate parsed = ReadTemplate(expected.name);
    EXPECT_EQ(expected.style, parsed.style);
    EXPECT_EQ(0u, parsed.exStyle);
    EXPECT_EQ(expected.x, parsed.x);
    EXPECT_EQ(expected.y, parsed.y);
    EXPECT_EQ(expected.cx, parsed.cx);
    EXPECT_EQ(expected.cy, parsed.cy);
    EXPECT_EQ("", parsed.menu);
    EXPECT_EQ("", parsed.windowClass) << "the system's dialog class";
    EXPECT_EQ(expected.caption, parsed.caption);
    EXPECT_EQ(expected.points, parsed.points);
    EXPECT_EQ(expected.font, parsed.font);
    ASSERT_EQ(expected.items.size(), parsed.items.size());
    for (size_t i = 0; i < expected.items.size(); ++i) {
        const ExpectedItem &want = expected.items[i];
        const ParsedItem &got = parsed.items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        EXPECT_EQ(static_cast<WORD>(want.id), got.id);
        EXPECT_STRCASEEQ(want.kind, got.kind.c_str());
        if (want.text != nullptr)
            EXPECT_EQ(want.text, got.text);
        else
            EXPECT_NE("", got.text);
        EXPECT_EQ(want.style, got.style);
        EXPECT_EQ(0u, got.exStyle);
        EXPECT_EQ(want.x, got.x);
        EXPECT_EQ(want.y, got.y);
        EXPECT_EQ(want.cx, got.cx);
        EXPECT_EQ(want.cy, got.cy);
    }
}

// The rectangle of dialog units (x, y, cx, cy) in the pixels of `dialog`.
RECT DialogPixels(HWND dialog, int x, int y, int cx, int cy)
{
    RECT rect = {x, y, x + cx, y + cy};
    MapDialogRect(dialog, &rect);
    return rect;
}

// A control's outer rectangle in the client coordinates of its dialog.
RECT RectInDialog(HWND dialog, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// Reads a created dialog back: its children in creation order against the template.
void ExpectCreatedAsTemplate(HWND dialog, const ExpectedTemplate &expected)
{
    EXPECT_EQ(expected.caption, WindowText(dialog));
    RECT client;
    GetClientRect(dialog, &client);
    RECT size = DialogPixels(dialog, 0, 0, expected.cx, expected.cy);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);
    size_t index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, expected.items.size()) << "more controls than the template has";
        const ExpectedItem &want = expected.items[index];
        SCOPED_TRACE("control #" + std::to_string(index + 1) + " " + WindowText(child));
        EXPECT_EQ(static_cast<WORD>(want.id), static_cast<WORD>(GetDlgCtrlID(child)));
        char kind[64] = "";
        GetClassNameA(child, kind, sizeof kind);
        EXPECT_STRCASEEQ(want.kind, kind);
        const bool combo = strcmp(want.kind, "ComboBox") == 0;
        const bool icon = (want.style & SS_TYPEMASK) == SS_ICON && strcmp(want.kind, "Static") == 0;
        if (!combo && !icon && want.text != nullptr) {
            EXPECT_EQ(want.text, WindowText(child));
        }
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        // The dialog maps position and size each on its own.
        RECT units = {want.x, want.y, want.cx, want.cy};
        MapDialogRect(dialog, &units);
        RECT want_rect = {units.left, units.top, units.left + units.right,
                          units.top + units.bottom};
        RECT got = RectInDialog(dialog, child);
        EXPECT_EQ(want_rect.left, got.left);
        EXPECT_EQ(want_rect.top, got.top);
        if (combo) {
            // The combo box hands its scroll bar to its list. Closed, it is as tall as its
            // edit field and the sunken edge around it; the template's height is that and
            // the dropped-down list together. The list keeps the top it got when the
            // control was created, before the dialog's font reached it: with the fonts and
            // the language of the machine the edit field was a few pixels taller then, so
            // the list may come out shorter, by less than one of its items.
            EXPECT_EQ(want.style & ~WS_VSCROLL, style);
            EXPECT_EQ(want_rect.right, got.right);
            const LRESULT edit = SendMessageA(child, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            const LRESULT item = SendMessageA(child, CB_GETITEMHEIGHT, 0, 0);
            EXPECT_EQ(edit + 2 * GetSystemMetrics(SM_CYEDGE), got.bottom - got.top);
            RECT dropped;
            SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            const long shortBy = (want_rect.bottom - want_rect.top) -
                                 ((got.bottom - got.top) + (dropped.bottom - dropped.top));
            EXPECT_GE(shortBy, 0) << "height with the dropped-down list";
            EXPECT_LT(shortBy, item) << "height with the dropped-down list";
        } else if (!icon) {
            // A radio button has a tab stop while it is checked; the dialog gives the
            // default push button style to whichever button is the default at the time.
            DWORD mask = ~0u;
            if ((want.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                mask = ~static_cast<DWORD>(WS_TABSTOP);
            if (strcmp(want.kind, "Button") == 0 && (want.style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
                mask = ~static_cast<DWORD>(BS_TYPEMASK);
            EXPECT_EQ(want.style & mask, style & mask);
            EXPECT_EQ(want_rect.right, got.right);
            EXPECT_EQ(want_rect.bottom, got.bottom);
        }
    }
    EXPECT_EQ(expected.items.size(), index);
}

// The player's window at the moment the watched dialog window is destroyed.
HWND *watchedDialog;
HWND *playerAtDestroy;

LRESULT CALLBACK RecordPlayerAtDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == *watchedDialog)
        *playerAtDestroy = hWndPlayer;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

const PlayerSettingsRecord kAllOff = {0, 0, 0, 0, 0, 0};

bool SameSettings(const PlayerSettingsRecord &a, const PlayerSettingsRecord &b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

std::string Describe(const PlayerSettingsRecord &s)
{
    return "nFull " + std::to_string(s.nFull) + " nOrg " + std::to_string(s.nOrg) + " nStin " +
           std::to_string(s.nStin) + " nStout " + std::to_string(s.nStout) + " nGPU " +
           std::to_string(s.nGPU) + " nERCHK " + std::to_string(s.nERCHK);
}

#define EXPECT_SETTINGS(expected, actual)                                                          \
    EXPECT_TRUE(SameSettings(expected, actual))                                                    \
        << "expected " << Describe(expected) << "\n  actual " << Describe(actual)

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override
    {
        main_ = TestMainWindow();
        ASSERT_NE(nullptr, main_);
        ASSERT_EQ(main_, hWndMain);
        szMediaFile[0] = '\0';
        PlayerSettings = kAllOff;
        hWndPlayer = nullptr;
        ClearStandinLog();
    }
    void TearDown() override
    {
        for (HWND dialog : created_)
            DestroyWindow(dialog);
        EndPlayerProcesses();
    }
    // A modeless instance of template `id` with the Settings dialog's procedure.
    HWND OpenSettings(int id = IDD_SETTING)
    {
        HWND dialog = CreateDialogParamA(hInst, MAKEINTRESOURCEA(id), main_, SettingsDlgProc, 0);
        created_.push_back(dialog);
        ShowWindow(dialog, SW_SHOW);
        return dialog;
    }
    bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    LRESULT Selection(HWND dialog, int id)
    {
        return SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    }

    HWND main_ = nullptr;
    std::vector<HWND> created_;
};

} // namespace

TEST(DialogTemplates, ResourcesHoldEachTemplateExactly)
{
    for (const ExpectedTemplate *expected :
         {&kSettings, &kSettingsGpu, &kAbout, &kPaneTemplate, &kPaneGpuTemplate}) {
        SCOPED_TRACE(IS_INTRESOURCE(expected->name) ? std::to_string(LOWORD(expected->name))
                                                    : expected->name);
        ExpectTemplateExactly(*expected);
    }
}

TEST_F(Dialogs, CreatedDialogsHaveTheTemplatesControlsInOrder)
{
    strcpy(szMediaFile, "C:\\v\\a.mp4"); // so that Replay is shown
    for (const ExpectedTemplate *expected : {&kSettings, &kSettingsGpu}) {
        HWND dialog = OpenSettings(LOWORD(expected->name));
        ASSERT_NE(nullptr, dialog);
        ExpectCreatedAsTemplate(dialog, *expected);
        EXPECT_EQ(GetDlgItem(dialog, IDOK), GetFocus()) << "focus on the first tab stop";
        // The dialog's client area sits at 22, 17 dialog units from the owner's.
        POINT owner = {0, 0};
        POINT own = {0, 0};
        ClientToScreen(main_, &owner);
        ClientToScreen(dialog, &own);
        RECT offset = DialogPixels(dialog, 22, 17, 0, 0);
        EXPECT_EQ(owner.x + offset.left, own.x);
        EXPECT_EQ(owner.y + offset.top, own.y);
    }
    HWND about = CreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), main_, AboutDlgProc, 0);
    created_.push_back(about);
    ASSERT_NE(nullptr, about);
    ExpectCreatedAsTemplate(about, kAbout);
    EXPECT_EQ(GetDlgItem(about, IDOK), GetFocus());
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(
                           SendDlgItemMessageA(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0)));
    for (const ExpectedTemplate *expected : {&kPaneTemplate, &kPaneGpuTemplate}) {
        HWND pane = CreateDialogParamA(hInst, expected->name, main_,
                                       reinterpret_cast<DLGPROC>(OpenHookProc), 0);
        created_.push_back(pane);
        ASSERT_NE(nullptr, pane);
        EXPECT_EQ(main_, GetParent(pane));
        ExpectCreatedAsTemplate(pane, *expected);
    }
}

TEST_F(Dialogs, ReplayIsHiddenOnlyWithoutAMediaFile)
{
    HWND dialog = OpenSettings();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLAY)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
    strcpy(szMediaFile, "a:b");
    dialog = OpenSettings();
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLAY)))
        << "any path counts, also one too short for the main window's Replay";
}

TEST_F(Dialogs, OpeningShowsTheSettingsAsThePlayerSeesThem)
{
    PlayerSettings = {5, 2, 3, 17, 0, 2};
    HWND dialog = OpenSettings();
    EXPECT_TRUE(Checked(dialog, IDC_FULLSCREEN)) << "full screen for any value but 0";
    EXPECT_FALSE(Checked(dialog, IDC_ORIGINAL)) << "original picture only for exactly 1";
    EXPECT_FALSE(Checked(dialog, IDC_ERROR_CHECK)) << "error check only for exactly 1";
    EXPECT_EQ(SourceStrings(IDS_INPUT_TEXT_FIRST, kInputFormatCount),
              ComboEntries(GetDlgItem(dialog, IDC_STEREO_IN)));
    EXPECT_EQ(SourceStrings(IDS_OUTPUT_TEXT_FIRST, 33),
              ComboEntries(GetDlgItem(dialog, IDC_STEREO_OUT)));
    EXPECT_EQ(3, Selection(dialog, IDC_STEREO_IN));
    EXPECT_EQ(17, Selection(dialog, IDC_STEREO_OUT));
    EXPECT_EQ("Half SBS cross", WindowText(GetDlgItem(dialog, IDC_STEREO_IN)));
    EXPECT_EQ("anaglyph red/cyan dubois", WindowText(GetDlgItem(dialog, IDC_STEREO_OUT)));

    PlayerSettings = {0, 1, 13, 32, 0, 1};
    dialog = OpenSettings();
    EXPECT_FALSE(Checked(dialog, IDC_FULLSCREEN));
    EXPECT_TRUE(Checked(dialog, IDC_ORIGINAL));
    EXPECT_TRUE(Checked(dialog, IDC_ERROR_CHECK));
    EXPECT_EQ("interleaved columns, right eye first",
              WindowText(GetDlgItem(dialog, IDC_STEREO_IN)));
    EXPECT_EQ("HDMI frame pack", WindowText(GetDlgItem(dialog, IDC_STEREO_OUT)));

    PlayerSettings = {0, 0, kInputFormatCount, -1, 0, 0};
    dialog = OpenSettings();
    EXPECT_EQ(CB_ERR, Selection(dialog, IDC_STEREO_IN)) << "an index outside the list";
    EXPECT_EQ(CB_ERR, Selection(dialog, IDC_STEREO_OUT));
    EXPECT_EQ("", WindowText(GetDlgItem(dialog, IDC_STEREO_IN)));
    EXPECT_EQ(kInputFormatCount, SendDlgItemMessageA(dialog, IDC_STEREO_IN, CB_GETCOUNT, 0, 0));
}

TEST_F(Dialogs, DecoderButtonsOfTheGpuTemplateShowAndSetTheDecoder)
{
    for (int gpu = 0; gpu < 3; ++gpu) {
        PlayerSettings = kAllOff;
        PlayerSettings.nGPU = gpu;
        HWND dialog = OpenSettings(IDD_SETTING_GPU);
        for (int id = IDC_CPU_DECODE; id <= IDC_GPU_H265; ++id)
            EXPECT_EQ(id == IDC_CPU_DECODE + gpu, Checked(dialog, id)) << gpu << " " << id;
    }
    for (int choice = 0; choice < 3; ++choice) {
        PlayerSettings = kAllOff;
        PlayerSettings.nGPU = (choice + 1) % 3;
        HWND dialog = OpenSettings(IDD_SETTING_GPU);
        SendDlgItemMessageA(dialog, IDC_CPU_DECODE + choice, BM_CLICK, 0, 0);
        EXPECT_EQ((choice + 1) % 3, PlayerSettings.nGPU) << "no change before OK";
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
        EXPECT_EQ(choice, PlayerSettings.nGPU);
        EXPECT_FALSE(IsWindowVisible(dialog)) << "OK ends the dialog";
    }
}

TEST_F(Dialogs, OkStoresEveryControlAtOnceAndCancelNothing)
{
    const PlayerSettingsRecord before = {0, 0, 2, 5, 2, 0};
    for (int button : {IDCANCEL, IDOK}) {
        PlayerSettings = before;
        HWND dialog = OpenSettings();
        SendDlgItemMessageA(dialog, IDC_FULLSCREEN, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_ORIGINAL, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_ERROR_CHECK, BM_CLICK, 0, 0);
        ChooseEntry(dialog, IDC_STEREO_IN, 13);
        ChooseEntry(dialog, IDC_STEREO_OUT, 32);
        EXPECT_SETTINGS(before, PlayerSettings) << "nothing changes before the dialog ends";
        SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowVisible(dialog));
        if (button == IDCANCEL)
            EXPECT_SETTINGS(before, PlayerSettings) << "CANCEL keeps nGPU 2 too";
        else
            EXPECT_SETTINGS((PlayerSettingsRecord{1, 1, 13, 32, 0, 1}), PlayerSettings)
                << "OK with template 104 stores decoder 0";
    }
    // Unticking stores 0, also for values that the player takes as on.
    PlayerSettings = {7, 1, 0, 0, 1, 1};
    HWND dialog = OpenSettings();
    for (int id : {IDC_FULLSCREEN, IDC_ORIGINAL, IDC_ERROR_CHECK})
        SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    EXPECT_SETTINGS(kAllOff, PlayerSettings);
}

TEST_F(Dialogs, ComboWithoutAListEntryKeepsThePreviousValue)
{
    // Out of range on opening: nothing is selected, OK keeps the values.
    PlayerSettings = {0, 0, 20, -3, 0, 0};
    HWND dialog = OpenSettings();
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    EXPECT_EQ(20, PlayerSettings.nStin);
    EXPECT_EQ(-3, PlayerSettings.nStout);

    // Text put into the edit field, or typed key by key, after a list choice.
    PlayerSettings = {0, 0, 4, 9, 0, 0};
    dialog = OpenSettings();
    ChooseEntry(dialog, IDC_STEREO_IN, 6);
    ChooseEntry(dialog, IDC_STEREO_OUT, 20);
    SetDlgItemTextA(dialog, IDC_STEREO_IN, "my own layout");
    TypeIntoCombo(dialog, IDC_STEREO_OUT, "x");
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    EXPECT_EQ(4, PlayerSettings.nStin);
    EXPECT_EQ(9, PlayerSettings.nStout);

    // An arrow key in the edit field chooses the next entry of the list.
    dialog = OpenSettings();
    PressKeyInCombo(dialog, IDC_STEREO_IN, VK_DOWN);
    PressKeyInCombo(dialog, IDC_STEREO_OUT, VK_UP);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    EXPECT_EQ(5, PlayerSettings.nStin);
    EXPECT_EQ(8, PlayerSettings.nStout);
}

TEST_F(Dialogs, ProcedureAnswersOnlyWhatItHandles)
{
    HWND dialog = OpenSettings();
    EXPECT_FALSE(SettingsDlgProc(dialog, WM_COMMAND, IDC_FULLSCREEN, 0));
    EXPECT_FALSE(SettingsDlgProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_STEREO_IN, CBN_SELCHANGE), 0));
    EXPECT_FALSE(SettingsDlgProc(dialog, WM_TIMER, 1, 0));
    EXPECT_TRUE(SettingsDlgProc(dialog, WM_INITDIALOG, 0, 0));
    EXPECT_TRUE(SettingsDlgProc(dialog, WM_COMMAND, IDCANCEL, 0));
    HWND about = CreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), main_, AboutDlgProc, 0);
    created_.push_back(about);
    ShowWindow(about, SW_SHOW);
    EXPECT_TRUE(AboutDlgProc(about, WM_INITDIALOG, 0, 0));
    EXPECT_FALSE(AboutDlgProc(about, WM_COMMAND, IDC_REPLAY, 0));
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(AboutDlgProc(about, WM_COMMAND, IDCANCEL, 0));
}

// The menu command runs the dialog modally; whatever ends it, the status text is drawn
// again over the whole client area.
TEST_F(Dialogs, SettingCommandRunsTheDialogAndRepaintsTheMainWindow)
{
    for (int button : {IDOK, IDCANCEL}) {
        PlayerSettings = {0, 0, 1, 1, 0, 0};
        bool modal = false;
        DialogDriver driver("Setting", [&](HWND dialog) {
            modal = !IsWindowEnabled(main_) && GetWindow(dialog, GW_OWNER) == main_;
            // Out of the main window's way, so that its closing uncovers nothing there.
            SetWindowPos(dialog, nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            ValidateMainWindow(main_);
            ChooseEntry(dialog, IDC_STEREO_OUT, 17);
            SendDlgItemMessageA(dialog, IDC_FULLSCREEN, BM_CLICK, 0, 0);
            PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
            return true;
        });
        EXPECT_EQ(0, SendMessageA(main_, WM_COMMAND, IDM_SETTING, 0));
        ASSERT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_TRUE(modal) << "owned by the main window, which is disabled meanwhile";
        EXPECT_TRUE(WholeClientInvalid(main_)) << button;
        EXPECT_EQ(button == IDOK ? 17 : 1, PlayerSettings.nStout);
        EXPECT_EQ(button == IDOK ? 1 : 0, PlayerSettings.nFull);
    }
}

TEST_F(Dialogs, ReplayStoresThenPlaysWhileOpenAndEnds)
{
    strcpy(szMediaFile, "C:\\media\\replay test.mp4");
    PlayerSettings = {0, 1, 0, 0, 2, 0};
    HWND playerWhenClosing = reinterpret_cast<HWND>(-1);
    HWND dialogWindow = nullptr;
    PendingScreenshot shot{"settings-dialog"};
    DialogDriver driver("Setting", [&](HWND dialog) {
        if (!shot.Step(dialog))
            return false;
        dialogWindow = dialog;
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLAY)));
        SetWindowPos(dialog, nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ValidateMainWindow(main_);
        SendDlgItemMessageA(dialog, IDC_FULLSCREEN, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_ORIGINAL, BM_CLICK, 0, 0);
        ChooseEntry(dialog, IDC_STEREO_IN, 2);
        ChooseEntry(dialog, IDC_STEREO_OUT, 17);
        PostMessageA(GetDlgItem(dialog, IDC_REPLAY), BM_CLICK, 0, 0);
        return true;
    });
    watchedDialog = &dialogWindow;
    playerAtDestroy = &playerWhenClosing;
    HHOOK hook = SetWindowsHookExA(WH_CBT, RecordPlayerAtDestroy, nullptr, GetCurrentThreadId());
    SendMessageA(main_, WM_COMMAND, IDM_SETTING, 0);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(driver.Done());
    EXPECT_TRUE(shot.saved);
    EXPECT_SETTINGS((PlayerSettingsRecord{1, 0, 2, 17, 0, 0}), PlayerSettings);
    EXPECT_NE(nullptr, playerWhenClosing) << "the player was started before the dialog ended";
    EXPECT_NE(reinterpret_cast<HWND>(-1), playerWhenClosing);
    EXPECT_TRUE(WholeClientInvalid(main_));
    ASSERT_TRUE(WaitForStandinStarts(1));
    const std::string command = StandinStarts()[0].commandLine;
    EXPECT_NE(std::string::npos, command.find(" -fs ")) << command;
    EXPECT_NE(std::string::npos, command.find("stereo3d=sbs2l:arcd")) << command;
    EXPECT_EQ(std::string::npos, command.find("cuvid")) << command;
    EXPECT_NE(std::string::npos, command.find("\"C:\\media\\replay test.mp4\"")) << command;
}

TEST_F(Dialogs, AboutEndsOnOkEnterEscAndCloseBox)
{
    struct Way {
        const char *name;
        std::function<void(HWND)> press;
        INT_PTR result;
    };
    const Way ways[] = {
        {"OK", [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }, IDOK},
        {"Enter", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); }, IDOK},
        {"Esc", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }, IDCANCEL},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL}};
    PlayerSettings = {1, 1, 3, 4, 2, 1};
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        bool focusOnOk = false;
        DialogDriver driver("About", [&](HWND dialog) {
            focusOnOk = GetFocus() == GetDlgItem(dialog, IDOK);
            way.press(dialog);
            return true;
        });
        EXPECT_EQ(way.result,
                  DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), main_, AboutDlgProc, 0));
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_TRUE(focusOnOk);
    }
    EXPECT_SETTINGS((PlayerSettingsRecord{1, 1, 3, 4, 2, 1}), PlayerSettings);
}

TEST_F(Dialogs, AboutLinesFitTheirControls)
{
    HWND about = CreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), main_, AboutDlgProc, 0);
    created_.push_back(about);
    ASSERT_NE(nullptr, about);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(about, WM_GETFONT, 0, 0));
    int lines = 0;
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) != 0xFFFF)
            continue;
        const std::string text = WindowText(child);
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent;
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        RECT client;
        GetClientRect(child, &client);
        EXPECT_LE(extent.cx, client.right) << text;
        EXPECT_LE(extent.cy, client.bottom) << text;
        ++lines;
    }
    EXPECT_EQ(2, lines);
}

TEST_F(Dialogs, AboutCommandShowsTheBoxAndChangesNothing)
{
    PlayerSettings = {0, 1, 5, 6, 1, 0};
    PendingScreenshot shot{"about-dialog"};
    bool modal = false;
    DialogDriver driver("About", [&](HWND dialog) {
        if (!shot.Step(dialog))
            return false;
        modal = !IsWindowEnabled(main_) && GetWindow(dialog, GW_OWNER) == main_;
        SetWindowPos(dialog, nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ValidateMainWindow(main_);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_EQ(0, SendMessageA(main_, WM_COMMAND, IDM_ABOUT, 0));
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(modal);
    EXPECT_TRUE(shot.saved);
    EXPECT_FALSE(AnyPartInvalid(main_)) << "the main window is not repainted";
    EXPECT_SETTINGS((PlayerSettingsRecord{0, 1, 5, 6, 1, 0}), PlayerSettings);
    EXPECT_TRUE(StandinStarts().empty());
}
