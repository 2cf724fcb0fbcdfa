// The plain main window on the offscreen platform: its controls reach their routines, the
// view follows the playlist, and the window is centred.
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testsupport.h"
#include "ui/frmmain.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet {
namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow()
    {
        m_window.show();
        (void)QTest::qWaitForWindowExposed(&m_window);
    }
    void Fill(int count)
    {
        Playlist::Batch batch(m_playlist);
        for (int i = 0; i < count; ++i)
            (void)m_playlist.Append(QString("/m/%1.wav").arg(i), QString("%1.wav").arg(i), false);
        m_playlist.ShowTotal();
    }
    void Click(const char* button)
    {
        auto* widget = m_window.findChild<QPushButton*>(button);
        ASSERT_NE(widget, nullptr) << button;
        EXPECT_TRUE(widget->isVisible() && m_window.rect().contains(widget->geometry())) << button;
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    QString Text(const char* name) const { return m_window.findChild<QLabel*>(name)->text(); }
    QString Shown() const { return Text("TextTotalFiles") + " " + Text("TextPosition"); }
    QListView& List() { return m_window.ListBoxDisplay(); }
    QPoint RowCentre(int row) { return List().visualRect(List().model()->index(row, 0)).center(); }

    QTemporaryDir m_dir;
    test::FakeDialogs m_dialogs;
    Playlist m_playlist;
    MediaFiles m_mediaFiles{m_playlist, m_dialogs, [] { return true; }, [](const QString&) {}};
    PlaylistFiles m_playlistFiles{m_playlist, m_dialogs, m_dir.path() + "/"};
    int m_plays = 0, m_unloads = 0, m_exits = 0;
    frmMain m_window{m_playlist,
                     m_mediaFiles,
                     m_playlistFiles,
                     {[this] { ++m_plays; }, [this] { ++m_unloads; }, [this] { ++m_exits; }}};
};

TEST_F(MainWindow, PlaylistButtonsRunTheirRoutines)
{
    m_dialogs.filesToOpen = {QStringList{"/m/a.wav", "/m/b.mp2"}, QStringList{"/m/c.mp1"}};
    Click("SkinButtonOpen");
    Click("SkinButtonAdd");
    EXPECT_EQ(m_playlist.Sources(), (QStringList{"/m/a.wav", "/m/b.mp2", "/m/c.mp1"}));
    EXPECT_EQ(Shown(), "Total: 3 Pos: 3");
    EXPECT_EQ(List().currentIndex().row(), 2);
    Click("SkinButtonUp");
    EXPECT_EQ(m_playlist.Names(), (QStringList{"a.wav", "c.mp1", "b.mp2"}));
    EXPECT_EQ(List().currentIndex().row(), 1);
    Click("SkinButtonDown");
    Click("SkinButtonRemove");
    EXPECT_EQ(m_playlist.Names(), (QStringList{"a.wav", "b.mp2"}));
    EXPECT_EQ(Shown(), "Total: 2 Pos: 2");

    const QString list = m_dir.filePath("PlayLists/mine.qlt");
    QDir(m_dir.path()).mkdir("PlayLists");
    m_dialogs.fileToSave = m_dialogs.fileToOpen = {list};
    Click("SkinButtonSaveList");
    EXPECT_EQ(test::ReadFile(list), "/m/a.wav\r\n/m/b.mp2\r\n");
    Click("SkinButtonClearList");
    EXPECT_EQ(List().model()->rowCount(), 0);
    EXPECT_EQ(Text("TextTotalFiles"), "");
    Click("SkinButtonOpenList");
    EXPECT_EQ(List().model()->rowCount(), 2);
    EXPECT_EQ(m_dialogs.fileDialogs.last().startDir, m_playlistFiles.PlaylistFolder());
    EXPECT_EQ(m_plays, 0);
}

TEST_F(MainWindow, ClicksKeysAndDoubleClicksOnTheList)
{
    Fill(5);
    EXPECT_TRUE(m_window.grab().save("frmMain.png")); // a picture for people to look at
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, RowCentre(3));
    EXPECT_EQ(Shown(), "Total: 5 Pos: 4");

    QTest::keyClick(&List(), Qt::Key_Up); // the list's own navigation runs the rule too
    EXPECT_EQ(m_playlist.SelectedIndex(), 2);
    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_EQ(m_playlist.Names(), (QStringList{"0.wav", "1.wav", "3.wav", "4.wav"}));
    EXPECT_EQ(m_playlist.SelectedIndex(), 1);
    EXPECT_EQ(List().currentIndex().row(), 1);

    // A real double click: a click, then the second press arrives as the double.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, RowCentre(3));
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, RowCentre(3));
    EXPECT_EQ(m_plays, 1);
    EXPECT_EQ(m_playlist.SelectedIndex(), 3);
}

TEST_F(MainWindow, AFullPlaylistStaysUsable)
{
    Fill(Playlist::MaxEntries);
    ASSERT_EQ(List().model()->rowCount(), Playlist::MaxEntries);
    m_playlist.Select(Playlist::MaxEntries - 1);
    EXPECT_EQ(List().currentIndex().row(), Playlist::MaxEntries - 1);
    EXPECT_TRUE(List().viewport()->rect().intersects(
        List().visualRect(List().currentIndex()))); // scrolled into view
    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_EQ(m_playlist.Count(), Playlist::MaxEntries - 1);
    EXPECT_EQ(Text("TextPosition"), QString("Pos: %1").arg(Playlist::MaxEntries - 1));
    Click("SkinButtonClearList");
    EXPECT_EQ(List().model()->rowCount(), 0);
}

TEST_F(MainWindow, CloseExitStayOnTopAndCentring)
{
    m_window.Menu().findChild<QAction*>("exit")->trigger();
    EXPECT_EQ(m_exits, 1);
    EXPECT_EQ(m_unloads, 0);

    for (bool onTop : {true, false}) {
        m_window.SetStayOnTop(onTop);
        EXPECT_EQ(bool(m_window.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        EXPECT_TRUE(m_window.isVisible());
    }

    EXPECT_EQ(frmMain::CentredPosition({1280, 1024}, {314, 404}), QPoint(483, 310));
    EXPECT_EQ(frmMain::CentredPosition({1281, 1025}, {314, 404}), QPoint(483, 310));
    EXPECT_EQ(frmMain::CentredPosition({300, 300}, {315, 404}), QPoint(-7, -52));
    m_window.move(3, 7);
    m_window.CentreOnScreen();
    const QRect screen = m_window.screen()->geometry(), frame = m_window.frameGeometry();
    EXPECT_LE(std::abs((frame.left() - screen.left()) - (screen.right() - frame.right())), 1);
    EXPECT_LE(std::abs((frame.top() - screen.top()) - (screen.bottom() - frame.bottom())), 1);

    m_window.close();
    EXPECT_EQ(m_unloads, 1);
}

} // namespace
} // namespace quillet
