// The English interface: every translatable text of the sources has a finished translation, and
// installing the catalogue changes the texts while Korean stays exactly what it was.
#include "core/history/TransferRecord.h"
#include "core/i18n/Translations.h"
#include "core/monitor/AlarmTree.h"
#include "core/monitor/StatusTexts.h"
#include "core/settings/SettingRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace quma;

namespace {

struct Message {
    QString context, source, translation;
    bool unfinished = false;
};

// The live messages of a .ts file (vanished and obsolete ones are left out).
QList<Message> ReadCatalogue(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = path + ": " + f.errorString();
        return {};
    }
    QList<Message> out;
    QXmlStreamReader xml(&f);
    QString context;
    Message m;
    bool skip = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"name") context = xml.readElementText();
            if (xml.name() == u"message") m = Message{context, {}, {}, false};
            if (xml.name() == u"source")
                m.source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (xml.name() == u"translation") {
                const QString type = xml.attributes().value("type").toString();
                skip = type == "vanished" || type == "obsolete";
                m.unfinished = type == "unfinished";
                m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == u"message" && !skip) {
            out << m;
        }
    }
    if (xml.hasError()) *error = path + ": " + xml.errorString();
    return out;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    // lupdate run over the sources as they are now, merged into a copy of the catalogue: a text
    // added without a translation, or one left unfinished, fails here with its context.
    void everySourceTextHasAFinishedTranslation_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QString>("language");
        for (const char* folder : {"core", "gui"})
            for (const char* language : {"en", "ko"})
                QTest::addRow("%s %s", folder, language)
                    << folder << QString("%1/i18n/quma_%1_%2.ts").arg(folder, language) << language;
    }
    void everySourceTextHasAFinishedTranslation() {
        QFETCH(QString, folder);
        QFETCH(QString, catalogue);
        QFETCH(QString, language);
        const QDir source(QUMA_SOURCE_DIR);
        QTemporaryDir dir;
        const QString copy = dir.filePath("copy.ts");
        QVERIFY(QFile::copy(source.filePath(catalogue), copy));
        QProcess lupdate;
        lupdate.start(QUMA_LUPDATE,
                      {"-locations", "none", "-source-language", "ko", "-target-language", language,
                       "-extensions", "cpp,h,ui", source.filePath(folder), "-ts", copy});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());
        QString error;
        const QList<Message> messages = ReadCatalogue(copy, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(messages.size() > 90);
        QStringList lacking;
        for (const Message& m : messages)
            if (m.unfinished || m.translation.isEmpty()) lacking << m.context + ": " + m.source;
        QVERIFY2(lacking.isEmpty(), qPrintable("No translation for:\n" + lacking.join('\n')));
        if (language != "ko") return;
        // Korean: the original screens' texts stay as they are, the added ones are Korean.
        const QStringList kept{"화면설정",
                               " Setting Sucess!!",
                               "No History data",
                               "Total : ",
                               "Please, Check PC Lan Port Connection!",
                               "Save File"};
        for (const Message& m : messages) {
            if (kept.contains(m.source)) QCOMPARE(m.translation, m.source);
            if (m.source == "Nothing was ticked: nothing was written." || m.source == "Trends")
                QVERIFY2(m.translation.contains(QRegularExpression("[\\x{AC00}-\\x{D7A3}]")),
                         qPrintable(m.translation));
        }
    }

    void languageCodes() {
        QCOMPARE(ParseLanguage("en"), Language::English);
        QCOMPARE(ParseLanguage(" EN_gb"), Language::English);
        QCOMPARE(ParseLanguage("ko"), Language::Korean);
        QCOMPARE(ParseLanguage("ko-KR"), Language::Korean);
        QCOMPARE(ParseLanguage("de"), std::nullopt);
        QCOMPARE(ParseLanguage(""), std::nullopt);
        QCOMPARE(LanguageCode(Language::English), QString("en"));
    }

    // Status, alarms, history headers and setting names in English, and back to the Korean
    // texts byte for byte.
    void textsFollowTheLanguage() {
        RegisterImage img{};
        img.set(7, 2200);
        img.set(Reg::Alarm1, 0x0001);
        const QString korean = RenderStatus(img, " QUMA-7T").acVolts;
        QCOMPARE(korean, QString("AC전압 : 220.0 V"));
        const QStringList koreanHeader = AlarmHistoryHeader();

        Translations t({"quma_core"});
        QVERIFY(t.apply(Language::English));
        QCOMPARE(t.current(), Language::English);
        const StatusView v = RenderStatus(img, " QUMA-7T");
        QCOMPARE(v.acVolts, QString("AC voltage: 220.0 V"));
        QCOMPARE(v.cells.value(0), QString("Cell 1: 0 V"));
        QCOMPARE(AlarmHistoryHeader().first(), QString("No."));
        QCOMPARE(AlarmHistoryHeader().last(), QString("Alarm"));
        QCOMPARE(EventLogHeader().value(3), QString("Event"));
        QCOMPARE(AlarmCodeText(1, 1), QString("AC failure"));
        QCOMPARE(AlarmCodeText(2, 0), QString("DC high voltage Recov"));
        QCOMPARE(AlarmTreeNodes(img).value(2).text, QString("AC failure"));
        // A refused value names the field in English too.
        CalibrationInput in;
        in.checked[2] = true;
        in.text[2] = "5x";
        in.acRowsShown = true;
        QVERIFY(PlanCalibration(in).error.startsWith("DC voltage: "));

        QVERIFY(t.apply(Language::Korean));
        QCOMPARE(RenderStatus(img, " QUMA-7T").acVolts, korean);
        QCOMPARE(AlarmHistoryHeader(), koreanHeader);
        QCOMPARE(AlarmCodeText(1, 1), QString("AC 경보"));
    }

    void aMissingCatalogueChangesNothing() {
        Translations t({"quma_core", "no_such_catalogue"});
        QString error;
        QVERIFY(!t.apply(Language::English, &error));
        QVERIFY(error.contains("no_such_catalogue_en"));
        QCOMPARE(t.current(), Language::Korean);
        QCOMPARE(AlarmCodeText(1, 1), QString("AC 경보"));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
