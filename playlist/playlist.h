// The playlist: each entry is a source (a file path, or a CD track index as decimal text)
// and its display name, kept as two parallel lists. At most one entry is selected; the
// selected entry is the one that plays. UI thread only. Indices are 0-based, at most
// MaxEntries entries.
//
// Notifications: changed() fires once after every operation (once per batch inside a
// Batch), when both lists agree. The finer signals let a list view follow cheaply: rows
// appended (after the fact, one signal per operation or batch), rows about to be removed
// and removed, a row about to move and moved, the whole list about to be cleared and
// cleared, and the selection.
#pragma once

#include "tags/displayname.h"

#include <QObject>
#include <QStringList>

namespace quillet {

class Playlist : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxEntries = 32767;

    explicit Playlist(QObject* parent = nullptr);

    [[nodiscard]] int Count() const { return int(m_sources.size()); }
    [[nodiscard]] int SelectedIndex() const { return m_selected; }         // -1: none
    [[nodiscard]] QString SelectedSource() const;                          // "" when none
    [[nodiscard]] const QStringList& Sources() const { return m_sources; } // ListBoxFiles
    [[nodiscard]] const QStringList& Names() const { return m_names; }     // ListBoxDisplay
    [[nodiscard]] const QString& TextTotalFiles() const { return m_totalText; }
    [[nodiscard]] const QString& TextPosition() const { return m_positionText; }

    // Appends one entry (source first, then name) and, when select is true, selects it
    // through the selection rule. Returns false, adding nothing, when the list is full.
    [[nodiscard]] bool Append(const QString& source, const QString& displayName, bool select);

    // The selection rule, for the user's and the program's selections alike: selects index
    // in both lists and sets TextPosition to "Pos: " and index + 1. -1 removes the
    // selection and empties TextPosition; any other index outside the list is ignored.
    void Select(int index);

    // Removes the selected entry and selects the one before it (entry 0 when the first was
    // removed); TextTotalFiles shows the new count. Removing the only entry empties both
    // texts. With nothing selected nothing is removed and the total is rewritten.
    void RemoveSelectedEntry();
    // Empties both lists and both texts. Playback is not touched.
    void ClearPlaylist();
    // Swap the selected entry with its neighbour; it stays selected. Nothing happens with
    // no selection, or at the top (Up) or bottom (Down). TextTotalFiles is not touched.
    void MoveEntryUp();
    void MoveEntryDown();

    // TextTotalFiles becomes "Total: " and the count, as the fillers write it.
    void ShowTotal();

    // The scratch texts the display-name step leaves behind (hidden fields of the window).
    [[nodiscard]] DisplayScratch& Scratch() { return m_scratch; }

    // Groups many operations (a dialog's files, a playlist file) into one notification of
    // each kind, sent when the outermost Batch ends.
    class Batch {
    public:
        explicit Batch(Playlist& list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Playlist& m_list;
    };

signals:
    void changed();
    void rowsAppended(int first, int last); // already in both lists
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved();
    void rowAboutToMove(int from, int to); // to: the row it lands on
    void rowMoved();
    void aboutToClear();
    void cleared();
    void selectionChanged(int index);
    void textsChanged();

private:
    void FlushAppended();
    void Finish(); // the end of an operation: pending notifications go out
    void SetTexts(const QString& total, const QString& position);
    void RemoveAt(int index);
    void MoveEntry(int from, int to);

    QStringList m_sources;
    QStringList m_names;
    int m_selected = -1;
    QString m_totalText;
    QString m_positionText;
    DisplayScratch m_scratch;

    int m_batchDepth = 0;
    int m_announcedRows = 0; // rows the fine signals have told about
    bool m_selectionDirty = false;
    bool m_textsDirty = false;
    bool m_changed = false;
};

} // namespace quillet
