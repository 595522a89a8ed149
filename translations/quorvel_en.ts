<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>WindowLanguage</name>
    <message>
        <source>ru</source>
        <extracomment>The code of the language the window is translated into.</extracomment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>quorvel::CoefficientsChoice</name>
    <message>
        <source>Коэффициенты…</source>
        <translation>Coefficients…</translation>
    </message>
    <message>
        <source>Таблица плотности, коэффициента редукции и доли углерода по породам и стадиям разложения вместо сетки плотностей</source>
        <translation>A table of density, reduction factor and carbon fraction by species and decay stage in place of the density grid</translation>
    </message>
    <message>
        <source>Без таблицы</source>
        <translation>No table</translation>
    </message>
    <message>
        <source>Таблица коэффициентов</source>
        <translation>Coefficients table</translation>
    </message>
    <message>
        <source>Таблицы (*.csv *.txt *.tsv);;Все файлы (*)</source>
        <translation>Tables (*.csv *.txt *.tsv);;All files (*)</translation>
    </message>
    <message>
        <source>Углерод по таблице «%1»</source>
        <translation>Carbon from the table &quot;%1&quot;</translation>
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
    <message>
        <source>График появится после первого расчёта: выберите файл данных и нажмите «Старт».</source>
        <translation>The chart appears after the first Start: choose a data file and press “Start”.</translation>
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
    <message>
        <source>Расчёт выполнен, но проверьте данные «%1»:</source>
        <translation>The Start is done, but check the data of “%1”:</translation>
    </message>
    <message>
        <source>сила ветра без направления не действует: выберите направление; </source>
        <translation>a wind force without a direction has no effect: choose a direction; </translation>
    </message>
    <message>
        <source>файлы отчётов — от прежнего расчёта; </source>
        <translation>the report files are from an earlier Start; </translation>
    </message>
    <message>
        <source>проверьте данные (см. сообщение); </source>
        <translation>check the data (see the message); </translation>
    </message>
    <message>
        <source>Не предложены, их не рассчитать:</source>
        <translation>Not offered, as they cannot be computed:</translation>
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
    <message>
        <source>%1; на экране — результаты %2</source>
        <translation>%1; the results shown are those of %2</translation>
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
