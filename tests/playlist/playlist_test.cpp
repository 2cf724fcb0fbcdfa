#include "playlist/playlist.h"
#include "tests/playlist/playlisttesting.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ExpectPairsTogether;
using test::Fill;

TEST(Playlist, StartsEmptyWithEmptyTexts)
{
    Playlist list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.SelectedSource(), "");
    EXPECT_EQ(list.TextTotalFiles(), "");
    EXPECT_EQ(list.TextPosition(), "");
}

TEST(Playlist, RemovingTheOnlyEntryEmptiesBothTexts)
{
    Playlist list;
    Fill(list, {"a"});
    list.RemoveSelectedEntry();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.TextTotalFiles(), "");
    EXPECT_EQ(list.TextPosition(), "");
}

TEST(Playlist, RemovingSelectsTheEntryBeforeOrTheNewFirst)
{
    struct Case {
        int selected;
        QStringList left;
        int newSelection;
    };
    for (const Case& c : {Case{0, {"b", "c"}, 0}, Case{1, {"a", "c"}, 0}, Case{2, {"a", "b"}, 1}}) {
        Playlist list;
        Fill(list, {"a", "b", "c"});
        list.Select(c.selected);
        list.RemoveSelectedEntry();
        EXPECT_EQ(list.Sources(), c.left) << c.selected;
        ExpectPairsTogether(list);
        EXPECT_EQ(list.SelectedIndex(), c.newSelection);
        EXPECT_EQ(list.TextPosition(), QString("Pos: %1").arg(c.newSelection + 1));
        EXPECT_EQ(list.TextTotalFiles(), "Total: 2");
    }
}

TEST(Playlist, RemoveWithNothingSelectedOnlyRewritesTheTotal)
{
    Playlist list;
    Fill(list, {"a", "b"});
    // A filler that has not written the total yet (as a playlist file's CD lines).
    ASSERT_TRUE(list.Append("c", "c name", false));
    list.Select(-1);
    EXPECT_EQ(list.TextPosition(), "");
    list.RemoveSelectedEntry();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.TextPosition(), "");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 3");
}

TEST(Playlist, EditsOnAnEmptyListOrAtTheEndsChangeNothing)
{
    Playlist empty;
    QSignalSpy emptyChanged(&empty, &Playlist::changed);
    empty.RemoveSelectedEntry();
    empty.MoveEntryUp();
    empty.MoveEntryDown();
    EXPECT_EQ(emptyChanged.count(), 0);
    EXPECT_EQ(empty.TextTotalFiles(), "");

    Playlist list;
    Fill(list, {"a", "b", "c"});
    list.Select(0);
    QSignalSpy changed(&list, &Playlist::changed);
    list.MoveEntryUp();
    EXPECT_EQ(changed.count(), 0);
    list.Select(2);
    changed.clear();
    list.MoveEntryDown();
    EXPECT_EQ(changed.count(), 0);
    list.Select(-1);
    changed.clear();
    list.MoveEntryUp();
    list.MoveEntryDown();
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(list.Sources(), (QStringList{"a", "b", "c"}));
}

TEST(Playlist, MovesSwapWithTheNeighbourAndKeepTheSelection)
{
    Playlist list;
    Fill(list, {"a", "b", "c", "d"});
    list.ShowTotal();
    list.Select(2);
    list.MoveEntryUp();
    EXPECT_EQ(list.Sources(), (QStringList{"a", "c", "b", "d"}));
    EXPECT_EQ(list.SelectedIndex(), 1);
    EXPECT_EQ(list.SelectedSource(), "c");
    EXPECT_EQ(list.TextPosition(), "Pos: 2");
    ExpectPairsTogether(list);

    list.Select(2); // "b", next to last
    list.MoveEntryDown();
    EXPECT_EQ(list.Sources(), (QStringList{"a", "c", "d", "b"}));
    EXPECT_EQ(list.SelectedIndex(), 3);
    EXPECT_EQ(list.TextPosition(), "Pos: 4");
    ExpectPairsTogether(list);

    list.Select(0);
    list.MoveEntryDown();
    EXPECT_EQ(list.Sources(), (QStringList{"c", "a", "d", "b"}));
    EXPECT_EQ(list.TextPosition(), "Pos: 2");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 4");
    ExpectPairsTogether(list);
}

TEST(Playlist, ClearEmptiesListsAndTexts)
{
    Playlist list;
    Fill(list, {"a", "b"});
    list.ClearPlaylist();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Names().size(), 0);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.TextTotalFiles(), "");
    EXPECT_EQ(list.TextPosition(), "");
}

TEST(Playlist, TheSelectionRuleIgnoresIndicesOutsideTheList)
{
    Playlist list;
    Fill(list, {"a", "b"});
    list.Select(0);
    EXPECT_EQ(list.TextPosition(), "Pos: 1");
    list.Select(2);
    list.Select(-2);
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(list.TextPosition(), "Pos: 1");
    EXPECT_EQ(list.SelectedSource(), "a");
}

TEST(Playlist, HoldsAtMost32767Entries)
{
    Playlist list;
    {
        Playlist::Batch batch(list);
        for (int i = 0; i < Playlist::MaxEntries; ++i)
            ASSERT_TRUE(list.Append(QString::number(i), QString(), false));
    }
    EXPECT_FALSE(list.Append("one more", "one more", true));
    EXPECT_EQ(list.Count(), Playlist::MaxEntries);
    EXPECT_EQ(list.SelectedIndex(), -1);
}

TEST(Playlist, ABatchNotifiesOnceWithAllItsRows)
{
    Playlist list;
    Fill(list, {"first"});
    QSignalSpy changed(&list, &Playlist::changed);
    QSignalSpy appended(&list, &Playlist::rowsAppended);
    QSignalSpy selection(&list, &Playlist::selectionChanged);
    {
        Playlist::Batch batch(list);
        for (int i = 0; i < 100; ++i)
            ASSERT_TRUE(list.Append(QString::number(i), QString(), true));
        list.ShowTotal();
        EXPECT_EQ(changed.count(), 0);
    }
    EXPECT_EQ(changed.count(), 1);
    ASSERT_EQ(appended.count(), 1);
    EXPECT_EQ(appended[0], (QList<QVariant>{1, 100}));
    ASSERT_EQ(selection.count(), 1);
    EXPECT_EQ(selection[0][0].toInt(), 100);
}

} // namespace
} // namespace quillet
