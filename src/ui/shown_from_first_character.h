#pragma once
// Text fields that show their value from its first character whenever they are not being
// edited: a value wider than its field ("3000" in a field made for "1") is then cut at its end,
// never at its start, so that 3000 cannot be read as 000.

#include <QWidget>

namespace quorvel {

// For every text field inside `form`: its start is shown after a text is set while the field
// does not have the focus, and whenever the focus leaves it for another field or control.
void show_fields_from_first_character(QWidget* form);

}  // namespace quorvel
