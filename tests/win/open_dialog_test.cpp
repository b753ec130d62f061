// The Open Media File dialog: the platform's own dialog (GetOpenFileNameA under Wine)
// with the real options pane and hook, driven from the test thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

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

const char kTitle[] = "Open Media File";

// The pane: the child dialog of the Open dialog that holds the full-screen check box.
HWND FindPane(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgItem(child, IDC_FULLSCREEN) != nullptr)
            return child;
    return nullptr;
}

// The file name field: an edit field (edt1) in Wine's dialog, a combo box with an
// edit field (cmb13) in the Explorer-style dialog of Windows.
HWND FileNameField(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, cmb13);
    return combo != nullptr ? combo : GetDlgItem(dialog, edt1);
}

// Types a name into the file name field and presses Open.
void ConfirmName(HWND dialog, const std::string &name)
{
    SetWindowTextA(FileNameField(dialog), name.c_str());
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// Chooses entry `index` of the filter list (cmb1) as a click in its list does.
void ChooseFilter(HWND dialog, int index)
{
    HWND combo = GetDlgItem(dialog, cmb1);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (WORD code : {CBN_SELENDOK, CBN_SELCHANGE})
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, code), reinterpret_cast<LPARAM>(combo));
}

void Cancel(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

std::string FolderShown(HWND dialog)
{
    wchar_t folder[MAX_PATH] = L"";
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return Narrow(folder);
}

// Saves a shortcut (.lnk) at `link` that leads to `target`.
bool CreateShortcut(const std::wstring &link, const std::wstring &target)
{
    CoInitialize(nullptr);
    IShellLinkW *shortcut = nullptr;
    IPersistFile *file = nullptr;
    bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&shortcut))) &&
        SUCCEEDED(shortcut->SetPath(target.c_str())) &&
        SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Save(link.c_str(), TRUE));
    if (file)
        file->Release();
    if (shortcut)
        shortcut->Release();
    return saved;
}

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool SameSettings(const PlayerSettingsRecord &a, const PlayerSettingsRecord &b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

// The filter list, both closing NULs included.
const wchar_t kFilter[] =
    L"Media Files\0"
    L"*.jpg;*.jpeg;*.jps;*.gif;*.bmp;*.mpo;*.avi; *.qt; *.mov; *.mpg; *.mpeg; *.m1v; *.wmv; *.mp4"
    L"; *.mkv; *.mk3d; *.webm; *.m2ts; *.mts; *.ts; *.m4v; *.ogv; *.flv; *.hevc; *.264; *.h264\0"
    L"Image Files\0"
    L"*.jpg;*.jpeg;*.jps;*.gif;*.bmp\0"
    L"Video Files\0"
    L"*.avi; *.qt; *.mov; *.mpg; *.mpeg; *.m1v; *.wmv; *.mp4"
    L"; *.mkv; *.mk3d; *.webm; *.m2ts; *.mts; *.ts; *.m4v; *.ogv; *.flv; *.hevc; *.264; *.h264\0"
    L"All Files (*.*)\0"
    L"*.*;\0";

// The letters of a filter list up to and including the NUL that ends it.
std::wstring FilterBytes(const wchar_t *filter)
{
    const wchar_t *end = filter;
    while (end[0] != L'\0' || end[1] != L'\0')
        ++end;
    return std::wstring(filter, end + 2);
}

class OpenDialog : public ::testing::Test {
  protected:
    void SetUp() override
    {
        main_ = TestMainWindow();
        ASSERT_NE(nullptr, main_);
        PlayerSettings = PlayerSettingsRecord{};
        szMediaFile[0] = '\0';
        szOpenDir[0] = L'\0';
        ofnMedia.nFilterIndex = 0;
        hWndPlayer = nullptr;
        ClearStandinLog();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "duoscope open test\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (const char *name : {"clip.mp4", "photo.jpg", "notes.txt"}) {
            HANDLE file = CreateFileA((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(file);
        }
        SetCurrentDirectoryA(ProgramFolder().c_str());
    }
    void TearDown() override
    {
        EndPlayerProcesses();
        SetCurrentDirectoryA(ProgramFolder().c_str());
        for (const char *name : {"clip.mp4", "photo.jpg", "notes.txt"})
            DeleteFileA((folder_ + name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    // Runs the Open command as the main window does, with `action` driving the dialog.
    void RunOpen(const std::function<bool(HWND)> &action)
    {
        DialogDriver driver(kTitle, action);
        EXPECT_EQ(0, SendMessageA(main_, WM_COMMAND, IDM_OPEN, 0));
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut());
    }

    HWND main_ = nullptr;
    std::string folder_;
};

} // namespace

TEST_F(OpenDialog, RecordHoldsTheFixedAndPerOpenFields)
{
    // Filled while the main window was created.
    EXPECT_EQ(static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400W), ofnMedia.lStructSize);
    EXPECT_EQ(main_, ofnMedia.hwndOwner);
    EXPECT_EQ(hInst, ofnMedia.hInstance);
    EXPECT_EQ(szOpenFile, ofnMedia.lpstrFile);
    EXPECT_EQ(512u, ofnMedia.nMaxFile);
    EXPECT_EQ(szOpenDir, ofnMedia.lpstrInitialDir);
    EXPECT_STREQ(L"mp4", ofnMedia.lpstrDefExt);

    wcscpy(szOpenDir, Wide(folder_).c_str());
    std::vector<std::string> filters;
    LRESULT filterShown = -2;
    std::string folder;
    bool paneBelow = false;
    PendingScreenshot shot{"open-dialog"};
    RunOpen([&](HWND dialog) {
        HWND pane = FindPane(dialog);
        if (pane == nullptr || !shot.Step(dialog))
            return false;
        filters = ComboEntries(GetDlgItem(dialog, cmb1));
        filterShown = SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0);
        folder = FolderShown(dialog);
        RECT paneRect, okRect;
        GetWindowRect(GetDlgItem(pane, IDC_FULLSCREEN), &paneRect);
        GetWindowRect(GetDlgItem(dialog, IDOK), &okRect);
        paneBelow = paneRect.top >= okRect.bottom;
        Cancel(dialog);
        return true;
    });
    EXPECT_TRUE(shot.saved);
    EXPECT_EQ(
        (std::vector<std::string>{"Media Files", "Image Files", "Video Files", "All Files (*.*)"}),
        filters);
    EXPECT_EQ(0, filterShown) << "a first Open offers the first filter";
    EXPECT_EQ(Lower(folder_.substr(0, folder_.size() - 1)), Lower(folder));
    EXPECT_TRUE(paneBelow) << "the pane's controls lie below the standard controls";

    EXPECT_EQ(FilterBytes(kFilter), FilterBytes(ofnMedia.lpstrFilter));
    EXPECT_EQ(Wide(kTitle), ofnMedia.lpstrTitle);
    // The dialog adds OFN_PATHMUSTEXIST, which OFN_FILEMUSTEXIST implies.
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE |
                                 OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING),
              ofnMedia.Flags & ~static_cast<DWORD>(OFN_PATHMUSTEXIST));
    EXPECT_EQ(reinterpret_cast<LPOFNHOOKPROC>(OpenHookProc), ofnMedia.lpfnHook);
    EXPECT_STREQ(L"OPNOPTIONS", ofnMedia.lpTemplateName);
    EXPECT_EQ(nullptr, ofnMedia.lpstrCustomFilter);
    EXPECT_EQ(0u, ofnMedia.nMaxCustFilter);
    EXPECT_EQ(nullptr, ofnMedia.lpstrFileTitle);
    EXPECT_EQ(0, ofnMedia.lCustData);
}

