# Cross-compiles for 64-bit Windows with the x86_64 mingw-w64 tool chain; the
# executables run under 64-bit wine. Used to run the Windows tests on hosts
# that cannot execute 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(EZU_MINGW_PREFIX x86_64-w64-mingw32)
set(EZU_WINE_LOADER_NAMES wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
