# The same sources cross-built as kelvane.exe beside the native build, and
# its tests run under Wine, where the cross compiler and Wine are installed.
find_program(MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(WINE NAMES wine wine64 PATHS /usr/lib/wine)

if(NOT MINGW_CXX)
  message(STATUS "Windows build and tests skipped: no mingw-w64 cross compiler (g++-mingw-w64-x86-64)")
  return()
endif()

include(ExternalProject)
set(WINDOWS_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(kelvane_windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${WINDOWS_BINARY_DIR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-w64.cmake
             -DCMAKE_BUILD_TYPE=Release
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

if(NOT WINE)
  message(STATUS "Windows tests skipped: no Wine (wine64)")
  return()
endif()

set(WINE_ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "WINEDEBUG=-all")
add_test(NAME windows_unit_tests COMMAND ${WINE} ${WINDOWS_BINARY_DIR}/tests/kelvane_unit_tests.exe)
add_test(NAME windows_e2e_tests COMMAND kelvane_e2e_tests)
set_tests_properties(windows_unit_tests PROPERTIES ENVIRONMENT "${WINE_ENVIRONMENT};KELVANE_TEST_TMP=Z:\\\\tmp"
                                                   RESOURCE_LOCK wineprefix)
set_tests_properties(windows_e2e_tests PROPERTIES
  ENVIRONMENT "${WINE_ENVIRONMENT};KELVANE_E2E_WINE=${WINE};KELVANE_E2E_EXE=${WINDOWS_BINARY_DIR}/kelvane.exe;KELVANE_E2E_HOLD_EXE=${WINDOWS_BINARY_DIR}/tests/kelvane_hold_file.exe;KELVANE_E2E_FAULTS_EXE=${WINDOWS_BINARY_DIR}/tests/kelvane_with_faults.exe"
  RESOURCE_LOCK wineprefix)
