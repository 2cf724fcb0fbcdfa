// The About box and the Song Details window: placed centred over the main window as it stood
// when the menu was last opened, one live instance each that is only brought forward while
// open, filled at creation only, and the way back to the main window.
#include "tags/songdetails.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"
#include "ui/frmabout.h"
#include "ui/frmdetails.h"
#include "ui/weblinks.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace quillet {
namespace {

class Dialogs : public ::testing::Test {
protected:
    Dialogs()
    {
        main.setGeometry(200, 100, 314, 404);
        main.show();
        (void)QTest::qWaitForWindowExposed(&main);
        placement.RecordMainWindowPosition(main);
    }
    // The form's frame stands centred on the given frame of the main window: it sticks out
    // (or falls short) equally on both sides, give or take the odd pixel.
    static void ExpectCentredOn(const QRect& main, const QWidget& form)
    {
        const QRect frame = form.frameGeometry();
        EXPECT_LE(std::abs((frame.left() - main.left()) - (main.right() - frame.right())), 1);
        EXPECT_LE(std::abs((frame.top() - main.top()) - (main.bottom() - frame.bottom())), 1);
    }
    // Lets closed dialogs be deleted.
    static void DeleteClosed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // What a dialog asks of the main window; notes whether a dialog was still open then.
    std::function<void()> ShowMain()
    {
        return [this] {
            bool open = false;
            for (const QWidget* window : QApplication::topLevelWidgets())
                open = open || (window != &main && window->isVisible());
            returns << open;
        };
    }

    QWidget main;
    WindowPlacement placement{main};
    QList<bool> returns;
};

// The difference is rounded, then halved toward zero.
TEST_F(Dialogs, AFormWiderThanTheMainWindowSticksOutOnBothSides)
{
    for (auto [difference, half] : {std::pair{-301.0, -150}, {2.5, 1}, {3.5, 2}, {-2.5, -1}})
        EXPECT_EQ(WindowPlacement::HalfDifference(difference), half) << difference;
    QWidget form;
    form.resize(500, 300);
    WindowPlacement(main).CentreOverMainWindow(form); // nothing recorded yet: over the origin
    EXPECT_EQ(form.pos(), QPoint(-93, 52));

    const QRect recorded = main.frameGeometry();
    main.move(0, 0); // the form goes where the main window stood at the last record
    form.show();
    placement.CentreOverMainWindow(form);
    EXPECT_LT(form.frameGeometry().left(), recorded.left());
    ExpectCentredOn(recorded, form);
}

TEST_F(Dialogs, AboutIsBroughtForwardWhileOpenAndCentredAgainWhenReopened)
{
    QStringList opened;
    const WebLinks links("/opt/quillet/", [&opened](const QString& address) { opened << address; });
    QPointer<frmAbout> about;
    const auto open = [&] {
        return &OpenModeless(about, [&] { return new frmAbout(placement, links, ShowMain()); });
    };

    frmAbout* box = open();
    EXPECT_TRUE(box->isVisible());
    ExpectCentredOn(main.frameGeometry(), *box);
    auto* quillet = box->findChild<QPushButton*>("CommandQuillet");
    auto* ok = box->findChild<QPushButton*>("CommandOk");
    ASSERT_TRUE(quillet && ok);
    // Wide enough for its title in a window manager's bold title face beside an icon and three
    // buttons.
    QFont titleFace = QApplication::font();
    titleFace.setPixelSize(15);
    titleFace.setBold(true);
    EXPECT_GE(box->width(), QFontMetrics(titleFace).horizontalAdvance(box->windowTitle()) + 4 * 24);

    box->move(10, 20);
    EXPECT_EQ(open(), box);
    EXPECT_EQ(box->pos(), QPoint(10, 20));

    QTest::mouseClick(quillet, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{"https://www.quillet.example/"});

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(returns, QList<bool>{true}); // the main window first, then the box closes
    EXPECT_FALSE(box->isVisible());
    // Chosen again before the closed box is gone: a new box, centred anew.
    frmAbout* again = open();
    EXPECT_NE(again, box);
    ExpectCentredOn(main.frameGeometry(), *again);
    DeleteClosed();
    EXPECT_EQ(about, again);
}

TEST_F(Dialogs, SongDetailsAreFilledAtCreationOnly)
{
    QTemporaryDir dir;
    const QString tagged = dir.filePath("tagged.mp3"), plain = dir.filePath("plain.mp3");
    test::WriteFile(tagged, QByteArray(64, '\xff'));
    fixtures::AppendId3v1(tagged, "Waterloo", "ABBA", "Waterloo (1974)", "1974", "Eurovision", 13);
    test::WriteFile(plain, QByteArray(64, '\xff'));
    SongDetails details;
    details.ReadSongDetails(tagged);
    QPointer<frmDetails> window;
    const auto open = [&] {
        return &OpenModeless(window,
                             [&] { return new frmDetails(details, placement, ShowMain()); });
    };
    const auto fields = [&window] {
        QStringList texts;
        for (const char* name :
             {"TextTitle", "TextArtist", "TextAlbum", "TextYear", "TextComments", "TextGenre"})
            texts << window->findChild<QLineEdit*>(name)->text();
        return texts.join('|');
    };
    frmDetails* shown = open();
    EXPECT_EQ(fields(), "Waterloo|ABBA|Waterloo (1974)|1974|Eurovision|" + details.SongGenre());
    EXPECT_FALSE(details.SongGenre().isEmpty());
    details.ReadSongDetails(plain); // a new song does not reach the open window
    EXPECT_EQ(open(), shown);
    EXPECT_TRUE(fields().startsWith("Waterloo|"));
    QTest::mouseClick(shown->findChild<QPushButton*>("CommandClose"), Qt::LeftButton);
    EXPECT_EQ(returns, QList<bool>{true}); // the main window first, then the window closes
    DeleteClosed();
    open(); // created afresh: the values as they are now
    EXPECT_EQ(fields(), "|||||");
}

} // namespace
} // namespace quillet
