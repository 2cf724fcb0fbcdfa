// An installation of the build tree into a private prefix: the program directory, the
// launcher link and what tells the desktop about the program; the installed launcher then
// finds its real directory and registers the program, and the desktop's own tools see it.
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>

namespace quillet {
namespace {

using test::ReadFile;

// Runs program to its end; its standard output, trimmed ("<failed>" when it did not finish).
QString RunToEnd(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return "<failed> " + process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

TEST(Install, TheInstalledLauncherFindsItsDirectoryAndTheDesktopSeesTheProgram)
{
    for (const char* tool : {"xdg-mime", "update-mime-database", "gio"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << "needs " << tool;
    test::PrivateXdg xdg;
    const QString prefix = xdg.Path("prefix");
    const QString programDir = prefix + "/lib/quillet-jukebox/";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    ASSERT_FALSE(RunToEnd(QUILLET_CMAKE, {"--install", QUILLET_BUILD_DIR, "--prefix", prefix}, env)
                     .startsWith("<failed>"));
    for (const char* file : {"help.htm", "PlayLists", "Skins/default.skn"})
        EXPECT_TRUE(QFileInfo::exists(programDir + file)) << file;
    const QFileInfo launcher(prefix + "/bin/quillet-jukebox");
    EXPECT_EQ(std::filesystem::read_symlink(launcher.filePath().toStdString()).string(),
              "../lib/quillet-jukebox/quillet-jukebox"); // relative: the prefix can move
    const QByteArray entry =
        ReadFile(prefix + "/share/applications/QuilletJukebox.Document.desktop");
    EXPECT_TRUE(entry.contains("\nExec=" + launcher.filePath().toUtf8() + " %f\n"));
    EXPECT_TRUE(entry.contains(";audio/flac;") && entry.contains(";audio/x-opus+ogg;"));

    // The launcher, started once in a private world, registers the program at start.
    QDir().mkpath(xdg.Path("run"));
    QFile::setPermissions(xdg.Path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert("HOME", xdg.Path("home"));
    env.insert("XDG_CONFIG_HOME", xdg.Config());
    env.insert("XDG_DATA_HOME", xdg.Data());
    env.insert("XDG_DATA_DIRS", prefix + "/share:/usr/share");
    env.insert("XDG_RUNTIME_DIR", xdg.Path("run"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PULSE_SERVER", "unix:" + xdg.Path("no-sound-server"));
    env.remove("XDG_CURRENT_DESKTOP");
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(launcher.filePath(), {});
    ASSERT_TRUE(program.waitForStarted());
    // The last of the six associations written at start.
    QDeadlineTimer deadline(60000);
    while (!ReadFile(xdg.MimeApps()).contains("audio/x-wav=") && !deadline.hasExpired() &&
           program.state() == QProcess::Running)
        QThread::msleep(100);
    program.terminate();
    if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(QFileInfo::exists(xdg.MimeApps())) << "the program registered nothing";
    EXPECT_TRUE(ReadFile(xdg.Applications() + "/QuilletJukebox.AudioCD.desktop")
                    .contains("\nExec=" + programDir.toUtf8() + "quillet-jukebox LCDA\n"))
        << "the command names the program's real directory, not the launcher's";

    EXPECT_EQ(RunToEnd("xdg-mime", {"query", "default", "audio/mpeg"}, env),
              "QuilletJukebox.Document.desktop");
    // "Open with" offers the player for FLAC, Ogg and Opus; start-up takes over only its own.
    EXPECT_FALSE(ReadFile(xdg.MimeApps()).contains("audio/flac"));
    const QString song = xdg.Path("some.mp1");
    test::WriteFile(song, QByteArray(417, '\x55'));
    env.insert("XDG_CURRENT_DESKTOP", "GNOME"); // asks the shared MIME database through gio
    EXPECT_EQ(RunToEnd("xdg-mime", {"query", "filetype", song}, env), "audio/x-mp1"); // ours
}

} // namespace
} // namespace quillet
