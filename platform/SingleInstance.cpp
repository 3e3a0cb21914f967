// The single-instance test over QLocalServer/QLocalSocket, with a lock file so that two copies
// started at the same moment cannot both take the server.
#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

constexpr char kActivateRequest[] = "activate";
// A running copy answers a local connection at once; these only bound a hung one.
constexpr int kConnectWaitMs = 1000;
constexpr int kWriteWaitMs = 2000;
constexpr int kLockWaitMs = 5000;
// A request line longer than this is not one of ours.
constexpr qint64 kMaxRequestLength = 64;

bool isNameCharacter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '.' || c == '-';
}

void appendSanitised(QString& out, std::string_view bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    for (unsigned char c : bytes) {
        if (isNameCharacter(c)) {
            out += QLatin1Char(char(c));
        } else {
            out += QLatin1Char('_');
            out += QLatin1Char(hex[c >> 4]);
            out += QLatin1Char(hex[c & 0xF]);
        }
    }
}

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameFor(std::string_view titleCp932, std::string_view userName)
{
    QString name;
    appendSanitised(name, titleCp932);
    name += QLatin1Char('-');
    appendSanitised(name, userName);
    return name;
}

QString SingleInstance::serverNameFor(std::string_view titleCp932)
{
    return serverNameFor(titleCp932, currentUserName());
}

std::string SingleInstance::currentUserName()
{
#ifdef Q_OS_UNIX
    const uid_t uid = geteuid();
    if (const passwd* account = getpwuid(uid); account && account->pw_name && *account->pw_name)
        return account->pw_name;
    return "uid" + std::to_string(uid);
#else
    return QDir::home().dirName().toStdString();
#endif
}

SingleInstance::Role SingleInstance::tryBecomePrimary()
{
    if (m_server)
        return Role::Primary;

    // Held from the connection attempt until the server listens, so that of two copies started
    // together the second finds the first's server instead of removing it.
    QLockFile lock(QDir(QDir::tempPath()).filePath(m_serverName + QStringLiteral(".lock")));
    // Without the lock (a lock directory not writable) the test still runs, only unguarded.
    lock.tryLock(kLockWaitMs);

    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(kConnectWaitMs)) {
        probe.write(QByteArray(kActivateRequest) + '\n');
        probe.waitForBytesWritten(kWriteWaitMs);
        probe.disconnectFromServer();
        if (probe.state() != QLocalSocket::UnconnectedState)
            probe.waitForDisconnected(kWriteWaitMs);
        return Role::Secondary;
    }

    // Nobody answered: whatever is left at the name belongs to a copy that was killed.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    if (!m_server->listen(m_serverName)) {
        delete m_server;
        m_server = nullptr;
    }
    return Role::Primary;
}

bool SingleInstance::isListening() const { return m_server && m_server->isListening(); }

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        // A later start writes its request and leaves at once: read what arrived before the
        // socket goes.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readRequests(socket);
            socket->deleteLater();
        });
        readRequests(socket);
    }
}

void SingleInstance::readRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxRequestLength + 2).trimmed();
        if (line == kActivateRequest)
            emit activationRequested();
    }
    if (socket->bytesAvailable() > kMaxRequestLength)
        socket->abort();
}

void bringToFront(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