TEST_F(OpenDialog, PaneShowsTheSettingsAndChangesThemAtOnce)
{
    const PlayerSettingsRecord before = {3, 2, 13, 32, 2, 1};
    PlayerSettings = before;
    struct Seen {
        bool full, original, errorCheck;
        LRESULT in, out;
        std::vector<std::string> inputs, outputs;
    } seen{};
    std::vector<PlayerSettingsRecord> steps;
    RunOpen([&](HWND dialog) {
        HWND pane = FindPane(dialog);
        if (pane == nullptr)
            return false;
        seen.full = IsDlgButtonChecked(pane, IDC_FULLSCREEN) == BST_CHECKED;
        seen.original = IsDlgButtonChecked(pane, IDC_ORIGINAL) == BST_CHECKED;
        seen.errorCheck = IsDlgButtonChecked(pane, IDC_ERROR_CHECK) == BST_CHECKED;
        seen.in = SendDlgItemMessageA(pane, IDC_STEREO_IN, CB_GETCURSEL, 0, 0);
        seen.out = SendDlgItemMessageA(pane, IDC_STEREO_OUT, CB_GETCURSEL, 0, 0);
        seen.inputs = ComboEntries(GetDlgItem(pane, IDC_STEREO_IN));
        seen.outputs = ComboEntries(GetDlgItem(pane, IDC_STEREO_OUT));
        SendDlgItemMessageA(pane, IDC_FULLSCREEN, BM_CLICK, 0, 0);
        steps.push_back(PlayerSettings);
        SendDlgItemMessageA(pane, IDC_ORIGINAL, BM_CLICK, 0, 0);
        steps.push_back(PlayerSettings);
        SendDlgItemMessageA(pane, IDC_ERROR_CHECK, BM_CLICK, 0, 0);
        steps.push_back(PlayerSettings);
        ChooseEntry(pane, IDC_STEREO_IN, 4);
        steps.push_back(PlayerSettings);
        // The arrow key moves the list's selection before the edit field follows.
        PressKeyInCombo(pane, IDC_STEREO_OUT, VK_UP);
        steps.push_back(PlayerSettings);
        // Typed text, and notifications other than a selection change, change nothing.
        TypeIntoCombo(pane, IDC_STEREO_IN, "abc");
        SetDlgItemTextA(pane, IDC_STEREO_OUT, "my layout");
        SendDlgItemMessageA(pane, IDC_STEREO_OUT, CB_SETCURSEL, 2, 0);
        SendMessageA(pane, WM_COMMAND, MAKEWPARAM(IDC_STEREO_OUT, CBN_CLOSEUP),
                     reinterpret_cast<LPARAM>(GetDlgItem(pane, IDC_STEREO_OUT)));
        steps.push_back(PlayerSettings);
        SendDlgItemMessageA(pane, IDC_FULLSCREEN, BM_CLICK, 0, 0);
        steps.push_back(PlayerSettings);
        Cancel(dialog);
        return true;
    });
    EXPECT_TRUE(seen.full) << "full screen for any value but 0";
    EXPECT_FALSE(seen.original) << "original picture only for exactly 1";
    EXPECT_TRUE(seen.errorCheck);
    EXPECT_EQ(13, seen.in);
    EXPECT_EQ(32, seen.out);
    EXPECT_EQ(SourceStrings(IDS_INPUT_TEXT_FIRST, kInputFormatCount), seen.inputs);
    EXPECT_EQ(SourceStrings(IDS_OUTPUT_TEXT_FIRST, 33), seen.outputs);
    const PlayerSettingsRecord expected[] = {
        {0, 2, 13, 32, 2, 1}, {0, 1, 13, 32, 2, 1}, {0, 1, 13, 32, 2, 0}, {0, 1, 4, 32, 2, 0},
        {0, 1, 4, 31, 2, 0},  {0, 1, 4, 31, 2, 0},  {1, 1, 4, 31, 2, 0}};
    ASSERT_EQ(7u, steps.size());
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_TRUE(SameSettings(expected[i], steps[i]))
            << "after step " << i + 1 << ": " << steps[i].nFull << steps[i].nOrg << " "
            << steps[i].nStin << " " << steps[i].nStout << " " << steps[i].nERCHK;

    // Cancel puts all six back and does nothing else.
    EXPECT_TRUE(SameSettings(before, PlayerSettings));
    EXPECT_STREQ("", szMediaFile);
    EXPECT_STREQ(L"", szOpenDir);
    EXPECT_TRUE(StandinStarts().empty());
}

