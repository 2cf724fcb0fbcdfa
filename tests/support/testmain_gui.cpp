// Test entry for widget tests: a QApplication on the offscreen platform unless the
// environment already chose one (the end-to-end tests run under Xvfb).
#include "tests/support/privateuserdirs.h"
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quillet::test::UsePrivateUserDirs();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
