# The release archive for Windows users of this build: duoscope-<version>-win32.zip (i686)
# or duoscope-<version>-win64.zip (x86_64) with duoscope.exe, README-win32.txt or
# README-win64.txt (Windows line ends) and the player of the same machine type: ffplay.exe
# and ffprobe.exe with their licence texts, BUILD-INFO.txt and, in fonts/, the font the
# subtitles fall back to (cmake/Player.cmake). Both players come from the same sources,
# whose complete archive, duoscope-<version>-ffplay-source.zip, either build packs the
# same. Built on demand by the "package" target:
#   cmake --build --preset win64 --target package
# tools/release.sh builds both from clean build folders of its own.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(DUOSCOPE_ARCH win64)
  set(DUOSCOPE_ARCH_TEXT "64-bit (x86_64)")
else()
  set(DUOSCOPE_ARCH win32)
  set(DUOSCOPE_ARCH_TEXT "32-bit (i686)")
endif()
set(player_files "")
set(player_source "")
if(DUOSCOPE_PLAYER)
  foreach(name ffplay.exe ffprobe.exe COPYING.GPLv2 LICENSE-SDL2.txt LICENSE-dav1d.txt
      LICENSE-zlib.txt LICENSE-libass.txt LICENSE-FriBidi.txt LICENSE-FreeType.txt
      LICENSE-FreeType-FTL.txt LICENSE-HarfBuzz.txt LICENSE-DejaVu.txt BUILD-INFO.txt
      ./fonts/DejaVuSans.ttf)
    # (DIR/./fonts/NAME: tools/pack_zip.sh keeps the folder in the entry's name.)
    list(APPEND player_files ${DUOSCOPE_PLAYER_DIR}/${name})
  endforeach()
  file(GLOB player_source ${DUOSCOPE_PLAYER_DIR}/source/*)
else()
  set(player_files ${CMAKE_BINARY_DIR}/package/ffplay.exe)
  add_custom_command(OUTPUT ${player_files}
    COMMAND ${CMAKE_COMMAND} -E echo "No ffplay.exe to pack: run"
      "tools/build_ffplay.sh --arch ${DUOSCOPE_PLAYER_ARCH}, then configure again"
    COMMAND false)
endif()
set(DUOSCOPE_PACKAGE ${CMAKE_BINARY_DIR}/duoscope-${PROJECT_VERSION}-${DUOSCOPE_ARCH}.zip)
set(readme ${CMAKE_BINARY_DIR}/package/README-${DUOSCOPE_ARCH}.txt)
# (Substituted first, so that the line ends of multi-line values turn into CR LF too.)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/res/README-windows.txt)
file(READ ${CMAKE_SOURCE_DIR}/res/README-windows.txt readme_text)
string(CONFIGURE "${readme_text}" readme_text @ONLY)
file(CONFIGURE OUTPUT ${readme} CONTENT "${readme_text}" @ONLY NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${DUOSCOPE_PACKAGE}
  COMMAND ${CMAKE_SOURCE_DIR}/tools/pack_zip.sh ${DUOSCOPE_PACKAGE} $<TARGET_FILE:duoscope>
    ${readme} ${player_files}
  DEPENDS duoscope ${readme} ${player_files} ${CMAKE_SOURCE_DIR}/tools/pack_zip.sh
  COMMENT "Packing duoscope-${PROJECT_VERSION}-${DUOSCOPE_ARCH}.zip"
  VERBATIM)
set(packages ${DUOSCOPE_PACKAGE})
if(player_source)
  set(DUOSCOPE_PLAYER_SOURCE
    ${CMAKE_BINARY_DIR}/duoscope-${PROJECT_VERSION}-ffplay-source.zip)
  add_custom_command(OUTPUT ${DUOSCOPE_PLAYER_SOURCE}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/pack_zip.sh ${DUOSCOPE_PLAYER_SOURCE} ${player_source}
    DEPENDS ${player_source} ${CMAKE_SOURCE_DIR}/tools/pack_zip.sh
    COMMENT "Packing the player's source"
    VERBATIM)
  list(APPEND packages ${DUOSCOPE_PLAYER_SOURCE})
endif()
add_custom_target(package DEPENDS ${packages})

# Packs the archive and checks it, the program's resources and the reproducibility of
# the archive's bytes (a clean build of the preset of the same name elsewhere).
add_test(NAME package_contents COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/check_package.sh
  ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${DUOSCOPE_ARCH} ${PROJECT_VERSION} ${CMAKE_OBJDUMP}
  ${CMAKE_RC_COMPILER} 131072 "${DUOSCOPE_PLAYER}")
set_tests_properties(package_contents PROPERTIES TIMEOUT 900 LABELS package)
