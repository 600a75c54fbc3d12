#include "ui/Ugform.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <variant>

#include "filters/FilterTables.h"
#include "model/Language.h"
#include "ui/PlotBox.h"
#include "ui/PlotMenu.h"
#include "ui/PlotPanel.h"
#include "ui/ProgramInfo.h"
#include "ui/Widgets.h"

namespace gc::ui {
namespace {

using gc::app::FilterKind;

using gc::app::MainPresenter;

// Control numbers that the plot's labels and the named controls do not use; the captions of
// the blocks take them in the order they are made.
constexpr std::array<int, 56> kFreeLabelNumbers{
    1,  2,  3,  4,  5,  6,  7,  8,  14, 15, 16, 27, 28, 29, 30, 31, 32, 42, 47,
    48, 49, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 63, 64, 65, 66, 67, 68, 69,
    70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87};

constexpr const char* kBackgroundProperty = "gcBackground";

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

QStringList itemList(const std::string_view* first, std::size_t count) {
    QStringList items;
    for (std::size_t i = 0; i < count; ++i)
        items << QString::fromStdString(gc::model::tx(first[i]));
    return items;
}

template <std::size_t N>
QStringList itemList(const std::array<std::string_view, N>& items) {
    return itemList(items.data(), N);
}

QStringList numberItems(int count) {
    QStringList items;
    for (int i = 0; i < count; ++i) items << QString::number(i);
    return items;
}

PanelColour toPanelColour(gc::app::PanelColour c) {
    switch (c) {
        case gc::app::PanelColour::Red:
            return PanelColour::Red;
        case gc::app::PanelColour::White:
            return PanelColour::White;
        case gc::app::PanelColour::ButtonFace:
            break;
    }
    return PanelColour::ButtonFace;
}

void showEdit(QLineEdit* edit, const gc::app::EditState& s) {
    const QString text = fromStd(s.text);
    if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

void showPanel(ValuePanel* panel, const gc::app::PanelState& s) {
    panel->setText(fromStd(s.text));
    const PanelColour colour = toPanelColour(s.colour);
    if (panel->colour() != colour) panel->setColour(colour);
}

void showCombo(QComboBox* combo, const gc::app::ComboState& s) {
    const QSignalBlocker blocker(combo);
    const int index = (s.index >= 0 && s.index < combo->count()) ? s.index : -1;
    combo->setCurrentIndex(index);
    combo->setEnabled(s.enabled);
}

void showCheck(QCheckBox* box, const gc::app::CheckState& s) {
    const QSignalBlocker blocker(box);
    box->setChecked(s.checked);
    box->setEnabled(s.enabled);
    // Hidden boxes stay hidden; they carry state only.
    if (!box->isHidden() != s.visible) box->setVisible(s.visible);
}

void showButton(QAbstractButton* button, const gc::app::ButtonState& s) {
    button->setEnabled(s.enabled);
    if (!button->isHidden() != s.visible) button->setVisible(s.visible);
}

// Auto-exclusive buttons cannot both be off: only the ticked button of a pair is set, which
// clears its partner.
void showRadio(QRadioButton* radio, const gc::app::RadioState& s) {
    if (!s.checked) return;
    const QSignalBlocker blocker(radio);
    radio->setChecked(true);
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(4);
    for (QWidget* w : widgets) layout->addWidget(w);
    if (stretch) layout->addStretch(1);
    return layout;
}

}  // namespace

TGForm::TGForm(gc::app::MainState& state, MainPresenter& presenter,
               gc::app::ChannelPlotPresenter& plot, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      state_(state),
      presenter_(presenter),
      plot_(plot) {
    setObjectName(QStringLiteral("GForm"));
    setWindowTitle(programTitle());

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(6);

    columns->addWidget(buildConfigColumn());

    auto* channelColumn = new QVBoxLayout;
    channelColumn->setSpacing(6);
    channelColumn->addWidget(buildChannelBlock());
    channelColumn->addWidget(buildCicBlock(), 1);
    columns->addLayout(channelColumn);

    auto* firColumn = new QVBoxLayout;
    firColumn->setSpacing(6);
    firColumn->addWidget(buildCfirBlock(), 1);
    firColumn->addWidget(buildPfirBlock(), 1);
    columns->addLayout(firColumn);

    auto* resamplerColumn = new QVBoxLayout;
    resamplerColumn->setSpacing(6);
    resamplerColumn->addWidget(buildResamplerBlock(), 1);
    resamplerColumn->addWidget(buildOutputBlock());
    columns->addLayout(resamplerColumn);

    columns->addWidget(buildPlotBlock(), 1);

    for (const gc::app::MainControl& control : gc::app::kMainControls) {
        if (auto* widget = findChild<QWidget*>(
                QString::fromUtf8(control.name.data(), int(control.name.size()))))
            bindings_.emplace_back(&control, widget);
    }
    connectControls();
    setToolTips();
    showState();
}

TGForm::~TGForm() = default;

void TGForm::setToolTips() {
    const std::array<std::pair<QWidget*, QString>, 14> tips{{
        {edit1_, tr("Коэффициент децимации CIC-фильтра, 2..4096 (Enter)")},
        {edit2_, tr("Точное усиление PFIR, 0..16383 (Enter)")},
        {edit3_, tr("Тактовая частота: частота отсчётов на входе микросхемы (АЦП), Гц; целое "
                    "число от 1 до 2147483647 (Enter)")},
        {edit4_, tr("Коэффициент интерполяции ресемплера, 0,03125..64 (Enter)")},
        {edit5_, tr("Выходная частота канала, Гц = 2^режим × интерполяция × тактовая частота / "
                    "(4 × D): CIC-фильтр делит частоту на D, CFIR и PFIR — каждый на 2 (отсюда "
                    "4); вывод 2 каналов или 1 канала даёт в 2 или 4 раза больше отсчётов; "
                    "ресемплер умножает на интерполяцию. Enter подбирает децимацию, без Enter "
                    "значение восстанавливается")},
        {edit6_, tr("Частота NCO канала, Гц, 0..тактовая частота (Enter)")},
        {edit7_, tr("Фаза NCO канала, рад, 0..2π (Enter)")},
        {edit8_, tr("Слово коэффициента ресемплера, шестнадцатеричное (0x...); Enter пересчитывает "
                    "интерполяцию, без Enter значение восстанавливается")},
        {panel25_, tr("Файл конфигурации, последний считанный или записанный")},
        {panel1_, tr("Файл конфигурации микросхемы (папка CONFIGS)")},
        {filters_[0].name, tr("Файл коэффициентов CFIR канала (папка FILTERS)")},
        {filters_[1].name, tr("Файл коэффициентов PFIR канала (папка FILTERS)")},
        {filters_[2].name, tr("Файл коэффициентов ресемплера (папка FILTERS)")},
        {plotBox(), tr("АЧХ канала: правая кнопка ставит курсор, колесо растягивает по X, стрелки "
                       "двигают курсор; меню — правая кнопка на рамке")},
    }};
    for (const auto& [widget, tip] : tips) {
        if (widget != nullptr) widget->setToolTip(tip);
    }
}

PlotBox* TGForm::plotBox() const { return panel5_->plotBox(); }

// --- Widget factories ----------------------------------------------------------------------

QLabel* TGForm::caption(const QString& text) {
    auto* label = new QLabel(text, this);
    const int number = nextCaptionNumber_ < int(kFreeLabelNumbers.size())
                           ? kFreeLabelNumbers[std::size_t(nextCaptionNumber_)]
                           : 100 + nextCaptionNumber_;
    ++nextCaptionNumber_;
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setTextFormat(Qt::PlainText);
    label->setProperty(kBackgroundProperty, true);
    return label;
}

QLabel* TGForm::title(const QString& text) {
    QLabel* label = caption(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return label;
}

QLineEdit* TGForm::edit(const char* name, int widthChars) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    const QFontMetrics fm = e->fontMetrics();
    e->setMinimumWidth(fm.horizontalAdvance(QLatin1Char('0')) * widthChars + 12);
    e->installEventFilter(this);
    return e;
}

ValuePanel* TGForm::panel(const char* name, const QString& sample) {
    return new ValuePanel(QString::fromLatin1(name), sample, this);
}

QComboBox* TGForm::combo(const char* name, const QStringList& items) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QCheckBox* TGForm::check(const char* name, const QString& text) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QRadioButton* TGForm::radio(const char* name, const QString& text) {
    auto* r = new QRadioButton(text, this);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QPushButton* TGForm::button(const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

CompactButton* TGForm::compact(const char* name, const QString& text) {
    return new CompactButton(QString::fromLatin1(name), text, this);
}

QToolButton* TGForm::speedButton(const char* name, bool write, const QString& tip) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(
        style()->standardIcon(write ? QStyle::SP_DialogSaveButton : QStyle::SP_DialogOpenButton));
    b->setToolTip(tip);
    return b;
}

QWidget* TGForm::block(QVBoxLayout*& layout) {
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    frame->setProperty(kBackgroundProperty, true);
    layout = new QVBoxLayout(frame);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(3);
    return frame;
}

// --- Blocks ----------------------------------------------------------------------------------

QWidget* TGForm::buildConfigColumn() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);

    v->addWidget(caption(tr("Файл конфигурации")));
    panel25_ = panel("Panel25", QStringLiteral("res_8x64_60.trv"));
    v->addWidget(panel25_);
    button5_ = button("Button5", tr("Считать"));
    button6_ = button("Button6", tr("Записать"));
    auto* files = new QHBoxLayout;
    files->setSpacing(4);
    files->addWidget(button5_);
    files->addWidget(button6_);
    v->addLayout(files);

    v->addSpacing(4);
    v->addWidget(caption(tr("Тактовая частота")));
    edit3_ = edit("Edit3", 10);
    v->addLayout(row({edit3_, caption(QStringLiteral("Hz"))}));

    v->addWidget(caption(tr("Шаблон")));
    panel1_ = panel("Panel1", QStringLiteral("res_8x64_60.cfg"));
    v->addWidget(panel1_);

    v->addSpacing(4);
    checkBox9_ = check("CheckBox9", tr("Комбин. прошивка"));
    v->addWidget(checkBox9_);
    v->addWidget(caption(tr("Режим")));
    comboBox11_ = combo("ComboBox11", itemList(gc::app::kComboBox11Items));
    v->addWidget(comboBox11_);
    v->addWidget(caption(tr("Режим вывода")));
    comboBox13_ = combo("ComboBox13", itemList(gc::app::kComboBox13Items));
    v->addWidget(comboBox13_);

    v->addSpacing(4);
    v->addWidget(caption(tr("Включенные каналы")));
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(8);
    boxes->setVerticalSpacing(0);
    static constexpr std::array<const char*, 4> kBoxNames{"CheckBox3", "CheckBox2", "CheckBox7",
                                                          "CheckBox8"};
    for (int i = 0; i < 4; ++i) {
        QLabel* number = caption(QString::number(i));
        number->setAlignment(Qt::AlignHCenter);
        channelBoxes_[std::size_t(i)] = check(kBoxNames[std::size_t(i)], QString());
        boxes->addWidget(number, 0, i, Qt::AlignHCenter);
        boxes->addWidget(channelBoxes_[std::size_t(i)], 1, i, Qt::AlignHCenter);
    }
    boxes->setColumnStretch(4, 1);
    v->addLayout(boxes);

    v->addSpacing(4);
    button3_ = button("Button3", tr("Входной блок"));
    button1_ = button("Button1", tr("Синхронизация"));
    button2_ = button("Button2", tr("Выходной блок"));
    button4_ = button("Button4", tr("Ресемплер"));
    button10_ = button("Button10", tr("Фильтры"));
    for (QPushButton* b : {button3_, button1_, button2_, button4_, button10_}) v->addWidget(b);

    v->addStretch(1);
    button14_ = button("Button14", tr("Справка"));
    v->addWidget(button14_);
    return frame;
}

QWidget* TGForm::buildChannelBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);

