<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>RefusalText</name>
    <message>
        <source>Файл страт «%1»</source>
        <translation>Strata file “%1”</translation>
    </message>
    <message>
        <source>Список пород «%1»</source>
        <translation>Species list “%1”</translation>
    </message>
    <message>
        <source>Файл данных «%1»</source>
        <translation>Data file “%1”</translation>
    </message>
    <message>
        <source>строка %1</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>запись %1</source>
        <translation>record %1</translation>
    </message>
    <message>
        <source>код породы</source>
        <translation>species code</translation>
    </message>
    <message>
        <source>диаметр 1</source>
        <translation>diameter 1</translation>
    </message>
    <message>
        <source>диаметр 2</source>
        <translation>diameter 2</translation>
    </message>
    <message>
        <source>длина</source>
        <translation>length</translation>
    </message>
    <message>
        <source>стадия разложения</source>
        <translation>decay stage</translation>
    </message>
    <message>
        <source>участок</source>
        <translation>plot</translation>
    </message>
    <message>
        <source>страта</source>
        <translation>stratum</translation>
    </message>
    <message>
        <source>площадь (га)</source>
        <translation>area (ha)</translation>
    </message>
    <message>
        <source>поле</source>
        <translation>field</translation>
    </message>
    <message>
        <source>ожидается код породы «S», «H» или «C»</source>
        <translation>expected the species code “S”, “H” or “C”</translation>
    </message>
    <message>
        <source>ожидается диаметр в см, число не меньше 0 (десятичный разделитель — точка)</source>
        <translation>expected a diameter in cm, a number not below 0 (with a decimal point)</translation>
    </message>
    <message>
        <source>ожидается длина в м, число больше 0 (десятичный разделитель — точка)</source>
        <translation>expected a length in m, a number above 0 (with a decimal point)</translation>
    </message>
    <message>
        <source>ожидается стадия разложения, целое число от 0 до 5</source>
        <translation>expected a decay stage, a whole number from 0 to 5</translation>
    </message>
    <message>
        <source>ожидается название участка</source>
        <translation>expected the name of a plot</translation>
    </message>
    <message>
        <source>ожидается название страты</source>
        <translation>expected the name of a stratum</translation>
    </message>
    <message>
        <source>ожидается площадь в га, число больше 0</source>
        <translation>expected an area in ha, a number above 0</translation>
    </message>
    <message>
        <source>ожидается другое значение</source>
        <translation>expected another value</translation>
    </message>
    <message>
        <source>а поле пустое</source>
        <translation>but the field is empty</translation>
    </message>
    <message>
        <source>а найдено «%1»</source>
        <translation>found “%1”</translation>
    </message>
    <message>
        <source> Строка %1: %2 полей через «;» — файл с точкой с запятой? Добавьте строку заголовков: порода;d1;d2;длина;стадия.</source>
        <translation> Line %1 holds %2 fields separated by “;”: a semicolon-separated file? Give it a header row: species;d1;d2;length;stage.</translation>
    </message>
    <message>
        <source> Строка %1: %2 полей через табуляцию — файл с табуляцией? Добавьте строку заголовков: порода, d1, d2, длина, стадия через табуляцию.</source>
        <translation> Line %1 holds %2 fields separated by tabs: a tab-separated file? Give it a header row: species, d1, d2, length, stage separated by tabs.</translation>
    </message>
    <message>
        <source> Строка %1: %2 полей через пробел — поля разделены пробелами? Разделите их запятыми, «;» или табуляцией.</source>
        <translation> Line %1 holds %2 fields separated by blanks: are the fields separated by blanks? Separate them by commas, “;” or tabs.</translation>
    </message>
    <message>
        <source> Строка %1: %2 полей через запятую — десятичные запятые? Разделите поля знаком «;» или пишите числа с точкой.</source>
        <translation> Line %1 holds %2 fields separated by commas: decimal commas? Separate the fields by “;” or write the numbers with a decimal point.</translation>
    </message>
    <message>
        <source>Мягко листв</source>
        <translation>Soft-leaved</translation>
    </message>
    <message>
        <source>Твердо листв</source>
        <translation>Hard-leaved</translation>
    </message>
    <message>
        <source>Хвойные</source>
        <translation>Conifers</translation>
    </message>
    <message>
        <source>Поле «Длина трансекты»</source>
        <translation>Field “Transect length”</translation>
    </message>
    <message>
        <source>Поле «Количество прогонов»</source>
        <translation>Field “Number of runs”</translation>
    </message>
    <message>
        <source>Поле «коэффициент пересчета массы древесины в массу углерода»</source>
        <translation>Field “Carbon fraction of wood mass”</translation>
    </message>
    <message>
        <source>Плотность древесины (стадия разложения %1, «%2»)</source>
        <translation>Wood density (decay stage %1, “%2”)</translation>
    </message>
    <message>
        <source>Направление ветра</source>
        <translation>Wind direction</translation>
    </message>
    <message>
        <source>Поле «Сила ветра (1-5)»</source>
        <translation>Field “Wind force (1-5)”</translation>
    </message>
    <message>
        <source>Предел попыток</source>
        <translation>Attempt limit</translation>
    </message>
    <message>
        <source>Десятичный разделитель</source>
        <translation>Decimal separator</translation>
    </message>
    <message>
        <source>Параметр</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>поле пустое</source>
        <translation>the field is empty</translation>
    </message>
    <message>
        <source>«%1» — не число</source>
        <translation>“%1” is not a number</translation>
    </message>
    <message>
        <source>число «%1» слишком велико или слишком мало</source>
        <translation>the number “%1” is too large or too small</translation>
    </message>
    <message>
        <source>число «%1» вне пределов от -32768 до 32767</source>
        <translation>the number “%1” is outside -32768 to 32767</translation>
    </message>
    <message>
        <source>длина должна быть не меньше %1 м</source>
        <translation>the length must be at least %1 m</translation>
    </message>
    <message>
        <source>нужен хотя бы один прогон</source>
        <translation>at least one run is needed</translation>
    </message>
    <message>
        <source>значение должно быть не меньше %1</source>
        <translation>the value must be at least %1</translation>
    </message>
    <message>
        <source>значение не может быть отрицательным</source>
        <translation>the value cannot be negative</translation>
    </message>
    <message>
        <source>значение не подходит</source>
        <translation>the value cannot be used</translation>
    </message>
    <message>
        <source>число фрагментов модели 1</source>
        <translation>the model 1 number of pieces</translation>
    </message>
    <message>
        <source>углерод модели 1</source>
        <translation>the model 1 carbon</translation>
    </message>
    <message>
        <source>объём валежа модели 1</source>
        <translation>the model 1 debris volume</translation>
    </message>
    <message>
        <source>поверхность валежа модели 1</source>
        <translation>the model 1 debris surface</translation>
    </message>
    <message>
        <source>число фрагментов модели 2</source>
        <translation>the model 2 number of pieces</translation>
    </message>
    <message>
        <source>углерод модели 2</source>
        <translation>the model 2 carbon</translation>
    </message>
    <message>
        <source>объём валежа модели 2</source>
        <translation>the model 2 debris volume</translation>
    </message>
    <message>
        <source>поверхность валежа модели 2</source>
        <translation>the model 2 debris surface</translation>
    </message>
    <message>
        <source>ожидаемое число фрагментов</source>
        <translation>the expected number of pieces</translation>
    </message>
    <message>
        <source>ожидаемый углерод</source>
        <translation>the expected carbon</translation>
    </message>
    <message>
        <source>ожидаемый объём валежа</source>
        <translation>the expected debris volume</translation>
    </message>
    <message>
        <source>ожидаемая поверхность валежа</source>
        <translation>the expected debris surface</translation>
    </message>
    <message>
        <source>углерод модели 1 по стадиям и породам</source>
        <translation>the model 1 carbon by stage and group</translation>
    </message>
    <message>
        <source>углерод модели 2 по стадиям и породам</source>
        <translation>the model 2 carbon by stage and group</translation>
    </message>
    <message>
        <source>объём модели 2 по стадиям и породам</source>
        <translation>the model 2 volume by stage and group</translation>
    </message>
    <message>
        <source>поверхность модели 2 по стадиям и породам</source>
        <translation>the model 2 surface by stage and group</translation>
    </message>
    <message>
        <source>разброс углерода модели 2</source>
        <translation>the spread of the model 2 carbon</translation>
    </message>
    <message>
        <source>разброс числа фрагментов модели 2</source>
        <translation>the spread of the model 2 number of pieces</translation>
    </message>
    <message>
        <source>разброс объёма модели 2</source>
        <translation>the spread of the model 2 volume</translation>
    </message>
    <message>
        <source>разброс поверхности модели 2</source>
        <translation>the spread of the model 2 surface</translation>
    </message>
    <message>
        <source>разброс ожидаемого углерода</source>
        <translation>the spread of the expected carbon</translation>
    </message>
    <message>
        <source>разброс ожидаемого числа фрагментов</source>
        <translation>the spread of the expected number of pieces</translation>
    </message>
    <message>
        <source>одно из чисел</source>
        <translation>one of the figures</translation>
    </message>
    <message>
        <source>нет прав доступа</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>нет такого файла или папки</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>на этом месте папка</source>
        <translation>a folder stands there</translation>
    </message>
    <message>
        <source>часть пути — не папка</source>
        <translation>part of the path is not a folder</translation>
    </message>
    <message>
        <source>на диске нет места</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>превышена дисковая квота</source>
        <translation>the disk quota is exceeded</translation>
    </message>
    <message>
        <source>файл слишком велик</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>диск доступен только для чтения</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>слишком длинное имя</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>слишком много символических ссылок</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>файл занят</source>
        <translation>the file is busy</translation>
    </message>
    <message>
        <source>открыто слишком много файлов</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>файл уже существует</source>
        <translation>the file already exists</translation>
    </message>
    <message>
        <source>системная ошибка %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>Не удалось записать сводку «%1»: %2.</source>
        <translation>Could not write the summary “%1”: %2.</translation>
    </message>
    <message>
        <source>Не удалось записать протокол попыток «%1»: %2.</source>
        <translation>Could not write the trace of attempts “%1”: %2.</translation>
    </message>
    <message>
        <source>Не удалось записать файл отчёта «%1»: %2. Если отчёты не нужны, снимите флажок «Выводить результаты в файлы».</source>
        <translation>Could not write the report “%1”: %2. If the reports are not needed, untick “Write results to files”.</translation>
    </message>
    <message>
        <source>поле %1 (%2)</source>
        <translation>field %1 (%2)</translation>
    </message>
    <message>
        <source>столбец «%1» (%2)</source>
        <translation>column “%1” (%2)</translation>
    </message>
    <message>
        <source>Файл данных «%1» не найден.</source>
        <translation>Data file “%1” not found.</translation>
    </message>
    <message>
        <source>Файл данных «%1» не читается: %2.</source>
        <translation>Data file “%1” cannot be read: %2.</translation>
    </message>
    <message>
        <source>«%1» — папка, а не файл данных.</source>
        <translation>“%1” is a folder, not a data file.</translation>
    </message>
    <message>
        <source>«%1» — не обычный файл, а устройство или канал.</source>
        <translation>“%1” is not a regular file but a device or a pipe.</translation>
    </message>
    <message>
        <source>Файл данных «%1» больше %2 МБ: файлы такого размера программа не читает.</source>
        <translation>Data file “%1” is larger than %2 MB: the program does not read files that large.</translation>
    </message>
    <message>
        <source>%1: у поля нет закрывающей кавычки.</source>
        <translation>%1: a field has no closing quote.</translation>
    </message>
    <message>
        <source>%1: лишний текст «%2» после поля в кавычках.</source>
        <translation>%1: unexpected text “%2” after a quoted field.</translation>
    </message>
    <message>
        <source>%1: файл кончается внутри записи после поля %2 (%3); в записи пять полей.</source>
        <translation>%1: the file ends inside the record after field %2 (%3); a record has five fields.</translation>
    </message>
    <message>
        <source>%1: %2, %3.</source>
        <translation>%1: %2, %3.</translation>
    </message>
    <message>
        <source>%1: в заголовке нет столбца «%2».</source>
        <translation>%1: the header has no column “%2”.</translation>
    </message>
    <message>
        <source>%1: текст не читается в кодировке %2.</source>
        <translation>%1: the text cannot be read in the encoding %2.</translation>
    </message>
    <message>
        <source>%1: «%2» — не код породы; ожидается «S», «H» или «C».</source>
        <translation>%1: “%2” is no species code; expected “S”, “H” or “C”.</translation>
    </message>
    <message>
        <source>%1: порода «%2» уже названа выше с другим кодом.</source>
        <translation>%1: the species “%2” is already listed above with another code.</translation>
    </message>
    <message>
        <source>%1: в строке больше полей, чем столбцов.</source>
        <translation>%1: the line has more fields than there are columns.</translation>
    </message>
    <message>
        <source>%1: первая строка похожа на заголовок, но столбца «%2» программа не знает. Названия столбцов: порода, d1, d2, длина, стадия (а также участок, страта).</source>
        <translation>%1: the first line looks like a header, but the column “%2” is not known. Column names: species, d1, d2, length, stage (and plot, stratum).</translation>
    </message>
    <message>
        <source>%1: столбец «%2» назван в заголовке дважды.</source>
        <translation>%1: the column “%2” is named twice in the header.</translation>
    </message>
    <message>
        <source>%1: лишнее поле «%2»: в записи не больше %3 полей.</source>
        <translation>%1: surplus field “%2”: a record has at most %3 fields.</translation>
    </message>
    <message>
        <source>В файле «%1» нет ни одной записи.</source>
        <translation>The file “%1” holds no record.</translation>
    </message>
    <message>
        <source>%1: участок «%2» уже назван в строке %3.</source>
        <translation>%1: the plot “%2” is already listed on line %3.</translation>
    </message>
    <message>
        <source>%1: площадь страты «%2» не та, что в строке %3.</source>
        <translation>%1: the area of the stratum “%2” differs from the one on line %3.</translation>
    </message>
    <message>
        <source>%1: у страты «%2» не указана площадь, хотя у других страт она есть.</source>
        <translation>%1: the stratum “%2” has no area, though other strata have one.</translation>
    </message>
    <message>
        <source>Десятичная запятая невозможна в файле с полями через запятую.</source>
        <translation>A decimal comma is impossible in a file whose fields are separated by commas.</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>%1: фрагмент длиной %2 м никогда не пересечёт трансекту.</source>
        <translation>%1: a piece %2 m long can never cross the transect.</translation>
    </message>
    <message>
        <source>%1: фрагмент длиной %2 м не пересёк трансекту за %3 попыток в прогоне %4; он слишком короток для этого участка.</source>
        <translation>%1: the piece %2 m long did not cross the transect in %3 attempts in run %4; it is too short for this plot.</translation>
    </message>
    <message>
        <source>%1: числа слишком велики для расчёта (%2 вне диапазона чисел); проверьте диаметры, длины, плотности и коэффициент пересчета.</source>
        <translation>%1: the figures are too large to compute (%2 is beyond the range of numbers); check the diameters, lengths, densities and the carbon fraction.</translation>
    </message>
    <message>
        <source>Расчёт отменён.</source>
        <translation>The Start was cancelled.</translation>
    </message>
    <message>
        <source>на этом месте не обычный файл, а устройство или канал</source>
        <translation>a device or a pipe stands there, not a regular file</translation>
    </message>
    <message>
        <source>Путь «%1» слишком короток, чтобы назвать по нему файлы отчётов.</source>
        <translation>The path “%1” is too short to name the reports after it.</translation>
    </message>
    <message>
        <source>%1: расчёт невозможен.</source>
        <translation>%1: the Start is impossible.</translation>
    </message>
