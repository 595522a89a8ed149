#include "ui/refusal_text.h"

#include <QCoreApplication>
#include <QStringList>
#include <cerrno>

#include "engine/number_text.h"

namespace quorvel {

namespace {

class RefusalWords {
  Q_DECLARE_TR_FUNCTIONS(RefusalText)

 public:
  static QString text(const Refusal& r, char separator);

 private:
  static QString body(const Refusal& r, char separator);
  static QString place(const Refusal& r);
  static QString field_place(const Refusal& r);
  static QString place_and_field(const Refusal& r);
  static QString field_name(InventoryField field);
  static QString expected_in(InventoryField field);
  static QString found(const Refusal& r);
  static QString form_hint(const Refusal& r);
  static QString parameter_name(const Refusal& r);
  static QString parameter_problem(const Refusal& r);
  static QString figure_name(Figure figure);
  static QString system_reason(const Refusal& r);
  static QString unwritable(const Refusal& r, const QString& reason);
};

QString from_utf8(const std::string& text) { return QString::fromUtf8(text.data(), text.size()); }

// "Файл данных «plot.txt», строка 3, запись 2": those of the three the refusal names.
QString RefusalWords::place(const Refusal& r) {
  QStringList parts;
  if (!r.file.empty()) {
    // Which file: a strata file's own refusals (an area is in no other file), the species map's,
    // else the data file's.
    const QString file = from_utf8(r.file);
    const bool strata =
        r.kind == RefusalKind::plot_repeated || r.kind == RefusalKind::area_differs ||
        r.kind == RefusalKind::area_missing || r.kind == RefusalKind::column_repeated ||
        r.kind == RefusalKind::record_too_long || r.field == InventoryField::area_ha;
    if (strata)
      parts << tr("Файл страт «%1»").arg(file);
    else if (r.kind == RefusalKind::species_listed_twice)
      parts << tr("Список пород «%1»").arg(file);
    else
      parts << tr("Файл данных «%1»").arg(file);
  }
  if (r.line > 0) parts << tr("строка %1").arg(r.line);
  if (r.record > 0) parts << tr("запись %1").arg(r.record);
  return parts.join(QStringLiteral(", "));
}

QString RefusalWords::field_name(InventoryField field) {
  switch (field) {
    case InventoryField::species_code:
      return tr("код породы");
    case InventoryField::diameter1:
      return tr("диаметр 1");
    case InventoryField::diameter2:
      return tr("диаметр 2");
    case InventoryField::length:
      return tr("длина");
    case InventoryField::stage:
      return tr("стадия разложения");
    case InventoryField::plot:
      return tr("участок");
    case InventoryField::stratum:
      return tr("страта");
    case InventoryField::area_ha:
      return tr("площадь (га)");
    case InventoryField::none:
      break;
  }
  return tr("поле");
}

QString RefusalWords::expected_in(InventoryField field) {
  switch (field) {
    case InventoryField::species_code:
      return tr("ожидается код породы «S», «H» или «C»");
    case InventoryField::diameter1:
    case InventoryField::diameter2:
      return tr("ожидается диаметр в см, число не меньше 0 (десятичный разделитель — точка)");
    case InventoryField::length:
      return tr("ожидается длина в м, число больше 0 (десятичный разделитель — точка)");
    case InventoryField::stage:
      return tr("ожидается стадия разложения, целое число от 0 до 5");
    case InventoryField::plot:
      return tr("ожидается название участка");
    case InventoryField::stratum:
      return tr("ожидается название страты");
    case InventoryField::area_ha:
      return tr("ожидается площадь в га, число больше 0");
    case InventoryField::none:
      break;
  }
  return tr("ожидается другое значение");
}

// The text found, cut short: forty characters are enough to recognise it.
QString RefusalWords::found(const Refusal& r) {
  if (r.found.empty()) return tr("а поле пустое");
  QString text = from_utf8(r.found);
  if (text.size() > 40) {
    text.truncate(40);
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    text += QStringLiteral("…");
  }
  return tr("а найдено «%1»").arg(text);
}

// What the file would be in another form, and what to do about it: a file of another form is
// read once it has a header row; blanks and decimal commas among commas never are.
QString RefusalWords::form_hint(const Refusal& r) {
  const std::int64_t line = r.hint_line > 0 ? r.hint_line : r.line;
  QString hint;
  switch (r.hint) {
    case FormHint::semicolon_separated:
      hint =
          tr(" Строка %1: %2 полей через «;» — файл с точкой с запятой? Добавьте строку "
             "заголовков: порода;d1;d2;длина;стадия.");
      break;
    case FormHint::tab_separated:
      hint =
          tr(" Строка %1: %2 полей через табуляцию — файл с табуляцией? Добавьте строку "
             "заголовков: порода, d1, d2, длина, стадия через табуляцию.");
      break;
    case FormHint::space_separated:
      hint =
          tr(" Строка %1: %2 полей через пробел — поля разделены пробелами? Разделите их "
             "запятыми, «;» или табуляцией.");
      break;
    case FormHint::decimal_comma:
      hint =
          tr(" Строка %1: %2 полей через запятую — десятичные запятые? Разделите поля "
             "знаком «;» или пишите числа с точкой.");
      break;
    case FormHint::none:
      return {};
  }
  return hint.arg(line).arg(r.hint_fields);
}

// The field of the window that holds the parameter, by its caption.
QString RefusalWords::parameter_name(const Refusal& r) {
  // The column headings of the density grid.
  static const char* const groups[] = {"", QT_TRANSLATE_NOOP("RefusalText", "Мягко листв"),
                                       QT_TRANSLATE_NOOP("RefusalText", "Твердо листв"),
                                       QT_TRANSLATE_NOOP("RefusalText", "Хвойные")};
  switch (r.parameter) {
    case Parameter::transect_length:
      return tr("Поле «Длина трансекты»");
    case Parameter::run_count:
      return tr("Поле «Количество прогонов»");
    case Parameter::carbon_fraction:
      return tr("Поле «коэффициент пересчета массы древесины в массу углерода»");
    case Parameter::density:
      return tr("Плотность древесины (стадия разложения %1, «%2»)")
          .arg(r.stage)
          .arg(tr(groups[r.group >= 1 && r.group <= 3 ? r.group : 0]));
    case Parameter::wind:
      return tr("Направление ветра");
    case Parameter::wind_force:
      return tr("Поле «Сила ветра (1-5)»");
    case Parameter::attempt_limit:
      return tr("Предел попыток");
    case Parameter::input_decimal:
      return tr("Десятичный разделитель");
    case Parameter::none:
      break;
  }
  return tr("Параметр");
}

QString RefusalWords::parameter_problem(const Refusal& r) {
  const QString text = from_utf8(r.found);
  switch (r.problem) {
    case ValueProblem::empty:
      return tr("поле пустое");
    case ValueProblem::not_a_number:
      return tr("«%1» — не число").arg(text);
    case ValueProblem::out_of_range:
      return tr("число «%1» слишком велико или слишком мало").arg(text);
    case ValueProblem::outside_int16:
      return tr("число «%1» вне пределов от -32768 до 32767").arg(text);
    case ValueProblem::below_minimum:
      if (r.parameter == Parameter::transect_length)
        return tr("длина должна быть не меньше %1 м").arg(r.limit);
      if (r.parameter == Parameter::run_count) return tr("нужен хотя бы один прогон");
      return tr("значение должно быть не меньше %1").arg(r.limit);
    case ValueProblem::negative:
      return tr("значение не может быть отрицательным");
    case ValueProblem::none:
      break;
  }
  return tr("значение не подходит");
}

QString RefusalWords::figure_name(Figure figure) {
  switch (figure) {
    case Figure::model1_pieces:
      return tr("число фрагментов модели 1");
    case Figure::model1_carbon:
      return tr("углерод модели 1");
    case Figure::model1_volume:
      return tr("объём валежа модели 1");
    case Figure::model1_surface:
      return tr("поверхность валежа модели 1");
    case Figure::model2_pieces:
      return tr("число фрагментов модели 2");
    case Figure::model2_carbon:
      return tr("углерод модели 2");
    case Figure::model2_volume:
      return tr("объём валежа модели 2");
    case Figure::model2_surface:
      return tr("поверхность валежа модели 2");
    case Figure::expected_pieces:
      return tr("ожидаемое число фрагментов");
    case Figure::expected_carbon:
      return tr("ожидаемый углерод");
    case Figure::expected_volume:
      return tr("ожидаемый объём валежа");
    case Figure::expected_surface:
      return tr("ожидаемая поверхность валежа");
    case Figure::model1_carbon_table:
      return tr("углерод модели 1 по стадиям и породам");
    case Figure::model2_carbon_table:
      return tr("углерод модели 2 по стадиям и породам");
    case Figure::model2_volume_table:
      return tr("объём модели 2 по стадиям и породам");
    case Figure::model2_surface_table:
      return tr("поверхность модели 2 по стадиям и породам");
    case Figure::model2_carbon_spread:
      return tr("разброс углерода модели 2");
    case Figure::model2_pieces_spread:
      return tr("разброс числа фрагментов модели 2");
    case Figure::model2_volume_spread:
      return tr("разброс объёма модели 2");
    case Figure::model2_surface_spread:
      return tr("разброс поверхности модели 2");
    case Figure::expected_carbon_spread:
      return tr("разброс ожидаемого углерода");
    case Figure::expected_pieces_spread:
      return tr("разброс ожидаемого числа фрагментов");
    case Figure::none:
      break;
  }
  return tr("одно из чисел");
}

// The system's reason in the window's language; the number of a rare one stands for it.
QString RefusalWords::system_reason(const Refusal& r) {
  switch (r.system_error) {
    case EACCES:
    case EPERM:
      return tr("нет прав доступа");
    case ENOENT:
      return tr("нет такого файла или папки");
    case EISDIR:
      return tr("на этом месте папка");
    case ENOTDIR:
      return tr("часть пути — не папка");
    case ENOSPC:
      return tr("на диске нет места");
    case EDQUOT:
      return tr("превышена дисковая квота");
    case EFBIG:
      return tr("файл слишком велик");
    case EROFS:
      return tr("диск доступен только для чтения");
    case EIO:
      return tr("ошибка ввода-вывода");
    case ENAMETOOLONG:
      return tr("слишком длинное имя");
    case ELOOP:
      return tr("слишком много символических ссылок");
    case EBUSY:
    case ETXTBSY:
      return tr("файл занят");
    case EMFILE:
    case ENFILE:
      return tr("открыто слишком много файлов");
    case EEXIST:
      return tr("файл уже существует");
    default:
      break;
  }
  return tr("системная ошибка %1").arg(r.system_error);
}

QString RefusalWords::unwritable(const Refusal& r, const QString& reason) {
  const QString file = from_utf8(r.file);
  switch (r.output) {
    case Output::summary:
      return tr("Не удалось записать сводку «%1»: %2.").arg(file, reason);
    case Output::trace:
      return tr("Не удалось записать протокол попыток «%1»: %2.").arg(file, reason);
    case Output::report:
    case Output::table:  // the batch's own outputs: the window never writes them
    case Output::chart:
    case Output::none:
      break;
  }
  return tr("Не удалось записать файл отчёта «%1»: %2. Если отчёты не нужны, снимите флажок "
            "«Выводить результаты в файлы».")
      .arg(file, reason);
}

QString RefusalWords::text(const Refusal& r, char separator) {
  return body(r, separator) + form_hint(r);
}

// "поле 4 (длина)" in a file without a header, "столбец «Len» (длина)" in one with.
QString RefusalWords::field_place(const Refusal& r) {
  const QString where = r.column.empty() ? tr("поле %1 (%2)").arg(static_cast<int>(r.field))
                                         : tr("столбец «%1» (%2)").arg(from_utf8(r.column));
  return where.arg(field_name(r.field));
}

// The place and the field: "Файл данных «p.txt», строка 3, запись 3, поле 4 (длина)".
QString RefusalWords::place_and_field(const Refusal& r) {
  QStringList parts;
  if (!place(r).isEmpty()) parts << place(r);
  parts << field_place(r);
  return parts.join(QStringLiteral(", "));
}

QString RefusalWords::body(const Refusal& r, char separator) {
  const QString file = from_utf8(r.file);
  const QString found_text = from_utf8(r.found);
  const QString length = QString::fromStdString(general_number_text(r.length, separator));
  switch (r.kind) {
    case RefusalKind::file_missing:
      return tr("Файл данных «%1» не найден.").arg(file);
    case RefusalKind::file_unreadable:
      return tr("Файл данных «%1» не читается: %2.").arg(file, system_reason(r));
    case RefusalKind::file_is_folder:
      return tr("«%1» — папка, а не файл данных.").arg(file);
    case RefusalKind::file_not_regular:
      return tr("«%1» — не обычный файл, а устройство или канал.").arg(file);
    case RefusalKind::file_too_large:
      return tr("Файл данных «%1» больше %2 МБ: файлы такого размера программа не читает.")
          .arg(file)
          .arg(r.limit >> 20);
    case RefusalKind::unclosed_quote:
      return tr("%1: у поля нет закрывающей кавычки.").arg(place(r));
    case RefusalKind::text_after_quote:
      return tr("%1: лишний текст «%2» после поля в кавычках.").arg(place(r), from_utf8(r.found));
    case RefusalKind::record_incomplete:
      return tr("%1: файл кончается внутри записи после поля %2 (%3); в записи пять полей.")
          .arg(place(r))
          .arg(static_cast<int>(r.field))
          .arg(field_name(r.field));
    case RefusalKind::field_not_valid:
      return tr("%1: %2, %3.").arg(place_and_field(r), expected_in(r.field), found(r));
    case RefusalKind::column_missing:
      return tr("%1: в заголовке нет столбца «%2».")
          .arg(place(r), r.column.empty() ? field_name(r.field) : from_utf8(r.column));
    case RefusalKind::text_not_decodable:
      return tr("%1: текст не читается в кодировке %2.")
          .arg(place(r), QString::fromStdString(r.encoding));
    case RefusalKind::species_unknown:
      return tr("%1: «%2» — не код породы; ожидается «S», «H» или «C».")
          .arg(place_and_field(r), found_text);
    case RefusalKind::species_listed_twice:
      return tr("%1: порода «%2» уже названа выше с другим кодом.").arg(place(r), found_text);
    case RefusalKind::too_many_fields:
      return tr("%1: в строке больше полей, чем столбцов.").arg(place(r));
    case RefusalKind::header_not_recognised:
      return tr("%1: первая строка похожа на заголовок, но столбца «%2» программа не знает. "
                "Названия столбцов: порода, d1, d2, длина, стадия (а также участок, страта).")
          .arg(place(r), found_text);
    case RefusalKind::column_repeated:
      return tr("%1: столбец «%2» назван в заголовке дважды.")
          .arg(place(r), r.column.empty() ? field_name(r.field) : from_utf8(r.column));
    case RefusalKind::record_too_long:
      return tr("%1: лишнее поле «%2»: в записи не больше %3 полей.")
          .arg(place(r), found_text)
          .arg(r.limit);
    case RefusalKind::no_records:
      return tr("В файле «%1» нет ни одной записи.").arg(file);
    case RefusalKind::plot_repeated:
      return tr("%1: участок «%2» уже назван в строке %3.")
          .arg(place(r), found_text)
          .arg(r.other_line);
    case RefusalKind::area_differs:
      return tr("%1: площадь страты «%2» не та, что в строке %3.")
          .arg(place(r), found_text)
          .arg(r.other_line);
    case RefusalKind::area_missing:
      return tr("%1: у страты «%2» не указана площадь, хотя у других страт она есть.")
          .arg(place(r), found_text);
    case RefusalKind::parameter_not_valid:
      if (r.parameter == Parameter::input_decimal)
        return tr("Десятичная запятая невозможна в файле с полями через запятую.");
      return tr("%1: %2.").arg(parameter_name(r), parameter_problem(r));
    case RefusalKind::piece_cannot_cross:
      return tr("%1: фрагмент длиной %2 м никогда не пересечёт трансекту.").arg(place(r), length);
    case RefusalKind::piece_never_crossed:
      return tr("%1: фрагмент длиной %2 м не пересёк трансекту за %3 попыток в прогоне %4; он "
                "слишком короток для этого участка.")
          .arg(place(r), length)
          .arg(r.limit)
          .arg(r.run);
    case RefusalKind::figure_beyond_range:
      return tr("%1: числа слишком велики для расчёта (%2 вне диапазона чисел); проверьте "
                "диаметры, длины, плотности и коэффициент пересчета.")
          .arg(place(r), figure_name(r.figure));
    case RefusalKind::cancelled:
      return tr("Расчёт отменён.");
    case RefusalKind::output_unwritable:
      return unwritable(r, system_reason(r));
    case RefusalKind::output_not_a_file:
      return unwritable(r, tr("на этом месте не обычный файл, а устройство или канал"));
    case RefusalKind::reports_unnamed:
      return tr("Путь «%1» слишком короток, чтобы назвать по нему файлы отчётов.").arg(file);
  }
  return tr("%1: расчёт невозможен.").arg(place(r));
}

}  // namespace

QString refusal_text(const Refusal& refusal, char decimal_separator) {
  return RefusalWords::text(refusal, decimal_separator);
}

}  // namespace quorvel
