// The "skip a failing step and go on" style of the load and unload sequences: each step is
// wrapped so that a failure (a ComponentError or any other std::exception) ends that step
// only. Any thread; the step runs on the caller's.
#pragma once

#include <exception>

namespace quillet {

// Runs step; returns false when it threw, true when it completed.
template <typename Step> bool IgnoreFailure(Step&& step) noexcept
{
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace quillet
