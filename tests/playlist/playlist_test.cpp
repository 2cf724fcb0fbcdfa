// The playlist: removing and moving entries and what stays selected, the texts it writes,
// its size limit, and the item model that follows every edit.
// Playlist files: read whatever their content, written back as they were, and what a refused
// write tells.
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "playlist/playlistmodel.h"
#include "tests/fixtures/fileio.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/fullfilesystem.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace quillet {
namespace {

using fixtures::ReadBytes;
using fixtures::WriteBytes;

// Appends each source named "<source> name", selecting each as a filler does, then writes
// the total.
void Fill(Playlist& list, const QStringList& sources)
{
    Playlist::Batch batch(list);
    for (const QString& source : sources)
        EXPECT_TRUE(list.Append(source, source + " name", true));
    list.ShowTotal();
}

void ExpectTexts(const Playlist& list, const QString& total, const QString& position)
{
    EXPECT_EQ(list.TextTotalFiles(), total);
    EXPECT_EQ(list.TextPosition(), position);
}

// Every entry's name still belongs with its source (names made by Fill).
void ExpectPairsTogether(const Playlist& list)
{
    ASSERT_EQ(list.Sources().size(), list.Names().size());
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Names()[i], list.Sources()[i] + " name") << i;
}

QString Pos(int index)
{
    return index < 0 ? QString() : QString("Pos: %1").arg(index + 1);
}

// A playlist of one-letter sources, "abc", filled and read back as one text.
void FillLetters(Playlist& list, const QString& letters)
{
    Fill(list, letters.split(QString(), Qt::SkipEmptyParts));
}
QString Letters(const Playlist& list)
{
    return list.Sources().join(QString());
}

TEST(Playlist, RemovingSelectsTheEntryBeforeOrTheNewFirst)
{
    // Without a selection (also on an empty list) nothing goes and the total stays written.
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"", -1, "", -1},       {"abc", -1, "abc", -1}, {"a", 0, "", -1},
        {"abc", 0, "bc", 0},    {"abc", 1, "ac", 0},    {"abc", 2, "ab", 1}};
    for (const auto& [before, selected, after, newSelection] : cases) {
        Playlist list;
        if (*before != '\0')
            FillLetters(list, before);
        list.Select(selected);
        list.RemoveSelectedEntry();
        EXPECT_EQ(Letters(list), after) << selected;
        ExpectPairsTogether(list);
        EXPECT_EQ(list.SelectedIndex(), newSelection);
        ExpectTexts(list, list.Count() == 0 ? "" : QString("Total: %1").arg(list.Count()),
                    Pos(newSelection));
    }

    // Indices outside the list leave the selection alone.
    Playlist list;
    FillLetters(list, "abc");
    list.Select(0);
    list.Select(3);
    list.Select(-2);
    EXPECT_EQ(list.SelectedSource(), "a");
    ExpectTexts(list, "Total: 3", "Pos: 1");
}

TEST(Playlist, MovesSwapWithTheNeighbourAndStopAtTheEnds)
{
    Playlist list;
    FillLetters(list, "abcd");
    QSignalSpy changed(&list, &Playlist::changed);
    // {row to select, up?, the list after the move, the selection after it}
    const std::tuple<int, bool, const char*, int> steps[] = {
        {0, true, "abcd", 0},    {3, false, "abcd", 3}, {-1, true, "abcd", -1},
        {-1, false, "abcd", -1}, {2, true, "acbd", 1},  {2, false, "acdb", 3}, // next to last
        {0, false, "cadb", 1}};
    for (const auto& [select, up, after, selected] : steps) {
        list.Select(select);
        const QString before = Letters(list);
        changed.clear();
        up ? list.MoveEntryUp() : list.MoveEntryDown();
        EXPECT_EQ(Letters(list), after) << select << (up ? " up" : " down");
        EXPECT_EQ(changed.count(), before == after ? 0 : 1);
        EXPECT_EQ(list.SelectedIndex(), selected);
        ExpectTexts(list, "Total: 4", Pos(selected));
        ExpectPairsTogether(list);
    }
}

TEST(Playlist, ABatchNotifiesOnceAndTheListHoldsAtMost32767)
{
    Playlist list;
    QSignalSpy changed(&list, &Playlist::changed);
    {
        Playlist::Batch batch(list);
        for (int i = 0; i < Playlist::MaxEntries; ++i)
            ASSERT_TRUE(list.Append(QString::number(i), QString(), true));
        list.ShowTotal();
    }
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(list.Append("one more", "one more", true));
    EXPECT_EQ(list.Count(), Playlist::MaxEntries);
    ExpectTexts(list, "Total: 32767", "Pos: 32767");
}

