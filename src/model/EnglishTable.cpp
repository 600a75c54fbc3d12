// The English table of the texts produced below the window program, keyed by their Russian
// source text. Every Russian text written in src/ outside src/ui has an entry here (checked by
// tests/model/LanguageTest.cpp). "%1".."%9" stand for the values the caller puts in.
#include "model/Language.h"

namespace gc::model {

const std::vector<Translation>& englishTable() {
    static const std::vector<Translation> table{
        // Main window: lists, block captions, button names quoted in the command-line help.
        {"Канал 0", "Channel 0"},
        {"Канал 1", "Channel 1"},
        {"Канал 2", "Channel 2"},
        {"Канал 3", "Channel 3"},
        {"АЦП 0", "ADC 0"},
        {"АЦП 1", "ADC 1"},
        {"АЦП 2", "ADC 2"},
        {"АЦП 3", "ADC 3"},
        {" 4 канала", " 4 channels"},
        {" 2 канала", " 2 channels"},
        {" 1 канал", " 1 channel"},
        {"Синхронный", "Synchronous"},
        {"Асинхронный ", "Asynchronous "},
        {"CIC Фильтр", "CIC Filter"},
        {"CFIR Фильтр", "CFIR Filter"},
        {"PFIR Фильтр", "PFIR Filter"},
        {"RESAMPLER Фильтр", "RESAMPLER Filter"},
        {"Считать", "Read"},
        {"Записать", "Write"},

        // Register block editors.
        {"Входной блок", "Input block"},
        {"Выходной блок", "Output block"},
        {"Синхронизация", "Synchronisation"},
        {"Ресемплер", "Resampler"},
        {"Канал", "Channel"},
        {"Канал %1", "Channel %1"},
        {"A и B", "A and B"},

        // Report windows.
        {"Файл конфигурации", "Configuration file"},
        {"Файл коэфициентов CFIR", "CFIR coefficient file"},
        {"Файл коэфициентов PFIR", "PFIR coefficient file"},
        {"Файл коэфициентов RFIR", "RFIR coefficient file"},
        {"Файл программы", "Program file"},
        {"Файл требований", "Requirement file"},
        {"Файл источников коэффициентов", "Coefficient source file"},
        {"отсутствует!", "is missing!"},
        {"поврежден!", "is damaged!"},
        {"не может быть записан!", "cannot be written!"},
        {"не может быть прочитан!", "cannot be read!"},
        {"не может быть удален!", "cannot be removed!"},
        {"Файл не может быть записан!", "The file cannot be written!"},
        {"Минимальный коэффициент децимации CIC-фильтра", "The minimum CIC filter decimation"},
        {"в этом режиме   равен", "in this mode   is"},
        {"В синхронном режиме вывода", "In synchronous output mode"},
        {"коэффициенты  децимации каналов", "the decimations  of the channels"},
        {" должны быть одинаковыми!", " must be equal!"},
        {"Установки  Resampler-фильтра", "The Resampler filter's  settings"},
        {"не корректны !", "are not valid !"},

        // Reasons the system gives for a failed read or write.
        {"нет места на устройстве", "no space left on device"},
        {"превышена дисковая квота", "disk quota exceeded"},
        {"доступ запрещён", "permission denied"},
        {"операция не позволена", "operation not permitted"},
        {"файловая система только для чтения", "read-only file system"},
        {"ошибка ввода-вывода", "input/output error"},
        {"нет такого файла или каталога", "no such file or directory"},
        {"часть пути не является каталогом", "a part of the path is not a directory"},
        {"файл уже существует", "file exists"},
        {"это каталог", "is a directory"},
        {"слишком длинное имя файла", "file name too long"},
        {"файл слишком велик", "file too large"},
        {"слишком много символических ссылок", "too many levels of symbolic links"},
        {"слишком много открытых файлов", "too many open files"},
        {"устройство или ресурс занято", "device or resource busy"},

        // Typed values.
        {"\"%1\" не является целым числом", "\"%1\" is not an integer"},
        {"\"%1\" не является числом", "\"%1\" is not a number"},
        {"Число \"%1\" вне допустимого диапазона %2..%3",
         "The number \"%1\" is out of range %2..%3"},
        {"Тактовая частота должна быть целым числом от 1 до %1 Гц: \"%2\"",
         "The clock must be a whole number of hertz from 1 to %1: \"%2\""},
        {"Выходная частота не может быть равна нулю", "The output rate cannot be zero"},
        {"Коэффициент передискретизации не может быть равен нулю",
         "The resampling ratio cannot be zero"},

        // Channel requirement: checks, verdicts, warnings.
        {"Требования к каналу", "Channel requirement"},
        {"Требования к каналу %1", "Requirement for channel %1"},
        {"Требования выполнены", "Requirement met"},
        {"Требования не выполнены", "Requirement not met"},
        {"Ограничения не заданы", "No limits given"},
        {"Требование не задано", "No requirement given"},
        {"нет", "none"},
        {"Тактовая частота должна быть больше 0", "The clock must be above 0"},
        {"Выходная частота должна быть больше 0", "The output rate must be above 0"},
        {"Тактовая частота должна быть не меньше 1 Гц", "The clock must be at least 1 Hz"},
        {"Выходная частота слишком мала: меньше %1 тактовой частоты",
         "The output rate is too low: below %1 of the clock"},
        {"Граница полосы пропускания должна лежать между 0 и %1 Гц (половина выходной частоты), "
         "не включая их",
         "The pass-band edge must lie between 0 and %1 Hz (half the output rate), both excluded"},
        {"Граница полосы задерживания должна быть больше границы полосы пропускания и не больше "
         "%1 Гц (половина тактовой частоты)",
         "The stop-band edge must be above the pass-band edge and not above %1 Hz (half the "
         "clock)"},
        {"Допустимая неравномерность должна быть числом не меньше 0 дБ",
         "The allowed ripple must be a number of at least 0 dB"},
        {"Подавление в полосе задерживания должно быть числом",
         "The stop-band attenuation must be a number"},
        {"Подавление наложений должно быть числом", "The alias rejection must be a number"},
        {"%1: коэффициентов вне %2-разрядного слова микросхемы: %3 (первый: №%4 = %5, в "
         "микросхему попадёт %6)",
         "%1: coefficients outside the chip's %2-bit word: %3 (first: #%4 = %5, the chip will get "
         "%6)"},
        {"Усиление CIC %1 больше 1: выход CIC может переполниться",
         "CIC gain %1 above 1: the CIC output may overflow"},
        {"Общее усиление %1 больше 1: выходной сигнал может ограничиваться",
         "Total gain %1 above 1: the output may clip"},
        {"Частота NCO %1 Гц выше половины тактовой частоты (%2 Гц): канал настроится на "
         "зеркальную частоту %3 Гц",
         "NCO frequency %1 Hz above half the clock (%2 Hz): the channel tunes to the image "
         "frequency %3 Hz"},
        {"Граница полосы пропускания %1 Гц лежит за шириной полосы по уровню -3 дБ (%2 Гц)",
         "Pass-band edge %1 Hz lies beyond the -3 dB bandwidth (%2 Hz)"},

        // Filter design.
        {"Требование не выполнено при 21 отводе CFIR и 63 отводах PFIR и децимации %1. Лучшее "
         "достигнутое:",
         "The requirement is not met with 21 CFIR taps, 63 PFIR taps and decimation %1. Best "
         "reached:"},
        {" неравномерность %1 дБ (требуется не более %2 дБ);",
         " ripple %1 dB (at most %2 dB required);"},
        {" подавление в полосе задерживания %1 дБ (требуется не менее %2 дБ);",
         " stop-band attenuation %1 dB (at least %2 dB required);"},
        {" подавление наложений %1 дБ (требуется не менее %2 дБ);",
         " alias rejection %1 dB (at least %2 dB required);"},
        {" Ослабьте ограничение:", " Relax a limit:"},
        {" уменьшите децимацию или выберите другой режим выхода, либо уменьшите требуемое "
         "подавление",
         " lower the decimation or choose another output mode, or lower the required "
         "attenuation"},
        {" расширьте переходную полосу (повысьте частоту начала полосы задерживания) или "
         "уменьшите требуемое подавление",
         " widen the transition band (raise the stop-band edge) or lower the required "
         "attenuation"},
        {" сузьте полосу пропускания или допустите большую неравномерность.",
         " narrow the pass band or allow more ripple."},
        {"Не удалось рассчитать фильтры для этого требования.",
         "The filters for this requirement could not be designed."},
        {"Синтез фильтров", "Filter design"},
        {"Синтез фильтров: канал %1", "Filter design: channel %1"},
        {"Требование к каналу не задано: задайте его в окне «Требования к каналу»",
         "No channel requirement given: give it in the window \"Channel requirement\""},
        {"Нажмите «Рассчитать»", "Press \"Design\""},
        {"Идёт расчёт…", "Designing…"},
        {"Расчёт отменён", "Design cancelled"},
        {"Рассчитано: требования выполнены", "Designed: requirement met"},
        {"Рассчитано: требования не выполнены", "Designed: requirement not met"},
        {"Канал изменился после расчёта: рассчитайте заново",
         "The channel changed after the design: design again"},
        {"Имя файлов не задано, содержит «/», «\\» или равно «.», «..»: введите имя без папки",
         "The file name is empty, holds \"/\" or \"\\\", or is \".\" or \"..\": give a name "
         "without a folder"},
        {"Сохранено и выбрано для канала: ", "Saved and chosen for the channel: "},
        {"Файлы не записаны", "Files not written"},
        {"Прототип ресемплера не рассчитан: ресемплер выключен или его длина меньше числа фаз",
         "No resampler prototype designed: the resampler is off or its length is below the "
         "number of phases"},
        {"Fp %1 Гц, Fs %2 Гц, Fo %3 Гц", "Fp %1 Hz, Fs %2 Hz, Fo %3 Hz"},
        {"Прототип ресемплера не рассчитан: ресемплер выключен или его длина меньше числа фаз; "
         "CFIR и PFIR рассчитаны для ресемплера конфигурации.",
         "No resampler prototype designed: the resampler is off or its length is below the "
         "number of phases; CFIR and PFIR are designed for the configuration's resampler."},
        // The level plan ("Уровни") and the channel model's assumptions.
        {"Уровни", "Levels"},
        {"Канал %1 удерживается в сбросе (не включён)",
         "channel %1 is held in reset (not enabled)"},
        {"Канал %1 в этом режиме вывода - вторая половина пары: моделируйте канал %2",
         "channel %1 is the second half of a pair in this output mode: model channel %2"},
        {"Тон", "Tone"},
        {"Шум в полосе", "Noise in a band"},
        {"Канал %1: NCO %2 Гц, выход %3 Гц, тон на выходе %4 Гц",
         "Channel %1: NCO %2 Hz, output %3 Hz, tone at the output %4 Hz"},
        {"Первым ограничивается каскад %1 при входе %2 dBFS (запас %3 дБ)",
         "The first stage to clip is %1, from an input of %2 dBFS (headroom %3 dB)"},
        {"Ни один каскад не ограничивается", "No stage clips"},
        {"Канал %1: NCO %2 Гц, выход %3 Гц", "Channel %1: NCO %2 Hz, output %3 Hz"},
        {"Выход: сигнал %1 dBFS, шум округлений %2 dBFS, ОСШ %3 дБ",
         "Output: signal %1 dBFS, rounding noise %2 dBFS, SNR %3 dB"},
        {"Итого: %1 (%2 дБ)", "Total: %1 (%2 dB)"},
        {"вход", "input"},
        {"смеситель", "mixer"},
        {"грубое усиление", "coarse gain"},
        {"точное усиление", "fine gain"},
        {"ресемплер", "resampler"},
        {"выход", "output"},
        {"действительный вход в комплексный", "real input to complex"},
        {"дополнение нулями", "zero pad"},
        {"амплитуда NCO", "NCO amplitude"},
        {"%1 бит", "%1 bit"},
        {"%1 Гц", "%1 Hz"},
        {"из заголовка программного файла", "from the program file header"},
        {"Тактовая частота входа: на ней работают NCO и интеграторы CIC",
         "Input clock: the NCO and the CIC integrators run at it"},
        {"наибольшая 2^k <= 64 при 2^k x NMULT <= 512",
         "largest 2^k <= 64 with 2^k x NMULT <= 512"},
        {"Число фаз ресемплера NDELAY (в регистрах только NMULT)",
         "Resampler phase count NDELAY (the registers hold only NMULT)"},
        {"по регистру Input (14 или 16)", "from the Input register (14 or 16)"},
        {"Входное слово: отсчёты округляются до него и входят 19-битным словом",
         "Input word: samples are rounded to it and enter as a 19-bit word"},
        {"Амплитуда синуса и косинуса NCO, со знаком", "NCO sine and cosine amplitude, signed"},
        {"Старшие разряды фазы, адресующие таблицу синуса и косинуса",
         "Top phase bits that address the sine and cosine table"},
        {"вкл", "on"},
        {"выкл", "off"},
        {"Случайные младшие разряды фазы перед выборкой из таблицы",
         "Random low phase bits added before the table look-up"},
        {"Выход смесителя без режима 20 бит", "Mixer output without the 20-bit mixer option"},
        {"половина вверх", "half up"},
        {"отбрасывание", "truncate"},
        {"Каждое округление в тракте", "Every rounding step of the chain"},
        {"достаточной ширины, по модулю", "wide enough, wrapping"},
        {"Интеграторы CIC не теряют разрядов, предмасштаб 2^(shift+scale+6 bigScale-62) "
         "тоже (неизменно)",
         "The CIC integrators lose no bits, nor does the pre-scale "
         "2^(shift+scale+6 bigScale-62) (fixed)"},
        {"Выходное слово CIC с насыщением; переполнение считается выше полной шкалы",
         "CIC output word, saturating; an overflow is counted above full scale"},
        {"Грубое усиление x 2^coarse (0..7) между CIC и CFIR, с насыщением",
         "Coarse gain x 2^coarse (0..7) between CIC and CFIR, saturating"},
        {"CFIR: сумма полной точности / 2^16, округление, насыщение до этого слова",
         "CFIR: full-precision sum / 2^16, rounded, saturated to this word"},
        {"PFIR: как CFIR", "PFIR: as the CFIR"},
        {"Точное усиление FINE_GAIN/1024 между PFIR и ресемплером, округление и насыщение до "
         "этого слова",
         "Fine gain FINE_GAIN/1024 between PFIR and resampler, rounded and saturated to this "
         "word"},
        {"ближайшая", "nearest"},
        {"нижняя", "below"},
        {"Ветвь полифазного фильтра для момента выходного отсчёта",
         "Polyphase branch taken for an output instant"},
        {"Ресемплер: сумма полной точности x 2^(finalShift-15), округление, насыщение",
         "Resampler: full-precision sum x 2^(finalShift-15), rounded, saturated"},
        {"по полю Round (12/16/20/24)", "from the Round field (12/16/20/24)"},
        {"Выходное слово, округление и насыщение", "Output word, rounded and saturated"},
        {"чередование CIC пары", "the pair's CICs interleaved"},
        {"Режимы 2 и 1 канала: CIC пары децимируют со сдвигом в полпериода и чередуются "
         "(вход CFIR 2 clock/D); в режиме 1 канала PFIR не децимирует (неизменно)",
         "Two- and one-channel modes: the pair's CICs decimate half a period apart and "
         "interleave (CFIR input 2 clock/D); the PFIR does not decimate in the one-channel mode "
         "(fixed)"},
    };
    return table;
}

}  // namespace gc::model
