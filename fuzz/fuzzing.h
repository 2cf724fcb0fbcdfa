// Shared by the fuzz targets: a scratch folder of the process's own (under $TMPDIR, which
// scripts/fuzz points at a memory file system), whole-file writes into it, and a check that
// stops the run with a message the findings folder keeps beside the input.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace quillet::fuzz {

inline const QString& ScratchDir()
{
    static const QString dir = [] {
        QByteArray pattern = qgetenv("TMPDIR");
        if (pattern.isEmpty())
            pattern = "/tmp";
        pattern += "/quillet-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return QString::fromLocal8Bit(pattern);
    }();
    return dir;
}

inline QString ScratchFile(const char* name)
{
    return ScratchDir() + u'/' + QLatin1String(name);
}

inline void WriteWhole(const QString& path, const uint8_t* data, size_t size)
{
    const QByteArray name = path.toLocal8Bit();
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || (size > 0 && ::write(fd, data, size) != ssize_t(size)) || ::close(fd) != 0)
        std::abort();
}

inline QByteArray ReadWhole(const QString& path)
{
    QByteArray bytes;
    if (FILE* f = std::fopen(path.toLocal8Bit().constData(), "rb")) {
        char chunk[4096];
        size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.append(chunk, qsizetype(n));
        std::fclose(f);
    }
    return bytes;
}

// A broken promise of the code under test: reported and the input kept as a finding.
#define QUILLET_FUZZ_CHECK(condition)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace quillet::fuzz
