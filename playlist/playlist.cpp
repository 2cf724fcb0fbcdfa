#include "playlist/playlist.h"

namespace quillet {

Playlist::Playlist(QObject* parent) : QObject(parent) {}

Playlist::Batch::Batch(Playlist& list) : m_list(list)
{
    ++m_list.m_batchDepth;
}

Playlist::Batch::~Batch()
{
    if (--m_list.m_batchDepth == 0)
        m_list.Finish();
}

QString Playlist::SelectedSource() const
{
    return m_selected >= 0 ? m_sources.at(m_selected) : QString();
}

bool Playlist::Append(const QString& source, const QString& displayName, bool select)
{
    if (Count() >= MaxEntries)
        return false;
    Batch batch(*this);
    m_sources.append(source);
    m_names.append(displayName);
    m_changed = true;
    if (select)
        Select(Count() - 1);
    return true;
}

void Playlist::Select(int index)
{
    if (index < -1 || index >= Count())
        return;
    Batch batch(*this);
    if (m_selected != index) {
        m_selected = index;
        m_selectionDirty = m_changed = true;
    }
    SetTexts(m_totalText, index < 0 ? QString() : QStringLiteral("Pos: %1").arg(index + 1));
}

void Playlist::RemoveSelectedEntry()
{
    if (Count() == 0)
        return;
    Batch batch(*this);
    const int i = m_selected;
    if (i >= 0)
        RemoveAt(i);
    const int n = Count();
    if (i == 0 && n == 0) {
        SetTexts(QString(), QString());
        return;
    }
    if (i >= 0)
        Select(i > 0 ? i - 1 : 0);
    ShowTotal();
}

void Playlist::ClearPlaylist()
{
    Batch batch(*this);
    if (Count() > 0) {
        FlushAppended();
        emit aboutToClear();
        m_sources.clear();
        m_names.clear();
        m_announcedRows = 0;
        m_changed = true;
        emit cleared();
    }
    if (m_selected != -1) {
        m_selected = -1;
        m_selectionDirty = m_changed = true;
    }
    SetTexts(QString(), QString());
}

void Playlist::MoveEntryUp()
{
    const int i = m_selected;
    if (Count() == 0 || i <= 0)
        return;
    MoveEntry(i, i - 1);
}

void Playlist::MoveEntryDown()
{
    const int i = m_selected;
    if (Count() == 0 || i < 0 || i == Count() - 1)
        return;
    MoveEntry(i, i + 1);
}

void Playlist::ShowTotal()
{
    Batch batch(*this);
    SetTexts(QStringLiteral("Total: %1").arg(Count()), m_positionText);
}

void Playlist::RemoveAt(int index)
{
    FlushAppended();
    emit rowsAboutToBeRemoved(index, index);
    m_names.removeAt(index);
    m_sources.removeAt(index);
    --m_announcedRows;
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    m_selectionDirty = m_changed = true;
    emit rowsRemoved();
}

void Playlist::MoveEntry(int from, int to)
{
    Batch batch(*this);
    FlushAppended();
    emit rowAboutToMove(from, to);
    m_names.move(from, to);
    m_sources.move(from, to);
    m_changed = true;
    emit rowMoved();
    Select(to);
}

void Playlist::SetTexts(const QString& total, const QString& position)
{
    if (total == m_totalText && position == m_positionText)
        return;
    m_totalText = total;
    m_positionText = position;
    m_textsDirty = m_changed = true;
}

void Playlist::FlushAppended()
{
    if (m_announcedRows >= Count())
        return;
    const int first = m_announcedRows;
    m_announcedRows = Count();
    emit rowsAppended(first, Count() - 1);
}

void Playlist::Finish()
{
    FlushAppended();
    const bool selection = std::exchange(m_selectionDirty, false);
    const bool texts = std::exchange(m_textsDirty, false);
    const bool changedAny = std::exchange(m_changed, false);
    if (selection)
        emit selectionChanged(m_selected);
    if (texts)
        emit textsChanged();
    if (changedAny)
        emit changed();
}

} // namespace quillet
