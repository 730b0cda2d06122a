# The same Windows build as 64-bit code, for machines whose kernel runs no
# 32-bit programs, where Wine's 32-bit half cannot start.
set(GRAINMIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(GRAINMIX_WINE_NAMES wine64)
include(${CMAKE_CURRENT_LIST_DIR}/i686-w64-mingw32.cmake)
