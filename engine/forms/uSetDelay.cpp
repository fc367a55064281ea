#include "engine/forms/uSetDelay.h"

#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/SysUtils.h"
#include "platform/forms/ButtonRow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const windowTag = "[PARAMETERS_WINDOW]";
const char* const buttonsTag = "[COMMON_BUTTONS]";
constexpr int helpContext = 11;

QString text(const TLanguageGroup& group, int offset, const char* own)
{
    return Cp1251ToQString(group.Text(offset, own));
}

QSpinBox* newSpinEdit(QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(SetDelayMinimum, SetDelayMaximum);
    spin->setAlignment(Qt::AlignRight);
    spin->setMinimumWidth(80);
    return spin;
}

} // namespace

std::string ApplyDeviceParameters(const TDeviceParameters& values)
{
    // Everything is checked before anything is stored, so that a bad delay
    // never leaves the time-out changed and the bits unchanged.
    const auto delay = TryStrToInt(values.PowerOnDelayText);
    if (!delay)
        return "'" + values.PowerOnDelayText + "' is not a valid integer value";
    if (*delay < SetDelayMinimum || *delay > SetDelayMaximum)
        return "The power-on delay must be from " + IntToStr(SetDelayMinimum) + " to " + IntToStr(SetDelayMaximum) +
               " ms";
    UsbTimeOut = values.UsbTimeOut;
    PowerOnDelay = *delay;
    WorkParam = (WorkParam & ~SetDelayOptionMask) | (values.OptionBits & SetDelayOptionMask);
    return {};
}

