// Files that are not what their names say, or damaged: each is refused at open, plays what is
// there, or has its damaged part come out as silence; never a crash, a hang, a sample that is
// not a number or beyond MaxSourceLevel. One row for each way the decoders handle damage (where
// a library alone refuses a file, no row).
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"
#include "tests/support/testsupport.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace quillet::test {
namespace {

using fixtures::Codec;
enum class Made { Pipe, Mp3, Flac, Vorbis, FloatTone, GarbledMp3 };
enum class Outcome { Refused, Plays, Silence };
constexpr qint64 Whole = -1, Half = -2, HalfWhilePlaying = -3;

struct Damaged {
    const char* what;
    Made made;
    qint64 keep;      // what of the file is kept: Whole, Half or HalfWhilePlaying
    QByteArray patch; // written over the file at patchAt
    qint64 patchAt;
    Outcome outcome;
    int64_t least = 0, most = 0; // frames that come out
    float over = 0;              // a sample beyond full scale that must come out
};

TEST(BadInput, EachDamageIsRefusedAtOpenPlaysWhatIsThereOrComesOutAsSilence)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("noise.wav"); // what the encoded rows hold: 132300 frames
    fixtures::WriteWav(wav, fixtures::PinkNoise(3.0, 44100, 2, 0.045));
    // Written over a float file's samples: a hot master's over, then values no recording holds.
    const float floats[] = {7.5f, std::nanf(""), INFINITY, 3e38f, -1e10f, 9.0f};
    const QByteArray absurd(reinterpret_cast<const char*>(floats), sizeof(floats));
    using enum Outcome;
    const Damaged rows[] = {
        {"a pipe, never waited on", Made::Pipe, Whole, {}, 0, Refused},
        {"a FLAC header that says 1 MHz", Made::Flac, Whole, "\xFF\xFF\xF2", 18, Refused},
        {"a Vorbis header that says 2 GHz", Made::Vorbis, Whole, "\xFF\xFF\xFF\x7F", 40, Refused},
        {"MP3 cut in half while it plays", Made::Mp3, HalfWhilePlaying, {}, 0, Plays, 30000, 80000},
        {"FLAC cut in half", Made::Flac, Half, {}, 0, Plays, 30000, 80000},
        {"absurd floats", Made::FloatTone, Whole, absurd, 444, Plays, 44100, 44100, 7.5f},
        {"garbled MP3 frames", Made::GarbledMp3, Whole, {}, 0, Silence, 130000, 140000},
    };
    for (const Damaged& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(row.what);
        if (row.made == Made::Pipe) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (row.made == Made::Mp3 || row.made == Made::GarbledMp3) {
            fixtures::EncodeMp3(wav, path);
        } else if (row.made == Made::Flac || row.made == Made::Vorbis) {
            fixtures::EncodeXiph(wav, path, row.made == Made::Flac ? Codec::Flac : Codec::Vorbis);
        } else { // samples from the 100th on are overwritten
            fixtures::WriteWav(path, fixtures::Tone(440, 1.0, 44100, 1, 0.045),
                               fixtures::WavFormat::Float32);
        }
        if (row.made == Made::GarbledMp3) { // from the 20th frame on: valid headers, random bodies
            ASSERT_GT(fixtures::CorruptMp3FrameBodies(path, 20), 80);
        }
        if (row.keep == Half)
            fixtures::TruncateFile(path, QFileInfo(path).size() / 2);
        if (!row.patch.isEmpty())
            fixtures::PatchHeader(path, row.patchAt, row.patch);
        if (row.outcome == Refused) {
            EXPECT_THROW(auto s = audio::OpenFileSource(path), ComponentError);
            continue;
        }
        auto source = audio::OpenFileSource(path);
        if (row.keep == HalfWhilePlaying) // it is read through its descriptor
            fixtures::TruncateFile(path, QFileInfo(path).size() / 2);
        const fixtures::Signal decoded = DecodeRest(*source);
        EXPECT_GE(decoded.Frames(), row.least);
        EXPECT_LE(decoded.Frames(), std::min(row.most, source->LengthFrames()));
        float loudest = 0; // a sample that is no number counts as infinitely loud
        for (const float x : decoded.samples)
            loudest = std::max(loudest, std::isfinite(x) ? std::abs(x) : INFINITY);
        // Silence: what the damage decodes to is no louder than full scale.
        EXPECT_LE(loudest, row.outcome == Silence ? 1.0f : audio::MaxSourceLevel);
        EXPECT_GE(loudest, row.over);
    }
}

} // namespace
} // namespace quillet::test