TEST(PlaylistModel, FollowsEveryEditRowByRowWithoutResets)
{
    Playlist list;
    PlaylistModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const auto rows = [&] {
        QStringList names;
        for (int r = 0; r < model.rowCount(); ++r)
            names << model.data(model.index(r), Qt::DisplayRole).toString();
        return names;
    };

    for (const char* source : {"a", "b"}) // appended one by one
        ASSERT_TRUE(list.Append(source, QString(source) + " name", true));
    Fill(list, {"c", "d"}); // in one batch
    EXPECT_EQ(rows(), list.Names());
    EXPECT_EQ(inserted.count(), 3);

    list.MoveEntryUp();
    list.MoveEntryUp();
    list.MoveEntryDown();
    EXPECT_EQ(rows(), list.Names());

    QSignalSpy dataChanged(&model, &QAbstractItemModel::dataChanged);
    list.Select(0);
    ASSERT_EQ(dataChanged.count(), 2); // the row that lost the selection, the one that got it
    EXPECT_EQ(dataChanged[0][0].toModelIndex().row(), 2);
    EXPECT_EQ(dataChanged[1][0].toModelIndex().row(), 0);

    list.RemoveSelectedEntry();
    EXPECT_EQ(rows(), list.Names());
    EXPECT_EQ(model.data(model.index(0), PlaylistModel::SelectedRole), QVariant(true));
    EXPECT_EQ(model.data(model.index(0), PlaylistModel::SourceRole), QVariant("b"));
    EXPECT_EQ(resets.count(), 0);

    list.ClearPlaylist();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(resets.count(), 1);
}

class FilesTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Load(const QString& name, const QByteArray& bytes)
    {
        WriteBytes(Path(name), bytes);
        files.LoadPlaylistFile(Path(name));
    }
    void ExpectOneMessage(const QString& text)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages.takeFirst(), text);
    }

    QTemporaryDir dir;
    Playlist list;
    test::FakeDialogs dialogs;
    PlaylistFiles files{list, dialogs, dir.path() + "/"};
};

TEST_F(FilesTest, ReadingTakesEveryLineEndKeepsWhatWasReadAndNeverWaitsOrRunsAway)
{
    Load("mixed.qlt", "a.mp3\rb.mp3\nc.mp3\r\n\r\n\n d.mp3 \r\n 7 \n\re.mp3");
    EXPECT_EQ(list.Sources(), (QStringList{"a.mp3", "b.mp3", "c.mp3", " d.mp3 ", " 7 ", "e.mp3"}));
    EXPECT_EQ(list.Names()[4], "Track 08");
    ExpectTexts(list, "Total: 6", "Pos: 1");

    Fill(list, {"old"});
    files.LoadPlaylistFile(Path("missing.qlt"));
    ExpectOneMessage("Error in ReadList\r\r2 - No such file or directory");
    EXPECT_EQ(list.Count(), 0);
    ExpectTexts(list, "", "");

    // A NUL inside a line, and names that are not UTF-8, stay in the entry as they were and
    // are written back unchanged; the names show as well as they can.
    const QByteArray kept("a\0b.mp3\r\nlatin1-\xe9.mp3\r\n\xff\xc3.wav\r\n", 31);
    Load("kept.qlt", kept);
    EXPECT_EQ(list.Names(), (QStringList{"a", "latin1-\u00e9.mp3", "\u00ff\u00c3.wav"}));
    ASSERT_TRUE(files.WriteList(Path("kept-again.qlt")));
    EXPECT_EQ(ReadBytes(Path("kept-again.qlt")), kept);
    // A write the disk refuses tells the system's reason; the old file stays (the writer's).
    EXPECT_FALSE(test::WithFileSizeLimit(16, [&] { return files.WriteList(Path("kept.qlt")); }));
    ExpectOneMessage("Error in WriteList\r\r27 - File too large");

    // A 50 MB line cannot be a path: reading stops there, the entries before it stay.
    Load("huge.qlt", "first.mp3\r\n" + QByteArray(50 << 20, 'x') + "\r\nlast.mp3\r\n");
    ExpectOneMessage("Error in ReadList\r\r36 - File name too long");
    EXPECT_EQ(list.Sources(), QStringList{"first.mp3"});
    ExpectTexts(list, "Total: 1", "Pos: 1");
}

} // namespace
} // namespace quillet
