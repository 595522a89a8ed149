#pragma once
// The language of the window's texts. They are written in Russian, which stays the language
// whatever the computer's locale; English is shown on request: `quorvel --language en`, or the
// environment variable QUORVEL_LANGUAGE=en when the option is not given.

#include <QString>
#include <QTranslator>
#include <memory>
#include <optional>

namespace quorvel {

enum class WindowLanguage { russian, english };

// "ru" or "en" (any case); nothing for any other name.
std::optional<WindowLanguage> window_language_named(const QString& name);

// The language the option asks for, else the one the environment variable asks for, else
// Russian. A name neither knows is reported in `unknown` and passed over.
WindowLanguage requested_window_language(const QString& option, const QString& environment,
                                         QString* unknown = nullptr);

// English while the English translation is installed, else Russian: what the window's words
// that are not translated through Qt (a refusal's, a warning's) are said in.
WindowLanguage window_language_in_force();

// Installs the translation of the window's texts into the running application; it stays in
// force as long as the returned translator lives. For Russian, whose texts need none, it is
// Qt's own Russian for the texts Qt supplies (null where that is not installed).
std::unique_ptr<QTranslator> install_window_language(WindowLanguage language);

}  // namespace quorvel
