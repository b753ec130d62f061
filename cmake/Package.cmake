# The release for Windows users: duoscope-<version>-win32.zip with duoscope.exe and
# README-win32.txt (Windows line ends), built on demand by the "package" target:
#   cmake --build --preset win32 --target package
set(DUOSCOPE_PACKAGE_NAME duoscope-${PROJECT_VERSION}-win32)
set(DUOSCOPE_PACKAGE ${CMAKE_BINARY_DIR}/${DUOSCOPE_PACKAGE_NAME}.zip)
set(package_dir ${CMAKE_BINARY_DIR}/package)
configure_file(${CMAKE_SOURCE_DIR}/res/README-win32.txt ${package_dir}/README-win32.txt @ONLY
  NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${DUOSCOPE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:duoscope> ${package_dir}/duoscope.exe
  COMMAND ${CMAKE_COMMAND} -E rm -f ${DUOSCOPE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${DUOSCOPE_PACKAGE} --format=zip duoscope.exe
    README-win32.txt
  WORKING_DIRECTORY ${package_dir}
  DEPENDS duoscope ${package_dir}/README-win32.txt
  COMMENT "Packing ${DUOSCOPE_PACKAGE_NAME}.zip"
  VERBATIM)
add_custom_target(package DEPENDS ${DUOSCOPE_PACKAGE})

# Builds the archive and checks what it holds; the program inside it gets the imports
# and size check of the build's own program.
add_test(NAME package_contents COMMAND ${CMAKE_COMMAND}
  -DBUILD=${CMAKE_BINARY_DIR} -DPACKAGE=${DUOSCOPE_PACKAGE} -DPROGRAM=$<TARGET_FILE:duoscope>
  -DOBJDUMP=${CMAKE_OBJDUMP} -DMAX_BYTES=131072
  -DCHECK_IMPORTS=${CMAKE_SOURCE_DIR}/cmake/CheckProgramImports.cmake
  -P ${CMAKE_SOURCE_DIR}/tests/e2e/check_package.cmake)
set_tests_properties(package_contents PROPERTIES TIMEOUT 300 LABELS package)
