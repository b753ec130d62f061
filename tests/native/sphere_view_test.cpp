// Spherical films: the name's VR tags, the view's steps and words, and the view graph in
// the player's command line.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "media/auto_layout.h"
#include "media/name_layout.h"
#include "playback/player_command.h"
#include "playback/subtitle_graph.h"
#include "string_table.h"

namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}

std::string Filter(int in, int out, const SphereView *view = nullptr, int nOrg = 0,
                   const SubtitleDrawing *subtitles = nullptr)
{
    char line[kCommandSize];
    EXPECT_TRUE(BuildPlayerCommand(PlayerSettingsRecord{0, nOrg, in, out, 0, 0}, "p", "m", 1, 1,
                                   TableString, line, sizeof line, "", view, subtitles));
    const std::string command = line;
    const size_t start = command.find("-vf ");
    return start == std::string::npos ? ""
                                      : command.substr(start + 4, command.find(" -x") - start - 4);
}

std::string Graph(int out, const SubtitleDrawing *drawing, const GraphPrefix *prefix)
{
    char graph[kLongestPlayerGraph + 1];
    TextBuffer text = StartText(graph, sizeof graph);
    EXPECT_TRUE(AppendPlayerGraph(text, prefix, false, 0, out, drawing, TableString));
    return graph;
}

} // namespace

TEST(SphereFromFileName, TagsOfVrPlayers)
{
    const Sphere none = Sphere::None, half = Sphere::HalfEquirectSbs, tb = Sphere::EquirectTb,
                 sbs = Sphere::EquirectSbs, fish = Sphere::FisheyeSbs;
    struct Case {
        const char *name;
        Sphere sphere;
        int lens;
        const char *tag;
    } cases[] = {
        {"D:\\v\\Canyon_180_LR.mp4", half, 0, "180_LR"},
        {"Canyon_LR_180.mp4", half, 0, "LR_180"},
        {"Canyon 180 SBS.mkv", half, 0, "180 SBS"},
        {"Canyon.180LR.mp4", half, 0, "180LR"},
        {"Canyon_180x180_3dh_LR.mp4", half, 0, "180x180_3dh"},
        {"Canyon.VR180.mp4", half, 0, "VR180"},
        {"Sea_360_TB.mp4", tb, 0, "360_TB"},
        {"Sea_TB_360.mp4", tb, 0, "TB_360"},
        {"Sea-3dv-360x180.mkv", tb, 0, "3dv-360x180"},
        {"Sea.OU360.mkv", tb, 0, "OU360"},
        {"Sea_360_SBS.mp4", sbs, 0, "360_SBS"},
        {"Raw_fisheye.mp4", fish, 180, "fisheye"},
        {"Raw_FISHEYE190.mp4", fish, 190, "FISHEYE190"},
        {"Raw_SBS_Fisheye200.mp4", fish, 200, "SBS_Fisheye200"},
        {"Raw_F220.mp4", fish, 220, "F220"},
        {"Raw_MKX200.mp4", fish, 200, "MKX200"},
        {"Raw_RF52.mp4", fish, 190, "RF52"},
        // A projection alone, a form without a layout, numbers that are no tag.
        {"Sea_360.mp4", none, 0, nullptr},
        {"Canyon_180_TB.mp4", none, 0, nullptr},
        {"Raw_F180_OU.mp4", none, 0, nullptr},
        {"Raw_fisheye300.mp4", none, 0, nullptr},
        {"Movie.2010.SBS.1080p.mkv", none, 0, nullptr},
        {"180 LR\\clip.mp4", none, 0, nullptr},
        {"Top 180_moments LR.mp4", none, 0, nullptr},
        {"clip_180_LR", half, 0, "180_LR"},
    };
    for (const Case &c : cases) {
        const SphereName name = SphereFromFileName(c.name, NoLeadBytes);
        EXPECT_EQ(c.sphere, name.sphere) << c.name;
        EXPECT_EQ(c.lens, name.lensFov) << c.name;
        EXPECT_EQ(c.tag ? c.tag : "", name.tag ? std::string(name.tag, name.tagLength) : "")
            << c.name;
    }
}

