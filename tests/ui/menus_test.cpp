// The main popup menu over the program's own option routines: what its items run, what its
// two buttons show, and the help and web addresses handed to the desktop (the check marks
// following their options are proven on the main window); the About box, one live instance
// centred over the main window.
#include "tests/playback/playbackworld.h"
#include "ui/frmabout.h"
#include "ui/frmmenu.h"
#include "ui/weblinks.h"
#include "ui/windowoptions.h"
#include "ui/windowplacement.h"
#include "ui/windowsize.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet {
namespace {

const QString Site = QStringLiteral("https://www.quillet.example/");

class MainMenu : public ::testing::Test {
protected:
    MainMenu()
    {
        main.setGeometry(120, 70, 314, 404);
        main.show();
        (void)QTest::qWaitForWindowExposed(&main);
    }
    test::PlaybackWorld playback;
    QString setTopText = QStringLiteral("0");
    QWidget main;
    WindowOptions options{setTopText};
    WindowSize size{1.0}; // an ordinary monitor, nothing chosen yet
    QStringList opened;
    WebLinks links{"/opt/quillet", [this](const QString& document) { opened << document; }};
    WindowPlacement placement{main};
    QStringList commands;
    frmMenu menu{{playback.endOfTrack, options, size, links, placement,
                  [this] { commands << "songDetails"; }, [this] { commands << "about"; },
                  [this] { commands << "exit"; }},
                 &main};
};

// (Where each item stands and its caption are the menu's own description; the check marks of
// the options and sizes are proven on the main window.) The help page lies in the program
// directory, with one slash between. The menu button records where the window stands, for
// the forms it opens; the Websites button shows only its part and records nothing.
TEST_F(MainMenu, EveryCommandRunsItsRoutineAndTheMenuButtonRecordsThePlace)
{
    for (const char* name : {"songDetails", "about", "exit", "readme", "download", "quillet"})
        menu.menu1().findChild<QAction*>(QLatin1String(name))->trigger();
    EXPECT_EQ(commands, QStringList({"songDetails", "about", "exit"}));
    EXPECT_EQ(opened, QStringList({"/opt/quillet/help.htm", Site + "musicdirectory.htm", Site}));

    menu.SkinButtonQuillet_Click();
    EXPECT_TRUE(menu.websites().isVisible() && !menu.menu1().isVisible());
    EXPECT_EQ(placement.RecordedLeft(), 0.0f);
    menu.websites().close();
    menu.SkinButtonMenu_Click();
    EXPECT_TRUE(menu.menu1().isVisible());
    EXPECT_EQ(placement.RecordedLeft(), float(main.pos().x()));
    EXPECT_EQ(placement.RecordedTop(), float(main.pos().y()));
    menu.menu1().close();
}

TEST_F(MainMenu, AboutIsBroughtForwardWhileOpenAndCentredAgainWhenReopened)
{
    placement.RecordMainWindowPosition(main);
    // The box's frame sticks out (or falls short) of the main window's equally on both sides,
    // give or take the odd pixel.
    const auto expectCentred = [this](const QWidget& box) {
        const QRect outer = main.frameGeometry(), frame = box.frameGeometry();
        EXPECT_LE(std::abs((frame.left() - outer.left()) - (outer.right() - frame.right())), 1);
        EXPECT_LE(std::abs((frame.top() - outer.top()) - (outer.bottom() - frame.bottom())), 1);
    };
    QPointer<frmAbout> about;
    QList<bool> returns; // whether the box was still shown when it went back to the main window
    const auto open = [&] {
        return &OpenModeless(about, [&] {
            return new frmAbout(placement, links, [&] { returns << about->isVisible(); });
        });
    };

    frmAbout* box = open();
    EXPECT_TRUE(box->isVisible());
    expectCentred(*box);
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
    EXPECT_EQ(opened, QStringList{Site});

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(returns, QList<bool>{true}); // the main window first, then the box closes
    EXPECT_FALSE(box->isVisible());
    // Chosen again before the closed box is gone: a new box, centred anew.
    frmAbout* again = open();
    EXPECT_NE(again, box);
    expectCentred(*again);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(about, again);
}

} // namespace
} // namespace quillet
