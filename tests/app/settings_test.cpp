// How settings texts become switches and numbers, and the command-line table.
#include "app/commandline.h"
#include "app/settings.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

TEST(Settings, SwitchesAndWholeNumbers)
{
    EXPECT_TRUE(IsOn("1"));
    for (const char* text : {"", "0", " 1", "1 ", "01", "true", "-1", "yes please"})
        EXPECT_FALSE(IsOn(text)) << text;

    const struct {
        const char* text;
        int number;
    } numbers[] = {{" -8000 ", -8000}, {"+7", 7},         {"2.5", 2}, {"3.5", 4},
                   {"-2.5", -2},       {"2.51", 3},       {".5", 0},  {"1e3", 1000},
                   {"32767", 32767},   {"-32768", -32768}};
    for (const auto& row : numbers)
        EXPECT_EQ(ToWholeNumber(row.text), row.number) << row.text;
    for (const char* text : {"", " ", "abc", "12abc", "1 2", "--1", "0x10", "inf", "nan", "1e",
                             "\xD9\xA1", ".", "1e400"})
        EXPECT_THROW((void)ToWholeNumber(QString::fromUtf8(text)), std::invalid_argument) << text;
    EXPECT_THROW((void)ToWholeNumber("32768"), std::out_of_range);
    EXPECT_THROW((void)ToWholeNumber("-40000"), std::out_of_range);
}

TEST(Settings, BesideTheBinaryOrWhereTheUserCanWrite)
{
    QTemporaryDir dir;
    EXPECT_EQ(SettingsFilePath(dir.path() + "/"), dir.path() + "/xquilletmp3.ini");
    // A program directory the user cannot write (here: one that is not there) sends the
    // options to the user's configuration folder, made ready for the write.
    const QString elsewhere = SettingsFilePath(dir.filePath("gone") + "/");
    EXPECT_EQ(elsewhere,
              qEnvironmentVariable("XDG_CONFIG_HOME") + "/quillet-jukebox/xquilletmp3.ini");
    EXPECT_TRUE(QDir(qEnvironmentVariable("XDG_CONFIG_HOME") + "/quillet-jukebox").exists());
}

TEST(CommandLine, JoinedTrimmedAndDecidedByTheLastFourCharactersInAnyCase)
{
    EXPECT_EQ(JoinCommandLine({}), "");
    EXPECT_EQ(JoinCommandLine({"/music/My", "Song.mp3"}), "/music/My Song.mp3");
    EXPECT_EQ(JoinCommandLine({"", " LCDA ", ""}), "LCDA");

    // (One line of each action, as the program acts on it, is in the program's tests.)
    for (const char* line : {"/m/a.mp3", "/m/a.Mp2", "/m/a.MP1", "/m/a.wav"})
        EXPECT_EQ(ActionFor(line), CommandLineAction::AddMediaFileAndPlay) << line;
    EXPECT_EQ(ActionFor("/m/xlcda"), CommandLineAction::LoadCdTracksAndPlay);
    for (const char* line : {"/m/a.ogg", ".mp3 ", "/m/a.mp3x"})
        EXPECT_EQ(ActionFor(line), CommandLineAction::None) << line;
}

} // namespace
} // namespace quillet
