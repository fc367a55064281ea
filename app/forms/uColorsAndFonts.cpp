#include "app/forms/uColorsAndFonts.h"

#include "buffer/forms/ColorRef.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/forms/ButtonRow.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const editorTag = "[EDITOR]";
const char* const buttonsTag = "[COMMON_BUTTONS]";
constexpr int sampleWidth = 261;
constexpr int sampleHeight = 157;

QString text(const TLanguageGroup& group, int offset, const char* own)
{
    return Cp1251ToQString(group.Text(offset, own));
}

QLabel* newLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TfmcolorsAndFonts::TfmcolorsAndFonts(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmcolorsAndFonts");
    ChooseColor = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, this);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    // Only fixed-pitch fonts: the dump's columns are counted in characters.
    ChooseFont = [this](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initial, this, QString(), QFontDialog::MonospacedFonts);
        return ok ? std::optional<QFont>(f) : std::nullopt;
    };

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    TabSheet1 = buildColorsPage();
    TabSheet2 = buildParametersPage();
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());

    SpeedButton2 = new QPushButton("OK", this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setDefault(true);
    SpeedButton1 = new QPushButton(this);
    SpeedButton1->setObjectName("SpeedButton1");
    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl1);
    form->addLayout(ButtonRow({SpeedButton2, SpeedButton1}));
    connect(SpeedButton1, &QPushButton::clicked, this, &TfmcolorsAndFonts::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TfmcolorsAndFonts::SpeedButton2Click);
    resize(543, 397);
    relabel();
    PageControl1->setCurrentWidget(TabSheet1);
}

QWidget* TfmcolorsAndFonts::buildColorsPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");

    GroupBox8 = new QGroupBox(page);
    GroupBox8->setObjectName("GroupBox8");
    Panel2 = new QFrame(GroupBox8);
    Panel2->setObjectName("Panel2");
    Panel2->setFrameShape(QFrame::StyledPanel);
    Label8 = newLabel(Panel2, "Label8");
    Label8->setText(QStringLiteral("24C02"));
    QFont chip = Label8->font();
    chip.setBold(true);
    chip.setUnderline(true);
    Label8->setFont(chip);
    (new QVBoxLayout(Panel2))->addWidget(Label8, 0, Qt::AlignCenter);
    CheckBox2 = new QCheckBox(GroupBox8);
    CheckBox2->setObjectName("CheckBox2");
    auto* chipLayout = new QVBoxLayout(GroupBox8);
    chipLayout->addWidget(Panel2);
    chipLayout->addWidget(CheckBox2);
    connect(CheckBox2, &QCheckBox::clicked, this, &TfmcolorsAndFonts::CheckBox2Click);

    GroupBox6 = new QGroupBox(page);
    GroupBox6->setObjectName("GroupBox6");
    Image1 = newLabel(GroupBox6, "Image1");
    Image1->setFixedSize(sampleWidth, sampleHeight);
    auto* sampleLayout = new QVBoxLayout(GroupBox6);
    sampleLayout->addWidget(Image1, 0, Qt::AlignHCenter | Qt::AlignTop);
    sampleLayout->addStretch(1);

    GroupBox1 = new QGroupBox(page);
    GroupBox1->setObjectName("GroupBox1");
    Label1 = newLabel(GroupBox1, "Label1");
    Button7 = new QPushButton(GroupBox1);
    Button7->setObjectName("Button7");
    auto* fontLayout = new QHBoxLayout(GroupBox1);
    fontLayout->addWidget(Label1, 1);
    fontLayout->addWidget(Button7);
    connect(Button7, &QPushButton::clicked, this, &TfmcolorsAndFonts::Button7Click);

    GroupBox2 = buildColorsGroup(page);

    auto* layout = new QGridLayout(page);
    layout->addWidget(GroupBox8, 0, 0);
    layout->addWidget(GroupBox6, 1, 0);
    layout->addWidget(GroupBox1, 0, 1);
    layout->addWidget(GroupBox2, 1, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);
    return page;
}

