# The Python that runs the tests driving a real window: one that imports the
# system's modules those tests need (AT-SPI for the desktop, Selenium for the
# page), which each backend's tests name. The first python3 on the PATH may be
# a private one that cannot.
#   grainmix_test_python(module...)
macro(grainmix_test_python)
    set(grainmixImports ${ARGV})
    list(JOIN grainmixImports ", " grainmixImports)
    function(grainmixPythonImports result candidate)
        execute_process(COMMAND ${candidate} -c "import ${grainmixImports}"
            RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
        if(NOT status EQUAL 0)
            set(${result} FALSE PARENT_SCOPE)
        endif()
    endfunction()

    find_program(Python3_EXECUTABLE NAMES python3 VALIDATOR grainmixPythonImports
        NO_CMAKE_FIND_ROOT_PATH)
    if(NOT Python3_EXECUTABLE)
        message(FATAL_ERROR "No python3 imports ${grainmixImports}, which the tests need: "
            "bash scripts/deps.sh test installs them")
    endif()
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
endmacro()
