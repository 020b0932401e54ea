// Site profiles: the file format and its refusals, the comparison, the restore plan, and save ->
// restore -> read back against the simulated controller on both links.
#include "core/profile/ProfileJob.h"
#include "tests/LinkRows.h"
#include "tests/LiveRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
sim::SimOptions plantB() {
    sim::SimOptions o = LiveRig::frozen();
    // Another plant of the same model, configured otherwise.
    o.registers = {{54, 160}, {60, 535}, {63, 20}, {70, 1}, {82, 0x0027}, {91, 0x0040}};
    return o;
}

// A profile of the simulator's defaults, as a JSON object to edit.
QJsonObject defaultProfile(int systemType = 4) {
    sim::SimOptions o = LiveRig::frozen();
    o.systemType = systemType;
    sim::ControllerModel model(o);
    RegisterImage img;
    for (int r = 1; r <= kRegisterCount; ++r)
        img.set(r, model.reg(r));
    NetworkIdentity id;
    id.ip = "192.168.050.092";
    id.subnet = "255.255.255.000";
    id.gateway = "192.168.050.001";
    id.rectId = "00000001";
    id.siteInfoUtf8 = "Site A";
    id.complete = true;
    const SiteProfile p = ProfileFromPlant(img, &id, " QUMA-7TN(A)", QDateTime::currentDateTime());
    return QJsonDocument::fromJson(ProfileToJson(p)).object();
}

// Sets a setting's value (and its raw value) in a profile object.
QJsonObject withSetting(QJsonObject root, const QString& field, const QJsonValue& value,
                        const QJsonValue& raw = QJsonValue::Undefined) {
    QJsonArray settings = root["settings"].toArray();
    for (int i = 0; i < settings.size(); ++i) {
        QJsonObject o = settings[i].toObject();
        if (o["field"] != field) continue;
        o["value"] = value;
        if (raw.isUndefined())
            o.remove("raw");
        else
            o["raw"] = raw;
        settings[i] = o;
    }
    root["settings"] = settings;
    return root;
}

QByteArray text(const QJsonObject& o) {
    return QJsonDocument(o).toJson();
}

// Runs the job until it reports the plant (or fails); the plant read, or nullopt.
std::optional<SiteProfile> readPlant(LiveRig& rig, ProfileJob& job) {
    QSignalSpy read(&job, &ProfileJob::plantRead);
    QSignalSpy failed(&job, &ProfileJob::failed);
    job.readPlant();
    rig.engine.Timer1Timer();
    QElapsedTimer t;
    t.start();
    while (read.isEmpty() && failed.isEmpty() && t.elapsed() < 5000) {
        QTest::qWait(5);
        // The serial request clock; polls go out only when due.
        rig.engine.Timer1Timer();
    }
    if (read.isEmpty()) return std::nullopt;
    return read.first().first().value<SiteProfile>();
}

// Restores a plan and waits for the read-back (or the failure).
struct RestoreRun {
    std::optional<RestoreReport> report;
    std::optional<SiteProfile> readBack;
    QString failure;
};
RestoreRun restore(LiveRig& rig, ProfileJob& job, const RestorePlan& plan) {
    RestoreRun run;
    QSignalSpy read(&job, &ProfileJob::plantRead);
    QSignalSpy finished(&job, &ProfileJob::restoreFinished);
    QSignalSpy failed(&job, &ProfileJob::failed);
    job.restore(plan);
    QElapsedTimer t;
    t.start();
    while (read.isEmpty() && failed.isEmpty() && t.elapsed() < 10000) {
        QTest::qWait(5);
        rig.engine.Timer1Timer();
    }
    if (!finished.isEmpty()) run.report = finished.first().first().value<RestoreReport>();
    if (!read.isEmpty()) run.readBack = read.first().first().value<SiteProfile>();
    if (!failed.isEmpty()) run.failure = failed.first().first().toString();
    return run;
}

QList<std::pair<int, int>> sentOrder(const RestorePlan& plan) {
    QList<std::pair<int, int>> out;
    for (const RestoreStep& s : plan.steps)
        out.prepend({s.reg, s.raw});
    return out;
}
} // namespace

