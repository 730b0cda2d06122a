# Cross-builds the 32-bit Windows program with Debian's mingw-w64.
#
# The posix thread model: its libstdc++ has std::mutex and std::thread, which
# GoogleTest and the standard library expect; winpthread is linked statically
# with everything else, so the program needs no DLL beyond Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT GRAINMIX_MINGW_TRIPLE)
    set(GRAINMIX_MINGW_TRIPLE i686-w64-mingw32)
    set(CMAKE_SYSTEM_PROCESSOR x86)
endif()

set(triple ${GRAINMIX_MINGW_TRIPLE})
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar)
set(CMAKE_RANLIB ${triple}-ranlib)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No link time in the PE header: the same source gives the same program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
# Release builds ship: no symbols, so the program stays small.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

# CTest and GoogleTest's test discovery run the Windows executables in Wine.
# Building alone needs no Wine.
find_program(GRAINMIX_WINE NAMES ${GRAINMIX_WINE_NAMES} wine wine-stable PATHS /usr/lib/wine)
if(GRAINMIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${GRAINMIX_WINE})
endif()
