#include "components/displays/visualiser.h"

#include "components/displays/levelmeter.h"
#include "components/displays/oscilloscope.h"
#include "components/displays/spectrumdisplay.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <span>

namespace quillet {

Visualiser::Visualiser(const Connector& feed, QObject* parent) : QObject(parent), m_feed(feed)
{
    // Precise, so a frame never comes early: the coarse timer may fire 5 % before its time,
    // which would make more than 30 frames a second.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(IdleIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Visualiser::Tick);
    m_timer.start();
    connect(&m_sight, &WindowSight::SeenChanged, this, &Visualiser::FollowSight);
}

void Visualiser::Attach(LevelMeter* left, LevelMeter* right, SpectrumDisplay* spectrum,
                        Oscilloscope* scope)
{
    m_left = left;
    m_right = right;
    m_spectrum = spectrum;
    m_scope = scope;
    for (QWidget* display : std::initializer_list<QWidget*>{left, right, spectrum, scope}) {
        if (display) {
            m_sight.Watch(display);
            break;
        }
    }
    FollowSight(m_sight.Seen());
}

// Runs the timer exactly while the window can be seen.
void Visualiser::FollowSight(bool seen)
{
    if (seen == m_timer.isActive())
        return;
    if (seen)
        m_timer.start();
    else
        m_timer.stop();
}

void Visualiser::Tick()
{
    float leftDb = 0, rightDb = 0;
    const bool sound = m_feed.Levels(leftDb, rightDb);
    if (!m_animating) {
        if (!sound)
            return; // resting: nothing drawn, nothing else read
        m_animating = true;
        m_timer.setInterval(FrameIntervalMs);
    }
    Frame(sound, leftDb, rightDb);
    if (!sound && AllAtRest()) {
        m_animating = false;
        m_timer.setInterval(IdleIntervalMs);
    }
}

// One frame: each display takes the reading (or a frame of silence) and repaints itself only
// if its picture changed.
void Visualiser::Frame(bool sound, float leftDb, float rightDb)
{
    constexpr float silence = -std::numeric_limits<float>::infinity();
    if (m_left)
        m_left->ShowLevel(sound ? leftDb : silence);
    if (m_right)
        m_right->ShowLevel(sound ? rightDb : silence);
    if (m_spectrum) {
        if (sound && m_feed.Spectrum(m_bins))
            m_spectrum->ShowSpectrum(m_bins);
        else
            m_spectrum->Rest();
    }
    if (m_scope) {
        const size_t wanted = size_t(m_scope->SamplesWanted());
        if (m_samples.size() < wanted)
            m_samples.resize(wanted);
        const int got =
            sound ? std::clamp(m_feed.Scope(std::span(m_samples.data(), wanted)), 0, int(wanted))
                  : 0;
        m_scope->ShowSamples(std::span<const float>(m_samples.data(), size_t(got)));
    }
}

bool Visualiser::AllAtRest() const
{
    return (!m_left || m_left->AtRest()) && (!m_right || m_right->AtRest()) &&
           (!m_spectrum || m_spectrum->AtRest()) && (!m_scope || m_scope->AtRest());
}

} // namespace quillet
