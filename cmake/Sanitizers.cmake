# Whole-build instrumentation for the sanitizer and fuzzing builds, each in a
# folder of its own (make sanitize, make fuzz); the ordinary build has none.
set(QUORVANE_SANITIZE "" CACHE STRING "Sanitizers for every target, e.g. address,undefined")
option(QUORVANE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(QUORVANE_SANITIZE)
  add_compile_options(-fsanitize=${QUORVANE_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${QUORVANE_SANITIZE})
endif()
if(QUORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUORVANE_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
