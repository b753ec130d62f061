#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/app_state.h"
#include "common/res_string.h"
#include "res/resource.h"
#include "res/string_entries.h"

namespace {

class Resources : public ::testing::Test {
  protected:
    void SetUp() override { hInst = GetModuleHandleA(nullptr); }
};

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::vector<WORD> *>(found)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectNames(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found)
{
    EnumResourceLanguagesA(module, type, name, CollectLanguage, found);
    return TRUE;
}

} // namespace

TEST_F(Resources, StringTableHoldsEveryTextOfTheSource)
{
    EXPECT_EQ(272u, sizeof kStringEntries / sizeof kStringEntries[0]);
    for (const StringEntry &entry : kStringEntries)
        EXPECT_STREQ(entry.text, LoadResString(entry.id)) << entry.id;
    EXPECT_STREQ("duoscope", LoadResString(IDS_APP_TITLE));
    EXPECT_STREQ("DAZAZERODI", LoadResString(IDS_WINDOW_CLASS));
    EXPECT_STREQ("sbsl", LoadResString(IDS_INPUT_CODE_FIRST));
    EXPECT_STREQ("icr", LoadResString(IDS_INPUT_CODE_FIRST + 13));
    EXPECT_STREQ("arbg", LoadResString(IDS_OUTPUT_CODE_FIRST + 12));
    EXPECT_STREQ("hdmi", LoadResString(IDS_OUTPUT_CODE_FIRST + 32));
    EXPECT_STREQ("Off", LoadResString(IDS_TRACK_TEXT_FIRST));
    EXPECT_STREQ("Swahili", LoadResString(IDS_TRACK_TEXT_FIRST + 68));
    EXPECT_STREQ("No audio track known", LoadResString(IDS_AUDIO_NONE));
    EXPECT_STREQ("", LoadResString(999));
}

TEST_F(Resources, LoadResStringAlternatesBetweenTwoBuffers)
{
    const char *first = LoadResString(IDS_INPUT_TEXT_FIRST);
    const char *second = LoadResString(IDS_OUTPUT_TEXT_FIRST + 17);
    EXPECT_NE(first, second);
    EXPECT_STREQ("SBS parallel", first) << "two consecutive results are valid together";
    EXPECT_STREQ("anaglyph red/cyan dubois", second);
    const char *third = LoadResString(IDS_OUTPUT_CODE_FIRST + 17);
    EXPECT_EQ(first, third);
    EXPECT_STREQ("arcd", first);
    EXPECT_STREQ("anaglyph red/cyan dubois", second);
    EXPECT_EQ(second, LoadResString(IDS_APP_TITLE));
}

TEST_F(Resources, EveryResourceIsJapanese)
{
    std::vector<WORD> languages;
    const LPCSTR types[] = {RT_STRING, RT_MENU, RT_ACCELERATOR, RT_DIALOG, RT_GROUP_ICON, RT_ICON};
    for (LPCSTR type : types)
        EnumResourceNamesA(hInst, type, CollectNames, reinterpret_cast<LONG_PTR>(&languages));
    // 272 strings in 19 blocks of 16, menu, accelerators, 5 dialogs, 2 icon groups, 3 images.
    EXPECT_EQ(19u + 1 + 1 + 5 + 2 + 3, languages.size());
    for (WORD language : languages)
        EXPECT_EQ(kJapanese, language);
}

TEST_F(Resources, AcceleratorTableHasItsEntriesAndFlagBytes)
{
    HRSRC found = FindResourceA(hInst, MAKEINTRESOURCEA(IDC_DUOSCOPE), RT_ACCELERATOR);
    ASSERT_NE(nullptr, found);
    // Flags: 0x01 a virtual key, 0x02 no inversion, 0x04 Shift, 0x10 Alt, 0x80 the last.
    const WORD expected[][3] = {{0x12, '/', IDM_ABOUT},
                                {0x12, '?', IDM_ABOUT},
                                {0x03, 0x4F, IDM_OPEN},
                                {0x03, 0x45, IDM_SWAP_EYES},
                                {0x03, VK_LEFT, IDM_VIEW_LEFT},
                                {0x03, VK_RIGHT, IDM_VIEW_RIGHT},
                                {0x03, VK_UP, IDM_VIEW_UP},
                                {0x03, VK_DOWN, IDM_VIEW_DOWN},
                                {0x03, VK_ADD, IDM_VIEW_WIDER},
                                {0x03, VK_OEM_PLUS, IDM_VIEW_WIDER},
                                {0x07, VK_OEM_PLUS, IDM_VIEW_WIDER},
                                {0x03, VK_SUBTRACT, IDM_VIEW_NARROWER},
                                {0x03, VK_OEM_MINUS, IDM_VIEW_NARROWER},
                                {0x03, VK_HOME, IDM_VIEW_AHEAD},
                                {0x03, 0x4E, IDM_SUBS_NEARER},
                                {0x83, 0x46, IDM_SUBS_FARTHER}};
    const int count = sizeof expected / sizeof expected[0];
    ASSERT_EQ(count * 8u, SizeofResource(hInst, found));
    const WORD *entry = static_cast<const WORD *>(LockResource(LoadResource(hInst, found)));
    for (int i = 0; i < count; ++i, entry += 4) {
        EXPECT_EQ(expected[i][0], entry[0]) << "flags of entry " << i;
        EXPECT_EQ(expected[i][1], entry[1]) << "key of entry " << i;
        EXPECT_EQ(expected[i][2], entry[2]) << "command of entry " << i;
    }
}

TEST_F(Resources, ManifestBringsTheControlsOfCommonControls6)
{
    // A button, as a dialog creates it, comes from the common controls the manifest names
    // (side by side in WinSxS, on Windows as under Wine).
    HWND button =
        CreateWindowA("Button", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, hInst, nullptr);
    ASSERT_NE(nullptr, button);
    DestroyWindow(button);
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(nullptr, comctl) << "no common controls loaded";
    char path[MAX_PATH] = "";
    GetModuleFileNameA(comctl, path, sizeof path);
    EXPECT_NE(nullptr, strstr(CharLowerA(path), "common-controls_6595b64144ccf1df_6.")) << path;
}
