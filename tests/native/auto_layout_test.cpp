#include <gtest/gtest.h>

#include <cstring>

#include "media/auto_layout.h"

namespace {

constexpr LeadByteTest kNoLeadBytes = [](unsigned char) { return false; };

using K = StereoKind;
using R = AutoReason;

// A read video stream: its size, its stereo metadata, and (with `extra`) a sample aspect
// ratio, an MVC film, two views or a raw stream.
ProbeAnswer Read(long width, long height, K stereo = K::None, bool inverted = false)
{
    ProbeAnswer a;
    a.read = true;
    a.width = width;
    a.height = height;
    a.stereo = stereo;
    a.inverted = inverted;
    return a;
}
ProbeAnswer Sar(ProbeAnswer a, long num, long den)
{
    a.sarNum = num;
    a.sarDen = den;
    return a;
}
ProbeAnswer Mvc(ProbeAnswer a)
{
    a.mvcFilm = true;
    return a;
}
ProbeAnswer Views(ProbeAnswer a, bool rightFirst, bool raw = false)
{
    a.views = 2;
    a.rightViewFirst = rightFirst;
    a.rawStream = raw;
    return a;
}
const ProbeAnswer kUnread{};
// Spherical metadata: a projection, the bounds of a tile (left, right) and the initial view.
ProbeAnswer Sphered(ProbeAnswer a, Projection projection, long left = -1, long right = -1,
                    int yaw = 0, int pitch = 0)
{
    a.projection = projection;
    a.boundLeft = left;
    a.boundRight = right;
    a.boundTop = a.boundBottom = left < 0 ? -1 : 0;
    a.viewYaw = yaw;
    a.viewPitch = pitch;
    return a;
}

} // namespace

