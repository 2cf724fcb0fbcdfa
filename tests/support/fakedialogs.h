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

// One file-dialog request: which dialog ("open files", "open file", "save file"), its
// filters and the folder it opened in.
struct RecordedFileDialog {
    QString kind;
    QList<FileFilter> filters;
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
    QStringList ChooseFilesToOpen(const QList<FileFilter>& filters,
                                  const QString& startDir) override
    {
        fileDialogs.append({QStringLiteral("open files"), filters, startDir});
        return filesToOpen.isEmpty() ? QStringList() : filesToOpen.takeFirst();
    }
    QString ChooseFileToOpen(const QList<FileFilter>& filters, const QString& startDir) override
    {
        fileDialogs.append({QStringLiteral("open file"), filters, startDir});
        return fileToOpen.isEmpty() ? QString() : fileToOpen.takeFirst();
    }
    QString ChooseFileToSave(const QList<FileFilter>& filters, const QString& startDir) override
    {
        fileDialogs.append({QStringLiteral("save file"), filters, startDir});
        return fileToSave.isEmpty() ? QString() : fileToSave.takeFirst();
    }
    void ActivateMainWindow() override { ++activations; }
};

} // namespace quillet::test
