// The graphic equalizer's processing: parameters handed over lock-free from the UI thread,
// redesign on the output thread, and a cascade of biquads (transposed direct form II) that
// runs in double precision (single precision moves the poles of the low sections enough to be
// off by tenths of a dB at 48 kHz).
#include "components/audio/dsp/dsp.h"

#include <algorithm>
#include <cmath>
#include <utility>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace quillet::audio {
namespace {

// Both channels of two sections in one four-lane vector: lanes 0–1 carry the left and right
// channel through a section of the lower half of the cascade, lanes 2–3 through the section
// of the upper half that pairs with it. The upper half runs a few frames behind the lower
// one, on the lower half's earlier output, so that a pair is one vector operation per step
// (two on processors without 256-bit vectors) and consecutive frames overlap in time.
typedef double Vec __attribute__((vector_size(32)));

enum Coefficient { B0, B1, B2, A1, A2, CoefficientCount };

struct alignas(32) Pair {
    Vec c[CoefficientCount];    // current coefficients
    Vec step[CoefficientCount]; // change per frame while a change is being smoothed
    Vec z1, z2;                 // filter memory
};

// Keeps tiny filter tails from turning into slow denormal arithmetic while it lives.
class FlushDenormals {
public:
#if defined(__SSE__)
    FlushDenormals() : m_saved(_mm_getcsr())
    {
        _mm_setcsr(m_saved | 0x8040);
    }
    ~FlushDenormals()
    {
        _mm_setcsr(m_saved);
    }

private:
    unsigned m_saved;
#endif
};

// The cascade's working set while a block runs: locals, so that the compiler keeps the filter
// memory in registers (the loop-carried path must not go through memory).
template <int Pairs> struct Work {
    Vec c[Pairs][CoefficientCount];
    Vec step[Pairs][CoefficientCount];
    Vec z1[Pairs], z2[Pairs];

    void Load(const Pair* p)
    {
        for (int k = 0; k < Pairs; ++k) {
            for (int i = 0; i < CoefficientCount; ++i)
                c[k][i] = p[k].c[i], step[k][i] = p[k].step[i];
            z1[k] = p[k].z1, z2[k] = p[k].z2;
        }
    }
    void Store(Pair* p) const
    {
        for (int k = 0; k < Pairs; ++k) {
            for (int i = 0; i < CoefficientCount; ++i)
                p[k].c[i] = c[k][i];
            p[k].z1 = z1[k], p[k].z2 = z2[k];
        }
    }
    // Puts lanes of one half back as they were in `saved` (that half did not run).
    void KeepHalf(const Work& saved, int half)
    {
        for (int k = 0; k < Pairs; ++k)
            for (int lane = 2 * half; lane < 2 * half + 2; ++lane) {
                z1[k][lane] = saved.z1[k][lane];
                z2[k][lane] = saved.z2[k][lane];
                for (int i = 0; i < CoefficientCount; ++i)
                    c[k][i][lane] = saved.c[k][i][lane];
            }
    }
    // One frame through every pair (transposed direct form II); `x` becomes the output.
    template <bool Ramp> inline __attribute__((always_inline)) void Step(Vec& x)
    {
        for (int k = 0; k < Pairs; ++k) {
            const Vec y = c[k][B0] * x + z1[k];
            // Summed in this order to keep the loop-carried path through y short.
            z1[k] = (c[k][B1] * x + z2[k]) - c[k][A1] * y;
            z2[k] = c[k][B2] * x - c[k][A2] * y;
            if constexpr (Ramp)
                for (int i = 0; i < CoefficientCount; ++i)
                    c[k][i] += step[k][i];
            x = y;
        }
    }
};

// Frames 0 … frames−1 through the cascade. The upper half runs Lag frames behind the lower
// one, so that several frames are in flight at once; the first Lag frames go through the
// lower half alone and the last Lag frames through the upper half alone (the idle half's
// memory and coefficients are put back afterwards).
template <bool Ramp, int Pairs>
inline __attribute__((always_inline)) void RunBody(Pair* pairs, float* stereo, size_t frames)
{
    constexpr size_t Lag = 8;
    double between[2 * Lag]; // the lower half's output, waiting for the upper half
    Work<Pairs> w, saved;
    w.Load(pairs);
    saved = w;
    const size_t head = std::min(Lag, frames);
    for (size_t i = 0; i < head; ++i) {
        Vec x = {stereo[2 * i], stereo[2 * i + 1], 0, 0};
        w.template Step<Ramp>(x);
        between[2 * i] = x[0], between[2 * i + 1] = x[1];
    }
    w.KeepHalf(saved, 1);
    for (size_t i = Lag; i < frames; ++i) {
        const size_t slot = 2 * (i % Lag);
        Vec x = {stereo[2 * i], stereo[2 * i + 1], between[slot], between[slot + 1]};
        w.template Step<Ramp>(x);
        stereo[2 * (i - Lag)] = float(x[2]);
        stereo[2 * (i - Lag) + 1] = float(x[3]);
        between[slot] = x[0], between[slot + 1] = x[1];
    }
    saved = w;
    for (size_t i = frames - head; i < frames; ++i) {
        const size_t slot = 2 * (i % Lag);
        Vec x = {0, 0, between[slot], between[slot + 1]};
        w.template Step<Ramp>(x);
        stereo[2 * i] = float(x[2]);
        stereo[2 * i + 1] = float(x[3]);
    }
    w.KeepHalf(saved, 0);
    w.Store(pairs);
}

template <bool Ramp, int Pairs> void RunPlain(Pair* p, float* stereo, size_t frames)
{
    RunBody<Ramp, Pairs>(p, stereo, frames);
}

#if defined(__x86_64__) || defined(__i386__)
template <bool Ramp, int Pairs>
__attribute__((target("avx2,fma"), optimize("fp-contract=fast"))) void
RunAvx(Pair* p, float* stereo, size_t frames)
{
    RunBody<Ramp, Pairs>(p, stereo, frames);
}
const bool HaveAvx = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#endif

template <bool Ramp, int Pairs> void RunFixed(Pair* p, float* stereo, size_t frames)
{
#if defined(__x86_64__) || defined(__i386__)
    if (HaveAvx)
        return RunAvx<Ramp, Pairs>(p, stereo, frames);
#endif
    RunPlain<Ramp, Pairs>(p, stereo, frames);
}

template <bool Ramp, int... Counts>
void Dispatch(std::integer_sequence<int, Counts...>, Pair* p, int pairs, float* stereo,
              size_t frames)
{
    ((pairs == Counts + 1 ? RunFixed<Ramp, Counts + 1>(p, stereo, frames) : void()), ...);
}

template <bool Ramp> void Run(Pair* p, int pairs, float* stereo, size_t frames)
{
    if (frames > 0)
        Dispatch<Ramp>(std::make_integer_sequence<int, MaxEqSections / 2>(), p, pairs, stereo,
                       frames);
}

bool Finite(const Vec& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]) && std::isfinite(v[3]);
}

