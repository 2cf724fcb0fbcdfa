// What a running process costs, read from /proc: CPU time of all its threads, resident and
// proportional memory, and wake-ups (context switches) per thread; and the median of a series.
// Any thread. CPU in seconds, memory in MiB.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace quillet::bench {

// User + system CPU seconds of the whole process so far (all its threads); throws
// std::runtime_error when the process has gone.
[[nodiscard]] double ProcessCpuSeconds(qint64 pid);

struct ProcessMemory {
    double rssMiB = 0; // VmRSS
    double pssMiB = 0; // Pss of smaps_rollup: shared pages split among their users
};
[[nodiscard]] ProcessMemory MemoryOf(qint64 pid);

struct ThreadActivity {
    int tid = 0;
    QString name;
    double cpuSeconds = 0; // to the nanosecond
    int64_t switches = 0;  // voluntary + involuntary context switches: a wake-up each
};
// The threads alive now.
[[nodiscard]] std::vector<ThreadActivity> ThreadsOf(qint64 pid);
// Context switches of all the process's threads alive now.
[[nodiscard]] int64_t SwitchesOf(qint64 pid);

[[nodiscard]] double Median(std::vector<double> values);

} // namespace quillet::bench
