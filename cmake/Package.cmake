# The release archive for Windows users of this build: duoscope-<version>-win32.zip (i686)
# or duoscope-<version>-win64.zip (x86_64) with duoscope.exe and README-win32.txt or
# README-win64.txt (Windows line ends), built on demand by the "package" target:
#   cmake --build --preset win64 --target package
# tools/release.sh builds both from clean build folders of its own.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(DUOSCOPE_ARCH win64)
  set(DUOSCOPE_ARCH_TEXT "64-bit (x86_64)")
else()
  set(DUOSCOPE_ARCH win32)
  set(DUOSCOPE_ARCH_TEXT "32-bit (i686)")
endif()
set(DUOSCOPE_PACKAGE ${CMAKE_BINARY_DIR}/duoscope-${PROJECT_VERSION}-${DUOSCOPE_ARCH}.zip)
set(readme ${CMAKE_BINARY_DIR}/package/README-${DUOSCOPE_ARCH}.txt)
configure_file(${CMAKE_SOURCE_DIR}/res/README-windows.txt ${readme} @ONLY NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${DUOSCOPE_PACKAGE}
  COMMAND ${CMAKE_SOURCE_DIR}/tools/pack_zip.sh ${DUOSCOPE_PACKAGE} $<TARGET_FILE:duoscope>
    ${readme}
  DEPENDS duoscope ${readme} ${CMAKE_SOURCE_DIR}/tools/pack_zip.sh
  COMMENT "Packing duoscope-${PROJECT_VERSION}-${DUOSCOPE_ARCH}.zip"
  VERBATIM)
add_custom_target(package DEPENDS ${DUOSCOPE_PACKAGE})

# Packs the archive and checks it, the program's resources and the reproducibility of
# the archive's bytes (a clean build of the preset of the same name elsewhere).
add_test(NAME package_contents COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/check_package.sh
  ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${DUOSCOPE_ARCH} ${PROJECT_VERSION} ${CMAKE_OBJDUMP}
  ${CMAKE_RC_COMPILER} 131072)
set_tests_properties(package_contents PROPERTIES TIMEOUT 900 LABELS package)
