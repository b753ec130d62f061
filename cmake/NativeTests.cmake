# Native build: the portable core and its unit tests, under the sanitizers when asked.
if(DUOSCOPE_SANITIZE)
  set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(duoscope_core PRIVATE ${sanitize})
  target_link_options(duoscope_core INTERFACE ${sanitize})
endif()

find_package(GTest REQUIRED)
add_executable(core_tests
  tests/native/string_table.cpp
  tests/native/text_and_paths_test.cpp
  tests/native/filter_text_test.cpp
  tests/native/setting_text_test.cpp
  tests/native/player_command_test.cpp
  tests/native/subtitle_graph_test.cpp
  tests/native/status_text_test.cpp
  tests/native/auto_layout_test.cpp
  tests/native/film_entry_test.cpp
  tests/native/sphere_view_test.cpp
  tests/native/picture_look_test.cpp
  tests/native/command_line_test.cpp
  tests/native/console_host_test.cpp
  tests/native/subtitle_choice_test.cpp
  tests/native/track_dump_test.cpp)
target_link_libraries(core_tests PRIVATE duoscope_core GTest::gtest GTest::gtest_main)
if(DUOSCOPE_SANITIZE)
  target_compile_options(core_tests PRIVATE ${sanitize})
endif()
add_test(NAME core_tests COMMAND core_tests)

# Auto's look at the picture over a corpus made at test time (POV-Ray renders and
# opencv-doc pictures, tools/make_picture_corpus.sh, cached in the build folder).
add_executable(picture_corpus tests/native/picture_corpus.cpp)
target_link_libraries(picture_corpus PRIVATE duoscope_core)
# (The paths as bash's arguments, so that a folder's blanks stay inside them.)
add_test(NAME picture_corpus
  COMMAND bash -c [[dumps=$("$1" "$2") && "$3" "$dumps"/*.txt]] picture_corpus
    ${CMAKE_SOURCE_DIR}/tools/make_picture_corpus.sh ${CMAKE_BINARY_DIR}/picture-corpus
    $<TARGET_FILE:picture_corpus>)
set_tests_properties(picture_corpus PROPERTIES LABELS corpus)

# The subtitle graphs run by Debian's ffmpeg over clips it makes (a seeded sample of the
# layout pairs; every pair with DUOSCOPE_ALL_PAIRS=1); skipped without ffmpeg.
add_executable(subtitle_graph_ffmpeg tests/native/subtitle_graph_ffmpeg.cpp
  tests/native/string_table.cpp)
target_link_libraries(subtitle_graph_ffmpeg PRIVATE duoscope_core GTest::gtest GTest::gtest_main)
target_compile_definitions(subtitle_graph_ffmpeg PRIVATE
  DUOSCOPE_CHECK_DIR="${CMAKE_BINARY_DIR}/subtitle-check")
if(DUOSCOPE_SANITIZE)
  target_compile_options(subtitle_graph_ffmpeg PRIVATE ${sanitize})
endif()
add_test(NAME subtitle_graph_ffmpeg COMMAND subtitle_graph_ffmpeg)
set_tests_properties(subtitle_graph_ffmpeg PROPERTIES LABELS ffmpeg TIMEOUT 600)
