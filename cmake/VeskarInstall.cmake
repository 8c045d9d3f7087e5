# Install rules: the three libraries with their versions, every public header,
# a CMake package (Veskar::host, Veskar::Brindle, Veskar::Veskar), a
# pkg-config file, and a Debian package split into runtime and -dev.
#
# The package's resources are compiled into libVeskar itself, so an installed
# library finds them wherever it is loaded from.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VESKAR_INCLUDE_SUBDIR veskar)
set(VESKAR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Veskar)

# Headers are included as "host/core/Object.h", "lookup/LkFill.h": the install
# keeps that layout below include/veskar so that no top-level folder named
# "host" lands in the system's include root.
foreach(lib host Brindle Veskar)
  set_target_properties(${lib} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    # The libraries find each other beside themselves wherever they go.
    INSTALL_RPATH "$ORIGIN")
  target_include_directories(${lib} PUBLIC
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/${VESKAR_INCLUDE_SUBDIR}>)
endforeach()
# "host" is too plain a name for a file in the system's library folder.
set_target_properties(host PROPERTIES OUTPUT_NAME veskar-host)
target_compile_features(host PUBLIC cxx_std_20)

install(TARGETS host Brindle Veskar
  EXPORT VeskarTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    COMPONENT runtime
    NAMELINK_COMPONENT dev)

# host/data's Pg*.h are the PostgreSQL engine's inside (they need libpq's
# headers); applications see TPostgresConnection only.
foreach(folder host lookup design)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${VESKAR_INCLUDE_SUBDIR}/${folder}
    COMPONENT dev
    FILES_MATCHING PATTERN "*.h" PATTERN "Pg*.h" EXCLUDE)
endforeach()

install(EXPORT VeskarTargets
  NAMESPACE Veskar::
  DESTINATION ${VESKAR_CMAKE_DIR}
  COMPONENT dev)
configure_package_config_file(
  ${PROJECT_SOURCE_DIR}/cmake/VeskarConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VeskarConfig.cmake
  INSTALL_DESTINATION ${VESKAR_CMAKE_DIR})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/VeskarConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/VeskarConfig.cmake
  ${PROJECT_BINARY_DIR}/VeskarConfigVersion.cmake
  DESTINATION ${VESKAR_CMAKE_DIR}
  COMPONENT dev)

configure_file(${PROJECT_SOURCE_DIR}/cmake/veskar.pc.in ${PROJECT_BINARY_DIR}/veskar.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/veskar.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT dev)

# cpack -G DEB: libveskar1 (the libraries) and libveskar-dev (headers, links,
# CMake package, pkg-config file).
set(CPACK_PACKAGE_NAME veskar)
set(CPACK_PACKAGE_VENDOR "Veskar")
set(CPACK_PACKAGE_CONTACT "Veskar developers <veskar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Database lookup components for a form-based UI component framework")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_STRIP_FILES ON)
# A shlibs file and the ldconfig trigger, so the installed libraries are found.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libveskar${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1, libsqlite3-0 (>= 3.35), libpq5")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libveskar-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libveskar${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Veskar lookup components: shared libraries")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Veskar lookup components: headers, CMake package and pkg-config file")
include(CPack)
