// Handing a command line from a second copy of the program to the running one, over a
// per-user local socket in the runtime directory (owner-only). The second copy sends its
// arguments as the system gave them (bytes, so a file name that is not valid UTF-8 keeps
// its bytes) and waits for the running copy's receipt; the running copy acts on them as the
// load sequence acts on its own command line.
// Wire: "QJH1", a 32-bit big-endian count, then each argument as a 32-bit big-endian length
// and its bytes; the receipt is "OK\n". Sizes in bytes, times in ms.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace quillet {

inline constexpr qsizetype HandOverMaxBytes = 1024 * 1024; // a message beyond it is refused
inline constexpr int HandOverTimeoutMs = 2000;             // either side gives up after it

// The socket in runtimeDir ("" means the user's runtime directory, as the one-copy lock).
[[nodiscard]] QString HandOverSocketPath(const QString& runtimeDir = {});

[[nodiscard]] QByteArray EncodeHandOver(const QList<QByteArray>& arguments);
enum class Decoded { Complete, NeedMore, Refused };
// Complete: arguments are set; NeedMore: a prefix of a valid message; Refused: garbage or
// over the cap.
[[nodiscard]] Decoded DecodeHandOver(const QByteArray& message, QList<QByteArray>& arguments);

// The second copy's side: plain system calls, no event loop, no QCoreApplication. Keeps
// trying to connect while the running copy is still coming up. True once the running copy
// has confirmed receipt; false (with what went wrong in *error) after timeoutMs.
[[nodiscard]] bool HandOverCommandLine(const QString& socketPath,
                                       const QList<QByteArray>& arguments,
                                       int timeoutMs = HandOverTimeoutMs,
                                       QString* error = nullptr);

// The running copy's side: a socket of the system watched by the event loop (no network
// module). UI thread. A sender that stays silent, sends garbage or more than the cap is
// dropped without an answer; the window never waits for a sender.
class HandOverServer : public QObject {
    Q_OBJECT
public:
    explicit HandOverServer(QObject* parent = nullptr);
    ~HandOverServer() override;
    // Listens at socketPath, replacing a socket a killed copy left behind (only the copy
    // that holds the one-copy lock listens). False when it cannot listen.
    bool Listen(const QString& socketPath);

signals:
    // The arguments of a second copy's command line, bytes as it was given them.
    void Received(const QList<QByteArray>& arguments);

private:
    void Close();
    void Accept();

    int m_listening = -1; // the listening socket
    QSocketNotifier* m_incoming = nullptr;
    int m_open = 0; // connections being read
};

} // namespace quillet
