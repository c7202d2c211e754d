# Installs the shared library and the public headers with a CMake package (find_package(quorex)
# gives quorex::quorex) and a pkg-config file, the console examples, and the documents with the
# guide's first program (share/doc/quorex). Nothing adds a run path to the programs that link the
# library: docs/guide.md says how they find libquorex.so.0.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS quorex EXPORT quorexTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/quorex DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${QUOREX_GENERATED_INCLUDE}/quorex/Version.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quorex)
install(EXPORT quorexTargets NAMESPACE quorex:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quorex)

configure_package_config_file(cmake/quorexConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/quorexConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quorex)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/quorexConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quorexConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/quorexConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quorex)

configure_file(cmake/quorex.pc.in ${CMAKE_CURRENT_BINARY_DIR}/quorex.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quorex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The programs installed beside the library (quorex-dump); called where each program is defined.
function(quorex_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# The console examples with their support headers and a CMakeLists.txt that builds them against
# the installed package alone (find_package(quorex)).
install(FILES examples/CMakeLists.txt examples/trader_console.cpp examples/admin_console.cpp
              examples/CommandLine.h examples/ConsoleSupport.h
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quorex/examples)

# docs/: the guide, the reference and the guide's first program.
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR})
