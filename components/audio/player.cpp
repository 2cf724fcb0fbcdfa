#include "components/audio/player.h"

#include <algorithm>

namespace quillet::audio {

Player::Player(Equalizer& eq, VolumeStage& volume)
    : m_decoder(m_ring, m_marks), m_path(m_ring, m_marks, m_decoder, eq, volume, m_map, m_tap)
{
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
    m_seekFrame = feed.frame;
    m_seekEpoch = m_decoder.Play(feed.source, feed.frame);
    try {
        m_output->Open(m_rate, m_play);
    } catch (...) {
        m_decoder.Play(nullptr, 0);
        throw;
    }
    m_stoppedMs = 0;
    m_state = Started;
    emit OnStart();
}

void Player::Pause()
{
    m_state |= Paused;
    if (m_state & Started)
        m_output->SetPaused(true);
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

void Player::SetSource(Feed feed, std::shared_ptr<Source> source)
{
    if (Plays(feed))
        Stop();
    m_sources[int(feed)] = FeedState{std::move(source), 0};
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
    return std::clamp<int64_t>(place->sourceFrame, 0, state.source->LengthFrames());
}

void Player::Seek(Feed feed, int64_t frame)
{
    FeedState& state = m_sources[int(feed)];
    if (!state.source)
        return;
    state.frame = std::clamp<int64_t>(frame, 0, state.source->LengthFrames());
    if (Plays(feed)) {
        m_seekFrame = state.frame;
        m_seekEpoch = m_decoder.Play(state.source, state.frame);
    }
}

void Player::EndPlay()
{
    FeedState& state = m_sources[int(m_playing)];
    const int64_t heard = SourcePosition(m_playing);
    m_stoppedMs = Position();
    m_output->Close();
    m_decoder.Play(nullptr, 0);
    ++m_play;
    if (m_playing == Feed::Cd)
        state = FeedState{}; // a selected range plays once; the next needs a new selection
    else
        state.frame = heard;
}

void Player::Finish(uint64_t play)
{
    if (play != m_play || !(m_state & Started))
        return; // from a play that has been stopped or replaced since
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
