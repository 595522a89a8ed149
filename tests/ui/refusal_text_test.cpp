// The window's words for every kind of refusal: Russian from start to end, from the data alone.

#include "refusal_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <utility>

namespace quorvel {
namespace {

TEST(WindowRefusalText, WordsEveryRefusalInRussianFromItsData) {
  using enum RefusalKind;
  using enum InventoryField;
  using P = ValueProblem;
  const std::string report_box =
      " Если отчёты не нужны, снимите флажок «Выводить результаты в файлы».";
  // clang-format off
  const std::pair<Refusal, std::string> cases[] = {
      {{.kind = field_not_valid, .file = "plot.txt", .line = 3, .record = 3, .field = length,
        .found = "0"},
       "Файл данных «plot.txt», строка 3, запись 3, поле 4 (длина): ожидается длина в м, число "
       "больше 0 (десятичный разделитель — точка), а найдено «0»."},
      {{.kind = field_not_valid, .file = "p.txt", .line = 1, .record = 1, .field = species_code},
       "Файл данных «p.txt», строка 1, запись 1, поле 1 (код породы): ожидается код породы «S», "
       "«H» или «C», а поле пустое."},
      {{.kind = field_not_valid, .file = "p.txt", .line = 1, .record = 1, .field = stage,
        .found = "стадия пятая, а может быть и шестая или седьмая"},
       "Файл данных «p.txt», строка 1, запись 1, поле 5 (стадия разложения): ожидается стадия "
       "разложения, целое число от 0 до 5, а найдено «стадия пятая, а может быть и шестая или…»."},
      {{.kind = field_not_valid, .file = "t.csv", .line = 4, .record = 3, .field = length,
        .column = "Len", .found = "2,5", .hint = FormHint::semicolon_separated, .hint_fields = 5},
       "Файл данных «t.csv», строка 4, запись 3, столбец «Len» (длина): ожидается длина в м, "
       "число больше 0 (десятичный разделитель — точка), а найдено «2,5». Строка 4: 5 полей "
       "через «;» — файл с точкой с запятой? Добавьте строку заголовков: "
       "порода;d1;d2;длина;стадия."},
      {{.kind = record_incomplete, .file = "s.txt", .line = 1, .record = 1, .field = species_code,
        .hint = FormHint::space_separated, .hint_fields = 5, .hint_line = 1},
       "Файл данных «s.txt», строка 1, запись 1: файл кончается внутри записи после поля 1 (код "
       "породы); в записи пять полей. Строка 1: 5 полей через пробел — поля разделены пробелами? "
       "Разделите их запятыми, «;» или табуляцией."},
      {{.kind = too_many_fields, .file = "t.csv", .line = 3, .record = 2,
        .hint = FormHint::decimal_comma, .hint_fields = 7, .hint_line = 3},
       "Файл данных «t.csv», строка 3, запись 2: в строке больше полей, чем столбцов. Строка 3: 7 "
       "полей через запятую — десятичные запятые? Разделите поля знаком «;» или пишите числа с "
       "точкой."},
      {{.kind = species_unknown, .file = "t.csv", .line = 2, .record = 1, .field = species_code,
        .column = "Порода", .found = "ясень"},
       "Файл данных «t.csv», строка 2, запись 1, столбец «Порода» (код породы): «ясень» — не код "
       "породы; ожидается «S», «H» или «C»."},
      {{.kind = text_not_decodable, .file = "u.txt", .line = 7, .encoding = "UTF-16LE"},
       "Файл данных «u.txt», строка 7: текст не читается в кодировке UTF-16LE."},
      {{.kind = header_not_recognised, .file = "h.csv", .line = 1, .found = "толщина"},
       "Файл данных «h.csv», строка 1: первая строка похожа на заголовок, но столбца «толщина» "
       "программа не знает. Названия столбцов: порода, d1, d2, длина, стадия (а также участок, "
       "страта)."},
      {{.kind = column_repeated, .file = "st.csv", .line = 1, .field = stratum, .column = "str"},
       "Файл страт «st.csv», строка 1: столбец «str» назван в заголовке дважды."},
      {{.kind = column_missing, .file = "h.csv", .line = 1, .field = plot, .column = "делянка"},
       "Файл данных «h.csv», строка 1: в заголовке нет столбца «делянка»."},
      {{.kind = no_records, .file = "e.csv"}, "В файле «e.csv» нет ни одной записи."},
      {{.kind = species_listed_twice, .file = "map.csv", .line = 4, .found = "дуб"},
       "Список пород «map.csv», строка 4: порода «дуб» уже названа выше с другим кодом."},
      {{.kind = record_too_long, .file = "st.csv", .line = 3, .record = 2, .found = "x",
        .limit = 3},
       "Файл страт «st.csv», строка 3, запись 2: лишнее поле «x»: в записи не больше 3 полей."},
      {{.kind = plot_repeated, .file = "st.csv", .line = 5, .found = "P1", .other_line = 2},
       "Файл страт «st.csv», строка 5: участок «P1» уже назван в строке 2."},
      {{.kind = area_differs, .file = "st.csv", .line = 4, .found = "ельник", .other_line = 2},
       "Файл страт «st.csv», строка 4: площадь страты «ельник» не та, что в строке 2."},
      {{.kind = area_missing, .file = "st.csv", .line = 3, .found = "сосняк"},
       "Файл страт «st.csv», строка 3: у страты «сосняк» не указана площадь, хотя у других страт "
       "она есть."},
      {{.kind = field_not_valid, .file = "st.csv", .line = 2, .record = 1, .field = area_ha,
        .column = "area_ha", .found = "-3"},
       "Файл страт «st.csv», строка 2, запись 1, столбец «area_ha» (площадь (га)): ожидается "
       "площадь в га, число больше 0, а найдено «-3»."},
      {{.kind = parameter_not_valid, .parameter = Parameter::input_decimal, .found = ","},
       "Десятичная запятая невозможна в файле с полями через запятую."},
      {{.kind = column_missing, .file = "t.csv", .line = 1, .field = stage},
       "Файл данных «t.csv», строка 1: в заголовке нет столбца «стадия разложения»."},
      {{.kind = unclosed_quote, .file = "q.txt", .line = 1},
       "Файл данных «q.txt», строка 1: у поля нет закрывающей кавычки."},
      {{.kind = text_after_quote, .file = "q.txt", .line = 1, .found = "x,1"},
       "Файл данных «q.txt», строка 1: лишний текст «x,1» после поля в кавычках."},
      {{.kind = record_incomplete, .file = "i.txt", .line = 1, .record = 1, .field = diameter2},
       "Файл данных «i.txt», строка 1, запись 1: файл кончается внутри записи после поля 3 "
       "(диаметр 2); в записи пять полей."},
      {{.kind = file_missing, .file = "m.txt"}, "Файл данных «m.txt» не найден."},
      {{.kind = file_unreadable, .file = "u.txt", .system_error = EACCES},
       "Файл данных «u.txt» не читается: нет прав доступа."},
      {{.kind = file_is_folder, .file = "/tmp"}, "«/tmp» — папка, а не файл данных."},
      {{.kind = parameter_not_valid, .parameter = Parameter::transect_length, .found = "сто",
        .problem = P::not_a_number},
       "Поле «Длина трансекты»: «сто» — не число."},
      {{.kind = parameter_not_valid, .parameter = Parameter::run_count, .found = "40000",
        .problem = P::outside_int16},
       "Поле «Количество прогонов»: число «40000» вне пределов от -32768 до 32767."},
      {{.kind = parameter_not_valid, .parameter = Parameter::transect_length, .found = "0",
        .limit = 1, .problem = P::below_minimum},
       "Поле «Длина трансекты»: длина должна быть не меньше 1 м."},
      {{.kind = parameter_not_valid, .parameter = Parameter::run_count, .found = "0,4", .limit = 1,
        .problem = P::below_minimum},
       "Поле «Количество прогонов»: нужен хотя бы один прогон."},
      {{.kind = parameter_not_valid, .parameter = Parameter::density, .stage = 2, .group = 3,
        .found = "-1", .problem = P::negative},
       "Плотность древесины (стадия разложения 2, «Хвойные»): значение не может быть "
       "отрицательным."},
      {{.kind = parameter_not_valid, .parameter = Parameter::wind_force, .found = " ",
        .problem = P::empty},
       "Поле «Сила ветра (1-5)»: поле пустое."},
      {{.kind = parameter_not_valid, .parameter = Parameter::carbon_fraction, .found = "1e39",
        .problem = P::out_of_range},
       "Поле «коэффициент пересчета массы древесины в массу углерода»: число «1e39» слишком "
       "велико или слишком мало."},
      {{.kind = piece_cannot_cross, .file = "p.txt", .line = 2, .record = 2, .length = 1e-300},
       "Файл данных «p.txt», строка 2, запись 2: фрагмент длиной 1E-300 м никогда не пересечёт "
       "трансекту."},
      {{.kind = piece_never_crossed, .file = "p.txt", .line = 1, .record = 1, .length = 0.05,
        .limit = 10000000, .run = 3},
       "Файл данных «p.txt», строка 1, запись 1: фрагмент длиной 0,05 м не пересёк трансекту за "
       "10000000 попыток в прогоне 3; он слишком короток для этого участка."},
      {{.kind = figure_beyond_range, .file = "h.txt", .figure = Figure::model2_surface},
       "Файл данных «h.txt»: числа слишком велики для расчёта (поверхность валежа модели 2 вне "
       "диапазона чисел); проверьте диаметры, длины, плотности и коэффициент пересчета."},
      {{.kind = output_unwritable, .file = "/r/pm_results.txt", .output = Output::report,
        .system_error = EACCES},
       "Не удалось записать файл отчёта «/r/pm_results.txt»: нет прав доступа." + report_box},
      {{.kind = output_unwritable, .file = "/r/ps_results.txt", .output = Output::report,
        .system_error = EXDEV},
       "Не удалось записать файл отчёта «/r/ps_results.txt»: системная ошибка 18." + report_box},
      {{.kind = output_not_a_file, .file = "/r/pm_results.txt", .output = Output::report},
       "Не удалось записать файл отчёта «/r/pm_results.txt»: на этом месте не обычный файл, а "
       "устройство или канал." + report_box},
      {{.kind = reports_unnamed, .file = "txt"},
       "Путь «txt» слишком короток, чтобы назвать по нему файлы отчётов."},
  };
  // clang-format on
  for (const auto& [refusal, text] : cases)
    EXPECT_EQ(refusal_text(refusal, ',').toStdString(), text);
}

}  // namespace
}  // namespace quorvel
