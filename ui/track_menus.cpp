#include "ui/track_menus.h"

#include <cstring>

#include "common/app_state.h"
#include "common/paths.h"
#include "common/res_string.h"
#include "common/text.h"
#include "media/film_tracks.h"
#include "playback/subtitle_graph.h"
#include "res/resource.h"
#include "ui/main_window.h"

static_assert(IDM_SUBS_SIDE_FIRST + kMaxSideFiles <= IDM_SUBS_TRACK_FIRST &&
                  IDM_SUBS_TRACK_FIRST + kMaxTracks <= IDM_AUDIO_TRACK_FIRST &&
                  IDM_AUDIO_TRACK_FIRST + kMaxTracks <= IDM_AUDIO_TRACK_END,
              "each list's items have ids of their own");

namespace {

// The current film, where it is the film of szMediaFile; null before its first launch.
Film *FilmNamed()
{
    return IsFilmOf(CurrentFilm, szMediaFile) ? &CurrentFilm : nullptr;
}

// A menu item's text with each '&' doubled, so that none becomes a mnemonic.
constexpr size_t kItemTextSize = 2 * kStatusLabelSize;
void EscapeAmpersands(const char *text, char (&out)[kItemTextSize])
{
    TextBuffer escaped = StartText(out, sizeof out);
    for (const char *p = text; *p != '\0'; ++p) {
        const char piece[3] = {*p, *p == '&' ? '&' : '\0', '\0'};
        AppendText(escaped, piece);
    }
}

// Appends an item of ANSI text, or of UTF-8 text (a track's label holds the file's title).
void AppendItem(HMENU menu, UINT flags, UINT id, const char *text, bool utf8)
{
    char escaped[kItemTextSize];
    EscapeAmpersands(text, escaped);
    wchar_t wide[kItemTextSize];
    if (utf8 && MultiByteToWideChar(CP_UTF8, 0, escaped, -1, wide, kItemTextSize) > 0)
        AppendMenuW(menu, MF_STRING | flags, id, wide);
    else
        AppendMenuA(menu, MF_STRING | flags, id, escaped);
}

// Empties `menu`.
void ClearMenu(HMENU menu)
{
    while (GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, 0, MF_BYPOSITION);
}

// The Subtitles menu (the popup that holds Off) and the Audio menu after it.
bool FindTrackMenus(HWND hWnd, HMENU &subtitles, HMENU &audio)
{
    HMENU bar = GetMenu(hWnd);
    const int count = GetMenuItemCount(bar);
    for (int i = 0; i + 1 < count; ++i) {
        subtitles = GetSubMenu(bar, i);
        if (subtitles != nullptr && GetMenuState(subtitles, IDM_SUBS_OFF, MF_BYCOMMAND) != ~0u) {
            audio = GetSubMenu(bar, i + 1);
            return audio != nullptr;
        }
    }
    return false;
}

UINT Checked(bool checked)
{
    return checked ? MF_CHECKED : MF_UNCHECKED;
}

void FillSubtitlesMenu(HMENU menu, const Film *film)
{
    ClearMenu(menu);
    const SubtitleChoice choice = film != nullptr
                                      ? FilmSubtitles(*film, PlayerSettings, UserLanguage())
                                      : SubtitleChoice{SubtitleSource::Off, -1, -1, false};
    AppendItem(menu, Checked(choice.source == SubtitleSource::Off), IDM_SUBS_OFF,
               LoadResString(IDS_TRACK_TEXT_FIRST + kTextOff), false);
    if (film != nullptr) {
        const SideFileList &files = film->tracks.sideFiles;
        if (files.count > 0)
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        for (int i = 0; i < files.count; ++i)
            AppendItem(menu,
                       Checked(choice.source == SubtitleSource::SideFile && choice.sideFile == i),
                       IDM_SUBS_SIDE_FIRST + i, files.files[i].name, false);
        const TrackList &list = film->tracks.list;
        bool first = true;
        for (int i = 0; i < list.count; ++i) {
            const MediaTrack &track = list.tracks[i];
            if (track.kind == TrackKind::Audio)
                continue;
            if (first)
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            first = false;
            char label[kTrackLabelSize];
            ComposeTrackLabel(track, LoadResString, IDS_TRACK_TEXT_FIRST, label, sizeof label);
            const bool chosen = (choice.source == SubtitleSource::TextTrack ||
                                 choice.source == SubtitleSource::PictureTrack) &&
                                choice.track == i;
            AppendItem(menu,
                       Checked(chosen) |
                           (track.kind == TrackKind::OtherSubtitle ? MF_GRAYED : MF_ENABLED),
                       IDM_SUBS_TRACK_FIRST + i, label, true);
        }
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const int depth = HeldSubtitleDepth(PlayerSettings.nSubDepth);
    const struct {
        UINT id;
        unsigned text, key;
        bool atEnd;
    } moves[] = {
        {IDM_SUBS_NEARER, IDS_SUBS_NEARER, IDS_SUBS_NEARER_KEY, depth >= kSubtitleDepthLimit},
        {IDM_SUBS_FARTHER, IDS_SUBS_FARTHER, IDS_SUBS_FARTHER_KEY, depth <= -kSubtitleDepthLimit}};
    for (const auto &move : moves) {
        char text[kResStringSize];
        TextBuffer item = StartText(text, sizeof text);
        AppendText(item, LoadResString(move.text));
        AppendText(item, "\t");
        AppendText(item, LoadResString(move.key));
        AppendMenuA(menu, MF_STRING | (move.atEnd ? MF_GRAYED : MF_ENABLED), move.id, text);
    }
}

void FillAudioMenu(HMENU menu, const Film *film)
{
    ClearMenu(menu);
    int audio = 0;
    const TrackList *list = film != nullptr ? &film->tracks.list : nullptr;
    for (int i = 0; list != nullptr && i < list->count; ++i)
        audio += list->tracks[i].kind == TrackKind::Audio;
    if (audio == 0) {
        AppendMenuA(menu, MF_STRING | MF_GRAYED, IDM_AUDIO_NONE, LoadResString(IDS_AUDIO_NONE));
        return;
    }
    // One track: shown, greyed, as there is nothing to choose.
    const int chosen = FilmAudioTrack(*film);
    for (int i = 0; i < list->count; ++i) {
        if (list->tracks[i].kind != TrackKind::Audio)
            continue;
        char label[kTrackLabelSize];
        ComposeTrackLabel(list->tracks[i], LoadResString, IDS_TRACK_TEXT_FIRST, label,
                          sizeof label);
        AppendItem(menu, Checked(i == chosen) | (audio == 1 ? MF_GRAYED : MF_ENABLED),
                   IDM_AUDIO_TRACK_FIRST + i, label, true);
    }
}

// Plays the current film again, if there is one.
void Replay(HWND hWnd)
{
    if (IsPlayablePath(szMediaFile))
        PlayAndShow(hWnd);
}

} // namespace

void ShowTrackMenus(HWND hWnd)
{
    HMENU subtitles, audio;
    if (FindTrackMenus(hWnd, subtitles, audio)) {
        FillSubtitlesMenu(subtitles, FilmNamed());
        FillAudioMenu(audio, FilmNamed());
    }
    if (FilmTracksRunning())
        SetTimer(hWnd, kTracksTimer, kTracksTimerMs, nullptr);
    else
        KillTimer(hWnd, kTracksTimer);
}

// The status text's subtitles line.
static SubtitleStatus status;

const SubtitleStatus *TrackStatus(char *label)
{
    // Nothing to say of a film without subtitles.
    const Film *film = FilmNamed();
    if (film == nullptr ||
        (film->tracks.sideFiles.count == 0 && film->tracks.list.subtitleStreams == 0))
        return nullptr;
    // The label in the ANSI code page: a track's title is UTF-8.
    char utf8[kStatusLabelSize];
    wchar_t wide[kStatusLabelSize];
    ComposeSubtitleLabel(film->tracks.shownChoice, film->tracks.sideFiles, film->tracks.list,
                         LoadResString, IDS_TRACK_TEXT_FIRST, utf8, sizeof utf8);
    const bool track = film->tracks.shownChoice.source == SubtitleSource::TextTrack ||
                       film->tracks.shownChoice.source == SubtitleSource::PictureTrack;
    if (!track || MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, kStatusLabelSize) <= 0 ||
        WideCharToMultiByte(CP_ACP, 0, wide, -1, label, kStatusLabelSize, nullptr, nullptr) <= 0)
        CopyText(label, kStatusLabelSize, utf8);
    status = SubtitleStatus{label, film->tracks.shown, HeldSubtitleDepth(PlayerSettings.nSubDepth)};
    return &status;
}

