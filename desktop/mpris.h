// The player on the session bus (MPRIS 2: org.mpris.MediaPlayer2 and its Player interface),
// so media keys, the desktop's media controls and command-line clients drive it. Every
// method runs the routine behind the window's own control, so the window always shows what
// the bus did; every change of a property is announced (PropertiesChanged) and every jump
// in the play too (Seeked). No bus, or a bus that goes away, leaves the player as it was.
// UI thread only. Times on the bus in µs, in the program in ms; volume on the bus 0…1.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

namespace quillet {

class AudioEngine;
class Playlist;
class SongDetails;
class Transport;
class VolumeBalance;

struct MprisParts {
    Transport& transport;
    Playlist& playlist;
    SongDetails& songDetails;
    VolumeBalance& volumeBalance;
    AudioEngine& engine;
    std::function<void()> raise;                 // shows and activates the window
    std::function<void()> quit;                  // closes like the window's close box
    std::function<void(const QString&)> openFile; // acts like a handed-over command line
};

inline const QString MprisServiceName = QStringLiteral("org.mpris.MediaPlayer2.quillet_jukebox");

class Mpris : public QObject {
    Q_OBJECT
public:
    explicit Mpris(MprisParts parts, QObject* parent = nullptr);
    ~Mpris() override;

    // Registers on the session bus; false when there is none (the player works on).
    bool Connect();

    // The Player interface's properties, as they stand (Position apart).
    [[nodiscard]] QVariantMap PlayerProperties() const;
    [[nodiscard]] QVariantMap Metadata() const;
    [[nodiscard]] qlonglong PositionUs() const;

    // Methods.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offsetUs);
    void SetPosition(const QString& trackId, qlonglong positionUs);
    void OpenUri(const QString& uri);
    void SetVolume(double volume);
    void Raise();
    void Quit();

private:
    void Step(int delta);
    void JumpTo(qlonglong ms);
    [[nodiscard]] bool CanSeek() const;
    [[nodiscard]] QString TrackId() const;
    void Changed();  // schedules one announcement for all changes of this turn
    void Announce(); // sends PropertiesChanged for what differs from the last one sent

    MprisParts m_parts;
    QObject* m_root = nullptr; // the object path's object, carrying both interfaces
    bool m_connected = false;
    bool m_announcing = false;
    int m_plays = 0; // plays started, for the track ids
    QVariantMap m_announced;
};

} // namespace quillet
