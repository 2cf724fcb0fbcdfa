// The skinned main window on the offscreen platform, bound to the program's own routine
// objects over a silent engine: the controls keep their places under the skin, reach their
// routines, show what the routines change, the view follows the playlist, and the window is
// centred; and the whole program assembled, started with a file on its command line.
#include "app/jukebox.h"
#include "components/audio/engine.h"
#include "components/displays/positionslider.h"
#include "components/skin/skinbutton.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testsupport.h"
#include "ui/frmmenu.h"
#include "ui/qtuserdialogs.h"
#include "ui/windowsize.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include <cmath>

namespace quillet {
namespace {

// Plays at the real rate into nothing; the CD drive is an image that does not exist.
std::unique_ptr<AudioEngine> SilentEngine(const QString& noDisc)
{
    audio::EngineOptions options;
    options.output = audio::OutputKind::NullRealTime;
    options.cdDevice = noDisc;
    return audio::CreateAudioEngine(options);
}

class MainWindow : public ::testing::Test {
protected:
    MainWindow()
    {
        m_program.SetWindow(&m_window);
        m_window.show();
        (void)QTest::qWaitForWindowExposed(&m_window);
    }
    template <typename T = QWidget> T& Find(const char* name)
    {
        auto* found = m_window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    void Click(const char* button)
    {
        auto& widget = Find(button);
        EXPECT_TRUE(widget.isVisible() && m_window.rect().contains(widget.geometry())) << button;
        QTest::mouseClick(&widget, Qt::LeftButton);
    }
    QString Text(const char* name) { return Find<QLabel>(name).text(); }
    QString Shown() { return Text("TextTotalFiles") + " " + Text("TextPosition"); }
    QListView& List() { return m_window.ListBoxDisplay(); }
    QPoint RowCentre(int row) { return List().visualRect(List().model()->index(row, 0)).center(); }
    int FilePosition() { return m_engine->audioFile().Position(); }

    QTemporaryDir m_dir;
    test::FakeDialogs m_dialogs;
    std::unique_ptr<AudioEngine> m_engine = SilentEngine(m_dir.filePath("nodisc.cue"));
    Program m_program{*m_engine, m_dialogs, m_dir.path() + "/"};
    Playlist& m_playlist = m_program.playlist();
    Transport& m_transport = m_program.transport();
    int m_unloads = 0, m_exits = 0;
    frmMain m_window{WindowParts(m_program), {[this] { ++m_unloads; }, [this] { ++m_exits; }}};
};

// The size follows the desktop's scale until chosen; the chosen size scales the whole window
// as one picture (places, fonts, thumbs, hit areas) and is remembered outside the settings.
TEST_F(MainWindow, ControlsKeepTheirPlacesUnderTheSkinAtEverySizeAndWorkWithoutIt)
{
    for (auto [desktop, percent] : {std::pair{1.0, 100}, {1.25, 100}, {1.5, 150}, {2.0, 200}})
        EXPECT_EQ(WindowSize(desktop).Percent(), percent) << desktop;
    // The skin the program ships has an element for every skinned control.
    m_window.SetSkinFile(QString(QUILLET_SOURCE_DIR) + "/resources/Skins/default.skn");
    ASSERT_TRUE(m_window.SkinForm1().SkinLoaded());
    for (SkinControl* control : m_window.SkinnedControls())
        EXPECT_TRUE(m_window.SkinForm1().HasElement(control->SkinElement()))
            << control->SkinElement().toStdString();
    m_window.AttachSkins();

    // Controls where the design places them, each edge within a pixel of the scaled design;
    // where the menu button is drawn, a click reaches it.
    const struct {
        const char* name;
        QRect place;
    } places[] = {
        {"SkinButtonMenu", {8, 8, 58, 12}},
        {"ListBoxDisplay", {10, 259, 292, 64}},
        {"Slider1", {8, 110, 295, 17}},
    };
    QMenu& sizes = *m_window.Menu().findChild<QMenu*>("size");
    const int titlePixels = Find("TextDisplay").font().pixelSize();
    for (int percent : {100, 200, 150, 100}) {
        sizes.findChild<QAction*>(QString("size%1").arg(percent))->trigger();
        const qreal scale = percent / 100.0;
        EXPECT_EQ(m_window.size(), QSize(314, 404) * scale) << percent;
        for (const auto& [name, place] : places) {
            const QRectF want(QPointF(place.topLeft()) * scale, QSizeF(place.size()) * scale);
            const QRect got = Find(name).geometry();
            EXPECT_LE(std::abs(got.left() - want.left()) + std::abs(got.top() - want.top()) +
                          std::abs(got.width() - want.width()) +
                          std::abs(got.height() - want.height()),
                      percent == 100 ? 0 : 2)
                << name << " at " << percent;
        }
        EXPECT_EQ(Find("TextDisplay").font().pixelSize(), qRound(titlePixels * scale)) << percent;
        const QPoint centre = (QPointF(places[0].place.center()) * scale).toPoint();
        EXPECT_EQ(m_window.childAt(centre), &Find("SkinButtonMenu")) << percent;
    }
    sizes.findChild<QAction*>("size150")->trigger();
    EXPECT_EQ(WindowSize(1.0).Percent(), 150); // the next start
    EXPECT_FALSE(QFile::exists(m_dir.filePath("xquilletmp3.ini")));
    sizes.findChild<QAction*>("size100")->trigger();
    EXPECT_TRUE(QFile::remove(WindowSize::ConfigFile())); // the next test starts afresh

    // Without its skin every control still works.
    m_window.SetSkinFile(m_dir.filePath("Skins/default.skn"));
    EXPECT_FALSE(m_window.SkinForm1().SkinLoaded());
    m_dialogs.filesToOpen = {QStringList{"/m/a.wav"}};
    Click("SkinButtonAdd");
    EXPECT_EQ(Shown(), "Total: 1 Pos: 1");
}

TEST_F(MainWindow, PlaylistButtonsRunTheirRoutines)
{
    m_dialogs.filesToOpen = {QStringList{"/m/a.wav", "/m/b.mp2"}, QStringList{"/m/c.mp1"}};
    Click("SkinButtonOpen");
    Click("SkinButtonAdd");
    EXPECT_EQ(m_playlist.Sources(), (QStringList{"/m/a.wav", "/m/b.mp2", "/m/c.mp1"}));
    EXPECT_EQ(Shown(), "Total: 3 Pos: 3");

    // Whatever leaves no entry highlighted leaves none selected: Remove, Delete and Play then
    // act on nothing. Whatever highlights one selects it.
    QWidget& rows = *List().viewport();
    const struct {
        const char* gesture;
        std::function<void()> act;
        int selected;
    } gestures[] = {
        {"click on the blank space",
         [&] {
             QTest::mouseClick(&rows, Qt::LeftButton, {}, {5, rows.height() - 3});
         },
         -1},
        {"Space", [&] { QTest::keyClick(&List(), Qt::Key_Space); }, 2},
        {"Ctrl+click on the selected entry",
         [&] { QTest::mouseClick(&rows, Qt::LeftButton, Qt::ControlModifier, RowCentre(2)); }, -1},
        {"click", [&] { QTest::mouseClick(&rows, Qt::LeftButton, {}, RowCentre(0)); }, 0},
        {"Ctrl+Space", [&] { QTest::keyClick(&List(), Qt::Key_Space, Qt::ControlModifier); }, -1},
    };
    for (const auto& [gesture, act, selected] : gestures) {
        act();
        EXPECT_EQ(List().selectionModel()->selectedRows().size(), selected < 0 ? 0 : 1) << gesture;
        EXPECT_EQ(m_playlist.SelectedIndex(), selected) << gesture;
    }
    Click("SkinButtonRemove");
    QTest::keyClick(&List(), Qt::Key_Delete);
    Click("SkinButtonPlay");
    EXPECT_EQ(m_playlist.Count(), 3);
    EXPECT_FALSE(m_transport.Playing());
    QTest::mouseClick(&rows, Qt::LeftButton, {}, RowCentre(2));
    Click("SkinButtonUp");
    EXPECT_EQ(m_playlist.Names(), (QStringList{"a.wav", "c.mp1", "b.mp2"}));
    EXPECT_EQ(List().currentIndex().row(), 1);
    Click("SkinButtonDown");
    Click("SkinButtonRemove");
    EXPECT_EQ(m_playlist.Names(), (QStringList{"a.wav", "b.mp2"}));
    EXPECT_EQ(Shown(), "Total: 2 Pos: 2");

    // A real double click (a click, then the second press arrives as the double) and Return
    // play the entry under the pointer: it does not exist, so the play error is reported.
    QTest::mouseClick(&rows, Qt::LeftButton, {}, RowCentre(0));
    QTest::mouseDClick(&rows, Qt::LeftButton, {}, RowCentre(0));
    EXPECT_EQ(m_playlist.SelectedIndex(), 0);
    QTest::keyClick(&List(), Qt::Key_Return);
    ASSERT_EQ(m_dialogs.messages.size(), 2);
    EXPECT_TRUE(m_dialogs.messages[0].startsWith("Error - Cannot play media file."));
    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_EQ(m_playlist.Names(), QStringList{"b.mp2"});

    const QString list = m_dir.filePath("PlayLists/mine.qlt");
    QDir(m_dir.path()).mkdir("PlayLists");
    m_dialogs.fileToSave = m_dialogs.fileToOpen = {list};
    Click("SkinButtonSaveList");
    Click("SkinButtonClearList");
    Click("SkinButtonOpenList"); // what was saved
    EXPECT_EQ(List().model()->rowCount(), 1);
    Click("SkinButtonCDPlayer"); // no disc: the list is emptied, nothing is said
    EXPECT_EQ(List().model()->rowCount(), 0);
    EXPECT_EQ(m_dialogs.messages.size(), 2);
}

TEST_F(MainWindow, TransportAndOptionButtonsReachTheirRoutinesAndExitAndCloseEndTheProgram)
{
    const QString wav = m_dir.filePath("tone.wav");
    fixtures::WriteWav(wav, fixtures::Tone(440, 20));
    (void)m_playlist.Append(wav, "tone.wav", true); // and selected
    auto& slider = Find<PositionSlider>("Slider1");
    const auto value = [&] { return slider.Control().Position(); };
    EXPECT_FALSE(slider.isEnabled());

    Click("SkinButtonPlay");
    EXPECT_TRUE(m_transport.Playing() && slider.isEnabled());
    EXPECT_EQ(slider.Control().Maximum(), 20000);
    Click("SkinButtonPause");
    EXPECT_TRUE(m_engine->waveOut().State() & WaveOut::Paused);
    Click("SkinButtonForward"); // five seconds on, and the play resumes
    EXPECT_EQ(value(), 5000);
    EXPECT_FALSE(m_engine->waveOut().State() & WaveOut::Paused);
    m_program.timeDisplay().Timer2_Timer();
    EXPECT_EQ(Text("TextTime"), "00:05");

    // The slider seeks only when let go (how the widget grabs, moves, releases and takes keys
    // is the slider's own test).
    QTest::mousePress(&slider, Qt::LeftButton, {}, slider.ThumbRect().center());
    EXPECT_TRUE(m_transport.Seeking);
    QTest::mouseMove(&slider, {slider.width() * 3 / 4, slider.height() / 2});
    const int held = value();
    EXPECT_GT(held, 10000);
    EXPECT_LT(FilePosition(), 7000); // still playing at the old place
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, {slider.width() * 3 / 4, slider.height() / 2});
    EXPECT_FALSE(m_transport.Seeking);
    EXPECT_EQ(FilePosition(), held);

