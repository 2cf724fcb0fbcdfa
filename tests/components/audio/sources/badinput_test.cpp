// Files that are not what their names say, damaged, or cut while open: each gives
// ComponentError or an early end; never a crash, a hang or noise.
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <sys/stat.h>

namespace quillet::test {
namespace {

bool AllFinite(const fixtures::Signal& s)
{
    return std::ranges::all_of(s.samples,
                               [](float x) { return std::isfinite(x) && std::abs(x) <= 4; });
}

TEST(BadInput, UndecodableFilesAreRefusedAtOnce)
{
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.mp3")));
    fixtures::WriteWav(dir.filePath("header-cut.wav"), fixtures::Counter(100));
    fixtures::TruncateFile(dir.filePath("header-cut.wav"), 20);
    // A NUL ends the name for the system: never opened as the playable file before it.
    fixtures::WriteWav(dir.filePath("tone.wav"), fixtures::Counter(100));
    QStringList paths{"/dev/zero", QString(), dir.filePath("tone.wav") + QChar(0) + ".evil.mp3"};
    // A signature with nothing valid behind it.
    for (const char* name : {"junk.flac", "junk.ogg"}) {
        fixtures::WriteRandomBytes(dir.filePath(name), 4000);
        WriteFile(dir.filePath(name),
                  (name[5] == 'f' ? "fLaC" : "OggS") + ReadFile(dir.filePath(name)));
    }
    for (const char* name :
         {"pipe.mp3", "folder.mp3", "missing.mp3", "header-cut.wav", "junk.flac", "junk.ogg"})
        paths << dir.filePath(name);
    for (int size : {0, 3, 417, 4000, 65536, 65537, 1 << 20, (1 << 20) + 1}) {
        paths << dir.filePath(QString("noise-%1.mp3").arg(size));
        fixtures::WriteRandomBytes(paths.back(), size, uint32_t(size));
    }
    for (const QString& path : paths) { // a reader stuck on the FIFO hangs: the test's timeout
        EXPECT_THROW(auto s = audio::OpenFileSource(path), ComponentError) << path.toStdString();
    }
}

// Damaged or cut files decode what is there; samples are never NaN, infinity or beyond
// full scale.
TEST(BadInput, DamagedDataDecodesWhatIsThere)
{
    QTemporaryDir dir;
    fixtures::WriteWav(dir.filePath("t.wav"), fixtures::Tone(1000, 2.0));
    fixtures::EncodeMp3(dir.filePath("t.wav"), dir.filePath("t.mp3"));
    const qint64 size = QFileInfo(dir.filePath("t.mp3")).size();
    QFile::copy(dir.filePath("t.mp3"), dir.filePath("half.mp3"));
    fixtures::TruncateFile(dir.filePath("half.mp3"), size / 2);
    QFile::copy(dir.filePath("t.mp3"), dir.filePath("hole.mp3"));
    fixtures::CorruptFile(dir.filePath("hole.mp3"), size / 3, 3000);
    // Everything before the damage plays, and nothing is invented after a cut.
    for (const auto& [name, least, most] : {std::tuple{"half.mp3", 30000, 60000},
                                            std::tuple{"hole.mp3", 88200 / 3 - 3 * 1152, 88200}}) {
        auto source = audio::OpenFileSource(dir.filePath(name));
        const fixtures::Signal decoded = DecodeRest(*source);
        EXPECT_GT(decoded.Frames(), least) << name;
        EXPECT_LE(decoded.Frames(), most) << name;
        EXPECT_LE(decoded.Frames(), source->LengthFrames()) << name;
        EXPECT_TRUE(AllFinite(decoded)) << name;
    }

    // Cut short while open (it is read through its descriptor): the data ends early.
    fixtures::WriteWav(dir.filePath("cut.wav"), fixtures::Counter(20000));
    for (const char* name : {"cut.wav", "t.mp3"}) {
        auto source = audio::OpenFileSource(dir.filePath(name));
        const int64_t before = DecodeRest(*source, 2000).Frames();
        fixtures::TruncateFile(dir.filePath(name), 2000);
        const fixtures::Signal after = DecodeRest(*source);
        EXPECT_LT(before + after.Frames(), source->LengthFrames()) << name;
        EXPECT_TRUE(AllFinite(after)) << name;
        EXPECT_EQ(DecodeRest(*source).Frames(), 0) << name;
    }
}

// Samples no recording holds (a damaged float, an MPEG frame of random bytes behind a valid
// header) come out as silence instead of ringing through the equalizer at full scale; a hot
// float master, overs included, plays unchanged.
TEST(BadInput, AbsurdLevelsComeOutAsSilence)
{
    QTemporaryDir dir;
    fixtures::Signal floats = fixtures::Tone(440, 0.1, 44100, 1, 0.045); // −27 dBFS
    const std::pair<size_t, float> planted[] = {
        {10, std::nanf("")}, {11, INFINITY}, {12, 3e38f}, {13, -1e10f}, {14, 9.0f}, // absurd
        {20, 1.0f},          {21, -1.0f},    {22, 7.5f}};                           // kept
    for (const auto& [at, value] : planted)
        floats.samples[at] = value;
    fixtures::WriteWav(dir.filePath("f.wav"), floats, fixtures::WavFormat::Float32);
    const fixtures::Signal decoded = DecodeFile(dir.filePath("f.wav"));
    ASSERT_EQ(decoded.Frames(), floats.Frames());
    for (size_t i = 0; i < floats.samples.size(); ++i) {
        const bool absurd = i >= 10 && i < 15;
        EXPECT_EQ(decoded.samples[i], absurd ? 0.0f : floats.samples[i]) << "sample " << i;
    }

    // An MP3 whose frames from the 20th on keep their headers over random bytes: what
    // decodes from them is at most as loud as the music was, in sum.
    fixtures::WriteWav(dir.filePath("t.wav"), fixtures::Tone(440, 3.0, 44100, 2, 0.045));
    fixtures::EncodeMp3(dir.filePath("t.wav"), dir.filePath("g.mp3"));
    ASSERT_GT(fixtures::CorruptMp3FrameBodies(dir.filePath("g.mp3"), 20), 80);
    const fixtures::Signal garbage = DecodeFile(dir.filePath("g.mp3"));
    ASSERT_GT(garbage.Frames(), 100000);
    const auto energy = [&](int64_t from, int64_t to) {
        double sum = 0;
        for (int64_t i = from * 2; i < to * 2; ++i)
            sum += double(garbage.samples[size_t(i)]) * garbage.samples[size_t(i)];
        return sum / double(to - from);
    };
    const double music = energy(2 * 1152, 18 * 1152);
    EXPECT_GT(music, 0.0005);
    EXPECT_LT(energy(20 * 1152, garbage.Frames()), music);
    EXPECT_TRUE(AllFinite(garbage));
}

// FLAC, Ogg Vorbis and Opus that are damaged: a header that says no channels or an absurd
// rate is refused; a stream cut inside its headers is refused or ends at once; one cut in half
// plays its first part (up to its last whole block or page).
TEST(BadInput, DamagedFlacOggAndOpus)
{
    QTemporaryDir dir;
    using fixtures::Codec;
    const fixtures::Signal noise = fixtures::PinkNoise(2.0); // too rich to fit in a few pages
    fixtures::WriteWav(dir.filePath("t.wav"), noise);
    const QString path = dir.filePath("t.mp3");
    const auto open = [&](Codec codec, const std::function<void()>& damage) {
        fixtures::EncodeXiph(dir.filePath("t.wav"), path, codec);
        damage();
        std::unique_ptr<audio::Source> source;
        try {
            source = audio::OpenFileSource(path);
        } catch (const ComponentError&) {
        }
        return source;
    };
    const std::tuple<Codec, qint64, QByteArray> headers[] = {
        {Codec::Flac, 18, QByteArray("\0\0\x02", 3)}, // rate 0
        {Codec::Flac, 18, "\xFF\xFF\xF2"},             // rate 1 MHz
        {Codec::Opus, 37, QByteArray(1, '\0')},         // no channels
        {Codec::Vorbis, 39, QByteArray(1, '\0')},       // no channels
        {Codec::Vorbis, 40, "\xFF\xFF\xFF\x7F"},        // rate 2 GHz
    };
    for (const auto& [codec, at, bytes] : headers) {
        EXPECT_EQ(open(codec, [&] { fixtures::PatchHeader(path, at, bytes); }), nullptr)
            << int(codec) << " at " << at;
    }
    for (const Codec codec : {Codec::Flac, Codec::Vorbis, Codec::Opus}) {
        SCOPED_TRACE(int(codec));
        const auto head = open(codec, [&] { fixtures::TruncateFile(path, 60); });
        EXPECT_TRUE(head == nullptr || DecodeRest(*head).Frames() == 0);
        const auto half = open(codec, [&] { fixtures::TruncateFile(path, QFileInfo(path).size() / 2); });
        // libsndfile refuses an Opus stream without its last page as a whole: refused is as
        // clear an outcome as an early end.
        if (codec == Codec::Opus && half == nullptr)
            continue;
        ASSERT_NE(half, nullptr);
        const fixtures::Signal decoded = DecodeRest(*half); // finite, within the length told
        EXPECT_TRUE(AllFinite(decoded));
        EXPECT_LE(decoded.Frames(), half->LengthFrames());
        EXPECT_GE(decoded.Frames(), (codec == Codec::Opus ? 96000 : noise.Frames()) / 8);
    }
}

} // namespace
} // namespace quillet::test
