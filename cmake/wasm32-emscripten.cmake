# WebAssembly with Emscripten. Tests run under Node.js.

# Emscripten's own platform file lies beside its compiler driver (emcc is
# often a link into that folder, as on Debian).
find_program(GRAINMIX_EMCC emcc HINTS ENV EMSCRIPTEN)
if(GRAINMIX_EMCC)
    file(REAL_PATH ${GRAINMIX_EMCC} emcc)
    cmake_path(GET emcc PARENT_PATH emscriptenRoot)
endif()
find_file(GRAINMIX_EMSCRIPTEN_PLATFORM Emscripten.cmake
    HINTS ${emscriptenRoot} ENV EMSCRIPTEN PATH_SUFFIXES cmake/Modules/Platform NO_DEFAULT_PATH)
if(NOT GRAINMIX_EMSCRIPTEN_PLATFORM)
    message(FATAL_ERROR "Emscripten is missing: install emscripten (bash scripts/deps.sh web) "
        "or pass -DGRAINMIX_EMSCRIPTEN_PLATFORM=<its cmake/Modules/Platform/Emscripten.cmake>")
endif()
include(${GRAINMIX_EMSCRIPTEN_PLATFORM})

find_program(GRAINMIX_NODE NAMES node nodejs NO_CMAKE_FIND_ROOT_PATH)
if(NOT GRAINMIX_NODE)
    message(FATAL_ERROR "Node.js, which runs the tests, is missing: install nodejs "
        "(bash scripts/deps.sh web) or pass -DGRAINMIX_NODE=<node>")
endif()
# Emscripten 3.1.6 predates Node's own fetch, which it would take for a browser.
set(CMAKE_CROSSCOMPILING_EMULATOR ${GRAINMIX_NODE} --no-experimental-fetch
    CACHE STRING "Runs the tests" FORCE)

# Its JavaScript optimiser needs acorn in Node's module path; Debian keeps it
# apart from Emscripten, in its shared Node modules.
find_path(GRAINMIX_NODE_MODULES acorn/package.json HINTS /usr/share/nodejs NO_CMAKE_FIND_ROOT_PATH)
if(GRAINMIX_NODE_MODULES)
    set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${GRAINMIX_NODE_MODULES})
endif()

# The heap grows as a desktop program's would, rather than stopping at 16 MB.
set(CMAKE_EXE_LINKER_FLAGS_INIT -sALLOW_MEMORY_GROWTH=1)