    Click("SkinButtonStop");
    EXPECT_FALSE(m_transport.Playing() || slider.isEnabled());
    EXPECT_EQ(value(), 0);

    // The option buttons and their menu checks agree both ways.
    const auto item = [&](const char* name) { return m_window.Menu().findChild<QAction*>(name); };
    for (auto [button, name, key] :
         {std::tuple{"SkinButtonContinue", "contPlay", SettingKey::continuousPlay},
          std::tuple{"SkinButtonShuffle", "randOrder", SettingKey::randomOrder}}) {
        QAction* check = item(name);
        ASSERT_NE(check, nullptr) << name;
        ButtonControl& latch = Find<SkinButtonWidget>(button).Control();
        Click(button);
        EXPECT_TRUE(latch.Pushed() && check->isChecked()) << name;
        EXPECT_EQ(m_program.settings()[key], "1");
        check->trigger();
        EXPECT_FALSE(latch.Pushed() || check->isChecked()) << name;
        EXPECT_EQ(m_program.settings()[key], "0");
    }
    // Set on Top chosen twice ends where it began; the window stays shown throughout.
    QSignalSpy shownOrHidden(m_window.windowHandle(), &QWindow::visibleChanged);
    for (bool on : {true, false}) {
        item("setOnTop")->trigger();
        EXPECT_EQ(item("setOnTop")->isChecked(), on);
        EXPECT_EQ(bool(m_window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(m_program.settings()[SettingKey::setTop], on ? "1" : "0");
    }
    EXPECT_EQ(shownOrHidden.size(), 0);

    // Exit ends without unloading; the window is centred on the screen; close unloads.
    m_window.Menu().findChild<QAction*>("exit")->trigger();
    EXPECT_EQ(m_exits, 1);
    EXPECT_EQ(m_unloads, 0);
    m_window.move(3, 7);
    m_window.CentreOnScreen();
    const QRect screen = m_window.screen()->geometry(), frame = m_window.frameGeometry();
    EXPECT_LE(std::abs((frame.left() - screen.left()) - (screen.right() - frame.right())), 1);
    EXPECT_LE(std::abs((frame.top() - screen.top()) - (screen.bottom() - frame.bottom())), 1);
    m_window.close();
    EXPECT_EQ(m_unloads, 1);
}

TEST_F(MainWindow, EverySecondaryWindowTakesTheSkinsLookAndTheChosenSize)
{
    QtUserDialogs dialogs;
    dialogs.SetMainWindow(&m_window);
    const QPalette skin = m_window.palette();
    for (int percent : {100, 200}) {
        m_window.Menu().findChild<QAction*>(QString("size%1").arg(percent))->trigger();
        int seen = 0;
        const auto expectLook = [&](const QWidget* window) {
            ASSERT_NE(window, nullptr);
            ++seen;
            const std::string name = window->objectName().toStdString();
            for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Highlight,
                              QPalette::HighlightedText})
                EXPECT_EQ(window->palette().color(role), skin.color(role)) << name << " " << role;
            const int pixels = QFontInfo(window->font()).pixelSize();
            EXPECT_TRUE(pixels >= 11 * percent / 100 && pixels <= 13 * percent / 100) << pixels;
        };
        expectLook(&m_window.Menu());
        expectLook(&m_window.PresetMenu());
        m_window.about_Click();
        m_window.songDetails_Click();
        for (const char* name : {"frmAbout", "frmDetails"}) {
            QWidget* window = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                window = top->objectName() == name && top->isVisible() ? top : window;
            expectLook(window);
            if (window)
                window->close();
        }
        // The modal ones while they are open; the file dialog takes several files in the
        // folder given and offers its filters in any letter case.
        const auto whileOpen = [&] {
            QTimer::singleShot(0, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                expectLook(modal);
                if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                    EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFiles);
                    EXPECT_EQ(files->directory().absolutePath(), QDir(m_dir.path()).absolutePath());
                    EXPECT_EQ(files->nameFilters(), QStringList{"Waveform (*.[wW][aA][vV])"});
                }
                modal->close();
            });
        };
        whileOpen();
        dialogs.ShowMessage("A message", "", MessageIcon::Information);
        whileOpen();
        (void)dialogs.ChooseFilesToOpen({{"Waveform", {"*.wav"}}}, m_dir.path());
        EXPECT_EQ(seen, 6) << percent;
    }
    m_window.Menu().findChild<QAction*>("size100")->trigger();
    QFile::remove(WindowSize::ConfigFile());
}

