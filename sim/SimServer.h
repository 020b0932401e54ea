// The simulated controller on the wire: a TCP server and a pseudo-terminal serial line, with
// injected faults.
#pragma once

#include "sim/ControllerModel.h"
#include "sim/ReplayTable.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <functional>
#include <memory>

class QSocketNotifier;
class QTcpSocket;

namespace quma::sim {

// Every Nth reply is affected (0 = never).
struct SimFaults {
    int dropEvery = 0;       // no reply
    int badLrcEvery = 0;     // serial: wrong check byte; TCP: wrong transaction id
    int garbageEvery = 0;    // bytes without a colon before the reply
    int shortEvery = 0;      // the reply is cut in half
    int longEvery = 0;       // extra bytes after the reply
    int disconnectEvery = 0; // TCP: the connection is closed instead of answering
    int delayMs = 0;         // every reply waits this long
};

class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(const SimOptions& options = {}, QObject* parent = nullptr);
    ~SimServer() override;

    ControllerModel& model() { return m_model; }
    SimFaults faults;
    // The serial line is paced as at this many bits per second (0: at once): every byte of a
    // request and of its reply takes 10 bit times of the one shared line, and a reply leaves in
    // pieces of about 2 ms of wire time, as a real line delivers it.
    int paceBaud = 0;
    // Replaying a recorded session: its replies first, the model for what it never saw.
    std::shared_ptr<ReplayTable> replay;

    // TCP on the address and port (0 picks a free port); false when it cannot listen.
    bool listenTcp(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 tcpPort() const { return m_server.serverPort(); }
    QString tcpError() const { return m_server.errorString(); }
    // Closes every TCP connection (the controller restarting).
    void dropTcpConnections();

    // A pseudo-terminal whose slave is the controller's serial line; optionally a symlink to it.
    bool openPty(const QString& linkName = {});
    QString ptyPath() const { return m_ptyPath; }
    // Hangs up the serial line (the adapter pulled out).
    void closePty();

    // Values move every `ms` milliseconds (0 stops them).
    void startTicking(int ms = 500);

    int requestsServed() const { return m_served; }
    // TCP connections accepted since the start, and open now.
    int connectionsAccepted() const { return m_accepted; }
    int connectionsOpen() const { return int(m_buffers.size()); }
    // A controller that allows one session: a second connection is closed at once.
    bool oneSession = false;

signals:
    // Replaying: a request the recording never saw was answered by the model.
    void unrecordedAnswered(const QString& note);
    void requestServed(int function);

private:
    void unrecorded(const QString& request);
    bool fault(int every) const { return every > 0 && m_replies % every == 0; }
    void onTcpData(QTcpSocket* s);
    void onPtyData();
    void sendSerial(QByteArray bytes, qsizetype requestBytes);
    void writeDueSerial();
    void writeToPty(const QByteArray& bytes);
    qint64 wireMicros(qsizetype bytes) const { return bytes * 10 * 1000000LL / paceBaud; }

    ControllerModel m_model;
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QTimer m_ticker;
    int m_master = -1;
    int m_slaveKeep = -1;
    QString m_ptyPath;
    QString m_linkName;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_serialBuffer;
    // Paced line: the clock, when the line is free again, and the pieces waiting for their time.
    QElapsedTimer m_lineClock;
    qint64 m_lineFreeMicros = 0;
    QList<QPair<qint64, QByteArray>> m_lineQueue;
    QTimer m_lineTimer;
    int m_replies = 0;
    int m_served = 0;
    int m_accepted = 0;
};

} // namespace quma::sim
