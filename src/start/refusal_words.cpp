#include "start/refusal_words.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "engine/number_text.h"
#include "start/place_words.h"
#include "start/refusal_names.h"
#include "start/shown_values.h"
#include "start/word_template.h"

namespace quorvel {

namespace {

// When a row speaks. The first row of the refusal's kind that applies and has words for the
// voice says them; a row without words for a voice leaves it to the next.
enum class When {
  always,
  column_named,    // the record's column has a name from the header row
  found_empty,     // the field holds nothing
  file_named,      // the refusal names a file
  report_output,   // the output is a report (or unnamed): the window may be told to write none
  hint_uncounted,  // a hint without a count of the fields it saw
  cyrillic_code,   // a species code typed as a Cyrillic letter: «С» and «Н» look like C and H
  table_file,      // the file is a table of coefficients, not a tally
};

// One Cyrillic letter (U+0400..U+04FF, two bytes in UTF-8) and nothing else.
bool one_cyrillic_letter(std::string_view text) {
  return text.size() == 2 && static_cast<unsigned char>(text[0]) >= 0xD0 &&
         static_cast<unsigned char>(text[0]) <= 0xD3 &&
         (static_cast<unsigned char>(text[1]) & 0xC0) == 0x80;
}

bool applies(When when, const Refusal& r) {
  switch (when) {
    case When::always:
      break;
    case When::column_named:
      return !r.column.empty();
    case When::found_empty:
      return r.found.empty();
    case When::file_named:
      return !r.file.empty();
    case When::report_output:
      return r.output != Output::summary && r.output != Output::trace;
    case When::hint_uncounted:
      return r.hint_fields == 0;
    case When::cyrillic_code:
      return r.field == InventoryField::species_code && one_cyrillic_letter(r.found);
    case When::table_file:
      return r.field == InventoryField::coefficient_species;
  }
  return true;
}

using K = RefusalKind;
using P = ValueProblem;

struct RefusalRow {
  RefusalKind kind;
  When when = When::always;
  Parameter parameter = Parameter::none;      // none: any
  ValueProblem problem = ValueProblem::none;  // none: any
  FileRole role = FileRole::data;             // the file {place} names
  Words words;
};

// The codes are never guessed from a look-alike letter: the user says which was meant.
const Words cyrillic_code_words{
    "{place_and_field}: «{found}» — кириллическая буква; коды пород пишутся латиницей: S, H, C.",
    "{place_and_field}: {shown} is a Cyrillic letter; the species codes are the Latin letters S, H "
    "and C{hint}",
    "{place_and_field}: \"{found}\" is a Cyrillic letter; the species codes are the Latin letters "
    "S, H and C"};

// The ranges the Start takes, not those of the number's type.
const Words transect_length_range_words{
    "{parameter}: длина трансекты — целое число метров от 1 до 32767, а введено «{found}».",
    "transect length must be 1..32767 m, got {found}",
    "{parameter}: the transect length is a whole number of metres from 1 to 32767, found "
    "\"{found}\""};
const Words run_count_range_words{
    "{parameter}: число прогонов — целое число от 1 до 32767, а введено «{found}».",
    "number of runs must be 1..32767, got {found}",
    "{parameter}: the number of runs is a whole number from 1 to 32767, found \"{found}\""};

// The batch's English ends without a full stop; {hint} is the batch's hint about the file's form,
// which the window says as sentences of their own after the text.
const RefusalRow rows[] = {
    // The window's words for a coefficients table that cannot be read; the batch's name it by
    // {input} in the rows after these.
    {.kind = K::file_missing,
     .when = When::table_file,
     .words = {"Таблица коэффициентов «{file}» не найдена.", nullptr,
               "coefficients table \"{file}\" not found"}},
    {.kind = K::file_unreadable,
     .when = When::table_file,
     .words = {"Таблица коэффициентов «{file}» не читается: {reason}.", nullptr,
               "coefficients table \"{file}\" cannot be read: {reason}"}},
    {.kind = K::file_is_folder,
     .when = When::table_file,
     .words = {"«{file}» — папка, а не таблица коэффициентов.", nullptr,
               "\"{file}\" is a folder, not a coefficients table"}},
    {.kind = K::file_too_large,
     .when = When::table_file,
     .words = {"Таблица коэффициентов «{file}» больше {mebibytes} МБ: файлы такого размера "
               "программа не читает.",
               nullptr,
               "coefficients table \"{file}\" is larger than {mebibytes} MB: the program does not "
               "read files that large"}},
    {.kind = K::file_missing,
     .words = {"Файл данных «{file}» не найден.", "cannot open {input} {file}: {reason}",
               "data file \"{file}\" not found"}},
    {.kind = K::file_unreadable,
     .words = {"Файл данных «{file}» не читается: {reason}.",
               "cannot open {input} {file}: {reason}",
               "data file \"{file}\" cannot be read: {reason}"}},
    {.kind = K::file_is_folder,
     .words = {"«{file}» — папка, а не файл данных.",
               "cannot read {input} {file}: it is a directory",
               "\"{file}\" is a folder, not a data file"}},
    {.kind = K::file_not_regular,
     .words = {"«{file}» — не обычный файл, а устройство или канал.",
               "cannot read {input} {file}: it is not a regular file but a pipe, a device or a "
               "socket",
               "\"{file}\" is not a regular file but a device or a pipe"}},
    {.kind = K::file_too_large,
     .words = {"Файл данных «{file}» больше {mebibytes} МБ: файлы такого размера программа не "
               "читает.",
               "cannot read {input} {file}: it is larger than {mebibytes} MiB, the most such a "
               "file may hold",
               "data file \"{file}\" is larger than {mebibytes} MB: the program does not read "
               "files that large"}},
    {.kind = K::unclosed_quote,
     .words = {"{place}: у поля нет закрывающей кавычки.",
               "{place}: a quoted field has no closing quote{hint}"}},
    {.kind = K::text_after_quote,
     .words = {"{place}: лишний текст «{found}» после поля в кавычках.",
               "{place}: unexpected text {shown} after a quoted field{hint}"}},
    {.kind = K::record_incomplete,
     .when = When::column_named,
     .words = {nullptr, "{place}: the row ends before {field_place}"}},
    {.kind = K::record_incomplete,
     .words = {"{place}: файл кончается внутри записи после поля {field_number} ({field}); в "
               "записи пять полей.",
               "{place}: the file ends inside the record after {field_place}; a record has five "
               "fields{hint}"}},
    {.kind = K::field_not_valid, .when = When::cyrillic_code, .words = cyrillic_code_words},
    {.kind = K::species_unknown, .when = When::cyrillic_code, .words = cyrillic_code_words},
    {.kind = K::field_not_valid,
     .when = When::found_empty,
     .words = {"{place_and_field}: {expected}, а поле пустое."}},
    {.kind = K::field_not_valid,
     .words = {"{place_and_field}: {expected}, а найдено {shown}.",
               "{place_and_field}: {expected}, found {shown}{hint}"}},
    {.kind = K::column_missing,
     .when = When::column_named,
     .words = {nullptr,
               "{place}: the header has no column {shown_column} for the {field}{header_found}"
               "{hint}"}},
    {.kind = K::column_missing,
     .words = {"{place}: в заголовке нет столбца «{column_or_field}»{header_found}.",
               "{place}: the header has no column for the {field}{header_found}{hint}"}},
    {.kind = K::text_not_decodable,
     .words = {"{place}: текст не читается в кодировке {encoding}.",
               "{place}: the text is not valid {encoding}{reason_aside}; give the file's encoding "
               "with --input-encoding",
               "{place}: the text is not valid {encoding}"}},
    {.kind = K::species_unknown,
     .words = {"{place_and_field}: неизвестные коды пород: {found}; ожидается «S», «H» или «C».",
               "{place_and_field}: unknown species codes: {found}; add them to a species map as "
               "code,group rows (group S, H or C, e.g. {first_found},C) and give it with "
               "--species-map",
               "{place_and_field}: unknown species codes: {found}; expected \"S\", \"H\" or "
               "\"C\""}},
    {.kind = K::species_listed_twice,
     .role = FileRole::species_list,
     .words = {"{place}: порода «{found}» уже названа выше с другим кодом.",
               "{place}: the species {shown} is listed twice, with two codes"}},
    {.kind = K::too_many_fields,
     .words = {"{place}: в строке больше полей, чем столбцов.",
               "{place}: the row has {hint_fields} fields separated by ',', more than the header "
               "(or a record) has: decimal commas? separate the fields by semicolons, or write "
               "decimal points",
               "{place}: the row has more fields than there are columns"}},
    {.kind = K::header_not_recognised,
     .words = {"{place}: первая строка похожа на заголовок, но столбца «{found}» программа не "
               "знает. Названия столбцов: порода, d1, d2, длина, стадия (а также участок, "
               "страта).",
               "{place}: the first row names no known column ({shown}); name the columns species, "
               "d1, d2, length and stage, see --help",
               "{place}: the first row names no known column ({shown}); name the columns species, "
               "d1, d2, length and stage (and plot, stratum)"}},
    {.kind = K::column_repeated,
     .when = When::found_empty,
     .role = FileRole::strata,
     .words = {"{place}: столбец «{column_or_field}» назван в заголовке дважды.",
               "{place}: the header names the {field} column twice ({shown_column})"}},
    // A tally: found holds the column taken first, column the one that names it again.
    {.kind = K::column_repeated,
     .words = {"{place}: столбец «{column_or_field}» назван в заголовке дважды: и «{found}», и "
               "«{column}».",
               "{place}: the header names the {field} column twice ({shown} and {shown_column})"}},
    {.kind = K::record_too_long,
     .role = FileRole::strata,
     .words = {"{place}: лишнее поле «{found}»: в записи не больше {limit} полей.",
               "{place}: {shown} stands beyond the {limit} columns of the header"}},
    {.kind = K::no_records,
     .words = {"В файле «{file}» нет ни одной записи.", "{file}: the file holds no records",
               "the file \"{file}\" holds no records"}},
    {.kind = K::unit_not_fitting,
     .words = {"{place}: в столбце «{column}» ({field}) единица «{found}» не подходит: диаметр "
               "даётся в mm, cm, m или in, длина — в m, cm или ft.",
               "{place}: the column {shown_column} gives the {field} in \"{found}\", a unit that "
               "does not fit it (diameters: mm, cm, m, in; lengths: m, cm, ft)",
               "{place}: the column \"{column}\" gives the {field} in \"{found}\", a unit that "
               "does not fit it (diameters: mm, cm, m, in; lengths: m, cm, ft)"}},
    {.kind = K::value_missing,
     .when = When::found_empty,
     .words = {"{place_and_field}: значение не указано.",
               "{place_and_field}: the value is missing; leave such rows out with "
               "--drop-incomplete",
               "{place_and_field}: the value is missing"}},
    {.kind = K::value_missing,
     .words = {"{place_and_field}: значение не указано ({found}).",
               "{place_and_field}: the value is missing ({shown}); leave such rows out with "
               "--drop-incomplete",
               "{place_and_field}: the value is missing ({found})"}},
    {.kind = K::plot_without_lines,
     .words = {"{place}: в файле линий «{found}» нет ни одной линии этого участка.",
               "{place}: the lines file {found} has no line of this plot"}},
    {.kind = K::line_not_listed,
     .words = {"{place_and_field}: линии «{found}» нет среди линий участка в файле линий.",
               "{place_and_field}: the line {shown} is not among the plot's lines in the lines "
               "file"}},
    {.kind = K::lines_file_needed,
     .words = {"{place}: в данных есть столбец линий «{column}»; длины линий даёт файл линий, "
               "который пока читает только quorvel-batch (--lines).",
               "{place}: the plot has {limit} lines in the column {shown_column}; give their "
               "lengths with --lines FILE.csv",
               "{place}: the tally has a line column \"{column}\"; the lengths of the lines come "
               "from a lines file, which only quorvel-batch reads for now (--lines)"}},
    {.kind = K::plot_repeated,
     .role = FileRole::strata,
     .words = {"{place}: участок «{found}» уже назван в строке {other_line}.",
               "{place}: the plot {shown} is listed already on line {other_line}"}},
    {.kind = K::area_differs,
     .role = FileRole::strata,
     .words = {"{place}: площадь страты «{found}» не та, что в строке {other_line}.",
               "{place}: the stratum {shown} has another area here than on line {other_line}"}},
    {.kind = K::area_missing,
     .role = FileRole::strata,
     .words = {"{place}: у страты «{found}» не указана площадь, хотя у других страт она есть.",
               "{place}: the stratum {shown} has no area; with an area_ha column every stratum "
               "needs one"}},
    {.kind = K::coefficient_repeated,
     .role = FileRole::coefficients,
     .words = {"{place}: порода «{found}» на стадии {stage} уже есть в строке {other_line}.",
               "{place}: the species {shown} at stage {stage} is listed already on line "
               "{other_line}"}},
    {.kind = K::coefficients_missing,
     .words = {"{place}: в таблице коэффициентов «{table}» нет строк для пород и стадий: "
               "{found}.",
               "{place}: the coefficients table {table} has no row for these species and stages: "
               "{found}",
               "{place}: the coefficients table \"{table}\" has no row for these species and "
               "stages: {found}"}},
    // {parameter}: the window's caption of the field, the batch's option.
    {.kind = K::parameter_not_valid,
     .when = When::file_named,
     .parameter = Parameter::input_decimal,
     .words = {nullptr,
               "{file}: --input-decimal \"{found}\" cannot be used where fields are separated by "
               "commas; a decimal comma needs semicolons or tabs (--input-separator)",
               ""}},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::input_decimal,
     .words = {"Десятичная запятая невозможна в файле с полями через запятую.",
               "--input-decimal \"{found}\" cannot be used where fields are separated by commas; a "
               "decimal comma needs semicolons or tabs (--input-separator)",
               "a decimal comma cannot be used where fields are separated by commas"}},
    {.kind = K::parameter_not_valid,
     .problem = P::empty,
     .words = {"{parameter}: поле пустое.", "{parameter} \"{found}\" is empty",
               "{parameter}: the field is empty"}},
    {.kind = K::parameter_not_valid,
     .problem = P::not_a_number,
     .words = {"{parameter}: «{found}» — не число.", "{parameter} \"{found}\" is not a number",
               "{parameter}: \"{found}\" is not a number"}},
    {.kind = K::parameter_not_valid,
     .problem = P::out_of_range,
     .words = {"{parameter}: число «{found}» слишком велико или слишком мало.",
               "{parameter} \"{found}\" is out of range",
               "{parameter}: the number \"{found}\" is too large or too small"}},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::transect_length,
     .problem = P::outside_int16,
     .words = transect_length_range_words},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::transect_length,
     .problem = P::below_minimum,
     .words = transect_length_range_words},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::run_count,
     .problem = P::outside_int16,
     .words = run_count_range_words},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::run_count,
     .problem = P::below_minimum,
     .words = run_count_range_words},
    {.kind = K::parameter_not_valid,
     .problem = P::digit_group,
     .words = {"{parameter}: «{found}» неоднозначно: запятая или точка здесь может отделять "
               "тысячи. Целое число пишите без разделителей: {digits}.",
               "{parameter} \"{found}\" is ambiguous (a thousands separator?); write {digits} "
               "without separators",
               "{parameter}: \"{found}\" is ambiguous: the mark may separate thousands. Write "
               "whole numbers without separators: {digits}"}},
    {.kind = K::parameter_not_valid,
     .problem = P::outside_int16,
     .words = {"{parameter}: число «{found}» вне пределов от -32768 до 32767.",
               "{parameter} \"{found}\" is outside -32768..32767",
               "{parameter}: the number \"{found}\" is outside -32768..32767"}},
    {.kind = K::parameter_not_valid,
     .problem = P::below_minimum,
     .words = {"{parameter}: значение должно быть не меньше {limit}.",
               "{parameter} \"{found}\" is below {limit}",
               "{parameter}: the value must be at least {limit}"}},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::carbon_fraction,
     .problem = P::outside_range,
     .words = {"{parameter}: доля углерода в массе древесины должна быть больше 0 и не больше 1 "
               "(обычно около 0,5).",
               "carbon fraction \"{found}\" must be above 0 and at most 1 (carbon mass per unit of "
               "wood mass, about 0.5)",
               "{parameter}: the fraction must be above 0 and at most 1 (usually about 0.5)"}},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::density,
     .problem = P::outside_range,
     .words = {"{parameter}: плотность должна быть больше 0 и не больше 1,5 т/м³.",
               "density of stage {stage}, group {group} \"{found}\" must be above 0 and at most "
               "1.5 t/m3",
               "{parameter}: the density must be above 0 and at most 1.5 t/m3"}},
    {.kind = K::parameter_not_valid,
     .parameter = Parameter::wind_force,
     .problem = P::outside_range,
     .words = {"{parameter}: сила ветра — целое число от 0 до 5.",
               "wind force \"{found}\" must be 0..5", "{parameter}: the force must be 0..5"}},
    {.kind = K::parameter_not_valid,
     .problem = P::outside_range,
     .words = {"{parameter}: значение вне допустимых пределов.",
               "{parameter} \"{found}\" is out of its range",
               "{parameter}: the value is out of its range"}},
    {.kind = K::parameter_not_valid,
     .words = {"{parameter}: значение не подходит.", "{parameter} \"{found}\" cannot be used",
               "{parameter}: the value cannot be used"}},
    {.kind = K::piece_cannot_cross,
     .words = {"{place}: фрагмент длиной {length} м никогда не пересечёт трансекту.",
               "{place}: a piece of length {length} m can never cross the transect"}},
    {.kind = K::piece_never_crossed,
     .words = {"{place}: фрагмент длиной {length} м не пересёк трансекту за {limit} попыток в "
               "прогоне {run}; он слишком короток для этого участка.",
               "{place}: the piece of length {length} m did not cross the transect in {limit} "
               "attempts of run {run}; it is too short for this plot (or the attempt limit too "
               "low)"}},
    {.kind = K::figure_beyond_range,
     .when = When::file_named,
     .words = {nullptr,
               "{place}: the figures are too large to compute ({figure} is beyond the range of "
               "numbers); check the diameters, lengths, densities and the carbon fraction"}},
    {.kind = K::figure_beyond_range,
     .words = {"{place}: числа слишком велики для расчёта ({figure} вне диапазона чисел); "
               "проверьте диаметры, длины, плотности и коэффициент пересчета.",
               "the figures are too large to compute ({figure} is beyond the range of numbers); "
               "check the diameters, lengths, densities and the carbon fraction"}},
    {.kind = K::cancelled,
     .words = {"Расчёт отменён.", "{file}: interrupted; no report was written",
               "The Start was cancelled"}},
    {.kind = K::internal_error,
     .when = When::file_named,
     .words = {"«{file}»: расчёт остановлен внутренней ошибкой программы ({reason}); отчёты не "
               "записаны.",
               "{file}: stopped by an internal error ({reason}); no report was written",
               "\"{file}\": the calculation stopped on an internal error of the program "
               "({reason}); no report was written"}},
    {.kind = K::internal_error,
     .words = {"Расчёт остановлен внутренней ошибкой программы ({reason}).",
               "stopped by an internal error ({reason})",
               "The calculation stopped on an internal error of the program ({reason})"}},
    // Also an output that is no regular file, with its own {reason}.
    {.kind = K::output_unwritable,
     .when = When::report_output,
     .words = {"Не удалось записать {output} «{file}»: {reason}. Если отчёты не нужны, снимите "
               "флажок «Выводить результаты в файлы».",
               "Cannot write the {output} \"{file}\": {reason}",
               "Cannot write the {output} \"{file}\": {reason}. If the reports are not needed, "
               "untick \"Write results to files\""}},
    {.kind = K::output_unwritable,
     .words = {"Не удалось записать {output} «{file}»: {reason}.",
               "Cannot write the {output} \"{file}\": {reason}"}},
    {.kind = K::reports_unnamed,
     .words = {"Путь «{file}» слишком короток, чтобы назвать по нему файлы отчётов.",
               "The inventory path \"{file}\" is too short to name the reports after it"}},
};

