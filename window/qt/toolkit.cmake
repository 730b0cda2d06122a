# Qt, found once for every level that builds with it: the window's library,
# the program, the benchmarks, the tests.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Test)
qt_standard_project_setup()