// ffprobe.exe 7.1.5 of the Windows player, under Wine, on clips made with Debian's ffmpeg:
// Matroska's stereo_mode (right_left, top_bottom, block_lr, mono, checkerboard_lr,
// row_interleaved_rl, left_right with setsar=2), H.264 frame packing (-x264-params
// frame-packing=3 in MP4, =4 raw), MP4 st3d (-strict unofficial), a plain MP4, two views
// (tools/make_two_view_clip.sh) in QuickTime and raw, a two-picture .mpo, a file that is
// no media; then a form of Debian's ffprobe 5.1, and the views the other way round.
TEST(ParseProbeOutput, RealOutputs)
{
    struct Case {
        const char *output;
        ProbeAnswer expected;
    } cases[] = {
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|tag:stereo_mo"
         "de=right_left|side_datum/stereo_3d:type=side by side|side_datum/stereo_3d:i"
         "nverted=1\r\nformat|format_name=matroska,webm\r\n",
         Read(320, 180, K::SideBySide, true)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|tag:stereo_mo"
         "de=top_bottom|side_datum/stereo_3d:type=top and bottom|side_datum/stereo_3d"
         ":inverted=0\r\nformat|format_name=matroska,webm\r\n",
         Read(320, 180, K::TopBottom)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|tag:stereo_mo"
         "de=block_lr|side_datum/stereo_3d:type=frame alternate|side_datum/stereo_3d:"
         "inverted=0\r\nformat|format_name=matroska,webm\r\n",
         Mvc(Read(320, 180, K::FrameAlternate))},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|side_datum/st"
         "ereo_3d:type=2D|side_datum/stereo_3d:inverted=0\r\nformat|format_name=matro"
         "ska,webm\r\n",
         Read(320, 180, K::Mono)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|tag:stereo_mo"
         "de=checkerboard_lr|side_datum/stereo_3d:type=checkerboard|side_datum/stereo"
         "_3d:inverted=0\r\nformat|format_name=matroska,webm\r\n",
         Read(320, 180)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|tag:stereo_mo"
         "de=row_interleaved_rl|side_datum/stereo_3d:type=interleaved lines|side_datu"
         "m/stereo_3d:inverted=1\r\nformat|format_name=matroska,webm\r\n",
         Read(320, 180, K::Rows, true)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=2:1|tag:stereo_mo"
         "de=left_right|side_datum/stereo_3d:type=side by side|side_datum/stereo_3d:i"
         "nverted=0\r\nformat|format_name=matroska,webm\r\n",
         Sar(Read(320, 180, K::SideBySide), 2, 1)},
        {"frame|tag:stereo_mode=left_right|\r\nstream|width=320|height=180|sample_asp"
         "ect_ratio=1:1\r\nformat|format_name=mov,mp4,m4a,3gp,3g2,mj2\r\n",
         Read(320, 180, K::SideBySide)},
        {"frame|tag:stereo_mode=top_bottom|\r\nstream|width=320|height=180|sample_asp"
         "ect_ratio=1:1\r\nformat|format_name=h264\r\n",
         Read(320, 180, K::TopBottom)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1|side_datum/st"
         "ereo_3d:type=top and bottom|side_datum/stereo_3d:inverted=0\r\nformat|forma"
         "t_name=mov,mp4,m4a,3gp,3g2,mj2\r\n",
         Read(320, 180, K::TopBottom)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1\r\nformat|for"
         "mat_name=mov,mp4,m4a,3gp,3g2,mj2\r\n",
         Read(320, 180)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=N/A|view_ids_avai"
         "lable=0,1|view_pos_available=1,2\r\nformat|format_name=mov,mp4,m4a,3gp,3g2,"
         "mj2\r\n",
         Views(Read(320, 180), false)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=N/A|view_ids_avai"
         "lable=0,1|view_pos_available=1,2\r\nformat|format_name=hevc\r\n",
         Views(Read(320, 180), false, true)},
        {"frame|\r\nstream|width=320|height=180|sample_aspect_ratio=1:1\r\nformat|for"
         "mat_name=image2\r\n",
         Read(320, 180)},
        {"", kUnread},
        {"frame|side_data|\n\nstream|width=320|height=180|sample_aspect_ratio=1:1|tag:stereo_"
         "mode=right_left|side_data|type=side by side|inverted=1\nformat|format_name=matroska,"
         "webm\n",
         Read(320, 180, K::SideBySide, true)},
        {"stream|width=320|height=180|view_ids_available=0,1|view_pos_available=2,1",
         Views(Read(320, 180), true)},
        // Spherical metadata, FFmpeg 7.1 (a VR180 Matroska file of mkvmerge's, the MP4 of
        // Debian's ffmpeg, a 360 film in 2D), then FFmpeg 5.1's second datum on a line.
        {"frame|\nstream|width=1024|height=512|sample_aspect_ratio=2:1|tag:stereo_mode=left_ri"
         "ght|side_datum/stereo_3d:type=side by side|side_datum/stereo_3d:inverted=0|side_datu"
         "m/spherical_mapping:projection=tiled equirectangular|side_datum/spherical_mapping:bo"
         "und_left=513|side_datum/spherical_mapping:bound_top=0|side_datum/spherical_mapping:b"
         "ound_right=511|side_datum/spherical_mapping:bound_bottom=0|side_datum/spherical_mapp"
         "ing:yaw=30|side_datum/spherical_mapping:pitch=-10\nformat|format_name=matroska,webm\n",
         Sphered(Sar(Read(1024, 512, K::SideBySide), 2, 1), Projection::TiledEquirect, 513, 511, 30,
                 -10)},
        {"frame|\nstream|width=1024|height=512|sample_aspect_ratio=1:1|side_datum/spherical_map"
         "ping:projection=equirectangular|side_datum/spherical_mapping:yaw=-90|side_datum/sphe"
         "rical_mapping:pitch=0\nformat|format_name=mov,mp4,m4a,3gp,3g2,mj2\n",
         Sphered(Read(1024, 512), Projection::Equirect, -1, -1, -90)},
        {"frame|side_data|\n\nstream|width=1024|height=512|sample_aspect_ratio=1:1|side_data|t"
         "ype=top and bottom|inverted=0\nside_data|projection=equirectangular|yaw=0|pitch=0\nf"
         "ormat|format_name=matroska,webm\n",
         Sphered(Read(1024, 512, K::TopBottom), Projection::Equirect)},
    };
    for (const Case &c : cases) {
        ProbeAnswer a;
        EXPECT_EQ(c.expected.read, ParseProbeOutput(c.output, a)) << c.output;
        const ProbeAnswer &e = c.expected;
        EXPECT_TRUE(a.read == e.read && a.width == e.width && a.height == e.height &&
                    a.sarNum == e.sarNum && a.sarDen == e.sarDen && a.stereo == e.stereo &&
                    a.inverted == e.inverted && a.mvcFilm == e.mvcFilm && a.views == e.views &&
                    a.rightViewFirst == e.rightViewFirst && a.rawStream == e.rawStream &&
                    a.projection == e.projection && a.boundLeft == e.boundLeft &&
                    a.boundRight == e.boundRight && a.boundTop == e.boundTop &&
                    a.viewYaw == e.viewYaw && a.viewPitch == e.viewPitch)
            << c.output;
    }
}

