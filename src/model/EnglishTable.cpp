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
        // Tap files of other tools: import errors and what an import did.
        {"строка %1: %2", "line %1: %2"},
        {"лишний текст после \"]\": \"%1\"", "text after \"]\": \"%1\""},
        {"нет закрывающей скобки \"]\"", "no closing \"]\""},
        {"непонятная запись \"%1\"", "unreadable statement \"%1\""},
        {"основание %1 не поддерживается (10 или 16)", "radix %1 is not supported (10 or 16)"},
        {"нет данных coefdata", "no coefdata"},
        {"лишний коэффициент: у RESAMPLER их не более %1",
         "one tap too many: a RESAMPLER holds at most %1"},
        {"лишний коэффициент: у %1 их %2", "one tap too many: a %1 holds %2"},
        {"файл кончается после %1 коэффициентов, у %2 их %3",
         "the file ends after %1 taps, a %2 holds %3"},
        {"\"%1\" не число", "\"%1\" is not a number"},
        {"%1 после масштабирования (%2) не помещается в %3 бит",
         "%1 scaled (%2) does not fit in %3 bits"},
        {"не обычный файл или слишком большой", "not a regular file, or too large"},
        {"файл коэффициентов (целое число в строке)", "tap file (one integer per line)"},
        {"список чисел", "list of numbers"},
        {"вектор в скобках", "bracketed vector"},
        {"файл коэффициентов ПЛИС (coefdata)", "FPGA coefficient file (coefdata)"},
        {"Формат: %1", "Format: %1"},
        {"Коэффициентов: %1", "Taps: %1"},
        {"Числа с плавающей точкой умножены на %1 и округлены",
         "Floating-point values multiplied by %1 and rounded"},
        {"Наибольшая ошибка округления: %1 дБ от наибольшего коэффициента",
         "Largest rounding error: %1 dB of the largest tap"},
        {"Ошибки округления нет", "No rounding error"},
        {"Сумма коэффициентов %1, наибольший по модулю %2", "Tap sum %1, largest magnitude %2"},
        {"Усиление %1 (сумма коэффициентов %2)", "Gain %1 (tap sum %2)"},
        {"Коэффициенты симметричны", "The taps are symmetric"},
        {"Коэффициенты не симметричны", "The taps are not symmetric"},
        {"Коэффициенты других программ", "Coefficients of other programs"},
        {"Все файлы", "All files"},
        {"Текущая", "Current"},
    };
    return table;
}

}  // namespace gc::model
