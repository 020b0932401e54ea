// The interface language. The sources are written in Korean, the default; other languages are
// translation catalogues embedded in the libraries (":/i18n/<catalogue>_<code>.qm").
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>
#include <optional>
#include <vector>

namespace quma {

enum class Language { Korean, English };

// "ko" or "en" (a region such as "en_GB" is accepted); nullopt for anything else.
std::optional<Language> ParseLanguage(const QString& code);
QString LanguageCode(Language language);

// Installs the catalogues of one language into the application. The Korean catalogue translates
// only the texts written in English; the original Korean texts come back unchanged (and so they
// do before any catalogue is applied). Installing or removing a translator sends every widget
// a LanguageChange event, so open windows retranslate themselves.
class Translations {
public:
    // The catalogues to load, e.g. {"quma_core", "quma_gui"}.
    explicit Translations(QStringList catalogues);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // False (and the language unchanged) when a catalogue is missing.
    bool apply(Language language, QString* error = nullptr);
    Language current() const { return m_current; }

private:
    void removeAll();

    QStringList m_catalogues;
    std::vector<std::unique_ptr<QTranslator>> m_installed;
    Language m_current = Language::Korean;
    bool m_applied = false; // a language's catalogues are installed
};

} // namespace quma
