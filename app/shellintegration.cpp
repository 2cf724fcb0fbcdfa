#include "app/shellintegration.h"

#include "platform/ignorefailure.h"
#include "platform/xdgassociations.h"

#include <array>

namespace quillet {
namespace {

const QString ProgramFileName = QStringLiteral("quillet-jukebox");
const QString AudioCdVerb = QStringLiteral("LCDA");

struct Association {
    QString mimeType;
    QString marker; // a value containing it, in any case, already names this program
    QString newValue;
};

// In the order they are read and written.
const std::array<Association, 6> Associations{{
    {AudioCdMimeType, QStringLiteral("QUILLET"), AudioCdDesktopId},
    {QStringLiteral("audio/mpeg"), QStringLiteral("QUILLETJUKEBOX.DOCUMENT"), DocumentDesktopId},
    {QStringLiteral("audio/mp2"), QStringLiteral("QUILLETJUKEBOX.DOCUMENT"), DocumentDesktopId},
    {QStringLiteral("audio/x-mp1"), QStringLiteral("QUILLETJUKEBOX.DOCUMENT"), DocumentDesktopId},
    {QStringLiteral("application/x-cda"), QStringLiteral("QUILLETJUKEBOX.DOCUMENT"),
     DocumentDesktopId},
    {QStringLiteral("audio/x-wav"), QStringLiteral("QUILLETJUKEBOX.DOCUMENT"), DocumentDesktopId},
}};

} // namespace

QString XdgAssociationStore::Read(const QString& mimeType)
{
    return ReadDefaultApplication(mimeType);
}

bool XdgAssociationStore::Write(const QString& mimeType, const QString& desktopId)
{
    return WriteDefaultApplication(mimeType, desktopId);
}

bool XdgAssociationStore::HasEntry(const QString& desktopId)
{
    return HasUserDesktopEntry(desktopId);
}

bool XdgAssociationStore::WriteEntry(const QString& desktopId, const QByteArray& content)
{
    return WriteUserDesktopEntry(desktopId, content);
}

QByteArray XdgAssociationStore::ReadEntry(const QString& desktopId)
{
    return ReadUserDesktopEntry(desktopId);
}

bool XdgAssociationStore::HasInstalledEntry(const QString& desktopId)
{
    return HasInstalledDesktopEntry(desktopId);
}

bool NamesThisProgram(const QString& current, const QString& marker)
{
    return !current.isEmpty() && current.contains(marker, Qt::CaseInsensitive);
}

void AssociateIfNotOurs(AssociationStore& store, const QString& current, const QString& marker,
                        const QString& mimeType, const QString& newValue)
{
    if (!NamesThisProgram(current, marker))
        (void)store.Write(mimeType, newValue);
}

QByteArray AudioCdDesktopEntry(const QString& programDir)
{
    const QString exec =
        DesktopExecArgument(programDir + ProgramFileName) + QLatin1Char(' ') + AudioCdVerb;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Quillet Jukebox\n"
                          "Icon=quillet-jukebox\n"
                          "Exec=%1\n"
                          "MimeType=%2;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(exec, AudioCdMimeType)
        .toUtf8();
}

QByteArray DocumentDesktopEntry(const QString& programDir)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Quillet Jukebox\n"
                          "Icon=quillet-jukebox\n"
                          "Exec=%1 %F\n"
                          "MimeType=audio/mpeg;audio/mp2;audio/x-mp1;application/x-cda;"
                          "audio/x-wav;audio/wav;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(DesktopExecArgument(programDir + ProgramFileName))
        .toUtf8();
}

void StartupAssociation(AssociationStore& store, const QString& programDir) noexcept
{
    // Everything is read before anything is written.
    std::array<QString, Associations.size()> current;
    for (size_t i = 0; i < Associations.size(); ++i)
        IgnoreFailure([&] { current[i] = store.Read(Associations[i].mimeType); });
    bool audioCdEntryPresent = false;
    IgnoreFailure([&] { audioCdEntryPresent = store.HasEntry(AudioCdDesktopId); });
    IgnoreFailure([&] {
        const QByteArray document = DocumentDesktopEntry(programDir);
        if (!store.HasInstalledEntry(DocumentDesktopId) &&
            store.ReadEntry(DocumentDesktopId) != document)
            (void)store.WriteEntry(DocumentDesktopId, document);
    });

    for (size_t i = 0; i < Associations.size(); ++i) {
        const Association& entry = Associations[i];
        IgnoreFailure([&] {
            if (entry.mimeType == AudioCdMimeType) {
                const bool ours = NamesThisProgram(current[i], entry.marker);
                if (ours && audioCdEntryPresent)
                    return; // keeps the command of its first directory
                if (!store.WriteEntry(AudioCdDesktopId, AudioCdDesktopEntry(programDir)) || ours)
                    return;
            }
            AssociateIfNotOurs(store, current[i], entry.marker, entry.mimeType, entry.newValue);
        });
    }
}

void StartupAssociation(const QString& programDir) noexcept
{
    XdgAssociationStore store;
    StartupAssociation(store, programDir);
}

} // namespace quillet
