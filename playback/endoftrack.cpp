#include "playback/endoftrack.h"

#include "platform/ignorefailure.h"
#include "playback/audioengine.h"
#include "playback/transport.h"
#include "playlist/playlist.h"

#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>

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
    Show(m_continuous, !m_contPlay.Checked());
}

void EndOfTrack::randOrder_Click()
{
    Show(m_shuffle, !m_randOrder.Checked());
}

void EndOfTrack::SkinButtonContinue_Click()
{
    Show(m_continuous, m_continueButton.Pushed());
}

void EndOfTrack::SkinButtonShuffle_Click()
{
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

void EndOfTrack::Timer1_Timer()
{
    const int count = m_playlist.Count();
    const int selected = m_playlist.SelectedIndex();
    if (!m_transport.Playing()) {
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
