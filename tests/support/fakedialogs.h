// Scripted user dialogs for tests: file dialogs answer from queues the test fills (an empty
// queue answers "cancelled"), and the text of every message box is recorded. UI thread.
#pragma once

#include "platform/userdialogs.h"

#include <QList>
#include <QStringList>

namespace quillet::test {

class FakeDialogs : public UserDialogs {
public:
    // Scripted answers, taken front first.
    QList<QStringList> filesToOpen;
    QStringList fileToOpen;
    QStringList fileToSave;

    QStringList messages; // the text of each message box shown

    void ShowMessage(const QString& text, const QString&, MessageIcon) override
    {
        messages.append(text);
    }
    QStringList ChooseFilesToOpen(const QList<FileFilter>&, const QString&) override
    {
        return Answer(filesToOpen);
    }
    QString ChooseFileToOpen(const QList<FileFilter>&, const QString&) override
    {
        return Answer(fileToOpen);
    }
    QString ChooseFileToSave(const QList<FileFilter>&, const QString&) override
    {
        return Answer(fileToSave);
    }
    void ActivateMainWindow() override {}

private:
    template <typename T> static T Answer(QList<T>& answers)
    {
        return answers.isEmpty() ? T() : answers.takeFirst();
    }
};

} // namespace quillet::test
