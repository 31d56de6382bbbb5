#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication, offscreen unless the caller chose
// a platform, so widgets can be created and no window ever appears. The user's
// locale is fixed to C, so dates, times and numbers the program takes from it
// read the same on every machine.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
