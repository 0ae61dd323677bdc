# The Windows DLLs: link options, the version resource, and the import
# libraries for other toolchains.
#
# velk_windows_dll(target NAME dll_name DEF def_file IMPLIB_DEF implib_def
#                  DESCRIPTION text [KILL_AT])
#   Links `target` as dll_name.dll with the .def file (names and ordinals),
#   the C and C++ runtimes linked statically so that it imports from system
#   DLLs only, and a VERSIONINFO resource from PROJECT_VERSION.  Beside the
#   DLL it writes implib_def as dll_name.def, and with dlltool from it the import
#   libraries dll_name.lib (COFF import archive, for MSVC's link) and
#   dll_name.dll.a (mingw); KILL_AT: the .def names carry the stdcall @N
#   decoration that callers link against, and the DLL exports them without.
function(velk_windows_dll target)
  cmake_parse_arguments(W "KILL_AT" "NAME;DEF;IMPLIB_DEF;DESCRIPTION" "" ${ARGN})
  set(VELK_RC_NAME "${W_NAME}")
  set(VELK_RC_DESCRIPTION "${W_DESCRIPTION}")
  set(patch "${PROJECT_VERSION_PATCH}")
  if(patch STREQUAL "")
    set(patch 0)
  endif()
  set(VELK_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${patch},0")
  set(rc "${VELK_GENERATED_DIR}/${W_NAME}_version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/velk_version.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${W_NAME} PREFIX "" IMPORT_PREFIX ""
                        IMPORT_SUFFIX ".ld.dll.a")
  target_link_options(${target} PRIVATE "${W_DEF}" -static -static-libgcc -static-libstdc++)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${W_DEF}")

  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(machine i386)
  else()
    set(machine i386:x86-64)
  endif()
  string(REGEX REPLACE "gcc$" "dlltool" dlltool "${CMAKE_C_COMPILER}")
  set(out "$<TARGET_FILE_DIR:${target}>/${W_NAME}")
  set(kill "")
  if(W_KILL_AT)
    set(kill --kill-at)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy "${W_IMPLIB_DEF}" "${out}.def"
    COMMAND ${dlltool} -m ${machine} ${kill} -d "${W_IMPLIB_DEF}" -D ${W_NAME}.dll -l "${out}.lib"
    COMMAND ${CMAKE_COMMAND} -E copy "${out}.lib" "${out}.dll.a"
    BYPRODUCTS "${PROJECT_BINARY_DIR}/${W_NAME}.def" "${PROJECT_BINARY_DIR}/${W_NAME}.lib"
               "${PROJECT_BINARY_DIR}/${W_NAME}.dll.a"
    COMMENT "Import libraries of ${W_NAME}.dll"
    VERBATIM)
endfunction()