const Words unknown_kind{"{place}: расчёт невозможен.", "{place}: refused"};

// What the file would be in another form, and what to do about it.
struct HintRow {
  FormHint key;
  When when;
  Words words;
};

const HintRow hints[] = {
    {FormHint::semicolon_separated,
     When::always,
     {" Строка {hint_line}: {hint_fields} полей через «;» — файл с точкой с запятой? Добавьте "
      "строку заголовков: порода;d1;d2;длина;стадия.",
      "; line {hint_line} has {hint_fields} fields separated by ';': a semicolon-separated file? "
      "give it a header or use --input-separator",
      " Line {hint_line} holds {hint_fields} fields separated by \";\": a semicolon-separated "
      "file? Give it a header row: species;d1;d2;length;stage."}},
    {FormHint::tab_separated,
     When::always,
     {" Строка {hint_line}: {hint_fields} полей через табуляцию — файл с табуляцией? Добавьте "
      "строку заголовков: порода, d1, d2, длина, стадия через табуляцию.",
      "; line {hint_line} has {hint_fields} fields separated by tabs: a tab-separated file? give "
      "it a header or use --input-separator tab",
      " Line {hint_line} holds {hint_fields} fields separated by tabs: a tab-separated file? Give "
      "it a header row: species, d1, d2, length, stage separated by tabs."}},
    {FormHint::space_separated,
     When::always,
     {" Строка {hint_line}: {hint_fields} полей через пробел — поля разделены пробелами? "
      "Разделите их запятыми, «;» или табуляцией.",
      "; line {hint_line} has {hint_fields} fields separated by blanks: separate the fields by "
      "commas, semicolons or tabs",
      " Line {hint_line} holds {hint_fields} fields separated by blanks: separate the fields by "
      "commas, semicolons or tabs."}},
    {FormHint::decimal_comma,
     When::hint_uncounted,
     {nullptr, "; a decimal comma? it is read where fields are separated by semicolons or tabs",
      " A decimal comma? It is read where fields are separated by semicolons or tabs."}},
    {FormHint::decimal_comma,
     When::always,
     {" Строка {hint_line}: {hint_fields} полей через запятую — десятичные запятые? Разделите "
      "поля знаком «;» или пишите числа с точкой.",
      "; line {hint_line} has {hint_fields} fields separated by ',': decimal commas? separate the "
      "fields by semicolons, or write decimal points",
      " Line {hint_line} holds {hint_fields} fields separated by commas: decimal commas? Separate "
      "the fields by semicolons, or write decimal points."}},
};