// Four groups of swatches, each swatch with its label and button.
QGroupBox* TfmcolorsAndFonts::buildColorsGroup(QWidget* page)
{
    auto* box = new QGroupBox(page);
    box->setObjectName("GroupBox2");
    auto* colors = new QVBoxLayout(box);
    const char* const groupNames[] = {"GroupBox3", "GroupBox4", "GroupBox5", "GroupBox7"};
    QGroupBox** groups[] = {&GroupBox3, &GroupBox4, &GroupBox5, &GroupBox7};
    QGridLayout* grids[4];
    for (int g = 0; g < 4; ++g) {
        *groups[g] = new QGroupBox(box);
        (*groups[g])->setObjectName(groupNames[g]);
        grids[g] = new QGridLayout(*groups[g]);
        grids[g]->setColumnStretch(0, 1);
        colors->addWidget(*groups[g]);
    }
    // Swatch i: its group, row in the group and label.
    const struct {
        int Group;
        QLabel** Label;
        const char* Name;
    } rows[EditorColorCount] = {{0, &Label2, "Label2"}, {0, &Label3, "Label3"}, {1, &Label4, "Label4"},
                                {1, &Label5, "Label5"}, {2, &Label6, "Label6"}, {3, &Label7, "Label7"}};
    for (int i = 0; i < EditorColorCount; ++i) {
        QGroupBox* group = *groups[rows[i].Group];
        *rows[i].Label = newLabel(group, rows[i].Name);
        Shapes[i] = new QFrame(group);
        Shapes[i]->setObjectName(QStringLiteral("Shape%1").arg(i + 1));
        Shapes[i]->setFixedSize(36, 18);
        Shapes[i]->setFrameShape(QFrame::Box);
        Shapes[i]->setAutoFillBackground(true);
        Buttons[i] = new QPushButton(group);
        Buttons[i]->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        QGridLayout* grid = grids[rows[i].Group];
        const int row = grid->rowCount() - (grid->count() == 0 ? 1 : 0);
        grid->addWidget(*rows[i].Label, row, 0);
        grid->addWidget(Shapes[i], row, 1);
        grid->addWidget(Buttons[i], row, 2);
        connect(Buttons[i], &QPushButton::clicked, this, [this, i] { ButtonClick(i); });
    }
    colors->addStretch(1);
    return box;
}

QWidget* TfmcolorsAndFonts::buildParametersPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");
    auto* layout = new QGridLayout(page);
    auto addCombo = [&](QLabel*& label, const char* labelName, QComboBox*& combo, const char* name) {
        label = newLabel(page, labelName);
        combo = new QComboBox(page);
        combo->setObjectName(name);
        combo->addItems({QString(), QString()});
        label->setBuddy(combo);
        const int row = layout->rowCount();
        layout->addWidget(label, row, 0);
        layout->addWidget(combo, row, 1);
    };
    addCombo(Label9, "Label9", ComboBox2, "ComboBox2");
    addCombo(Label10, "Label10", ComboBox3, "ComboBox3");
    const std::pair<QCheckBox**, const char*> boxes[] = {
        {&CheckBox4, "CheckBox4"},   {&CheckBox3, "CheckBox3"},   {&CheckBox8, "CheckBox8"},
        {&CheckBox9, "CheckBox9"},   {&CheckBox1, "CheckBox1"},   {&CheckBox5, "CheckBox5"},
        {&CheckBox11, "CheckBox11"}, {&CheckBox6, "CheckBox6"},   {&cbDisableBackup, "cbDisableBackup"},
        {&cbNoMarkFile, "cbNoMarkFile"},
    };
    for (auto [box, name] : boxes) {
        *box = new QCheckBox(page);
        (*box)->setObjectName(name);
        layout->addWidget(*box, layout->rowCount(), 0, 1, 3);
    }
    addCombo(Label11, "Label11", ComboBox1, "ComboBox1");
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(layout->rowCount(), 1);
    return page;
}

void TfmcolorsAndFonts::relabel()
{
    const TLanguageGroup t(editorTag);
    setWindowTitle(text(t, 1, "Editor parameters"));
    PageControl1->setTabText(0, text(t, 2, "Colors and font"));
    PageControl1->setTabText(1, text(t, 3, "Parameters"));
    GroupBox8->setTitle(text(t, 4, "Chip name view"));
    CheckBox2->setText(text(t, 5, "Bold font"));
    GroupBox6->setTitle(text(t, 6, "Example"));
    GroupBox1->setTitle(text(t, 7, "Font"));
    for (QLabel* label : {Label2, Label4, Label6, Label7})
        label->setText(text(t, 7, "Font"));
    Button7->setText(text(t, 8, "Change"));
    GroupBox2->setTitle(text(t, 9, "Colors"));
    for (QLabel* label : {Label3, Label5})
        label->setText(text(t, 10, "Background"));
    GroupBox3->setTitle(text(t, 11, "Default"));
    GroupBox4->setTitle(text(t, 12, "Selection"));
    GroupBox5->setTitle(text(t, 13, "Mismatch"));
    GroupBox7->setTitle(text(t, 14, "Address field"));
    Label9->setText(text(t, 15, "Show tabs"));
    Label10->setText(text(t, 16, "Show parameter panel"));
    for (QComboBox* combo : {ComboBox2, ComboBox3}) {
        combo->setItemText(0, text(t, 17, "On the top"));
        combo->setItemText(1, text(t, 18, "On the bottom"));
    }
    CheckBox4->setText(text(t, 19, "Pass to the next address after selection by INS key"));
    CheckBox3->setText(text(t, 20, "Hide mismatch after opening a file or chip selection"));
    CheckBox8->setText(text(t, 21, "Show grid in editor"));
    CheckBox9->setText(text(t, 22, "Show byte/word address in editor"));
    CheckBox1->setText(text(t, 23, "Persistent blocks"));
    CheckBox5->setText(text(t, 24, "Do not show tab if one buffer is opened only "));
    CheckBox11->setText(text(t, 25, "Require confirmation if file size disagree buffer size"));
    CheckBox6->setText(text(t, 26, "Erase buffer after chip select"));
    cbDisableBackup->setText(text(t, 27, "Disable backup"));
    Label11->setText(text(t, 28, "Default file name for save"));
    ComboBox1->setItemText(0, text(t, 29, "Empty"));
    ComboBox1->setItemText(1, text(t, 30, "Date + time + IC type"));
    cbNoMarkFile->setText(text(t, 31, "Do not use markers file"));

    const TLanguageGroup b(buttonsTag);
    for (QPushButton* button : Buttons)
        button->setText(text(b, 6, "Change"));
    // Without the buttons' group the font's button keeps the window's text.
    const std::string change = QStringToCp1251(Button7->text());
    Button7->setText(text(b, 6, change.c_str()));
    SpeedButton1->setText(text(b, 13, "Cancel"));
}

