// The assembled program in this process (offscreen): a tagged MP3 on the command line shows
// in the window, selected, with its total and position; closing writes the settings.
#include "app/jukebox.h"
#include "components/audio/engine.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"

#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet {
namespace {

std::unique_ptr<AudioEngine> SilentEngine()
{
    audio::EngineOptions options;
    options.output = audio::OutputKind::NullFast;
    return audio::CreateAudioEngine(options);
}

TEST(Jukebox, ATaggedMp3OnTheCommandLineShowsSelectedWithItsTotalAndPosition)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    const QString mp3 = dir.filePath("song.MP3");
    fixtures::WriteWav(wav, fixtures::Tone(440, 0.3));
    fixtures::EncodeMp3(wav, mp3);
    fixtures::AppendId3v1(mp3, "Title", "Artist", "", "", "", 8); // Jazz

    Jukebox jukebox(SilentEngine(), dir.path() + "/", mp3);
    jukebox.Start();
    frmMain& window = jukebox.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QModelIndex current = window.ListBoxDisplay().currentIndex();
    EXPECT_EQ(current.row(), 0);
    EXPECT_EQ(current.data().toString(), "Artist - Title [Jazz]");
    EXPECT_TRUE(window.ListBoxDisplay().selectionModel()->isSelected(current));
    EXPECT_EQ(window.findChild<QLabel*>("TextTotalFiles")->text(), "Total: 1");
    EXPECT_EQ(window.findChild<QLabel*>("TextPosition")->text(), "Pos: 1");
    EXPECT_EQ(window.windowTitle(), " Quillet Jukebox");

    window.close(); // the system's close: the unload sequence runs
    EXPECT_TRUE(test::ReadFile(dir.filePath("xquilletmp3.ini")).startsWith("[display]\n"));
}

} // namespace
} // namespace quillet