TEST_F(OpenDialog, CancelLeavesMediaFileFolderAndWindowAlone)
{
    const std::string media = folder_ + "clip.mp4";
    strcpy(szMediaFile, media.c_str());
    wcscpy(szOpenDir, L"C:\\windows\\");
    PlayerSettings = {0, 0, 1, 2, 1, 0};
    std::string nameShown;
    RunOpen([&](HWND dialog) {
        HWND pane = FindPane(dialog);
        if (pane == nullptr)
            return false;
        nameShown = WindowText(FileNameField(dialog));
        SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ValidateMainWindow(main_);
        SendDlgItemMessageA(pane, IDC_ORIGINAL, BM_CLICK, 0, 0);
        ChooseEntry(pane, IDC_STEREO_OUT, 9);
        // A name typed but not confirmed stays in the dialog.
        SetWindowTextA(FileNameField(dialog), "photo.jpg");
        Cancel(dialog);
        return true;
    });
    EXPECT_EQ("clip.mp4", nameShown) << "the dialog starts with the current media file";
    EXPECT_TRUE(SameSettings((PlayerSettingsRecord{0, 0, 1, 2, 1, 0}), PlayerSettings));
    EXPECT_EQ(media, szMediaFile);
    EXPECT_STREQ(L"C:\\windows\\", szOpenDir);
    EXPECT_FALSE(AnyPartInvalid(main_)) << "no repaint after a cancel";
    EXPECT_TRUE(StandinStarts().empty());
}