    comboBox7_ = combo("ComboBox7", itemList(gc::app::kComboBox7Items));
    v->addWidget(comboBox7_);
    button13_ = button("Button13", tr("Применить для всех каналов"));
    v->addWidget(button13_);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    comboBox12_ = combo("ComboBox12", itemList(gc::app::kComboBox12Items));
    grid->addWidget(caption(tr("АЦП")), 0, 0);
    grid->addWidget(comboBox12_, 0, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(title(QStringLiteral("NCO")), 1, 0, 1, 3);
    edit6_ = edit("Edit6", 10);
    grid->addWidget(caption(tr("Частота")), 2, 0);
    grid->addWidget(edit6_, 2, 1);
    grid->addWidget(caption(tr("Гц")), 2, 2);
    edit7_ = edit("Edit7", 6);
    grid->addWidget(caption(tr("Фаза")), 3, 0);
    grid->addWidget(edit7_, 3, 1);
    grid->addWidget(caption(tr("рад")), 3, 2);
    grid->setColumnStretch(1, 1);
    v->addLayout(grid);
    return frame;
}

QWidget* TGForm::buildCicBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);
    v->addWidget(title(tr("CIC Фильтр")));

    edit1_ = edit("Edit1", 5);
    v->addLayout(row({caption(tr("Децимация")), edit1_}, false));

    auto* steps = new QGridLayout;
    steps->setSpacing(2);
    static constexpr std::array<const char*, 8> kStepNames{"Button8",  "Button9",  "Button15",
                                                           "Button16", "Button17", "Button18",
                                                           "Button7",  "Button12"};
    static constexpr std::array<const char*, 8> kStepTexts{"+1",   "-1",   "+10",   "-10",
                                                           "+100", "-100", "+1000", "-1000"};
    for (std::size_t i = 0; i < stepButtons_.size(); ++i) {
        stepButtons_[i] = compact(kStepNames[i], QString::fromLatin1(kStepTexts[i]));
        stepButtons_[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // "+" steps on the upper row, "-" steps below, growing to the right.
        steps->addWidget(stepButtons_[i], int(i % 2), int(i / 2));
    }
    v->addLayout(steps);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    comboBox10_ = combo("ComboBox10", numberItems(gc::app::kComboBox10ItemCount));
    comboBox2_ = combo("ComboBox2", numberItems(gc::app::kComboBox2ItemCount));
    comboBox3_ = combo("ComboBox3", numberItems(gc::app::kComboBox3ItemCount));
    panel2_ = panel("Panel2", QStringLiteral("1.000000"));
    grid->addWidget(caption(tr("Сдвиг АЦП")), 0, 0);
    grid->addWidget(comboBox10_, 0, 1);
    grid->addWidget(caption(tr("Сдвиг влево 1")), 1, 0);
    grid->addWidget(comboBox2_, 1, 1);
    grid->addWidget(caption(tr("Сдвиг влево 6")), 2, 0);
    grid->addWidget(comboBox3_, 2, 1);
    grid->addWidget(caption(tr("Общее усил.")), 3, 0);
    grid->addWidget(panel2_, 3, 1);
    v->addLayout(grid);

    autoScale_ = check("AutoScale", QStringLiteral("AutoScale"));
    checkBox1_ = check("CheckBox1", tr("20 бит"));
    v->addLayout(row({autoScale_, checkBox1_}));
    v->addStretch(1);
    return frame;
}

