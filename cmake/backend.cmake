# The window's backend, chosen here and nowhere else. The toolchain decides
# which one a build can have: Windows' the Win32 window, Emscripten's the
# page, any other Qt's. "none" builds the core and the window's shared part
# alone (Form1 over the Platform interface, the page writer) where no desktop
# is wanted: the 32-bit core, the fuzz targets.
#
# Every level that holds something of a backend (window/, app/, dist/,
# bench/, tests/window/) calls grainmix_add_backend(), which adds its folder
# named after the backend: the backend's library, its program, its packages,
# its benchmarks, its tests. What the whole tree needs of a backend comes
# from two more files of its folders, where it has them:
# window/<backend>/toolkit.cmake finds the toolkit once for every level, and
# tests/window/<backend>/gtests.cmake says how a test program runs where it
# does not run on this machine.
set(GRAINMIX_BACKENDS qt win32 web none)
if(WIN32)
    set(toolchainBackend win32)
elseif(EMSCRIPTEN)
    set(toolchainBackend web)
else()
    set(toolchainBackend qt)
endif()
set(GRAINMIX_BACKEND ${toolchainBackend} CACHE STRING
    "The window's backend: qt, win32, web (each for its own toolchain), or none for the core alone")
set_property(CACHE GRAINMIX_BACKEND PROPERTY STRINGS ${GRAINMIX_BACKENDS})

list(JOIN GRAINMIX_BACKENDS ", " known)
if(NOT GRAINMIX_BACKEND IN_LIST GRAINMIX_BACKENDS)
    message(FATAL_ERROR "GRAINMIX_BACKEND is \"${GRAINMIX_BACKEND}\"; it must be one of ${known}")
endif()
if(NOT GRAINMIX_BACKEND STREQUAL toolchainBackend AND NOT GRAINMIX_BACKEND STREQUAL "none")
    message(FATAL_ERROR "GRAINMIX_BACKEND is ${GRAINMIX_BACKEND}, but this toolchain builds "
        "${toolchainBackend} (or none): choose the toolchain with a preset")
endif()
message(STATUS "The window's backend: ${GRAINMIX_BACKEND}")

include(${PROJECT_SOURCE_DIR}/window/${GRAINMIX_BACKEND}/toolkit.cmake OPTIONAL)

# The backend's folder of the calling level, where that level has one.
function(grainmix_add_backend)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${GRAINMIX_BACKEND}/CMakeLists.txt)
        add_subdirectory(${GRAINMIX_BACKEND})
    endif()
endfunction()
