# Helpers shared by every layer's CMakeLists.txt.

# quorvane_add_tests(<library> <sources...>): one test executable per layer,
# its tests named "<library>.<Suite>.<Test>" so that `ctest -R '^<library>\.'`
# runs one layer alone.
function(quorvane_add_tests library)
  set(target ${library}_tests)
  add_executable(${target} ${ARGN} ${CMAKE_SOURCE_DIR}/tests/TestMain.cpp)
  target_link_libraries(${target} PRIVATE ${library} GTest::gtest GTest::gmock)
  target_compile_definitions(${target} PRIVATE
    QUORVANE_FIXTURES_DIR="${QUORVANE_SHARED_DIR}/fixtures"
    QUORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUORVANE_TEST_REGISTRY_FILE="${CMAKE_BINARY_DIR}/test-registry/${library}"
    QUORVANE_TEST_PROFILE_FILE="${CMAKE_BINARY_DIR}/test-profile/${library}.ini")
  gtest_discover_tests(${target}
    TEST_PREFIX "${library}."
    DISCOVERY_TIMEOUT 60)
endfunction()

# quorvane_add_benchmark(<name> <library> <sources...>): a Google Benchmark
# executable; benchmarks are run by hand (make bench), never by ctest.
function(quorvane_add_benchmark name library)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${library} benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(${name} PRIVATE
    QUORVANE_FIXTURES_DIR="${QUORVANE_SHARED_DIR}/fixtures")
endfunction()

# quorvane_add_program_data(<name> FROM <folder> [TO <subfolder>] [FILES <globs...>]):
# copies data the program reads at run time from <folder> into the program
# folder (build/bin, or its <subfolder>), keeping the folder structure; the
# globs (default: every file below <folder>) are relative to <folder>. A file
# is copied again when it changes, and a file added to the folder is found by
# the next build.
function(quorvane_add_program_data name)
  cmake_parse_arguments(PARSE_ARGV 1 DATA "" "FROM;TO" "FILES")
  if(NOT DATA_FILES)
    set(DATA_FILES "*")
  endif()
  set(destination ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  if(DATA_TO)
    set(destination ${destination}/${DATA_TO})
  endif()
  set(globs "")
  foreach(pattern IN LISTS DATA_FILES)
    list(APPEND globs ${DATA_FROM}/${pattern})
  endforeach()
  file(GLOB_RECURSE sources LIST_DIRECTORIES false CONFIGURE_DEPENDS ${globs})
  set(copies "")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH relative ${DATA_FROM} ${source})
    set(copy ${destination}/${relative})
    # The copy keeps the source's permissions: a read-only one is removed first.
    add_custom_command(OUTPUT ${copy}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${copy}
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
      DEPENDS ${source}
      COMMENT "Program folder: ${relative}"
      VERBATIM)
    list(APPEND copies ${copy})
  endforeach()
  add_custom_target(${name} ALL DEPENDS ${copies})
endfunction()

# quorvane_add_fuzzer(<name> <library> SOURCES <files...> CORPUS <folders...>):
# a libFuzzer target. <name>_replay runs every input of the corpus folders
# once without the fuzzer and is the ctest "<library>.Fuzz.<name>"; with
# QUORVANE_FUZZ (clang) <name>_fuzz is the fuzzer itself, and the folders are
# listed in fuzzers/<name>.corpus for `make fuzz`.
function(quorvane_add_fuzzer name library)
  cmake_parse_arguments(FUZZ "" "" "SOURCES;CORPUS" ${ARGN})
  add_executable(${name}_replay ${FUZZ_SOURCES} ${CMAKE_SOURCE_DIR}/tests/FuzzReplayMain.cpp)
  target_link_libraries(${name}_replay PRIVATE ${library})
  target_include_directories(${name}_replay PRIVATE ${CMAKE_SOURCE_DIR})
  add_test(NAME ${library}.Fuzz.${name} COMMAND ${name}_replay ${FUZZ_CORPUS})
  if(QUORVANE_FUZZ)
    add_executable(${name}_fuzz ${FUZZ_SOURCES})
    target_link_libraries(${name}_fuzz PRIVATE ${library})
    target_include_directories(${name}_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
    string(REPLACE ";" "\n" folders "${FUZZ_CORPUS}")
    file(WRITE ${CMAKE_BINARY_DIR}/fuzzers/${name}.corpus "${folders}\n")
  endif()
endfunction()
