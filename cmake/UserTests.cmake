# User-level tests: the built duoscope.exe driven from outside, as a black box, by bash
# scripts with real keys (xdotool) and duoctl.exe, a small tool that starts programs,
# posts commands and works dialogs across processes. Label "user".
add_executable(duoctl tests/e2e/duoctl.cpp)
# (With the program's own path conversions, to say how it hands a path to the player.)
target_link_libraries(duoctl PRIVATE duoscope_win shell32)
add_dependencies(duoctl duoscope ffplay_standin)

set(user_tests player_e2e_windows)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # With the stand-in player: keys, dialogs, registry, launch script, processes.
  add_test(NAME user_tests COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/user_tests.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  # With FFmpeg's own player through the Linux adapter: the anaglyph on screen.
  add_test(NAME player_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/player_e2e.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  # The player's and ffprobe.exe's codecs on clips of every kind users have.
  add_test(NAME player_codecs COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/codecs_e2e.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} "${DUOSCOPE_PLAYER}")
  list(APPEND user_tests user_tests player_e2e player_codecs)
  # tools/run.sh on its own Xvfb and prefix: Ctrl+C ends it and leaves nothing running.
  add_test(NAME run_interrupt COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run_interrupt.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(run_interrupt PROPERTIES TIMEOUT 400 LABELS user)
endif()
# With the Windows ffplay.exe that the archive of this build ships (cmake/Player.cmake);
# for the i686 build under 32-bit Wine, on a smaller, shorter clip.
add_test(NAME player_e2e_windows COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/player_e2e.sh
  ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} "${DUOSCOPE_PLAYER}")
set_tests_properties(${user_tests} PROPERTIES FIXTURES_REQUIRED wine
  RESOURCE_LOCK wine_prefix TIMEOUT ${wine_test_timeout} LABELS user)