</context>
<context>
    <name>WarningText</name>
    <message>
        <source>диаметр %1 см больше %2 см (введён в мм?) — строка %3</source>
        <translation>diameter %1 cm above %2 cm (typed in mm?) on line %3</translation>
    </message>
    <message>
        <source>фрагмент длиной %1 м длиннее диагонали участка (%2 м) — строка %3</source>
        <translation>a piece %1 m long is longer than the plot’s diagonal (%2 m) on line %3</translation>
    </message>
    <message>
        <source>углерод модели 1 %1 тС/га больше %2 тС/га</source>
        <translation>model 1 carbon %1 tC/ha above %2 tC/ha</translation>
    </message>
    <message>
        <source>в файле нет ни одного фрагмента</source>
        <translation>the file holds no piece</translation>
    </message>
    <message>
        <source>, таких фрагментов %1</source>
        <translation>, %1 such pieces</translation>
    </message>
    <message>
        <source>Внимание: %1</source>
        <translation>Warning: %1</translation>
    </message>
</context>
<context>
    <name>quorvel::ConvergenceChart</name>
    <message>
        <source>График сходимости</source>
        <translation>Convergence chart</translation>
    </message>
    <message>
        <source>Ожидание</source>
        <translation>Expectation</translation>
    </message>
    <message>
        <source>Прогон</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Углерод, тС/га</source>
        <translation>Carbon, tC/ha</translation>
    </message>
    <message>
        <source>Углерод модели 2 по прогонам</source>
        <translation>Model 2 carbon run by run</translation>
    </message>
    <message>
        <source>Углерод модели 2 по прогонам: %1</source>
        <translation>Model 2 carbon run by run: %1</translation>
    </message>
    <message>
        <source>±2 ст. ош.</source>
        <translation>±2 std. err.</translation>
    </message>
    <message>
        <source>Модель2: среднее</source>
        <translation>Model 2: running mean</translation>
    </message>
