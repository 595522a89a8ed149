#include "ui/window_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quorvel {

std::optional<WindowLanguage> window_language_named(const QString& name) {
  const QString code = name.trimmed().toLower();
  if (code == QLatin1String("ru")) return WindowLanguage::russian;
  if (code == QLatin1String("en")) return WindowLanguage::english;
  return std::nullopt;
}

WindowLanguage requested_window_language(const QString& option, const QString& environment,
                                         QString* unknown) {
  for (const QString& name : {option, environment}) {
    if (name.isEmpty()) continue;
    if (const auto language = window_language_named(name)) return *language;
    if (unknown != nullptr) *unknown = name;
  }
  return WindowLanguage::russian;
}

WindowLanguage window_language_in_force() {
  //: The code of the language the window is translated into.
  const QString code = QCoreApplication::translate("WindowLanguage", "ru");
  return code == QLatin1String("en") ? WindowLanguage::english : WindowLanguage::russian;
}

std::unique_ptr<QTranslator> install_window_language(WindowLanguage language) {
  auto translator = std::make_unique<QTranslator>();
  if (language == WindowLanguage::russian) {
    // Qt's own words (a field's context menu, the standard buttons) are English unless Qt's
    // Russian translation, a dependency of the package, is installed.
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      return nullptr;
  } else if (!translator->load(QStringLiteral(":/i18n/quorvel_en.qm"))) {
    // Built from translations/quorvel_en.ts into the program's resources.
    return nullptr;
  }
  QCoreApplication::installTranslator(translator.get());
  return translator;
}

}  // namespace quorvel
