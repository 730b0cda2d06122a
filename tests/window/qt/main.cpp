#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Widgets need one application for the whole run, created before any test.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing or running the tests needs no desktop.
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
