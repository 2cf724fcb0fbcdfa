// WAV, FLAC and Ogg Opus files through libsndfile, read as float (integer PCM scaled by
// 1/2^(bits−1)). libsndfile finds the exact length and seeks sample-exactly in all three (GSM
// 6.10 in WAV excepted: see SeekByReading).
#include "components/audio/sources/absurdlevels.h"
#include "components/audio/sources/filesources.h"
#include "components/audio/sources/sndfilecalls.h"
#include "playback/audioengine.h"

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace quillet::audio {

namespace {

class SndfileSource final : public Source {
public:
    SndfileSource(const SndfileCalls& sf, int fd, SNDFILE* file, const SF_INFO& info)
        : m_sf(sf), m_fd(fd), m_file(file), m_info(info)
    {
        const int sub = info.format & SF_FORMAT_SUBMASK;
        m_floatData = sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_DOUBLE || sub == SF_FORMAT_OPUS;
    }
    ~SndfileSource() override
    {
        if (m_file != nullptr)
            m_sf.sf_close(m_file);
        ::close(m_fd);
    }

    StreamFormat Format() const override { return {m_info.samplerate, m_info.channels}; }
    int64_t LengthFrames() const override { return m_info.frames; }
    bool Failed() const override { return m_failed; }

    size_t Read(float* out, size_t frames) override
    {
        if (m_failed || frames == 0)
            return 0;
        const sf_count_t got = m_sf.sf_readf_float(m_file, out, sf_count_t(frames));
        if (got < 0 || (got == 0 && m_position < m_info.frames && m_sf.sf_error(m_file) != 0)) {
            m_failed = true;
            return 0;
        }
        m_position += got;
        // A float file may hold NaN, infinity or absurd values; they must not reach the
        // filters. Integer data cannot.
        if (m_floatData)
            SilenceAbsurdSamples(out, size_t(got) * size_t(m_info.channels));
        return size_t(got);
    }

    void Seek(int64_t frame) override
    {
        frame = std::clamp<int64_t>(frame, 0, m_info.frames);
        if (m_failed)
            return;
        if (!m_info.seekable) {
            SeekByReading(frame);
            return;
        }
        const sf_count_t at = m_sf.sf_seek(m_file, frame, SEEK_SET);
        if (at < 0)
            m_failed = true;
        else
            m_position = at;
    }

private:
    // Some encodings (GSM 6.10) cannot be sought in: the file is opened afresh when the frame
    // lies behind, and decoded up to it.
    void SeekByReading(int64_t frame)
    {
        if (frame < m_position) {
            m_sf.sf_close(m_file);
            SF_INFO info{};
            m_file = ::lseek(m_fd, 0, SEEK_SET) == 0
                         ? m_sf.sf_open_fd(m_fd, SFM_READ, &info, SF_FALSE)
                         : nullptr;
            if (m_file == nullptr || info.frames != m_info.frames) {
                m_failed = true;
                return;
            }
            m_position = 0;
        }
        std::vector<float> skipped(size_t(4096 * m_info.channels));
        while (m_position < frame) {
            const sf_count_t got = m_sf.sf_readf_float(
                m_file, skipped.data(), std::min<sf_count_t>(4096, frame - m_position));
            if (got <= 0)
                break; // the data ends before it: reading goes on from there
            m_position += got;
        }
    }

    const SndfileCalls& m_sf;
    int m_fd; // ours: libsndfile is told not to close it
    SNDFILE* m_file;
    SF_INFO m_info;
    bool m_floatData = false;
    bool m_failed = false;
    int64_t m_position = 0;
};

bool IsSndfileKind(int format, SndfileKind kind)
{
    const int major = format & SF_FORMAT_TYPEMASK;
    switch (kind) {
    case SndfileKind::Wav:
        return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
    case SndfileKind::Flac:
        return major == SF_FORMAT_FLAC;
    case SndfileKind::Opus:
        return major == SF_FORMAT_OGG && (format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS;
    }
    return false;
}

} // namespace

std::unique_ptr<Source> OpenSndfileSource(int fd, const QString& path, SndfileKind kind)
{
    const SndfileCalls* sf = LoadSndfileCalls();
    if (!sf) {
        ::close(fd);
        throw ComponentError("cannot decode " + path.toStdString() + ": no libsndfile");
    }
    SF_INFO info{};
    SNDFILE* file = sf->sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (file == nullptr) {
        ::close(fd);
        throw ComponentError("cannot decode " + path.toStdString() + ": " +
                             sf->sf_strerror(nullptr));
    }
    // What the content promised must be what the library found; a header with no channels,
    // more than the player plays, or an absurd rate is refused rather than played as noise.
    if (!IsSndfileKind(info.format, kind) || !IsPlayableFormat(info.samplerate, info.channels) ||
        info.frames < 0) {
        sf->sf_close(file);
        ::close(fd);
        throw ComponentError("unsupported audio data in " + path.toStdString());
    }
    return std::make_unique<SndfileSource>(*sf, fd, file, info);
}

} // namespace quillet::audio
