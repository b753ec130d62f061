# Builds the Windows release archive and checks it as a user receives it:
#   cmake -DBUILD=... -DPACKAGE=... -DPROGRAM=... -DOBJDUMP=... -DMAX_BYTES=...
#         -DCHECK_IMPORTS=.../CheckProgramImports.cmake -P check_package.cmake
# The archive holds exactly duoscope.exe (the build's program, byte for byte) and
# README-win32.txt, which tells the user to put ffplay.exe beside the program and has
# Windows line ends; the program imports only Windows' own DLLs.
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD}" --target package
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the package failed: ${result}")
endif()
file(SIZE "${PACKAGE}" bytes)
message(STATUS "${PACKAGE}: ${bytes} bytes")

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${PACKAGE}" OUTPUT_VARIABLE listing
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot list ${PACKAGE}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
if(NOT entries STREQUAL "README-win32.txt;duoscope.exe")
  message(FATAL_ERROR "the archive holds [${entries}], not README-win32.txt and duoscope.exe")
endif()

set(unpacked "${BUILD}/package-check")
file(REMOVE_RECURSE "${unpacked}")
file(MAKE_DIRECTORY "${unpacked}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${PACKAGE}" WORKING_DIRECTORY "${unpacked}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${PACKAGE}")
endif()

file(SHA256 "${unpacked}/duoscope.exe" packed_hash)
file(SHA256 "${PROGRAM}" built_hash)
if(NOT packed_hash STREQUAL built_hash)
  message(FATAL_ERROR "the archive's duoscope.exe is not the built ${PROGRAM}")
endif()

file(READ "${unpacked}/README-win32.txt" readme)
foreach(needed "beside duoscope.exe" "ffplay.exe" "HKEY_CURRENT_USER\\Software\\Vell\\duoscope"
    "Error check mode")
  string(FIND "${readme}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README-win32.txt does not mention \"${needed}\"")
  endif()
endforeach()
if(readme MATCHES "@PROJECT_VERSION@")
  message(FATAL_ERROR "README-win32.txt has no version filled in")
endif()
# Every line feed follows a carriage return.
file(READ "${unpacked}/README-win32.txt" hex HEX)
string(REGEX MATCHALL ".." bytes "${hex}")
set(previous "")
set(line_ends 0)
foreach(byte IN LISTS bytes)
  if(byte STREQUAL "0a")
    if(NOT previous STREQUAL "0d")
      message(FATAL_ERROR "README-win32.txt has a line feed without a carriage return")
    endif()
    math(EXPR line_ends "${line_ends} + 1")
  endif()
  set(previous "${byte}")
endforeach()
message(STATUS "README-win32.txt: ${line_ends} lines, each ending in CR LF")

execute_process(COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP}
  -DPROGRAM=${unpacked}/duoscope.exe -DMAX_BYTES=${MAX_BYTES} -P "${CHECK_IMPORTS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the archive's duoscope.exe fails the imports check")
endif()
message(STATUS "package ok")
