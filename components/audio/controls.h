// The file source, the equalizer's bands and the volume stage as the program sees them
// (playback/audioengine.h), as thin layers over the player and the signal-path classes.
// UI thread only. Times in ms, gains in dB.
#pragma once

#include "components/audio/dsp/dsp.h"
#include "components/audio/player.h"
#include "playback/audioengine.h"

#include <memory>
#include <vector>

namespace quillet::audio {

class FileInput : public AudioFile {
public:
    explicit FileInput(Player& player) : m_player(player) {}
    void SetFileName(const QString& path) override;
    QString FileName() const override { return m_player.PathOf(Feed::File); }
    int Position() const override;
    void SetPosition(int ms) override;
    int Length() const override;
    void SetOutput(const QString& name) override;
    bool PrepareNext(const QString& path) override;
    bool CancelNext() override { return m_player.CancelNext(); }

private:
    Player& m_player;
};

class EqualizerBands : public Eq, private EqBands {
public:
    explicit EqualizerBands(Equalizer& eq) : m_eq(eq) {}
    EqBands& Filters() override { return *this; }

private:
    class Band : public EqBand {
    public:
        Band(Equalizer& eq, int index) : m_eq(eq), m_index(index) {}
        void SetGain(double dB) override { m_eq.SetGain(m_index, dB); }
        double Gain() const override { return m_eq.Gain(m_index); }

    private:
        Equalizer& m_eq;
        int m_index;
    };
    void Add(double lowEdge, double highEdge, int reserved) override;
    int Count() const override { return int(m_bands.size()); }
    EqBand& Item(int index) override;

    Equalizer& m_eq;
    std::vector<std::unique_ptr<Band>> m_bands;
};

class Volume : public MasterVolume {
public:
    explicit Volume(VolumeStage& stage) : m_stage(stage) {}
    void SetVolume(int volume) override { m_stage.SetVolume(volume); }
    void SetBalance(int balance) override { m_stage.SetBalance(balance); }

private:
    VolumeStage& m_stage;
};

// Milliseconds and frames: a put rounds up and a get rounds down, so that a position put is
// read back unchanged at any rate of 1 kHz or more.
[[nodiscard]] int64_t MsToFrames(int64_t ms, int rate);
[[nodiscard]] int FramesToMs(int64_t frames, int rate);

} // namespace quillet::audio
