#include "playback/view_graph.h"

#include <cstring>

#include "media/name_layout.h"
#include "settings/player_settings.h"

namespace {

// How v360 reads a sphere in 2D; the stereo spheres' descriptions are the catalogue's
// codes of their input layouts.
constexpr const char kSphere2d[] = "input=equirect:in_stereo=2d";
constexpr const char kHalfSphere2d[] = "input=hequirect:in_stereo=2d";

// How the output layout takes its two eyes.
enum class EyePacking {
    Full,      // two full eyes side by side
    HalfWidth, // half side by side
    HalfHeight // half above/below
};

EyePacking PackingFor(int outputLayout, StringLookup lookup)
{
    const char *code = lookup(OutputCodeId(outputLayout));
    if (strncmp(code, "sbs2", 4) == 0)
        return EyePacking::HalfWidth;
    if (strncmp(code, "ab2", 3) == 0)
        return EyePacking::HalfHeight;
    return EyePacking::Full;
}

void AppendOption(TextBuffer &text, const char *name, long value)
{
    AppendText(text, ":");
    AppendText(text, name);
    AppendText(text, "=");
    AppendNumber(text, value);
}

} // namespace

SphereView DefaultSphereView(int layout)
{
    const Sphere sphere = SphereOfLayout(layout);
    return {sphere, StartView(0, 0, sphere, kDefaultFisheyeLens), kDefaultFisheyeLens, false};
}

Sphere SphereOfLaunch(int nStin, int nOrg, const AutoChoice *choice)
{
    if (nStin == kAutoInputLayout && !IsOriginalPicture(nOrg))
        return choice != nullptr ? choice->sphere : Sphere::None;
    return IsOriginalPicture(nOrg) ? Sphere::None : SphereOfLayout(nStin);
}

int LensOfFilm(const AutoChoice *choice, const char *name, LeadByteTest isLeadByte)
{
    if (choice != nullptr && choice->lensFov != 0)
        return choice->lensFov;
    const SphereName tag = SphereFromFileName(name, isLeadByte);
    return tag.lensFov != 0 ? tag.lensFov : kDefaultFisheyeLens;
}

ViewAngles StartViewOfFilm(int nStin, int nOrg, const AutoChoice *choice, const char *name,
                           LeadByteTest isLeadByte)
{
    const Sphere sphere = SphereOfLaunch(nStin, nOrg, choice);
    const bool byAuto = nStin == kAutoInputLayout && choice != nullptr;
    return StartView(byAuto ? choice->viewYaw : 0, byAuto ? choice->viewPitch : 0, sphere,
                     LensOfFilm(byAuto ? choice : nullptr, name, isLeadByte));
}

SphereView SphereViewOfLaunch(int nStin, int nOrg, const AutoChoice *choice, ViewAngles view,
                              const char *name, LeadByteTest isLeadByte, bool eyesSwapped)
{
    const bool byAuto = nStin == kAutoInputLayout && choice != nullptr;
    const bool rightFirst = byAuto && choice->inverted;
    return {SphereOfLaunch(nStin, nOrg, choice), view,
            LensOfFilm(byAuto ? choice : nullptr, name, isLeadByte), rightFirst != eyesSwapped};
}

SphereView FilmViewOfLaunch(const Film &film, const PlayerSettingsRecord &settings,
                            const char *name, LeadByteTest isLeadByte)
{
    const AutoChoice *choice = AutoChoiceOf(film, settings);
    const ViewAngles start =
        film.viewStarted ? film.view
                         : StartViewOfFilm(settings.nStin, settings.nOrg, choice, name, isLeadByte);
    SphereView launch = SphereViewOfLaunch(settings.nStin, settings.nOrg, choice, start, name,
                                           isLeadByte, film.eyesSwapped);
    launch.view = KeepViewInside(launch.view, launch.sphere, launch.lensFov);
    return launch;
}

SphereView SettleFilmView(Film &film, const PlayerSettingsRecord &settings, const char *name,
                          LeadByteTest isLeadByte)
{
    const SphereView launch = FilmViewOfLaunch(film, settings, name, isLeadByte);
    if (launch.sphere != Sphere::None) {
        film.viewStarted = true;
        film.view = launch.view;
    }
    return launch;
}

bool StepFilmView(Film &film, const PlayerSettingsRecord &settings, ViewStep step, const char *name,
                  LeadByteTest isLeadByte)
{
    const SphereView launch = FilmViewOfLaunch(film, settings, name, isLeadByte);
    if (launch.sphere == Sphere::None)
        return false;
    const ViewAngles next = StepView(launch.view, step, launch.sphere, launch.lensFov);
    if (next.yaw == launch.view.yaw && next.pitch == launch.view.pitch &&
        next.fov == launch.view.fov)
        return false;
    film.viewStarted = true;
    film.view = next;
    return true;
}

const char *AppendViewGraph(TextBuffer &text, const SphereView &view, int outputLayout,
                            StringLookup lookup)
{
    const char *description = nullptr;
    switch (view.sphere) {
    case Sphere::None:
        return nullptr;
    case Sphere::EquirectMono:
        description = kSphere2d;
        break;
    case Sphere::HalfEquirectMono:
        description = kHalfSphere2d;
        break;
    default:
        description = lookup(InputCodeId(LayoutOfSphere(view.sphere)));
        break;
    }
    const bool stereo =
        view.sphere != Sphere::EquirectMono && view.sphere != Sphere::HalfEquirectMono;
    const EyePacking packing = stereo ? PackingFor(outputLayout, lookup) : EyePacking::Full;
    const ViewAngles angles = KeepViewInside(view.view, view.sphere, view.lensFov);
    const int vertical = VerticalFovHundredths(angles.fov);

    AppendText(text, "v360=");
    AppendText(text, description);
    AppendText(text, ":output=flat:out_stereo=");
    AppendText(text, !stereo ? "2d" : packing == EyePacking::HalfHeight ? "tb" : "sbs");
    AppendOption(text, "yaw", angles.yaw);
    AppendOption(text, "pitch", angles.pitch);
    AppendOption(text, "h_fov", angles.fov);
    AppendOption(text, "v_fov", vertical / 100);
    AppendText(text, ".");
    const char hundredths[3] = {static_cast<char>('0' + vertical / 10 % 10),
                                static_cast<char>('0' + vertical % 10), '\0'};
    AppendText(text, hundredths);
    AppendOption(text, "w", packing == EyePacking::HalfWidth ? kEyeWidth / 2 : kEyeWidth);
    AppendOption(text, "h", packing == EyePacking::HalfHeight ? kEyeHeight / 2 : kEyeHeight);
    if (view.sphere == Sphere::FisheyeSbs) {
        const long lens = FisheyeLens(view.lensFov);
        AppendOption(text, "ih_fov", lens);
        AppendOption(text, "iv_fov", lens);
    }
    if (text.overflow)
        return nullptr;
    if (!stereo)
        return "";
    static constexpr const char *kCodes[3][2] = {
        {"sbsl", "sbsr"}, {"sbs2l", "sbs2r"}, {"ab2l", "ab2r"}};
    return kCodes[static_cast<int>(packing)][view.rightFirst ? 1 : 0];
}
