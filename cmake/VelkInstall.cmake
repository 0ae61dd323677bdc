# Installation and packages for C and C++ consumers.
#
#   cmake --install build/NAME --prefix DIR
#
# installs the shared library (libvelk.so.1 with its soname links; on Windows
# the DLL and its import library), the public header, the velk tool where it
# is built, a CMake package (find_package(velk CONFIG) gives the imported
# target velk::velk) and a pkg-config file velk.pc.  The packages are
# relocatable: they find the library relative to their own location.
#
# CPack makes the Linux release packages from the same install rules: the
# archive velk-VERSION-linux-x86_64.tar.gz and a Debian package (scripts/release).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VELK_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/velk" CACHE STRING
    "Where the CMake package of velk is installed, relative to the prefix")

# The shared object carries the major version in its soname (libvelk.so.1):
# a release that changes an export's arguments or results raises it.
if(NOT WIN32)
  set_target_properties(velk PROPERTIES VERSION "${PROJECT_VERSION}"
                                        SOVERSION "${PROJECT_VERSION_MAJOR}")
endif()

# Consumers see the header directory of the install tree, the build sees the
# source tree's.
set_property(TARGET velk PROPERTY INTERFACE_INCLUDE_DIRECTORIES
             "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>")
set_property(TARGET velk PROPERTY EXPORT_NAME velk)

install(TARGETS velk EXPORT velkTargets
        LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT library NAMELINK_COMPONENT development
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT library
        INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/include/velk/velk.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/velk" COMPONENT development)
# The C++ interface: the static library velk::core (velk.hpp, model.hpp); it
# carries the floating-point flags and, with the SIMD lanes, needs Highway.
install(TARGETS velk_core EXPORT velkTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development)
install(FILES "${PROJECT_SOURCE_DIR}/include/velk/velk.hpp"
              "${PROJECT_SOURCE_DIR}/include/velk/model.hpp"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/velk" COMPONENT development)
if(TARGET velk_tool)
  install(TARGETS velk_tool RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT tool)
endif()
install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
              "${PROJECT_SOURCE_DIR}/CHANGELOG.md"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}" COMPONENT library)

# CMake package.
install(EXPORT velkTargets NAMESPACE velk:: DESTINATION "${VELK_INSTALL_CMAKEDIR}"
        COMPONENT development)
configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/install/velkConfig.cmake.in"
                              "${PROJECT_BINARY_DIR}/install/velkConfig.cmake"
                              INSTALL_DESTINATION "${VELK_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/install/velkConfigVersion.cmake"
                                 VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/install/velkConfig.cmake"
              "${PROJECT_BINARY_DIR}/install/velkConfigVersion.cmake"
        DESTINATION "${VELK_INSTALL_CMAKEDIR}" COMPONENT development)

# pkg-config: the prefix is found from the .pc file's own directory.
file(RELATIVE_PATH VELK_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" VELK_PC_TO_PREFIX "${VELK_PC_TO_PREFIX}")
if(WIN32)
  set(VELK_PC_LIBS "-l${VELK_DLL_NAME}")
  set(VELK_PC_LIBS_PRIVATE "")
else()
  set(VELK_PC_LIBS "-lvelk")
  set(VELK_PC_LIBS_PRIVATE "-lm")
endif()
configure_file("${PROJECT_SOURCE_DIR}/cmake/install/velk.pc.in"
               "${PROJECT_BINARY_DIR}/install/velk.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/install/velk.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT development)

# Linux release packages.
if(NOT WIN32)
  set(CPACK_PACKAGE_NAME velk)
  set(CPACK_PACKAGE_VENDOR "the velk developers")
  set(CPACK_PACKAGE_CONTACT "the velk developers")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "Model corrections for acoustic and microwave resonances of gas-filled spherical resonators")
  set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
  set(CPACK_PACKAGE_FILE_NAME "velk-${PROJECT_VERSION}-linux-x86_64")
  set(CPACK_GENERATOR "TGZ;DEB")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
  include(CPack)
endif()
