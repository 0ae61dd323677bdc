# velk_host_library(target): the C code that hosts and tests share to call
# every export from the export table: the table with a caller of each
# routine's own type (written by scripts/exportgen.py), argument packs, the
# reference calls of cases.inc and the 32-bit stack trampoline.
function(velk_host_library target)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(dir "${PROJECT_SOURCE_DIR}/tests/host")
  set(table "${CMAKE_CURRENT_BINARY_DIR}/${target}_table.c")
  add_custom_command(OUTPUT "${table}"
                     COMMAND ${Python3_EXECUTABLE} "${VELK_EXPORTGEN}" "${VELK_EXPORT_TABLE}" host "${table}"
                     DEPENDS "${VELK_EXPORTGEN}" "${VELK_EXPORT_TABLE}"
                     COMMENT "Export table for the host programs")
  add_library(${target} STATIC "${table}" "${dir}/callpack.c" "${dir}/cases.c" "${dir}/stackcall.c"
              "${dir}/sweep.c")
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/tests" "${PROJECT_SOURCE_DIR}/include")
  # The host programs compare bit patterns and test the floating-point
  # environment: their own arithmetic follows the library's rules (SSE2, not
  # x87, on 32-bit x86), and so does every program built on them.
  target_compile_options(${target} PUBLIC ${VELK_FP_OPTIONS})
  if(NOT WIN32)
    target_link_libraries(${target} PUBLIC m)
  endif()
endfunction()
