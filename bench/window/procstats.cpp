#include "bench/window/procstats.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace quillet::bench {
namespace {

QByteArray ReadProc(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the process has gone: " + path.toStdString());
    return file.readAll();
}

// utime + stime of a /proc stat line, in seconds. The fields after the command name (in
// parentheses, may hold blanks and parentheses): state is the first, utime the 12th.
double StatCpuSeconds(const QByteArray& stat)
{
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        throw std::runtime_error("unreadable /proc stat");
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// The number after `key` in a "Key:   value kB" listing; 0 when the key is missing.
int64_t Field(const QByteArray& text, const QByteArray& key)
{
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace

double ProcessCpuSeconds(qint64 pid)
{
    return StatCpuSeconds(ReadProc(QStringLiteral("/proc/%1/stat").arg(pid)));
}

ProcessMemory MemoryOf(qint64 pid)
{
    const QByteArray status = ReadProc(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray rollup = ReadProc(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    return {double(Field(status, "VmRSS:")) / 1024, double(Field(rollup, "Pss:")) / 1024};
}

std::vector<ThreadActivity> ThreadsOf(qint64 pid)
{
    std::vector<ThreadActivity> threads;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        try {
            const QString dir = tasks + '/' + tid;
            const QByteArray status = ReadProc(dir + "/status");
            // schedstat's first field: nanoseconds on a CPU, finer than stat's clock ticks.
            const QByteArray schedstat = ReadProc(dir + "/schedstat");
            threads.push_back({tid.toInt(), QString::fromUtf8(ReadProc(dir + "/comm").trimmed()),
                               double(schedstat.split(' ').value(0).toLongLong()) / 1e9,
                               Field(status, "voluntary_ctxt_switches:") +
                                   Field(status, "nonvoluntary_ctxt_switches:")});
        } catch (const std::runtime_error&) {
            // The thread ended while it was being read.
        }
    }
    return threads;
}

int64_t SwitchesOf(qint64 pid)
{
    int64_t sum = 0;
    for (const ThreadActivity& thread : ThreadsOf(pid))
        sum += thread.switches;
    return sum;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace quillet::bench
