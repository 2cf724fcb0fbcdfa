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

// One file-dialog request: which dialog ("open files", "open file", "save file") and the
// folder it opened in.
struct RecordedFileDialog {
    QString kind;
    QString startDir;
};

class FakeDialogs : public UserDialogs {
public:
    // Scripted answers, taken front first.
    QList<QStringList> filesToOpen;
    QStringList fileToOpen;
    QStringList fileToSave;

    // What the program asked for.
    QList<RecordedMessage> messages;
    QList<RecordedFileDialog> fileDialogs;
    int activations = 0;

    void ShowMessage(const QString& text, const QString& title, MessageIcon icon) override
    {
        messages.append({text, title, icon});
    }
    QStringList ChooseFilesToOpen(const QList<FileFilter>&, const QString& startDir) override
    {
        return Answer("open files", startDir, filesToOpen);
    }
    QString ChooseFileToOpen(const QList<FileFilter>&, const QString& startDir) override
    {
        return Answer("open file", startDir, fileToOpen);
    }
    QString ChooseFileToSave(const QList<FileFilter>&, const QString& startDir) override
    {
        return Answer("save file", startDir, fileToSave);
    }
    void ActivateMainWindow() override { ++activations; }

private:
    template <typename T> T Answer(const char* kind, const QString& startDir, QList<T>& answers)
    {
        fileDialogs.append({QString::fromLatin1(kind), startDir});
        return answers.isEmpty() ? T() : answers.takeFirst();
    }
};

} // namespace quillet::test
