// The engine against the simulated controller over a pseudo-terminal and loopback TCP.
#include "core/history/TransferRecord.h"
#include "core/monitor/StatusTexts.h"
#include "tests/LiveRig.h"

#include "tests/LinkRows.h"

#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
bool imageMatches(MonitorEngine& engine, sim::ControllerModel& model) {
    for (int r = 1; r <= kRegisterCount; ++r)
        if (engine.image()[r] != model.reg(r)) return false;
    return true;
}

// Runs a whole transfer the way a history window does and waits for its end.
bool runTransfer(LiveRig& rig, TransferKind kind) {
    if (!rig.engine.OpenTransfer(kind)) return false;
    while (!rig.engine.RequestStartTick()) {
    }
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000) {
        if (rig.engine.transfer().complete || !rig.messages.isEmpty()) return true;
        QTest::qWait(2);
        // The serial request clock repeats a page whose reply was lost.
        if (rig.engine.link().linkKind() == LinkKind::Serial && t.elapsed() % 50 < 3)
            rig.engine.Timer1Timer();
    }
    return false;
}
} // namespace

class TestLive : public QObject {
    Q_OBJECT
private slots:
    void pollDecoded_data() { AddLinkRows(); }
    void pollDecoded() {
        QFETCH(int, link);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        rig.sim.model().setReg(7, 2200);
        rig.sim.model().setReg(10, 0xFFF6);
        rig.sim.model().setReg(12, 1250);
        rig.sim.model().setReg(26, 2);
        rig.sim.model().setReg(96, 25);
        rig.sim.model().setReg(61, 5450);
        rig.sim.model().setReg(109, 1);
        QVERIFY(rig.pollOnce());
        QVERIFY(imageMatches(rig.engine, rig.sim.model()));
        const StatusView v = RenderStatus(rig.engine.image(), rig.engine.modelName());
        QCOMPARE(v.acVolts, QString("AC전압 : 220.0 V"));
        QCOMPARE(v.dcAmps, QString("DC전류 : -1.0  A"));
        QCOMPARE(v.battTemp, QString("Battery온도 : Open"));
        QCOMPARE(v.setVolts, QString("설정전압 : 54.50 V"));
        QCOMPARE(v.battFw, QString("FW : V1.15"));
        QCOMPARE(v.battReady, QString("축전지-NFB : OFF"));
        QCOMPARE(rig.engine.modelName(), QString(" QUMA-7T"));
    }

    void writesAcknowledgedInOrder_data() { AddLinkRows(); }
    void writesAcknowledgedInOrder() {
        QFETCH(int, link);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        const int eventsBefore = rig.sim.model().eventLog().size();
        QVERIFY(rig.engine.QueueWrites({{54, 5400}, {55, 5310}, {56, 4610}}));
        QVERIFY(rig.waitMessage());
        QTest::qWait(50);
        QCOMPARE(rig.texts(), QStringList{" Setting Sucess!!"});
        QCOMPARE(rig.sim.model().reg(54), 5400);
        QCOMPARE(rig.sim.model().reg(55), 5310);
        QCOMPARE(rig.sim.model().reg(56), 4610);
        // The controller logged them in arrival order: last queued first.
        const auto& log = rig.sim.model().eventLog();
        QCOMPARE(log.size(), eventsBefore + 3);
        const auto value = [&](int i) { return (uchar(log[i][8]) << 8) | uchar(log[i][9]); };
        QCOMPARE(value(eventsBefore), 4610);
        QCOMPARE(value(eventsBefore + 2), 5400);
        // The next poll shows what was written.
        rig.engine.ReturnToPolling();
        QVERIFY(rig.pollOnce());
        QCOMPARE(rig.engine.image()[54], 5400);
    }

