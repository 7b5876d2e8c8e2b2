// GoogleTest's main with a QApplication, for tests of widgets (offscreen in CTest).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Also when the test list is asked for outside CTest (no display on the build machine).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
