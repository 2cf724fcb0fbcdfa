// The skinned main window on the offscreen platform, bound to the program's own routine
// objects over a silent engine: the controls keep their places under the skin, reach their
// routines, show what the routines change, the view follows the playlist, and the window is
// centred; and the whole program assembled, started with a file on its command line.
#include "app/jukebox.h"
#include "components/audio/engine.h"
#include "components/displays/bandslider.h"
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
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

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

// WCAG 2 contrast ratio of two colours (1 to 21).
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// A drawn caption's legibility: the face is the commonest colour, the caption the pixel that
// stands out from it most.
double CaptionContrast(const QImage& picture)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y)];
    const QColor face = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                        })->first;
    double most = 1;
    for (const auto& [colour, count] : counts)
        most = std::max(most, Contrast(face, QColor::fromRgb(colour)));
    return most;
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
    for (auto [desktop, percent] : {std::pair{1.0, 100}, {1.25, 100}, {1.5, 150}, {2.0, 200}}) {
        WindowSize size(desktop);
        EXPECT_EQ(size.Percent(), percent) << desktop;
        EXPECT_TRUE(size.Item(percent).Checked()) << desktop;
    }
    // The skin the program ships has an element for every skinned control.
    m_window.SetSkinFile(QString(QUILLET_SOURCE_DIR) + "/resources/Skins/default.skn");
    ASSERT_TRUE(m_window.SkinForm1().SkinLoaded());
    EXPECT_TRUE(m_window.SkinForm1().HasElement("form"));
    for (SkinControl* control : m_window.SkinnedControls())
        EXPECT_TRUE(m_window.SkinForm1().HasElement(control->SkinElement()))
            << control->SkinElement().toStdString();
    m_window.AttachSkins();
    EXPECT_FALSE(m_window.rect().intersects(Find("SkinButtonDownload").geometry()));
    const QList<QLabel*> captions = m_window.findChildren<QLabel*>("Label1");
    ASSERT_EQ(captions.size(), EqualizerPresets::BandCount);
    for (int k = 0; k < EqualizerPresets::BandCount; ++k) {
        const QRect band = Find(qPrintable(QString("SliderBand%1").arg(k))).geometry();
        EXPECT_EQ(captions[k]->geometry().center().x(), band.center().x()) << k;
    }

    // One control of each kind where the design places it, each edge within a pixel of the
    // scaled design; where the menu button is drawn, a click reaches it.
    const struct {
        const char* name;
        QRect place;
    } places[] = {
        {"SkinButtonMenu", {8, 8, 58, 12}},     {"SkinScrollBarVolume", {208, 40, 73, 9}},
        {"ListBoxDisplay", {10, 259, 292, 64}}, {"Slider1", {8, 110, 295, 17}},
        {"LevelRight", {16, 16, 131, 5}},       {"Oscope", {43, 353, 229, 41}},
    };
    QMenu& sizes = *m_window.Menu().findChild<QMenu*>("size");
    const int titlePixels = Find("TextDisplay").font().pixelSize();
    const int barWidth = List().verticalScrollBar()->sizeHint().width();
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
            EXPECT_TRUE(Find(name).isVisible()) << name;
        }
        EXPECT_EQ(Find("TextDisplay").font().pixelSize(), qRound(titlePixels * scale)) << percent;
        EXPECT_EQ(Find<PositionSlider>("Slider1").ThumbRect().width(), qRound(20 * scale));
        EXPECT_EQ(List().verticalScrollBar()->sizeHint().width(), qRound(barWidth * scale));
        for (QAction* item : sizes.actions())
            EXPECT_EQ(item->isChecked(), item->objectName() == QString("size%1").arg(percent));
        const QPoint centre = (QPointF(places[0].place.center()) * scale).toPoint();
        EXPECT_EQ(m_window.childAt(centre), &Find("SkinButtonMenu")) << percent;
    }
    sizes.findChild<QAction*>("size150")->trigger();
    EXPECT_EQ(WindowSize(1.0).Percent(), 150); // the next start
    EXPECT_TRUE(QFile::exists(WindowSize::ConfigFile()));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("xquilletmp3.ini")));
    sizes.findChild<QAction*>("size100")->trigger();
    EXPECT_TRUE(QFile::remove(WindowSize::ConfigFile())); // the next test starts afresh
    const QImage skinned = m_window.grab().toImage();

    // Without its skin every control still works, drawn plainly.
    m_window.SetSkinFile(m_dir.filePath("Skins/default.skn"));
    EXPECT_FALSE(m_window.SkinForm1().SkinLoaded());
    EXPECT_NE(m_window.grab().toImage(), skinned);
    m_dialogs.filesToOpen = {QStringList{"/m/a.wav"}};
    Click("SkinButtonAdd");
    EXPECT_EQ(Shown(), "Total: 1 Pos: 1");

    // Plainly drawn captions are legible in every state of a button.
    auto& shuffle = Find<SkinButtonWidget>("SkinButtonShuffle");
    const auto legible = [&](const char* state) {
        EXPECT_GE(CaptionContrast(shuffle.grab().toImage()), 4.5) << state;
    };
    legible("normal");
    QTest::mousePress(&shuffle, Qt::LeftButton);
    legible("held down");
    QTest::mouseRelease(&shuffle, Qt::LeftButton);
    ASSERT_TRUE(shuffle.Control().Pushed());
    legible("latched");
    shuffle.setEnabled(false);
    legible("disabled");
    shuffle.setEnabled(true);

    // The focus mark waits for the keyboard: the window's activation or a click gives the
    // focus without it.
    auto& menu = Find("SkinButtonMenu");
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    menu.setFocus(Qt::ActiveWindowFocusReason);
    ASSERT_TRUE(menu.hasFocus());
    const QImage quiet = menu.grab().toImage();
    menu.clearFocus();
    EXPECT_EQ(menu.grab().toImage(), quiet);
    menu.setFocus(Qt::TabFocusReason);
    EXPECT_NE(menu.grab().toImage(), quiet);
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
    const auto highlighted = [&] {
        const QModelIndexList selected = List().selectionModel()->selectedRows();
        return selected.isEmpty() ? -1 : selected.first().row();
    };
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
        {"Down", [&] { QTest::keyClick(&List(), Qt::Key_Down); }, 1},
        {"Ctrl+Space again", [&] { QTest::keyClick(&List(), Qt::Key_Space, Qt::ControlModifier); },
         -1},
    };
    for (const auto& [gesture, act, selected] : gestures) {
        act();
        EXPECT_EQ(highlighted(), selected) << gesture;
        EXPECT_EQ(m_playlist.SelectedIndex(), selected) << gesture;
        EXPECT_EQ(Text("TextPosition"), selected < 0 ? "" : QString("Pos: %1").arg(selected + 1))
            << gesture;
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

    const QString list = m_dir.filePath("PlayLists/mine.qlt");
    QDir(m_dir.path()).mkdir("PlayLists");
    m_dialogs.fileToSave = m_dialogs.fileToOpen = {list};
    Click("SkinButtonSaveList");
    Click("SkinButtonClearList");
    EXPECT_EQ(Text("TextTotalFiles"), "");
    Click("SkinButtonOpenList"); // what was saved
    EXPECT_EQ(List().model()->rowCount(), 2);
    Click("SkinButtonCDPlayer"); // no disc: the list is emptied, nothing is said
    EXPECT_EQ(List().model()->rowCount(), 0);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(MainWindow, ClicksKeysAndDoubleClicksOnAFullList)
{
    constexpr int Full = Playlist::MaxEntries;
    {
        Playlist::Batch batch(m_playlist);
        for (int i = 0; i < Full; ++i)
            (void)m_playlist.Append(QString("/m/%1.wav").arg(i), QString("%1.wav").arg(i), false);
        m_playlist.ShowTotal();
    }
    ASSERT_EQ(List().model()->rowCount(), Full);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, RowCentre(3));
    EXPECT_EQ(Shown(), QString("Total: %1 Pos: 4").arg(Full));
    m_playlist.Select(Full - 1);
    for (const char* name : {"TextTotalFiles", "TextPosition"}) { // the largest counts fit
        const auto& text = Find<QLabel>(name);
        EXPECT_TRUE(text.text().endsWith("32767")) << name;
        EXPECT_LE(text.fontMetrics().horizontalAdvance(text.text()), text.contentsRect().width())
            << name;
    }
    m_playlist.Select(2);

    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_EQ(m_playlist.Names().mid(0, 4), (QStringList{"0.wav", "1.wav", "3.wav", "4.wav"}));
    EXPECT_EQ(List().model()->rowCount(), Full - 1);
    EXPECT_EQ(m_playlist.SelectedIndex(), 1);
    EXPECT_EQ(List().currentIndex().row(), 1);

    // A real double click: a click, then the second press arrives as the double. The entry
    // under the pointer is played: it does not exist, so the play error is reported.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, RowCentre(3));
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, RowCentre(3));
    EXPECT_EQ(m_playlist.SelectedIndex(), 3);
    QTest::keyClick(&List(), Qt::Key_Return); // the keyboard's way to play it
    ASSERT_EQ(m_dialogs.messages.size(), 2);
    EXPECT_TRUE(m_dialogs.messages[0].text.startsWith("Error - Cannot play media file."));
    EXPECT_EQ(m_dialogs.messages[1].text, m_dialogs.messages[0].text);

    m_playlist.Select(Full - 2); // the last entry is scrolled into view
    EXPECT_EQ(List().currentIndex().row(), Full - 2);
    EXPECT_TRUE(List().viewport()->rect().intersects(List().visualRect(List().currentIndex())));
}

