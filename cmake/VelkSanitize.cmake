# Sanitizer builds (clang).  VELK_SANITIZE is a -fsanitize= list, e.g.
# "address,undefined" or "thread"; every report ends the program with a
# failure (no recovery).  VELK_FUZZ adds the coverage instrumentation of
# libFuzzer to everything and builds the fuzz targets of tests/fuzz.
set(VELK_SANITIZE "" CACHE STRING "Sanitizers to build with (-fsanitize= list), empty for none")
option(VELK_FUZZ "Build the libFuzzer targets (clang, with VELK_SANITIZE)" OFF)

if(VELK_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VELK_SANITIZE needs clang")
  endif()
  add_compile_options(-fsanitize=${VELK_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${VELK_SANITIZE})
  # The routines are called through pointers of their declared types (the
  # dispatcher and the host table); -fsanitize=function, part of "undefined"
  # for C++, checks exactly that, so it stays on.
endif()
if(VELK_FUZZ)
  if(NOT VELK_SANITIZE)
    message(FATAL_ERROR "VELK_FUZZ needs VELK_SANITIZE")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# A shared library built with sanitizers leaves the runtime's symbols to the
# program that loads it, so it cannot be linked with -z defs.
function(velk_sanitize_shared target)
  if(VELK_SANITIZE AND NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,-z,undefs)
  endif()
endfunction()