// The assembled program: the skin of its directory is loaded; a tagged MP3 on the command line
// shows in the window, selected; local files dropped on the window are added (nothing plays),
// anything else is refused.
TEST(Jukebox, ATaggedMp3OnTheCommandLineShowsSelectedAndDroppedFilesAreAdded)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav"), mp3 = dir.filePath("song.MP3");
    fixtures::WriteWav(wav, fixtures::Tone(440, 0.3));
    fixtures::EncodeMp3(wav, mp3);
    fixtures::AppendId3v1(mp3, "Title", "Artist", "", "", "", 8); // Jazz
    qunsetenv("DBUS_SESSION_BUS_ADDRESS"); // no session bus: the player works all the same
    QDir(dir.path()).mkdir("Skins");
    ASSERT_TRUE(QFile::copy(QString(QUILLET_SOURCE_DIR) + "/resources/Skins/default.skn",
                            dir.filePath("Skins/default.skn")));
    Jukebox jukebox(SilentEngine(dir.filePath("nodisc.cue")), dir.path() + "/", {mp3}, dir.path());
    jukebox.Start();
    frmMain& window = jukebox.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.SkinForm1().SkinLoaded());

    const QModelIndex current = window.ListBoxDisplay().currentIndex();
    EXPECT_EQ(current.row(), 0);
    EXPECT_EQ(current.data().toString(), "Artist - Title [Jazz]");
    EXPECT_TRUE(window.ListBoxDisplay().selectionModel()->isSelected(current));
    EXPECT_EQ(window.findChild<QLabel*>("TextTotalFiles")->text(), "Total: 1");

    const auto Drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = window.ListBoxDisplay().geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        return enter.isAccepted();
    };
    jukebox.program().transport().StopPlayback();
    EXPECT_FALSE(Drop({QUrl::fromLocalFile(wav), QUrl("https://example.org/a.mp3")}));
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(dir.path())}));
    EXPECT_EQ(jukebox.program().playlist().Sources(), (QStringList{mp3, mp3, wav}));
    EXPECT_EQ(window.findChild<QLabel*>("TextTotalFiles")->text(), "Total: 3");
    EXPECT_FALSE(jukebox.program().transport().Playing());
}

} // namespace
} // namespace quillet