void TGForm::buildSourceControls(FilterKind kind, QVBoxLayout* v) {
    const gc::app::FilterKindInfo& k = gc::app::info(kind);
    // A long name of its kind sizes the tap file name panel.
    static constexpr std::array<const char*, 3> kNameSamples{"cfir_68.taps", "pfir_gsm.taps",
                                                             "res_8x64_60.taps"};
    const auto name = [](auto field) { return std::string(gc::app::controlName(field)); };
    QStringList items;
    for (int i = 0; i < k.setCount; ++i) items << QString::fromStdString(k.setName(i));

    FilterControls& f = filters_[static_cast<std::size_t>(kind)];
    const std::string tableName = name(k.tableRadio);
    const std::string fileName = name(k.fileRadio);
    v->addWidget(title(QString::fromStdString(gc::model::tx(k.title))));
    f.table = radio(tableName.c_str(), QString::fromStdString(tableName));
    f.list = combo(name(k.list).c_str(), items);
    // Each built-in resampler set tells the stop band its prototype reaches.
    if (kind == FilterKind::Resampler) {
        for (int i = 0; i < k.setCount; ++i) {
            if (const auto db = gc::filters::resamplerStopbandDb(i))
                f.list->setItemData(
                    i,
                    tr("Подавление в полосе заграждения: %1 дБ").arg(QString::number(*db, 'f', 1)),
                    Qt::ToolTipRole);
        }
    }
    f.file = radio(fileName.c_str(), QString::fromStdString(fileName));
    f.name = panel(name(k.name).c_str(),
                   QString::fromUtf8(kNameSamples[static_cast<std::size_t>(kind)]));
    f.name->installEventFilter(this);
    f.read = speedButton(name(k.readButton).c_str(), false, tr("Считать"));
    f.write = speedButton(name(k.writeButton).c_str(), true, tr("Записать"));
    v->addWidget(f.table);
    v->addWidget(f.list);
    v->addWidget(f.file);
    v->addLayout(row({f.name, f.read, f.write}, false));
}

