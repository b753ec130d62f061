# Fuzz targets of the portable core: clang's libFuzzer under AddressSanitizer and UBSan
# (preset fuzz). Each target is tests/fuzz/NAME.cpp, built as fuzz_NAME, with its seeds in
# tests/fuzz/corpus/NAME. Each ctest runs a short pass with a fixed seed over those seeds,
# so that every finding of the past, kept there, is met again; tools/fuzz.sh runs long ones.
set(DUOSCOPE_FUZZ_TARGETS
  probe_output
  name_layout
  command_line
  setting_text
  launch_script
  filter_graph
  film_entry
  subtitle_choice
  track_dump)
set(DUOSCOPE_FUZZ_RUNS 100000 CACHE STRING "Runs of each fuzz target in its ctest")

set(fuzz_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(duoscope_core PRIVATE ${fuzz_flags} -fsanitize=fuzzer-no-link)
foreach(name ${DUOSCOPE_FUZZ_TARGETS})
  add_executable(fuzz_${name} tests/fuzz/${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE duoscope_core)
  target_compile_options(fuzz_${name} PRIVATE ${fuzz_flags} -fsanitize=fuzzer)
  target_link_options(fuzz_${name} PRIVATE ${fuzz_flags} -fsanitize=fuzzer)
  add_test(NAME fuzz_${name}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz.sh --runs ${DUOSCOPE_FUZZ_RUNS} ${name})
  set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT DUOSCOPE_FUZZ_BUILD_DIR=${CMAKE_BINARY_DIR})
endforeach()
