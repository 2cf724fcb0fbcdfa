// The frame-run check that tells an MPEG audio stream from arbitrary bytes.
#include "components/audio/sources/filesources.h"

#include <array>
#include <cstring>
#include <optional>
#include <unistd.h>
#include <vector>

namespace quillet::audio {

namespace {

struct FrameHeader {
    int version; // 0: MPEG-2.5, 2: MPEG-2, 3: MPEG-1 (the header's own code)
    int layer;   // 1, 2 or 3
    int sampleRate;
    int bytes; // whole frame, header included
};

// kbit/s by [MPEG-1?][layer − 1][index]
constexpr std::array<std::array<std::array<int, 15>, 3>, 2> Bitrates{{
    {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}},
    {{{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}},
}};

std::optional<FrameHeader> ParseHeader(const uint8_t* p)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = (p[1] >> 3) & 3;
    const int layerCode = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    // Reserved codes; free-format frames (bit rate index 0) carry no length to follow.
    if (version == 1 || layerCode == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3 || (p[3] & 3) == 2)
        return std::nullopt;
    static constexpr int Rates[3] = {44100, 48000, 32000};
    const int rate = Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    const int layer = 4 - layerCode;
    const int bps = Bitrates[version == 3][layer - 1][bitrateIndex] * 1000;
    int bytes = 0;
    if (layer == 1)
        bytes = (12 * bps / rate + padding) * 4;
    else if (layer == 3 && version != 3)
        bytes = 72 * bps / rate + padding;
    else
        bytes = 144 * bps / rate + padding;
    return FrameHeader{version, layer, rate, bytes};
}

bool StartsWith(const std::vector<uint8_t>& data, size_t at, const char* text)
{
    const size_t n = std::strlen(text);
    return at + n <= data.size() && std::memcmp(data.data() + at, text, n) == 0;
}

// Frames needed in a row; a shorter run is enough when it ends exactly at the end of the
// file or at a trailing tag.
constexpr int RunLength = 4;
constexpr size_t SearchWindow = 64 * 1024;
constexpr size_t ReadSize = SearchWindow + 16 * 1024;

bool RunAt(const std::vector<uint8_t>& data, size_t at, bool dataIsWholeRest)
{
    const auto first = ParseHeader(data.data() + at);
    if (!first)
        return false;
    size_t pos = at;
    for (int n = 0; n < RunLength; ++n) {
        if (pos + 4 > data.size()) {
            const bool atEnd = pos == data.size() && dataIsWholeRest;
            return n > 0 && atEnd;
        }
        const auto h = ParseHeader(data.data() + pos);
        if (!h) {
            const bool trailingTag = StartsWith(data, pos, "TAG") ||
                                     StartsWith(data, pos, "APETAGEX") ||
                                     StartsWith(data, pos, "LYRICSBEGIN");
            return n > 0 && trailingTag;
        }
        if (h->version != first->version || h->layer != first->layer ||
            h->sampleRate != first->sampleRate)
            return false;
        pos += size_t(h->bytes);
    }
    return true;
}

} // namespace

bool HasMpegFrameRun(int fd, int64_t size)
{
    int64_t start = 0;
    uint8_t id3[10];
    if (::pread(fd, id3, 10, 0) == 10 && std::memcmp(id3, "ID3", 3) == 0 &&
        ((id3[6] | id3[7] | id3[8] | id3[9]) & 0x80) == 0) {
        const int64_t tagSize = (int64_t(id3[6]) << 21) | (id3[7] << 14) | (id3[8] << 7) | id3[9];
        start = 10 + tagSize + ((id3[5] & 0x10) ? 10 : 0);
    }
    if (start >= size)
        return false;
    const size_t want = size_t(std::min<int64_t>(int64_t(ReadSize), size - start));
    std::vector<uint8_t> data(want);
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::pread(fd, data.data() + got, want - got, start + int64_t(got));
        if (n <= 0)
            break;
        got += size_t(n);
    }
    data.resize(got);
    const bool wholeRest = start + int64_t(got) == size;
    const size_t limit = std::min(SearchWindow, data.size());
    for (size_t at = 0; at + 4 <= limit; ++at)
        if (data[at] == 0xFF && RunAt(data, at, wholeRest))
            return true;
    return false;
}

} // namespace quillet::audio
