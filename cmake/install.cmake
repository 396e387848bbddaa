# How other builds find the installed tree. The areas install their own files (libraries, headers, tools, the
# Python package); this adds the CMake package, whose find_package(tvbcclib) gives the imported targets
# tvbcclib::tvbcclib and tvbcclib::runddclib (the model instances of rundd.h), and a pkg-config file for each
# of the two libraries.
include(CMakePackageConfigHelpers)

set(TVB_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tvbcclib)
install(EXPORT tvbcclibTargets NAMESPACE tvbcclib:: DESTINATION ${TVB_PACKAGE_DIR})
# Versions 0.x promise nothing across minor versions.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tvbcclibConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tvbcclibConfig.cmake ${PROJECT_BINARY_DIR}/tvbcclibConfigVersion.cmake
        DESTINATION ${TVB_PACKAGE_DIR})

# The pkg-config files name their directories relative to their own (${pcfiledir}), so that the tree may be
# installed under any prefix, also one given only to cmake --install.
file(RELATIVE_PATH TVB_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" TVB_PC_PREFIX ${TVB_PC_PREFIX})
# tvb_pkg_config(<library> <include directory below the include dir> <description>)
function(tvb_pkg_config library include_subdir description)
  set(PC_LIBRARY ${library})
  set(PC_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}${include_subdir})
  set(PC_DESCRIPTION ${description})
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/library.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${library}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${library}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()
tvb_pkg_config(tvbcclib "" "In-memory databases of the data of algebraic optimisation models")
tvb_pkg_config(runddclib "/rundd" "Model instances over GLPK and CLP that tvbcclib databases tie to")
