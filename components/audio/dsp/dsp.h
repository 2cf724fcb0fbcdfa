// The signal path after the source, run on the output's thread when it pulls:
// equalizer → volume and balance → soft limiter → 16-bit samples. Parameters are set from
// the UI thread at any time (lock-free) and take effect at the next block, smoothed.
// Samples are interleaved stereo float (−1…1 nominal; ±1 is 16-bit full scale); gains in dB;
// rates in Hz; frames are stereo pairs.
#pragma once

#include "components/audio/dsp/eqdesign.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace quillet::audio {

// The ten-band graphic equalizer (accurate cascade: shelves, peaking sections, shelves, with
// section gains fitted so that the response at each band's centre, and across the outer
// bands out to the ends of the range, equals the band's gain; the sections and control
// points are described in eqdesign.h). A gain change is heard from the next
// block on, its coefficients moving linearly over one block (at least 10 ms). With every
// gain at 0 dB the equalizer passes its input through unchanged, bit for bit.
class Equalizer {
public:
    static constexpr int MaxBands = MaxEqBands;
    Equalizer();
    ~Equalizer();
    Equalizer(const Equalizer&) = delete;
    Equalizer& operator=(const Equalizer&) = delete;

    // UI thread: the bands (edges in Hz, in creation order) and their gains. AddBand returns
    // the new band's index, or −1 when the edges are not 0 ≤ low < high or all bands are
    // taken. SetGain ignores a band that does not exist and a gain that is not a number, and
    // keeps gains within ±MaxGainDb.
    static constexpr double MaxGainDb = 24.0;
    int AddBand(double lowEdge, double highEdge);
    [[nodiscard]] int BandCount() const;
    void SetGain(int band, double dB);
    [[nodiscard]] double Gain(int band) const; // 0 for a band that does not exist

    // Output thread: the stream's rate (redesigns at once and clears the filter memory; bands
    // whose centre lies above 0.45 × rate are left flat), and filtering of a block in place.
    void SetSampleRate(int rate);
    [[nodiscard]] int SampleRate() const;
    void Process(float* stereo, size_t frames);
    void ResetState(); // clears filter memory (after a seek or a new stream)

private:
    struct Impl;
    Impl* m;
};

// Volume and balance. The volume curve is cubic in the slider's position:
//     gain = (volume / 32000)³,
// so 32000 is exactly unity (0 dB, bit-exact), 24000 −7.5 dB, 16000 −18.1 dB, 3200 −60 dB and
// 0 exact silence; this follows loudness closely over the upper half and fades to nothing
// at the bottom. Balance b (−16000…16000) leaves the channel it points to at unity and scales
// the opposite one linearly: gain = 1 − |b| / 16000 (8000: −6 dB; ±16000: that side silent).
// Out-of-range values are clamped. A change ramps linearly over the next block (no click).
class VolumeStage {
public:
    static constexpr int MaxVolume = 32000;
    static constexpr int MaxBalance = 16000;
    void SetVolume(int volume);   // any thread
    void SetBalance(int balance); // any thread
    [[nodiscard]] int Volume() const { return m_volume.load(std::memory_order_relaxed); }
    [[nodiscard]] int Balance() const { return m_balance.load(std::memory_order_relaxed); }
    void Process(float* stereo, size_t frames);         // output thread
    [[nodiscard]] static double VolumeGain(int volume); // the curve above, 0…1
    [[nodiscard]] static double BalanceGain(int balance, bool left);

private:
    struct Gains {
        float left = 1, right = 1;
    };
    [[nodiscard]] Gains Target() const;
    std::atomic<int> m_volume{MaxVolume};
    std::atomic<int> m_balance{0};
    Gains m_current; // output thread only
};

// Converts float samples to signed 16-bit (x · 32768, rounded to nearest): the only
// conversion to integers. Input that stays within full scale (−1 … 32767/32768) passes
// bit-exactly. Louder input is brought under full scale by a gain envelope shared by both
// channels: it aims the peaks about 0.9 dB below full scale, falls over the 2 ms before a
// peak (the block is the look-ahead; a louder peak in a block's first 2 ms is met at once),
// holds across it and recovers with a 100 ms time constant, so no sample is ever clamped or
// wrapped. Samples that are not finite become 0.
// Output thread only.
class SoftLimiter {
public:
    void SetSampleRate(int rate); // for the attack and release times; 44100 until set
    // `samples` counts interleaved stereo samples (2 per frame).
    void Process(const float* in, int16_t* out, size_t samples);
    void Reset(); // a new stream: the gain returns to unity at once
    [[nodiscard]] float CurrentGain() const { return 1.0f - m_reduction; }

private:
    static constexpr size_t Chunk = 4096;    // frames looked at ahead of the envelope
    static constexpr size_t MaxAttack = 512; // frames
    void ProcessChunk(const float* in, int16_t* out, size_t frames);
    void MeasureNeeds(const float* in, size_t frames);
    int m_rate = 44100;
    size_t m_attack = 1;       // frames
    float m_releaseCoef = 0;   // per frame; 0 until the first block
    float m_reduction = 0;     // 1 − the gain applied to the last frame
    float m_recent[MaxAttack]; // the look-ahead minima of the last m_attack frames
    size_t m_recentAt = 0;
    double m_recentSum = 0;
    float m_need[Chunk]; // the gain each frame bears (1 when it fits)
    float m_aim[Chunk];  // what the envelope aims at for it
    float m_ahead[Chunk];
    float m_toEnd[Chunk];
};

} // namespace quillet::audio
