// The window program: the main window in the working directory, the plot window beside it,
// in Russian unless English is asked for.

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "ui/main_window.h"
#include "ui/window_language.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Carbon in downed woody debris from line-intersect tallies."));
  parser.addHelpOption();
  const QCommandLineOption language(
      QStringLiteral("language"),
      QStringLiteral("Language of the window: ru (the default) or en. Without this option the "
                     "environment variable QUORVEL_LANGUAGE chooses."),
      QStringLiteral("code"));
  parser.addOption(language);
  parser.process(application);

  QString unknown;
  const auto translator = quorvel::install_window_language(quorvel::requested_window_language(
      parser.value(language), qEnvironmentVariable("QUORVEL_LANGUAGE"), &unknown));
  if (!unknown.isEmpty()) {
    std::fprintf(stderr, "quorvel: no language '%s' (ru, en); the window stays in Russian\n",
                 qPrintable(unknown));
  }

  quorvel::MainWindow window;
  QObject::connect(&window, &quorvel::MainWindow::program_ended, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  return application.exec();
}