class TestProfile : public QObject {
    Q_OBJECT
private slots:
    void fileHoldsNamedFieldsWithRegisterValueAndRaw() {
        const QJsonObject root = defaultProfile();
        QCOMPARE(root["format"].toString(), QString("quma-site-profile"));
        QCOMPARE(root["version"].toInt(), 1);
        QCOMPARE(root["plant"]["system_type"].toInt(), 4);
        QCOMPARE(root["plant"]["model"].toString(), QString("QUMA-7TN(A)"));
        QMap<QString, QJsonObject> byField;
        for (const QJsonValue& v : root["settings"].toArray())
            byField.insert(v["field"].toString(), v.toObject());
        QCOMPARE(byField["output_voltage"]["register"].toInt(), 60);
        QCOMPARE(byField["output_voltage"]["value"].toDouble(), 54.0);
        QCOMPARE(byField["output_voltage"]["raw"].toInt(), 540);
        QCOMPARE(byField["output_voltage"]["unit"].toString(), QString("V"));
        QCOMPARE(byField["charge_mode"]["value"].toString(), QString("output voltage"));
        QCOMPARE(byField["dc_fail_contact_alarms_1"]["value"].toArray(),
                 QJsonArray({"DC high voltage", "DC low voltage", "DC overcurrent"}));
        // Calibration, the clock and the actions are never part of a profile.
        for (int reg : {1, 2, 3, 4, 5, 6, 31, 48, 49, 50, 51, 52, 53, 71, 92, 127})
            for (const QJsonObject& o : byField)
                QVERIFY2(o["register"].toInt() != reg, qPrintable(o["field"].toString()));
        // Addresses are kept without the display's leading zeros.
        const QJsonArray net = root["network"].toArray();
        QCOMPARE(net[0]["value"].toString(), QString("192.168.50.92"));
        // The alarm output type exists on system types 3 and 4 only.
        QVERIFY(byField.contains("alarm_output_type"));
        QVERIFY(!text(defaultProfile(2)).contains("alarm_output_type"));

        const ProfileLoad back = ProfileFromJson(text(root));
        QVERIFY2(back.profile, qPrintable(back.error));
        QCOMPARE(back.profile->settings.size(), byField.size());
        QVERIFY(!ProfilesDiffer(CompareProfiles(*back.profile, *back.profile)));
    }

    void handEditedValuesAreRead() {
        // Raw may be left out; a changed value with its raw changed too is read as such.
        QJsonObject root = withSetting(defaultProfile(), "output_voltage", 53.5);
        root = withSetting(root, "ac_undervoltage_alarm", 180, 180);
        root = withSetting(root, "charge_mode", "test", 3);
        root = withSetting(root, "spare_1_contact_alarms_2", QJsonArray{"battery cell", "bit 15"});
        const ProfileLoad r = ProfileFromJson(text(root));
        QVERIFY2(r.profile, qPrintable(r.error));
        QCOMPARE(r.profile->settings["output_voltage"], 535);
        QCOMPARE(r.profile->settings["ac_undervoltage_alarm"], 180);
        QCOMPARE(r.profile->settings["charge_mode"], 3);
        QCOMPARE(r.profile->settings["spare_1_contact_alarms_2"], 0x8040);
        // The test charge mode widens the output voltage to 42.0 ~ 60.0.
        QVERIFY(ProfileFromJson(text(withSetting(root, "output_voltage", 59.5))).profile);
        QVERIFY(
            !ProfileFromJson(text(withSetting(defaultProfile(), "output_voltage", 59.5))).profile);
    }

