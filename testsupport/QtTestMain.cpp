// Test entry point for programs that need a QApplication. CTest's discovery runs the test
// binaries at build time, where no display may exist, so the offscreen platform is forced
// unless the environment names a display or a platform itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", LEEBDESK_TEST_PLATFORM, 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
