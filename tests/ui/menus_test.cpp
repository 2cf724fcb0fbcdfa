// The main popup menu over the program's own option routines: what its items run, what its
// two buttons show, the Set on Top start rule, and the help and web addresses handed to the
// desktop. (The check marks following their options are proven on the main window.)
#include "tests/playback/playbackworld.h"
#include "ui/frmmenu.h"
#include "ui/mainwindowsteps.h"
#include "ui/weblinks.h"
#include "ui/windowoptions.h"
#include "ui/windowplacement.h"
#include "ui/windowsize.h"

#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet {
namespace {

const QString Site = QStringLiteral("https://www.quillet.example/");

// A main window that takes itself in and out of the on-top band as the real one does.
class TopBandWindow : public QWidget, public MainWindowSteps {
public:
    void SetSkinFile(const QString&) override {}
    void SizeSkinControls() override {}
    void AttachSkins() override {}
    void SetStayOnTop(bool onTop) override { setWindowFlag(Qt::WindowStaysOnTopHint, onTop); }
    void CentreOnScreen() override {}
    void ShowWindow() override { show(); }

    [[nodiscard]] bool OnTop() const { return windowFlags() & Qt::WindowStaysOnTopHint; }
};

class MainMenu : public ::testing::Test {
protected:
    MainMenu() { options.SetWindow(&main); }

    QAction& Item(const char* name)
    {
        auto* action = menu.menu1().findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }

    test::PlaybackWorld playback;
    QString setTopText = QStringLiteral("0");
    TopBandWindow main;
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
        Item(name).trigger();
    EXPECT_EQ(commands, QStringList({"songDetails", "about", "exit"}));
    EXPECT_EQ(opened, QStringList({"/opt/quillet/help.htm", Site + "musicdirectory.htm", Site}));

    main.setGeometry(120, 70, 314, 404);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

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

TEST(WindowOptions, OnlyExactlyOneAtStartPutsTheWindowOnTop)
{
    for (const char* stored : {"1", "1 ", "0", ""}) {
        TopBandWindow window;
        window.SetStayOnTop(true); // the start must also take it out of the band
        QString text = QLatin1String(stored);
        WindowOptions options(text);
        options.setOnTop().SetChecked(true);
        options.SetWindow(&window);
        options.ApplyStayOnTop();
        const bool on = text == "1";
        EXPECT_EQ(options.setOnTop().Checked(), on) << stored;
        EXPECT_EQ(window.OnTop(), on) << stored;
        EXPECT_EQ(text, QLatin1String(stored)); // kept as read
    }
}

} // namespace
} // namespace quillet
