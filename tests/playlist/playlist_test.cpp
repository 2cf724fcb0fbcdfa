#include "playlist/playlistmodel.h"
#include "tests/playlist/playlisttesting.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <tuple>

namespace quillet {
namespace {

using test::ExpectTexts;
using test::Fill;

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
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"a", 0, "", -1}, {"abc", 0, "bc", 0}, {"abc", 1, "ac", 0}, {"abc", 2, "ab", 1}};
    for (const auto& [before, selected, after, newSelection] : cases) {
        Playlist list;
        FillLetters(list, before);
        list.Select(selected);
        list.RemoveSelectedEntry();
        EXPECT_EQ(Letters(list), after) << selected;
        ExpectPairsTogether(list);
        EXPECT_EQ(list.SelectedIndex(), newSelection);
        ExpectTexts(list, newSelection < 0 ? "" : "Total: 2", Pos(newSelection));
    }
}

TEST(Playlist, OnAnEmptyListOrWithoutASelectionRemoveOnlyRewritesTheTotal)
{
    Playlist list;
    list.RemoveSelectedEntry();
    ExpectTexts(list, "", "");
    FillLetters(list, "ab");
    ASSERT_TRUE(list.Append("c", "c name", false)); // the total is not written yet
    list.Select(-1);
    list.RemoveSelectedEntry();
    EXPECT_EQ(list.Count(), 3);
    ExpectTexts(list, "Total: 3", "");

    // Indices outside the list leave the selection alone.
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

} // namespace
} // namespace quillet
