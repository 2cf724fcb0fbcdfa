// Test entry for QtCore tests: a QCoreApplication exists for the whole run, so signals,
// timers and queued notifications work as in the program.
#include "tests/support/privateuserdirs.h"
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    quillet::test::UsePrivateUserDirs();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
