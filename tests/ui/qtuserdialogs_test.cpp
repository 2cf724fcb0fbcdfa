// The Qt file dialogs as the user meets them: mode, folder, filters (any letter case) and save
// behaviour.
#include "tests/support/testsupport.h"
#include "ui/qtuserdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quillet {
namespace {

// Runs inspect on the modal dialog as soon as it is up (the dialog call blocks meanwhile).
template <typename Dialog> void WhenShown(std::function<void(Dialog&)> inspect)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            inspect(*dialog);
        }
    });
    timer->start();
}

// Chooses name in the file dialog and runs the dialog's own accept.
void Choose(QFileDialog& dialog, const QString& name)
{
    dialog.selectFile(name);
    static_cast<QDialog&>(dialog).accept();
}

const QList<FileFilter> Media = {{"Media files (all types)", {"*.mp3", "*.wav"}},
                                 {"Waveform (*.wav)", {"*.wav"}}};

TEST(QtUserDialogs, OpenChoosesSeveralFilesInTheirFolderAndSaveNeitherAsksNorAddsAnExtension)
{
    QTemporaryDir dir;
    for (const char* name : {"one.MP3", "two.wav", "old.qlt"})
        test::WriteFile(dir.filePath(name), "x");
    QtUserDialogs dialogs;
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(d.nameFilters(),
                  (QStringList{"Media files (all types) (*.[mM][pP]3 *.[wW][aA][vV])",
                               "Waveform (*.wav) (*.[wW][aA][vV])"}));
        EXPECT_EQ(d.directory().absolutePath(), QDir(dir.path()).absolutePath());
        Choose(d, "\"one.MP3\" \"two.wav\"");
    });
    EXPECT_EQ(dialogs.ChooseFilesToOpen(Media, dir.path()),
              (QStringList{dir.filePath("one.MP3"), dir.filePath("two.wav")}));
    WhenShown<QFileDialog>([](QFileDialog& d) { d.reject(); });
    EXPECT_TRUE(dialogs.ChooseFileToOpen(Media, dir.path()).isEmpty());

    const QList<FileFilter> lists = {{"Quillet Playlist(*.qlt)", {"*.qlt"}}};
    for (const char* name : {"old.qlt", "plain"}) { // no overwrite question, no suffix added
        WhenShown<QFileDialog>([&](QFileDialog& d) {
            EXPECT_TRUE(d.testOption(QFileDialog::DontConfirmOverwrite));
            Choose(d, dir.filePath(name));
        });
        EXPECT_EQ(dialogs.ChooseFileToSave(lists, dir.path()), dir.filePath(name));
    }
}

} // namespace
} // namespace quillet
