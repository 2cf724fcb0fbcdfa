// The hand-over of a second copy's command line: its messages (good, truncated, garbage,
// oversized), and a running copy's server facing a stale socket, a silent sender, a sender
// of garbage and the good senders around them; copies that do not answer. Then the files
// that arrive from the desktop: nested folders with other files and a looping link, a
// playlist file among them, a .cda while no disc is ready.
#include "desktop/desktopfiles.h"
#include "desktop/handover.h"
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testsupport.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quillet {
namespace {

using test::WriteFile;

// A running copy takes a good command line (any bytes, empty arguments) and drops a silent
// sender or one of garbage without waiting for them; a copy nobody answers for is given up.
// Messages cut short are awaited; any other is refused.
TEST(HandOver, GoodSendersArriveBadOnesAreDroppedAndNoneIsWaitedFor)
{
    const QList<QByteArray> arguments{"/music/a b \"c\" 'd'.mp3", "/m\xe9lange/\xff.mp3", ""};
    const QByteArray message = EncodeHandOver(arguments);
    QList<QByteArray> decoded;
    const QByteArray huge = EncodeHandOver({QByteArray(HandOverMaxBytes, 'x')});
    const struct {
        QByteArray message;
        Decoded outcome;
    } rows[] = {
        {message.first(message.size() - 1), Decoded::NeedMore},
        {message.first(2), Decoded::NeedMore},
        {message + "x", Decoded::Refused},
        {"GET / HTTP/1.0\r\n\r\n", Decoded::Refused},
        {QByteArray("QJH1\xff\xff\xff\xff", 8), Decoded::Refused},          // count
        {QByteArray("QJH1\0\0\0\1\x7f\xff\xff\xff", 12), Decoded::Refused}, // length
        {huge, Decoded::Refused},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DecodeHandOver(row.message, decoded), row.outcome)
            << row.message.left(20).toHex().toStdString();

    QTemporaryDir dir;
    const QString path = HandOverSocketPath(dir.path());
    {
        // A killed copy's socket: there, but nobody listens.
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        ASSERT_TRUE(QFileInfo::exists(path));
    }
    QString error; // nobody answers there: given up with a reason
    EXPECT_FALSE(HandOverCommandLine(path, {"/a.mp3"}, 300, &error));
    EXPECT_FALSE(error.isEmpty());
    HandOverServer server;
    QList<QList<QByteArray>> received;
    QObject::connect(&server, &HandOverServer::Received,
                     [&](const QList<QByteArray>& line) { received.append(line); });
    ASSERT_TRUE(server.Listen(path));

    // A sender that never finishes and one that sends garbage: neither holds up the next.
    QLocalSocket silent, garbage;
    silent.connectToServer(path);
    garbage.connectToServer(path);
    ASSERT_TRUE(silent.waitForConnected(1000) && garbage.waitForConnected(1000));
    silent.write(EncodeHandOver({"/a.mp3"}).first(6));
    garbage.write("\0\0\0\0garbage", 11);
    auto sent =
        std::async(std::launch::async, [&] { return HandOverCommandLine(path, arguments); });
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 3000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(received, QList<QList<QByteArray>>{arguments});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return garbage.state() == QLocalSocket::UnconnectedState; }, 1000));
    // The silent sender is dropped after the time limit, unanswered.
    EXPECT_TRUE(QTest::qWaitFor([&] { return silent.state() == QLocalSocket::UnconnectedState; },
                                HandOverTimeoutMs + 1000));
    EXPECT_TRUE(silent.readAll().isEmpty());
    EXPECT_EQ(received.size(), 1);

    // A copy that listens and never answers is given up too.
    QLocalServer mute;
    ASSERT_TRUE(mute.listen(dir.filePath("mute")));
    EXPECT_FALSE(HandOverCommandLine(dir.filePath("mute"), {"/a.mp3"}, 300, &error));
    EXPECT_TRUE(error.contains("did not confirm")) << error.toStdString();
}

TEST(DesktopFiles, FoldersAddTheirMediaSortedListsLoadAndDiscTracksWaitForADisc)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("drop");
    for (const char* file : {"b/2.MP3", "b/1.wav", "a/z/9.mp2", "a/notes.txt", "a/cover.jpg",
                             "c.mp1", "Track01.cda", "x.flac.txt"})
        WriteFile(root + "/" + file, "RIFF");
    ASSERT_TRUE(QFile::link(root, root + "/a/z/loop")); // back to the top: entered once only
    WriteFile(dir.filePath("list.qlt"), "/l/one.mp3\r\n/l/two.mp3\r\n");

    test::FakeDialogs dialogs;
    Playlist playlist;
    QStringList cdTracks;
    MediaFiles media(
        playlist, dialogs, [] { return false; }, [&](const QString& path) { cdTracks << path; });
    PlaylistFiles lists(playlist, dialogs, dir.path() + "/");
    DesktopFiles files(playlist, media, lists);

    EXPECT_EQ(files.Add({dir.filePath("none.mp3"), root}), 0);
    EXPECT_EQ(playlist.Sources(),
              (QStringList{dir.filePath("none.mp3"), root + "/a/z/9.mp2", root + "/b/1.wav",
                           root + "/b/2.MP3", root + "/c.mp1"}));
    EXPECT_EQ(playlist.SelectedIndex(), 4);
    EXPECT_TRUE(cdTracks.isEmpty());

    // A list replaces what was there; what follows it is added to the list.
    EXPECT_EQ(files.Add({root + "/c.mp1", dir.filePath("list.qlt"), root + "/b/1.wav"}), 2);
    EXPECT_EQ(playlist.Sources(), (QStringList{"/l/one.mp3", "/l/two.mp3", root + "/b/1.wav"}));
    EXPECT_EQ(files.Add({root + "/Track01.cda"}), -1);
    EXPECT_EQ(playlist.Count(), 3);
}

} // namespace
} // namespace quillet
