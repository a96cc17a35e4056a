#include "app/window_language.h"

#include <string>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace quendal {

namespace {

const QString kLanguageKey = QStringLiteral("language");

Language& Current() {
    static Language language;
    return language;
}

// The translators installed for the current language: the window's catalogue and Qt's own.
QTranslator*& Installed(int which) {
    static QTranslator* translators[2] = {};
    return translators[which];
}

} // namespace

Language WindowLanguage() {
    return Current();
}

void SetWindowLanguage(Language language) {
    Current() = language;
    for (int which = 0; which < 2; ++which) {
        if (QTranslator*& translator = Installed(which)) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
            translator = nullptr;
        }
    }
    const QString code = QString::fromUtf8(language.Code().data(), language.Code().size());
    auto* own = new QTranslator;
    auto* qt = new QTranslator;
    // Russian is the texts' own language: only Qt's texts need a catalogue.
    if (!language.IsRussian() && own->load(QStringLiteral(":/i18n/quendal_") + code))
        QCoreApplication::installTranslator(Installed(0) = own);
    else
        delete own;
    if (qt->load(QStringLiteral("qtbase_") + code,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(Installed(1) = qt);
    else
        delete qt;
}

Language StartLanguage() {
    if (const std::optional<Language> chosen = LanguageChoice())
        return *chosen;
    const QLocale system = QLocale::system();
    return Language::ForLocale(system.uiLanguages().value(0, system.name()).toStdString());
}

std::optional<Language> LanguageChoice() {
    const QString code = QSettings().value(kLanguageKey).toString();
    return Language::OfCode(code.toStdString());
}

void KeepLanguageChoice(std::optional<Language> language) {
    QSettings settings;
    if (language)
        settings.setValue(kLanguageKey,
                          QString::fromUtf8(language->Code().data(), language->Code().size()));
    else
        settings.remove(kLanguageKey);
}

QString CoreText(const char* source) {
    const std::string_view text = Translate(WindowLanguage(), source);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quendal
