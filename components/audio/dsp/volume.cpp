// Volume and balance (see dsp.h for the curve and the balance law).
#include "components/audio/dsp/dsp.h"

#include <algorithm>

namespace quillet::audio {

void VolumeStage::SetVolume(int volume)
{
    m_volume.store(std::clamp(volume, 0, MaxVolume), std::memory_order_relaxed);
}

void VolumeStage::SetBalance(int balance)
{
    m_balance.store(std::clamp(balance, -MaxBalance, MaxBalance), std::memory_order_relaxed);
}

double VolumeStage::VolumeGain(int volume)
{
    const double x = double(std::clamp(volume, 0, MaxVolume)) / MaxVolume;
    return x * x * x;
}

double VolumeStage::BalanceGain(int balance, bool left)
{
    const int b = std::clamp(balance, -MaxBalance, MaxBalance);
    // Positive balance leans right: only the left channel is turned down, and vice versa.
    const int away = left ? b : -b;
    return away > 0 ? 1.0 - double(away) / MaxBalance : 1.0;
}

VolumeStage::Gains VolumeStage::Target() const
{
    const double v = VolumeGain(Volume());
    const int b = Balance();
    return {float(v * BalanceGain(b, true)), float(v * BalanceGain(b, false))};
}

void VolumeStage::Process(float* stereo, size_t frames)
{
    if (frames == 0)
        return;
    const Gains target = Target();
    const Gains from = m_current;
    if (from.left == target.left && from.right == target.right) {
        if (target.left == 1 && target.right == 1)
            return;
        for (size_t i = 0; i < frames; ++i) {
            stereo[2 * i] *= target.left;
            stereo[2 * i + 1] *= target.right;
        }
        return;
    }
    // Linear ramp that reaches the new gains on the block's last frame.
    const float stepL = (target.left - from.left) / float(frames);
    const float stepR = (target.right - from.right) / float(frames);
    for (size_t i = 0; i + 1 < frames; ++i) {
        stereo[2 * i] *= from.left + stepL * float(i + 1);
        stereo[2 * i + 1] *= from.right + stepR * float(i + 1);
    }
    stereo[2 * frames - 2] *= target.left;
    stereo[2 * frames - 1] *= target.right;
    m_current = target;
}

} // namespace quillet::audio
