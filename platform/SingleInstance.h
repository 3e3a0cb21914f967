// Only one copy of the program runs per user: a second start asks the running one to come to the
// front and ends. The running copy listens on a local socket named after the application title
// and the user.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <string_view>

class QLocalServer;
class QLocalSocket;
class QWidget;

class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        Primary,    // this process runs the program (and answers later starts)
        Secondary,  // another copy runs and was asked to come to the front; end, touching nothing
    };

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name for an application title (code page 932) and the current user:
    // title + "-" + user name, with every byte outside A-Z a-z 0-9 space . - written as _XX
    // (its hex value), so that the name is a safe file name and distinct titles stay distinct.
    static QString serverNameFor(std::string_view titleCp932);
    static QString serverNameFor(std::string_view titleCp932, std::string_view userName);

    // The user the process runs as, from the system's account data (not the environment).
    static std::string currentUserName();

    // Connects to a running copy first: if one answers, sends it the activation request and
    // returns Secondary. Only when nobody answers is a leftover socket (of a killed process)
    // removed and the server started. A server that cannot be started still returns Primary:
    // the program then runs without answering later starts.
    Role tryBecomePrimary();

    bool isListening() const;
    const QString& serverName() const { return m_serverName; }

signals:
    // A later start asked this copy to come to the front.
    void activationRequested();

private:
    void acceptConnections();
    void readRequests(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};

// Brings a top-level window to the front for a later start: a minimised window is restored to
// the state it had before (normal or maximised), shown, raised and activated.
void bringToFront(QWidget* window);
