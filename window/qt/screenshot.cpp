// Draws the window as it opens into a PNG file, without a desktop.
#include "form1.h"
#include "qtplatform.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: grainmix_screenshot FILE.png\n", stderr);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QtPlatform platform;
    Form1 form(platform);
    QApplication::processEvents();
    if (!platform.window()->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
