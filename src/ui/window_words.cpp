#include "ui/window_words.h"

#include "start/refusal_words.h"
#include "start/warning_words.h"
#include "ui/window_language.h"

namespace quorvel {

namespace {

Voice voice_of_window(char decimal_separator) {
  const bool english = window_language_in_force() == WindowLanguage::english;
  return window_voice(english ? Language::english : Language::russian, decimal_separator);
}

}  // namespace

QString refusal_text(const Refusal& refusal, char decimal_separator) {
  return QString::fromStdString(refusal_text(refusal, voice_of_window(decimal_separator)));
}

QString warnings_text(const std::vector<Warning>& warnings, char decimal_separator) {
  QString text;
  for (const Warning& warning : warnings) {
    if (!text.isEmpty()) text += QLatin1Char('\n');
    text += QStringLiteral("• ") +
            QString::fromStdString(warning_text(warning, voice_of_window(decimal_separator)));
  }
  return text;
}

QString not_computed_text(const NotComputed& why, char decimal_separator) {
  return QString::fromStdString(not_computed_text(why, voice_of_window(decimal_separator)));
}

}  // namespace quorvel
