// The one-copy lock: refused to a second holder while the first lives, taken over from a
// holder that let go or died without letting go (else the program would never start again).
#include "platform/singleinstance.h"
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace quillet {
namespace {

TEST(SingleInstance, RefusedWhileTheFirstLivesTakenOverWhenItLetsGoOrDied)
{
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    ASSERT_TRUE(first->TryBecomeFirst());
    auto second = std::make_unique<SingleInstance>(dir.path());
    EXPECT_FALSE(second->TryBecomeFirst());
    first.reset();
    EXPECT_TRUE(second->TryBecomeFirst());
    second.reset();

    // The lock of a copy that died: the process is gone, its lock file is not.
    QProcess gone;
    gone.start("true", {});
    const qint64 deadPid = gone.processId(); // read while it runs: 0 once it has ended
    ASSERT_TRUE(gone.waitForFinished());
    test::WriteFile(SingleInstance(dir.path()).LockPath(),
                    QByteArray::number(deadPid) + "\nquillet-jukebox\n" +
                        QSysInfo::machineHostName().toUtf8() + "\n");
    SingleInstance next(dir.path());
    EXPECT_TRUE(next.TryBecomeFirst());
    EXPECT_FALSE(SingleInstance(dir.path()).TryBecomeFirst());
}

} // namespace
} // namespace quillet
