// Test entry: the Qt application object exists for the whole run, so signals, timers and
// queued notifications work as in the program. Built twice: a QCoreApplication, or with
// QUILLET_TESTMAIN_GUI a QApplication on the offscreen platform unless the environment already
// chose one (the end-to-end tests run under Xvfb).
#include <QTemporaryDir>
#ifdef QUILLET_TESTMAIN_GUI
#include <QApplication>
using Application = QApplication;
#else
#include <QCoreApplication>
using Application = QCoreApplication;
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
#ifdef QUILLET_TESTMAIN_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Every test process gets its own, empty user configuration and data directories, so what
    // the program registers at start (default applications, desktop entries) never reaches the
    // account that runs the tests. Static: removed also when a test ends the process early.
    static QTemporaryDir userDirs;
    if (userDirs.isValid()) {
        qputenv("XDG_CONFIG_HOME", userDirs.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", userDirs.filePath("data").toUtf8());
    }
    Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
