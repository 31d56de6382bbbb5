#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication, offscreen unless the caller chose
// a platform, so widgets can be created and no window ever appears.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
