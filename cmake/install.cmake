# Installation, the manual page, and the packages: a .deb on Linux, a .zip
# with kelvane.exe and a plain-text README for Windows.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS kelvane RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/doc/README-windows.txt DESTINATION . RENAME README.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  configure_file(${PROJECT_SOURCE_DIR}/doc/kelvane.1.in ${CMAKE_BINARY_DIR}/kelvane.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kelvane.1.gz
                     COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/kelvane.1 > ${CMAKE_BINARY_DIR}/kelvane.1.gz
                     DEPENDS ${CMAKE_BINARY_DIR}/kelvane.1)
  add_custom_target(manual ALL DEPENDS ${CMAKE_BINARY_DIR}/kelvane.1.gz)
  install(TARGETS kelvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/kelvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
endif()

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR kelvane)
set(CPACK_PACKAGE_CONTACT "kelvane developers <kelvane@kelvane.dev>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find files with identical contents on whole drives")
set(CPACK_PACKAGE_DESCRIPTION
    "kelvane walks every directory of the selected drives, indexes the files of at least a minimal size by their exact size, compares files of equal size byte by byte, and writes every set of identical files to kelvane.log.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(KELVANE_WINDOWS_PACKAGE kelvane-${PROJECT_VERSION}-windows-x64)
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME ${KELVANE_WINDOWS_PACKAGE})
endif()
include(CPack)
