#include "ui/main_window.h"

#include <shellapi.h>

#include <cstring>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/failure_box.h"
#include "common/paths.h"
#include "common/res_string.h"
#include "common/text.h"
#include "media/auto_probe.h"
#include "media/film.h"
#include "playback/play_media.h"
#include "playback/player_process.h"
#include "playback/view_graph.h"
#include "res/resource.h"
#include "settings/registry_store.h"
#include "ui/dialogs.h"
#include "ui/status_text.h"
#include "ui/track_menus.h"

static char szStatusText[kStatusTextSize];

void RegisterMainWindowClass(HINSTANCE hInstance)
{
    WNDCLASSEXA wcex = {};
    wcex.cbSize = sizeof wcex;
    wcex.style = CS_HREDRAW | CS_VREDRAW;
    wcex.lpfnWndProc = MainWndProc;
    wcex.hInstance = hInstance;
    wcex.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_DUOSCOPE));
    wcex.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wcex.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wcex.lpszMenuName = MAKEINTRESOURCEA(IDC_DUOSCOPE);
    wcex.lpszClassName = szWindowClass;
    wcex.hIconSm = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_SMALL));
    RegisterClassExA(&wcex);
}

bool CreateMainWindow(HINSTANCE hInstance, int nCmdShow)
{
    hInst = hInstance;
    HWND hWnd = CreateWindowExA(0, szWindowClass, szTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr || !IsWindow(hWnd))
        return false;
    DragAcceptFiles(hWnd, TRUE);
    ShowWindow(hWnd, nCmdShow);
    UpdateWindow(hWnd);
    return true;
}

AnsiForm FindPlayer(wchar_t (&modulePath)[kPathSize])
{
    // The path in its short form where the ANSI code page cannot hold its name.
    DWORD length = GetModuleFileNameW(hInst, modulePath, kPathSize);
    if (length == 0 || length >= kPathSize)
        return AnsiForm::TooLong;
    const AnsiForm form = AnsiPathFromWide(modulePath, szModulePath, sizeof szModulePath);
    if (!FormPasses(form))
        return form;
    if (!PathBeside(szPlayerExe, sizeof szPlayerExe, szModulePath, "ffplay.exe", IsAnsiLeadByte))
        return AnsiForm::TooLong;
    return GetFileAttributesA(szPlayerExe) != INVALID_FILE_ATTRIBUTES ? form : AnsiForm::TooLong;
}

// The film of the current media file, as far as the program knows it (null before its
// first launch).
// No film: what a launch of no known file looks like (a stored sphere's default view).
// Not const: zeroed at start, it takes no room in the program's file.
static Film noFilm;

static const Film *FilmShown()
{
    return IsFilmOf(CurrentFilm, szMediaFile) ? &CurrentFilm : nullptr;
}

void ProbeAhead()
{
    wchar_t modulePath[kPathSize];
    if (!IsPlayablePath(szMediaFile) || !FormPasses(FindPlayer(modulePath)))
        return;
    LoadSettings();
    if (PlayerSettings.nStin != kAutoInputLayout || IsOriginalPicture(PlayerSettings.nOrg))
        return;
    SelectFilm(CurrentFilm, szMediaFile);
    StartAutoProbesFor(CurrentFilm, szPlayerExe);
}

// Enables or greys the menu command `id`; returns whether its state changed.
static bool EnableCommand(HMENU menu, UINT id, bool enabled)
{
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    return EnableMenuItem(menu, id, MF_BYCOMMAND | state) != static_cast<int>(state);
}

