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

void Decoder::Run()
{
    std::shared_ptr<Source> source;
    uint64_t epoch = 0;
    bool ended = true;
    int channels = 2;
    size_t target = 0; // frames to queue when topping up
    size_t refill = 0; // below this many queued frames, top up
    bool topping = false;
    std::vector<float> raw(BlockFrames * 2);
    std::vector<float> stereo(BlockFrames * 2);

    for (;;) {
        const uint32_t seen = m_ring.Events();
        Request request;
        {
            std::lock_guard lock(m_mutex);
            if (m_quit)
                return;
            if (m_request.epoch != epoch)
                request = m_request;
        }
        if (request.epoch != 0) {
            // Take up the new request: the reader skips everything queued before it.
            source = std::move(request.source);
            epoch = request.epoch;
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
        const size_t fill = m_ring.Fill();
        topping = fill < target && (topping || fill < refill);
        if (!ended && topping) {
            const size_t want = std::min(BlockFrames, target - fill);
            const size_t got = source->Read(channels == 1 ? raw.data() : stereo.data(), want);
            if (got == 0) {
                // End of the data, or a read error (a disc taken out, a file cut short).
                ended = true;
                std::lock_guard lock(m_marks.mutex);
                if (m_marks.marks.epoch == epoch)
                    m_marks.marks.end = m_ring.WriteIndex();
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