void TGForm::finishFilterBlock(FilterKind kind, QVBoxLayout* v, QGridLayout* gains) {
    v->addLayout(gains);
    QCheckBox* box = check(std::string(gc::app::controlName(gc::app::info(kind).stageBox)).c_str(),
                           QStringLiteral("on"));
    box->hide();
    v->addWidget(box);
    v->addStretch(1);
    connect(box, &QCheckBox::clicked, this,
            [this, kind] { run([this, kind] { presenter_.onStageBoxClick(kind); }); });
}

QWidget* TGForm::buildCfirBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);
    buildSourceControls(FilterKind::Cfir, v);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    panel12_ = panel("Panel12", QStringLiteral("0.00000"));
    comboBox6_ = combo("ComboBox6", numberItems(gc::app::kComboBox6ItemCount));
    panel3_ = panel("Panel3", QStringLiteral("0.00000"));
    grid->addWidget(caption(tr("Усиление")), 0, 0);
    grid->addWidget(panel12_, 0, 1);
    grid->addWidget(caption(tr("Сдвиг влево")), 1, 0);
    grid->addWidget(comboBox6_, 1, 1, Qt::AlignLeft);
    grid->addWidget(caption(tr("Общее усил.")), 2, 0);
    grid->addWidget(panel3_, 2, 1);
    finishFilterBlock(FilterKind::Cfir, v, grid);
    return frame;
}

QWidget* TGForm::buildPfirBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);
    buildSourceControls(FilterKind::Pfir, v);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    panel13_ = panel("Panel13", QStringLiteral("0.00000"));
    edit2_ = edit("Edit2", 5);
    panel8_ = panel("Panel8", QStringLiteral("0.000"));
    panel4_ = panel("Panel4", QStringLiteral("0.00000"));
    grid->addWidget(caption(tr("Усиление")), 0, 0);
    grid->addWidget(panel13_, 0, 1, 1, 2);
    grid->addWidget(caption(tr("Точно")), 1, 0);
    grid->addWidget(edit2_, 1, 1);
    grid->addWidget(panel8_, 1, 2);
    grid->addWidget(caption(tr("Общее усил.")), 2, 0);
    grid->addWidget(panel4_, 2, 1, 1, 2);
    finishFilterBlock(FilterKind::Pfir, v, grid);
    return frame;
}

QWidget* TGForm::buildResamplerBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);
    buildSourceControls(FilterKind::Resampler, v);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    panel6_ = panel("Panel6", QStringLiteral("0.00000"));
    comboBox9_ = combo("ComboBox9", numberItems(gc::app::kComboBox9ItemCount));
    panel23_ = panel("Panel23", QStringLiteral("0.00000"));
    panel20_ = panel("Panel20", QStringLiteral("512"));
    panel22_ = panel("Panel22", QStringLiteral("512"));
    comboBox14_ = combo("ComboBox14", itemList(gc::app::kComboBox14Items));
    panel14_ = panel("Panel14", QStringLiteral("64"));
    panel14_->hide();
    edit4_ = edit("Edit4", 9);
    edit8_ = edit("Edit8", 10);
    int r = 0;
    grid->addWidget(caption(tr("Усиление")), r, 0);
    grid->addWidget(panel6_, r++, 1);
    grid->addWidget(caption(tr("Сдвиг влево")), r, 0);
    grid->addWidget(comboBox9_, r++, 1, Qt::AlignLeft);
    grid->addWidget(caption(tr("Общее усил.")), r, 0);
    grid->addWidget(panel23_, r++, 1);
    grid->addWidget(caption(tr("Длина фильтра")), r, 0);
    grid->addWidget(panel20_, r++, 1);
    grid->addWidget(caption(tr("Число умножений")), r, 0);
    grid->addWidget(panel22_, r++, 1);
    grid->addWidget(caption(QStringLiteral("NDELAY")), r, 0);
    grid->addWidget(comboBox14_, r, 1, Qt::AlignLeft);
    grid->addWidget(panel14_, r++, 2);
    grid->addWidget(caption(tr("Интерполяция")), r, 0);
    grid->addWidget(edit4_, r++, 1);
    grid->addWidget(edit8_, r++, 1);
    grid->setColumnStretch(1, 1);
    finishFilterBlock(FilterKind::Resampler, v, grid);
    return frame;
}

