#include "ui/qtuserdialogs.h"

#include "platform/readfile.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quillet {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// "*.mp3" → "*.[mM][pP]3": the dialog compares names case-sensitively on this system.
QString AnyCaseGlob(const QString& pattern)
{
    QString glob;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower != upper)
            glob += QLatin1Char('[') + lower + upper + QLatin1Char(']');
        else
            glob += c;
    }
    return glob;
}

QStringList RunFileDialog(QWidget* parent, const QList<FileFilter>& filters,
                          const QString& startDir, QFileDialog::AcceptMode accept,
                          QFileDialog::FileMode mode)
{
    QFileDialog dialog(
        parent, QLatin1String(accept == QFileDialog::AcceptSave ? "Save As" : "Open"), startDir);
    dialog.setObjectName(QStringLiteral("CommonDialog"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                      QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    dialog.setNameFilters(QtUserDialogs::NameFilters(filters));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList chosen = dialog.selectedFiles();
    // The dialog lists names that are not UTF-8 with U+FFFD: back to the names on disk.
    for (QString& path : chosen)
        path = NameOnDisk(path);
    return chosen;
}

} // namespace

QStringList QtUserDialogs::NameFilters(const QList<FileFilter>& filters)
{
    QStringList result;
    for (const FileFilter& filter : filters) {
        QStringList globs;
        for (const QString& pattern : filter.patterns)
            globs += AnyCaseGlob(pattern);
        result += filter.description + QLatin1String(" (") + globs.join(QLatin1Char(' ')) +
                  QLatin1Char(')');
    }
    return result;
}

void QtUserDialogs::ShowMessage(const QString& text, const QString& title, MessageIcon icon)
{
    QMessageBox box(BoxIcon(icon), title.isEmpty() ? QLatin1String(AppTitle) : title, text,
                    QMessageBox::Ok, m_window);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

QStringList QtUserDialogs::ChooseFilesToOpen(const QList<FileFilter>& filters,
                                             const QString& startDir)
{
    return RunFileDialog(m_window, filters, startDir, QFileDialog::AcceptOpen,
                         QFileDialog::ExistingFiles);
}

QString QtUserDialogs::ChooseFileToOpen(const QList<FileFilter>& filters, const QString& startDir)
{
    return RunFileDialog(m_window, filters, startDir, QFileDialog::AcceptOpen,
                         QFileDialog::ExistingFile)
        .value(0);
}

QString QtUserDialogs::ChooseFileToSave(const QList<FileFilter>& filters, const QString& startDir)
{
    return RunFileDialog(m_window, filters, startDir, QFileDialog::AcceptSave, QFileDialog::AnyFile)
        .value(0);
}

void QtUserDialogs::ActivateMainWindow()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace quillet