    void badFilesAreRefusedNamingTheField_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("named");
        const QJsonObject good = defaultProfile();
        const QByteArray goodText = text(good);
        QTest::newRow("not JSON") << QByteArray("output_voltage=54.0\n") << "JSON";
        QTest::newRow("truncated") << goodText.left(goodText.size() / 2) << "JSON";
        QTest::newRow("empty") << QByteArray() << "JSON";
        QTest::newRow("a list") << QByteArray("[1,2]") << "no JSON object";
        QJsonObject o = good;
        o["format"] = "something-else";
        QTest::newRow("other format") << text(o) << "format";
        o = good;
        o["version"] = 2;
        QTest::newRow("newer version") << text(o) << "version";
        o = good;
        o.remove("version");
        QTest::newRow("no version") << text(o) << "version";
        o = good;
        o["extras"] = 1;
        QTest::newRow("unknown part") << text(o) << "extras";
        QJsonArray s = good["settings"].toArray();
        s.append(QJsonObject{{"field", "float_boost"}, {"register", 61}, {"value", 1}});
        o = good;
        o["settings"] = s;
        QTest::newRow("unknown field") << text(o) << "float_boost";
        s = good["settings"].toArray();
        s.append(s[0]);
        o["settings"] = s;
        QTest::newRow("field twice") << text(o) << "ac_undervoltage_alarm";
        QTest::newRow("out of range")
            << text(withSetting(good, "output_voltage", 61.0)) << "output_voltage";
        QTest::newRow("below range")
            << text(withSetting(good, "ac_undervoltage_alarm", 100)) << "ac_undervoltage_alarm";
        QTest::newRow("finer than tenths")
            << text(withSetting(good, "dc_cutoff_voltage", 54.35)) << "dc_cutoff_voltage";
        QTest::newRow("not a number")
            << text(withSetting(good, "discharge_test_duration", "5")) << "discharge_test_duration";
        QTest::newRow("raw disagrees")
            << text(withSetting(good, "output_voltage", 54.5, 540)) << "output_voltage";
        QTest::newRow("not an item")
            << text(withSetting(good, "charge_mode", "boost")) << "charge_mode";
        QTest::newRow("unknown alarm")
            << text(withSetting(good, "ac_fail_contact_alarms_1", QJsonArray{"fire"}))
            << "ac_fail_contact_alarms_1";
        s = good["settings"].toArray();
        QJsonObject first = s[0].toObject();
        first["register"] = 61;
        s[0] = first;
        o = good;
        o["settings"] = s;
        QTest::newRow("wrong register") << text(o) << "ac_undervoltage_alarm";
        first = s[0].toObject();
        first["register"] = 54;
        first["comment"] = "x";
        s[0] = first;
        o["settings"] = s;
        QTest::newRow("unknown part of a setting") << text(o) << "comment";
        o = good;
        QJsonObject plant = o["plant"].toObject();
        plant["system_type"] = 2;
        o["plant"] = plant;
        QTest::newRow("setting the model lacks") << text(o) << "alarm_output_type";
        plant["system_type"] = 7;
        o["plant"] = plant;
        QTest::newRow("no such system type") << text(o) << "system_type";
        o = good;
        QJsonArray net = o["network"].toArray();
        net[0] = QJsonObject{{"field", "ip_address"}, {"value", "192.168.1.300"}};
        o["network"] = net;
        QTest::newRow("bad address") << text(o) << "network.ip_address";
        net[0] = QJsonObject{{"field", "site"}, {"value", QString(300, 'x')}};
        o["network"] = net;
        QTest::newRow("site too long") << text(o) << "network.site";
        for (const char* id : {"0x1f", " +1f", "1f ", "1f\n", "123456789", ""}) {
            net[0] = QJsonObject{{"field", "rectifier_id"}, {"value", id}};
            o["network"] = net;
            QTest::addRow("rectifier ID '%s'", id) << text(o) << "network.rectifier_id";
        }
        for (const char* site : {"a\nb", "a\rb", "\x1b[31mred", "nul\x01"}) {
            net[0] = QJsonObject{{"field", "site"}, {"value", site}};
            o["network"] = net;
            QTest::addRow("site with a control character %d", int(QByteArray(site).size()))
                << text(o) << "control character";
        }
        net[0] = QJsonObject{{"field", "mac_address"}, {"value", "02.5E.C4.E0.00.01"}};
        o["network"] = net;
        QTest::newRow("MAC is not restorable") << text(o) << "network.mac_address";
    }
    void badFilesAreRefusedNamingTheField() {
        QFETCH(QByteArray, file);
        QFETCH(QString, named);
        const ProfileLoad r = ProfileFromJson(file);
        QVERIFY(!r.profile);
        QVERIFY2(r.error.contains(named), qPrintable(r.error));
    }

    void savingKeepsTheOldFileWhenItCannotWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath("site.json");
        QString error;
        const SiteProfile p = *ProfileFromJson(text(defaultProfile())).profile;
        QVERIFY(SaveProfileFile(path, p, &error));
        QVERIFY(LoadProfileFile(path).profile);
        QVERIFY(!SaveProfileFile(dir.filePath("missing/site.json"), p, &error));
        QVERIFY(error.contains("missing/site.json"));
        QVERIFY(!LoadProfileFile(dir.filePath("none.json")).error.isEmpty());
    }

    void planWritesOnlyWhatDiffers() {
        const SiteProfile plant = *ProfileFromJson(text(defaultProfile())).profile;
        QJsonObject edited = withSetting(defaultProfile(), "output_voltage", 53.0);
        edited = withSetting(edited, "contact_rest_state", "normally closed");
        QJsonArray net = edited["network"].toArray();
        net[4] = QJsonObject{{"field", "site"}, {"value", "기지국 7"}};
        edited["network"] = net;
        const SiteProfile file = *ProfileFromJson(text(edited)).profile;

        RestorePlan plan = PlanRestore(file, plant, {});
        QVERIFY(plan.error.isEmpty());
        QCOMPARE(plan.writes().size(), 2);
        // Queued in field order: the contact rest state is sent first.
        QCOMPARE(plan.writes()[0].reg, 60);
        QCOMPARE(plan.writes()[0].value, 530);
        QCOMPARE(plan.writes()[1].reg, 70);
        QCOMPARE(plan.networkFields, QStringList{"site"});
        QVERIFY(!plan.networkForm); // not without the network option
        QVERIFY(PlanLines(plan).join('\n').contains("network.site: differs, not written"));

        plan = PlanRestore(file, plant, {true, false});
        QVERIFY(plan.networkForm && plan.networkForm->site && !plan.networkForm->ip);
        QCOMPARE(plan.networkForm->siteText, QString("기지국 7"));

        QVERIFY(PlanRestore(plant, plant, {true, false}).empty());
    }

    void otherModelNeedsTheOverrideAndNeverGetsTheNetwork() {
        const SiteProfile file = *ProfileFromJson(text(defaultProfile(2))).profile;
        SiteProfile plant = *ProfileFromJson(text(defaultProfile(4))).profile;
        plant.settings["output_voltage"] = 545;
        plant.network["site"] = "Elsewhere";
        RestorePlan plan = PlanRestore(file, plant, {});
        QVERIFY(plan.error.contains("system type 2"));
        QVERIFY(plan.empty());
        plan = PlanRestore(file, plant, {true, true});
        QVERIFY(plan.error.contains("network"));
        QVERIFY(plan.empty());
        plan = PlanRestore(file, plant, {false, true});
        QVERIFY2(plan.error.isEmpty(), qPrintable(plan.error));
        QCOMPARE(plan.writes().size(), 1);
        QVERIFY(!plan.networkForm);
    }

    void diffTableMarksDifferingRows() {
        const SiteProfile a = *ProfileFromJson(text(defaultProfile())).profile;
        SiteProfile b = a;
        b.settings["dc_overcurrent_alarm"] = 110;
        const QList<ProfileDiffRow> rows = CompareProfiles(a, b);
        QVERIFY(ProfilesDiffer(rows));
        const QString all = DiffTable(rows, "a.json", "plant", false);
        const QString only = DiffTable(rows, "a.json", "plant", true);
        QCOMPARE(only.count('\n'), 2); // the header and the one differing row
        QVERIFY(only.contains(
            QRegularExpression("\\*\\s+dc_overcurrent_alarm\\s+%\\s+59\\s+105\\s+110")));
        QVERIFY(all.count('\n') > 30);
    }

    // Save from one plant, restore onto a plant configured otherwise, read back: equal, and the
    // simulator received exactly the writes of the differing fields, in the order planned.
    void saveRestoreReadBack_data() { AddLinkRows(); }
    void saveRestoreReadBack() {
        QFETCH(int, link);
        LiveRig a{LinkKind(link)};
        LiveRig b(LinkKind(link), plantB());
        QVERIFY(a.ok && b.ok);
        ProfileJob jobA(a.engine), jobB(b.engine);
        const auto saved = readPlant(a, jobA);
        QVERIFY(saved);
        QCOMPARE(saved->network.value("site"), QString("Site A"));
        b.sim.model().netId().siteInfo = "Site B";
        const auto before = readPlant(b, jobB);
        QVERIFY(before);
        QVERIFY(ProfilesDiffer(CompareProfiles(*saved, *before)));

        // Through the file, as a user would.
        const SiteProfile file = *ProfileFromJson(ProfileToJson(*saved)).profile;
        const RestorePlan plan = PlanRestore(file, *before, {true, false});
        QCOMPARE(plan.steps.size(), 6);
        QCOMPARE(plan.networkFields, QStringList{"site"});
        const RestoreRun run = restore(b, jobB, plan);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QVERIFY(run.report && run.report->error.isEmpty());
        QCOMPARE(run.report->confirmed.size(), 6);
        QVERIFY(run.report->networkSent);
        QCOMPARE(b.sim.model().writes(), sentOrder(plan));
        QVERIFY(run.readBack);
        const QList<ProfileDiffRow> rows = CompareProfiles(file, *run.readBack);
        QVERIFY2(!ProfilesDiffer(rows), qPrintable(DiffTable(rows, "file", "plant", true)));
        QCOMPARE(b.sim.model().netId().siteInfo, QByteArray("Site A"));
        // The other identity fields went back as they were read.
        QCOMPARE(b.sim.model().netId().ip, QByteArray::fromHex("C0A8325C"));
        QVERIFY(b.texts().contains(" Setting Sucess!!"));
    }

    void handEditedFileRestoresExactlyTheChangedFields_data() { AddLinkRows(); }
    void handEditedFileRestoresExactlyTheChangedFields() {
        QFETCH(int, link);
        LiveRig rig{LinkKind(link)};
        QVERIFY(rig.ok);
        ProfileJob job(rig.engine);
        const auto plant = readPlant(rig, job);
        QVERIFY(plant);
        QJsonObject edited = QJsonDocument::fromJson(ProfileToJson(*plant)).object();
        edited = withSetting(edited, "discharge_test_period", 6);
        edited = withSetting(edited, "battery_fail_contact_alarms_1", QJsonArray{"battery alarm"});
        const ProfileLoad load = ProfileFromJson(text(edited));
        QVERIFY2(load.profile, qPrintable(load.error));
        const RestorePlan plan = PlanRestore(*load.profile, *plant, {});
        const RestoreRun run = restore(rig, job, plan);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        // Sent last first: the contact word (queued last) leaves before the period.
        const QList<std::pair<int, int>> expected = {{86, 0x0040}, {74, 6}};
        QCOMPARE(rig.sim.model().writes(), expected);
        QVERIFY(run.readBack && !ProfilesDiffer(CompareProfiles(*load.profile, *run.readBack)));
    }

    void refusedPlanSendsNothing() {
        LiveRig rig(LinkKind::Tcp);
        QVERIFY(rig.ok);
        ProfileJob job(rig.engine);
        const auto plant = readPlant(rig, job);
        QVERIFY(plant);
        const SiteProfile other = *ProfileFromJson(text(defaultProfile(2))).profile;
        const RestoreRun run = restore(rig, job, PlanRestore(other, *plant, {}));
        QVERIFY(run.failure.contains("system type 2"));
        QVERIFY(rig.sim.model().writes().isEmpty());

        // A network field that could not be sent stops the restore before its first register,
        // and the report names each write once.
        SiteProfile odd = *ProfileFromJson(text(defaultProfile())).profile;
        odd.settings["output_voltage"] = 530;
        odd.network["rectifier_id"] = "0x1f";
        RestoreOptions withNetwork;
        withNetwork.network = true;
        const RestorePlan plan = PlanRestore(odd, *plant, withNetwork);
        QVERIFY(!plan.steps.isEmpty());
        const RestoreRun bad = restore(rig, job, plan);
        QVERIFY2(bad.failure.startsWith("network: "), qPrintable(bad.failure));
        QVERIFY(rig.sim.model().writes().isEmpty());
        QVERIFY(bad.report);
        const QStringList lines = bad.report->lines();
        QCOMPARE(lines.filter("not written:").size(), plan.steps.size());
        QCOMPARE(lines.filter(QRegularExpression("^written:")).size(), 0);
    }

    // The line goes dead after the second write reached the controller: the report says which
    // writes were confirmed, which one is unconfirmed and which were never sent.
    void lostLinkIsReported_data() { AddLinkRows(); }
    void lostLinkIsReported() {
        QFETCH(int, link);
        LiveRig rig{LinkKind(link), plantB()};
        QVERIFY(rig.ok);
        ProfileJob job(rig.engine);
        job.setTimeout(600);
        const auto before = readPlant(rig, job);
        QVERIFY(before);
        const SiteProfile file = *ProfileFromJson(text(defaultProfile())).profile;
        const RestorePlan plan = PlanRestore(file, *before, {});
        QCOMPARE(plan.steps.size(), 6);
        int writes = 0;
        QObject::connect(&rig.sim, &sim::SimServer::requestServed, [&](int fn) {
            if (fn == 0x06 && ++writes == 2) {
                if (link == int(LinkKind::Tcp))
                    rig.sim.faults.disconnectEvery = 1;
                else
                    rig.sim.faults.dropEvery = 1;
            }
        });
        const RestoreRun run = restore(rig, job, plan);
        QVERIFY(!run.failure.isEmpty());
        QVERIFY(!run.readBack);
        QVERIFY(run.report);
        QCOMPARE(run.report->confirmed.size(), 1);
        QCOMPARE(run.report->unconfirmed.size(), 1);
        QCOMPARE(run.report->notSent.size(), 4);
        QCOMPARE(run.report->confirmed[0].reg, plan.steps.last().reg);
        QCOMPARE(run.report->unconfirmed[0].reg, plan.steps[4].reg);
        const QStringList lines = run.report->lines();
        QCOMPARE(lines.filter("not written:").size(), 4);
        QCOMPARE(rig.sim.model().writes().size(), 2);
        // Nothing is retried: no write follows the failure.
        QTest::qWait(300);
        QCOMPARE(rig.sim.model().writes().size(), 2);
    }
};

QTEST_MAIN(TestProfile)
#include "tst_profile.moc"