QWidget* TGForm::buildOutputBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);
    v->addWidget(title(tr("Выходные параметры")));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    edit5_ = edit("Edit5", 10);
    panel7_ = panel("Panel7", QStringLiteral("0.000000"));
    grid->addWidget(caption(tr("Выходная частота  ")), 0, 0);
    grid->addWidget(edit5_, 1, 0);
    grid->addWidget(caption(QStringLiteral("Hz")), 1, 1);
    grid->addWidget(caption(tr("Усиление  ")), 2, 0);
    grid->addWidget(panel7_, 3, 0);
    v->addLayout(grid);
    buttonRequirement_ = button("ButtonRequirement", tr("Требования..."));
    buttonRequirement_->setToolTip(
        tr("Требования к каналу: полоса, неравномерность, подавление, наложения"));
    v->addWidget(buttonRequirement_);
    buttonLevels_ = button("ButtonLevels", tr("Уровни..."));
    buttonLevels_->setToolTip(
        tr("Уровни по каскадам канала для заданного входа: запас, ограничение, шум, усиление"));
    v->addWidget(buttonLevels_);
    return frame;
}

QWidget* TGForm::buildPlotBlock() {
    QVBoxLayout* v = nullptr;
    QWidget* frame = block(v);
    auto* plotTitle = title(tr("АЧХ канала"));
    plotTitle->setObjectName(QStringLiteral("Label61"));
    v->addWidget(plotTitle);

    panel5_ = new PlotPanel(this);
    v->addWidget(panel5_, 1);

    auto named = [this](const char* name, const QString& text) {
        QLabel* label = caption(text);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    panel15_ = panel("Panel15", QStringLiteral("25195.310"));
    panel16_ = panel("Panel16", QStringLiteral("-120.00"));
    button27_ = compact("Button27", QStringLiteral("<"));
    button28_ = compact("Button28", QStringLiteral(">"));
    auto* readout = new QHBoxLayout;
    readout->setSpacing(4);
    readout->addWidget(named("Label26", QStringLiteral("x=")));
    readout->addWidget(panel15_);
    readout->addWidget(named("Label41", QStringLiteral("kHz")));
    readout->addSpacing(16);
    readout->addWidget(named("Label39", QStringLiteral("y=")));
    readout->addWidget(panel16_);
    readout->addWidget(named("Label40", QStringLiteral("dB")));
    readout->addStretch(1);
    readout->addSpacing(16);
    readout->addWidget(named("Label50", tr("Курсор")));
    readout->addWidget(button27_);
    readout->addWidget(button28_);
    v->addLayout(readout);

    auto* zoom = new QGridLayout;
    zoom->setHorizontalSpacing(4);
    zoom->setVerticalSpacing(3);
    panel17_ = panel("Panel17", QStringLiteral("4096"));
    panel18_ = panel("Panel18", QStringLiteral("4096"));
    static constexpr std::array<const char*, 4> kZoomTexts{"*2", "/2", "max", "=1"};
    static constexpr std::array<const char*, 4> kXNames{"Button19", "Button20", "Button21",
                                                        "Button22"};
    static constexpr std::array<const char*, 4> kYNames{"Button23", "Button24", "Button25",
                                                        "Button26"};
    zoom->addWidget(named("Label46", tr("Растяжение по X")), 0, 0);
    zoom->addWidget(panel17_, 0, 1);
    zoom->addWidget(named("Label62", tr("Растяжение по Y")), 1, 0);
    zoom->addWidget(panel18_, 1, 1);
    for (std::size_t i = 0; i < 4; ++i) {
        stretchX_[i] = compact(kXNames[i], QString::fromLatin1(kZoomTexts[i]));
        stretchY_[i] = compact(kYNames[i], QString::fromLatin1(kZoomTexts[i]));
        zoom->addWidget(stretchX_[i], 0, int(i) + 2);
        zoom->addWidget(stretchY_[i], 1, int(i) + 2);
    }
    // Fits the frequency axis to the channel: its pass band, stop-band edge and first aliases.
    buttonFit_ = compact("ButtonFit", tr("По каналу"));
    buttonFit_->setShortcut(QKeySequence(Qt::Key_F));
    buttonFit_->setToolTip(
        tr("Растянуть по X так, чтобы были видны полоса пропускания, граница полосы "
           "заграждения и первые полосы наложений около выходной частоты (клавиша F)"));
    zoom->addWidget(buttonFit_, 0, 6);
    zoom->setColumnStretch(7, 1);
    v->addLayout(zoom);

    button11_ = button("Button11", QStringLiteral("R"));
    button11_->hide();
    v->addWidget(button11_);
    return frame;
}

// --- Events --------------------------------------------------------------------------------

void TGForm::connectControls() {
    using P = MainPresenter;
    // Typed fields: the Enter key; leaving the field is caught in eventFilter.
    const std::array<std::pair<QLineEdit*, void (P::*)()>, 8> enters{{
        {edit1_, &P::onEdit1Enter},
        {edit2_, &P::onEdit2Enter},
        {edit3_, &P::onEdit3Enter},
        {edit4_, &P::onEdit4Enter},
        {edit5_, &P::onEdit5Enter},
        {edit6_, &P::onEdit6Enter},
        {edit7_, &P::onEdit7Enter},
        {edit8_, &P::onEdit8Enter},
    }};
    for (const auto& [widget, handler] : enters) {
        const auto h = handler;
        connect(widget, &QLineEdit::returnPressed, this, [this, h] { run(h); });
    }

    const std::array<std::pair<QComboBox*, void (P::*)()>, 10> changes{{
        {comboBox2_, &P::onShiftGainComboChanged},
        {comboBox3_, &P::onShiftGainComboChanged},
        {comboBox6_, &P::onShiftGainComboChanged},
        {comboBox7_, &P::onComboBox7Changed},
        {comboBox9_, &P::onShiftGainComboChanged},
        {comboBox10_, &P::onShiftGainComboChanged},
        {comboBox11_, &P::onComboBox11Changed},
        {comboBox12_, &P::onComboBox12Changed},
        {comboBox13_, &P::onComboBox13Changed},
        {comboBox14_, &P::onComboBox14Changed},
    }};
    for (const auto& [widget, handler] : changes) {
        const auto h = handler;
        connect(widget, &QComboBox::currentIndexChanged, this, [this, h] { run(h); });
    }

    // Each filter kind: its list, and its source, chosen when a radio button becomes ticked
    // (clicking the ticked one again changes nothing).
    for (FilterKind kind : gc::app::kFilterKindList) {
        const FilterControls& f = filters_[static_cast<std::size_t>(kind)];
        connect(f.list, &QComboBox::currentIndexChanged, this,
                [this, kind] { run([this, kind] { presenter_.onListChanged(kind); }); });
        for (const bool table : {true, false}) {
            connect(table ? f.table : f.file, &QRadioButton::toggled, this,
                    [this, kind, table](bool on) {
                        if (on) run([this, kind, table] { presenter_.onSourceClick(kind, table); });
                    });
        }
    }

    const std::array<std::pair<QAbstractButton*, void (P::*)()>, 20> clicks{{
        {checkBox9_, &P::onCheckBox9Click},
        {checkBox1_, &P::onCheckBox1Click},
        {autoScale_, &P::onAutoScaleClick},
        {button13_, &P::onButton13Click},
        {stepButtons_[0], &P::onButton8Click},
        {stepButtons_[1], &P::onButton9Click},
        {stepButtons_[2], &P::onButton15Click},
        {stepButtons_[3], &P::onButton16Click},
        {stepButtons_[4], &P::onButton17Click},
        {stepButtons_[5], &P::onButton18Click},
        {stepButtons_[6], &P::onButton7Click},
        {stepButtons_[7], &P::onButton12Click},
        {button1_, &P::onButton1Click},
        {button2_, &P::onButton2Click},
        {button3_, &P::onButton3Click},
        {button4_, &P::onButton4Click},
        {button10_, &P::onButton10Click},
        {button14_, &P::onButton14Click},
        {buttonRequirement_, &P::onButtonRequirementClick},
        {buttonLevels_, &P::onButtonLevelsClick},
    }};
    for (const auto& [widget, handler] : clicks) {
        const auto h = handler;
        connect(widget, &QAbstractButton::clicked, this, [this, h] { run(h); });
    }
    for (int i = 0; i < 4; ++i) {
        connect(channelBoxes_[std::size_t(i)], &QCheckBox::clicked, this,
                [this, i] { onChannelBoxClicked(i); });
    }

    const std::array<std::pair<QAbstractButton*, FileCommand>, kFileCommandCount> files{{
        {button5_, FileCommand::ReadConfiguration},
        {button6_, FileCommand::WriteConfiguration},
        {filters_[0].read, FileCommand::ReadCfirTaps},
        {filters_[0].write, FileCommand::WriteCfirTaps},
        {filters_[1].read, FileCommand::ReadPfirTaps},
        {filters_[1].write, FileCommand::WritePfirTaps},
        {filters_[2].read, FileCommand::ReadRfirTaps},
        {filters_[2].write, FileCommand::WriteRfirTaps},
    }};
    for (const auto& [widget, command] : files) {
        const FileCommand c = command;
        connect(widget, &QAbstractButton::clicked, this, [this, c] { runFileCommand(c); });
    }

    // Double-clicks open the stage response windows. The filter lists show their item in a
    // read-only field, so that a double-click on it reaches the window instead of opening and
    // closing the list. The arrow opens the list at once, a single click on the field once it
    // is clear that no second click follows.
    for (const FilterControls& f : filters_) {
        QComboBox* c = f.list;
        c->setEditable(true);
        c->lineEdit()->setReadOnly(true);
        c->lineEdit()->installEventFilter(this);
        c->installEventFilter(this);
    }
    listClickTimer_.setSingleShot(true);
    connect(&listClickTimer_, &QTimer::timeout, this, [this] {
        if (clickedList_ != nullptr && clickedList_->isEnabled()) clickedList_->showPopup();
        clickedList_ = nullptr;
    });

    // The plot.
    using C = gc::app::ChannelPlotPresenter;
    PlotBox* box = panel5_->plotBox();
    box->setDrawFunction([this](gc::response::Canvas& canvas) {
        plot_.draw(canvas);
        if (plotOverlay_) plotOverlay_(canvas);
        // Drawing writes the texts around the plot (the axis title after the first drawing);
        // they are shown once the paint is over, as setting them may move the labels.
        if (!plotLabelsQueued_) {
            plotLabelsQueued_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    plotLabelsQueued_ = false;
                    showPlotLabels();
                },
                Qt::QueuedConnection);
        }
    });
    box->setMousePressFunction([this](MouseButton b, int x, int y) {
        runPlot([&] { plot_.onCICPBoxMouseDown(b, x, y); });
    });
    box->setMouseMoveFunction(
        [this](int x, int y) { runPlot([&] { plot_.onCICPBoxMouseMove(x, y); }); });
    box->setMouseReleaseFunction(
        [this](MouseButton b, int x, int y) { runPlot([&] { plot_.onCICPBoxMouseUp(b, x, y); }); });
    panel5_->setMouseReleaseFunction(
        [this](MouseButton b) { runPlot([&] { plot_.onPanel5MouseUp(b); }); });
    const std::array<std::pair<QAbstractButton*, void (C::*)()>, 12> plotClicks{{
        {button27_, &C::onButton27Click},
        {button28_, &C::onButton28Click},
        {stretchX_[0], &C::onButton19Click},
        {stretchX_[1], &C::onButton20Click},
        {stretchX_[2], &C::onButton21Click},
        {stretchX_[3], &C::onButton22Click},
        {stretchY_[0], &C::onButton23Click},
        {stretchY_[1], &C::onButton24Click},
        {stretchY_[2], &C::onButton25Click},
        {stretchY_[3], &C::onButton26Click},
        {button11_, &C::onButton11Click},
        {buttonFit_, &C::onButtonFitClick},
    }};
    for (const auto& [widget, handler] : plotClicks) {
        const auto h = handler;
        connect(widget, &QAbstractButton::clicked, this, [this, h] { runPlot(h); });
    }
    // The wheel stretches the frequency axis as "*2" (away from the user) and "/2" do; the
    // arrow keys move the cursor as "<" and ">" do.
    box->setWheelFunction([this](int steps) {
        for (int i = 0; i < std::abs(steps); ++i)
            runPlot(steps > 0 ? &C::onButton19Click : &C::onButton20Click);
    });
    box->setArrowFunction(
        [this](int step) { runPlot(step < 0 ? &C::onButton27Click : &C::onButton28Click); });

    // Ctrl+O and Ctrl+S: "Считать" and "Записать", from this window and its tool windows.
    const std::array<std::pair<QKeySequence::StandardKey, FileCommand>, 2> keys{{
        {QKeySequence::Open, FileCommand::ReadConfiguration},
        {QKeySequence::Save, FileCommand::WriteConfiguration},
    }};
    for (const auto& [key, command] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::ApplicationShortcut);
        const FileCommand c = command;
        connect(shortcut, &QShortcut::activated, this, [this, c] { runFileCommand(c); });
    }
}

