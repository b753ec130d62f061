// Resource and control ids of duoscope, grouped by kind. Read by the resource script
// and by the code, so it holds #define lines only.
#ifndef DUOSCOPE_RESOURCE_H
#define DUOSCOPE_RESOURCE_H

// Icons
#define IDI_DUOSCOPE 107
#define IDI_SMALL 108

// Menu and accelerator table
#define IDC_DUOSCOPE 109

// Dialog templates (the two options panes are named, not numbered)
#define IDD_ABOUTBOX 103
#define IDD_SETTING 104
#define IDD_SETTING_GPU 105
#define OPNOPTIONS_NAME "OPNOPTIONS"
#define OPNOPTIONS_GPU_NAME "OPNOPTIONS_GPU"

// Commands
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_SETTING 32771
#define IDM_REPLAY 32772
#define IDM_OPEN 32773
#define IDM_SWAP_EYES 32774
// The View menu, in the order of the view's steps (media/view_state.h: ViewStep)
#define IDM_VIEW_LEFT 32775
#define IDM_VIEW_RIGHT 32776
#define IDM_VIEW_UP 32777
#define IDM_VIEW_DOWN 32778
#define IDM_VIEW_WIDER 32779
#define IDM_VIEW_NARROWER 32780
#define IDM_VIEW_AHEAD 32781
// The Subtitles and Audio menus: the fixed commands, then a range for each kind of item
// that a film's lists fill in (a side file, a subtitle track, an audio track: its index)
#define IDM_SUBS_NEARER 32790
#define IDM_SUBS_FARTHER 32791
#define IDM_SUBS_OFF 32792
#define IDM_AUDIO_NONE 32793
#define IDM_SUBS_SIDE_FIRST 32800
#define IDM_SUBS_TRACK_FIRST 32830
#define IDM_AUDIO_TRACK_FIRST 32870
#define IDM_AUDIO_TRACK_END 32902

// Controls of the Settings dialogs and the options panes
#define IDC_FULLSCREEN 1000
#define IDC_STEREO_IN 1001
#define IDC_STEREO_OUT 1002
#define IDC_ORIGINAL 1003
#define IDC_REPLAY 1004
#define IDC_CPU_DECODE 1005
#define IDC_GPU_H264 1006
#define IDC_GPU_H265 1007
#define IDC_ERROR_CHECK 1008
#define IDC_STC32 1119
#define IDC_ABOUT_ICON 2

// String table
#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109
#define IDS_INPUT_TEXT_FIRST 110
#define IDS_INPUT_CODE_FIRST 130
#define IDS_OUTPUT_TEXT_FIRST 150
#define IDS_OUTPUT_CODE_FIRST 190
#define IDS_STATUS_TITLE 230
#define IDS_STATUS_FIRST_LINE 231
#define IDS_STATUS_LAST_LINE 244
#define IDS_AUTO_TAG_BEFORE 245
#define IDS_AUTO_TAG_AFTER 246
#define IDS_AUTO_UNREAD 247
#define IDS_AUTO_SIDE_BY_SIDE 254
#define IDS_AUTO_TOP_AND_BOTTOM 255
#define IDS_AUTO_ALTERNATING 256
#define IDS_AUTO_ROWS 257
#define IDS_AUTO_COLUMNS 258
#define IDS_AUTO_RIGHT_FIRST 259
#define IDS_AUTO_END 260
#define IDS_AUTO_MONO 261
#define IDS_AUTO_MVC_FILM 262
#define IDS_AUTO_PHOTO 263
#define IDS_AUTO_TWO_VIEWS 264
#define IDS_AUTO_RAW_VIEWS 265
#define IDS_AUTO_FRAME 266
#define IDS_AUTO_TAG_FRAME 267
#define IDS_NAME_CAPTION 250
#define IDS_NAME_FILE 251
#define IDS_NAME_PROGRAM_FOLDER 252
#define IDS_NAME_TEMP_FOLDER 253
#define IDS_SCRIPT_NOT_WRITTEN 268
#define IDS_NO_PLAYER_CAPTION 269
#define IDS_NO_PLAYER_TEXT 270
#define IDS_OPEN_TITLE 271
#define IDS_OPEN_FILTER 272
#define IDS_STATUS_FULL_SCREEN 273
#define IDS_STATUS_WINDOW 274
#define IDS_STATUS_ORIGINAL 275
#define IDS_STATUS_INPUT 276
#define IDS_STATUS_OUTPUT 277
#define IDS_AUTO_PICTURE_SBS 280
#define IDS_AUTO_PICTURE_TAB 281
#define IDS_AUTO_PICTURE_2D 282
#define IDS_EYES_SWAPPED 283
#define IDS_SCRIPT_NOT_STARTED 287
#define IDS_MENU_VIEW 290
#define IDS_MENU_VIEW_FIRST 291
#define IDS_VIEW_LINE 300
#define IDS_VIEW_AHEAD 301
#define IDS_VIEW_LEFT 302
#define IDS_VIEW_RIGHT 303
#define IDS_VIEW_UP 304
#define IDS_VIEW_DOWN 305
#define IDS_VIEW_WIDE 306
#define IDS_VIEW_SEPARATOR 307
#define IDS_VIEW_LENSES 308
#define IDS_VIEW_DEGREES 309
#define IDS_AUTO_SPHERE 310
#define IDS_AUTO_SPHERE_MONO 311
#define IDS_AUTO_HALF_SPHERE_MONO 312
#define IDS_TRACK_TEXT_FIRST 320
#define IDS_STATUS_SUBTITLES 390
#define IDS_SUBS_DEPTH 391
#define IDS_SUBS_PENDING 392
#define IDS_SUBS_CUT 393
#define IDS_SUBS_NEARER 394
#define IDS_SUBS_FARTHER 395
#define IDS_SUBS_NEARER_KEY 396
#define IDS_SUBS_FARTHER_KEY 397
#define IDS_AUDIO_NONE 398

#endif
