# The version is set once, in project() of the top-level CMakeLists.txt.  The
# public header carries it as macros for C callers; the build stops when the
# two disagree, so that a release cannot ship a header of another version.
file(STRINGS "${PROJECT_SOURCE_DIR}/include/velk/velk.h" _velk_version_lines
     REGEX "^#define VELK_VERSION_(MAJOR|MINOR|PATCH|STRING) ")
set(_velk_header_version "")
foreach(_part MAJOR MINOR PATCH)
  set(_value "")
  foreach(_line IN LISTS _velk_version_lines)
    if(_line MATCHES "^#define VELK_VERSION_${_part} ([0-9]+)$")
      set(_value "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT _value STREQUAL PROJECT_VERSION_${_part})
    message(FATAL_ERROR "include/velk/velk.h: VELK_VERSION_${_part} is '${_value}', "
                        "the project's version is ${PROJECT_VERSION}")
  endif()
endforeach()
if(NOT _velk_version_lines MATCHES "#define VELK_VERSION_STRING \"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "include/velk/velk.h: VELK_VERSION_STRING is not \"${PROJECT_VERSION}\"")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${PROJECT_SOURCE_DIR}/include/velk/velk.h")