void TGForm::installPlotMenu(std::function<std::string()> data) {
    plotMenu_ = new PlotMenu(panel5_, std::move(data), this);
    panel5_->setMenu(plotMenu_);
}

QComboBox* TGForm::filterListOf(QObject* watched) const {
    for (const FilterControls& f : filters_) {
        if (watched == f.list || watched == f.list->lineEdit()) return f.list;
    }
    return nullptr;
}

bool TGForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        QComboBox* list = filterListOf(watched);
        if (list != nullptr && watched == list->lineEdit() &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            clickedList_ = list;
            listClickTimer_.start(QApplication::doubleClickInterval());
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (filterListOf(watched) != nullptr) {
            listClickTimer_.stop();
            clickedList_ = nullptr;
        }
        if (watched == edit1_) run(&MainPresenter::onEdit1DoubleClick);
        for (FilterKind kind : gc::app::kFilterKindList) {
            const FilterControls& f = filters_[static_cast<std::size_t>(kind)];
            if (watched == f.list || watched == f.list->lineEdit()) {
                run([this, kind] { presenter_.openStageWindow(kind, false); });
                return true;
            }
            if (watched == f.name) run([this, kind] { presenter_.openStageWindow(kind, true); });
        }
    } else if (event->type() == QEvent::FocusOut) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the field for another control of this window; a dialog or another window
        // taking the focus is not an exit.
        if (edit != nullptr && !closing_ && isVisible() && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason) {
            onEditExit(edit);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TGForm::onEditExit(QLineEdit* edit) {
    if (edit == edit1_) {
        run(&MainPresenter::onEdit1Exit);
    } else if (edit == edit2_) {
        run(&MainPresenter::onEdit2Exit);
    } else if (edit == edit3_) {
        run(&MainPresenter::onEdit3Exit);
    } else if (edit == edit4_) {
        run(&MainPresenter::onEdit4Exit);
    } else if (edit == edit6_) {
        run(&MainPresenter::onEdit6Exit);
    } else if (edit == edit7_) {
        run(&MainPresenter::onEdit7Exit);
    } else if (edit == edit5_) {
        // Edit5 and Edit8 act on the Enter key only; leaving them puts back the value in effect.
        run(&MainPresenter::onEdit5Exit);
    } else if (edit == edit8_) {
        run(&MainPresenter::onEdit8Exit);
    }
}

void TGForm::onChannelBoxClicked(int box) {
    collectInput();
    presenter_.onChannelBoxClick(box);
    showState();
}

void TGForm::closeEvent(QCloseEvent* event) {
    closing_ = true;
    if (closeHandler_) closeHandler_();
    event->accept();
}

void TGForm::keyPressEvent(QKeyEvent* event) {
    // The window itself does nothing with keys; fields and buttons have their own.
    event->ignore();
}

bool TGForm::isBackground(const QWidget* widget) const {
    return widget == nullptr || widget == this || widget->property(kBackgroundProperty).toBool();
}

void TGForm::mouseReleaseEvent(QMouseEvent* event) {
    // Only a release on the window's own surface (between blocks, on a block's face or a
    // caption) counts; one that a control let through does not.
    const QWidget* under = childAt(event->position().toPoint());
    if (isBackground(under)) {
        MouseButton button = MouseButton::Left;
        if (event->button() == Qt::RightButton) {
            button = MouseButton::Right;
        } else if (event->button() == Qt::MiddleButton) {
            button = MouseButton::Middle;
        }
        runPlot([&] { plot_.onFormMouseUp(button); });
    }
    event->accept();
}

// --- Binding ---------------------------------------------------------------------------------

void TGForm::setFileCommand(FileCommand command, std::function<void()> action) {
    fileCommands_[std::size_t(command)] = std::move(action);
}

void TGForm::setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }

