#include "playback/endoftrack.h"

#include "platform/ignorefailure.h"
#include "playback/audiocd.h"
#include "playback/audioengine.h"
#include "playback/transport.h"
#include "playlist/playlist.h"

#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace quillet {

namespace {
const QString On = QStringLiteral("1");
const QString Off = QStringLiteral("0");
} // namespace

EndOfTrack::EndOfTrack(Playlist& playlist, Transport& transport, AudioFile& audioFile,
                       QTimer& timer1, QString& continuousText, QString& shuffleText,
                       QObject* parent)
    : QObject(parent), m_playlist(playlist), m_transport(transport), m_audioFile(audioFile),
      m_timer1(timer1), m_continuous{m_contPlay, m_continueButton, continuousText},
      m_shuffle{m_randOrder, m_shuffleButton, shuffleText},
      // A fresh draw from a clock-seeded generator for every choice.
      m_draw([] { return float(QRandomGenerator::global()->generateDouble()); })
{
    // The decision need not wait for the next tick: once the stop notification has been
    // handled, the tick's work runs at once, so the next track follows without a gap of up
    // to one interval. Only while the timer is on, as a tick would.
    connect(
        &m_transport, &Transport::TrackEnded, this,
        [this] {
            if (m_timer1.isActive())
                Timer1_Timer();
        },
        Qt::QueuedConnection);
    connect(&m_transport, &Transport::SourceDecoded, this, &EndOfTrack::PrepareNext);
    connect(&m_transport, &Transport::NextStarted, this, &EndOfTrack::ConfirmNext);
    connect(&m_playlist, &Playlist::changed, this, &EndOfTrack::DropPrepared);
}

// Marks and buttons only: the stored text stays as read (an unusable text is written back).
void EndOfTrack::ApplyContinuousPlay()
{
    const bool on = m_continuous.text == On;
    m_contPlay.SetChecked(on);
    m_continueButton.SetPushed(on);
}

void EndOfTrack::ApplyShuffle()
{
    const bool on = m_shuffle.text == On;
    m_randOrder.SetChecked(on);
    m_shuffleButton.SetPushed(on);
}

void EndOfTrack::Show(Option option, bool on)
{
    option.item.SetChecked(on);
    option.button.SetPushed(on);
    option.text = on ? On : Off;
}

void EndOfTrack::contPlay_Click()
{
    DropPrepared();
    Show(m_continuous, !m_contPlay.Checked());
}

void EndOfTrack::randOrder_Click()
{
    DropPrepared();
    Show(m_shuffle, !m_randOrder.Checked());
}

void EndOfTrack::SkinButtonContinue_Click()
{
    DropPrepared();
    Show(m_continuous, m_continueButton.Pushed());
}

void EndOfTrack::SkinButtonShuffle_Click()
{
    DropPrepared();
    Show(m_shuffle, m_shuffleButton.Pushed());
}

// Counted from the selection, not from the entry that ended; shuffle may pick any entry,
// the one that ended included.
int EndOfTrack::NextIndex(int selected, int count) const
{
    if (count <= 0)
        return 0; // nothing to choose; the play that follows finds no selection
    if (m_shuffle.text != On)
        return selected + 1 <= count - 1 ? selected + 1 : 0;
    const float r = m_draw();
    // A single-precision draw just below 1 can round the product up to count.
    return std::clamp(int(float(count) * r), 0, count - 1);
}

// The entry the end of the track would choose now, chosen now (one draw with shuffle). A CD
// track, a file that cannot be opened or one of another format is left to the end.
void EndOfTrack::PrepareNext()
{
    DropPrepared();
    const int count = m_playlist.Count();
    if (m_continuous.text != On || !m_transport.Playing() || count == 0)
        return;
    const int index = NextIndex(m_playlist.SelectedIndex(), count);
    const QString source = m_playlist.Sources().value(index);
    if (AudioCd::CdTrackIndex(source) >= 0)
        return;
    IgnoreFailure([&] {
        if (m_audioFile.PrepareNext(source))
            m_prepared = index;
    });
}

void EndOfTrack::ConfirmNext()
{
    const int index = std::exchange(m_prepared, -1);
    if (index >= 0)
        m_playlist.Select(index);
}

void EndOfTrack::DropPrepared()
{
    if (std::exchange(m_prepared, -1) >= 0)
        IgnoreFailure([&] { (void)m_audioFile.CancelNext(); });
}

void EndOfTrack::Timer1_Timer()
{
    const int count = m_playlist.Count();
    const int selected = m_playlist.SelectedIndex();
    if (!m_transport.Playing()) {
        m_prepared = -1; // the engine dropped it with the play
        if (m_continuous.text != On) {
            m_timer1.stop(); // the track ended and nothing follows
            return;
        }
        IgnoreFailure([&] {
            m_playlist.Select(NextIndex(selected, count));
            m_transport.PlaySelected();
        });
    }
    IgnoreFailure([&] {
        if (!m_transport.Seeking)
            m_transport.Slider1().SetPosition(m_audioFile.Position());
    });
}

} // namespace quillet