bool OnTrackCommand(HWND hWnd, UINT id)
{
    const bool moves = id == IDM_SUBS_NEARER || id == IDM_SUBS_FARTHER;
    if (moves) {
        const int depth = HeldSubtitleDepth(PlayerSettings.nSubDepth);
        const int moved = HeldSubtitleDepth(depth + (id == IDM_SUBS_NEARER ? 1 : -1));
        PlayerSettings.nSubDepth = moved;
        const Film *film = FilmNamed();
        if (moved != depth && film != nullptr && film->tracks.shown == ShownSubtitles::Drawn)
            Replay(hWnd);
        else
            ShowFilmState(hWnd);
        return true;
    }
    const bool ours = id == IDM_SUBS_OFF || (id >= IDM_SUBS_SIDE_FIRST && id < IDM_AUDIO_TRACK_END);
    if (!ours)
        return false;
    Film *film = FilmNamed();
    if (film == nullptr)
        return true;
    bool picked = false;
    if (id == IDM_SUBS_OFF)
        picked = PickSubtitlesOff(*film, PlayerSettings);
    else if (id < IDM_SUBS_TRACK_FIRST)
        picked = PickSideFile(*film, PlayerSettings, static_cast<int>(id - IDM_SUBS_SIDE_FIRST));
    else if (id < IDM_AUDIO_TRACK_FIRST)
        picked =
            PickSubtitleTrack(*film, PlayerSettings, static_cast<int>(id - IDM_SUBS_TRACK_FIRST));
    else
        picked = PickAudioTrack(*film, static_cast<int>(id - IDM_AUDIO_TRACK_FIRST));
    if (picked)
        Replay(hWnd);
    return true;
}

