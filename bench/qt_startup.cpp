// Opens a window and ends on the first turn of the event loop, for timing the
// start-up and measuring the memory of Grain Mix against a bare Qt window.
//   qt_startup form1|bare
// Prints the wall-clock time (ns since the epoch) at which the window was shown.
#include "form1.h"
#include "qtplatform.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void quitOnceShown() {
    QTimer::singleShot(0, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        QCoreApplication::exit(0);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "form1") != 0 && std::strcmp(argv[1], "bare") != 0)) {
        std::fputs("usage: qt_startup form1|bare\n", stderr);
        return 2;
    }
    const bool bare = std::strcmp(argv[1], "bare") == 0;
    QApplication application(argc, argv);
    if (bare) {
        QWidget window;
        QLabel label("Hello", &window);
        window.resize(634, 440);
        window.show();
        quitOnceShown();
        return QApplication::exec();
    }
    QtPlatform platform;
    Form1 form(platform);
    quitOnceShown();
    return platform.run();
}
