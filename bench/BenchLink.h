// Benchmarks' shared step: an engine's session connected to an in-process simulator over
// loopback TCP or its pseudo-terminal.
#pragma once

#include "core/monitor/LinkSession.h"
#include "sim/SimServer.h"

#include <QSignalSpy>

namespace quma {

inline bool ConnectToSimulator(LinkKind kind, sim::SimServer& sim, LinkSession& session) {
    QString error;
    if (kind == LinkKind::Tcp) {
        sim.listenTcp();
        QSignalSpy up(&session, &LinkSession::connected);
        session.connectTcp(QString("127.0.0.1:%1").arg(sim.tcpPort()), &error);
        return up.wait(5000) && up.first().first().toBool();
    }
    sim.openPty();
    return session.connectSerial(sim.ptyPath(), &error);
}

} // namespace quma
