#include "nativeplatform.h"

#include "win32platform.h"

std::unique_ptr<Platform> createNativePlatform(int& /*argc*/, char** /*argv*/) {
    // Windows always has a desktop to open the window on.
    return std::make_unique<Win32Platform>();
}
