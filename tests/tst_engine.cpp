// The engine on fake links: polling cadence, poll decoding, the write chain, network identity,
// clears and the alarm-tree start-up steps.
#include "core/monitor/AlarmTree.h"
#include "core/monitor/PowerFlow.h"
#include "tests/FakeLinks.h"
#include "tests/LinkRows.h"

#include <QSignalSpy>
#include <QtTest>

using namespace quma;
using namespace quma::test;

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void serialPollCadence() {
        EngineRig rig(LinkKind::Serial);
        QList<int> sentAt;
        for (int tick = 1; tick <= 9; ++tick) {
            const int before = rig.serial.written.size();
            rig.engine.Timer1Timer();
            if (rig.serial.written.size() > before) sentAt << tick;
        }
        QCOMPARE(sentAt, (QList<int>{1, 4, 7}));
        QCOMPARE(rig.engine.timer1Interval(), 200);
        QCOMPARE(rig.serial.written[0], QByteArray(":01040001008377\r\n"));
        QCOMPARE(rig.traces[0], QByteArray("RectMode >>  [ 00 ]"));
        QCOMPARE(rig.traces[1], QByteArray("Send data >>[17]:01040001008377\r\n"));
    }

    void tcpPollFrame() {
        EngineRig rig(LinkKind::Tcp);
        rig.engine.Timer1Timer();
        QCOMPARE(rig.tcp.sent.size(), 1);
        QCOMPARE(rig.tcp.sent[0].frame.toHex(), QByteArray("000100000006010400010083"));
        QCOMPARE(rig.tcp.sent[0].replyBytes, 271);
        QCOMPARE(rig.engine.timer1Interval(), 300);
    }

    void tcpReconnectsWhenDown() {
        EngineRig rig(LinkKind::Tcp);
        QSignalSpy lamp(&rig.engine.link(), &DeviceLink::connectLamp);
        rig.tcp.connected = false;
        rig.engine.Timer1Timer();
        QCOMPARE(rig.tcp.reconnects, 1);
        QCOMPARE(lamp.takeFirst().at(0).toBool(), false);
        rig.tcp.reply({});
        for (int i = 0; i < 3; ++i)
            rig.engine.Timer1Timer();
        QCOMPARE(lamp.takeFirst().at(0).toBool(), true);
    }

    void serialPollDecoded() {
        EngineRig rig(LinkKind::Serial);
        QSignalSpy refreshed(&rig.engine, &MonitorEngine::statusRefreshed);
        const QByteArray reply = SerialPollReply(SampleImage());
        QCOMPARE(reply.size(), 535 + 2);
        rig.engine.link().receiveSerial(reply);
        QCOMPARE(refreshed.count(), 1);
        QCOMPARE(rig.engine.image()[Reg::AcVolts], 2200);
        QCOMPARE(rig.engine.image()[Reg::LoadAmps], 0xFFF6);
        QCOMPARE(rig.engine.modelName(), QString(" QUMA-7TN(A)"));
    }

    void malformedOrMisplacedPollsIgnored() {
        EngineRig rig(LinkKind::Serial);
        QSignalSpy refreshed(&rig.engine, &MonitorEngine::statusRefreshed);
        // 533 characters: one register short.
        QByteArray body = "0104" + IntToHexN(260, 4);
        for (int i = 0; i < 130; ++i)
            body += "0001";
        rig.engine.link().receiveSerial(AsciiFrame(body));
        // A good poll while a dialog has the link.
        rig.engine.setCommandKind(RectMode::Setting);
        rig.engine.link().receiveSerial(SerialPollReply(SampleImage()));
        QCOMPARE(refreshed.count(), 0);
        QCOMPARE(rig.engine.image()[Reg::AcVolts], 0);
    }

    void tcpPollNeedsByteCountFE() {
        EngineRig rig(LinkKind::Tcp);
        QSignalSpy refreshed(&rig.engine, &MonitorEngine::statusRefreshed);
        rig.engine.Timer1Timer();
        QByteArray data = TcpPollData(SampleImage());
        data[0] = char(0x06);
        rig.tcp.reply(TcpReplyTo(rig.tcp.sent[0], 0x04, data));
        QCOMPARE(refreshed.count(), 0);
        rig.engine.setCommandKind(RectMode::Poll);
        for (int i = 0; i < 3; ++i)
            rig.engine.Timer1Timer();
        rig.tcp.reply(TcpReplyTo(rig.tcp.sent[1], 0x04, TcpPollData(SampleImage())));
        QCOMPARE(refreshed.count(), 1);
        QCOMPARE(rig.engine.image()[Reg::BattTemp], 1250);
    }

    void threeWritesSentLastFirstWithOneSuccess_data() { AddLinkRows(); }
    void threeWritesSentLastFirstWithOneSuccess() {
        QFETCH(int, link);
        const bool tcp = link == int(LinkKind::Tcp);
        EngineRig rig{LinkKind(link)};
        QVERIFY(rig.engine.QueueWrites({{54, 543}, {55, 100}, {56, 7}}));
        QCOMPARE(rig.engine.commandKind(), RectMode::Setting);
        const auto ack = [&] {
            if (tcp) {
                const TcpRequest r = rig.tcp.waiting.first();
                rig.tcp.reply(TcpReplyTo(r, 0x06, r.frame.mid(8)));
            } else {
                rig.engine.link().receiveSerial(AsciiFrame("010600000000"));
            }
        };
        for (int i = 0; i < 3; ++i)
            ack();
        QList<QByteArray> frames;
        if (tcp) {
            for (const auto& r : rig.tcp.sent)
                frames << r.frame.mid(6).toHex();
            QCOMPARE(frames, (QList<QByteArray>{"01060038"
                                                "0007",
                                                "01060037"
                                                "0064",
                                                "01060036"
                                                "021f"}));
        } else {
            QCOMPARE(rig.serial.written,
                     (QList<QByteArray>{AsciiFrame("010600380007"), AsciiFrame("010600370064"),
                                        AsciiFrame("01060036021F")}));
        }
        QCOMPARE(rig.messageTexts(), QStringList{" Setting Sucess!!"});
        // The Timer1 ticks in the setting kind send nothing.
        const int sent = rig.serial.written.size() + rig.tcp.sent.size();
        for (int i = 0; i < 6; ++i)
            rig.engine.Timer1Timer();
        QCOMPARE(rig.serial.written.size() + rig.tcp.sent.size(), sent);
    }

    // A write chain goes on as writes whatever the command kind is when an acknowledgement
    // comes; over TCP the next frame used to follow the kind of the moment (a poll after the
    // dialog had returned to polling).
    void writeChainStaysWritesAfterTheKindChanges() {
        EngineRig rig{LinkKind::Tcp};
        QVERIFY(rig.engine.QueueWrites({{54, 170}, {55, 270}}));
        rig.engine.ReturnToPolling();
        const TcpRequest first = rig.tcp.waiting.first();
        rig.tcp.reply(TcpReplyTo(first, 0x06, first.frame.mid(8)));
        QCOMPARE(rig.tcp.sent.size(), 2);
        QCOMPARE(rig.tcp.sent[1].frame.mid(6).toHex(), QByteArray("01060036"
                                                                  "00aa"));
    }

    void outOfRangeWritesRefused() {
        EngineRig rig(LinkKind::Serial);
        QVERIFY(!rig.engine.QueueWrites({{54, 543}, {55, 65536}}));
        QVERIFY(!rig.engine.QueueWrites({{54, -1}}));
        QVERIFY(!rig.engine.QueueWrites({}));
        QVERIFY(rig.serial.written.isEmpty());
        QCOMPARE(rig.messages.size(), 2);
        QVERIFY(rig.messages[0].second.contains("65536"));
        QCOMPARE(rig.engine.commandKind(), RectMode::Poll);
    }

    void tcpFirstDialogWriteIsTheRealWrite() {
        // No register-0 write goes out before the first queued pair.
        EngineRig rig(LinkKind::Tcp);
        rig.tcp.connected = false;
        rig.engine.QueueWrites({{127, 1}});
        QCOMPARE(rig.tcp.sent.size(), 1);
        QCOMPARE(rig.tcp.sent[0].frame.mid(7).toHex(), QByteArray("06007f0001"));
        QCOMPARE(rig.tcp.reconnects, 1);
    }

    void factoryResetFrameOnSerial() {
        EngineRig rig(LinkKind::Serial);
        rig.engine.QueueWrites({{127, 1}});
        QCOMPARE(rig.serial.written.first(), QByteArray(":0106007F000179\r\n"));
    }

    void networkIdentityReadOnce_data() { AddLinkRows(); }
    void networkIdentityReadOnce() {
        QFETCH(int, link);
        EngineRig rig{LinkKind(link)};
        rig.engine.ReadNetworkIdentity();
        rig.engine.Timer1Timer();
        if (link == int(LinkKind::Tcp)) {
            QCOMPARE(rig.tcp.sent.size(), 1);
            QCOMPARE(rig.tcp.sent[0].function, Fn::ReadNetId);
            QCOMPARE(rig.tcp.sent[0].replyBytes, 158);
        } else {
            QCOMPARE(rig.serial.written, QList<QByteArray>{":0122DD\r\n"});
        }
        QCOMPARE(rig.engine.commandKind(), RectMode::Poll);
        for (int i = 0; i < 3; ++i)
            rig.engine.Timer1Timer();
        QByteArray lastMode;
        for (const QByteArray& t : rig.traces)
            if (t.startsWith("RectMode")) lastMode = t;
        QCOMPARE(lastMode, QByteArray("RectMode >>  [ 00 ]"));
    }

    void networkIdentityDecoded() {
        QByteArray rec;
        rec += QByteArray::fromHex("025EC4E00001");                     // MAC
        rec += QByteArray::fromHex("C0A80105");                         // IP
        rec += QByteArray::fromHex("FFFFFF00");                         // subnet
        rec += QByteArray::fromHex("C0A80101");                         // gateway
        rec += char(0);                                                 // flags
        rec += QByteArray::fromHex("C0A80105") + QByteArray(4, 0);      // saved IP, reserved
        rec += char(3) + QByteArray("abc");                             // description
        rec += QByteArray("2200000001") + QByteArray("; ");             // serial number
        rec += QByteArray::fromHex("00000001");                         // hw version
        rec += QByteArray::fromHex("025EC4E00001") + QByteArray(12, 0); // saved MAC, IP-MAC, res.
        rec += QByteArray::fromHex("FFFFFFFE") + QByteArray(4, 0);      // rect IDs
        rec += QByteArray::fromHex("01020304") + QByteArray::fromHex("0000ABCD");
        const QByteArray site = QString("서울 국사").toUtf8();
        rec += char(site.size()) + site;
        const QByteArray countAndRecord = u16(rec.size()) + rec;

        EngineRig tcp(LinkKind::Tcp);
        tcp.engine.ReadNetworkIdentity();
        tcp.engine.Timer1Timer();
        QByteArray reply = TcpReplyTo(tcp.tcp.sent[0], 0x41, countAndRecord);
        reply.append(QByteArray(158 - reply.size(), 0)); // padded to what the read expects
        tcp.tcp.reply(reply);
        QVERIFY(tcp.engine.networkIdentity().has_value());
        const NetworkIdentity& n = *tcp.engine.networkIdentity();
        QCOMPARE(n.ip, QString("192.168.01.05"));
        QCOMPARE(n.mac, QString("02.5E.C4.E0.00.01"));
        QCOMPARE(n.subnet, QString("255.255.255.00"));
        QCOMPARE(n.serialNumber, QByteArray("2200000001"));
        QCOMPARE(n.rectId, QString("FFFFFFFE"));
        QCOMPARE(n.firmware, QString("V01.02.03.04(0000ABCD)"));
        QCOMPARE(n.siteInfo, QString("서울 국사"));
        QCOMPARE(n.hwDescription, QByteArray("abc"));

        EngineRig serial(LinkKind::Serial);
        serial.engine.link().receiveSerial(AsciiFrame("01B2" + BytesToHex(countAndRecord)));
        QVERIFY(serial.engine.networkIdentity().has_value());
        QCOMPARE(serial.engine.networkIdentity()->ip, QString("192.168.01.05"));
        QCOMPARE(serial.engine.networkIdentity()->siteInfo, QString("서울 국사"));
    }

    // A record longer than the reply holds: every field that fits is decoded, none is read past
    // the end, a cut text keeps its whole characters.
    void networkIdentityCutRecord() {
        QByteArray rec = QByteArray::fromHex("025EC4E00001C0A80105FFFFFF00C0A80101") + char(0);
        rec += QByteArray::fromHex("C0A80105") + QByteArray(4, 0);
        const QByteArray desc = "Kestra Tarvine;KESTRA;KESTRA 5G RectifierSystem 54V/37A/2000AH;"
                                "RKU_9V_2000AH;";
        rec += char(desc.size()) + desc + "2200000001; " + QByteArray::fromHex("00000001");
        rec += QByteArray::fromHex("025EC4E00001") + QByteArray(12, 0);
        rec += QByteArray::fromHex("0000000100000001") + QByteArray::fromHex("0102030420211227");
        const QByteArray site = QString("강남 국사 3층 정류기실").toUtf8();
        rec += char(site.size()) + site;
        const QByteArray whole = u16(rec.size()) + rec;

        // Cut where the TCP reply ends (150 data bytes): up to the saved rectifier ID.
        auto n = DecodeNetworkIdentity(whole.left(150));
        QVERIFY(n.has_value());
        QVERIFY(!n->complete);
        QCOMPARE(n->hwDescription, desc);
        QCOMPARE(n->serialNumber, QByteArray("2200000001"));
        QCOMPARE(n->savedMac, QString("02.5E.C4.E0.00.01"));
        QCOMPARE(n->rectId, QString("00000001"));
        QCOMPARE(n->savedRectId, QString("00000001"));
        QCOMPARE(n->firmware, QString());
        QCOMPARE(n->siteInfo, QString());

        // Cut inside the site text, in the middle of a Korean character.
        const int siteAt = int(whole.size()) - int(site.size());
        n = DecodeNetworkIdentity(whole.left(siteAt + 5));
        QVERIFY(n.has_value() && !n->complete);
        QCOMPARE(n->firmware, QString("V01.02.03.04(20211227)"));
        QCOMPARE(n->siteInfo, QString("강"));
        QCOMPARE(n->siteInfoUtf8, QString("강").toUtf8());

        // Cut inside the hardware description and inside an address.
        n = DecodeNetworkIdentity(whole.left(40));
        QCOMPARE(n->hwDescription, desc.left(10));
        QCOMPARE(n->serialNumber, QByteArray());
        n = DecodeNetworkIdentity(whole.left(11));
        QCOMPARE(n->mac, QString("02.5E.C4.E0.00.01"));
        QCOMPARE(n->ip, QString());
        QCOMPARE(n->subnet, QString());
        QVERIFY(!DecodeNetworkIdentity(whole.left(1)).has_value());

        // A cut text keeps the bytes as read (no replacement characters), less a cut character.
        const QByteArray odd = whole.left(siteAt - 1) + char(250) + QByteArray(200, char(0xFF)) +
                               QString("강").toUtf8().left(2);
        n = DecodeNetworkIdentity(odd);
        QCOMPARE(n->siteInfoUtf8, QByteArray(200, char(0xFF)));

        n = DecodeNetworkIdentity(whole);
        QVERIFY(n->complete);
        QCOMPARE(n->siteInfo, QString("강남 국사 3층 정류기실"));
    }

    void networkIdentityWrite() {
        EngineRig s(LinkKind::Serial);
        s.engine.WriteNetworkIdentity(QByteArray::fromHex("12345678AA"));
        QCOMPARE(s.serial.written.first(), AsciiFrame("0123000012345678AA"));
        EngineRig t(LinkKind::Tcp);
        t.engine.WriteNetworkIdentity(QByteArray::fromHex("12345678AA"));
        QCOMPARE(t.tcp.sent.first().frame.mid(4).toHex(), QByteArray("00070142"
                                                                     "12345678aa"));
        QCOMPARE(t.tcp.sent.first().replyBytes, 6);
    }

    void clearsAndTheirMessages() {
        EngineRig s(LinkKind::Serial);
        s.engine.ClearLog(TransferKind::Alarm);
        s.engine.ClearLog(TransferKind::Event);
        QCOMPARE(s.serial.written, (QList<QByteArray>{":0135CA\r\n", ":0145BA\r\n"}));
        s.engine.link().receiveSerial(AsciiFrame("01C5"));
        s.engine.link().receiveSerial(AsciiFrame("01D5"));
        QCOMPARE(s.messageTexts(),
                 (QStringList{" Alarm Initial Sucess!!", " Event log Initial Sucess!!"}));

        EngineRig t(LinkKind::Tcp);
        t.engine.ClearLog(TransferKind::Event);
        QCOMPARE(t.tcp.sent[0].function, Fn::EventClear);
        t.tcp.reply(TcpReplyTo(t.tcp.sent[0], 0x48, QByteArray(1, 2)));
        t.engine.ClearLog(TransferKind::Alarm);
        QCOMPARE(t.tcp.sent[1].function, Fn::AlarmClear);
        t.tcp.reply(TcpReplyTo(t.tcp.sent[1], 0x45, QByteArray(1, 1)));
        QCOMPARE(t.messageTexts(),
                 (QStringList{" Event Initial Sucess!!", " Alarm Initial Sucess!!"}));
    }

    void alarmTreeStartUpAndBatteryChange() {
        EngineRig rig(LinkKind::Serial);
        QSignalSpy build(&rig.engine, &MonitorEngine::alarmTreeBuild);
        QSignalSpy update(&rig.engine, &MonitorEngine::alarmTreeUpdate);
        QSignalSpy remove(&rig.engine, &MonitorEngine::alarmTreeRemove);
        RegisterImage img = SampleImage();
        const auto poll = [&] { rig.engine.link().receiveSerial(SerialPollReply(img)); };
        poll(); // the first reply builds the tree and shows its alarms
        QCOMPARE(build.count(), 1);
        QVERIFY(rig.engine.timer3Enabled());
        QCOMPARE(rig.engine.alarms().phase, 3);
        QCOMPARE(update.count(), 1);
        rig.engine.Timer3Timer();
        QCOMPARE(update.count(), 1); // no change, no refresh
        img.set(Reg::Alarm1, 0x0020);
        poll();
        img.set(Reg::Alarm1, 0);
        poll();
        rig.engine.Timer3Timer();
        QCOMPARE(update.count(), 1); // changed and back within a second
        img.set(Reg::Alarm1, 0x0020);
        poll();
        rig.engine.Timer3Timer();
        QCOMPARE(update.count(), 2);
        img.set(Reg::BattInstalled, 0);
        poll();
        QCOMPARE(remove.count(), 1);
        poll();
        QCOMPARE(build.count(), 2);
    }

    void alarmTreeNodes() {
        RegisterImage img;
        img.set(Reg::Alarm1, 0x0020);
        auto nodes = AlarmTreeNodes(img);
        QCOMPARE(nodes.size(), 10); // root, three groups, six leaves
        const auto find = [&](const QString& t) {
            for (const auto& n : nodes)
                if (n.text == t) return n;
            return AlarmNode{};
        };
        QVERIFY(find("Alarm그룹").alarm);
        QVERIFY(find("DC 과전류").alarm);
        QVERIFY(!find("직류출력").alarm);
        img.set(Reg::BattInstalled, 1);
        img.set(Reg::Alarm1, 0x0040);
        img.set(Reg::Alarm2, 0);
        nodes = AlarmTreeNodes(img);
        QCOMPARE(nodes.size(), 14);
        QVERIFY(find("축전지 경보").alarm);
        QVERIFY(!find("축전지").alarm);
        img.set(Reg::Alarm1, 0);
        img.set(Reg::Alarm2, 0x0020);
        nodes = AlarmTreeNodes(img);
        QVERIFY(find("축전지").alarm);
        QVERIFY(!find("축전지 저전압").alarm && !find("축전지 경보").alarm &&
                !find("축전지 셀").alarm);
    }

    void powerFlowSteps() {
        RegisterImage img;
        img.set(Reg::AcVolts, 50);
        FlowState s = StepFlow({}, img);
        QCOMPARE(s.sys, 1);
        QCOMPARE(s.ac, 0);
        img.set(Reg::AcVolts, 51);
        img.set(Reg::LoadAmps, 5);
        s = StepFlow(FlowState{}, img);
        QCOMPARE(s.ac, 1);
        QCOMPARE(s.sys, 1);
        QCOMPARE(s.flags & 4, 4);
        s = StepFlow(s, img);
        QCOMPARE(s.rect, 1);
        img.set(Reg::BattAmps, 0xFFF6);
        img.set(Reg::BattInstalled, 1);
        s = StepFlow(FlowState{}, img);
        QCOMPARE(s.batt, 10);
        QVERIFY(s.showDischarge && !s.showCharge);
        FlowState wrap;
        wrap.ac = 10;
        QCOMPARE(StepFlow(wrap, img).ac, 0);
    }

    void alarmTestNotice() {
        int counter = 0;
        int visibleTicks = 0;
        bool visible = false;
        for (int i = 0; i < 91; ++i) {
            const NoticeStep st = StepNotice(counter);
            counter = st.counter;
            if (st.changed) visible = st.visible;
            if (i >= 31 && visible) ++visibleTicks;
        }
        QCOMPARE(visibleTicks, 20); // one second in three, over six seconds
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
