// The graphic equalizer's processing: parameters handed over lock-free from the UI thread,
// redesign on the output thread, and a cascade of biquads (transposed direct form II) that
// runs both channels in one vector register, in double precision (single precision moves the
// poles of the low sections enough to be off by tenths of a dB at 48 kHz).
#include "components/audio/dsp/dsp.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace quillet::audio {
namespace {

// Lane 0 carries the left channel, lane 1 the right one.
typedef double Vec __attribute__((vector_size(16)));

struct alignas(16) Section {
    Vec b0, b1, b2, a1, a2;  // current coefficients, broadcast
    Vec d0, d1, d2, da1, da2;  // per-frame step while a change is being smoothed
    Vec z1, z2;  // filter memory
};

Vec Broadcast(double v) { return Vec{v, v}; }

// Keeps tiny filter tails from turning into slow denormal arithmetic while it lives.
class FlushDenormals {
public:
#if defined(__SSE__)
    FlushDenormals() : m_saved(_mm_getcsr()) { _mm_setcsr(m_saved | 0x8040); }
    ~FlushDenormals() { _mm_setcsr(m_saved); }

private:
    unsigned m_saved;
#endif
};

template <bool Ramp>
void Run(Section* sec, int n, float* stereo, size_t frames)
{
    for (size_t i = 0; i < frames; ++i) {
        Vec x = {stereo[2 * i], stereo[2 * i + 1]};
        for (int k = 0; k < n; ++k) {
            Section& s = sec[k];
            const Vec y = s.b0 * x + s.z1;
            s.z1 = s.b1 * x - s.a1 * y + s.z2;
            s.z2 = s.b2 * x - s.a2 * y;
            if constexpr (Ramp) {
                s.b0 += s.d0;
                s.b1 += s.d1;
                s.b2 += s.d2;
                s.a1 += s.da1;
                s.a2 += s.da2;
            }
            x = y;
        }
        stereo[2 * i] = float(x[0]);
        stereo[2 * i + 1] = float(x[1]);
    }
}

bool Finite(Vec v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]);
}

}  // namespace

struct Equalizer::Impl {
    // Written by the UI thread; a band's edges are set before the count that publishes them.
    std::atomic<int> count{0};
    double low[MaxBands]{};
    double high[MaxBands]{};
    std::atomic<double> gain[MaxBands]{};
    std::atomic<unsigned> version{0};

    // Output thread only.
    int rate = 44100;
    unsigned seenVersion = ~0u;
    EqLayout layout;
    Biquad target[MaxBands];
    int order[MaxBands]{};  // active bands, lowest first
    int active = 0;
    Section sec[MaxBands];  // indexed like `order`
    size_t rampLeft = 0;
    bool flat = true;        // every section is exactly unity and the memory is clear
    size_t settleLeft = 0;   // frames still run after reaching unity, for the tails to die out

    void Redesign(bool smooth, size_t blockFrames);
    void ClearMemory()
    {
        for (Section& s : sec)
            s.z1 = s.z2 = Vec{0, 0};
    }
};

void Equalizer::Impl::Redesign(bool smooth, size_t blockFrames)
{
    seenVersion = version.load(std::memory_order_acquire);
    const int n = count.load(std::memory_order_acquire);
    layout.count = n;
    layout.rate = rate;
    std::array<double, MaxBands> slider{};
    for (int k = 0; k < n; ++k) {
        layout.shapes[k] = ShapeOfBand(low[k], high[k], n > 1 && k == n - 1);
        layout.active[k] = BandFitsRate(layout.shapes[k], rate);
        slider[k] = gain[k].load(std::memory_order_relaxed);
    }
    const auto sections = DesignCascade(layout, SolveFilterGains(layout, slider));

    const int oldActive = active;
    int oldOrder[MaxBands];
    std::copy(order, order + oldActive, oldOrder);
    active = 0;
    for (int k = 0; k < n; ++k)
        if (layout.active[k])
            order[active++] = k;
    // Sections keep their place when the set of bands did not change; otherwise (a new
    // band, a new rate) the cascade starts afresh.
    if (!smooth || oldActive != active || !std::equal(order, order + active, oldOrder)) {
        smooth = false;
        ClearMemory();
    }

    bool targetFlat = true;
    const double len = double(std::max(blockFrames, size_t(rate / 100)));
    for (int i = 0; i < active; ++i) {
        const Biquad& t = sections[order[i]];
        targetFlat = targetFlat && t.IsUnity();
        target[i] = t;
        Section& s = sec[i];
        if (!smooth) {
            s.b0 = Broadcast(t.b0), s.b1 = Broadcast(t.b1), s.b2 = Broadcast(t.b2);
            s.a1 = Broadcast(t.a1), s.a2 = Broadcast(t.a2);
        } else {
            s.d0 = (Broadcast(t.b0) - s.b0) / len;
            s.d1 = (Broadcast(t.b1) - s.b1) / len;
            s.d2 = (Broadcast(t.b2) - s.b2) / len;
            s.da1 = (Broadcast(t.a1) - s.a1) / len;
            s.da2 = (Broadcast(t.a2) - s.a2) / len;
        }
    }
    if (smooth && !(flat && targetFlat)) {
        rampLeft = size_t(len);
        flat = false;
    } else {
        rampLeft = 0;
        flat = targetFlat;
    }
    settleLeft = targetFlat ? size_t(rate / 5) : 0;
}