TEST_F(OpenDialog, ConfirmedFilePlaysWithThePaneSettingsAndBecomesTheStart)
{
    wcscpy(szOpenDir, Wide(folder_).c_str());
    PlayerSettings = {0, 0, 0, 0, 2, 0};
    RunOpen([&](HWND dialog) {
        HWND pane = FindPane(dialog);
        if (pane == nullptr)
            return false;
        SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ValidateMainWindow(main_);
        SendDlgItemMessageA(pane, IDC_FULLSCREEN, BM_CLICK, 0, 0);
        ChooseEntry(pane, IDC_STEREO_OUT, 17);
        ConfirmName(dialog, "clip.mp4");
        return true;
    });
    const std::string media = folder_ + "clip.mp4";
    EXPECT_EQ(Lower(media), Lower(szMediaFile));
    EXPECT_EQ(Lower(folder_), Lower(Narrow(szOpenDir)));
    EXPECT_TRUE(SameSettings((PlayerSettingsRecord{1, 0, 0, 17, 2, 0}), PlayerSettings))
        << "the pane's changes stay; the Open dialog never changes the decoder";
    EXPECT_TRUE(WholeClientInvalid(main_));
    ASSERT_TRUE(WaitForStandinStarts(1));
    const std::string command = Lower(StandinStarts()[0].commandLine);
    EXPECT_NE(std::string::npos, command.find(" -fs ")) << command;
    EXPECT_NE(std::string::npos, command.find("-vcodec hevc_cuvid")) << command;
    EXPECT_NE(std::string::npos, command.find("stereo3d=sbsl:arcd")) << command;
    EXPECT_NE(std::string::npos, command.find("\"" + Lower(media) + "\"")) << command;

    // The next Open starts in that folder, also when the media path names none and the
    // current folder is another one.
    SetCurrentDirectoryA(ProgramFolder().c_str());
    strcpy(szMediaFile, "movie.mp4");
    std::string folder;
    RunOpen([&](HWND dialog) {
        folder = FolderShown(dialog);
        Cancel(dialog);
        return true;
    });
    EXPECT_EQ(Lower(folder_.substr(0, folder_.size() - 1)), Lower(folder));
}

// The chosen name comes as the dialog returns it, in wide characters: a name that no
// ANSI code page holds whole plays in its short form (1252), and one that is longer than
// MAX_PATH bytes in the ANSI code page (932: two bytes a letter) plays too. A shortcut,
// chosen under "All Files", plays what the dialog returns for it: its target on Windows;
// Wine's dialog returns the shortcut itself.
TEST_F(OpenDialog, ChosenNamePlaysAsTheDialogReturnsIt)
{
    const std::wstring letters(70, L'\u6620');
    const std::wstring folder = Wide(folder_) + letters + L"\\";
    const std::wstring name = letters + L" \u00e9t\u00e9.mp4";
    const std::wstring link = L"\u6620\u753b \u00e9t\u00e9.lnk";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CreateEmptyFile(folder + name));
    ASSERT_TRUE(CreateShortcut(folder + link, folder + name));
    for (const std::wstring &typed : {name, link}) {
        SCOPED_TRACE(Narrow(typed, CP_UTF8));
        EndPlayerProcesses();
        ClearStandinLog();
        wcscpy(szOpenDir, folder.c_str());
        RunOpen([&](HWND dialog) {
            if (FindPane(dialog) == nullptr)
                return false;
            ChooseFilter(dialog, 3);
            SetWindowTextW(FileNameField(dialog), typed.c_str());
            PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            return true;
        });
        const std::wstring returned = szOpenFile;
        EXPECT_TRUE(returned == folder + name || returned == folder + typed);
        EXPECT_EQ(returned, LongPath(Wide(szMediaFile))) << szMediaFile;
        EXPECT_EQ(folder, szOpenDir);
        ASSERT_TRUE(WaitForStandinStarts(1));
        EXPECT_EQ(returned, LongPath(Arguments(StandinStarts()[0].commandLine).back()));
    }
    // (The dialog made the chosen file's folder the current one.)
    SetCurrentDirectoryA(ProgramFolder().c_str());
    for (const std::wstring &file : {name, link})
        DeleteFileW((folder + file).c_str());
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
}

