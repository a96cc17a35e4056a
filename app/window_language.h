#pragma once

#include <optional>

#include <QString>

#include "lists/translate.h"

namespace quendal {

// The language the window speaks. It is chosen once, at the start: the choice kept from the
// About tab, else the system's locale (Russian for a Russian locale and for C or POSIX, the
// catalogue of the locale's language where there is one, else English). Windows built after
// SetWindowLanguage speak the new one.
Language WindowLanguage();
// Installs the window's catalogue of `language` (lrelease's .qm, embedded) and Qt's own texts
// in it (its file dialogs, message boxes and context menus), where Qt has them.
void SetWindowLanguage(Language language);
// The language the program starts in, as described above.
Language StartLanguage();

// The choice of the About tab, kept in the settings: a language, or none to follow the system.
std::optional<Language> LanguageChoice();
void KeepLanguageChoice(std::optional<Language> language);

// A text of the core (a Russian source marked with TrNoop) in the window's language.
QString CoreText(const char* source);

} // namespace quendal
