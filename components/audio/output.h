// What an output (PulseAudio or null) needs from the engine and offers it. The output pulls
// interleaved stereo s16 frames on its own thread; its control calls come from the UI thread
// and wait for the server boundedly. Frames count from the stream's opening; rates in Hz.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet::audio {

// The engine's side, called on the output's thread.
class Renderer {
public:
    virtual ~Renderer() = default;
    // Fills up to `frames` frames that will sit at stream frame `at`. Returns how many were
    // filled; 0 with `ended` false means "nothing yet", with `ended` true "no more data".
    virtual size_t Pull(int16_t* out, size_t frames, int64_t at, bool& ended) = 0;
};

// Told on the output's thread; `play` is the number given to Open.
class OutputListener {
public:
    virtual ~OutputListener() = default;
    virtual void OutputEnded(uint64_t play) = 0; // the last frame has been played
    virtual void OutputLost(uint64_t play) = 0;  // the server went away mid-play
};

class Output {
public:
    virtual ~Output() = default;
    // Asks the server afresh (connecting when needed); 0 when no server answers.
    [[nodiscard]] virtual int DeviceCount() = 0;
    // Opens a stream at `rate` and starts pulling. Throws ComponentError when it cannot.
    virtual void Open(int rate, uint64_t play) = 0;
    virtual void SetPaused(bool paused) = 0;
    // Drops whatever the server still holds; the next frame pulled is the next one heard.
    virtual void Flush() = 0;
    // Stops pulling and releases the stream; afterwards no call of the Renderer or listener
    // for this play is made. Harmless when nothing is open.
    virtual void Close() = 0;
    // Stream frames heard so far (written minus what still waits in the server). Any thread.
    [[nodiscard]] virtual int64_t AudibleFrame() const = 0;
};

} // namespace quillet::audio
