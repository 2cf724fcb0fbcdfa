// At every start the program makes itself the desktop's default application for its media
// types and the handler of audio CDs, leaving alone every entry that already names it.
// UI thread (runs once in the load sequence); keeps nothing between calls.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillet {

// The desktop ids the associations point at: the document type installed with the program,
// and the audio-CD entry the program writes itself (its command runs this program's binary
// with the verb that lists and plays the whole disc).
inline const QString DocumentDesktopId = QStringLiteral("QuilletJukebox.Document.desktop");
inline const QString AudioCdDesktopId = QStringLiteral("QuilletJukebox.AudioCD.desktop");
inline const QString AudioCdMimeType = QStringLiteral("x-content/audio-cdda");

// Where the associations live. Reading never fails (a missing or unreadable value reads as
// ""); a failed write leaves the value as it was.
class AssociationStore {
public:
    virtual ~AssociationStore() = default;
    // The default desktop id for mimeType.
    [[nodiscard]] virtual QString Read(const QString& mimeType) = 0;
    virtual bool Write(const QString& mimeType, const QString& desktopId) = 0;
    // The user's own desktop entry named desktopId.
    [[nodiscard]] virtual bool HasEntry(const QString& desktopId) = 0;
    [[nodiscard]] virtual QByteArray ReadEntry(const QString& desktopId) = 0;
    // An entry named desktopId installed for every user.
    [[nodiscard]] virtual bool HasInstalledEntry(const QString& desktopId) = 0;
    virtual bool WriteEntry(const QString& desktopId, const QByteArray& content) = 0;
};

// The user's mimeapps.list and applications folder of the desktop's base directories.
class XdgAssociationStore final : public AssociationStore {
public:
    [[nodiscard]] QString Read(const QString& mimeType) override;
    bool Write(const QString& mimeType, const QString& desktopId) override;
    [[nodiscard]] bool HasEntry(const QString& desktopId) override;
    [[nodiscard]] QByteArray ReadEntry(const QString& desktopId) override;
    [[nodiscard]] bool HasInstalledEntry(const QString& desktopId) override;
    bool WriteEntry(const QString& desktopId, const QByteArray& content) override;
};

// True when current is not empty and contains marker in any letter case.
[[nodiscard]] bool NamesThisProgram(const QString& current, const QString& marker);

// The rule for one entry: when current does not name this program, writes newValue for
// mimeType; otherwise nothing. The result of the write is not looked at.
void AssociateIfNotOurs(AssociationStore& store, const QString& current, const QString& marker,
                        const QString& mimeType, const QString& newValue);

// The audio-CD desktop entry whose command runs "<programDir>quillet-jukebox LCDA" (the
// directory as given, ending in "/", its letter case kept).
[[nodiscard]] QByteArray AudioCdDesktopEntry(const QString& programDir);

// The user's own document entry: opens the files it is given ("%F") with
// "<programDir>quillet-jukebox", for the five document types (and WAV's other name); hidden
// from menus.
[[nodiscard]] QByteArray DocumentDesktopEntry(const QString& programDir);

// The start-up association: reads the six entries first (audio CD, then .mp3, .mp2, .mp1,
// .cda and .wav), then applies the rule to each in the same order. The audio-CD entry's
// desktop file is written just before its association, and when it cannot be written the
// association is left as it was (it would name a command that does not exist). When the
// association already names this program but its desktop file is gone, only the file is
// written again. Unless an installed document entry exists, the user's own one is written
// first (when it does not already name this program directory), so the document types
// open with this copy of the program wherever it lies. Silent: nothing is reported and nothing throws out of it.
void StartupAssociation(AssociationStore& store, const QString& programDir) noexcept;
// The same on the user's real associations.
void StartupAssociation(const QString& programDir) noexcept;

} // namespace quillet