TEST_F(MainWindow, TransportButtonsWhatThePlayShowsAndTheSliderSeeksWhenLetGo)
{
    const QString wav = m_dir.filePath("tone.wav");
    fixtures::WriteWav(wav, fixtures::Tone(440, 20));
    (void)m_playlist.Append(wav, "tone.wav", true); // and selected
    m_transport.SkinButtonRewind().SetVisible(false); // as a CD track leaves it
    EXPECT_FALSE(Find("SkinButtonRewind").isVisible());
    auto& slider = Find<PositionSlider>("Slider1");
    const auto value = [&] { return slider.Control().Position(); };
    EXPECT_FALSE(slider.isEnabled());

    Click("SkinButtonPlay");
    EXPECT_TRUE(m_transport.Playing());
    EXPECT_TRUE(Find("SkinButtonRewind").isVisible());
    EXPECT_TRUE(slider.isEnabled());
    EXPECT_EQ(slider.Control().Maximum(), 20000);
    Click("SkinButtonPause");
    EXPECT_TRUE(m_engine->waveOut().State() & WaveOut::Paused);
    Click("SkinButtonForward"); // five seconds on, and the play resumes
    EXPECT_EQ(value(), 5000);
    EXPECT_FALSE(m_engine->waveOut().State() & WaveOut::Paused);
    m_program.timeDisplay().Timer2_Timer();
    EXPECT_EQ(Text("TextTime"), "00:05");
    m_program.songDetails().SetTextDisplay("   -- A TITLE");
    EXPECT_EQ(Text("TextDisplay"), "   -- A TITLE");

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
}

