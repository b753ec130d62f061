# Tests of the Win32 layer, run by CTest under Wine with a prefix of this build: 64-bit
# Wine, or for the i686 build 32-bit Wine through qemu (tools/wine32.sh), several times
# slower, whose set-up tools/test.sh makes once.
set(WINERUN ${CMAKE_SOURCE_DIR}/tools/winerun.sh)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(wine_start_timeout 120)
  set(wine_test_timeout 300)
else()
  set(wine_start_timeout 600)
  set(wine_test_timeout 1200)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR "${WINERUN};${CMAKE_BINARY_DIR}")

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Starts the prefix, the X server and the wineserver once for all tests; ends them after.
add_test(NAME wine_start COMMAND ${WINERUN} ${CMAKE_BINARY_DIR} --start)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT ${wine_start_timeout})
add_test(NAME wine_stop COMMAND ${WINERUN} ${CMAKE_BINARY_DIR} --stop)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# The stand-in player, built as ffplay.exe beside the test programs.
add_executable(ffplay_standin tests/win/standin_ffplay.cpp)
set_target_properties(ffplay_standin PROPERTIES OUTPUT_NAME ffplay)

add_library(wine_test_support STATIC tests/win/support.cpp tests/win/test_main.cpp)
target_link_libraries(wine_test_support PUBLIC duoscope_win gtest)

# A GoogleTest program of the Win32 layer, linked with the real resources. The tests
# share one registry and one temporary folder, so they run one at a time.
function(duoscope_wine_test name)
  add_executable(${name} ${ARGN} ${DUOSCOPE_RESOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  target_link_libraries(${name} PRIVATE wine_test_support)
  add_dependencies(${name} ffplay_standin duoscope)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_prefix
    TIMEOUT ${wine_test_timeout})
  set_property(GLOBAL APPEND PROPERTY DUOSCOPE_WINE_TESTS ${name})
endfunction()

duoscope_wine_test(settings_store_tests
  tests/win/settings_store_test.cpp
  tests/win/resources_test.cpp)

duoscope_wine_test(player_process_tests
  tests/win/player_process_test.cpp)

duoscope_wine_test(dialog_tests
  tests/win/dialogs_test.cpp
  tests/win/open_dialog_test.cpp)
# (Shortcuts for the Open dialog's tests.)
target_link_libraries(dialog_tests PRIVATE ole32 uuid)

duoscope_wine_test(main_window_tests
  tests/win/main_window_test.cpp)

duoscope_wine_test(program_tests
  tests/win/program_test.cpp)
# Untagged stereo files for Auto, made by Debian's ffmpeg, and beside them the ffprobe.exe
# of the Windows player (cmake/Player.cmake), which program_tests runs.
set(auto_probe "")
if(DUOSCOPE_PLAYER_DIR AND EXISTS "${DUOSCOPE_PLAYER_DIR}/ffprobe.exe")
  set(auto_probe "${DUOSCOPE_PLAYER_DIR}/ffprobe.exe")
endif()
add_test(NAME auto_clips COMMAND ${CMAKE_SOURCE_DIR}/tools/make_auto_clips.sh
  ${CMAKE_BINARY_DIR}/auto-clips ${auto_probe})
set_tests_properties(auto_clips PROPERTIES FIXTURES_SETUP auto_clips)
set_tests_properties(program_tests main_window_tests PROPERTIES
  FIXTURES_REQUIRED "wine;auto_clips")

# Start-up time of duoscope.exe against a minimal Win32 program; run on demand, not by CTest:
#   tools/winerun.sh BUILD_DIR BUILD_DIR/startup_bench.exe [runs]
add_executable(startup_baseline WIN32 tests/win/startup_baseline.cpp)
target_link_options(startup_baseline PRIVATE -s)
add_executable(startup_bench tests/win/startup_bench.cpp)
add_dependencies(startup_bench startup_baseline duoscope ffplay_standin)

# Launch timing against a bare start of the same script; run on demand, not by CTest:
#   tools/winerun.sh BUILD_DIR BUILD_DIR/play_media_bench.exe [runs]
add_executable(play_media_bench tests/win/play_media_bench.cpp tests/win/support.cpp
  ${DUOSCOPE_RESOURCES})
target_include_directories(play_media_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
target_link_libraries(play_media_bench PRIVATE duoscope_win)
add_dependencies(play_media_bench ffplay_standin)

# From a file named on the command line to the player's first frame, each step of the
# launch seen from outside; run on demand, not by CTest:
#   tools/winerun.sh BUILD_DIR BUILD_DIR/launch_steps_bench.exe FOLDER [runs] [clip...]
add_executable(launch_steps_bench tests/win/launch_steps_bench.cpp)
target_link_libraries(launch_steps_bench PRIVATE duoscope_win)
add_dependencies(launch_steps_bench duoscope ffplay_standin)

# (Add test programs above this line.)

# Turns the screenshots that the tests saved as BMP files into PNG files.
add_test(NAME screenshots_png COMMAND sh -c
  "cd '${CMAKE_BINARY_DIR}/screenshots' 2>/dev/null || exit 0; for f in *.bmp; do [ -e \"$f\" ] || continue; convert \"$f\" \"\${f%.bmp}.png\" || exit 1; done")
get_property(wine_tests GLOBAL PROPERTY DUOSCOPE_WINE_TESTS)
set_tests_properties(screenshots_png PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_prefix
  DEPENDS "${wine_tests}")

include(cmake/UserTests.cmake)
