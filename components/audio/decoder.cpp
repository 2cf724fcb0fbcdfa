#include "components/audio/decoder.h"

#include <algorithm>
#include <vector>

namespace quillet::audio {

namespace {
constexpr size_t BlockFrames = 4096; // frames decoded per step (93 ms at 44.1 kHz)
} // namespace

Decoder::Decoder(FrameRing& ring, SharedMarks& marks) : m_ring(ring), m_marks(marks) {}

Decoder::~Decoder()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_ring.Signal();
    m_thread.join();
}

uint64_t Decoder::Play(std::shared_ptr<Source> source, int64_t frame)
{
    uint64_t epoch;
    {
        std::lock_guard lock(m_mutex);
        epoch = m_request.epoch + 1;
        m_request = Request{epoch, std::move(source), frame};
    }
    m_requested.store(epoch, std::memory_order_release);
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Run(); }); // at the first request: none before
    m_ring.Signal();
    return epoch;
}

void Decoder::QueueNext(std::shared_ptr<Source> source, uint64_t epoch)
{
    {
        std::lock_guard lock(m_mutex);
        m_next = Next{epoch, std::move(source)};
        m_nextSerial.fetch_add(1, std::memory_order_acq_rel);
    }
    m_ring.Signal();
}

bool Decoder::DropNext(uint64_t epoch, uint64_t heardPart)
{
    {
        std::lock_guard lock(m_mutex);
        m_next = Next{};
        // A join the decoder is about to make checks this under the marks' guard.
        m_nextSerial.fetch_add(1, std::memory_order_acq_rel);
    }
    std::lock_guard lock(m_marks.mutex);
    RingMarks& marks = m_marks.marks;
    if (marks.epoch != epoch)
        return true;
    if (marks.part > heardPart)
        return false;
    if (marks.joinAt != UINT64_MAX) {
        // Not reached yet: the data ends where the next source would have begun. The decoder
        // sees the join withdrawn and takes its frames back.
        marks.end = marks.joinAt;
        marks.joinAt = UINT64_MAX;
        m_ring.Signal();
    }
    return true;
}

bool Decoder::Join(Next next, uint64_t epoch, uint64_t serial, uint64_t part)
{
    std::lock_guard lock(m_marks.mutex);
    RingMarks& marks = m_marks.marks;
    if (marks.epoch != epoch || marks.part != part || marks.joinAt != UINT64_MAX ||
        marks.end == UINT64_MAX || m_ring.ReadIndex() >= marks.end ||
        m_nextSerial.load(std::memory_order_acquire) != serial)
        return false; // withdrawn, or the reader has already told the output the data ended
    marks.joinAt = marks.end;
    marks.end = UINT64_MAX;
    return true;
}

void Decoder::Run()
{
    std::shared_ptr<Source> source;
    uint64_t epoch = 0;
    bool ended = true;
    bool joinable = false; // ended at the end of a source that did not fail
    uint64_t part = 0;     // the part of the epoch being written (joins made so far)
    int channels = 2;
    size_t target = 0; // frames to queue when topping up
    size_t refill = 0; // below this many queued frames, top up
    bool topping = false;
    std::vector<float> raw(BlockFrames * 2);
    std::vector<float> stereo(BlockFrames * 2);

    for (;;) {
        const uint32_t seen = m_ring.Events();
        Request request;
        Next next;
        uint64_t serial = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_quit)
                return;
            if (m_request.epoch != epoch) {
                request = m_request;
                m_next = Next{}; // queued to follow what the new request replaces
            } else if (joinable && m_next.source && m_next.epoch == epoch) {
                next = std::move(m_next);
                m_next = Next{};
                serial = m_nextSerial.load(std::memory_order_acquire);
            }
        }
        if (request.epoch != 0) {
            // Take up the new request: the reader skips everything queued before it.
            source = std::move(request.source);
            epoch = request.epoch;
            part = 0;
            joinable = false;
            int64_t frame = 0;
            if (source) {
                frame = std::clamp<int64_t>(request.frame, 0, source->LengthFrames());
                source->Seek(frame);
                const StreamFormat format = source->Format();
                channels = format.channels == 1 ? 1 : 2;
                // Topped up to 3/4 s whenever it has fallen below 1/2 s: the decoder wakes a
                // few times a second for several blocks at once, not at every pull of the
                // output, and half a second of sound always stands between a slow read and
                // a gap.
                target = std::clamp<size_t>(size_t(format.sampleRate) * 3 / 4, 2 * BlockFrames,
                                            FrameRing::Capacity - BlockFrames);
                refill = target * 2 / 3;
                m_ring.SetRefillMark(refill);
            }
            topping = true;
            ended = !source;
            {
                std::lock_guard lock(m_marks.mutex);
                const uint64_t at = m_ring.WriteIndex();
                m_marks.marks = RingMarks{epoch, at, frame, ended ? at : UINT64_MAX, bool(source)};
            }
            m_ring.Signal();
            continue;
        }
        if (next.source) {
            if (Join(next, epoch, serial, part)) {
                source = std::move(next.source);
                source->Seek(0);
                ++part;
                ended = joinable = false;
                topping = true;
            }
            continue;
        }
        if (part > 0) {
            std::lock_guard lock(m_marks.mutex);
            const RingMarks& marks = m_marks.marks;
            if (marks.epoch == epoch && marks.part < part && marks.joinAt == UINT64_MAX) {
                // The join was withdrawn before the reader reached it: back to the end of the
                // part before, which another source may still follow.
                m_ring.RewindTo(marks.end);
                part = marks.part;
                source.reset();
                ended = joinable = true;
            }
        }
        const size_t fill = m_ring.Fill();
        topping = fill < target && (topping || fill < refill);
        if (!ended && topping) {
            const size_t want = std::min(BlockFrames, target - fill);
            const size_t got = source->Read(channels == 1 ? raw.data() : stereo.data(), want);
            if (got == 0) {
                // End of the data, or a read error (a disc taken out, a file cut short).
                ended = true;
                joinable = !source->Failed();
                {
                    std::lock_guard lock(m_marks.mutex);
                    RingMarks& marks = m_marks.marks;
                    const bool withdrawn = marks.part < part && marks.joinAt == UINT64_MAX;
                    if (marks.epoch != epoch || withdrawn)
                        joinable = false;
                    else
                        marks.end = m_ring.WriteIndex();
                }
                if (joinable && m_sourceEnded)
                    m_sourceEnded(epoch, part);
            } else {
                if (channels == 1) {
                    for (size_t i = 0; i < got; ++i)
                        stereo[2 * i] = stereo[2 * i + 1] = raw[i];
                }
                m_ring.Write(stereo.data(), got);
            }
            m_ring.Signal();
            continue;
        }
        m_ring.WaitForEvent(seen);
    }
}

} // namespace quillet::audio
