// Opening documents through the desktop's real opener, with a private default application
// that records what it was handed: a local help page and a web address both reach it.
#include "platform/opendocument.h"
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;
using test::WriteFile;

TEST(OpenDocument, AHelpPageAndAWebAddressReachTheDefaultApplication)
{
    if (QStandardPaths::findExecutable("xdg-open").isEmpty())
        GTEST_SKIP() << "needs xdg-open";
    test::PrivateXdg xdg;
    // The opener's generic path: no desktop session of its own, a display present, and no
    // browser to fall back on.
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("DISPLAY", ":0");
    qputenv("BROWSER", "false");

    const QString record = xdg.Path("opened.txt"), recorder = xdg.Path("recorder.sh");
    WriteFile(recorder, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + record.toUtf8() + "'\n");
    QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteFile(xdg.Applications() + "/recorder.desktop",
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + recorder.toUtf8() +
                  " %u\nMimeType=text/html;x-scheme-handler/https;\n");
    WriteFile(xdg.MimeApps(), "[Default Applications]\ntext/html=recorder.desktop\n"
                              "x-scheme-handler/https=recorder.desktop\n");
    // Whether the recorder was handed text (the opener runs it in the background).
    const auto handed = [&](const QByteArray& text) {
        const QDeadlineTimer deadline(8000);
        while (!ReadFile(record).contains(text) && !deadline.hasExpired())
            QThread::msleep(50);
        return ReadFile(record).contains(text);
    };

    const QString page = xdg.Path("program/help.htm");
    WriteFile(page, "<!DOCTYPE html>\n<html><body><p>Help</p></body></html>\n");
    EXPECT_TRUE(OpenDocument(page));
    EXPECT_TRUE(handed("program/help.htm"));
    const QByteArray address = "https://www.quillet.example/musicdirectory.htm";
    EXPECT_TRUE(OpenDocument(address));
    EXPECT_TRUE(handed(address));

    // Nothing to open: refused before any opener starts.
    for (const char* text : {"", "help.htm", "www.quillet.example"})
        EXPECT_FALSE(OpenDocument(text)) << text;
}

} // namespace
} // namespace quillet
