#pragma once
// The names a refusal's words use, in both languages side by side: the fields of a record and
// what each should hold, the figures, the parameters (the window's captions, the batch's
// options), the outputs and the system's reasons.

#include "engine/refusal.h"
#include "start/word_template.h"

namespace quorvel {

const Words& field_name_words(InventoryField field);  // "длина" / "length"
const Words& expected_words(InventoryField field);    // "ожидается длина в м, ..."
const Words& figure_words(Figure figure);
const Words& parameter_words(
    Parameter parameter);  // "Поле «Длина трансекты»" / "--transect-length"
const Words& group_words(int group);       // a column of the density grid, 1 to 3
const Words& output_words(Output output);  // "сводку" / "summary"
// The window's words for the errno behind a refusal; for one without words of its own they
// name its number, {errno}.
const Words& system_reason_words(int system_error);

}  // namespace quorvel
