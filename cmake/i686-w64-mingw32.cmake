# Cross-compiles for 32-bit Windows with the i686 mingw-w64 tool chain; the
# executables run under wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(EZU_MINGW_PREFIX i686-w64-mingw32)
set(EZU_WINE_LOADER_NAMES wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
