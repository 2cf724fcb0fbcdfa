// The wave output as the program sees it, and the play state behind the two sources: which
// source feeds the chain, where each one stands, the decoder, the signal path and the output;
// and the gapless join of a prepared next file behind the one that plays, made current when
// the join is heard. UI thread only; the output's and decoder's notices are posted back to
// it, stamped with the play (decoder request) they belong to, and dropped when that play is
// over. Positions: source frames inside, ms outside.
#pragma once

#include "components/audio/decoder.h"
#include "components/audio/displaytap.h"
#include "components/audio/dsp/dsp.h"
#include "components/audio/framering.h"
#include "components/audio/output.h"
#include "components/audio/positionmap.h"
#include "components/audio/signalpath.h"
#include "playback/audioengine.h"

#include <QTimer>

#include <deque>
#include <memory>

namespace quillet::audio {

enum class Feed { File = 0, Cd = 1 };

class Player : public WaveOut, private OutputListener {
    Q_OBJECT
public:
    Player(Equalizer& eq, VolumeStage& volume);
    ~Player() override;
    // Installs the output (made by the engine with this player's renderer and listener).
    void SetOutput(std::unique_ptr<Output> output) { m_output = std::move(output); }
    [[nodiscard]] Renderer& renderer() { return m_path; }
    [[nodiscard]] OutputListener& listener() { return *this; }

    // WaveOut
    int DeviceCount() override;
    void Start() override;
    void Pause() override;
    void Restart() override;
    void Reset() override;
    void Stop() override;
    void Close() override;
    int State() const override { return m_state; }
    int Position() const override;

    // The sources' side.
    void SetFeed(Feed feed) { m_feed = feed; }
    // Makes `source` (may be null) the one of `feed`, at its beginning; `path` names it. If
    // that feed plays, the play is stopped first (OnStop).
    void SetSource(Feed feed, std::shared_ptr<Source> source, const QString& path = {});
    [[nodiscard]] const Source* SourceOf(Feed feed) const
    {
        return m_sources[int(feed)].source.get();
    }
    [[nodiscard]] const QString& PathOf(Feed feed) const { return m_sources[int(feed)].path; }
    // Gapless joins of the file feed (AudioFile::PrepareNext, CancelNext).
    [[nodiscard]] bool PrepareNext(std::shared_ptr<Source> source, const QString& path);
    bool CancelNext();
    [[nodiscard]] int64_t SourcePosition(Feed feed) const; // the audible place, frames
    void Seek(Feed feed, int64_t frame);

    // The display feed's side.
    [[nodiscard]] const DisplayTap& tap() const { return m_tap; }
    [[nodiscard]] int64_t AudibleFrame() const; // stream frame audible now; −1: none
    [[nodiscard]] int StreamRate() const { return m_rate; }

private:
    struct FeedState {
        std::shared_ptr<Source> source;
        int64_t frame = 0; // where the next play starts
        QString path;
    };

    void OutputEnded(uint64_t play) override;
    void OutputLost(uint64_t play) override;
    void Finish(uint64_t play); // UI thread: the play has ended by itself
    void EndPlay();             // leaves the playing feed where it was last heard
    [[nodiscard]] bool Plays(Feed feed) const { return (m_state & Started) && m_playing == feed; }
    // A new decoder request for the playing feed: no join is pending any more.
    void Request(const std::shared_ptr<Source>& source, int64_t frame);
    void SourceDecoded(uint64_t epoch, uint64_t part); // UI thread, from the decoder's notice
    void JoinReached(uint64_t epoch, int64_t at);      // UI thread, from the signal path's
    void HearJoins(); // makes current each join the output has played up to

    FrameRing m_ring;
    SharedMarks m_marks;
    PositionMap m_map;
    DisplayTap m_tap;
    Decoder m_decoder;
    SignalPath m_path;
    std::unique_ptr<Output> m_output;

    FeedState m_sources[2];
    Feed m_feed = Feed::File;    // the feed the next Start plays
    Feed m_playing = Feed::File; // the feed of the play that runs
    int m_state = 0;
    int m_rate = 44100;
    uint64_t m_play = 0;      // number of the current play; bumped when one ends
    uint64_t m_seekEpoch = 0; // the decoder request of the last seek in this play
    int64_t m_seekFrame = 0;
    int m_stoppedMs = 0; // WaveOut.Position after the play ended

    FeedState m_next;                 // prepared to follow the file that plays
    uint64_t m_part = 0;              // joins heard since the last decoder request
    int64_t m_decodedPart = -1;       // the last part the decoder has read to its end
    std::deque<int64_t> m_joinFrames; // stream frames of joins reached but not heard yet
    QTimer m_joinTimer;               // looks again when the next join should be heard
};

} // namespace quillet::audio
