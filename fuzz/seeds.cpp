// Writes the seed corpora of the fuzz targets into <folder>/<target>/: media files made by the
// tests' fixture writers (WAV in every sample format, MP3, MP2, MP1, ID3v1 tags, damaged
// variants, FLAC, Ogg Vorbis, Opus), the program's own skin and small files of each text format.
#include "tests/fixtures/fileio.h"
#include "tests/fixtures/fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>

using namespace quillet::fixtures;

namespace {

void Text(const QString& dir, const char* name, const char* text)
{
    WriteBytes(dir + u'/' + QLatin1String(name), QByteArray(text));
}

void Media(const QString& dir)
{
    const Signal tone = Tone(440, 0.3, 44100, 2, 0.9);
    const Signal mono = Tone(1000, 0.3, 22050, 1);
    const struct {
        const char* name;
        WavFormat format;
    } wavs[] = {{"pcm8.wav", WavFormat::Pcm8},   {"pcm16.wav", WavFormat::Pcm16},
                {"pcm24.wav", WavFormat::Pcm24}, {"float.wav", WavFormat::Float32},
                {"alaw.wav", WavFormat::ALaw},   {"mulaw.wav", WavFormat::MuLaw},
                {"gsm.wav", WavFormat::Gsm610}};
    for (const auto& w : wavs)
        WriteWav(dir + "/" + w.name, w.format == WavFormat::Gsm610 ? Tone(440, 0.3, 8000, 1) : tone,
                 w.format);
    WriteWav(dir + "/mono.wav", mono);
    WriteWav(dir + "/claims4g.wav", tone);
    // The RIFF and data sizes (bytes 4 and 40 of our canonical header) claim 4 GB.
    QByteArray claims4g = ReadBytes(dir + "/claims4g.wav");
    claims4g.replace(4, 4, "\xff\xff\xff\xff").replace(40, 4, "\xf0\xff\xff\xff");
    WriteBytes(dir + "/claims4g.wav", claims4g);

    const QString scratch = dir + "/scratch.wav";
    WriteWav(scratch, tone);
    EncodeMp3(scratch, dir + "/cbr.mp3");
    EncodeMp3(scratch, dir + "/vbr.mp3", Mp3Mode::Vbr);
    EncodeMp3(scratch, dir + "/notag.mp3", Mp3Mode::Cbr, false);
    AppendId3v1(dir + "/cbr.mp3", "Title", "Artist", "Album", "2024", "Comment", 17);
    WriteWav(scratch, Tone(440, 0.3, 48000, 2));
    EncodeMp2(scratch, dir + "/layer2.mp2");
    EncodeXiph(scratch, dir + "/tone.flac", Codec::Flac, {"ARTIST=Someone"});
    EncodeXiph(scratch, dir + "/tone.ogg", Codec::Vorbis);
    EncodeXiph(scratch, dir + "/tone.opus", Codec::Opus);
    WriteWav(scratch, mono);
    EncodeMp3(scratch, dir + "/mpeg2.mp3");
    QFile::remove(scratch);
    WriteMp1Tone(dir + "/layer1.mp1", 4, 0.2);
    WriteMp1Tone(dir + "/layer1mono.mp1", 9, 0.2, 32000, 1, 192);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    try {
        for (const char* target : {"profile", "playlist", "id3v1", "xdg", "decoders", "skin"})
            QDir().mkpath(root + u'/' + QLatin1String(target));
        Media(root + "/decoders");

        const QString id3 = root + "/id3v1";
        WriteBytes(id3 + "/tagged.bin", QByteArray(200, 'x'));
        AppendId3v1(id3 + "/tagged.bin", "Title with ümlaut\xe9", "Artist", "Album", "1999",
                    QByteArray("Comment\0\x07", 9), 12);
        WriteBytes(id3 + "/notag.bin", QByteArray(128, ' '));

        const QString profile = root + "/profile";
        Text(profile, "settings.ini",
             "[display]\r\nVolume=80\r\nBalance=0\r\nSkin=default.skn\r\n[equalizer]\r\n"
             "db60=3\r\ndb16K=-5\r\n");
        Text(
            profile, "odd.ini",
            "; comment\n[ display ]\n Balance = \"-12\" \nBalance=1\n[equalizer\ndb16K\n[EQUALIZER]"
            "\nDB16k='4'");

        const QString playlist = root + "/playlist";
        Text(playlist, "list.qlt", "/music/a.mp3\r\n3\r\n\r\nrelative/b.wav\r\n/music/c d.mp2");
        Text(playlist, "mixed.qlt", "12\n/x/\xe9t\xe9.mp3\r/y/z.mp1\r\n 7 \r\n");

        const QString xdg = root + "/xdg";
        Text(xdg, "mimeapps.list",
             "[Added Associations]\naudio/mpeg=vlc.desktop;\n\n[Default Applications]\n"
             "audio/mpeg=other.desktop;QuilletJukebox.Document.desktop;\naudio/"
             "x-wav=player.desktop\n");
        Text(xdg, "crlf.list", "# mine\r\n[Default Applications]\r\naudio/x-wav = ;a.desktop;\r\n");

        const QString skin = root + "/skin";
        QFile::copy(QStringLiteral(QUILLET_SOURCE_DIR "/resources/Skins/default.skn"),
                    skin + "/default.skn");
        Text(
            skin, "outside.svg",
            "<?xml version=\"1.0\"?><?xml-stylesheet type=\"text/css\" href=\"x.css\"?>"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
            " width=\"10\" height=\"10\"><rect id=\"form\" width=\"10\" height=\"10\" "
            "fill=\"red\"/>"
            "<image id=\"ButtonPlay\" width=\"4\" height=\"4\" xlink:href=\"/etc/x.png\"/>"
            "<use href=\"#form\"/><image id=\"bg\" width=\"1\" height=\"1\" href=\"data:image/png;"
            "base64,"
            "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU"
            "5ErkJggg==\"/>"
            "</svg>");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
