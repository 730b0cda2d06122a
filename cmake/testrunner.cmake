# A cross build for Linux runs its tests on this machine: directly where the
# machine runs the target's code (a 64-bit x86 kernel usually runs 32-bit x86
# programs, but some virtual machines turn them away), otherwise under QEMU's
# user-mode emulator. A tiny program, built and started, decides.
if(NOT CMAKE_CROSSCOMPILING OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux"
   OR CMAKE_CROSSCOMPILING_EMULATOR)
    return()
endif()

if(NOT DEFINED CACHE{GRAINMIX_RUNS_TARGET_CODE})
    set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/runprobe)
    file(WRITE ${probe}/probe.cpp "int main() { return 0; }\n")
    try_compile(built ${probe}/build SOURCES ${probe}/probe.cpp COPY_FILE ${probe}/probe)
    set(runs OFF)
    if(built)
        execute_process(COMMAND ${probe}/probe RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
        if(status STREQUAL "0")
            set(runs ON)
        endif()
    endif()
    set(GRAINMIX_RUNS_TARGET_CODE ${runs} CACHE INTERNAL "This machine runs the target's programs")
endif()

if(GRAINMIX_RUNS_TARGET_CODE)
    message(STATUS "Tests run natively: this machine runs ${CMAKE_SYSTEM_PROCESSOR} code")
    return()
endif()

# QEMU names the 32-bit x86 emulator after the i386.
string(REGEX REPLACE "^i[3-6]86$" "i386" qemuArch ${CMAKE_SYSTEM_PROCESSOR})
find_program(GRAINMIX_QEMU qemu-${qemuArch} NO_CMAKE_FIND_ROOT_PATH)
if(NOT GRAINMIX_QEMU)
    message(FATAL_ERROR "This machine runs no ${CMAKE_SYSTEM_PROCESSOR} code, and qemu-${qemuArch}, "
        "which would run the tests, is missing: install qemu-user (bash scripts/deps.sh test)")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${GRAINMIX_QEMU})
message(STATUS "Tests run under ${GRAINMIX_QEMU}: this machine runs no ${CMAKE_SYSTEM_PROCESSOR} code")
