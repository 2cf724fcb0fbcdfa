// The signal path after the source, run on the output's thread when it pulls:
// equalizer → volume and balance → soft limiter → 16-bit samples. Parameters are set from
// the UI thread at any time (lock-free) and take effect at the next block, smoothed.
// Samples are interleaved stereo float (−1…1 nominal); gains in dB; rates in Hz.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet::audio {

// The ten-band graphic equalizer (accurate cascade: shelf, peaking sections, shelf, with
// filter gains solved so that the response at each band centre equals the band's gain).
class Equalizer {
public:
    static constexpr int MaxBands = 16;
    Equalizer();
    ~Equalizer();
    // UI thread: the bands (edges in Hz, in creation order) and their gains.
    int AddBand(double lowEdge, double highEdge);  // returns the band index
    [[nodiscard]] int BandCount() const;
    void SetGain(int band, double dB);
    [[nodiscard]] double Gain(int band) const;
    // Output thread: the stream's rate (redesigns; bands above 0.45 × rate are left out),
    // and filtering of a block in place.
    void SetSampleRate(int rate);
    void Process(float* stereo, size_t frames);
    void ResetState();  // clears filter memory (after a seek or a new stream)
private:
    struct Impl;
    Impl* m;
};

// Volume (0…32000, 32000 unity, through a perceptual curve) and balance (−16000…16000,
// attenuating only the opposite channel).
class VolumeStage {
public:
    void SetVolume(int volume);    // any thread
    void SetBalance(int balance);  // any thread
    void Process(float* stereo, size_t frames);  // output thread; ramps over the block
    [[nodiscard]] static double VolumeGain(int volume);  // the documented curve
private:
    struct Gains { float left, right; };
    // (implementation detail left to the signal-processing work)
};

// Converts float samples to signed 16-bit. Identity (bit-exact) for input that never exceeds
// full scale; louder input is brought under full scale smoothly, never clamped or wrapped.
class SoftLimiter {
public:
    void Process(const float* in, int16_t* out, size_t samples);
    void Reset();
};

}  // namespace quillet::audio
