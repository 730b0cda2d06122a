#include "nativeplatform.h"
#include "qtplatform.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Without any of these Qt aborts in its platform plugin with a message meant
// for developers; say it plainly instead.
bool hasDesktop() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

std::unique_ptr<Platform> createNativePlatform(int& argc, char** argv) {
    if (!hasDesktop()) {
        std::fputs("Grain Mix needs a desktop session to open its window.\n", stderr);
        return nullptr;
    }
    return std::make_unique<QtPlatform>(std::make_unique<QApplication>(argc, argv));
}
