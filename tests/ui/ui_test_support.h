#pragma once
// Helpers shared by the window tests: a main window in a folder of its own, files written into
// it, and actions taken while a Start is running.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../support/folder_snapshot.h"
#include "ui/main_window.h"

namespace quorvel::testing {

inline void write_file(const QString& path, const std::string& contents) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(contents.data(), static_cast<qint64>(contents.size()));
}

inline std::string read_file(const QString& path) { return file_bytes(path.toStdString()); }

// What a Start that is turned away or cancelled must leave as it found it: every field, the
// plot and the folder with every byte of its files.
struct WindowTraces {
  std::vector<QString> fields;
  QImage picture;
  FolderSnapshot folder;
  bool operator==(const WindowTraces&) const = default;
};

// A main window whose chooser starts in a temporary folder and whose messages are collected.
struct WindowInFolder {
  QTemporaryDir folder;
  std::unique_ptr<MainWindow> window;
  QStringList messages;

  // The chooser starts in `start_directory`, by default the temporary folder.
  explicit WindowInFolder(const QString& start_directory = QString()) {
    window = std::make_unique<MainWindow>(
        start_directory.isEmpty() ? folder.path() : start_directory, QStringList{"/"});
    window->set_message_sink([this](const QString& text) { messages.append(text); });
  }

  QString path(const QString& name) const { return folder.filePath(name); }

  QPushButton* button(const char* name) const {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
  }

  QLineEdit* field(const char* name) const {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
  }

  // The text of every field, for showing that a Start changed none.
  std::vector<QString> field_texts() const {
    std::vector<QString> texts;
    for (const QLineEdit* edit : window->findChildren<QLineEdit*>()) texts.push_back(edit->text());
    return texts;
  }

  // Writes an inventory, shows the folder again and clicks the file.
  void choose_inventory(const QString& name, const std::string& contents) {
    write_file(path(name), contents);
    window->chooser().refresh_files();
    window->chooser().choose_file(name);
  }

  // A Start, its messages alone collected, and how it ended.
  StartSummary::Outcome start() {
    messages.clear();
    window->start();
    return window->last_start().outcome;
  }
  StartSummary::Outcome start_on(const QString& name, const std::string& contents) {
    choose_inventory(name, contents);
    return start();
  }

  WindowTraces traces() const {
    return {field_texts(), window->plot_window().picture(),
            folder_snapshot(folder.path().toStdString())};
  }
};

// A key pressed and let go on `widget`.
inline void press(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &down);
  QCoreApplication::sendEvent(widget, &up);
}

// Runs `action` at the first moment the window handles events during the next Start.
inline void during_start(QObject* context, std::function<void()> action) {
  QTimer::singleShot(0, context, std::move(action));
}

// Short pieces on a long transect need thousands of attempts each, so a Start with them lasts
// long enough for actions taken while it runs.
inline std::string slow_inventory(int records) {
  std::string text;
  for (int i = 0; i < records; ++i) text += "\"S\",10,10,0.05,1\n";
  return text;
}

}  // namespace quorvel::testing
