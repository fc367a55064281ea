#include "buffer/forms/uShowSelection.h"

#include "buffer/forms/ColorRef.h"
#include "buffer/forms/DialogTexts.h"
#include "platform/forms/ButtonRow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel* newPanel(QWidget* parent)
{
    auto* panel = new QLabel(parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    // Room for the longest text, so no number is ever cut: the 24 digits
    // of 12 source bytes (an octal number of 8 bytes takes 22).
    const int digits = panel->fontMetrics().horizontalAdvance(QString(2 * SelectionSourceCapacity, '0'));
    panel->setMinimumWidth(std::max(160, digits + 4 * panel->frameWidth() + 8));
    panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return panel;
}

} // namespace

TfmShowSelection::TfmShowSelection(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmShowSelection");
    GroupBox1 = new QGroupBox(this);
    Panel1 = newPanel(GroupBox1);
    (new QVBoxLayout(GroupBox1))->addWidget(Panel1);
    SpeedButton1 = new QPushButton("OK", this);
    SpeedButton1->setDefault(true);

    auto* buttons = ButtonRow({SpeedButton1});
    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox1);
    left->addWidget(buildResult());
    left->addStretch(1);
    auto* form = new QGridLayout(this);
    form->addLayout(left, 0, 0);
    form->addWidget(buildConversion(), 0, 1);
    form->addLayout(buttons, 1, 0, 1, 2);

    const std::pair<QObject*, const char*> names[] = {
        {GroupBox1, "GroupBox1"}, {Panel1, "Panel1"},       {GroupBox3, "GroupBox3"}, {Label1, "Label1"},
        {Label2, "Label2"},       {Label3, "Label3"},       {Panel2, "Panel2"},       {Panel3, "Panel3"},
        {Panel4, "Panel4"},       {GroupBox2, "GroupBox2"}, {CheckBox1, "CheckBox1"}, {CheckBox2, "CheckBox2"},
        {CheckBox3, "CheckBox3"}, {CheckBox4, "CheckBox4"}, {CheckBox5, "CheckBox5"}, {CheckBox6, "CheckBox6"},
        {Edit1, "Edit1"},         {Label4, "Label4"},       {Button1, "Button1"},     {Button2, "Button2"},
        {Button3, "Button3"},     {SpeedButton1, "SpeedButton1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6})
        connect(box, &QCheckBox::clicked, this, &TfmShowSelection::Convert);
    connect(Button1, &QPushButton::clicked, this, &TfmShowSelection::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfmShowSelection::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TfmShowSelection::Button3Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::accept);
    relabel();
}

QGroupBox* TfmShowSelection::buildResult()
{
    GroupBox3 = new QGroupBox(this);
    Label1 = new QLabel(GroupBox3);
    Label2 = new QLabel(GroupBox3);
    Label3 = new QLabel(GroupBox3);
    Panel2 = newPanel(GroupBox3);
    Panel3 = newPanel(GroupBox3);
    Panel4 = newPanel(GroupBox3);
    auto* result = new QGridLayout(GroupBox3);
    result->addWidget(Label1, 0, 0);
    result->addWidget(Panel2, 0, 1);
    result->addWidget(Label2, 1, 0);
    result->addWidget(Panel3, 1, 1);
    result->addWidget(Label3, 2, 0);
    result->addWidget(Panel4, 2, 1);
    return GroupBox3;
}

QGroupBox* TfmShowSelection::buildConversion()
{
    GroupBox2 = new QGroupBox(this);
    CheckBox5 = new QCheckBox(GroupBox2);
    CheckBox1 = new QCheckBox(GroupBox2);
    CheckBox2 = new QCheckBox(GroupBox2);
    CheckBox3 = new QCheckBox(GroupBox2);
    CheckBox4 = new QCheckBox(GroupBox2);
    CheckBox6 = new QCheckBox("XOR by", GroupBox2);
    Edit1 = new QLineEdit("0x000000", GroupBox2);
    Label4 = new QLabel(GroupBox2);
    Button1 = new QPushButton(GroupBox2);
    Button2 = new QPushButton(GroupBox2);
    Button3 = new QPushButton(GroupBox2);
    for (QPushButton* button : {Button1, Button2, Button3})
        button->setAutoDefault(false);

    auto* conversion = new QGridLayout(GroupBox2);
    int row = 0;
    for (QCheckBox* box : {CheckBox5, CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        conversion->addWidget(box, row++, 0, 1, 3);
    conversion->addWidget(CheckBox6, row, 0);
    conversion->addWidget(Edit1, row++, 1, 1, 2);
    conversion->addWidget(Label4, row++, 0, 1, 3);
    conversion->addWidget(Button1, row, 0);
    conversion->addWidget(Button2, row, 1);
    conversion->addWidget(Button3, row++, 2);
    conversion->setRowStretch(row, 1);
    return GroupBox2;
}

void TfmShowSelection::relabel()
{
    const TLanguageGroup window("[SELECTION_VIEW]");
    setWindowTitle(GroupText(window, 1, "Show number"));
    GroupBox1->setTitle(GroupText(window, 2, "Hexadecimal source"));
    GroupBox3->setTitle(GroupText(window, 3, "Result"));
    Label1->setText(GroupText(window, 4, "Hexadecimal view"));
    Label2->setText(GroupText(window, 5, "Octal view"));
    Label3->setText(GroupText(window, 6, "Decimal view"));
    GroupBox2->setTitle(GroupText(window, 7, "Conversion"));
    ShiftTexts.Bits = window.Text(9, ShiftTexts.Bits);
    Button1->setText("<< " + GroupText(window, 10, "Left"));
    Button2->setText(GroupText(window, 11, "Right") + " >>");
    CheckBox5->setText(GroupText(window, 12, "Reverse byte order"));
    CheckBox1->setText(GroupText(window, 13, "Swap bytes"));
    CheckBox2->setText(GroupText(window, 14, "Swap nibbles"));
    CheckBox3->setText(GroupText(window, 15, "Mirror bits in bytes"));
    CheckBox4->setText(GroupText(window, 16, "Invert"));
    ShiftTexts.ShiftOn = window.Text(17, ShiftTexts.ShiftOn);
    ShiftTexts.ToTheRight = window.Text(18, ShiftTexts.ToTheRight);
    ShiftTexts.ToTheLeft = window.Text(19, ShiftTexts.ToTheLeft);
    Button3->setText(GroupText(window, 20, "Reset"));
    BitShift = 0;
    Label4->setText(Cp1251ToQString(ShiftCaption(0, ShiftTexts).Text));
}

void TfmShowSelection::FormShow()
{
    CheckBox1->setEnabled(SelectionSwapAllowed(SourceCount));
    Panel1->setText(QString::fromStdString(SelectionSourceText(SourceBytes.data(), SourceCount)));
    Convert();
}

void TfmShowSelection::Convert()
{
    const TShiftCaption caption = ShiftCaption(BitShift, ShiftTexts);
    Label4->setText(Cp1251ToQString(caption.Text));
    QPalette palette = Label4->palette();
    palette.setColor(QPalette::WindowText, ToQColor(caption.Color));
    Label4->setPalette(palette);

    TSelectionOptions options;
    options.SwapBytes = CheckBox1->isEnabled() && CheckBox1->isChecked();
    options.SwapNibbles = CheckBox2->isChecked();
    options.MirrorBits = CheckBox3->isChecked();
    options.Invert = CheckBox4->isChecked();
    options.ReverseOrder = CheckBox5->isChecked();
    options.XorBy = CheckBox6->isChecked();
    options.XorText = QStringToCp1251(Edit1->text());
    options.BitShift = BitShift;
    const TSelectionResult result = ConvertSelection(SourceBytes.data(), SourceCount, options);
    Panel2->setText(QString::fromStdString(result.Hex));
    Panel3->setText(QString::fromStdString(result.Octal));
    Panel4->setText(QString::fromStdString(result.Decimal));
}

void TfmShowSelection::Button1Click()
{
    BitShift = StepBitShift(BitShift, -1);
    Convert();
}

void TfmShowSelection::Button2Click()
{
    BitShift = StepBitShift(BitShift, +1);
    Convert();
}

void TfmShowSelection::Button3Click()
{
    BitShift = 0;
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5})
        box->setChecked(false);
    Convert();
}

void TfmShowSelection::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}
