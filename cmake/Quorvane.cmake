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
    QUORVANE_TEST_REGISTRY_FILE="${CMAKE_BINARY_DIR}/test-registry/${library}")
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