TEST_F(MainWindow, OptionButtonsAndMenuChecksAgreeBothWays)
{
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
    // Set on Top chosen twice ends where it began; the same window stays shown throughout.
    const WId window = m_window.winId();
    QSignalSpy shownOrHidden(m_window.windowHandle(), &QWindow::visibleChanged);
    for (bool on : {true, false}) {
        item("setOnTop")->trigger();
        EXPECT_EQ(item("setOnTop")->isChecked(), on);
        EXPECT_EQ(bool(m_window.windowFlags() & Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(bool(m_window.windowHandle()->flags() & Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(m_window.isVisible());
        EXPECT_EQ(m_window.winId(), window);
        EXPECT_EQ(shownOrHidden.size(), 0);
        EXPECT_EQ(m_program.settings()[SettingKey::setTop], on ? "1" : "0");
    }
}

TEST_F(MainWindow, PresetPopupBandSlidersAndBars)
{
    Click("SkinButtonPresets");
    QMenu& presets = m_window.PresetMenu();
    EXPECT_TRUE(presets.isVisible());
    presets.hide();
    QStringList shown; // each item chooses its own preset number and carries the check
    for (QAction* item : presets.actions()) {
        if (item->isSeparator()) {
            shown << "-";
            continue;
        }
        item->trigger();
        shown << item->text() + " " + m_program.settings()[SettingKey::equalizerPreset];
        for (const QAction* other : presets.actions())
            EXPECT_EQ(other->isChecked(), other == item) << qPrintable(other->text());
    }
    EXPECT_EQ(shown, (QStringList{"My Settings 1", "-", "Classical 2", "Dance 3", "Default 4",
                                  "Full Bass 5", "Full Treble 6", "Party 7", "Pop 8",
                                  "Soft Rock 10", "Reggae 9", "Techno 11"}));
    presets.findChild<QAction*>("pop")->trigger();
    auto& band3 = Find<BandSlider>("SliderBand3"); // 260 Hz
    EXPECT_EQ(band3.Control().Position(), 6);
    QTest::keyClick(&band3, Qt::Key_Up);
    EXPECT_EQ(m_program.equalizer().SliderBand(3).Position(), 7);

    QTest::keyClick(&Find("SkinScrollBarVolume"), Qt::Key_Right);
    QTest::keyClick(&Find("SkinScrollBarBalance"), Qt::Key_Left);
    EXPECT_EQ(m_program.settings()[SettingKey::volume], "55");
    EXPECT_EQ(m_program.settings()[SettingKey::balance], "-20");
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
            const QPalette& p = window->palette();
            EXPECT_EQ(p.color(QPalette::Window), skin.color(QPalette::Window)) << name;
            EXPECT_EQ(p.color(QPalette::Highlight), skin.color(QPalette::Highlight)) << name;
            for (auto [text, ground] : {std::pair{QPalette::WindowText, QPalette::Window},
                                        {QPalette::Text, QPalette::Base},
                                        {QPalette::ButtonText, QPalette::Button},
                                        {QPalette::HighlightedText, QPalette::Highlight}})
                EXPECT_GE(Contrast(p.color(text), p.color(ground)), 4.5) << name << " " << text;
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
        // The modal ones while they are open.
        const auto whileOpen = [&] {
            QTimer::singleShot(0, [&] {
                expectLook(QApplication::activeModalWidget());
                QApplication::activeModalWidget()->close();
            });
        };
        whileOpen();
        dialogs.ShowMessage("A message", "", MessageIcon::Information);
        whileOpen();
        (void)dialogs.ChooseFileToOpen({{"Playlists", {"*.qlt"}}}, m_dir.path());
        EXPECT_EQ(seen, 6) << percent;
    }
    m_window.Menu().findChild<QAction*>("size100")->trigger();
    QFile::remove(WindowSize::ConfigFile());
}

TEST_F(MainWindow, CloseExitAndCentring)
{
    m_window.Menu().findChild<QAction*>("exit")->trigger();
    EXPECT_EQ(m_exits, 1);
    EXPECT_EQ(m_unloads, 0);

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

// The assembled program: a tagged MP3 on the command line shows in the window, selected;
// local files dropped on the window are added (nothing plays), anything else is refused.
TEST(Jukebox, ATaggedMp3OnTheCommandLineShowsSelectedAndDroppedFilesAreAdded)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav"), mp3 = dir.filePath("song.MP3");
    fixtures::WriteWav(wav, fixtures::Tone(440, 0.3));
    fixtures::EncodeMp3(wav, mp3);
    fixtures::AppendId3v1(mp3, "Title", "Artist", "", "", "", 8); // Jazz
    qunsetenv("DBUS_SESSION_BUS_ADDRESS"); // no session bus: the player works all the same
    Jukebox jukebox(SilentEngine(dir.filePath("nodisc.cue")), dir.path() + "/", {mp3}, dir.path());
    jukebox.Start();
    frmMain& window = jukebox.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QModelIndex current = window.ListBoxDisplay().currentIndex();
    EXPECT_EQ(current.row(), 0);
    EXPECT_EQ(current.data().toString(), "Artist - Title [Jazz]");
    EXPECT_TRUE(window.ListBoxDisplay().selectionModel()->isSelected(current));
    EXPECT_EQ(window.findChild<QLabel*>("TextTotalFiles")->text(), "Total: 1");
    EXPECT_EQ(window.findChild<QLabel*>("TextPosition")->text(), "Pos: 1");

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

    // Minimised, the time display and the marquee rest; shown again, they are brought up to
    // date at once and run on.
    Program& program = jukebox.program();
    window.showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !program.Timer2().isActive(); }, 1000));
    EXPECT_FALSE(program.TimerScroller().isActive());
    program.timeDisplay().TextTime().SetText("12:34");
    window.showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.TimerScroller().isActive(); }, 1000));
    EXPECT_TRUE(program.Timer2().isActive());
    EXPECT_EQ(window.findChild<QLabel*>("TextTime")->text(), "00:00");

    EXPECT_FALSE(Drop({QUrl::fromLocalFile(wav), QUrl("https://example.org/a.mp3")}));
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(dir.path())}));
    EXPECT_EQ(jukebox.program().playlist().Sources(), (QStringList{mp3, mp3, wav}));
    EXPECT_EQ(window.findChild<QLabel*>("TextTotalFiles")->text(), "Total: 3");
    EXPECT_FALSE(jukebox.program().transport().Playing());
}

} // namespace
} // namespace quillet
