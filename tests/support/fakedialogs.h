// Scripted user dialogs for tests: file dialogs answer from queues the test fills (an empty
// queue answers "cancelled"), and every message box and dialog request is recorded with
// what it was given. UI thread.
#pragma once

#include "platform/userdialogs.h"

#include <QList>
#include <QStringList>

namespace quillet::test {

struct RecordedMessage {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

class FakeDialogs : public UserDialogs {
public:
    // Scripted answers, taken front first.
    QList<QStringList> filesToOpen;
    QStringList fileToOpen;
    QStringList fileToSave;

    // What the program asked for.
    QList<RecordedMessage> messages;
    QStringList fileDialogFolders; // where each file dialog opened

    void ShowMessage(const QString& text, const QString& title, MessageIcon icon) override
    {
        messages.append({text, title, icon});
    }
    QStringList ChooseFilesToOpen(const QList<FileFilter>&, const QString& startDir) override
    {
        return Answer(startDir, filesToOpen);
    }
    QString ChooseFileToOpen(const QList<FileFilter>&, const QString& startDir) override
    {
        return Answer(startDir, fileToOpen);
    }
    QString ChooseFileToSave(const QList<FileFilter>&, const QString& startDir) override
    {
        return Answer(startDir, fileToSave);
    }
    void ActivateMainWindow() override {}

private:
    template <typename T> T Answer(const QString& startDir, QList<T>& answers)
    {
        fileDialogFolders.append(startDir);
        return answers.isEmpty() ? T() : answers.takeFirst();
    }
};

} // namespace quillet::test
