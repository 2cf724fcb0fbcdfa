// The visible list (ListBoxDisplay) as a Qt item model: one row per playlist entry, its
// display name as the text. Follows the playlist row by row (appends, removals and moves
// are row signals; only clearing resets), so a view of 32,767 entries stays responsive.
// UI thread only.
#pragma once

#include <QAbstractListModel>

namespace quillet {

class Playlist;

class PlaylistModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        SourceRole = Qt::UserRole + 1, // the entry's source text (QString)
        SelectedRole,                  // whether the entry is the selected one (bool)
    };

    explicit PlaylistModel(Playlist& playlist, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

private:
    void OnSelectionChanged(int index);

    Playlist& m_playlist;
    int m_rows = 0;         // rows the view knows of; appends reach the list first
    int m_selectedRow = -1; // for dataChanged of the row that lost the selection
};

} // namespace quillet
