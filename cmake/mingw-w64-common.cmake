# Shared part of the mingw-w64 tool-chain files; the including file sets
# EZU_MINGW_PREFIX and EZU_WINE_LOADER_NAMES first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread flavour of the compilers provides std::mutex and friends,
# which GoogleTest needs; fall back to the default flavour when it is absent.
foreach(lang_tool IN ITEMS "C;gcc" "CXX;g++")
    list(GET lang_tool 0 lang)
    list(GET lang_tool 1 tool)
    find_program(EZU_MINGW_${lang} NAMES ${EZU_MINGW_PREFIX}-${tool}-posix ${EZU_MINGW_PREFIX}-${tool})
    set(CMAKE_${lang}_COMPILER ${EZU_MINGW_${lang}})
endforeach()
set(CMAKE_RC_COMPILER ${EZU_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EZU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Link the C++, GCC and thread run-times statically so that executables and
# ezu.dll run under wine (or on Windows) as they are, with no DLL of them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CMake and CTest run the executables through wine.
find_program(EZU_WINE_PROGRAM NAMES ${EZU_WINE_LOADER_NAMES} PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT EZU_WINE_PROGRAM)
    find_program(EZU_WINE_PROGRAM NAMES ${EZU_WINE_LOADER_NAMES} wine)
endif()
if(EZU_WINE_PROGRAM)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${EZU_WINE_PROGRAM})
endif()
