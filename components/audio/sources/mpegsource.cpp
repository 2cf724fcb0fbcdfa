// MPEG audio layers I, II and III through libmpg123: float output, gapless, exact length from
// a full scan, sample-exact seeking.
#include "components/audio/sources/absurdlevels.h"
#include "components/audio/sources/filesources.h"
#include "playback/audioengine.h"

#include <mpg123.h>

#include <algorithm>
#include <mutex>
#include <unistd.h>

namespace quillet::audio {

namespace {

class MpegSource final : public Source {
public:
    MpegSource(int fd, mpg123_handle* handle, StreamFormat format, int64_t length)
        : m_fd(fd), m_handle(handle), m_format(format), m_length(length),
          m_muter(size_t(std::max(mpg123_spf(handle), 384)))
    {
    }
    ~MpegSource() override
    {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
        ::close(m_fd);
    }

    StreamFormat Format() const override { return m_format; }
    int64_t LengthFrames() const override { return m_length; }
    bool Failed() const override { return m_failed; }

    size_t Read(float* out, size_t frames) override
    {
        const size_t frameBytes = sizeof(float) * size_t(m_format.channels);
        size_t done = 0;
        while (done < frames && !m_failed && !m_ended) {
            size_t bytes = 0;
            const int rc =
                mpg123_read(m_handle, reinterpret_cast<unsigned char*>(out) + done * frameBytes,
                            (frames - done) * frameBytes, &bytes);
            done += bytes / frameBytes;
            if (rc == MPG123_DONE)
                m_ended = true;
            else if (rc == MPG123_NEW_FORMAT)
                CheckFormatUnchanged();
            else if (rc != MPG123_OK)
                m_failed = true;
            else if (bytes == 0)
                m_ended = true; // nothing more comes from this stream
        }
        // A frame whose body is damaged (random bytes behind a valid header) decodes to
        // values far beyond full scale: that frame is silenced rather than played as noise.
        m_muter.Process(out, done, m_format.channels);
        return done;
    }

    void Seek(int64_t frame) override
    {
        frame = std::clamp<int64_t>(frame, 0, m_length);
        if (mpg123_seek(m_handle, off_t(frame), SEEK_SET) < 0)
            m_failed = true;
        else
            m_ended = false;
        m_muter.Reset();
    }

private:
    // A stream that switches rate or channel count midway cannot go on as one stream.
    void CheckFormatUnchanged()
    {
        long rate = 0;
        int channels = 0, encoding = 0;
        if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK ||
            rate != m_format.sampleRate || channels != m_format.channels)
            m_failed = true;
    }

    int m_fd;
    mpg123_handle* m_handle;
    StreamFormat m_format;
    int64_t m_length;
    AbsurdFrameMuter m_muter;
    bool m_failed = false;
    bool m_ended = false;
};

struct HandleGuard {
    mpg123_handle* handle = nullptr;
    int fd = -1;
    ~HandleGuard()
    {
        if (handle != nullptr) {
            mpg123_close(handle);
            mpg123_delete(handle);
        }
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::unique_ptr<Source> OpenMpegSource(int fd, int64_t, const QString& path)
{
    static std::once_flag initOnce;
    std::call_once(initOnce, [] { mpg123_init(); });

    HandleGuard guard{nullptr, fd};
    const auto fail = [&](const char* why) {
        return ComponentError(std::string(why) + ": " + path.toStdString());
    };
    int err = MPG123_OK;
    guard.handle = mpg123_new(nullptr, &err);
    if (guard.handle == nullptr)
        throw fail("cannot create an MPEG decoder");
    mpg123_handle* mh = guard.handle;
    // No Frankenstein streams: a header that changes the format midway (in a damaged file,
    // usually junk that looks like a header) is skipped instead of switching formats.
    mpg123_param(mh, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_NO_FRANKENSTEIN, 0.0);
    // After a seek, layer III needs the frames its bit reservoir reaches back into: up to 511
    // bytes, about nine of the smallest frames, plus one for the overlap. Too few preframes
    // decode a VBR stream to silence or wrong sound after the seek.
    mpg123_param(mh, MPG123_PREFRAMES, 12, 0.0);
    // Accept every rate and channel layout, always as float.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);

    if (mpg123_open_fd(mh, fd) != MPG123_OK)
        throw fail("cannot read");
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || channels < 1 || channels > 2 || rate <= 0)
        throw fail("no decodable MPEG audio");
    // Keep this format for the whole stream.
    mpg123_format_none(mh);
    mpg123_format(mh, rate, channels, MPG123_ENC_FLOAT_32);
    if (mpg123_scan(mh) != MPG123_OK)
        throw fail("cannot scan");
    const off_t length = mpg123_length(mh);
    if (length <= 0)
        throw fail("no MPEG audio frames");
    if (mpg123_seek(mh, 0, SEEK_SET) < 0)
        throw fail("cannot rewind");

    guard.handle = nullptr;
    guard.fd = -1;
    return std::make_unique<MpegSource>(fd, mh, StreamFormat{int(rate), channels}, int64_t(length));
}

} // namespace quillet::audio
