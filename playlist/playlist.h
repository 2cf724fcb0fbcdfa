// The playlist: each entry is a source (a file path, or a CD track index as decimal text)
// and its display name, kept as two parallel lists. At most one entry is selected; the
// selected entry is the one that plays. UI thread only. changed() fires after every
// operation, once both sides agree.
#pragma once

#include <QObject>
#include <QStringList>

namespace quillet {

class Playlist : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxEntries = 32767;

    explicit Playlist(QObject* parent = nullptr);

    [[nodiscard]] int Count() const { return int(m_sources.size()); }
    [[nodiscard]] int SelectedIndex() const { return m_selected; }  // -1: none
    [[nodiscard]] QString SelectedSource() const;                    // "" when none
    [[nodiscard]] const QStringList& Sources() const { return m_sources; }  // ListBoxFiles
    [[nodiscard]] const QStringList& Names() const { return m_names; }      // ListBoxDisplay

    // Appends one entry (source first, then name); selects it when select is true.
    // Returns false, adding nothing, when the list already holds MaxEntries.
    bool Append(const QString& source, const QString& displayName, bool select);
    void Select(int index);  // the selection rule: also rewrites TextPosition
    void RemoveSelectedEntry();
    void ClearPlaylist();
    void MoveEntryUp();
    void MoveEntryDown();
    void SetTextTotalFiles(const QString& text);  // for fillers that rewrite the total

    [[nodiscard]] const QString& TextTotalFiles() const { return m_totalText; }
    [[nodiscard]] const QString& TextPosition() const { return m_positionText; }

signals:
    void changed();

private:
    QStringList m_sources;
    QStringList m_names;
    int m_selected = -1;
    QString m_totalText;
    QString m_positionText;
};

}  // namespace quillet
