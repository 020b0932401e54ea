// Loading and switching the interface language.
#include "core/i18n/Translations.h"

#include <QCoreApplication>
#include <QLocale>

namespace quma {

std::optional<Language> ParseLanguage(const QString& code) {
    const QString c = code.trimmed().toLower();
    if (c == "ko" || c.startsWith("ko_") || c.startsWith("ko-")) return Language::Korean;
    if (c == "en" || c.startsWith("en_") || c.startsWith("en-")) return Language::English;
    return std::nullopt;
}

QString LanguageCode(Language language) {
    return language == Language::English ? "en" : "ko";
}

Translations::Translations(QStringList catalogues) : m_catalogues(std::move(catalogues)) {}

Translations::~Translations() {
    removeAll();
}

void Translations::removeAll() {
    for (const auto& t : m_installed)
        QCoreApplication::removeTranslator(t.get());
    m_installed.clear();
}

bool Translations::apply(Language language, QString* error) {
    if (language == m_current && m_applied) return true;
    std::vector<std::unique_ptr<QTranslator>> loaded;
    for (const QString& catalogue : m_catalogues) {
        auto t = std::make_unique<QTranslator>();
        const QString file = catalogue + "_" + LanguageCode(language);
        if (!t->load(file, ":/i18n")) {
            if (error) *error = QString("The %1 translation was not found.").arg(file);
            return false;
        }
        loaded.push_back(std::move(t));
    }
    removeAll();
    for (const auto& t : loaded)
        QCoreApplication::installTranslator(t.get());
    m_installed = std::move(loaded);
    m_current = language;
    m_applied = true;
    // Dates and weekday names (the calendar) in the interface's language.
    QLocale::setDefault(language == Language::English
                            ? QLocale(QLocale::English, QLocale::UnitedStates)
                            : QLocale(QLocale::Korean, QLocale::SouthKorea));
    return true;
}

} // namespace quma
