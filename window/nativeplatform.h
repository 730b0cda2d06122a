#pragma once

#include "platform.h"

#include <memory>

// The toolkit this build was made for. Returns nullptr, having told the user
// why, when there is no desktop to open a window on.
std::unique_ptr<Platform> createNativePlatform(int& argc, char** argv);