TEST(ChooseAutoLayout, TagThenMetadataThenPhotoThenViewsThenFrame)
{
    const char *const photoOpts = "-f mjpeg";
    const char *const viewOpts = "-view_ids -1 -noframedrop";
    struct Case {
        const char *name;
        ProbeAnswer answer;
        int layout;
        bool original;
        const char *options;
        AutoReason reason;
    } cases[] = {
        // Each kind of metadata, left and right first; half or full by the eye's shape.
        {"a.mkv", Read(1920, 1080, K::SideBySide), 2, false, "", R::Metadata},
        {"a.mkv", Read(1920, 1080, K::SideBySide, true), 3, false, "", R::Metadata},
        {"a.mkv", Read(3840, 1080, K::SideBySide), 0, false, "", R::Metadata},
        {"a.mkv", Read(3838, 1920, K::SideBySide, true), 3, false, "", R::Metadata},
        {"a.mkv", Read(1920, 1080, K::TopBottom), 6, false, "", R::Metadata},
        {"a.mkv", Read(1920, 1080, K::TopBottom, true), 7, false, "", R::Metadata},
        {"a.mkv", Read(1920, 2160, K::TopBottom, true), 5, false, "", R::Metadata},
        {"a.mkv", Read(1350, 1080, K::TopBottom), 4, false, "", R::Metadata},
        {"a.mkv", Read(1352, 1080, K::TopBottom), 6, false, "", R::Metadata},
        {"a.mkv", Read(640, 360, K::FrameAlternate), 8, false, "", R::Metadata},
        {"a.mkv", Read(640, 360, K::FrameAlternate, true), 9, false, "", R::Metadata},
        {"a.mkv", Read(640, 360, K::Rows), 10, false, "", R::Metadata},
        {"a.mkv", Read(640, 360, K::Rows, true), 11, false, "", R::Metadata},
        {"a.mkv", Read(640, 360, K::Columns), 12, false, "", R::Metadata},
        {"a.mkv", Read(640, 360, K::Columns, true), 13, false, "", R::Metadata},
        // A sample aspect ratio of 2: a squeezed eye at 1920x1080 displays full.
        {"a.mkv", Sar(Read(1920, 1080, K::SideBySide), 2, 1), 0, false, "", R::Metadata},
        {"a.mkv", Sar(Read(1920, 1080), 4, 3), 2, false, "", R::Frame},
        {"a.mkv", Read(640, 360, K::Mono), 0, true, "", R::Mono},
        {"a.mkv", Mvc(Read(1920, 1080, K::FrameAlternate)), 0, true, "", R::MvcFilm},
        {"a.mkv", Mvc(Read(1920, 1080, K::FrameAlternate, true)), 0, true, "", R::MvcFilm},
        // The photo, the views, the frame, nothing.
        {"x.MPO", kUnread, 8, false, photoOpts, R::Photo},
        {"a.mov", Views(Read(640, 360), false), 8, false, viewOpts, R::TwoViews},
        {"a.mov", Views(Read(640, 360), true), 9, false, viewOpts, R::TwoViews},
        {"a.hevc", Views(Read(640, 360), false, true), 0, true, "", R::RawViews},
        {"a.mp4", Read(2500, 1000), 0, false, "", R::Frame},
        {"a.mp4", Read(2499, 1000), 2, false, "", R::Frame},
        {"a.mp4", Read(1001, 1000), 2, false, "", R::Frame},
        {"a.mp4", Read(1000, 1000), 4, false, "", R::Frame},
        {"a.mp4", Read(640, 360), 2, false, "", R::Frame},
        {"a.mp4", kUnread, 0, false, "", R::Unread},
        // A tag beats metadata; a bare one is half or full by the frame, as metadata is.
        {"a.H-OU.mkv", Read(1920, 1080, K::SideBySide, true), 6, false, "", R::NameTag},
        {"a-rl.mpo", kUnread, 1, false, "", R::NameTag},
        {"a.SBS.mkv", Read(3840, 1080, K::TopBottom), 0, false, "", R::TagFrame},
        {"a.SBS.mkv", Read(1920, 1080), 2, false, "", R::TagFrame},
        {"a.tab.mkv", Read(1920, 2160), 4, false, "", R::TagFrame},
        {"a.tab.mkv", kUnread, 6, false, "", R::NameTag},
    };
    for (const Case &c : cases) {
        const ProbeAnswer *answer = c.answer.read ? &c.answer : nullptr;
        const AutoChoice choice = ChooseAutoLayout(c.name, kNoLeadBytes, answer);
        const std::string row = std::string(c.name) + " " + std::to_string(c.answer.width) + "x" +
                                std::to_string(c.answer.height);
        EXPECT_EQ(c.layout, choice.layout) << row;
        EXPECT_EQ(c.original, choice.original) << row;
        EXPECT_STREQ(c.options, choice.options) << row;
        EXPECT_EQ(c.reason, choice.reason) << row;
    }
    // The probe is not asked where a tag that says half or full, or .mpo, decides.
    for (const char *name : {"a.H-OU.mkv", "a-rl.mpo", "x.MPO", "a.jps"})
        EXPECT_FALSE(AutoNeedsProbe(name, kNoLeadBytes)) << name;
    for (const char *name : {"a.SBS.mkv", "a.tab.mkv", "a.mp4", "mpo.mp4"})
        EXPECT_TRUE(AutoNeedsProbe(name, kNoLeadBytes)) << name;
    // An answer that was not read counts as none.
    EXPECT_EQ(R::Unread, ChooseAutoLayout("a.mp4", kNoLeadBytes, &kUnread).reason);
    EXPECT_STREQ("SBS", ChooseAutoLayout("a.SBS.mkv", kNoLeadBytes, nullptr).tag);
}

