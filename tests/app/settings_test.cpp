// Settings texts, the settings file they travel through, and the command-line table.
#include "app/commandline.h"
#include "app/settings.h"
#include "tests/support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

constexpr char AllKeysEmpty[] = "[display]\ncontinuousPlay=\nsetTop=\nrandomOrder=\nvolume=\n"
                                "balance=\n[equalizer]\nequalizerPreset=\ndb32=\ndb64=\ndb130=\n"
                                "db260=\ndb500=\ndb1K=\ndb2K=\ndb4K=\ndb8K=\ndb16K=\n";

TEST(Settings, WritingCreatesTheFileWithAllSixteenKeysInOrder)
{
    QTemporaryDir dir;
    const QString path = SettingsFilePath(dir.path() + "/");
    EXPECT_TRUE(path.endsWith("/xquilletmp3.ini"));
    Settings().WriteAll(path);
    EXPECT_EQ(test::ReadFile(path), AllKeysEmpty);
}

TEST(Settings, TextsGoBackExactlyAsTheyCame)
{
    QTemporaryDir dir;
    const QString path = SettingsFilePath(dir.path() + "/");
    const QByteArray before = "; mine\n[display]\ncontinuousPlay=yes please\nvolume=loud\n"
                              "setTop=1\n[equalizer]\ndb1K=-4\nmyOwnKey=kept\n";
    test::WriteFile(path, before);
    Settings settings;
    for (int k = 0; k < SettingCount; ++k)
        settings.Read(SettingKey(k), path);
    EXPECT_EQ(settings[SettingKey::continuousPlay], "yes please");
    EXPECT_FALSE(IsOn(settings[SettingKey::continuousPlay]));
    EXPECT_TRUE(IsOn(settings[SettingKey::setTop]));
    EXPECT_EQ(settings[SettingKey::db1K], "-4");
    EXPECT_EQ(settings[SettingKey::db16K], "");

    settings.WriteAll(path);
    EXPECT_EQ(test::ReadFile(path), "; mine\n[display]\ncontinuousPlay=yes please\nvolume=loud\n"
                                    "setTop=1\nrandomOrder=\nbalance=\n[equalizer]\ndb1K=-4\n"
                                    "myOwnKey=kept\nequalizerPreset=\ndb32=\ndb64=\ndb130=\n"
                                    "db260=\ndb500=\ndb2K=\ndb4K=\ndb8K=\ndb16K=\n");
}

TEST(Settings, OnlyTheExactTextOneIsOn)
{
    EXPECT_TRUE(IsOn("1"));
    for (const char* text : {"", "0", " 1", "1 ", "01", "true", "-1"})
        EXPECT_FALSE(IsOn(text)) << text;
}

TEST(Settings, WholeNumbersRoundHalvesToEven)
{
    EXPECT_EQ(ToWholeNumber("12000"), 12000);
    EXPECT_EQ(ToWholeNumber(" -8000 "), -8000);
    EXPECT_EQ(ToWholeNumber("+7"), 7);
    EXPECT_EQ(ToWholeNumber("2.5"), 2);
    EXPECT_EQ(ToWholeNumber("3.5"), 4);
    EXPECT_EQ(ToWholeNumber("-2.5"), -2);
    EXPECT_EQ(ToWholeNumber("2.51"), 3);
    EXPECT_EQ(ToWholeNumber(".5"), 0);
    EXPECT_EQ(ToWholeNumber("1e3"), 1000);
    EXPECT_EQ(ToWholeNumber("32767"), 32767);
    EXPECT_EQ(ToWholeNumber("-32768"), -32768);
}

TEST(Settings, UnusableNumbersAreRefused)
{
    for (const char* text :
         {"", " ", "abc", "12abc", "1 2", "--1", "0x10", "inf", "nan", "1e", "\xD9\xA1", "."})
        EXPECT_THROW((void)ToWholeNumber(QString::fromUtf8(text)), std::invalid_argument) << text;
    EXPECT_THROW((void)ToWholeNumber("32768"), std::out_of_range);
    EXPECT_THROW((void)ToWholeNumber("-40000"), std::out_of_range);
    EXPECT_THROW((void)ToWholeNumber("1e400"), std::invalid_argument);
}

TEST(CommandLine, ArgumentsAreJoinedWithOneBlankAndTrimmed)
{
    EXPECT_EQ(JoinCommandLine({}), "");
    EXPECT_EQ(JoinCommandLine({"/music/My Song.mp3"}), "/music/My Song.mp3");
    EXPECT_EQ(JoinCommandLine({"/music/My", "Song.mp3"}), "/music/My Song.mp3");
    EXPECT_EQ(JoinCommandLine({"", " LCDA ", ""}), "LCDA");
    EXPECT_EQ(JoinCommandLine({"\"/a b.mp3\""}), "\"/a b.mp3\"");
}

TEST(CommandLine, TheLastFourCharactersInAnyCaseDecide)
{
    using A = CommandLineAction;
    const struct {
        const char* line;
        A action;
    } rows[] = {
        {"/m/a.mp3", A::AddMediaFileAndPlay},
        {"/m/a.Mp2", A::AddMediaFileAndPlay},
        {"/m/a.MP1", A::AddMediaFileAndPlay},
        {"/m/a.wav", A::AddMediaFileAndPlay},
        {"/m/list.qlt", A::LoadPlaylistFile},
        {"/m/LIST.QLT", A::LoadPlaylistFile},
        {"/cd/Track01.cda", A::AddCdTrackAndPlay},
        {"LCDA", A::LoadCdTracksAndPlay},
        {"lcda", A::LoadCdTracksAndPlay},
        {"lCdA", A::LoadCdTracksAndPlay},
        {"/m/xlcda", A::LoadCdTracksAndPlay}, // only the last four characters count
        {"\"/m/a.mp3\"", A::None},
        {"/m/a.ogg", A::None},
        {"mp3", A::None},
        {".mp3 ", A::None},
        {"", A::None},
        {"/m/a.mp3x", A::None},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ActionFor(QString::fromUtf8(row.line)), row.action) << row.line;
}

} // namespace
} // namespace quillet
