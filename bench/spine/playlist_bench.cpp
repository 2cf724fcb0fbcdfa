// Playlist speed against the system-call floor, on generated tagged files:
//  - AddMediaFile over 10,000 files vs open/seek/read 128 bytes/close over the same files;
//  - LoadPlaylistFile of 32,767 entries vs that loop over the 32,767 files;
//  - WriteList of 32,767 entries vs writing the same bytes with one write (and fsync).
// Each figure is the median of several alternating runs. Times in milliseconds.
#include "platform/userdialogs.h"
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "playlist/playlistmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

using namespace quillet;

class SilentDialogs : public UserDialogs {
public:
    void ShowMessage(const QString& text, const QString&, MessageIcon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QStringList ChooseFilesToOpen(const QList<FileFilter>&, const QString&) override { return {}; }
    QString ChooseFileToOpen(const QList<FileFilter>&, const QString&) override { return {}; }
    QString ChooseFileToSave(const QList<FileFilter>&, const QString&) override { return {}; }
    void ActivateMainWindow() override {}
};

QByteArray Field(const QByteArray& text, int width)
{
    return text.left(width) + QByteArray(width - std::min<qsizetype>(text.size(), width), '\0');
}

// Some frame-like bytes, then a 128-byte tag.
void WriteTaggedFile(const QString& path, int n)
{
    QByteArray bytes(2048, char(0x55));
    bytes += "TAG" + Field("Title " + QByteArray::number(n), 30) +
             Field("Artist " + QByteArray::number(n), 30) + Field("Album", 30) + "2024" +
             Field("", 30) + char(n % 148);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The floor: what reading each tag costs in plain system calls.
void ReadTagsPlainly(const std::vector<QByteArray>& names)
{
    char block[128];
    for (const QByteArray& name : names) {
        const int fd = ::open(name.constData(), O_RDONLY);
        if (fd < 0)
            qFatal("cannot open %s", name.constData());
        ::lseek(fd, -128, SEEK_END);
        if (::read(fd, block, sizeof block) != 128)
            qFatal("short read");
        ::close(fd);
    }
}

void Report(const char* name, const std::vector<double>& ours, const std::vector<double>& baseline)
{
    const double a = Median(ours);
    const double b = Median(baseline);
    std::printf("%s %.1f ms (baseline %.1f, %.2f)\n", name, a, b, a / b);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    constexpr int Runs = 5;
    constexpr int AddCount = 10000;
    QTemporaryDir dir;
    QStringList paths;
    std::vector<QByteArray> names;
    for (int i = 0; i < Playlist::MaxEntries; ++i) {
        paths << dir.filePath(QString("music/track %1.mp3").arg(i, 5, 10, QChar('0')));
        names.push_back(QFile::encodeName(paths.back()));
    }
    if (!QDir().mkpath(dir.filePath("music")))
        qFatal("cannot create the music folder");
    for (int i = 0; i < paths.size(); ++i)
        WriteTaggedFile(paths[i], i);
    const std::vector<QByteArray> addNames(names.begin(), names.begin() + AddCount);
    ReadTagsPlainly(names); // the same warm cache for everyone

    SilentDialogs dialogs;
    std::vector<double> add, addBase, load, loadBase, write, writeBase;
    const QString listPath = dir.filePath("list.qlt");
    for (int run = 0; run < Runs; ++run) {
        addBase.push_back(Milliseconds([&] { ReadTagsPlainly(addNames); }));
        Playlist list;
        PlaylistModel model(list);
        MediaFiles media(
            list, dialogs, [] { return false; }, [](const QString&) {});
        add.push_back(Milliseconds([&] {
            for (int i = 0; i < AddCount; ++i)
                media.AddMediaFile(paths[i]);
        }));

        Playlist full;
        PlaylistModel fullModel(full);
        PlaylistFiles files(full, dialogs, dir.path() + "/");
        {
            Playlist::Batch batch(full);
            for (const QString& path : paths)
                (void)full.Append(path, QString(), false);
        }
        write.push_back(Milliseconds([&] { files.WriteList(listPath); }));
        const QByteArray bytes = paths.join("\r\n").toUtf8() + "\r\n";
        const QByteArray plainName = QFile::encodeName(dir.filePath("plain.qlt"));
        writeBase.push_back(Milliseconds([&] {
            const int fd = ::open(plainName.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ::write(fd, bytes.constData(), bytes.size()) != bytes.size())
                qFatal("plain write failed");
            ::fsync(fd);
            ::close(fd);
        }));

        loadBase.push_back(Milliseconds([&] { ReadTagsPlainly(names); }));
        load.push_back(Milliseconds([&] { files.LoadPlaylistFile(listPath); }));
        if (full.Count() != Playlist::MaxEntries || list.Count() != AddCount)
            qFatal("wrong entry count");
    }
    Report("add_media_file_10000", add, addBase);
    Report("load_playlist_file_32767", load, loadBase);
    Report("write_list_32767", write, writeBase);
    return 0;
}
