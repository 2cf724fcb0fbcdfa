// The start-up association on the user's real files in private base directories: what a
// clean start writes, which entries are left alone or written again, and what happens where
// nothing can be written. (A desktop launcher running the document entry is the installed
// program's end-to-end test.)
#include "app/shellintegration.h"
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;
using test::WriteFile;

QByteArray AudioCdEntry(const QByteArray& exec)
{
    return "[Desktop Entry]\nType=Application\nName=Quillet Jukebox\nIcon=quillet-jukebox\n"
           "Exec=" +
           exec + "\nMimeType=x-content/audio-cdda;\nNoDisplay=true\nTerminal=false\n";
}

const QByteArray DocumentLines = "audio/mpeg=QuilletJukebox.Document.desktop\n"
                                 "audio/mp2=QuilletJukebox.Document.desktop\n"
                                 "audio/x-mp1=QuilletJukebox.Document.desktop\n"
                                 "application/x-cda=QuilletJukebox.Document.desktop\n"
                                 "audio/x-wav=QuilletJukebox.Document.desktop\n";

// One user's base directories through several starts.
TEST(ShellIntegration,
     ACleanStartWritesAllSixEntriesNamingUsAreLeftAloneOthersTakenBackWhatCannotBeWrittenIsLeft)
{
    test::PrivateXdg xdg;
    const QString audioCdEntry = xdg.Applications() + "/" + AudioCdDesktopId;
    StartupAssociation("/opt/Quillet Jukebox/");
    const QByteArray all = "[Default Applications]\n"
                           "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n" +
                           DocumentLines;
    EXPECT_EQ(ReadFile(xdg.MimeApps()), all);
    EXPECT_EQ(ReadFile(audioCdEntry),
              AudioCdEntry("\"/opt/Quillet Jukebox/quillet-jukebox\" LCDA"));
    const QString document = xdg.Applications() + "/" + DocumentDesktopId;
    EXPECT_EQ(ReadFile(document), DocumentDesktopEntry("/opt/Quillet Jukebox/"));
    EXPECT_TRUE(ReadFile(document).contains("Exec=\"/opt/Quillet Jukebox/quillet-jukebox\" %F\n"));

    // Our command from an earlier start is kept.
    const QByteArray oldEntry = AudioCdEntry("/usr/lib/quillet-jukebox/quillet-jukebox LCDA");
    WriteFile(audioCdEntry, oldEntry);
    // Ours in any case and with fallbacks after it: kept; others, fallbacks after them and
    // empty values: taken back.
    const QByteArray kept = "# my associations\n"
                            "[Added Associations]\n"
                            "audio/x-wav=other-player.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n"
                            "audio/mpeg=quilletjukebox.document.desktop\n"
                            "audio/mp2=QuilletJukebox.Document.desktop;other-player.desktop;\n";
    const QByteArray keptAfter = "text/html=browser.desktop\n"
                                 "\n"
                                 "[Removed Associations]\n"
                                 "audio/mpeg=another.desktop\n";
    WriteFile(xdg.MimeApps(),
              kept +
                  "audio/x-mp1=other-player.desktop;QuilletJukebox.Document.desktop;\n"
                  "application/x-cda=\n"
                  "audio/x-wav=other-player.desktop\n" +
                  keptAfter);
    StartupAssociation("/home/ann/Moved/");
    EXPECT_EQ(ReadFile(xdg.MimeApps()), kept +
                                            "audio/x-mp1=QuilletJukebox.Document.desktop\n"
                                            "application/x-cda=QuilletJukebox.Document.desktop\n"
                                            "audio/x-wav=QuilletJukebox.Document.desktop\n" +
                                            keptAfter);
    EXPECT_EQ(ReadFile(audioCdEntry), oldEntry) << "keeps its first directory";

    // Another program took the audio CDs: taken back with the directory of this start.
    WriteFile(xdg.MimeApps(), "[Default Applications]\nx-content/audio-cdda=cd-ripper.desktop\n");
    StartupAssociation("/home/ann/Moved/");
    EXPECT_EQ(ReadFile(audioCdEntry), AudioCdEntry("/home/ann/Moved/quillet-jukebox LCDA"));
    EXPECT_TRUE(ReadFile(xdg.MimeApps())
                    .startsWith("[Default Applications]\n"
                                "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n"));

    // The command cannot be written: the audio CDs stay with their program, the rest go on.
    WriteFile(xdg.Path("file"), "x");
    test::PrivateXdg::Set("XDG_DATA_HOME", xdg.Path("file/data"));
    WriteFile(xdg.MimeApps(), "[Default Applications]\nx-content/audio-cdda=cd.desktop\n");
    StartupAssociation("/opt/quillet/");
    EXPECT_EQ(ReadFile(xdg.MimeApps()),
              "[Default Applications]\nx-content/audio-cdda=cd.desktop\n" + DocumentLines);
    // Nothing can be written: left quietly.
    test::PrivateXdg::Set("XDG_CONFIG_HOME", xdg.Path("file/config"));
    StartupAssociation("/opt/quillet/");
    EXPECT_EQ(ReadFile(xdg.Path("file")), "x");
}

} // namespace
} // namespace quillet
