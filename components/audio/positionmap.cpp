#include "components/audio/positionmap.h"

#include <algorithm>

namespace quillet::audio {

void PositionMap::Clear()
{
    std::lock_guard lock(m_mutex);
    m_segments.clear();
    m_next = -1;
}

void PositionMap::Note(int64_t at, int64_t sourceFrame, int64_t frames, uint64_t epoch,
                       uint64_t part)
{
    std::lock_guard lock(m_mutex);
    while (!m_segments.empty() && m_segments.back().stream >= at)
        m_segments.pop_back();
    const bool continues = !m_segments.empty() && at == m_next && sourceFrame == m_nextSource &&
                           m_segments.back().epoch == epoch && m_segments.back().part == part;
    if (!continues) {
        if (m_segments.size() == MaxSegments)
            m_segments.erase(m_segments.begin());
        m_segments.push_back({at, sourceFrame, epoch, part});
    }
    m_next = at + frames;
    m_nextSource = sourceFrame + frames;
}

std::optional<PositionMap::Place> PositionMap::Lookup(int64_t at) const
{
    std::lock_guard lock(m_mutex);
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), at,
                               [](int64_t f, const Segment& s) { return f < s.stream; });
    if (it == m_segments.begin())
        return std::nullopt;
    --it;
    return Place{it->source + (at - it->stream), it->epoch, it->part};
}

} // namespace quillet::audio
