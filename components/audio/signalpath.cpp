#include "components/audio/signalpath.h"

#include <algorithm>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace quillet::audio {

SignalPath::SignalPath(FrameRing& ring, SharedMarks& marks, const Decoder& decoder, Equalizer& eq,
                       VolumeStage& volume, PositionMap& map, DisplayTap& tap)
    : m_ring(ring), m_marks(marks), m_decoder(decoder), m_eq(eq), m_volume(volume), m_map(map),
      m_tap(tap), m_block(MaxBlock * 2)
{
}

void SignalPath::Prepare(int rate)
{
    m_eq.SetSampleRate(rate);
    m_eq.ResetState();
    m_limiter.SetSampleRate(rate);
    m_limiter.Reset();
    // A new stream starts at the volume set now, not with a ramp from the last stream's (a
    // one-frame block takes the stage straight to its target).
    float settle[2] = {0, 0};
    m_volume.Process(settle, 1);
    m_map.Clear();
    m_tap.Clear();
}

namespace {

// Filter memory decaying towards silence would otherwise become denormal numbers, which cost
// a hundred times more each; flushed to zero they are inaudible. Scoped to one pull, so the
// output thread's other code keeps its own floating-point mode.
class FlushDenormals {
public:
#if defined(__SSE__)
    FlushDenormals() : m_saved(_mm_getcsr())
    {
        _mm_setcsr(m_saved | 0x8040);
    } // FTZ | DAZ
    ~FlushDenormals()
    {
        _mm_setcsr(m_saved);
    }

private:
    unsigned m_saved;
#endif
};

} // namespace

size_t SignalPath::Pull(int16_t* out, size_t frames, int64_t at, bool& ended)
{
    const FlushDenormals flush;
    ended = false;
    size_t done = 0;
    while (done < frames) {
        size_t n = 0;
        int64_t sourceFrame = 0;
        uint64_t epoch = 0;
        uint64_t part = 0;
        bool joined = false;
        {
            // While the guard is held the decoder cannot begin a new epoch, so what is read
            // here belongs to the marks read here.
            std::lock_guard lock(m_marks.mutex);
            RingMarks& marks = m_marks.marks;
            if (marks.epoch != m_decoder.RequestedEpoch())
                break; // a newer request is not taken up yet: what is queued is stale
            if (m_ring.ReadIndex() < marks.start)
                m_ring.SkipTo(marks.start);
            const uint64_t read = m_ring.ReadIndex();
            if (read == marks.joinAt) { // the next source goes on from here, at its frame 0
                marks.start = read;
                marks.sourceFrame = 0;
                ++marks.part;
                marks.joinAt = UINT64_MAX;
                joined = true;
            }
            size_t available = m_ring.Available();
            const uint64_t stop = std::min(marks.end, marks.joinAt);
            if (stop != UINT64_MAX)
                available = std::min<uint64_t>(available, stop - read);
            epoch = marks.epoch;
            part = marks.part;
            if (available == 0) {
                ended = marks.end == read;
            } else {
                n = std::min({frames - done, available, MaxBlock});
                sourceFrame = marks.sourceFrame + int64_t(read - marks.start);
                m_ring.Read(m_block.data(), n);
            }
        }
        if (joined && m_joined)
            m_joined(epoch, part, at + int64_t(done));
        if (n == 0)
            break;
        m_eq.Process(m_block.data(), n);
        m_tap.Put(m_block.data(), n, at + int64_t(done));
        m_volume.Process(m_block.data(), n);
        int16_t* dest = out + done * 2;
        m_limiter.Process(m_block.data(), dest, n * 2);
        m_map.Note(at + int64_t(done), sourceFrame, int64_t(n), epoch, part);
        done += n;
    }
    if (done > 0)
        ended = false;
    return done;
}

} // namespace quillet::audio
