// The Qt dialogs as the user meets them: the message box's text, title and icon, and the
// file dialogs' mode, folder, filters (any letter case) and save behaviour.
#include "tests/support/testsupport.h"
#include "ui/qtuserdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
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

const QList<FileFilter> Media = {{"Media files (all types)", {"*.mp3", "*.wav"}},
                                 {"Waveform (*.wav)", {"*.wav"}}};

TEST(QtUserDialogs, MessageBoxShowsTextTitleAndIcon)
{
    QtUserDialogs dialogs;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        text = box.text();
        title = box.windowTitle();
        icon = box.icon();
        box.accept();
    });
    dialogs.ShowMessage("Error in ReadList", "Error", MessageIcon::Critical);
    EXPECT_EQ(text, "Error in ReadList");
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(icon, QMessageBox::Critical);

    WhenShown<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        icon = box.icon();
        box.accept();
    });
    dialogs.ShowMessage("No device", "", MessageIcon::Exclamation);
    EXPECT_EQ(title, "Quillet Jukebox");
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(QtUserDialogs, FiltersMatchExtensionsInAnyCase)
{
    const QStringList filters = QtUserDialogs::NameFilters(Media);
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], "Media files (all types) (*.[mM][pP]3 *.[wW][aA][vV])");
    const QStringList patterns = filters[0].section('(', 2).chopped(1).split(' ');
    for (const char* name : {"a.mp3", "B.MP3", "c.Wav", "my song.mP3"}) {
        bool matched = false;
        for (const QString& p : patterns)
            matched |= QRegularExpression(QRegularExpression::wildcardToRegularExpression(p))
                           .match(name)
                           .hasMatch();
        EXPECT_TRUE(matched) << name;
    }
}

TEST(QtUserDialogs, OpenDialogChoosesSeveralFilesInTheirFolder)
{
    QTemporaryDir dir;
    for (const char* name : {"one.MP3", "two.wav", "notes.txt"})
        test::WriteFile(dir.filePath(name), "x");
    QtUserDialogs dialogs;
    QFileDialog::FileMode mode{};
    QStringList shownFilters;
    QString folder;
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        mode = d.fileMode();
        shownFilters = d.nameFilters();
        folder = d.directory().absolutePath();
        d.selectFile("\"one.MP3\" \"two.wav\"");
        static_cast<QDialog&>(d).accept(); // runs the file dialog's own accept
    });
    const QStringList chosen = dialogs.ChooseFilesToOpen(Media, dir.path());
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(shownFilters.size(), 2);
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(chosen, (QStringList{dir.filePath("one.MP3"), dir.filePath("two.wav")}));

    WhenShown<QFileDialog>([](QFileDialog& d) { d.reject(); });
    EXPECT_TRUE(dialogs.ChooseFileToOpen(Media, dir.path()).isEmpty());
}

TEST(QtUserDialogs, SaveDialogNeitherAsksNorAddsAnExtension)
{
    QTemporaryDir dir;
    test::WriteFile(dir.filePath("old.qlt"), "x");
    QtUserDialogs dialogs;
    bool confirms = true;
    QString suffix = "?";
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        confirms = !d.testOption(QFileDialog::DontConfirmOverwrite);
        suffix = d.defaultSuffix();
        d.selectFile(dir.filePath("old.qlt"));
        static_cast<QDialog&>(d).accept(); // runs the file dialog's own accept
    });
    const QString chosen =
        dialogs.ChooseFileToSave({{"Quillet Playlist(*.qlt)", {"*.qlt"}}}, dir.path());
    EXPECT_FALSE(confirms);
    EXPECT_EQ(suffix, "");
    EXPECT_EQ(chosen, dir.filePath("old.qlt")); // accepted at once, no overwrite question

    WhenShown<QFileDialog>([&](QFileDialog& d) {
        d.selectFile(dir.filePath("plain"));
        static_cast<QDialog&>(d).accept(); // runs the file dialog's own accept
    });
    EXPECT_EQ(dialogs.ChooseFileToSave({{"Quillet Playlist(*.qlt)", {"*.qlt"}}}, dir.path()),
              dir.filePath("plain"));
}

} // namespace
} // namespace quillet