</context>
<context>
    <name>quorvel::DataFileChooser</name>
    <message>
        <source>Рабочий диск:</source>
        <translation>Working drive:</translation>
    </message>
    <message>
        <source>Директорий:</source>
        <translation>Directory:</translation>
    </message>
    <message>
        <source>Файл данных:</source>
        <translation>Data file:</translation>
    </message>
    <message>
        <source>Диск «%1» недоступен: %2. Остаются прежние диск и папка.</source>
        <translation>Drive “%1” cannot be used: %2. The previous drive and folder stay.</translation>
    </message>
</context>
<context>
    <name>quorvel::DirectoryList</name>
    <message>
        <source>папка не существует</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>это не папка</source>
        <translation>it is not a folder</translation>
    </message>
    <message>
        <source>нет доступа на чтение</source>
        <translation>it may not be read</translation>
    </message>
    <message>
        <source>Папка «%1» не открывается: %2.</source>
        <translation>Folder “%1” cannot be opened: %2.</translation>
    </message>
</context>
<context>
    <name>quorvel::MainWindow</name>
    <message>
        <source>Старт</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Финиш</source>
        <translation>Finish</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Длина трансекты</source>
        <translation>Transect length</translation>
    </message>
    <message>
        <source>Количество прогонов</source>
        <translation>Number of runs</translation>
    </message>
    <message>
        <source>коэффициент пересчета массы древесины в массу углерода</source>
        <translation>Carbon fraction of wood mass</translation>
    </message>
    <message>
        <source>Стадия разложения </source>
        <translation>Decay stage</translation>
    </message>
    <message>
        <source>Мягко листв</source>
        <translation>Soft-leaved</translation>
    </message>
    <message>
        <source>Твердо листв</source>
        <translation>Hard-leaved</translation>
    </message>
    <message>
        <source>Хвойные</source>
        <translation>Conifers</translation>
    </message>
    <message>
        <source>Выводить результаты в файлы</source>
        <translation>Write results to files</translation>
    </message>
    <message>
        <source>Результаты</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Углерод (тС/га) модель1</source>
        <translation>Carbon (tC/ha) model 1</translation>
    </message>
    <message>
        <source>Углерод (тС/га) модель2</source>
        <translation>Carbon (tC/ha) model 2</translation>
    </message>
    <message>
        <source>Число фрагментов/га модель1</source>
        <translation>Pieces/ha model 1</translation>
    </message>
    <message>
        <source>Число фрагментов/га модель2</source>
        <translation>Pieces/ha model 2</translation>
    </message>
    <message>
        <source>Объем мягколист валежа м3/га</source>
        <translation>Soft-leaved debris volume m3/ha</translation>
    </message>
    <message>
        <source>Объем тверолист валежа м3/га</source>
        <translation>Hard-leaved debris volume m3/ha</translation>
    </message>
    <message>
        <source>Объем хвойного валежа м3/га</source>
        <translation>Conifer debris volume m3/ha</translation>
    </message>
    <message>
        <source>Повернхость мягко лист валежа м2/га</source>
        <translation>Soft-leaved debris surface m2/ha</translation>
    </message>
    <message>
        <source>Поверхность твердо лист валежа м2/га</source>
        <translation>Hard-leaved debris surface m2/ha</translation>
    </message>
    <message>
        <source>Поверхность хвойн валежа м2/га</source>
        <translation>Conifer debris surface m2/ha</translation>
    </message>
    <message>
        <source>Число пересечений</source>
        <translation>Number of crossings</translation>
    </message>
    <message>
        <source>График сходимости</source>
        <translation>Convergence chart</translation>
    </message>
    <message>
        <source>График сходимости модели 2 по прогонам (Ctrl+G)</source>
        <translation>Convergence of model 2 run by run (Ctrl+G)</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>В файле «%1» несколько участков. Какой рассчитать?</source>
        <translation>The file “%1” holds several plots. Which one to compute?</translation>
    </message>
    <message>
        <source>Рассчитать</source>
        <translation>Compute</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Расчёт не начат</source>
        <translation>The Start did not begin</translation>
    </message>
    <message>
        <source>Расчёт не начат.</source>
        <translation>The Start did not begin.</translation>
    </message>
    <message>
        <source>Файл данных не выбран: щёлкните файл в списке «Файл данных:».</source>
        <translation>No data file is chosen: click a file in the list “Data file:”.</translation>
    </message>
    <message>
        <source>Расчёт не начат: участок не выбран</source>
        <translation>The Start did not begin: no plot was chosen</translation>
    </message>
    <message>
        <source>%1, участок %2</source>
        <translation>%1, plot %2</translation>
    </message>
    <message>
        <source>Ветер менялся: ожидание не определено</source>
        <translation>The wind changed: no expectation holds</translation>
    </message>
    <message>
        <source>готово: прогонов %1, попыток %2 за %3 с (%4 в секунду)</source>
        <translation>done: %1 runs, %2 attempts in %3 s (%4 a second)</translation>
    </message>
    <message>
        <source>участок %1: %2</source>
        <translation>plot %1: %2</translation>
    </message>
    <message>
        <source>Результаты показаны, но отчёты не записаны.</source>
        <translation>The results are shown, but the reports were not written.</translation>
    </message>
    <message>
        <source>Расчёт отменён: прежние результаты сохранены</source>
        <translation>Start cancelled: the previous results are kept</translation>
    </message>
    <message>
        <source>Расчёт прерван</source>
        <translation>The Start was stopped</translation>
    </message>
    <message>
        <source>Расчёт прерван, прежние результаты сохранены.</source>
        <translation>The Start was stopped; the previous results are kept.</translation>
    </message>