void OnTracksTimer(HWND hWnd)
{
    Film *film = FilmNamed();
    if (film == nullptr) {
        ShowTrackMenus(hWnd);
        return;
    }
    const unsigned events = PumpFilmTracks(*film);
    FilmTracks &tracks = film->tracks;
    const SubtitleChoice choice = FilmSubtitles(*film, PlayerSettings, UserLanguage());
    char side[kPathSize];
    const bool textTrack = choice.source == SubtitleSource::TextTrack;
    const bool ready = textTrack && TrackSideFile(*film, choice.track, side);
    // The list came after the launch: a text track that the rule takes shows from the next
    // launch, its side file made meanwhile.
    if ((events & kTracksListed) && textTrack && tracks.shown == ShownSubtitles::None) {
        tracks.shownChoice = choice;
        tracks.shown = ShownSubtitles::Pending;
    }
    // The side file of the user's pick, made while its launch played without it.
    if ((events & kTrackMade) && ready && choice.picked &&
        tracks.shown == ShownSubtitles::Pending && tracks.shownChoice.track == choice.track) {
        Replay(hWnd);
        return;
    }
    if (events != 0)
        ShowFilmState(hWnd);
    else if (!FilmTracksRunning())
        KillTimer(hWnd, kTracksTimer);
}