// The pieces that name a field, a file or a reason.
const Words field_number_words{"поле {field_number} ({field})", "field {field_number} ({field})"};
const Words column_words{"столбец «{column}» ({field})", "column \"{column}\" ({field})"};
const Words inventory_words{"файл данных", "inventory file"};
const Words species_map_words{"список пород", "species map"};
const Words strata_words{"файл страт", "strata file"};
const Words lines_words{"файл линий", "lines file"};
const Words coefficients_words{"таблица коэффициентов", "coefficients table"};
const Words not_a_file_words{"на этом месте не обычный файл, а устройство или канал",
                             "it is not a regular file"};
// The header's own cells, where the refusal lists them.
const Words header_found_words{" (в заголовке: {found})",
                               "; the header has {found}: name the column with --column "
                               "ROLE=HEADER",
                               "; the header has {found}"};
const Words not_ours_words{"на этом месте файл, записанный не Quorvel; он оставлен как был",
                           "a file that Quorvel did not write stands there, left as it was "
                           "(--force replaces it)",
                           "a file that Quorvel did not write stands there, left as it was"};
const Words is_input_words{"это входной файл «{found}»", "it is the input \"{found}\""};
const Words point_words{" (десятичный разделитель — точка)", " (period as decimal point)"};
const Words comma_words{" (десятичный разделитель в этом файле — запятая)",
                        " (comma as decimal mark in this file)"};
