// Everything that blocks on the user: message boxes and file dialogs. The program calls
// only this interface; ui/ implements it with Qt, tests with a scripted fake.
// UI thread only.
#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

enum class MessageIcon { None, Critical, Exclamation, Information };

// One entry of a file dialog's filter list: "Media files (all types)" with its patterns.
struct FileFilter {
    QString description;
    QStringList patterns;  // "*.mp3", … matched in any letter case
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A modal message box with an OK button. An empty title shows the application's title.
    virtual void ShowMessage(const QString& text, const QString& title, MessageIcon icon) = 0;

    // Open dialog allowing several files; the chosen full paths in the dialog's order,
    // empty when cancelled. startDir "" opens in the dialog's default place.
    [[nodiscard]] virtual QStringList ChooseFilesToOpen(const QList<FileFilter>& filters,
                                                        const QString& startDir) = 0;
    // Open dialog for one file; "" when cancelled.
    [[nodiscard]] virtual QString ChooseFileToOpen(const QList<FileFilter>& filters,
                                                   const QString& startDir) = 0;
    // Save dialog without an overwrite question or default extension; "" when cancelled.
    [[nodiscard]] virtual QString ChooseFileToSave(const QList<FileFilter>& filters,
                                                   const QString& startDir) = 0;

    // Shows and activates the main window (after a message about a playlist file).
    virtual void ActivateMainWindow() = 0;
};

}  // namespace quillet
