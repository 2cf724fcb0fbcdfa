#include "components/audio/player.h"

#include <algorithm>

namespace quillet::audio {

Player::Player(Equalizer& eq, VolumeStage& volume)
    : m_decoder(m_ring, m_marks), m_path(m_ring, m_marks, m_decoder, eq, volume, m_map, m_tap)
{
    m_decoder.SetSourceEndedHook([this](uint64_t epoch, uint64_t part) {
        QMetaObject::invokeMethod(
            this, [this, epoch, part] { SourceDecoded(epoch, part); }, Qt::QueuedConnection);
    });
    m_path.SetJoinHook([this](uint64_t epoch, uint64_t, int64_t at) {
        QMetaObject::invokeMethod(
            this, [this, epoch, at] { JoinReached(epoch, at); }, Qt::QueuedConnection);
    });
    m_joinTimer.setSingleShot(true);
    connect(&m_joinTimer, &QTimer::timeout, this, &Player::HearJoins);
}

Player::~Player()
{
    // The output's thread pulls from members of this object: stop it first.
    if (m_output)
        m_output->Close();
    m_output.reset();
}

int Player::DeviceCount()
{
    return m_output->DeviceCount();
}

void Player::Start()
{
    if (m_state & Started)
        return;
    const FeedState& feed = m_sources[int(m_feed)];
    m_rate = 44100; // a play of nothing still opens a stream, which ends at once
    if (feed.source && feed.source->Format().sampleRate > 0)
        m_rate = feed.source->Format().sampleRate;
    ++m_play;
    m_output->Close();
    m_path.Prepare(m_rate);
    m_playing = m_feed;
    Request(feed.source, feed.frame);
    try {
        m_output->Open(m_rate, m_play);
    } catch (...) {
        Request(nullptr, 0);
        throw;
    }
    m_stoppedMs = 0;
    m_state = Started;
    emit OnStart();
}

void Player::Pause()
{
    m_state |= Paused;
    if (m_state & Started) {
        m_output->SetPaused(true);
        CancelNext(); // what follows is decided again at the end
    }
}

void Player::Restart()
{
    if (!(m_state & Paused))
        return;
    m_state &= ~Paused;
    if (m_state & Started)
        m_output->SetPaused(false);
}

void Player::Reset()
{
    if (!(m_state & Started))
        return;
    // Everything queued goes; the play goes on from the place the source now stands at: a
    // position just put, or else the place that was audible.
    m_output->Flush();
    Seek(m_playing, SourcePosition(m_playing));
}

void Player::Stop()
{
    const bool active = m_state != 0;
    if (m_state & Started)
        EndPlay();
    m_state = 0;
    if (active)
        emit OnStop();
}

void Player::Close()
{
    if (m_state & Started) {
        Stop();
        return;
    }
    m_output->Close();
}

int Player::Position() const
{
    if (!(m_state & Started))
        return m_stoppedMs;
    return int(std::max<int64_t>(0, AudibleFrame()) * 1000 / m_rate);
}

int64_t Player::AudibleFrame() const
{
    return (m_state & Started) ? m_output->AudibleFrame() : -1;
}

void Player::SetSource(Feed feed, std::shared_ptr<Source> source, const QString& path)
{
    if (Plays(feed))
        Stop();
    m_sources[int(feed)] = FeedState{std::move(source), 0, path};
}

int64_t Player::SourcePosition(Feed feed) const
{
    const FeedState& state = m_sources[int(feed)];
    if (!Plays(feed) || !state.source)
        return state.frame;
    const auto place = m_map.Lookup(AudibleFrame());
    // Until the first frame of the latest seek is heard, the place is the one put.
    if (!place || place->epoch < m_seekEpoch)
        return m_seekFrame;
    // Joined on to the next file, whose start is not announced yet: this one is heard whole.
    if (place->part > m_part)
        return state.source->LengthFrames();
    return std::clamp<int64_t>(place->sourceFrame, 0, state.source->LengthFrames());
}

void Player::Seek(Feed feed, int64_t frame)
{
    FeedState& state = m_sources[int(feed)];
    if (!state.source)
        return;
    state.frame = std::clamp<int64_t>(frame, 0, state.source->LengthFrames());
    if (Plays(feed))
        Request(state.source, state.frame);
}

void Player::Request(const std::shared_ptr<Source>& source, int64_t frame)
{
    m_next = FeedState{};
    m_part = 0;
    m_decodedPart = -1;
    m_joinFrames.clear();
    m_joinTimer.stop();
    m_seekFrame = frame;
    m_seekEpoch = m_decoder.Play(source, frame);
}

bool Player::PrepareNext(std::shared_ptr<Source> source, const QString& path)
{
    const Source* now = m_sources[int(Feed::File)].source.get();
    if (!Plays(Feed::File) || !now || !source)
        return false;
    const StreamFormat a = now->Format(), b = source->Format();
    if (a.sampleRate != b.sampleRate || a.channels != b.channels)
        return false; // another stream format: the output is reopened at the end instead
    if (!CancelNext())
        return false;
    m_next = FeedState{source, 0, path};
    m_decoder.QueueNext(std::move(source), m_seekEpoch);
    return true;
}

bool Player::CancelNext()
{
    if (!m_next.source)
        return true;
    if (!m_joinFrames.empty() || !m_decoder.DropNext(m_seekEpoch, m_part))
        return false; // already pulled by the output: it will be heard
    m_next = FeedState{};
    return true;
}

void Player::SourceDecoded(uint64_t epoch, uint64_t part)
{
    if (!Plays(Feed::File) || epoch != m_seekEpoch)
        return;
    m_decodedPart = int64_t(part);
    if (part == m_part)
        emit OnSourceDecoded(); // else told when the join to that part is heard
}

void Player::JoinReached(uint64_t epoch, int64_t at)
{
    if (!Plays(Feed::File) || epoch != m_seekEpoch)
        return;
    m_joinFrames.push_back(at);
    HearJoins();
}

void Player::HearJoins()
{
    while (!m_joinFrames.empty() && Plays(Feed::File) && m_next.source) {
        const int64_t heard = AudibleFrame();
        if (heard < m_joinFrames.front()) {
            const int64_t ms = (m_joinFrames.front() - heard) * 1000 / m_rate;
            m_joinTimer.start(int(std::clamp<int64_t>(ms, 20, 1000)));
            return;
        }
        m_joinFrames.pop_front();
        m_sources[int(Feed::File)] = std::move(m_next);
        m_next = FeedState{};
        ++m_part;
        emit OnNextStarted();
        if (Plays(Feed::File) && m_decodedPart >= int64_t(m_part))
            emit OnSourceDecoded();
    }
}

void Player::EndPlay()
{
    FeedState& state = m_sources[int(m_playing)];
    const int64_t heard = SourcePosition(m_playing);
    m_stoppedMs = Position();
    m_output->Close();
    Request(nullptr, 0);
    ++m_play;
    if (m_playing == Feed::Cd)
        state = FeedState{}; // a selected range plays once; the next needs a new selection
    else
        state.frame = heard;
}

void Player::Finish(uint64_t play)
{
    if (play != m_play || !(m_state & Started))
        return;  // from a play that has been stopped or replaced since
    HearJoins(); // a short last file: its start is told before its end
    if (play != m_play || !(m_state & Started))
        return;
    EndPlay();
    m_state = 0;
    emit OnStop();
}

void Player::OutputEnded(uint64_t play)
{
    QMetaObject::invokeMethod(
        this, [this, play] { Finish(play); }, Qt::QueuedConnection);
}

void Player::OutputLost(uint64_t play)
{
    QMetaObject::invokeMethod(
        this, [this, play] { Finish(play); }, Qt::QueuedConnection);
}

} // namespace quillet::audio