void TGForm::setPlotOverlay(std::function<void(gc::response::Canvas&)> overlay) {
    plotOverlay_ = std::move(overlay);
    panel5_->plotBox()->update();
}

void TGForm::run(void (MainPresenter::*handler)()) {
    collectInput();
    (presenter_.*handler)();
    showState();
}

void TGForm::run(const std::function<void()>& action) {
    collectInput();
    action();
    showState();
}

void TGForm::runPlot(void (gc::app::ChannelPlotPresenter::*handler)()) {
    collectInput();
    (plot_.*handler)();
    showState();
}

void TGForm::runPlot(const std::function<void()>& action) {
    collectInput();
    action();
    showState();
}

void TGForm::runFileCommand(FileCommand command) {
    const auto& action = fileCommands_[std::size_t(command)];
    if (!action) return;
    collectInput();
    action();
    showState();
}

void TGForm::collectInput() {
    using namespace gc::app;
    auto& s = state_;
    for (const auto& [control, widget] : bindings_) {
        const ControlField& field = control->field;
        if (const auto* edit = std::get_if<EditState MainState::*>(&field))
            (s.*(*edit)).text = static_cast<QLineEdit*>(widget)->text().toStdString();
        else if (const auto* combo = std::get_if<ComboState MainState::*>(&field))
            (s.*(*combo)).index = static_cast<QComboBox*>(widget)->currentIndex();
        else if (const auto* check = std::get_if<CheckState MainState::*>(&field))
            (s.*(*check)).checked = static_cast<QCheckBox*>(widget)->isChecked();
        else if (const auto* radio = std::get_if<RadioState MainState::*>(&field))
            (s.*(*radio)).checked = static_cast<QRadioButton*>(widget)->isChecked();
    }
}

