# WebAssembly with Debian's Emscripten. Tests run under Node.js.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten 3.1.6 predates Node's own fetch, which it would take for a browser.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch
    CACHE STRING "Runs the tests" FORCE)

# Its JavaScript optimiser looks for Debian's acorn in Node's module path.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The heap grows as a desktop program's would, rather than stopping at 16 MB.
set(CMAKE_EXE_LINKER_FLAGS_INIT -sALLOW_MEMORY_GROWTH=1)
