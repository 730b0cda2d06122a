#include "nativeplatform.h"

#include "webplatform.h"

std::unique_ptr<Platform> createNativePlatform(int& /*argc*/, char** /*argv*/) {
    // A page always has a document to put the window in.
    return std::make_unique<WebPlatform>();
}