double Get(const Biquad& b, int c)
{
    const double v[CoefficientCount] = {b.b0, b.b1, b.b2, b.a1, b.a2};
    return v[c];
}

} // namespace

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
    Biquad target[MaxEqSections]; // the sections being moved to, lowest first
    int active = 0;               // sections in the cascade
    int pairs = 0;
    Pair pair[MaxEqSections / 2];
    size_t rampLeft = 0;
    bool flat = true;      // every section is exactly unity and the memory is clear
    size_t settleLeft = 0; // frames still run after reaching unity, for the tails to die out

    // Section i of the cascade lives in pair i (lower half) or i − pairs (upper half).
    int PairOf(int i) const { return i < pairs ? i : i - pairs; }
    int LaneOf(int i) const { return i < pairs ? 0 : 2; }
    void Redesign(bool smooth, size_t blockFrames);
    void SetCoefficients(int i, const Biquad& b)
    {
        Pair& p = pair[PairOf(i)];
        for (int c = 0; c < CoefficientCount; ++c) {
            p.c[c][LaneOf(i)] = p.c[c][LaneOf(i) + 1] = Get(b, c);
            p.step[c][LaneOf(i)] = p.step[c][LaneOf(i) + 1] = 0;
        }
    }
    void ClearMemory()
    {
        for (Pair& p : pair)
            p.z1 = p.z2 = Vec{0, 0, 0, 0};
    }
};

void Equalizer::Impl::Redesign(bool smooth, size_t blockFrames)
{
    seenVersion = version.load(std::memory_order_acquire);
    const int n = count.load(std::memory_order_acquire);
    std::array<double, MaxBands> slider{};
    for (int k = 0; k < n; ++k)
        slider[k] = gain[k].load(std::memory_order_relaxed);
    const EqLayout old = layout;
    layout = LayOutBands(n, low, high, rate);
    const auto sections = DesignCascade(layout, SolveSectionGains(layout, slider));

    // Sections keep their place when their shapes did not change; otherwise (a new band, a new
    // rate) the cascade starts afresh.
    active = layout.sectionCount;
    if (!smooth || old.sectionCount != active ||
        !std::equal(old.sections.begin(), old.sections.begin() + active, layout.sections.begin())) {
        smooth = false;
        pairs = (active + 1) / 2;
        ClearMemory();
        for (int i = 0; i < 2 * pairs; ++i)
            SetCoefficients(i, Biquad{}); // the odd one out stays unity
    }

    bool targetFlat = true;
    const double len = double(std::max(blockFrames, size_t(rate / 100)));
    for (int i = 0; i < active; ++i) {
        const Biquad& t = sections[i];
        targetFlat = targetFlat && t.IsUnity();
        target[i] = t;
        if (!smooth) {
            SetCoefficients(i, t);
            continue;
        }
        Pair& p = pair[PairOf(i)];
        const int lane = LaneOf(i);
        for (int c = 0; c < CoefficientCount; ++c)
            p.step[c][lane] = p.step[c][lane + 1] = (Get(t, c) - p.c[c][lane]) / len;
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
Equalizer::~Equalizer()
{
    delete m;
}

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

int Equalizer::BandCount() const
{
    return m->count.load(std::memory_order_acquire);
}

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

int Equalizer::SampleRate() const
{
    return m->rate;
}

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
            Run<true>(e.pair, e.pairs, stereo, n);
            e.rampLeft -= n;
            stereo += 2 * n;
            frames -= n;
            if (e.rampLeft == 0)
                for (int i = 0; i < e.active; ++i)
                    e.SetCoefficients(i, e.target[i]);
        } else {
            Run<false>(e.pair, e.pairs, stereo, frames);
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
    for (int k = 0; k < e.pairs; ++k)
        if (!Finite(e.pair[k].z1) || !Finite(e.pair[k].z2))
            e.ClearMemory();
}

} // namespace quillet::audio
