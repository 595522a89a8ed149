#pragma once
// Where the window's messages to the user go: a message box in the program, a list in tests.

#include <QString>
#include <functional>

namespace quorvel {

using MessageSink = std::function<void(const QString& text)>;

}  // namespace quorvel
