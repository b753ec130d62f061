# Windows builds (MinGW): the Win32 layer, the program and the Wine tests.
enable_language(RC)
# Programs whose bytes depend on the sources alone: no link time stamp in the PE header.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)

# The version numbers of the resources, from project(); missing parts count as 0.
foreach(part MAJOR MINOR PATCH)
  set(DUOSCOPE_VERSION_${part} ${PROJECT_VERSION_${part}})
  if("${DUOSCOPE_VERSION_${part}}" STREQUAL "")
    set(DUOSCOPE_VERSION_${part} 0)
  endif()
endforeach()
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)

set(DUOSCOPE_RESOURCES ${CMAKE_SOURCE_DIR}/res/duoscope.rc)
# The resource script's include folders, as a property so that CMake quotes them: the
# checkout may lie in a folder whose name has blanks or accents.
set_source_files_properties(${DUOSCOPE_RESOURCES} PROPERTIES
  INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/res;${CMAKE_BINARY_DIR}/generated" OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/strings.def;${CMAKE_SOURCE_DIR}/res/duoscope.ico;${CMAKE_SOURCE_DIR}/res/small.ico;${CMAKE_SOURCE_DIR}/res/duoscope.manifest;${CMAKE_BINARY_DIR}/generated/version.h")

# The Win32 layer: everything of the program but its entry point.
add_library(duoscope_win STATIC
  common/platform_sizes.cpp
  common/res_string.cpp
  common/app_state.cpp
  common/code_page.cpp
  common/failure_box.cpp
  common/job.cpp
  settings/registry_store.cpp
  playback/console_text.cpp
  playback/player_process.cpp
  playback/play_media.cpp
  media/probe_run.cpp
  media/film_store.cpp
  media/auto_probe.cpp
  media/film_tracks.cpp
  ui/main_window.cpp
  ui/track_menus.cpp
  ui/setting_controls.cpp
  ui/settings_dialog.cpp
  ui/open_dialog.cpp
  ui/about_dialog.cpp)
target_link_libraries(duoscope_win PUBLIC duoscope_core comdlg32 shell32 advapi32 gdi32 user32 kernel32)
target_compile_options(duoscope_win PRIVATE -fno-exceptions -fno-rtti)

# The program.
add_executable(duoscope WIN32 ui/winmain.cpp ${DUOSCOPE_RESOURCES})
target_link_libraries(duoscope PRIVATE duoscope_win)
target_compile_options(duoscope PRIVATE -fno-exceptions -fno-rtti)
# The program's code is built for size in every build type: it waits on people and
# processes, never on its own speed, and stays small (its size is checked below).
target_compile_options(duoscope_core PRIVATE -Os)
target_compile_options(duoscope_win PRIVATE -Os)
target_link_options(duoscope PRIVATE -s)

# Closes a running program as its close box does; tools/run.sh's Ctrl+C.
add_executable(close_program tools/close_program.cpp)
target_include_directories(close_program PRIVATE ${CMAKE_SOURCE_DIR})

include(cmake/Player.cmake)
include(cmake/WineTests.cmake)
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # The program users get imports only Windows' own DLLs and stays under 128 KiB.
  add_test(NAME program_imports_and_size COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
    -DPROGRAM=$<TARGET_FILE:duoscope> -DMAX_BYTES=131072
    -P ${CMAKE_SOURCE_DIR}/cmake/CheckProgramImports.cmake)
endif()
include(cmake/Package.cmake)
