// Creates the program's audio chain (playback/audioengine.h) with a chosen output: the
// PulseAudio server, or a null output for tests and benchmarks. Called on the UI thread;
// the engine's notifications then reach that thread. Rates in Hz, counts in frames.
#pragma once

#include "playback/audioengine.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace quillet::audio {

enum class OutputKind {
    Pulse,        // the system's sound server (PULSE_SERVER or the user's default)
    NullRealTime, // consumes sound at the stream's rate, plays nothing
    NullFast,     // consumes sound as fast as it is decoded (benchmarks, quick tests)
};

// Imitates a sound server for the null output: while Present() is false there is no device
// (DeviceCount 0, Start fails) and a play that runs ends as if the server had died.
// Set from any thread.
class NullServer {
public:
    void SetPresent(bool present) { m_present.store(present); }
    [[nodiscard]] bool Present() const { return m_present.load(); }

private:
    std::atomic<bool> m_present{true};
};

// Called on the null output's thread with each block it consumes (interleaved stereo s16).
using NullCapture = std::function<void(const int16_t* stereo, size_t frames)>;

struct EngineOptions {
    OutputKind output = OutputKind::Pulse;
    // The CD drive's device node, or a CUE/BIN image (tests); "" = the system's default drive.
    QString cdDevice;
    std::shared_ptr<NullServer> nullServer; // null outputs only; none = always present
    NullCapture nullCapture;                // null outputs only; may be empty
};

[[nodiscard]] std::unique_ptr<AudioEngine> CreateAudioEngine(const EngineOptions& options);

} // namespace quillet::audio
