# Export machinery.  scripts/exportgen.py, the one reader of the export table,
# writes at configure time the files the link needs: the .def file of the DLL
# (names and ordinals), the Linux version script, the rows of the dispatch
# table, and on 32-bit Windows the .def files and entries of the stdcall DLL.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VELK_EXPORT_TABLE "${PROJECT_SOURCE_DIR}/src/frame/export_table.inc")
set(VELK_EXPORTGEN "${PROJECT_SOURCE_DIR}/scripts/exportgen.py")
set(VELK_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")

function(velk_exportgen kind output)
  execute_process(COMMAND ${Python3_EXECUTABLE} "${VELK_EXPORTGEN}" "${VELK_EXPORT_TABLE}"
                          ${kind} "${output}" ${ARGN}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "scripts/exportgen.py ${kind} failed")
  endif()
endfunction()

# Sets VELK_DEF_FILE, VELK_VERSION_SCRIPT and, on 32-bit Windows,
# VELK_STDCALL_DEF_FILE (the link's), VELK_STDCALL_IMPLIB_DEF (the callers')
# and VELK_STDCALL_SOURCE.
function(velk_generate_exports dll_name)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               "${VELK_EXPORT_TABLE}" "${VELK_EXPORTGEN}")
  velk_exportgen(def "${VELK_GENERATED_DIR}/${dll_name}.def" ${dll_name})
  velk_exportgen(map "${VELK_GENERATED_DIR}/velk.map")
  velk_exportgen(dispatch "${VELK_GENERATED_DIR}/velk_dispatch_rows.inc")
  set(VELK_DEF_FILE "${VELK_GENERATED_DIR}/${dll_name}.def" PARENT_SCOPE)
  set(VELK_VERSION_SCRIPT "${VELK_GENERATED_DIR}/velk.map" PARENT_SCOPE)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    velk_exportgen(stdcall-def "${VELK_GENERATED_DIR}/${dll_name}_stdcall.def" ${dll_name}_stdcall)
    velk_exportgen(stdcall-implib-def "${VELK_GENERATED_DIR}/implib/${dll_name}_stdcall.def"
                   ${dll_name}_stdcall)
    velk_exportgen(stdcall-c "${VELK_GENERATED_DIR}/velk_stdcall.c")
    set(VELK_STDCALL_IMPLIB_DEF "${VELK_GENERATED_DIR}/implib/${dll_name}_stdcall.def" PARENT_SCOPE)
    set(VELK_STDCALL_DEF_FILE "${VELK_GENERATED_DIR}/${dll_name}_stdcall.def" PARENT_SCOPE)
    set(VELK_STDCALL_SOURCE "${VELK_GENERATED_DIR}/velk_stdcall.c" PARENT_SCOPE)
  endif()
endfunction()