TEST(ViewGraph, EachSphereToItsGraph)
{
    const std::string ahead = ":output=flat:out_stereo=sbs:yaw=0:pitch=0:h_fov=90:v_fov=58.72";
    struct Case {
        int in;
        int out;
        std::string filter;
    } cases[] = {
        {kVr180Sbs, 17,
         "v360=input=hequirect:in_stereo=sbs" + ahead + ":w=1920:h=1080,stereo3d=sbsl:arcd"},
        {kVr180Sbs, 2,
         "v360=input=hequirect:in_stereo=sbs" + ahead + ":w=960:h=1080,stereo3d=sbs2l:sbs2l"},
        {kVr180Sbs, 7,
         "v360=input=hequirect:in_stereo=sbs:output=flat:out_stereo=tb:yaw=0:pitch=0:h_fov=90:"
         "v_fov=58.72:w=1920:h=540,stereo3d=ab2l:ab2r"},
        {kSphereTopBottom, 32,
         "v360=input=equirect:in_stereo=tb" + ahead + ":w=1920:h=1080,stereo3d=sbsl:hdmi"},
        {kSphereSbs, 0,
         "v360=input=equirect:in_stereo=sbs" + ahead + ":w=1920:h=1080,stereo3d=sbsl:sbsl"},
        {kFisheyeSbs, 26,
         "v360=input=fisheye:in_stereo=sbs" + ahead +
             ":w=1920:h=1080:ih_fov=180:iv_fov=180,stereo3d=sbsl:ml"},
        // The original picture of a stored sphere is the original picture.
        {kVr180Sbs, -1, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.filter, c.out < 0 ? Filter(c.in, 17, nullptr, 1) : Filter(c.in, c.out))
            << c.in << " " << c.out;

    // A view turned and widened, the right eye first, a fisheye's own lenses, a 2D sphere.
    SphereView view{Sphere::FisheyeSbs, {-30, 15, 100}, 200, true};
    EXPECT_EQ("v360=input=fisheye:in_stereo=sbs:output=flat:out_stereo=sbs:yaw=-30:pitch=15:"
              "h_fov=100:v_fov=67.67:w=960:h=1080:ih_fov=200:iv_fov=200,stereo3d=sbs2r:sbs2l",
              Filter(kFisheyeSbs, 2, &view));
    view = {Sphere::EquirectMono, {180, -90, 40}, 0, false};
    const std::string mono = "v360=input=equirect:in_stereo=2d:output=flat:out_stereo=2d:yaw=180:"
                             "pitch=-90:h_fov=40:v_fov=23.14:w=1920:h=1080";
    EXPECT_EQ(mono, Filter(0, 17, &view, 1));
    EXPECT_EQ(mono, Filter(kVr180Sbs, 3, &view, 1));

    // Subtitles are drawn into the view's eyes, laid out for the frame the view yields (the
    // film's own size is not what they enter), and over a 2D sphere's one flat picture.
    const SubtitleDrawing words{"m.srt", kSubtitleSideFile, "", "", 2, 5760, 2880, NoLeadBytes};
    for (const Case &c : cases) {
        if (c.out < 0)
            continue;
        const size_t seam = c.filter.find(",stereo3d=");
        const std::string viewPart = c.filter.substr(0, seam), code = c.filter.substr(seam + 10);
        int layout = 0;
        while (code.rfind(std::string(TableString(InputCodeId(layout))) + ":", 0) != 0)
            ++layout;
        SubtitleDrawing entering = words;
        entering.frameWidth = code.rfind("sbsl:", 0) == 0 ? 2 * kEyeWidth : kEyeWidth;
        entering.frameHeight = kEyeHeight;
        const GraphPrefix prefix{viewPart.c_str(), layout};
        EXPECT_EQ("\"" + Graph(c.out, &entering, &prefix) + "\"",
                  Filter(c.in, c.out, nullptr, 0, &words))
            << c.in << " " << c.out;
    }
    EXPECT_EQ("\"" + mono + ",subtitles=filename=m.srt\"", Filter(0, 17, &view, 1, &words));

    // Today's layouts keep their bytes, whatever view is handed along.
    view = {Sphere::None, {30, 0, 90}, 0, true};
    for (int in = 0; in < kAutoInputLayout; ++in)
        for (int out = 0; out < kOutputFormatCount; ++out)
            ASSERT_EQ(std::string("stereo3d=") + TableString(InputCodeId(in)) + ":" +
                          TableString(OutputCodeId(out)),
                      Filter(in, out, in % 2 ? &view : nullptr));
}

TEST(ViewState, StepsStayInsideThePicture)
{
    const Sphere spheres[] = {Sphere::HalfEquirectSbs, Sphere::EquirectTb, Sphere::FisheyeSbs,
                              Sphere::EquirectMono};
    const unsigned seed = 20261208;
    std::mt19937 random(seed);
    for (Sphere sphere : spheres) {
        const int lens = sphere == Sphere::FisheyeSbs ? 200 : 0;
        const int reach = sphere == Sphere::FisheyeSbs ? 100 : 90;
        const bool full = sphere == Sphere::EquirectTb || sphere == Sphere::EquirectMono;
        ViewAngles view = StartView(static_cast<int>(random() % 721) - 360,
                                    static_cast<int>(random() % 721) - 360, sphere, lens);
        for (int i = 0; i < 400; ++i) {
            view = StepView(view, static_cast<ViewStep>(random() % 7), sphere, lens);
            const std::string at = "seed " + std::to_string(seed) + " step " + std::to_string(i);
            ASSERT_TRUE(view.fov >= kNarrowestViewFov && view.fov <= kWidestViewFov) << at;
            if (full) {
                ASSERT_TRUE(view.yaw > -180 && view.yaw <= 180 && view.pitch >= -90 &&
                            view.pitch <= 90)
                    << at;
            } else {
                ASSERT_LE(std::abs(view.yaw) + view.fov / 2, reach) << at;
                ASSERT_LE(std::abs(view.pitch) * 200 + VerticalFovHundredths(view.fov), reach * 200)
                    << at;
            }
        }
    }
    // A half sphere seen 90 degrees wide turns 45 degrees each way; a full one wraps.
    ViewAngles view{0, 0, kDefaultViewFov};
    for (int i = 0; i < 5; ++i)
        view = StepView(view, ViewStep::Left, Sphere::HalfEquirectSbs, 0);
    EXPECT_EQ(-45, view.yaw);
    EXPECT_EQ(-40, StepView(view, ViewStep::Wider, Sphere::HalfEquirectSbs, 0).yaw);
    EXPECT_EQ(-165, StepView({180, 0, 90}, ViewStep::Right, Sphere::EquirectSbs, 0).yaw);
    EXPECT_EQ(0, StepView({-30, 45, 60}, ViewStep::Ahead, Sphere::EquirectSbs, 0).yaw);
    EXPECT_EQ(90, StartView(30, 0, Sphere::EquirectSbs, 0).fov);
}

TEST(ViewState, StatusWords)
{
    auto words = [](ViewAngles view, Sphere sphere = Sphere::HalfEquirectSbs, int lens = 0) {
        char out[128];
        TextBuffer text = StartText(out, sizeof out);
        AppendViewText(text, view, sphere, lens, TableString);
        return std::string(out);
    };
    EXPECT_EQ("View ---> straight ahead, 90 degrees wide", words({0, 0, 90}));
    EXPECT_EQ("View ---> 30 degrees left, 15 degrees up, 60 degrees wide", words({-30, 15, 60}));
    EXPECT_EQ("View ---> 45 degrees right, 90 degrees wide, lenses of 190 degrees",
              words({45, 0, 90}, Sphere::FisheyeSbs, 190));
    EXPECT_EQ("View ---> 10 degrees down, 120 degrees wide", words({0, -10, 120}));
}

TEST(ViewGraph, TheLaunchsSphere)
{
    AutoChoice vr = ChooseAutoLayout("Raw_fisheye200.mp4", NoLeadBytes, nullptr);
    vr.inverted = true;
    vr.viewYaw = -30;
    const ViewAngles ahead{0, 0, kDefaultViewFov};
    // Auto's sphere, its lenses and eye order, turned by Swap Eyes; a stored layout's.
    SphereView view =
        SphereViewOfLaunch(kAutoInputLayout, 0, &vr, ahead, "x.mp4", NoLeadBytes, false);
    EXPECT_TRUE(view.sphere == Sphere::FisheyeSbs && view.lensFov == 200 && view.rightFirst);
    EXPECT_FALSE(
        SphereViewOfLaunch(kAutoInputLayout, 0, &vr, ahead, "x.mp4", NoLeadBytes, true).rightFirst);
    EXPECT_EQ(-30, StartViewOfFilm(kAutoInputLayout, 0, &vr, "x.mp4", NoLeadBytes).yaw);
    view = SphereViewOfLaunch(kFisheyeSbs, 0, &vr, ahead, "a_F190.mp4", NoLeadBytes, true);
    EXPECT_TRUE(view.sphere == Sphere::FisheyeSbs && view.lensFov == 190 && view.rightFirst);
    EXPECT_EQ(0, StartViewOfFilm(kFisheyeSbs, 0, &vr, "x.mp4", NoLeadBytes).yaw);
    // No sphere for the original picture of a stored one, nor for a flat film.
    EXPECT_EQ(Sphere::None, SphereOfLaunch(kVr180Sbs, 1, nullptr));
    EXPECT_EQ(Sphere::None, SphereOfLaunch(kAutoInputLayout, 0, nullptr));
    EXPECT_EQ(Sphere::None, SphereOfLaunch(3, 0, &vr));
    vr.sphere = Sphere::EquirectMono;
    EXPECT_EQ(Sphere::EquirectMono, SphereOfLaunch(kAutoInputLayout, 0, &vr));
}

TEST(ViewGraph, TheFilmsViewStartsStepsAndEndsWithTheFilm)
{
    Film film{};
    SelectFilm(film, "x.mp4");
    film.chosen = true;
    film.choice = ChooseAutoLayout("Raw_fisheye200.mp4", NoLeadBytes, nullptr);
    film.choice.viewYaw = -30;
    PlayerSettingsRecord settings{0, 0, kSbsParallel, 0, 0, 0};
    EXPECT_FALSE(StepFilmView(film, settings, ViewStep::Left, "x.mp4", NoLeadBytes));
    EXPECT_EQ(Sphere::None, SettleFilmView(film, settings, "x.mp4", NoLeadBytes).sphere);
    // Auto's fisheye starts at the file's view; Left turns it to -45, then to the edge of
    // its 200-degree lenses (-55), then no further; another sphere keeps it.
    settings.nStin = kAutoInputLayout;
    EXPECT_EQ(-30, SettleFilmView(film, settings, "x.mp4", NoLeadBytes).view.yaw);
    int steps = 0;
    while (steps < 9 && StepFilmView(film, settings, ViewStep::Left, "x.mp4", NoLeadBytes))
        ++steps;
    EXPECT_TRUE(steps == 2 && film.view.yaw == -55) << steps << " " << film.view.yaw;
    settings.nStin = kSphereSbs;
    EXPECT_EQ(-55, FilmViewOfLaunch(film, settings, "x.mp4", NoLeadBytes).view.yaw);
    SelectFilm(film, "y.mp4");
    EXPECT_FALSE(film.viewStarted);
}
