#include "desktop/handover.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
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

// Connects, retrying while nothing listens yet (the running copy may still be starting).
int ConnectBefore(const QByteArray& path, Clock::time_point deadline, QString& error)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path)) {
        error = QStringLiteral("socket path too long");
        return -1;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
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

// A sender that is dropped gets no answer.
void Drop(QLocalSocket* socket)
{
    socket->abort();
    socket->deleteLater();
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

HandOverServer::~HandOverServer() = default;

bool HandOverServer::Listen(const QString& socketPath)
{
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &HandOverServer::Accept);
    if (m_server->listen(socketPath))
        return true;
    // We hold the one-copy lock, so whatever is there was left by a copy that died.
    QLocalServer::removeServer(socketPath);
    return m_server->listen(socketPath);
}

void HandOverServer::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (m_open >= MaxOpenConnections) {
            Drop(socket);
            continue;
        }
        ++m_open;
        connect(socket, &QObject::destroyed, this, [this] { --m_open; });
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] { Drop(socket); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        deadline->start(HandOverTimeoutMs);
        Read(socket);
    }
}

void HandOverServer::Read(QLocalSocket* socket)
{
    QByteArray message = socket->property("message").toByteArray();
    message.append(socket->read(HandOverMaxBytes + 1 - message.size()));
    QList<QByteArray> arguments;
    switch (DecodeHandOver(message, arguments)) {
    case Decoded::NeedMore:
        socket->setProperty("message", message);
        return;
    case Decoded::Refused:
        Drop(socket);
        return;
    case Decoded::Complete:
        socket->write(Receipt);
        socket->flush();
        socket->disconnectFromServer();
        emit Received(arguments);
        return;
    }
}

} // namespace quillet
