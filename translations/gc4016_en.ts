<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ru_RU">
<context>
    <name>gc4016</name>
    <message>
        <source>Внутренняя ошибка программы</source>
        <translation>Internal program error</translation>
    </message>
    <message>
        <source>Язык интерфейса: en или ru; без него — выбранный в окне справки, иначе ru.</source>
        <translation>Interface language: en or ru; without it, the one chosen in the about box, else ru.</translation>
    </message>
    <message>
        <source>Работать в папке ~/gc4016 (создаётся при первом запуске) вместо текущей.</source>
        <translation>Work in the folder ~/gc4016 (made on the first start) instead of the current one.</translation>
    </message>
    <message>
        <source>Конфигуратор GC4016 v2.0</source>
        <translation>GC4016 Configurator v2.0</translation>
    </message>
</context>
<context>
    <name>gc::ui::Application</name>
    <message>
        <source>В папке %1 нет конфигурации CONFIGS/std.trv.

Сделать её рабочей папкой программы: записать конфигурацию по умолчанию (CONFIGS/std.trv, CONFIGS/sinc.cfg) и встроенные наборы коэффициентов (FILTERS/*.taps)?</source>
        <translation>The folder %1 has no configuration CONFIGS/std.trv.

Make it the program&apos;s working folder: write the default configuration (CONFIGS/std.trv, CONFIGS/sinc.cfg) and the built-in coefficient sets (FILTERS/*.taps)?</translation>
    </message>
    <message>
        <source>Сравнить с...</source>
        <translation>Compare with...</translation>
    </message>
    <message>
        <source>Убрать сравнение</source>
        <translation>Remove the comparison</translation>
    </message>
</context>
<context>
    <name>gc::ui::PlotMenu</name>
    <message>
        <source>Сохранить изображение...</source>
        <translation>Save image...</translation>
    </message>
    <message>
        <source>Сохранить данные...</source>
        <translation>Save data...</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Сохранить изображение</source>
        <translation>Save image</translation>
    </message>
    <message>
        <source>Изображение PNG (*.png);;Изображение SVG (*.svg)</source>
        <translation>PNG image (*.png);;SVG image (*.svg)</translation>
    </message>
    <message>
        <source>Файл %1 не может быть записан!</source>
        <translation>The file %1 cannot be written!</translation>
    </message>
    <message>
        <source>Сохранить данные</source>
        <translation>Save data</translation>
    </message>
    <message>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
</context>
<context>
    <name>gc::ui::StageForm</name>
    <message>
        <source>Курсор</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>Растяж. по X</source>
        <translation>X stretch</translation>
    </message>
</context>
<context>
    <name>gc::ui::TDesignForm</name>
    <message>
        <source>Синтез фильтров</source>
        <translation>Filter design</translation>
    </message>
    <message>
        <source>дБ</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>Частота, кГц</source>
        <translation>Frequency, kHz</translation>
    </message>
    <message>
        <source>&lt;span style=&quot;color:#808080&quot;&gt;━━&lt;/span&gt; сейчас&amp;nbsp;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#0000ff&quot;&gt;━━&lt;/span&gt; расчёт&amp;nbsp;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#ff0000&quot;&gt;━━&lt;/span&gt; требование</source>
        <translation>&lt;span style=&quot;color:#808080&quot;&gt;━━&lt;/span&gt; now&amp;nbsp;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#0000ff&quot;&gt;━━&lt;/span&gt; designed&amp;nbsp;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#ff0000&quot;&gt;━━&lt;/span&gt; requirement</translation>
    </message>
    <message>
        <source>Требование</source>
        <translation>Requirement</translation>
    </message>
    <message>
        <source>Сейчас</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>Расчёт</source>
        <translation>Designed</translation>
    </message>
    <message>
        <source>Неравномерность в полосе, дБ</source>
        <translation>Pass-band ripple, dB</translation>
    </message>
    <message>
        <source>Полоса по уровню -3 дБ, Гц</source>
        <translation>Bandwidth at -3 dB, Hz</translation>
    </message>
    <message>
        <source>Подавление в полосе заграждения, дБ</source>
        <translation>Stop-band attenuation, dB</translation>
    </message>
    <message>
        <source>Имя файлов:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>Файлы FILTERS/ИМЯ_cfir.taps, FILTERS/ИМЯ_pfir.taps и FILTERS/ИМЯ_res.taps</source>
        <translation>Files FILTERS/NAME_cfir.taps, FILTERS/NAME_pfir.taps and FILTERS/NAME_res.taps</translation>
    </message>
    <message>
        <source>Рассчитать и прототип ресемплера</source>
        <translation>Design a resampler prototype too</translation>
    </message>
    <message>
        <source>Наибольшее подавление при заданной неравномерности</source>
        <translation>Most attenuation at the required ripple</translation>
    </message>
    <message>
        <source>Рассчитать наибольшее подавление в полосе заграждения, достижимое при заданной неравномерности, не сверяясь с требуемым подавлением</source>
        <translation>Design for the most stop-band attenuation reachable at the required ripple, whatever attenuation is required</translation>
    </message>
    <message>
        <source>Рассчитать</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Файлы уже существуют:
%1

Заменить их?</source>
        <translation>The files exist already:
%1

Replace them?</translation>
    </message>
    <message>
        <source>Подавление наложений, дБ</source>
        <translation>Alias rejection, dB</translation>
    </message>
</context>
<context>
    <name>gc::ui::TErrDecim</name>
    <message>
        <source>Минимальный коэффициент децимации CIC-фильтра</source>
        <translation>The minimum CIC filter decimation</translation>
    </message>
    <message>
        <source>в этом режиме   равен</source>
        <translation>in this mode   is</translation>
    </message>
    <message>
        <source>Файл не может быть записан!</source>
        <translation>The file cannot be written!</translation>
    </message>
</context>
<context>
    <name>gc::ui::TErrEqualDecim</name>
    <message>
        <source>В синхронном режиме вывода</source>
        <translation>In synchronous output mode</translation>
    </message>
    <message>
        <source>коэффициенты  децимации каналов</source>
        <translation>the decimations  of the channels</translation>
    </message>
    <message>
        <source> должны быть одинаковыми!</source>
        <translation> must be equal!</translation>
    </message>
    <message>
        <source>Файл не может быть записан!</source>
        <translation>The file cannot be written!</translation>
    </message>
</context>
<context>
    <name>gc::ui::TErrFileCoeff</name>
    <message>
        <source>Файл коэфициентов CFIR</source>
        <translation>CFIR coefficient file</translation>
    </message>
    <message>
        <source>отсутствует!</source>
        <translation>is missing!</translation>
    </message>
    <message>
        <source>Файл </source>
        <translation>File </translation>
    </message>
    <message>
        <source>Не удалось прочитать файлы:</source>
        <translation>These files could not be read:</translation>
    </message>
</context>
<context>
    <name>gc::ui::TErrResamp</name>
    <message>
        <source>Установки  Resampler-фильтра</source>
        <translation>The Resampler filter&apos;s  settings</translation>
    </message>
    <message>
        <source>не корректны !</source>
        <translation>are not valid !</translation>
    </message>
    <message>
        <source>Файл не может быть записан!</source>
        <translation>The file cannot be written!</translation>
    </message>
</context>
<context>
    <name>gc::ui::TGForm</name>
    <message>
        <source>Файл конфигурации</source>
        <translation>Configuration file</translation>
    </message>
    <message>
        <source>Считать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Записать</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Тактовая частота</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>Шаблон</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>Комбин. прошивка</source>
        <translation>Combined firmware</translation>
    </message>
    <message>
        <source>Режим</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Режим вывода</source>
        <translation>Output timing</translation>
    </message>
    <message>
        <source>Включенные каналы</source>
        <translation>Enabled channels</translation>
    </message>
    <message>
        <source>Входной блок</source>
        <translation>Input block</translation>
    </message>
    <message>
        <source>Синхронизация</source>
        <translation>Synchronisation</translation>
    </message>
    <message>
        <source>Выходной блок</source>
        <translation>Output block</translation>
    </message>
    <message>
        <source>Ресемплер</source>
        <translation>Resampler</translation>
    </message>
    <message>
        <source>Фильтры</source>
        <translation>Filters</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Применить для всех каналов</source>
        <translation>Apply to all channels</translation>
    </message>
    <message>
        <source>АЦП</source>
        <translation>ADC</translation>
    </message>
    <message>
        <source>Частота</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Гц</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Фаза</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>рад</source>
        <translation>rad</translation>
    </message>
    <message>
        <source>CIC Фильтр</source>
        <translation>CIC Filter</translation>
    </message>
    <message>
        <source>Децимация</source>
        <translation>Decimation</translation>
    </message>
    <message>
        <source>Сдвиг АЦП</source>
        <translation>ADC shift</translation>
    </message>
    <message>
        <source>Сдвиг влево 1</source>
        <translation>Left shift 1</translation>
    </message>
    <message>
        <source>Сдвиг влево 6</source>
        <translation>Left shift 6</translation>
    </message>
    <message>
        <source>Общее усил.</source>
        <translation>Total gain</translation>
    </message>
    <message>
        <source>20 бит</source>
        <translation>20 bits</translation>
    </message>
    <message>
        <source>Усиление</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Сдвиг влево</source>
        <translation>Left shift</translation>
    </message>
    <message>
        <source>Точно</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>Длина фильтра</source>
        <translation>Filter length</translation>
    </message>
    <message>
        <source>Число умножений</source>
        <translation>Multiplies</translation>
    </message>
    <message>
        <source>Интерполяция</source>
        <translation>Interpolation</translation>
    </message>
    <message>
        <source>Выходные параметры</source>
        <translation>Output parameters</translation>
    </message>
    <message>
        <source>Выходная частота  </source>
        <translation>Output rate  </translation>
    </message>
    <message>
        <source>Усиление  </source>
        <translation>Gain  </translation>
    </message>
    <message>
        <source>Требования...</source>
        <translation>Requirement...</translation>
    </message>
    <message>
        <source>Моделирование...</source>
        <translation>Simulation...</translation>
    </message>
    <message>
        <source>Сигнал через модель канала с фиксированной точкой: спектр выхода, уровень, SNR, SFDR</source>
        <translation>A signal through the channel&apos;s fixed-point model: output spectrum, level, SNR, SFDR</translation>
    </message>
    <message>
        <source>Требования к каналу: полоса, неравномерность, подавление, наложения</source>
        <translation>Channel requirement: band, ripple, attenuation, aliases</translation>
    </message>
    <message>
        <source>АЧХ канала</source>
        <translation>Channel response</translation>
    </message>
    <message>
        <source>Курсор</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>Растяжение по X</source>
        <translation>X stretch</translation>
    </message>
    <message>
        <source>Растяжение по Y</source>
        <translation>Y stretch</translation>
    </message>
    <message>
        <source>Коэффициент децимации CIC-фильтра, 2..4096 (Enter)</source>
        <translation>CIC filter decimation, 2..4096 (Enter)</translation>
    </message>
    <message>
        <source>Точное усиление PFIR, 0..16383 (Enter)</source>
        <translation>PFIR fine gain, 0..16383 (Enter)</translation>
    </message>
    <message>
        <source>Коэффициент интерполяции ресемплера, 0,03125..64 (Enter)</source>
        <translation>Resampler interpolation, 0.03125..64 (Enter)</translation>
    </message>
    <message>
        <source>Частота NCO канала, Гц, 0..тактовая частота (Enter)</source>
        <translation>NCO frequency of the channel, Hz, 0..clock (Enter)</translation>
    </message>
    <message>
        <source>Фаза NCO канала, рад, 0..2π (Enter)</source>
        <translation>NCO phase of the channel, rad, 0..2π (Enter)</translation>
    </message>
    <message>
        <source>Слово коэффициента ресемплера, шестнадцатеричное (0x...); Enter пересчитывает интерполяцию, без Enter значение восстанавливается</source>
        <translation>Resampler ratio word, hexadecimal (0x...); Enter recomputes the interpolation, without Enter the value is restored</translation>
    </message>
    <message>
        <source>Файл конфигурации, последний считанный или записанный</source>
        <translation>Configuration file, the last one read or written</translation>
    </message>
    <message>
        <source>Файл конфигурации микросхемы (папка CONFIGS)</source>
        <translation>Chip configuration file (folder CONFIGS)</translation>
    </message>
    <message>
        <source>Файл коэффициентов CFIR канала (папка FILTERS)</source>
        <translation>CFIR coefficient file of the channel (folder FILTERS)</translation>
    </message>
    <message>
        <source>Файл коэффициентов PFIR канала (папка FILTERS)</source>
        <translation>PFIR coefficient file of the channel (folder FILTERS)</translation>
    </message>
    <message>
        <source>Файл коэффициентов ресемплера (папка FILTERS)</source>
        <translation>Resampler coefficient file (folder FILTERS)</translation>
    </message>
    <message>
        <source>АЧХ канала: правая кнопка ставит курсор, колесо растягивает по X, стрелки двигают курсор; меню — правая кнопка на рамке</source>
        <translation>Channel response: the right button sets the cursor, the wheel stretches X, the arrow keys move the cursor; menu: right button on the frame</translation>
    </message>
    <message>
        <source>Подавление в полосе заграждения: %1 дБ</source>
        <translation>Stop-band attenuation: %1 dB</translation>
    </message>
    <message>
        <source>Уровни...</source>
        <translation>Levels...</translation>
    </message>
    <message>
        <source>Уровни по каскадам канала для заданного входа: запас, ограничение, шум, усиление</source>
        <translation>The channel's levels stage by stage for a given input: headroom, clipping, noise, gain</translation>
    </message>
    <message>
        <source>Тактовая частота: частота отсчётов на входе микросхемы (АЦП), Гц; целое число от 1 до 2147483647 (Enter)</source>
        <translation>Clock: the sample rate at the chip's input (ADC), Hz; a whole number from 1 to 2147483647 (Enter)</translation>
    </message>
    <message>
        <source>Выходная частота канала, Гц = 2^режим × интерполяция × тактовая частота / (4 × D): CIC-фильтр делит частоту на D, CFIR и PFIR — каждый на 2 (отсюда 4); вывод 2 каналов или 1 канала даёт в 2 или 4 раза больше отсчётов; ресемплер умножает на интерполяцию. Enter подбирает децимацию, без Enter значение восстанавливается</source>
        <translation>Output rate of the channel, Hz = 2^mode × interpolation × clock / (4 × D): the CIC filter divides the rate by D, the CFIR and the PFIR by 2 each (hence the 4); 2-channel or 1-channel output gives 2 or 4 times as many samples; the resampler multiplies by its interpolation. Enter picks the decimation, without Enter the value is restored</translation>
    </message>
    <message>
        <source>По каналу</source>
        <translation>Fit channel</translation>
    </message>
    <message>
        <source>Растянуть по X так, чтобы были видны полоса пропускания, граница полосы заграждения и первые полосы наложений около выходной частоты (клавиша F)</source>
        <translation>Stretch X so that the pass band, the stop-band edge and the first alias bands around the output rate are seen (key F)</translation>
    </message>
</context>
<context>
    <name>gc::ui::TInfo</name>
    <message>
        <source>Программа для конфигурирования  микросхемы </source>
        <translation>A program for configuring  the </translation>
    </message>
    <message>
        <source>  GC4016 фирмы &quot;Texas Instruments&quot;</source>
        <translation>  GC4016 chip by &quot;Texas Instruments&quot;</translation>
    </message>
    <message>
        <source>Конфигуратор GC4016 v2.0, 2026</source>
        <translation>GC4016 Configurator v2.0, 2026</translation>
    </message>
    <message>
        <source>Свободная программа: лицензия MIT, файл LICENSE</source>
        <translation>Free software: MIT licence, see the file LICENSE</translation>
    </message>
    <message>
        <source>Об ошибках сообщайте в трекер задач проекта</source>
        <translation>Report problems to the project&apos;s issue tracker</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Язык интерфейса (со следующего запуска):</source>
        <translation>Interface language (from the next start):</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Russian</translation>
    </message>
</context>
<context>
    <name>gc::ui::TLevelsForm</name>
    <message>
        <source>Тон: действительная синусоида; шум: равномерно в полосе вокруг NCO</source>
        <translation>Tone: a real sine; noise: spread evenly over a band around the NCO</translation>
    </message>
    <message>
        <source>Уровень входа, dBFS: амплитуда тона или мощность шума как у тона той же мощности</source>
        <translation>Input level, dBFS: the tone's amplitude, or the noise's power as that of a tone of equal power</translation>
    </message>
    <message>
        <source>Частота тона на входе или ширина полосы шума, Гц. Пустое поле: тон на частоте NCO, шум в полосе выхода.</source>
        <translation>The tone's frequency at the input or the width of the noise band, Hz. Empty: a tone at the NCO frequency, noise over the output band.</translation>
    </message>
    <message>
        <source>Входной сигнал</source>
        <translation>Input signal</translation>
    </message>
    <message>
        <source>Уровень, dBFS</source>
        <translation>Level, dBFS</translation>
    </message>
    <message>
        <source>Частота или полоса, Гц</source>
        <translation>Frequency or band, Hz</translation>
    </message>
    <message>
        <source>Каскад</source>
        <translation>Stage</translation>
    </message>
    <message>
        <source>Бит</source>
        <translation>Bits</translation>
    </message>
    <message>
        <source>Частота, Гц</source>
        <translation>Rate, Hz</translation>
    </message>
    <message>
        <source>Сигнал, dBFS</source>
        <translation>Signal, dBFS</translation>
    </message>
    <message>
        <source>Вне полосы, dBFS</source>
        <translation>Out of band, dBFS</translation>
    </message>
    <message>
        <source>Пик, dBFS</source>
        <translation>Peak, dBFS</translation>
    </message>
    <message>
        <source>Запас, дБ</source>
        <translation>Headroom, dB</translation>
    </message>
    <message>
        <source>Ограничение
при входе, dBFS</source>
        <translation>Clips from
an input of, dBFS</translation>
    </message>
    <message>
        <source>Шум округления
на выходе, dBFS</source>
        <translation>Rounding noise
at the output, dBFS</translation>
    </message>
    <message>
        <source>Уровни на выходе каждого каскада: полезный сигнал, остаток внеполосной части входа, ожидаемый пик I или Q, запас до полной шкалы, уровень входа, при котором каскад начинает ограничивать, и шум его округления, приведённый к выходу</source>
        <translation>Levels at the output of every stage: the wanted signal, what is left of the input's out-of-band part, the expected peak of I or Q, the headroom to full scale, the input level from which the stage clips, and its rounding noise as it reaches the output</translation>
    </message>
    <message>
        <source>Усиление канала (комплексный выход / действительный тон на входе)</source>
        <translation>Channel gain (complex output / real input tone)</translation>
    </message>
</context>
<context>
    <name>gc::ui::TRequirementForm</name>
    <message>
        <source>Граница полосы пропускания Fp, Гц. Пустое поле: требования нет.</source>
        <translation>Pass-band edge Fp, Hz. Empty: no requirement.</translation>
    </message>
    <message>
        <source>Начало полосы заграждения Fs, Гц. Пустое поле: Fo/2.</source>
        <translation>Start of the stop band Fs, Hz. Empty: Fo/2.</translation>
    </message>
    <message>
        <source>Наибольшая неравномерность в полосе 0..Fp, дБ (размах). Пустое поле: не проверяется.</source>
        <translation>Largest ripple in the band 0..Fp, dB (peak to peak). Empty: not checked.</translation>
    </message>
    <message>
        <source>Наименьшее подавление от Fs до половины тактовой частоты, дБ, относительно пика полосы пропускания. Пустое поле: не проверяется.</source>
        <translation>Smallest attenuation from Fs to half the clock, dB, relative to the pass-band peak. Empty: not checked.</translation>
    </message>
    <message>
        <source>Наименьшее подавление составляющих, которые при децимации попадают в полосу 0..Fp, дБ. Пустое поле: не проверяется.</source>
        <translation>Smallest attenuation of the components that decimation folds into the band 0..Fp, dB. Empty: not checked.</translation>
    </message>
    <message>
        <source>Граница полосы пропускания Fp, Гц</source>
        <translation>Pass-band edge Fp, Hz</translation>
    </message>
    <message>
        <source>Граница полосы заграждения Fs, Гц</source>
        <translation>Stop-band edge Fs, Hz</translation>
    </message>
    <message>
        <source>Неравномерность Rmax, дБ, не более</source>
        <translation>Ripple Rmax, dB, at most</translation>
    </message>
    <message>
        <source>Подавление в полосе заграждения As, дБ, не менее</source>
        <translation>Stop-band attenuation As, dB, at least</translation>
    </message>
    <message>
        <source>Подавление наложений Aa, дБ, не менее</source>
        <translation>Alias rejection Aa, dB, at least</translation>
    </message>
    <message>
        <source>Частота худшей точки, Гц</source>
        <translation>Frequency of the worst point, Hz</translation>
    </message>
    <message>
        <source>Выходная частота канала Fo, Гц (после ресемплера)</source>
        <translation>Output rate of the channel Fo, Hz (after the resampler)</translation>
    </message>
    <message>
        <source>Граница полосы заграждения, с которой ведётся расчёт, Гц</source>
        <translation>Stop-band edge the figures are computed from, Hz</translation>
    </message>
    <message>
        <source>Неравномерность в полосе пропускания, дБ; зелёный: не более Rmax, красный: больше</source>
        <translation>Pass-band ripple, dB; green: at most Rmax, red: more</translation>
    </message>
    <message>
        <source>Частота, где полоса пропускания ниже всего, Гц</source>
        <translation>Frequency where the pass band is lowest, Hz</translation>
    </message>
    <message>
        <source>Ширина полосы по уровню -3 дБ, Гц</source>
        <translation>Bandwidth at -3 dB, Hz</translation>
    </message>
    <message>
        <source>Подавление в полосе заграждения, дБ; зелёный: не менее As, красный: меньше</source>
        <translation>Stop-band attenuation, dB; green: at least As, red: less</translation>
    </message>
    <message>
        <source>Подавление наложений, дБ; зелёный: не менее Aa, красный: меньше</source>
        <translation>Alias rejection, dB; green: at least Aa, red: less</translation>
    </message>
    <message>
        <source>Частота F на входе, худшее наложение которой попадает в полосу пропускания, Гц</source>
        <translation>Input frequency F whose worst alias lands in the pass band, Hz</translation>
    </message>
    <message>
        <source>Смещение на выходе, на которое попадает это наложение, Гц</source>
        <translation>Output offset this alias lands on, Hz</translation>
    </message>
    <message>
        <source>Выходная частота Fo, Гц</source>
        <translation>Output rate Fo, Hz</translation>
    </message>
    <message>
        <source>Fs в расчёте, Гц</source>
        <translation>Fs used, Hz</translation>
    </message>
    <message>
        <source>Неравномерность, дБ</source>
        <translation>Ripple, dB</translation>
    </message>
    <message>
        <source>на частоте, Гц</source>
        <translation>at frequency, Hz</translation>
    </message>
    <message>
        <source>Полоса по -3 дБ, Гц</source>
        <translation>-3 dB band, Hz</translation>
    </message>
    <message>
        <source>Подавление в полосе заграждения, дБ</source>
        <translation>Stop-band attenuation, dB</translation>
    </message>
    <message>
        <source>Подавление наложений, дБ</source>
        <translation>Alias rejection, dB</translation>
    </message>
    <message>
        <source>с частоты F, Гц</source>
        <translation>from frequency F, Hz</translation>
    </message>
    <message>
        <source>попадает на смещение, Гц</source>
        <translation>lands on offset, Hz</translation>
    </message>
    <message>
        <source>Требования не выполнены</source>
        <translation>Requirement not met</translation>
    </message>
    <message>
        <source>Итог: зелёный, если все заданные ограничения выполнены</source>
        <translation>Verdict: green when every limit given is met</translation>
    </message>
    <message>
        <source>Предупреждения</source>
        <translation>Warnings</translation>
    </message>
    <message>
        <source>Синтез фильтров...</source>
        <translation>Filter design...</translation>
    </message>
    <message>
        <source>Подобрать фильтры канала под это требование</source>
        <translation>Design the channel&apos;s filters for this requirement</translation>
    </message>
    <message>
        <source>Текущая конфигурация</source>
        <translation>Current configuration</translation>
    </message>
    <message>
        <source>Сравниваемая конфигурация, то же требование</source>
        <translation>The compared configuration, the same requirement</translation>
    </message>
</context>
<context>
    <name>gc::ui::TSimulationForm</name>
    <message>
        <source>SFDR, дБc</source>
        <translation>SFDR, dBc</translation>
    </message>
    <message>
        <source>SNR, дБ</source>
        <translation>SNR, dB</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Выход в файл</source>
        <translation>Output to file</translation>
    </message>
    <message>
        <source>Два тона</source>
        <translation>Two tones</translation>
    </message>
    <message>
        <source>Длина, отсчётов</source>
        <translation>Length, samples</translation>
    </message>
    <message>
        <source>Запись из файла</source>
        <translation>Recording from a file</translation>
    </message>
    <message>
        <source>Запись</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Запустить</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>ИМЯ.sigmf-meta (отсчёты в ИМЯ.sigmf-data рядом) или ИМЯ.wav</source>
        <translation>NAME.sigmf-meta (samples in NAME.sigmf-data beside it) or NAME.wav</translation>
    </message>
    <message>
        <source>ИМЯ.sigmf-meta или ИМЯ.wav; пусто — выход не записывается</source>
        <translation>NAME.sigmf-meta or NAME.wav; empty: the output is not written</translation>
    </message>
    <message>
        <source>Качание частоты</source>
        <translation>Frequency sweep</translation>
    </message>
    <message>
        <source>Моделирование</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Мощность выхода, дБFS</source>
        <translation>Output power, dBFS</translation>
    </message>
    <message>
        <source>Обзор...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Переполнения</source>
        <translation>Overflows</translation>
    </message>
    <message>
        <source>Пик, дБFS</source>
        <translation>Peak, dBFS</translation>
    </message>
    <message>
        <source>Сигнал</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Спектр в CSV...</source>
        <translation>Spectrum to CSV...</translation>
    </message>
    <message>
        <source>Ступень</source>
        <translation>Stage</translation>
    </message>
    <message>
        <source>Тон на частоте выхода, Гц</source>
        <translation>Tone at output frequency, Hz</translation>
    </message>
    <message>
        <source>Тон</source>
        <translation>Tone</translation>
    </message>
    <message>
        <source>Тон: амплитуда; шум: мощность относительно синуса полной шкалы</source>
        <translation>Tone: its amplitude; noise: its power against a full-scale sine&apos;s</translation>
    </message>
    <message>
        <source>Уровень тона на выходе, дБFS</source>
        <translation>Output tone level, dBFS</translation>
    </message>
    <message>
        <source>Уровень, дБFS</source>
        <translation>Level, dBFS</translation>
    </message>
    <message>
        <source>Частота 1, Гц</source>
        <translation>Frequency 1, Hz</translation>
    </message>
    <message>
        <source>Частота 2, Гц</source>
        <translation>Frequency 2, Hz</translation>
    </message>
    <message>
        <source>Частота второго тона или конца качания, Гц</source>
        <translation>Frequency of the second tone or of the sweep&apos;s end, Hz</translation>
    </message>
    <message>
        <source>Частота выхода относительно центра, кГц</source>
        <translation>Output frequency from the centre, kHz</translation>
    </message>
    <message>
        <source>Частота отсчётов выхода, Гц</source>
        <translation>Output sample rate, Hz</translation>
    </message>
    <message>
        <source>Частота тона, первого тона или начала качания, Гц</source>
        <translation>Frequency of the tone, the first tone or the sweep&apos;s start, Hz</translation>
    </message>
    <message>
        <source>Шум</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>дБFS</source>
        <translation>dBFS</translation>
    </message>
    <message>
        <source>не записывать</source>
        <translation>not written</translation>
    </message>
    <message>
        <source>&lt;span style=&quot;color:#0000ff&quot;&gt;━━&lt;/span&gt; спектр выхода&amp;nbsp;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#ff0000&quot;&gt;━━&lt;/span&gt; АЧХ канала, 0 дБ — её максимум</source>
        <translation>&lt;span style=&quot;color:#0000ff&quot;&gt;━━&lt;/span&gt; output spectrum&amp;nbsp;&amp;nbsp;&amp;nbsp;&lt;span style=&quot;color:#ff0000&quot;&gt;━━&lt;/span&gt; channel response, 0 dB at its peak</translation>
    </message>
</context>
</TS>