    void fiftyRecordTransfers_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("kind");
        QTest::newRow("serial alarm") << int(LinkKind::Serial) << 1;
        QTest::newRow("serial event") << int(LinkKind::Serial) << 2;
        QTest::newRow("tcp alarm") << int(LinkKind::Tcp) << 1;
        QTest::newRow("tcp event") << int(LinkKind::Tcp) << 2;
    }
    void fiftyRecordTransfers() {
        QFETCH(int, link);
        QFETCH(int, kind);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        QVERIFY(rig.pollOnce());
        QVERIFY(runTransfer(rig, TransferKind(kind)));
        QCOMPARE(rig.texts(), QStringList{"50 History data\rare Saved!!"});
        const auto& rows = rig.engine.transfer().rows;
        QCOMPARE(rows.size(), 51);
        const auto& records =
            kind == 1 ? rig.sim.model().alarmHistory() : rig.sim.model().eventLog();
        // Row r holds the controller's record number total - r.
        for (int r = 1; r <= 50; ++r) {
            const QByteArray raw = QByteArray(1, 0) + records[50 - r];
            QCOMPARE(rows[r], DecodeTransferRecord(raw, LinkKind::Tcp, TransferKind(kind), r));
        }
    }

    void clearsTakeEffect_data() { AddLinkRows(); }
    void clearsTakeEffect() {
        QFETCH(int, link);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        QVERIFY(rig.pollOnce());
        rig.engine.ClearLog(TransferKind::Alarm);
        QVERIFY(rig.waitMessage(1));
        rig.engine.ClearLog(TransferKind::Event);
        QVERIFY(rig.waitMessage(2));
        const bool tcp = link == int(LinkKind::Tcp);
        QCOMPARE(rig.texts(),
                 (QStringList{" Alarm Initial Sucess!!",
                              tcp ? " Event Initial Sucess!!" : " Event log Initial Sucess!!"}));
        QVERIFY(rig.sim.model().alarmHistory().isEmpty());
        QVERIFY(rig.sim.model().eventLog().isEmpty());
        rig.messages.clear();
        rig.engine.ReturnToPolling();
        QVERIFY(runTransfer(rig, TransferKind::Alarm));
        QCOMPARE(rig.texts(), QStringList{"No History data"});
    }

    // One reply that comes after its exchange timed out must not leave the client one reply
    // behind: replies near the time limit are decoded again after at most one lost poll.
    void lateTcpReplyDoesNotShiftTheNextOnes() {
        LiveRig rig(LinkKind::Tcp);
        QVERIFY(rig.ok);
        rig.session.tcp().ReadTimeout = 300;
        rig.sim.faults.delayMs = 250; // near the limit
        QVERIFY(rig.pollOnce());
        QSignalSpy failed(&rig.engine, &MonitorEngine::tcpExchangeFailed);
        rig.sim.faults.delayMs = 400; // this one times out; its reply comes late
        QElapsedTimer t;
        t.start();
        while (failed.isEmpty() && t.elapsed() < 3000) {
            rig.engine.Timer1Timer();
            QTest::qWait(50);
        }
        QVERIFY(!failed.isEmpty());
        rig.sim.faults.delayMs = 250;
        // Polls back to back for 3 s: each goes out as soon as the one before has ended.
        QSignalSpy refreshed(&rig.engine, &MonitorEngine::statusRefreshed);
        t.restart();
        while (t.elapsed() < 3000) {
            rig.engine.Timer1Timer();
            QTest::qWait(50);
        }
        QVERIFY2(refreshed.count() >= 6, qPrintable(QString::number(refreshed.count())));
    }

    void networkIdentityRoundTrip_data() { AddLinkRows(); }
    void networkIdentityRoundTrip() {
        QFETCH(int, link);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        QSignalSpy decoded(&rig.engine, &MonitorEngine::networkIdentityDecoded);
        rig.engine.ReadNetworkIdentity();
        rig.engine.Timer1Timer();
        QVERIFY(decoded.wait(3000));
        QCOMPARE(rig.engine.networkIdentity()->ip, QString("192.168.50.92"));
        // Write a Korean site text and a new gateway (site flag only).
        sim::NetIdRecord rec = rig.sim.model().netId();
        rec.siteInfo = QString("강남 국사 3층").toUtf8();
        rec.gateway = QByteArray::fromHex("C0A83209");
        QByteArray record = rec.encode();
        record[18] = char(0x40);
        rig.engine.WriteNetworkIdentity(QByteArray::fromHex("12345678") + record);
        QTRY_COMPARE_WITH_TIMEOUT(rig.sim.model().netId().siteInfo, rec.siteInfo, 3000);
        QTest::qWait(30); // let a TCP write reply time out or complete
        rig.engine.ReadNetworkIdentity();
        QElapsedTimer t;
        t.start();
        while (decoded.count() < 2 && t.elapsed() < 5000) {
            rig.engine.Timer1Timer();
            decoded.wait(100);
        }
        QCOMPARE(rig.engine.networkIdentity()->siteInfo, QString("강남 국사 3층"));
        QCOMPARE(rig.engine.networkIdentity()->gateway, QString("192.168.50.09"));
    }

    // The default hardware description and a Korean site text make the record longer than the
    // 158-byte TCP reply: what fits is decoded there, everything over serial.
    void networkIdentityLongRecord_data() { AddLinkRows(); }
    void networkIdentityLongRecord() {
        QFETCH(int, link);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        sim::NetIdRecord& rec = rig.sim.model().netId();
        rec.hwDescription =
            "Kestra Tarvine;KESTRA;KESTRA 5G RectifierSystem 54V/37A/2000AH;RKU_9V_2000AH;";
        rec.siteInfo = QString("강남 국사 3층 정류기실").toUtf8();
        QSignalSpy decoded(&rig.engine, &MonitorEngine::networkIdentityDecoded);
        rig.engine.ReadNetworkIdentity();
        rig.engine.Timer1Timer();
        QVERIFY(decoded.wait(3000));
        const NetworkIdentity& n = *rig.engine.networkIdentity();
        QCOMPARE(n.ip, QString("192.168.50.92"));
        QCOMPARE(n.hwDescription, rec.hwDescription);
        QCOMPARE(n.serialNumber, QByteArray("2200000001"));
        QCOMPARE(n.rectId, QString("00000001"));
        QCOMPARE(n.savedRectId, QString("00000001"));
        if (LinkKind{quint8(link)} == LinkKind::Tcp) {
            QVERIFY(!n.complete);
            QCOMPARE(n.firmware, QString());
            QCOMPARE(n.siteInfo, QString());
        } else {
            QVERIFY(n.complete);
            QCOMPARE(n.firmware, QString("V01.02.03.04(20211227)"));
            QCOMPARE(n.siteInfo, QString("강남 국사 3층 정류기실"));
        }
    }

    void faultsNeverDecodeCorruptFrames_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<QString>("fault");
        for (const char* f : {"drop", "badLrc", "garbage", "short", "long"}) {
            QTest::newRow(qPrintable(QString("serial ") + f)) << int(LinkKind::Serial) << f;
            QTest::newRow(qPrintable(QString("tcp ") + f)) << int(LinkKind::Tcp) << f;
        }
    }
    void faultsNeverDecodeCorruptFrames() {
        QFETCH(int, link);
        QFETCH(QString, fault);
        LiveRig rig(LinkKind{quint8(link)});
        QVERIFY(rig.ok);
        sim::SimFaults& f = rig.sim.faults;
        (fault == "drop"      ? f.dropEvery
         : fault == "badLrc"  ? f.badLrcEvery
         : fault == "garbage" ? f.garbageEvery
         : fault == "short"   ? f.shortEvery
                              : f.longEvery) = 2;
        int mismatches = 0;
        QObject::connect(&rig.engine, &MonitorEngine::statusRefreshed, [&] {
            if (!imageMatches(rig.engine, rig.sim.model())) ++mismatches;
        });
        QSignalSpy refreshed(&rig.engine, &MonitorEngine::statusRefreshed);
        // Each poll changes a register so a stale or shifted reply would show.
        for (int i = 0; i < 12; ++i) {
            rig.sim.model().setReg(7, 2000 + i);
            QVERIFY(rig.pollOnce(4000));
        }
        QCOMPARE(mismatches, 0);
        QCOMPARE(rig.engine.image()[7], 2011);
    }

    void tcpPeerDisconnectAndReconnect() {
        LiveRig rig(LinkKind::Tcp);
        QVERIFY(rig.ok);
        QVERIFY(rig.pollOnce());
        QSignalSpy lamp(&rig.engine.link(), &DeviceLink::connectLamp);
        rig.sim.dropTcpConnections();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.session.tcp().Connected(), 2000);
        rig.sim.model().setReg(7, 2345);
        QVERIFY(rig.pollOnce(5000));
        QCOMPARE(rig.engine.image()[7], 2345);
        QVERIFY(!lamp.isEmpty());
        QCOMPARE(lamp.first().first().toBool(), false); // grey while reconnecting
        // The controller closing on every second reply: polling still carries on.
        rig.sim.faults.disconnectEvery = 2;
        for (int i = 0; i < 4; ++i)
            QVERIFY(rig.pollOnce(6000));
    }

    void ptyHangUpClosesThePort() {
        LiveRig rig(LinkKind::Serial);
        QVERIFY(rig.ok);
        QVERIFY(rig.pollOnce());
        int closes = 0, errors = 0;
        QObject::connect(&rig.session.port(), &TCustomComPort::afterClose, [&] { ++closes; });
        QObject::connect(&rig.session.port(), &TCustomComPort::error, [&] { ++errors; });
        rig.sim.closePty();
        rig.engine.Timer1Timer(); // a write to the dead line
        QTRY_VERIFY_WITH_TIMEOUT(!rig.session.port().Active(), 3000);
        QCOMPARE(closes, 1);
        QVERIFY(errors >= 1);
        // Polling on a closed port is swallowed.
        for (int i = 0; i < 6; ++i)
            rig.engine.Timer1Timer();
        QTest::qWait(50);
        QCOMPARE(closes, 1);
    }
};

QTEST_GUILESS_MAIN(TestLive)
#include "tst_live.moc"
