# Installation: the two libraries with their headers, the console program,
# pkg-config files, a CMake package and the manual page.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Installed programs find the libraries next to them, wherever the prefix is.
file(RELATIVE_PATH ORVEX_LIB_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(Orvex-Test PROPERTIES INSTALL_RPATH "$ORIGIN/${ORVEX_LIB_FROM_BIN}")
# The device library finds the adapter library beside it.
set_target_properties(Orvex PROPERTIES INSTALL_RPATH "$ORIGIN")

target_include_directories(tarvish_interface INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(Orvex PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
set_target_properties(Tarvish PROPERTIES EXPORT_NAME Tarvish)
set_target_properties(tarvish_interface PROPERTIES EXPORT_NAME TarvishInterface)

# Windows: the DLLs go beside the program in bin, their import libraries to lib.
install(TARGETS Orvex Tarvish tarvish_interface EXPORT OrvexTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Orvex-Test RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES device/Orvex.h adapter/Tarvish.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT OrvexTargets NAMESPACE Orvex:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Orvex)
configure_package_config_file(cmake/OrvexConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OrvexConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Orvex)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvexConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OrvexConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/OrvexConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Orvex)

# pkg-config files take the prefix at install time, so that an installation
# to any prefix is found from its own pkgconfig folder.
file(RELATIVE_PATH ORVEX_PREFIX_FROM_PC ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
foreach(pc orvex tarvish)
  configure_file(cmake/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/man/Orvex-Test.1)
  install(FILES man/Orvex-Test.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
