// Drives the level meters, spectrum and oscilloscope from the engine's display feed: up to
// 30 frames a second while sound flows; when it stops, a few frames more until every display
// has fallen back to rest, then no drawing at all and only a cheap check, a few times a
// second, for sound to come back. While the displays' window cannot be seen (hidden,
// minimised, or not exposed: unmapped or fully covered) nothing at all runs; the pictures go
// on from the sound of the moment when it shows again. No allocation per frame. UI thread;
// intervals in ms.
#pragma once

#include "components/displays/windowsight.h"
#include "playback/audioengine.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <vector>

namespace quillet {

class LevelMeter;
class Oscilloscope;
class SpectrumDisplay;

class Visualiser : public QObject {
    Q_OBJECT
public:
    static constexpr int FrameIntervalMs = 34; // at most 30 frames a second
    static constexpr int IdleIntervalMs = 150;

    // The feed must outlive the visualiser. It starts idle, checking for sound.
    explicit Visualiser(const Connector& feed, QObject* parent = nullptr);

    // The displays to drive (any may be null; a display deleted later is dropped). The upper
    // meter shows the left channel, the lower the right. Their window is watched from here
    // on, so they are driven only while it can be seen.
    void Attach(LevelMeter* left, LevelMeter* right, SpectrumDisplay* spectrum,
                Oscilloscope* scope);

    // True while it draws frames; false while it rests and only checks for sound.
    [[nodiscard]] bool Animating() const { return m_animating; }
    // False while the displays' window cannot be seen: then neither frames nor checks run.
    [[nodiscard]] bool Running() const { return m_timer.isActive(); }
    // The watch on the displays' window, for others that rest while it cannot be seen.
    [[nodiscard]] WindowSight& Sight() { return m_sight; }

private:
    void FollowSight(bool seen);
    void Tick();
    void Frame(bool sound, float leftDb, float rightDb);
    [[nodiscard]] bool AllAtRest() const;

    const Connector& m_feed;
    QTimer m_timer;
    bool m_animating = false;
    QPointer<LevelMeter> m_left;
    QPointer<LevelMeter> m_right;
    QPointer<SpectrumDisplay> m_spectrum;
    QPointer<Oscilloscope> m_scope;
    WindowSight m_sight; // the displays' top-level window
    std::array<float, Connector::SpectrumBins> m_bins{};
    std::vector<float> m_samples; // grows only when the oscilloscope wants more
};

} // namespace quillet