</context>
<context>
    <name>quorvel::ResultsDisplay</name>
    <message>
        <source>Ожидаемое значение: %1</source>
        <translation>Expected value: %1</translation>
    </message>
    <message>
        <source>
Стандартная ошибка %1: %2</source>
        <translation>
Standard error %1: %2</translation>
    </message>
    <message>
        <source>среднего (прогонов: %1)</source>
        <translation>of the average (runs: %1)</translation>
    </message>
    <message>
        <source>по разбросу прогонов</source>
        <translation>from the spread of the runs</translation>
    </message>
    <message>
        <source>Модель2 равна ожидаемой</source>
        <translation>Model 2 equals its expectation</translation>
    </message>
    <message>
        <source>Модель2: разброс равен нулю</source>
        <translation>Model 2: the spread is zero</translation>
    </message>
    <message>
        <source>Модель2 от ожидания: %1 ст. ош.</source>
        <translation>Model 2 from its expectation: %1 std. err.</translation>
    </message>
</context>
<context>
    <name>quorvel::StartStatusLine</name>
    <message>
        <source>Выберите файл данных и нажмите «Старт»</source>
        <translation>Choose a data file and press “Start”</translation>
    </message>
    <message>
        <source>Прогон %1 из %2</source>
        <translation>Run %1 of %2</translation>
    </message>
    <message>
        <source>Прогон %1 из %2 по %3</source>
        <translation>Run %1 of %2 on %3</translation>
    </message>
    <message>
        <source>%1, попыток: %2   (Esc — отмена)</source>
        <translation>%1, attempts: %2   (Esc cancels)</translation>
    </message>
    <message>
        <source>Результаты: %1 — %2</source>
        <translation>Results: %1 — %2</translation>
    </message>
    <message>
        <source>Файл данных: %1</source>
        <translation>Data file: %1</translation>
    </message>
    <message>
        <source>Файл данных: %1 (результаты на экране — %2)</source>
        <translation>Data file: %1 (the results shown are of %2)</translation>
    </message>
</context>
<context>
    <name>quorvel::WindFrame</name>
    <message>
        <source>северо-запад</source>
        <translation>north-west</translation>
    </message>
    <message>
        <source>запад</source>
        <translation>west</translation>
    </message>
    <message>
        <source>юго-запад</source>
        <translation>south-west</translation>
    </message>
    <message>
        <source>юг</source>
        <translation>south</translation>
    </message>
    <message>
        <source>юго-восток</source>
        <translation>south-east</translation>
    </message>
    <message>
        <source>восток</source>
        <translation>east</translation>
    </message>
    <message>
        <source>северо-восток</source>
        <translation>north-east</translation>
    </message>
    <message>
        <source>север</source>
        <translation>north</translation>
    </message>
    <message>
        <source>Преобладающий ветер</source>
        <translation>Prevailing wind</translation>
    </message>
    <message>
        <source>Направление трансекты</source>
        <translation>Transect direction</translation>
    </message>
    <message>
        <source>Направление ветра</source>
        <translation>Wind direction</translation>
    </message>
    <message>
        <source>Сила ветра (1-5)</source>
        <translation>Wind force (1-5)</translation>
    </message>
</context>
</TS>