const Words either_words{" (десятичный разделитель — запятая или точка)",
                         " (comma or period as decimal mark)"};

// A refusal being worded: the refusal, the voice and the file its row names.
struct Said {
  const Refusal& r;
  const Voice& voice;
  FileRole role;
  bool window() const { return voice.reader == Reader::window; }
};

std::string say(const char* text, const Said& s);
std::string say(const Words& words, const Said& s) { return say(words_for(words, s.voice), s); }

// The file a field belongs to where the field tells it, else the row's.
FileRole role_of_field(InventoryField field, FileRole role) {
  switch (field) {
    case InventoryField::area_ha:
      return FileRole::strata;
    case InventoryField::coefficient_species:
    case InventoryField::coefficient_stage:
    case InventoryField::density:
    case InventoryField::reduction:
    case InventoryField::carbon_share:
      return FileRole::coefficients;
    default:
      return role;
  }
}

std::string place(const Said& s) {
  return place_text({.role = role_of_field(s.r.field, s.role),
                     .file = s.r.file,
                     .plot = s.r.plot,
                     .line = s.r.line,
                     .record = s.r.record},
                    s.voice);
}

// "field 4 (length)" in a file without a header row, "column "Len" (length)" in one with.
std::string field_place(const Said& s) {
  return say(s.r.column.empty() ? field_number_words : column_words, s);
}