// A name that leads to no file is refused with a message box of the dialog's own, and
// the dialog stays open. The message's words are the platform's, in its language.
// This holds for a name without extension too: Wine's dialog looks for the name as
// typed before it appends any extension, so "clip" does not find "clip.mp4" here
// (Windows appends the default extension "mp4" first).
TEST_F(OpenDialog, NameOfNoFileIsRefusedAndTheDialogStaysOpen)
{
    wcscpy(szOpenDir, Wide(folder_).c_str());
    PlayerSettings = {0, 0, 3, 3, 0, 0};
    int stage = 0;
    std::string message;
    bool boxOfDialog = false;
    bool boxHasOk = false;
    bool boxHasText = false;
    bool openAfterMessage = false;
    RunOpen([&](HWND dialog) {
        HWND box = GetLastActivePopup(dialog);
        switch (stage) {
        case 0:
            SendDlgItemMessageA(FindPane(dialog), IDC_FULLSCREEN, BM_CLICK, 0, 0);
            ConfirmName(dialog, "clip");
            ++stage;
            return false;
        case 1:
            if (box == dialog || box == nullptr)
                return false;
            boxOfDialog = GetWindow(box, GW_OWNER) == dialog;
            boxHasOk = GetDlgItem(box, IDOK) != nullptr;
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                message += WindowText(child) + "|";
                if (GetDlgCtrlID(child) != IDOK && !WindowText(child).empty())
                    boxHasText = true;
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            ++stage;
            return false;
        default:
            if (box != dialog)
                return false;
            openAfterMessage = IsWindowVisible(dialog) != FALSE;
            Cancel(dialog);
            return true;
        }
    });
    EXPECT_TRUE(boxOfDialog) << message;
    EXPECT_TRUE(boxHasOk) << message;
    EXPECT_TRUE(boxHasText) << message;
    EXPECT_TRUE(openAfterMessage);
    EXPECT_STREQ("", szMediaFile);
    EXPECT_EQ(0, PlayerSettings.nFull) << "the cancel that followed restores the settings";
    EXPECT_TRUE(StandinStarts().empty());
}

TEST_F(OpenDialog, NextOpenOffersTheFilterUsedLast)
{
    wcscpy(szOpenDir, Wide(folder_).c_str());
    RunOpen([&](HWND dialog) {
        ChooseFilter(dialog, 2);
        ConfirmName(dialog, "clip.mp4");
        return true;
    });
    EXPECT_EQ(3u, ofnMedia.nFilterIndex);
    LRESULT shown = -2;
    std::string text;
    RunOpen([&](HWND dialog) {
        shown = SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0);
        text = WindowText(GetDlgItem(dialog, cmb1));
        Cancel(dialog);
        return true;
    });
    EXPECT_EQ(2, shown);
    EXPECT_EQ("Video Files", text);
    EXPECT_EQ(3u, ofnMedia.nFilterIndex) << "a cancel keeps it";
}

// The pane with the decoder group takes the place of the plain one without other
// changes: the hook handles its radio buttons.
TEST_F(OpenDialog, HookSetsTheDecoderFromTheGpuPane)
{
    PlayerSettings = {0, 0, 0, 0, 1, 0};
    HWND pane = CreateDialogParamA(hInst, OPNOPTIONS_GPU_NAME, main_,
                                   reinterpret_cast<DLGPROC>(OpenHookProc), 0);
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(pane, IDC_GPU_H264));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(pane, IDC_CPU_DECODE));
    SendDlgItemMessageA(pane, IDC_GPU_H265, BM_CLICK, 0, 0);
    EXPECT_EQ(2, PlayerSettings.nGPU);
    SendDlgItemMessageA(pane, IDC_CPU_DECODE, BM_CLICK, 0, 0);
    EXPECT_EQ(0, PlayerSettings.nGPU);
    SendDlgItemMessageA(pane, IDC_GPU_H264, BM_CLICK, 0, 0);
    EXPECT_EQ(1, PlayerSettings.nGPU);

    EXPECT_FALSE(OpenHookProc(pane, WM_COMMAND, IDC_REPLAY, 0));
    EXPECT_FALSE(OpenHookProc(pane, WM_NOTIFY, 0, 0));
    EXPECT_TRUE(OpenHookProc(pane, WM_COMMAND, MAKEWPARAM(IDC_STEREO_IN, CBN_EDITCHANGE), 0));
    EXPECT_TRUE(OpenHookProc(pane, WM_INITDIALOG, 0, 0));
    DestroyWindow(pane);
}
