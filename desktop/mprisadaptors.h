// The two MPRIS interfaces as Qt D-Bus adaptors: each property and method forwards to Mpris
// (desktop/mpris.h), which holds the logic. UI thread only.
#pragma once

#include "desktop/mpris.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>

namespace quillet {

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    MprisRootAdaptor(QObject* root, Mpris& mpris) : QDBusAbstractAdaptor(root), m_mpris(mpris) {}
    [[nodiscard]] bool CanQuit() const { return true; }
    [[nodiscard]] bool CanRaise() const { return true; }
    [[nodiscard]] bool HasTrackList() const { return false; }
    [[nodiscard]] QString Identity() const { return QStringLiteral("Quillet Jukebox"); }
    [[nodiscard]] QString DesktopEntry() const
    {
        return QStringLiteral("QuilletJukebox.Document");
    }
    [[nodiscard]] QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    [[nodiscard]] QStringList SupportedMimeTypes() const
    {
        return {"audio/mpeg", "audio/mp2", "audio/x-mp1", "audio/x-wav", "application/x-cda"};
    }

public slots:
    void Raise() { m_mpris.Raise(); }
    void Quit() { m_mpris.Quit(); }

private:
    Mpris& m_mpris;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    MprisPlayerAdaptor(QObject* root, Mpris& mpris) : QDBusAbstractAdaptor(root), m_mpris(mpris)
    {
    }
    [[nodiscard]] QString PlaybackStatus() const { return Read("PlaybackStatus").toString(); }
    [[nodiscard]] double Rate() const { return 1.0; }
    void SetRate(double) {} // one rate only
    [[nodiscard]] QVariantMap Metadata() const { return m_mpris.Metadata(); }
    [[nodiscard]] double Volume() const { return Read("Volume").toDouble(); }
    void SetVolume(double volume) { m_mpris.SetVolume(volume); }
    [[nodiscard]] qlonglong Position() const { return m_mpris.PositionUs(); }
    [[nodiscard]] bool CanGoNext() const { return Read("CanGoNext").toBool(); }
    [[nodiscard]] bool CanGoPrevious() const { return Read("CanGoPrevious").toBool(); }
    [[nodiscard]] bool CanPlay() const { return Read("CanPlay").toBool(); }
    [[nodiscard]] bool CanPause() const { return Read("CanPause").toBool(); }
    [[nodiscard]] bool CanSeek() const { return Read("CanSeek").toBool(); }
    [[nodiscard]] bool CanControl() const { return true; }

public slots:
    void Play() { m_mpris.Play(); }
    void Pause() { m_mpris.Pause(); }
    void PlayPause() { m_mpris.PlayPause(); }
    void Stop() { m_mpris.Stop(); }
    void Next() { m_mpris.Next(); }
    void Previous() { m_mpris.Previous(); }
    void Seek(qlonglong offset) { m_mpris.Seek(offset); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position)
    {
        m_mpris.SetPosition(trackId.path(), position);
    }
    void OpenUri(const QString& uri) { m_mpris.OpenUri(uri); }

signals:
    void Seeked(qlonglong position);

private:
    [[nodiscard]] QVariant Read(const char* name) const
    {
        return m_mpris.PlayerProperties().value(QLatin1String(name));
    }
    Mpris& m_mpris;
};

} // namespace quillet