TfmSetDelay::TfmSetDelay(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmSetDelay");
    // Every text but OK's is set once, by relabel().

    PageControl1 = new QTabWidget(this);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());

    Label1 = new QLabel(TabSheet1);
    SpinEdit1 = newSpinEdit(TabSheet1);
    Label7 = new QLabel(TabSheet1);
    Label3 = new QLabel(TabSheet1);
    SpinEdit2 = newSpinEdit(TabSheet1);
    Label2 = new QLabel(TabSheet1);
    CheckBox10 = new QCheckBox(TabSheet1);
    Label1->setBuddy(SpinEdit1);
    Label3->setBuddy(SpinEdit2);

    auto* hardware = new QGridLayout(TabSheet1);
    hardware->addWidget(Label1, 0, 0);
    hardware->addWidget(SpinEdit1, 0, 1);
    hardware->addWidget(Label7, 0, 2);
    hardware->addWidget(Label3, 1, 0);
    hardware->addWidget(SpinEdit2, 1, 1);
    hardware->addWidget(Label2, 1, 2);
    hardware->addWidget(CheckBox10, 2, 0, 1, 3);
    hardware->setColumnStretch(2, 1);
    hardware->setRowStretch(3, 1);

    cbAckWrite = new QCheckBox(TabSheet2);
    cbAckWriteChanges = new QCheckBox(TabSheet2);
    cbVerify = new QCheckBox(TabSheet2);
    cbPinTest = new QCheckBox(TabSheet2);
    GroupBox7 = new QGroupBox(TabSheet2);
    CheckBox5 = new QCheckBox(GroupBox7);
    CheckBox6 = new QCheckBox(GroupBox7);
    CheckBox7 = new QCheckBox(GroupBox7);

    auto* close = new QVBoxLayout(GroupBox7);
    close->addWidget(CheckBox5);
    close->addWidget(CheckBox6);
    close->addWidget(CheckBox7);
    auto* programming = new QVBoxLayout(TabSheet2);
    programming->addWidget(cbAckWrite);
    programming->addWidget(cbAckWriteChanges);
    programming->addWidget(cbVerify);
    programming->addWidget(cbPinTest);
    programming->addWidget(GroupBox7);
    programming->addStretch(1);

    SpeedButton1 = new QPushButton("OK", this);
    SpeedButton2 = new QPushButton(this);
    SpeedButton3 = new QPushButton(this);
    SpeedButton1->setDefault(true);
    SpeedButton3->setEnabled(HelpAvailable);
    auto* buttons = ButtonRow({SpeedButton1, SpeedButton2, SpeedButton3});

    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl1);
    form->addLayout(buttons);

    const std::pair<QObject*, const char*> names[] = {
        {PageControl1, "PageControl1"}, {TabSheet1, "TabSheet1"},
        {TabSheet2, "TabSheet2"},       {Label1, "Label1"},
        {SpinEdit1, "SpinEdit1"},       {Label7, "Label7"},
        {Label3, "Label3"},             {SpinEdit2, "SpinEdit2"},
        {Label2, "Label2"},             {CheckBox10, "CheckBox10"},
        {cbAckWrite, "cbAckWrite"},     {cbAckWriteChanges, "cbAckWriteChanges"},
        {cbVerify, "cbVerify"},         {cbPinTest, "cbPinTest"},
        {GroupBox7, "GroupBox7"},       {CheckBox5, "CheckBox5"},
        {CheckBox6, "CheckBox6"},       {CheckBox7, "CheckBox7"},
        {SpeedButton1, "SpeedButton1"}, {SpeedButton2, "SpeedButton2"},
        {SpeedButton3, "SpeedButton3"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    connect(SpeedButton1, &QPushButton::clicked, this, &TfmSetDelay::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TfmSetDelay::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, [this] { emit HelpRequested(helpContext); });

    relabel();
}

void TfmSetDelay::relabel()
{
    const TLanguageGroup window(windowTag);
    setWindowTitle(text(window, 1, "Programming"));
    Label7->setText(text(window, 2, "ms"));
    Label2->setText(text(window, 2, "milliseconds"));
    Label1->setText(text(window, 3, "Power ON delay"));
    Label3->setText(text(window, 4, "USB timeout"));
    cbAckWrite->setText(text(window, 5, "Ack aknowledgement before write"));
    cbAckWriteChanges->setText(text(window, 6, "Ack aknowlegement before write changes"));
    cbVerify->setText(text(window, 7, "Verify after write"));
    GroupBox7->setTitle(text(window, 8, "Force close runtime window "));
    CheckBox5->setText(text(window, 9, "If reading is succesfull"));
    CheckBox6->setText(text(window, 10, "If writing is successful"));
    CheckBox7->setText(text(window, 11, "If verifying is successfull"));
    CheckBox10->setText(text(window, 12, "Ignore power overload"));
    cbPinTest->setText(text(window, 13, "Pin test"));
    PageControl1->setTabText(0, text(window, 14, "Hardware"));
    PageControl1->setTabText(1, text(window, 15, "Programming"));

    const TLanguageGroup buttons(buttonsTag);
    SpeedButton2->setText(text(buttons, 2, "Cancel"));
    SpeedButton3->setText(text(buttons, 3, "Help"));
}

std::vector<std::pair<QCheckBox*, uint32_t>> TfmSetDelay::bitBoxes() const
{
    return {{cbAckWrite, wpAskBeforeWrite},      {cbAckWriteChanges, wpParametersOption},
            {cbVerify, wpVerifyAfterWrite},      {CheckBox5, wpCloseAfterRead},
            {CheckBox6, wpCloseAfterWrite},      {CheckBox7, wpCloseAfterVerify},
            {CheckBox10, wpIgnoreOverload},      {cbPinTest, wpPinTestBeforeRun}};
}

TDeviceParameters TfmSetDelay::Values() const
{
    TDeviceParameters values;
    values.PowerOnDelayText = QStringToCp1251(SpinEdit1->cleanText());
    values.UsbTimeOut = SpinEdit2->value();
    for (const auto& [box, bit] : bitBoxes())
        if (box->isChecked())
            values.OptionBits |= bit;
    return values;
}

void TfmSetDelay::FormShow()
{
    Tag = 0;
    SpinEdit1->setValue(PowerOnDelay);
    SpinEdit2->setValue(UsbTimeOut);
    for (const auto& [box, bit] : bitBoxes())
        box->setChecked((WorkParam & bit) != 0);
}

void TfmSetDelay::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfmSetDelay::SpeedButton1Click()
{
    const std::string error = ApplyDeviceParameters(Values());
    if (!error.empty()) {
        ShowMessageBox(error, "Tarku", MB_OK | MB_ICONERROR);
        SpinEdit1->setFocus();
        return;
    }
    Tag = 1;
    accept();
}

void TfmSetDelay::SpeedButton2Click()
{
    Tag = 0;
    reject();
}

int ShowSetDelayDialog(TfmSetDelay& form) { return form.exec() == QDialog::Accepted ? 0 : 1; }
