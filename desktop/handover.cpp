#include "desktop/handover.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace quillet {
namespace {

const QByteArray Magic = QByteArrayLiteral("QJH1");
const QByteArray Receipt = QByteArrayLiteral("OK\n");
constexpr int MaxOpenConnections = 8;

void PutNumber(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

quint32 TakeNumber(const QByteArray& in, qsizetype at)
{
    return qFromBigEndian<quint32>(in.constData() + at);
}

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// The socket's address; false when the path does not fit.
bool AddressOf(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Connects, retrying while nothing listens yet (the running copy may still be starting).
int ConnectBefore(const QByteArray& path, Clock::time_point deadline, QString& error)
{
    sockaddr_un address;
    if (!AddressOf(path, address)) {
        error = QStringLiteral("socket path too long");
        return -1;
    }
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            error = QString::fromLocal8Bit(std::strerror(errno));
            return -1;
        }
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            return fd;
        }
        error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        if (MsLeft(deadline) == 0)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool WaitFor(int fd, short events, Clock::time_point deadline)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&p, 1, MsLeft(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// A listening socket at path that only its owner can reach: made in a private folder beside
// it and moved into place, replacing whatever a copy that died left there. −1 on failure.
int ListenOwnerOnly(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    QByteArray folder = path.first(slash + 1) + ".quillet-XXXXXX";
    sockaddr_un address;
    if (!AddressOf(path, address) || !AddressOf(folder + "/s", address) ||
        !::mkdtemp(folder.data()))
        return -1;
    const QByteArray made = folder + "/s";
    (void)AddressOf(made, address);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool listening =
        fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::chmod(made.constData(), S_IRUSR | S_IWUSR) == 0 && ::listen(fd, 16) == 0 &&
        ::rename(made.constData(), path.constData()) == 0;
    if (!listening && fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    ::unlink(made.constData()); // only there when it was not moved
    ::rmdir(folder.constData());
    return fd;
}

// What has arrived from a sender so far, up to one byte over the cap. False once the sender
// has closed its side or failed.
bool ReadAvailable(int fd, QByteArray& message)
{
    char buffer[4096];
    while (message.size() <= HandOverMaxBytes) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0)
            message.append(buffer, std::min<qsizetype>(n, HandOverMaxBytes + 1 - message.size()));
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
    return true;
}

} // namespace

QString HandOverSocketPath(const QString& runtimeDir)
{
    const QString dir = runtimeDir.isEmpty()
                            ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                            : runtimeDir;
    return QDir(dir).filePath(QStringLiteral("quillet-jukebox.socket"));
}

QByteArray EncodeHandOver(const QList<QByteArray>& arguments)
{
    QByteArray out = Magic;
    PutNumber(out, quint32(arguments.size()));
    for (const QByteArray& argument : arguments) {
        PutNumber(out, quint32(argument.size()));
        out.append(argument);
    }
    return out;
}

Decoded DecodeHandOver(const QByteArray& message, QList<QByteArray>& arguments)
{
    if (message.size() > HandOverMaxBytes)
        return Decoded::Refused;
    const qsizetype known = std::min(message.size(), Magic.size());
    if (message.first(known) != Magic.first(known))
        return Decoded::Refused;
    if (message.size() < Magic.size() + 4)
        return Decoded::NeedMore;
    const quint32 count = TakeNumber(message, Magic.size());
    if (count > quint32(HandOverMaxBytes / 4))
        return Decoded::Refused;
    QList<QByteArray> taken;
    qsizetype at = Magic.size() + 4;
    for (quint32 i = 0; i < count; ++i) {
        if (message.size() - at < 4)
            return Decoded::NeedMore;
        const quint32 length = TakeNumber(message, at);
        at += 4;
        if (length > quint32(HandOverMaxBytes))
            return Decoded::Refused;
        if (message.size() - at < qsizetype(length))
            return Decoded::NeedMore;
        taken.append(message.mid(at, length));
        at += length;
    }
    if (at != message.size())
        return Decoded::Refused; // trailing bytes: not one of our messages
    arguments = std::move(taken);
    return Decoded::Complete;
}

bool HandOverCommandLine(const QString& socketPath, const QList<QByteArray>& arguments,
                         int timeoutMs, QString* error)
{
    QString why;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int fd = ConnectBefore(QFile::encodeName(socketPath), deadline, why);
    bool received = false;
    if (fd >= 0) {
        const QByteArray message = EncodeHandOver(arguments);
        qsizetype sent = 0;
        while (sent < message.size() && WaitFor(fd, POLLOUT, deadline)) {
            const ssize_t n = ::send(fd, message.constData() + sent, size_t(message.size() - sent),
                                     MSG_NOSIGNAL);
            if (n < 0 && errno != EINTR && errno != EAGAIN)
                break;
            sent += n > 0 ? n : 0;
        }
        QByteArray answer;
        while (sent == message.size() && answer.size() < Receipt.size() &&
               WaitFor(fd, POLLIN, deadline)) {
            char buffer[8];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                break;
            answer.append(buffer, n > 0 ? n : 0);
        }
        received = answer.startsWith(Receipt);
        why = received ? QString()
                       : QStringLiteral("the running copy did not confirm within %1 ms").arg(timeoutMs);
        ::close(fd);
    }
    if (error)
        *error = why;
    return received;
}

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {}

HandOverServer::~HandOverServer()
{
    Close();
}

void HandOverServer::Close()
{
    delete m_incoming;
    m_incoming = nullptr;
    if (m_listening >= 0)
        ::close(m_listening);
    m_listening = -1;
}

bool HandOverServer::Listen(const QString& socketPath)
{
    Close();
    // We hold the one-copy lock, so whatever is there was left by a copy that died.
    m_listening = ListenOwnerOnly(QFile::encodeName(socketPath));
    if (m_listening < 0)
        return false;
    m_incoming = new QSocketNotifier(m_listening, QSocketNotifier::Read, this);
    connect(m_incoming, &QSocketNotifier::activated, this, &HandOverServer::Accept);
    return true;
}

// Each sender is read as its bytes come, under a deadline; the first complete message is
// answered and taken, anything else ends the connection unanswered.
void HandOverServer::Accept()
{
    for (;;) {
        const int fd = ::accept4(m_listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return; // none waiting
        }
        if (m_open >= MaxOpenConnections) {
            ::close(fd);
            continue;
        }
        ++m_open;
        auto* sender = new QObject(this); // the connection's notifier and deadline go with it
        auto* readable = new QSocketNotifier(fd, QSocketNotifier::Read, sender);
        auto* deadline = new QTimer(sender);
        const auto end = [this, fd, sender, readable] {
            if (!readable->isEnabled())
                return; // already ended
            readable->setEnabled(false);
            ::close(fd);
            --m_open;
            sender->deleteLater();
        };
        const auto read = [this, fd, end, message = QByteArray()]() mutable {
            const bool open = ReadAvailable(fd, message);
            QList<QByteArray> arguments;
            const Decoded decoded = DecodeHandOver(message, arguments);
            if (decoded == Decoded::NeedMore && open)
                return;
            if (decoded == Decoded::Complete)
                (void)::send(fd, Receipt.constData(), size_t(Receipt.size()), MSG_NOSIGNAL);
            end();
            if (decoded == Decoded::Complete)
                emit Received(arguments);
        };
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, sender, end);
        connect(readable, &QSocketNotifier::activated, sender, read);
        deadline->start(HandOverTimeoutMs);
    }
}

} // namespace quillet
