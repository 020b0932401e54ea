// A plant's battery test history: one versioned JSON file per plant, written whole or not at
// all, each test judged against the plant's first test (the baseline) and the one before.
#pragma once

#include "core/battery/DischargeTest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace quma {

class BatteryHistory {
public:
    static constexpr int kVersion = 1;

    // The folder the histories live in: the user's data folder.
    static QString DefaultFolder();
    // The file of the plant keyed `plantKey` (its MAC address or serial number).
    static QString PathFor(const QString& folder, const QString& plantKey);

    // A missing file is an empty history. A file that is not a history of this kind and version
    // is refused with its name and a copy is kept beside it (`<file>.corrupt`): the next test
    // written starts the file anew without losing what was there.
    static BatteryHistory Load(const QString& path, QString* error);
    // The history in `bytes`; nullopt with the reason (not naming a file) when they are not one.
    static std::optional<BatteryHistory> FromJson(const QByteArray& bytes, QString* error);

    const QString& path() const { return m_path; }
    const QList<DischargeTest>& tests() const { return m_tests; }
    // The first and the last test that ran to their end (null when none).
    const DischargeTest* baseline() const;
    const DischargeTest* latestComplete() const;

    // Judges `test` against the baseline and the test before, and writes the file with it;
    // false (the history unchanged) with the reason naming the file when it cannot be written.
    bool add(DischargeTest test, const BatteryJudgement& judgement, QString* error);

    QByteArray toJson() const;

private:
    QString m_path;
    QString m_plant;
    QList<DischargeTest> m_tests;
    QString m_unreadable; // why the file could not be read: it is not written over
};

} // namespace quma
