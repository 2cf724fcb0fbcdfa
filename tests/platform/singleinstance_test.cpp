// The one-copy lock: held by the first holder, refused to a second while the first lives,
// taken over from a holder that died without letting go.
#include "platform/programdir.h"
#include "platform/singleinstance.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace quillet {
namespace {

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    ASSERT_TRUE(first->TryBecomeFirst());
    EXPECT_TRUE(first->TryBecomeFirst()); // asking again changes nothing

    SingleInstance second(dir.path());
    EXPECT_FALSE(second.TryBecomeFirst());

    first.reset();
    EXPECT_TRUE(second.TryBecomeFirst());
}

TEST(SingleInstance, LockOfADeadCopyIsTakenOver)
{
    QTemporaryDir dir;
    // A process that has certainly ended by now left its lock behind.
    QProcess gone;
    gone.start("true", {});
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    SingleInstance probe(dir.path());
    test::WriteFile(probe.LockPath(), QByteArray::number(deadPid) + "\nquillet-jukebox\n" +
                                          QSysInfo::machineHostName().toUtf8() + "\n");

    SingleInstance next(dir.path());
    EXPECT_TRUE(next.TryBecomeFirst());
    EXPECT_FALSE(SingleInstance(dir.path()).TryBecomeFirst());
}

TEST(SingleInstance, AnUnusableLockFolderDoesNotStopTheProgram)
{
    QTemporaryDir dir;
    test::WriteFile(dir.filePath("file"), "x");
    SingleInstance instance(dir.filePath("file")); // a "folder" that is a file
    EXPECT_TRUE(instance.TryBecomeFirst());
}

TEST(ProgramDirectory, AlwaysEndsInOneSlash)
{
    EXPECT_EQ(WithTrailingSlash("/opt/quillet"), "/opt/quillet/");
    EXPECT_EQ(WithTrailingSlash("/opt/quillet/"), "/opt/quillet/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
    const QString dir = ProgramDirectory();
    EXPECT_TRUE(dir.endsWith('/') && !dir.endsWith("//")) << dir.toStdString();
    EXPECT_EQ(dir, QCoreApplication::applicationDirPath() + "/");
}

} // namespace
} // namespace quillet
