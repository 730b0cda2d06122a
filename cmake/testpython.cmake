# The Python that runs the tests driving a real window: one that imports the
# system's modules those tests need (AT-SPI for the desktop, Selenium for the
# page). The first python3 on the PATH may be a private one that cannot.
set(modules)
if(GRAINMIX_QT)
    list(APPEND modules pyatspi)
endif()
if(EMSCRIPTEN)
    list(APPEND modules selenium websocket)
endif()
if(NOT modules)
    return()
endif()
list(JOIN modules ", " imports)

function(grainmixPythonImports result candidate)
    execute_process(COMMAND ${candidate} -c "import ${imports}"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()

find_program(Python3_EXECUTABLE NAMES python3 VALIDATOR grainmixPythonImports
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT Python3_EXECUTABLE)
    message(FATAL_ERROR "No python3 imports ${imports}, which the tests need: "
        "bash scripts/deps.sh test installs them")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
