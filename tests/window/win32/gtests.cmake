# The Windows programs run under Wine: each test program as one test there.
include(${CMAKE_CURRENT_LIST_DIR}/winetests.cmake)
function(grainmix_gtests target)
    grainmix_wine_gtests(${target})
endfunction()
