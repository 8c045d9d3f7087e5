# Install rules: the libraries with their versions, the public headers, a
# CMake package (Veskar::Veskar links everything an application needs; one
# target per layer beside it), a pkg-config file, and a Debian package split
# into runtime and -dev.
#
# The packages' resources are compiled into libVeskar and libVeskarDesign
# themselves, so an installed library finds them wherever it is loaded from.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VESKAR_INCLUDE_SUBDIR veskar)
set(VESKAR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Veskar)

# The host's layers, the back ends for terminals and windows, the utility package, the
# run-time package; the designer's model and the design-time package last
# (installed for a designer, never linked by an application).
set(VESKAR_LIBRARIES veskar_core veskar_data veskar_package veskar_ui veskar_stream veskar_terminal veskar_gtk Brindle Veskar
    veskar_designer VeskarDesign)

# Headers are included as "host/core/Object.h", "lookup/LkFill.h": the install
# keeps that layout below include/veskar so that no top-level folder named
# "host" lands in the system's include root.
foreach(lib ${VESKAR_LIBRARIES})
  set_target_properties(${lib} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    # The libraries find each other beside themselves wherever they go.
    INSTALL_RPATH "$ORIGIN")
  target_include_directories(${lib} PUBLIC
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/${VESKAR_INCLUDE_SUBDIR}>)
endforeach()
target_compile_features(Veskar PUBLIC cxx_std_20)

install(TARGETS ${VESKAR_LIBRARIES} host
  EXPORT VeskarTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    COMPONENT runtime
    NAMELINK_COMPONENT dev)

# host/data's Pg*.h are the PostgreSQL engine's inside (they need libpq's
# headers); applications see TPostgresConnection only. A header that says it
# is private to its folder stays in the source tree.
file(GLOB_RECURSE VESKAR_PRIVATE_HEADERS LIST_DIRECTORIES false
  ${PROJECT_SOURCE_DIR}/host/*.h ${PROJECT_SOURCE_DIR}/lookup/*.h ${PROJECT_SOURCE_DIR}/design/*.h)
set(VESKAR_PRIVATE_PATTERNS)
foreach(header ${VESKAR_PRIVATE_HEADERS})
  file(STRINGS ${header} private_mark LIMIT_COUNT 1 REGEX "^// Private to ")
  if(private_mark)
    get_filename_component(header_name ${header} NAME)
    list(APPEND VESKAR_PRIVATE_PATTERNS PATTERN ${header_name} EXCLUDE)
  endif()
endforeach()
foreach(folder host lookup design)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${VESKAR_INCLUDE_SUBDIR}/${folder}
    COMPONENT dev
    FILES_MATCHING PATTERN "*.h" PATTERN "Pg*.h" EXCLUDE ${VESKAR_PRIVATE_PATTERNS})
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
  ${PROJECT_SOURCE_DIR}/cmake/VeskarLinkKeep.cmake
  ${PROJECT_SOURCE_DIR}/resources/cmake/EmbedResources.cmake
  ${PROJECT_SOURCE_DIR}/resources/cmake/ResourceSource.cmake
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
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1, libsqlite3-0 (>= 3.35), libpq5, libncursesw6")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libveskar-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libveskar${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Veskar lookup components: shared libraries")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Veskar lookup components: headers, CMake package and pkg-config file")
include(CPack)
