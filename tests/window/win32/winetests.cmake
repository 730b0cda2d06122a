# The Windows tests run under Wine on a virtual X display, in a Wine prefix of
# their own: a CTest fixture sets both up in the build folder before the first
# of them and tears them down after the last. They share the display (and its
# keyboard focus), so they run one at a time. Building alone needs neither
# Wine nor Xvfb; without them the fixture fails and says what to install.
find_program(GRAINMIX_WINESERVER wineserver)
find_program(GRAINMIX_XVFB Xvfb)
get_filename_component(wineBin "${GRAINMIX_WINESERVER}" DIRECTORY)
find_program(GRAINMIX_WINE NAMES ${GRAINMIX_WINE_NAMES} wine HINTS ${wineBin}/../lib/wine)
find_program(GRAINMIX_BASH bash REQUIRED)

set(GRAINMIX_WINE_SESSION ${CMAKE_CURRENT_LIST_DIR}/winesession.sh)
set(GRAINMIX_WINE_FOLDER ${CMAKE_BINARY_DIR}/winesession)

add_test(NAME wine_session_start
    COMMAND ${GRAINMIX_BASH} ${GRAINMIX_WINE_SESSION} start ${GRAINMIX_WINE_FOLDER}
        ${GRAINMIX_WINE} ${GRAINMIX_WINESERVER} ${GRAINMIX_XVFB} $<TARGET_FILE:desktopholder>)
add_test(NAME wine_session_stop
    COMMAND ${GRAINMIX_BASH} ${GRAINMIX_WINE_SESSION} stop ${GRAINMIX_WINE_FOLDER})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

# A test in the session: the winesession.sh command (run or shell) and its
# arguments.
function(grainmix_wine_test name command)
    add_test(NAME ${name}
        COMMAND ${GRAINMIX_BASH} ${GRAINMIX_WINE_SESSION} ${command} ${GRAINMIX_WINE_FOLDER} ${ARGN})
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED wine RESOURCE_LOCK display TIMEOUT 120)
endfunction()

# A GoogleTest program as one test: Wine takes a second or so to start a
# program, which for every case on its own adds up to minutes.
function(grainmix_wine_gtests target)
    grainmix_wine_test(${target} run $<TARGET_FILE:${target}> --gtest_brief=1)
endfunction()
