# Checks a built program: it imports only DLLs that every Windows installation has,
# and its file stays under a size limit.
#   cmake -DOBJDUMP=... -DPROGRAM=... -DMAX_BYTES=... -P CheckProgramImports.cmake
set(system_dlls advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll
  user32.dll)

if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "no program at ${PROGRAM}")
endif()
execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE headers
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed: ${result}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${headers}")
if(NOT lines)
  message(FATAL_ERROR "no imported DLL found in ${PROGRAM}")
endif()
set(foreign "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll_lower)
  list(FIND system_dlls "${dll_lower}" index)
  if(index EQUAL -1)
    list(APPEND foreign "${dll}")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
if(foreign)
  message(FATAL_ERROR "imports DLLs that Windows does not bring: ${foreign}")
endif()

file(SIZE "${PROGRAM}" bytes)
message(STATUS "size ${bytes} bytes, limit ${MAX_BYTES}")
if(NOT bytes LESS MAX_BYTES)
  message(FATAL_ERROR "${PROGRAM} has ${bytes} bytes, not under ${MAX_BYTES}")
endif()
