// The user dialogs with Qt: message boxes with the program's texts, titles and icons, and
// the file dialogs (several media files at once; playlists in the playlist folder; names
// matched in any letter case; saving without an overwrite question or added extension).
// UI thread only.
#pragma once

#include "platform/userdialogs.h"

#include <QPointer>
#include <QWidget>

namespace quillet {

inline constexpr char AppTitle[] = "Quillet Jukebox";

class QtUserDialogs : public UserDialogs {
public:
    // The window dialogs are centred on and that ActivateMainWindow brings forward.
    void SetMainWindow(QWidget* window) { m_window = window; }

    void ShowMessage(const QString& text, const QString& title, MessageIcon icon) override;
    QStringList ChooseFilesToOpen(const QList<FileFilter>& filters,
                                  const QString& startDir) override;
    QString ChooseFileToOpen(const QList<FileFilter>& filters, const QString& startDir) override;
    QString ChooseFileToSave(const QList<FileFilter>& filters, const QString& startDir) override;
    void ActivateMainWindow() override;

    // "Description (*.[mM][pP]3 …)": the patterns as globs that match in any letter case.
    // The dialog shows only the description (the details are hidden).
    [[nodiscard]] static QStringList NameFilters(const QList<FileFilter>& filters);

private:
    QPointer<QWidget> m_window;
};

} // namespace quillet
