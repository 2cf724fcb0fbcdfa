// A steady sine cut into two files off a zero crossing, for hearing how two tracks join: as
// WAV and FLAC (sox) and as MP3 (lame, with the header that carries encoder delay and padding),
// with the uncut sine's samples and the two MP3s decoded by one mpg123 run (the reference join).
// Made in a directory the caller gives; throws std::runtime_error when a tool fails. Main
// thread. 44.1 kHz stereo; frames.
#pragma once

#include <QProcess>
#include <QString>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace quillet::test {

struct CutSine {
    static constexpr size_t Cut = 35317; // frames in the first file

    explicit CutSine(const QString& directory) : dir(directory)
    {
        const QString whole = dir + "/whole.wav";
        Tool("sox", {"-D", "-n", "-r", "44100", "-c", "2", "-b", "16", whole, "synth", "1.6",
                     "sine", "440", "vol", "0.5"});
        Tool("sox", {"-D", whole, wav[0], "trim", "0", QString("%1s").arg(Cut)});
        Tool("sox", {"-D", whole, wav[1], "trim", QString("%1s").arg(Cut)});
        for (int i = 0; i < 2; ++i) {
            Tool("sox", {"-D", wav[i], flac[i]});
            Tool("lame", {"--quiet", "-b", "192", wav[i], mp3[i]});
        }
        samples = Samples(Tool("sox", {"-D", whole, "-t", "raw", "-e", "signed", "-b", "16", "-"}));
        mpg123 = Samples(Tool("mpg123", {"-q", "-s", mp3[0], mp3[1]}));
    }

    const QString dir;
    QString wav[2] = {dir + "/a.wav", dir + "/b.wav"};
    QString flac[2] = {dir + "/a.flac", dir + "/b.flac"};
    QString mp3[2] = {dir + "/a.mp3", dir + "/b.mp3"};
    std::vector<int16_t> samples; // the uncut sine, interleaved
    std::vector<int16_t> mpg123;  // both MP3s in one mpg123 run, interleaved

private:
    static QByteArray Tool(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            throw std::runtime_error(("failed: " + program + " " + args.join(' ')).toStdString());
        return p.readAllStandardOutput();
    }
    static std::vector<int16_t> Samples(const QByteArray& raw)
    {
        std::vector<int16_t> out(size_t(raw.size()) / 4 * 2);
        std::memcpy(out.data(), raw.constData(), out.size() * 2);
        return out;
    }
};

} // namespace quillet::test
