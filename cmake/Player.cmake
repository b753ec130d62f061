# The Windows player tested beside the program and shipped in its archive: ffplay.exe
# (with ffprobe.exe beside it) as tools/build_ffplay.sh builds it into its cache for this
# build's machine type, x86_64 or i686 (tools/test.sh builds it and passes its path).
# Without a path, configure takes the cached one if it is built; without any, the other
# builds and tests work, while the package and the tests with the Windows player fail and
# say why.
set(DUOSCOPE_FFPLAY "" CACHE FILEPATH "ffplay.exe built by tools/build_ffplay.sh")
set(DUOSCOPE_PLAYER "${DUOSCOPE_FFPLAY}")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(DUOSCOPE_PLAYER_ARCH x86_64)
else()
  set(DUOSCOPE_PLAYER_ARCH i686)
endif()
if(NOT DUOSCOPE_PLAYER)
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/build_ffplay.sh
    --arch ${DUOSCOPE_PLAYER_ARCH} --path
    OUTPUT_VARIABLE DUOSCOPE_PLAYER OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT EXISTS "${DUOSCOPE_PLAYER}")
  message(STATUS "No Windows ffplay.exe (tools/build_ffplay.sh --arch "
    "${DUOSCOPE_PLAYER_ARCH} builds it): the package and the tests with the Windows "
    "player will fail")
  set(DUOSCOPE_PLAYER "")
endif()
get_filename_component(DUOSCOPE_PLAYER_DIR "${DUOSCOPE_PLAYER}" DIRECTORY)
