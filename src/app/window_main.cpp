// The window program: the main window in the working directory, the plot window beside it.

#include <QApplication>

#include "main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  quorvel::MainWindow window;
  QObject::connect(&window, &quorvel::MainWindow::program_ended, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  return application.exec();
}