TEST(ChooseAutoLayout, SphericalFilmsByNameThenMetadata)
{
    const Projection tiled = Projection::TiledEquirect, whole = Projection::Equirect;
    struct Case {
        const char *name;
        ProbeAnswer answer;
        int layout;
        Sphere sphere;
        AutoReason reason;
    } cases[] = {
        // The name's VR tag wins over every other tag and over the metadata.
        {"Canyon_180_LR.mp4", kUnread, kVr180Sbs, Sphere::HalfEquirectSbs, R::NameTag},
        {"Canyon_180_SBS.mkv", Read(1920, 1080, K::TopBottom), kVr180Sbs, Sphere::HalfEquirectSbs,
         R::NameTag},
        {"Sea_TB_360.mp4", kUnread, kSphereTopBottom, Sphere::EquirectTb, R::NameTag},
        {"Raw_fisheye190.mp4", kUnread, kFisheyeSbs, Sphere::FisheyeSbs, R::NameTag},
        // The metadata: stereo side data, or where it says nothing (FFmpeg 7.1's reading of
        // its own MP4 says "unspecified"), the frame's shape.
        {"a.mkv", Sphered(Read(1024, 512, K::SideBySide), tiled, 513, 511), kVr180Sbs,
         Sphere::HalfEquirectSbs, R::Sphere},
        {"a.mp4", Sphered(Read(1024, 512), tiled, 513, 511), kVr180Sbs, Sphere::HalfEquirectSbs,
         R::Sphere},
        {"a.mp4", Sphered(Read(512, 512), tiled, 256, 256), 0, Sphere::HalfEquirectMono, R::Sphere},
        {"a.mp4", Sphered(Read(512, 1024), tiled, 256, 256), 4, Sphere::None, R::Frame},
        {"a.mkv", Sphered(Read(512, 512, K::TopBottom), whole), kSphereTopBottom,
         Sphere::EquirectTb, R::Sphere},
        {"a.mkv", Sphered(Read(2048, 512), whole), kSphereSbs, Sphere::EquirectSbs, R::Sphere},
        {"a.mkv", Sphered(Read(1024, 512), whole), 0, Sphere::EquirectMono, R::Sphere},
        {"a.mkv", Sphered(Read(1024, 512, K::Mono), Projection::HalfEquirect), 0,
         Sphere::HalfEquirectMono, R::Sphere},
        {"a.mov", Sphered(Read(2048, 1024, K::SideBySide), Projection::Fisheye), kFisheyeSbs,
         Sphere::FisheyeSbs, R::Sphere},
        // A tile that is neither half nor whole, a cubemap: the stereo metadata as before.
        {"a.mkv", Sphered(Read(1920, 1080, K::SideBySide), tiled, 100, 100), 2, Sphere::None,
         R::Metadata},
        {"a.mkv", Sphered(Read(1920, 1080, K::SideBySide), Projection::Other), 2, Sphere::None,
         R::Metadata},
        // A bare tag gives way to a sphere; a tag that says half or full does not.
        {"a.SBS.mkv", Sphered(Read(1024, 512, K::SideBySide), tiled, 513, 511), kVr180Sbs,
         Sphere::HalfEquirectSbs, R::Sphere},
        {"a.HSBS.mkv", Sphered(Read(1024, 512, K::SideBySide), tiled, 513, 511), 2, Sphere::None,
         R::NameTag},
    };
    for (const Case &c : cases) {
        const ProbeAnswer *answer = c.answer.read ? &c.answer : nullptr;
        const AutoChoice choice = ChooseAutoLayout(c.name, kNoLeadBytes, answer);
        const std::string row = std::string(c.name) + " " + std::to_string(c.answer.width) + "x" +
                                std::to_string(c.answer.height);
        EXPECT_EQ(c.layout, choice.layout) << row;
        EXPECT_EQ(c.sphere, choice.sphere) << row;
        EXPECT_EQ(c.reason, choice.reason) << row;
        EXPECT_EQ(c.sphere != Sphere::None && !IsSphereLayout(c.layout), choice.original) << row;
    }
    // The metadata's initial view and eye order, the name's lenses; no probe for a VR tag.
    ProbeAnswer rightFirst =
        Sphered(Read(1024, 512, K::SideBySide, true), tiled, 513, 511, 30, -10);
    const AutoChoice choice = ChooseAutoLayout("a.mkv", kNoLeadBytes, &rightFirst);
    EXPECT_TRUE(choice.inverted && choice.viewYaw == 30 && choice.viewPitch == -10);
    EXPECT_EQ(190, ChooseAutoLayout("Raw_fisheye190.mp4", kNoLeadBytes, nullptr).lensFov);
    EXPECT_STREQ("180_LR", ChooseAutoLayout("Canyon_180_LR.mp4", kNoLeadBytes, nullptr).tag);
    EXPECT_FALSE(AutoNeedsProbe("Canyon_180_LR.mp4", kNoLeadBytes));
}
