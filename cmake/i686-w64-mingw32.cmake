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
find_program(GRAINMIX_MINGW_CXX ${triple}-g++-posix REQUIRED)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRAINMIX_MINGW_CXX})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar)
set(CMAKE_RANLIB ${triple}-ranlib)

# The target's headers and libraries live beside the compiler's folder, in
# one named after the triple.
get_filename_component(toolPrefix "${GRAINMIX_MINGW_CXX}" DIRECTORY)
get_filename_component(toolPrefix "${toolPrefix}" DIRECTORY)
set(CMAKE_FIND_ROOT_PATH ${toolPrefix}/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No link time in the PE header: the same source gives the same program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
# Release builds ship: no symbols, so the program stays small.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

# The tests run under Wine (tests/window/win32/winetests.cmake).
if(NOT GRAINMIX_WINE_NAMES)
    set(GRAINMIX_WINE_NAMES wine)
endif()