QWidget* TfmcolorsAndFonts::optionControl(const char* name) const { return findChild<QWidget*>(name); }

void TfmcolorsAndFonts::FormShow()
{
    for (const TEditorOption& option : EditorOptions()) {
        const bool shown = OptionShown(option, WorkParam);
        QWidget* control = optionControl(option.Control);
        if (auto* box = qobject_cast<QCheckBox*>(control))
            box->setChecked(shown);
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            combo->setCurrentIndex(shown ? 1 : 0);
    }
    showFontName();
    const auto settings = EditorColorSettings();
    for (int i = 0; i < EditorColorCount; ++i)
        setSwatch(i, uint32_t(*settings[static_cast<size_t>(i)].Setting));
    CheckBox2->setChecked(Label8->font().bold());
    PaintSample();
}

void TfmcolorsAndFonts::SpeedButton2Click()
{
    const auto settings = EditorColorSettings();
    for (int i = 0; i < EditorColorCount; ++i)
        *settings[static_cast<size_t>(i)].Setting = int32_t(swatches_[i]);
    uint32_t bits = WorkParam;
    for (const TEditorOption& option : EditorOptions()) {
        QWidget* control = optionControl(option.Control);
        bool state = false;
        if (auto* box = qobject_cast<QCheckBox*>(control))
            state = box->isChecked();
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            state = combo->currentIndex() == 1;
        bits = StoreOption(option, state, bits);
    }
    WorkParam = bits;
    accept();
}

void TfmcolorsAndFonts::SpeedButton1Click() { reject(); }

void TfmcolorsAndFonts::ButtonClick(int i)
{
    if (const auto chosen = ChooseColor(ToQColor(swatches_[i]))) {
        setSwatch(i, ToColorRef(*chosen));
        PaintSample();
    }
}

void TfmcolorsAndFonts::Button7Click()
{
    QFont initial = SampleFont;
    if (const auto chosen = ChooseFont(initial))
        SampleFont = *chosen;
    showFontName();
    PaintSample();
}

void TfmcolorsAndFonts::CheckBox2Click()
{
    QFont f = Label8->font();
    if (CheckBox2->isChecked()) {
        f.setBold(true);
    } else {
        f.setBold(false);
        f.setItalic(false);
        f.setStrikeOut(false);
        f.setUnderline(true);
    }
    Label8->setFont(f);
}

void TfmcolorsAndFonts::setSwatch(int i, uint32_t color)
{
    swatches_[i] = color;
    QPalette palette = Shapes[i]->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    Shapes[i]->setPalette(palette);
}

void TfmcolorsAndFonts::showFontName()
{
    Label1->setText(SampleFont.family() + "," + QString::number(SampleFont.pointSize()));
}

void TfmcolorsAndFonts::PaintSample()
{
    QPixmap image(sampleWidth, sampleHeight);
    QPainter painter(&image);
    painter.setFont(SampleFont);
    const QFontMetrics metrics(SampleFont);
    uint32_t colors[EditorColorCount];
    std::copy(std::begin(swatches_), std::end(swatches_), std::begin(colors));
    for (const TSampleStep& step : SampleSteps(sampleWidth, sampleHeight, metrics.horizontalAdvance(QLatin1Char('0')),
                                               metrics.height(), colors)) {
        if (step.Fill) {
            painter.fillRect(step.X, step.Y, step.Width, step.Height, ToQColor(step.Color));
        } else {
            painter.setPen(ToQColor(step.Color));
            painter.drawText(step.X, step.Y + metrics.ascent(), QString::fromLatin1(step.Text.c_str()));
        }
    }
    painter.end();
    Image1->setPixmap(image);
}

void TfmcolorsAndFonts::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}