void TGForm::showState() {
    using namespace gc::app;
    const auto& s = state_;
    for (const auto& [control, widget] : bindings_) {
        const ControlField& field = control->field;
        if (const auto* edit = std::get_if<EditState MainState::*>(&field)) {
            showEdit(static_cast<QLineEdit*>(widget), s.*(*edit));
        } else if (const auto* panel = std::get_if<PanelState MainState::*>(&field)) {
            showPanel(static_cast<ValuePanel*>(widget), s.*(*panel));
        } else if (const auto* combo = std::get_if<ComboState MainState::*>(&field)) {
            showCombo(static_cast<QComboBox*>(widget), s.*(*combo));
        } else if (const auto* check = std::get_if<CheckState MainState::*>(&field)) {
            showCheck(static_cast<QCheckBox*>(widget), s.*(*check));
        } else if (const auto* radio = std::get_if<RadioState MainState::*>(&field)) {
            showRadio(static_cast<QRadioButton*>(widget), s.*(*radio));
        } else if (const auto* button = std::get_if<ButtonState MainState::*>(&field)) {
            showButton(static_cast<QAbstractButton*>(widget), s.*(*button));
        }
    }
    // The plot's read-out panels (Panel15..Panel18) come from the plot.
    showPlotLabels();
    if (afterChange_) afterChange_();
}

void TGForm::showPlotLabels() {
    const auto& l = plot_.labels();
    panel5_->setLevelTexts({fromStd(l.Label11), fromStd(l.Label12), fromStd(l.Label13),
                            fromStd(l.Label17), fromStd(l.Label18), fromStd(l.Label19)});
    panel5_->setDenominatorTexts(
        {fromStd(l.Label25), fromStd(l.Label43), fromStd(l.Label44), fromStd(l.Label45)});
    panel5_->setFrequencyTexts(
        {fromStd(l.Label34), fromStd(l.Label35), fromStd(l.Label36), fromStd(l.Label37)});
    panel5_->setAxisTitle(fromStd(l.Label38));
    panel5_->setFrequencyUnit(fromStd(l.Label33));
    panel15_->setText(fromStd(l.Panel15));
    panel16_->setText(fromStd(l.Panel16));
    panel17_->setText(fromStd(l.Panel17));
    panel18_->setText(fromStd(l.Panel18));
}

}  // namespace gc::ui