std::string place_and_field(const Said& s) {
  const std::string where = place(s);
  return where + (where.empty() ? "" : ", ") + field_place(s);
}

std::string shown(std::string_view text, const Said& s) {
  return s.window() ? quoted_for_window(text, s.voice.language) : quoted_for_terminal(text);
}

// The batch gives the system's own words, the window its own words for the errno.
std::string reason(const Said& s) {
  const Refusal& r = s.r;
  if (r.kind == K::output_not_a_file) return say(not_a_file_words, s);
  if (r.kind == K::output_not_ours) return say(not_ours_words, s);
  if (r.kind == K::output_is_input) return say(is_input_words, s);
  if (s.window()) return say(system_reason_words(r.system_error), s);
  if (!r.reason.empty()) return r.reason;
  if (r.system_error != 0) return std::strerror(r.system_error);
  return r.kind == K::file_missing ? std::strerror(ENOENT) : "unknown error";
}

std::string hint(const Said& s) {
  for (const HintRow& row : hints)
    if (row.key == s.r.hint && applies(row.when, s.r) && words_for(row.words, s.voice))
      return say(row.words, s);
  return {};
}

struct ValueRow {
  std::string_view name;
  std::string (*value)(const Said&);
};

const ValueRow values[] = {
    {"file", [](const Said& s) { return s.r.file; }},
    {"place", place},
    {"place_and_field", place_and_field},
    {"field_place", field_place},
    {"field", [](const Said& s) { return say(field_name_words(s.r.field), s); }},
    {"field_number", [](const Said& s) { return std::to_string(static_cast<int>(s.r.field)); }},
    {"column", [](const Said& s) { return s.r.column; }},
    {"column_or_field",
     [](const Said& s) {
       return s.r.column.empty() ? say(field_name_words(s.r.field), s) : s.r.column;
     }},
    {"expected", [](const Said& s) { return say(expected_words(s.r.field), s); }},
    // The decimal mark of the file. The batch's English leaves the point out where the file has
    // a header row and its mark is not known.
    {"point",
     [](const Said& s) {
       switch (s.r.decimal) {
         case FileDecimal::comma:
           return say(comma_words, s);
         case FileDecimal::either:
           return say(either_words, s);
         case FileDecimal::point:
         case FileDecimal::unknown:
           break;
       }
       const bool said = s.r.column.empty() || s.voice.language == Language::russian;
       return said ? say(point_words, s) : std::string();
     }},
    {"found", [](const Said& s) { return s.r.found; }},
    {"header_found",
     [](const Said& s) { return s.r.found.empty() ? std::string() : say(header_found_words, s); }},
    {"first_found", [](const Said& s) { return s.r.found.substr(0, s.r.found.find(", ")); }},
    // The text found without blanks and marks: "1,000" as the whole number 1000.
    {"digits",
     [](const Said& s) {
       std::string digits;
       for (const char c : s.r.found)
         if (c != ',' && c != '.' && c != ' ' && c != '\t') digits += c;
       return digits;
     }},
    {"shown", [](const Said& s) { return shown(s.r.found, s); }},
    {"shown_column", [](const Said& s) { return shown(s.r.column, s); }},
    {"input",
     [](const Said& s) {
       if (s.r.field == InventoryField::species_code) return say(species_map_words, s);
       if (s.r.field == InventoryField::line) return say(lines_words, s);
       if (s.r.field == InventoryField::coefficient_species) return say(coefficients_words, s);
       return say(s.r.field == InventoryField::stratum ? strata_words : inventory_words, s);
     }},
    {"reason", reason},
    // The system's words in brackets, where it gave any.
    {"reason_aside",
     [](const Said& s) { return s.r.reason.empty() ? std::string() : " (" + s.r.reason + ")"; }},
    {"errno", [](const Said& s) { return std::to_string(s.r.system_error); }},
    {"encoding", [](const Said& s) { return s.r.encoding; }},
    {"hint", [](const Said& s) { return s.window() ? std::string() : hint(s); }},
    {"hint_fields", [](const Said& s) { return std::to_string(s.r.hint_fields); }},
    {"hint_line",
     [](const Said& s) { return std::to_string(s.r.hint_line > 0 ? s.r.hint_line : s.r.line); }},
    {"limit", [](const Said& s) { return std::to_string(s.r.limit); }},
    {"mebibytes", [](const Said& s) { return std::to_string(s.r.limit >> 20); }},
    {"other_line", [](const Said& s) { return std::to_string(s.r.other_line); }},
    {"table", [](const Said& s) { return s.r.table; }},
    {"run", [](const Said& s) { return std::to_string(s.r.run); }},
    {"length",
     [](const Said& s) {
       return s.window() ? general_number_text(s.r.length, s.voice.decimal_separator)
                         : shortest_number_text(s.r.length);
     }},
    {"figure", [](const Said& s) { return say(figure_words(s.r.figure), s); }},
    {"parameter", [](const Said& s) { return say(parameter_words(s.r.parameter), s); }},
    {"stage", [](const Said& s) { return std::to_string(s.r.stage); }},
    {"group", [](const Said& s) { return say(group_words(s.r.group), s); }},
    {"output", [](const Said& s) { return say(output_words(s.r.output), s); }},
};

