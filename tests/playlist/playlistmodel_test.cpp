#include "playlist/playlistmodel.h"
#include "tests/playlist/playlisttesting.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quillet {
namespace {

QStringList Rows(const PlaylistModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r)
        rows << model.data(model.index(r), Qt::DisplayRole).toString();
    return rows;
}

TEST(PlaylistModel, FollowsEveryEditRowByRow)
{
    Playlist list;
    test::Fill(list, {"a"});
    PlaylistModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);

    test::Fill(list, {"b", "c", "d"});
    EXPECT_EQ(Rows(model), list.Names());
    EXPECT_EQ(inserted.count(), 1);

    list.Select(3);
    list.MoveEntryUp();
    list.MoveEntryUp();
    list.MoveEntryDown();
    EXPECT_EQ(Rows(model), list.Names());
    EXPECT_EQ(moved.count(), 3);

    list.RemoveSelectedEntry();
    EXPECT_EQ(Rows(model), list.Names());
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(model.data(model.index(list.SelectedIndex()), PlaylistModel::SelectedRole),
              QVariant(true));
    EXPECT_EQ(model.data(model.index(0), PlaylistModel::SourceRole), QVariant("a"));
    EXPECT_EQ(resets.count(), 0);

    list.ClearPlaylist();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(resets.count(), 1);
}

TEST(PlaylistModel, AppendsOneByOneWithoutResets)
{
    Playlist list;
    PlaylistModel model(list);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(list.Append(QString::number(i), QString::number(i), true));
    EXPECT_EQ(inserted.count(), 50);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(model.rowCount(), 50);
}

TEST(PlaylistModel, TellsWhichRowsGainedAndLostTheSelection)
{
    Playlist list;
    test::Fill(list, {"a", "b", "c"});
    PlaylistModel model(list);
    QSignalSpy dataChanged(&model, &QAbstractItemModel::dataChanged);
    list.Select(0);
    QList<int> rows;
    for (const QList<QVariant>& signal : dataChanged)
        rows << signal[0].toModelIndex().row();
    EXPECT_EQ(rows, (QList<int>{2, 0}));
    EXPECT_EQ(model.data(model.index(2), PlaylistModel::SelectedRole), QVariant(false));
}

} // namespace
} // namespace quillet