Equalizer::Equalizer() : m(new Impl) {}
Equalizer::~Equalizer() { delete m; }

int Equalizer::AddBand(double lowEdge, double highEdge)
{
    const int n = m->count.load(std::memory_order_relaxed);
    if (n >= MaxBands || !(lowEdge >= 0) || !(highEdge > lowEdge) || !std::isfinite(highEdge))
        return -1;
    m->low[n] = lowEdge;
    m->high[n] = highEdge;
    m->gain[n].store(0, std::memory_order_relaxed);
    m->count.store(n + 1, std::memory_order_release);
    m->version.fetch_add(1, std::memory_order_release);
    return n;
}

int Equalizer::BandCount() const { return m->count.load(std::memory_order_acquire); }

void Equalizer::SetGain(int band, double dB)
{
    if (band < 0 || band >= BandCount() || std::isnan(dB))
        return;
    m->gain[band].store(std::clamp(dB, -MaxGainDb, MaxGainDb), std::memory_order_relaxed);
    m->version.fetch_add(1, std::memory_order_release);
}

double Equalizer::Gain(int band) const
{
    if (band < 0 || band >= BandCount())
        return 0;
    return m->gain[band].load(std::memory_order_relaxed);
}

void Equalizer::SetSampleRate(int rate)
{
    if (rate < 1000 || rate > 1'000'000)
        return;
    m->rate = rate;
    m->Redesign(false, 0);
}

int Equalizer::SampleRate() const { return m->rate; }

void Equalizer::ResetState()
{
    m->ClearMemory();
    if (m->rampLeft == 0 && m->settleLeft > 0) {
        m->settleLeft = 0;
        m->flat = true;
    }
}

void Equalizer::Process(float* stereo, size_t frames)
{
    Impl& e = *m;
    if (e.version.load(std::memory_order_acquire) != e.seenVersion)
        e.Redesign(true, frames);
    if (e.flat || frames == 0)
        return;
    FlushDenormals ftz;
    while (frames > 0) {
        if (e.rampLeft > 0) {
            const size_t n = std::min(frames, e.rampLeft);
            Run<true>(e.sec, e.active, stereo, n);
            e.rampLeft -= n;
            stereo += 2 * n;
            frames -= n;
            if (e.rampLeft == 0) {
                for (int i = 0; i < e.active; ++i) {
                    const Biquad& t = e.target[i];
                    Section& s = e.sec[i];
                    s.b0 = Broadcast(t.b0), s.b1 = Broadcast(t.b1), s.b2 = Broadcast(t.b2);
                    s.a1 = Broadcast(t.a1), s.a2 = Broadcast(t.a2);
                }
            }
        } else {
            Run<false>(e.sec, e.active, stereo, frames);
            if (e.settleLeft > 0) {
                e.settleLeft -= std::min(frames, e.settleLeft);
                if (e.settleLeft == 0) {
                    e.ClearMemory();
                    e.flat = true;
                }
            }
            frames = 0;
        }
    }
    // Input that was not a number must not silence the equalizer for the rest of the stream.
    for (int i = 0; i < e.active; ++i)
        if (!Finite(e.sec[i].z1) || !Finite(e.sec[i].z2))
            e.ClearMemory();
}

}  // namespace quillet::audio