std::string say(const char* text, const Said& s) {
  if (text == nullptr) return {};
  return fill_words(text, s.voice, [&s](std::string_view name) -> std::optional<std::string> {
    for (const ValueRow& row : values)
      if (row.name == name) return row.value(s);
    return std::nullopt;
  });
}

// The row that words the refusal for the voice.
const RefusalRow* row_for(const Refusal& r, const Voice& voice) {
  // A device at an output's path is worded as an output that cannot be written.
  const bool output = r.kind == K::output_not_a_file || r.kind == K::output_not_ours ||
                      r.kind == K::output_is_input;
  const RefusalKind kind = output ? K::output_unwritable : r.kind;
  for (const RefusalRow& row : rows)
    if (row.kind == kind && applies(row.when, r) &&
        (row.parameter == Parameter::none || row.parameter == r.parameter) &&
        (row.problem == ValueProblem::none || row.problem == r.problem) &&
        words_for(row.words, voice) != nullptr)
      return &row;
  return nullptr;
}

}  // namespace

std::string refusal_text(const Refusal& refusal, const Voice& voice) {
  const RefusalRow* row = row_for(refusal, voice);
  const Said s{refusal, voice, row ? row->role : FileRole::data};
  const Words& words = row ? row->words : unknown_kind;
  std::string text = say(words, s);
  if (voice.reader == Reader::batch) return text;
  if (voice.language == Language::english) text = as_window_sentence(words_for(words, voice), text);
  return text + hint(s);
}

}  // namespace quorvel
