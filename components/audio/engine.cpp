#include "components/audio/engine.h"

#include "components/audio/cdinput.h"
#include "components/audio/controls.h"
#include "components/audio/displayfeed.h"
#include "components/audio/nulloutput.h"
#include "components/audio/player.h"
#include "components/audio/pulseoutput.h"

namespace quillet::audio {

namespace {

// The whole chain; members are declared in the order they depend on each other, so they
// are torn down output first.
class Engine : public AudioEngine {
public:
    explicit Engine(const EngineOptions& options)
        : m_player(m_eq, m_volume), m_file(m_player), m_cd(m_player, options.cdDevice),
          m_bands(m_eq), m_master(m_volume), m_feed(m_player)
    {
        std::unique_ptr<Output> output;
        if (options.output == OutputKind::Pulse)
            output = std::make_unique<PulseOutput>(m_player.renderer(), m_player.listener());
        else
            output = std::make_unique<NullOutput>(m_player.renderer(), m_player.listener(),
                                                  options.output == OutputKind::NullRealTime,
                                                  options.nullServer, options.nullCapture);
        m_player.SetOutput(std::move(output));
    }

    AudioFile& audioFile() override { return m_file; }
    CDReader& cdReader() override { return m_cd; }
    Eq& eq() override { return m_bands; }
    MasterVolume& masterVolume() override { return m_master; }
    WaveOut& waveOut() override { return m_player; }
    const Connector& connector() const override { return m_feed; }

private:
    Equalizer m_eq;
    VolumeStage m_volume;
    Player m_player;
    FileInput m_file;
    CdInput m_cd;
    EqualizerBands m_bands;
    Volume m_master;
    DisplayFeed m_feed;
};

} // namespace

std::unique_ptr<AudioEngine> CreateAudioEngine(const EngineOptions& options)
{
    return std::make_unique<Engine>(options);
}

} // namespace quillet::audio