void ShowFilmState(HWND hWnd)
{
    const bool known = IsFilmOf(CurrentFilm, szMediaFile);
    if (known)
        SettleFilm(CurrentFilm, PlayerSettings);
    // Swap Eyes is greyed for the original picture, the View commands but for a sphere.
    HMENU menu = GetMenu(hWnd);
    const bool original = FilmShown() != nullptr ? PlaysOriginal(*FilmShown(), PlayerSettings)
                                                 : IsOriginalPicture(PlayerSettings.nOrg);
    bool changed = EnableCommand(menu, IDM_SWAP_EYES, !original);
    const bool sphere =
        known && SphereOfLaunch(PlayerSettings.nStin, PlayerSettings.nOrg,
                                AutoChoiceOf(CurrentFilm, PlayerSettings)) != Sphere::None;
    for (int step = 0; step < kViewStepCount; ++step)
        changed = EnableCommand(menu, IDM_VIEW_LEFT + step, sphere) || changed;
    if (changed)
        DrawMenuBar(hWnd);
    ShowTrackMenus(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
}

void PlayAndShow(HWND hWnd)
{
    PlayMedia();
    ShowFilmState(hWnd);
}

// Plays the current media file if its path names one.
static void PlayCurrentMedia(HWND hWnd)
{
    if (IsPlayablePath(szMediaFile))
        PlayAndShow(hWnd);
}

// Puts the View menu, greyed, before Help on the menu bar: its commands in the order of
// the view's steps, their texts from the string table.
static void AddViewMenu(HWND hWnd)
{
    HMENU bar = GetMenu(hWnd);
    HMENU view = CreatePopupMenu();
    if (view == nullptr)
        return;
    for (int step = 0; step < kViewStepCount; ++step)
        AppendMenuA(view, MF_STRING | MF_GRAYED, IDM_VIEW_LEFT + step,
                    LoadResString(IDS_MENU_VIEW_FIRST + step));
    if (!InsertMenuA(bar, GetMenuItemCount(bar) - 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                     reinterpret_cast<UINT_PTR>(view), LoadResString(IDS_MENU_VIEW)))
        DestroyMenu(view);
}

static LRESULT OnCreate(HWND hWnd)
{
    LoadSettings();
    hWndMain = hWnd;
    wchar_t modulePath[kPathSize];
    const AnsiForm player = FindPlayer(modulePath);
    if (!FormPasses(player)) {
        if (player == AnsiForm::Lacking) {
            // The folder's name is the one to change: the program's own is ASCII.
            wchar_t *name = modulePath + lstrlenW(modulePath);
            while (name > modulePath && name[-1] != L'\\')
                --name;
            *name = L'\0';
            WarnNameCannotPass(hWnd, modulePath, IDS_NAME_PROGRAM_FOLDER);
        } else {
            ShowFailure(hWnd, IDS_NO_PLAYER_CAPTION, IDS_NO_PLAYER_TEXT);
        }
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    AddViewMenu(hWnd);
    PrepareOpenDialog(hWnd);
    ShowTrackMenus(hWnd);
    PlayCurrentMedia(hWnd);
    return 0;
}

// Plays the first dropped file, in its short form where the ANSI code page cannot hold
// its name. A path too long for szMediaFile is not cut (that would name another file):
// the drop is then ignored. A name that cannot be handed to the player is said so; the
// current file stays.
static void OnDropFiles(HWND hWnd, HDROP drop)
{
    wchar_t dropped[kPathSize];
    const bool named = DragQueryFileW(drop, 0, nullptr, 0) < kPathSize &&
                       DragQueryFileW(drop, 0, dropped, kPathSize) > 0;
    DragFinish(drop);
    char path[kPathSize];
    if (!named || !TakeAnsiPath(dropped, path, sizeof path, hWnd, IDS_NAME_FILE))
        return;
    CopyText(szMediaFile, sizeof szMediaFile, path);
    SetForegroundWindow(hWnd);
    PlayAndShow(hWnd);
}

static void OnClose(HWND hWnd)
{
    SaveSettings();
    ClosePlayerWindow();
    DestroyWindow(hWnd);
}

// Swap Eyes: mirrors the current file's layout and plays it again; nothing for the
// original picture.
static void OnSwapEyes(HWND hWnd)
{
    SelectFilm(CurrentFilm, szMediaFile);
    if (!ToggleEyesSwapped(CurrentFilm, PlayerSettings))
        return;
    ShowFilmState(hWnd);
    PlayCurrentMedia(hWnd);
}

// A View command: turns or widens a spherical film's view and plays it again from there;
// nothing for a flat film or a step that leads nowhere.
static void OnViewStep(HWND hWnd, ViewStep step)
{
    if (IsFilmOf(CurrentFilm, szMediaFile) &&
        StepFilmView(CurrentFilm, PlayerSettings, step, szMediaFile, IsAnsiLeadByte))
        PlayCurrentMedia(hWnd);
}

static void OnPaint(HWND hWnd)
{
    // Auto's input line shows the choice that the launch of the current file made, the
    // view line where a sphere's launch looks.
    const Film *film = FilmShown();
    const SphereView sphere = FilmViewOfLaunch(film != nullptr ? *film : noFilm, PlayerSettings,
                                               szMediaFile, IsAnsiLeadByte);
    static char subtitleLabel[kStatusLabelSize];
    size_t length = ComposeStatusText(
        PlayerSettings.nFull, PlayerSettings.nOrg, PlayerSettings.nStin, PlayerSettings.nStout,
        film != nullptr ? AutoChoiceOf(*film, PlayerSettings) : nullptr, LoadResString,
        szStatusText, sizeof szStatusText, film != nullptr && film->eyesSwapped, &sphere,
        TrackStatus(subtitleLabel));
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hWnd, &paint);
    RECT client;
    GetClientRect(hWnd, &client);
    DrawTextA(hdc, szStatusText, static_cast<int>(length), &client, DT_CENTER);
    EndPaint(hWnd, &paint);
}

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(hWnd);
    case WM_PAINT:
        OnPaint(hWnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) >= IDM_VIEW_LEFT && LOWORD(wParam) <= IDM_VIEW_AHEAD) {
            OnViewStep(hWnd, static_cast<ViewStep>(LOWORD(wParam) - IDM_VIEW_LEFT));
            return 0;
        }
        switch (LOWORD(wParam)) {
        case IDM_OPEN:
            RunOpenDialog();
            return 0;
        case IDM_SETTING:
            RunSettingsDialog(hWnd);
            return 0;
        case IDM_EXIT:
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
            return 0;
        case IDM_REPLAY:
            PlayCurrentMedia(hWnd);
            return 0;
        case IDM_SWAP_EYES:
            OnSwapEyes(hWnd);
            return 0;
        case IDM_ABOUT:
            RunAboutDialog(hWnd);
            return 0;
        }
        if (OnTrackCommand(hWnd, LOWORD(wParam)))
            return 0;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    case WM_TIMER:
        if (wParam == kTracksTimer)
            OnTracksTimer(hWnd);
        return 0;
    case WM_DROPFILES:
        OnDropFiles(hWnd, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        OnClose(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
