// Continuous play and shuffle: the two options, each shown by a menu check mark and a
// latched button that always agree, stored as "1"/"0"; and the end-of-track timer's tick,
// which notices that a track has ended and plays the next entry (counted from the
// selection, wrapping to the top) or a random one, and makes the position slider follow the
// file. The tick also runs as soon as the output reports a track's end, so the next track
// does not wait for the timer. With continuous play on, the choice is made ahead, once the
// file that plays has been decoded to its end, and prepared for a gapless join; it stands
// when the join is heard (the selection moves then) unless the list, its selection or an
// option changes first, or the engine drops it (Pause, a seek, Stop): then the end of the
// track decides as without it. UI thread only. The timer ticks every 500 ms.
#pragma once

#include "controls/controls.h"

#include <QObject>

#include <functional>

class QTimer;

namespace quillet {

class AudioFile;
class Playlist;
class Transport;

class EndOfTrack : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 500;
    // Draws a number 0 ≤ r < 1 for a shuffle choice.
    using RandomDraw = std::function<float()>;

    // continuousText, shuffleText: the stored option texts, read at start and written at exit.
    EndOfTrack(Playlist& playlist, Transport& transport, AudioFile& audioFile, QTimer& timer1,
               QString& continuousText, QString& shuffleText, QObject* parent = nullptr);

    // Start-up: the marks and buttons from the stored texts (on only for exactly "1").
    void ApplyContinuousPlay();
    void ApplyShuffle();

    // The menu items toggle; the buttons have already latched their new state.
    void contPlay_Click();
    void randOrder_Click();
    void SkinButtonContinue_Click();
    void SkinButtonShuffle_Click();

    void Timer1_Timer();

    [[nodiscard]] MenuItemControl& contPlay() { return m_contPlay; }
    [[nodiscard]] MenuItemControl& randOrder() { return m_randOrder; }
    [[nodiscard]] ButtonControl& SkinButtonContinue() { return m_continueButton; }
    [[nodiscard]] ButtonControl& SkinButtonShuffle() { return m_shuffleButton; }

    // Tests replace the clock-seeded generator.
    void SetRandomDraw(RandomDraw draw) { m_draw = std::move(draw); }

private:
    struct Option {
        MenuItemControl& item;
        ButtonControl& button;
        QString& text;
    };
    static void Show(Option option, bool on);
    [[nodiscard]] int NextIndex(int selected, int count) const;
    void PrepareNext();  // the choice made ahead, for a gapless join
    void ConfirmNext();  // the join is heard: the choice stands
    void DropPrepared(); // something the choice depends on changed

    Playlist& m_playlist;
    Transport& m_transport;
    AudioFile& m_audioFile;
    QTimer& m_timer1;
    MenuItemControl m_contPlay;
    MenuItemControl m_randOrder;
    ButtonControl m_continueButton{true};
    ButtonControl m_shuffleButton{true};
    Option m_continuous;
    Option m_shuffle;
    RandomDraw m_draw;
    int m_prepared = -1; // the entry prepared to follow; -1: none
};

} // namespace quillet
