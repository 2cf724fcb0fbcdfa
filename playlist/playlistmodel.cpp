#include "playlist/playlistmodel.h"

#include "playlist/playlist.h"

namespace quillet {

PlaylistModel::PlaylistModel(Playlist& playlist, QObject* parent)
    : QAbstractListModel(parent), m_playlist(playlist), m_rows(playlist.Count()),
      m_selectedRow(playlist.SelectedIndex())
{
    connect(&playlist, &Playlist::rowsAppended, this, [this](int first, int last) {
        beginInsertRows({}, first, last);
        m_rows = last + 1;
        endInsertRows();
    });
    connect(&playlist, &Playlist::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&playlist, &Playlist::rowsRemoved, this, [this] {
        m_rows = m_playlist.Count();
        endRemoveRows();
    });
    connect(&playlist, &Playlist::rowAboutToMove, this, [this](int from, int to) {
        // Qt names the row the moved one is inserted before, counted before the move.
        beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    });
    connect(&playlist, &Playlist::rowMoved, this, [this] { endMoveRows(); });
    connect(&playlist, &Playlist::aboutToClear, this, [this] { beginResetModel(); });
    connect(&playlist, &Playlist::cleared, this, [this] {
        m_rows = 0;
        m_selectedRow = -1;
        endResetModel();
    });
    connect(&playlist, &Playlist::selectionChanged, this, &PlaylistModel::OnSelectionChanged);
}

int PlaylistModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_playlist.Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_playlist.Names().at(index.row());
    case SourceRole:
        return m_playlist.Sources().at(index.row());
    case SelectedRole:
        return index.row() == m_playlist.SelectedIndex();
    default:
        return {};
    }
}

QHash<int, QByteArray> PlaylistModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(SourceRole, "source");
    names.insert(SelectedRole, "selected");
    return names;
}

void PlaylistModel::OnSelectionChanged(int index)
{
    const QList<int> roles{SelectedRole};
    const int previous = std::exchange(m_selectedRow, index);
    if (previous >= 0 && previous < m_rows)
        emit dataChanged(this->index(previous), this->index(previous), roles);
    if (index >= 0 && index < m_rows)
        emit dataChanged(this->index(index), this->index(index), roles);
}

} // namespace quillet
