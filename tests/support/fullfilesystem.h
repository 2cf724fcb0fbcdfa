// Worlds in which a write is refused: a file-size limit on this process (RLIMIT_FSIZE, with
// SIGXFSZ ignored so that write() fails with EFBIG, as on a full disk), and a child process
// without the right to write into a folder. Header only, for any test.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet::test {

// Runs what while this process may not make any file longer than maxBytes.
template <typename F> auto WithFileSizeLimit(rlim_t maxBytes, F&& what)
{
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = maxBytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    auto result = what();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

// Runs scenario in a child process that may not write into folder: folder is made read-only,
// and the superuser (whom no permission stops) becomes user nobody in the child. scenario
// returns what it saw, as text. Returns that text, or nothing with skipReason set where the
// child cannot become nobody.
inline std::optional<QString> WithoutWriteRight(const QString& folder,
                                                const std::function<QString()>& scenario,
                                                QString& skipReason)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return QString("pipe: ") + std::strerror(errno);
    const QFileDevice::Permissions before = QFile::permissions(folder);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const bool nobody = ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
        const QByteArray report = nobody ? scenario().toUtf8() : "skip: cannot become nobody";
        ::_exit(::write(channel[1], report.constData(), size_t(report.size())) == report.size()
                    ? 0
                    : 1);
    }
    ::close(channel[1]);
    // A report of up to 4 KiB is written in one piece, so the child never waits for us.
    int status = 0;
    ::waitpid(child, &status, 0);
    char buffer[4096];
    const QByteArray report(buffer,
                            std::max<ssize_t>(0, ::read(channel[0], buffer, sizeof buffer)));
    ::close(channel[0]);
    QFile::setPermissions(folder, before);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QString("the child process failed, status %1").arg(status);
    if (report.startsWith("skip: ")) {
        skipReason = QString::fromUtf8(report.mid(6));
        return std::nullopt;
    }
    return QString::fromUtf8(report);
}

} // namespace quillet::test
