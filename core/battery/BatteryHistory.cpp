// A plant's battery test history, one JSON file per plant.
#include "core/battery/BatteryHistory.h"

#include "core/io/ReadFile.h"
#include "core/io/WriteFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>

namespace quma {

namespace {
constexpr char kFormat[] = "quma-battery-history";
constexpr qint64 kMaxFileBytes = 64 << 20;
} // namespace

QString BatteryHistory::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath("quma/battery");
}

QString BatteryHistory::PathFor(const QString& folder, const QString& plantKey) {
    QString name = plantKey;
    name.remove(QRegularExpression("[^A-Za-z0-9_-]"));
    return QDir(folder).filePath((name.isEmpty() ? QString("unknown") : name) + ".json");
}

BatteryHistory BatteryHistory::Load(const QString& path, QString* error) {
    BatteryHistory h;
    h.m_path = path;
    h.m_plant = QFileInfo(path).completeBaseName();
    if (!QFileInfo::exists(path)) return h;
    const auto refuse = [&](const QString& why) {
        const QString copy = path + ".corrupt";
        QFile::remove(copy);
        const bool kept = QFile::copy(path, copy);
        if (error)
            *error = kept
                         ? QCoreApplication::translate(
                               "Battery", "%1: %2; the file is kept as %3 and a new history begins")
                               .arg(path, why, copy)
                         : QCoreApplication::translate("Battery", "%1: %2").arg(path, why);
        h.m_tests.clear();
        return h;
    };
    QString readError;
    const auto bytes = ReadWholeFile(path, kMaxFileBytes, "battery history", &readError);
    if (!bytes) {
        // Unreadable, not corrupt: nothing is written over it.
        if (error) *error = readError;
        h.m_unreadable = readError;
        return h;
    }
    QString why;
    const std::optional<BatteryHistory> read = FromJson(*bytes, &why);
    if (!read) return refuse(why);
    h.m_tests = read->m_tests;
    if (!read->m_plant.isEmpty()) h.m_plant = read->m_plant;
    return h;
}

std::optional<BatteryHistory> BatteryHistory::FromJson(const QByteArray& bytes, QString* error) {
    const auto refuse = [&](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    BatteryHistory h;
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    const QJsonObject o = doc.object();
    if (parse.error != QJsonParseError::NoError)
        return refuse(QCoreApplication::translate("Battery", "not JSON (%1 at byte %2)")
                          .arg(parse.errorString())
                          .arg(parse.offset));
    if (o["format"].toString() != kFormat || !o["tests"].isArray())
        return refuse(QCoreApplication::translate("Battery", "not a battery test history"));
    if (o["version"].toInt() != kVersion)
        return refuse(QCoreApplication::translate("Battery", "version %1 is not known here")
                          .arg(o["version"].toInt()));
    const QJsonArray tests = o["tests"].toArray();
    for (qsizetype i = 0; i < tests.size(); ++i) {
        const auto t = DischargeTest::fromJson(tests[i].toObject());
        if (!t)
            return refuse(
                QCoreApplication::translate("Battery", "test %1 is not readable").arg(i + 1));
        h.m_tests << *t;
    }
    if (o["plant"].isString()) h.m_plant = o["plant"].toString();
    return h;
}

const DischargeTest* BatteryHistory::baseline() const {
    for (const DischargeTest& t : m_tests)
        if (t.verdict != Verdict::Incomplete) return &t;
    return nullptr;
}

const DischargeTest* BatteryHistory::latestComplete() const {
    for (auto it = m_tests.crbegin(); it != m_tests.crend(); ++it)
        if (it->verdict != Verdict::Incomplete) return &*it;
    return nullptr;
}

bool BatteryHistory::add(DischargeTest test, const BatteryJudgement& judgement, QString* error) {
    if (!m_unreadable.isEmpty()) {
        if (error) *error = m_unreadable;
        return false;
    }
    JudgeTest(test, baseline(), latestComplete(), judgement);
    BatteryHistory next = *this;
    next.m_tests << test;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!WriteWholeFile(m_path, next.toJson(), error)) return false;
    m_tests = next.m_tests;
    return true;
}

QByteArray BatteryHistory::toJson() const {
    // A test a line: the curves would make an indented file long.
    QByteArray out =
        "{\"format\": \"" + QByteArray(kFormat) +
        "\", \"version\": " + QByteArray::number(kVersion) + ", \"plant\": " +
        QJsonDocument(QJsonArray{m_plant}).toJson(QJsonDocument::Compact).mid(1).chopped(1) +
        ",\n \"tests\": [";
    for (qsizetype i = 0; i < m_tests.size(); ++i)
        out += (i ? ",\n  " : "\n  ") +
               QJsonDocument(m_tests[i].toJson()).toJson(QJsonDocument::Compact);
    return out + "\n ]}\n";
}

} // namespace quma
