#include "start/refusal_names.h"

#include <cerrno>

namespace quorvel {

namespace {

struct FieldRow {
  InventoryField key;
  Words words;     // the name
  Words expected;  // {point}: the period as decimal point, where a number is expected
};

const FieldRow fields[] = {
    {InventoryField::species_code,
     {"код породы", "species code"},
     {"ожидается код породы «S», «H» или «C»", "expected the species code \"S\", \"H\" or \"C\""}},
    {InventoryField::diameter1,
     {"диаметр 1", "diameter 1"},
     {"ожидается диаметр в см, число не меньше 0{point}",
      "expected a diameter in cm, a number not below 0{point}"}},
    {InventoryField::diameter2,
     {"диаметр 2", "diameter 2"},
     {"ожидается диаметр в см, число не меньше 0{point}",
      "expected a diameter in cm, a number not below 0{point}"}},
    {InventoryField::diameter,
     {"диаметр", "diameter"},
     {"ожидается диаметр, число не меньше 0{point}",
      "expected a diameter, a number not below 0{point}"}},
    {InventoryField::length,
     {"длина", "length"},
     {"ожидается длина в м, число больше 0{point}",
      "expected a length in m, a number above 0{point}"}},
    {InventoryField::stage,
     {"стадия разложения", "stage"},
     {"ожидается стадия разложения, целое число от 0 до 5",
      "expected a decomposition stage, a whole number 0..5"}},
    {InventoryField::plot,
     {"участок", "plot"},
     {"ожидается название участка", "expected the name of a plot"}},
    {InventoryField::stratum,
     {"страта", "stratum"},
     {"ожидается название страты", "expected the name of a stratum"}},
    {InventoryField::area_ha,
     {"площадь (га)", "area"},
     {"ожидается площадь в га, число больше 0",
      "expected the stratum's area in ha, a number above 0"}},
    {InventoryField::line,
     {"линия", "line"},
     {"ожидается название линии", "expected the name of a line"}},
    {InventoryField::horizontal,
     {"горизонтальная длина", "horizontal length"},
     {"ожидается горизонтальная длина в м, число больше 0{point}",
      "expected a horizontal length in m, a number above 0{point}"}},
    {InventoryField::slope_distance,
     {"длина по склону", "slope distance"},
     {"ожидается длина по склону в м, число больше 0{point}",
      "expected a slope distance in m, a number above 0{point}"}},
    {InventoryField::slope,
     {"уклон", "slope"},
     {"ожидается уклон в процентах, число{point}", "expected a slope in percent, a number{point}"}},
    {InventoryField::coefficient_species,
     {"порода", "species"},
     {"ожидается код породы из учёта или группа S, H, C",
      "expected a species code of the tally or a group S, H, C"}},
    {InventoryField::coefficient_stage,
     {"стадия разложения", "stage"},
     {"ожидается стадия разложения от 1 до 5 (или I..V)",
      "expected a decomposition stage 1..5 (or I..V)"}},
    {InventoryField::density,
     {"плотность", "density"},
     {"ожидается плотность в т/м³, число больше 0 и не больше 1,5",
      "expected a density in t/m3, a number above 0 and at most 1.5"}},
    {InventoryField::reduction,
     {"коэффициент редукции", "reduction"},
     {"ожидается коэффициент редукции, число больше 0 и не больше 1",
      "expected a reduction factor, a number above 0 and at most 1"}},
    {InventoryField::carbon_share,
     {"доля углерода", "carbon"},
     {"ожидается доля углерода, число больше 0 и не больше 1",
      "expected a carbon fraction, a number above 0 and at most 1"}},
};

const Words no_field{"поле", "field"};
const Words other_value{"ожидается другое значение", "expected a value"};

struct FigureRow {
  Figure key;
  Words words;
};

const FigureRow figures[] = {
    {Figure::model1_pieces, {"число фрагментов модели 1", "the model 1 number of pieces"}},
    {Figure::model1_carbon, {"углерод модели 1", "the model 1 carbon"}},
    {Figure::model1_volume, {"объём валежа модели 1", "the model 1 volume"}},
    {Figure::model1_surface, {"поверхность валежа модели 1", "the model 1 surface"}},
    {Figure::model2_pieces, {"число фрагментов модели 2", "the model 2 number of pieces"}},
    {Figure::model2_carbon, {"углерод модели 2", "the model 2 carbon"}},
    {Figure::model2_volume, {"объём валежа модели 2", "the model 2 volume"}},
    {Figure::model2_surface, {"поверхность валежа модели 2", "the model 2 surface"}},
    {Figure::expected_pieces, {"ожидаемое число фрагментов", "the expected number of pieces"}},
    {Figure::expected_carbon, {"ожидаемый углерод", "the expected carbon"}},
    {Figure::expected_volume, {"ожидаемый объём валежа", "the expected volume"}},
    {Figure::expected_surface, {"ожидаемая поверхность валежа", "the expected surface"}},
    {Figure::model1_carbon_table,
     {"углерод модели 1 по стадиям и породам", "the model 1 carbon by stage and group"}},
    {Figure::model2_carbon_table,
     {"углерод модели 2 по стадиям и породам", "the model 2 carbon by stage and group"}},
    {Figure::model2_volume_table,
     {"объём модели 2 по стадиям и породам", "the model 2 volume by stage and group"}},
    {Figure::model2_surface_table,
     {"поверхность модели 2 по стадиям и породам", "the model 2 surface by stage and group"}},
    {Figure::model2_carbon_spread,
     {"разброс углерода модели 2", "the spread of the model 2 carbon"}},
    {Figure::model2_pieces_spread,
     {"разброс числа фрагментов модели 2", "the spread of the model 2 pieces"}},
    {Figure::model2_volume_spread, {"разброс объёма модели 2", "the spread of the model 2 volume"}},
    {Figure::model2_surface_spread,
     {"разброс поверхности модели 2", "the spread of the model 2 surface"}},
    {Figure::expected_carbon_spread,
     {"разброс ожидаемого углерода", "the spread of the expected carbon"}},
    {Figure::expected_pieces_spread,
     {"разброс ожидаемого числа фрагментов", "the spread of the expected pieces"}},
};

const Words no_figure{"одно из чисел", "a figure"};

struct ParameterRow {
  Parameter key;
  Words words;
};

const ParameterRow parameters[] = {
    {Parameter::transect_length,
     {"Поле «Длина трансекты»", "--transect-length", "Field \"Transect length\""}},
    {Parameter::run_count, {"Поле «Количество прогонов»", "--runs", "Field \"Number of runs\""}},
    {Parameter::carbon_fraction,
     {"Поле «коэффициент пересчета массы древесины в массу углерода»", "--carbon-fraction",
      "Field \"Carbon fraction of wood mass\""}},
    {Parameter::density,
     {"Плотность древесины (стадия разложения {stage}, «{group}»)", "--density",
      "Wood density (decay stage {stage}, \"{group}\")"}},
    {Parameter::wind, {"Направление ветра", "--wind", "Wind direction"}},
    {Parameter::wind_force,
     {"Поле «Сила ветра (1-5)»", "--wind-force", "Field \"Wind force (1-5)\""}},
    {Parameter::attempt_limit, {"Предел попыток", "--max-attempts", "Attempt limit"}},
    {Parameter::input_decimal, {"Десятичный разделитель", "--input-decimal", "Decimal separator"}},
};

const Words no_parameter{"Параметр", "a parameter", "Parameter"};

// The window names a column by its heading, the batch by its letter.
const Words groups[] = {
    {"", "?", ""},
    {"Мягко листв", "S", "Soft-leaved"},
    {"Твердо листв", "H", "Hard-leaved"},
    {"Хвойные", "C", "Conifers"},
};

// Russian in the accusative, as the window says "Не удалось записать сводку"; the window writes
// only the report, the summary and the trace.
struct OutputRow {
  Output key;
  Words words;
};

const OutputRow outputs[] = {
    {Output::summary, {"сводку", "summary"}},
    {Output::trace, {"протокол попыток", "trace", "trace of attempts"}},
    {Output::table, {"файл отчёта", "table"}},
    {Output::chart, {"файл отчёта", "chart"}},
};

const Words report{"файл отчёта", "report"};

struct ReasonRow {
  int key;
  Words words;
};

const ReasonRow reasons[] = {
    {EACCES, {"нет прав доступа", "permission denied"}},
    {EPERM, {"нет прав доступа", "permission denied"}},
    {ENOENT, {"нет такого файла или папки", "no such file or folder"}},
    {EISDIR, {"на этом месте папка", "a folder stands there"}},
    {ENOTDIR, {"часть пути — не папка", "part of the path is not a folder"}},
    {ENOSPC, {"на диске нет места", "no space left on the disk"}},
    {EDQUOT, {"превышена дисковая квота", "the disk quota is exceeded"}},
    {EFBIG, {"файл слишком велик", "the file is too large"}},
    {EROFS, {"диск доступен только для чтения", "the disk is read-only"}},
    {EIO, {"ошибка ввода-вывода", "input/output error"}},
    {ENAMETOOLONG, {"слишком длинное имя", "the name is too long"}},
    {ELOOP, {"слишком много символических ссылок", "too many symbolic links"}},
    {EBUSY, {"файл занят", "the file is busy"}},
    {ETXTBSY, {"файл занят", "the file is busy"}},
    {EMFILE, {"открыто слишком много файлов", "too many open files"}},
    {ENFILE, {"открыто слишком много файлов", "too many open files"}},
    {EEXIST, {"файл уже существует", "the file already exists"}},
};

const Words other_reason{"системная ошибка {errno}", "system error {errno}"};

}  // namespace

const Words& field_name_words(InventoryField field) { return words_of(fields, field, no_field); }

const Words& expected_words(InventoryField field) {
  for (const FieldRow& row : fields)
    if (row.key == field) return row.expected;
  return other_value;
}

const Words& figure_words(Figure figure) { return words_of(figures, figure, no_figure); }

const Words& parameter_words(Parameter parameter) {
  return words_of(parameters, parameter, no_parameter);
}

const Words& group_words(int group) { return groups[group >= 1 && group <= 3 ? group : 0]; }

const Words& output_words(Output output) { return words_of(outputs, output, report); }

const Words& system_reason_words(int system_error) {
  return words_of(reasons, system_error, other_reason);
}

}  // namespace quorvel
