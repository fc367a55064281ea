#include "calc/forms/Templ.h"

#include "buffer/forms/HDump.h"
#include "calc/forms/TemplHost.h"
#include "calc/uCalcCompiler.h"
#include "calc/uCalcMachine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/uExecuteLock.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <QFrame>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TfmTemplate* fmTemplate = nullptr;
TCalcControls CalcControls;
bool CalcBuilt = false;
bool CalculatorOpen = false;
TCalcPanelArea CalcPanelArea;

namespace {

constexpr int ButtonWidth = 105;
constexpr int ButtonHeight = 33;
// The own window's height below the panel, where the buttons sit.
constexpr int ButtonStrip = 40;
// The panel's height while it shows a message instead of controls.
constexpr int MessagePanelHeight = 60;
constexpr int MinWidth = 50, MaxWidth = 800, MinHeight = 50, MaxHeight = 600;

QPointer<THexDump> Buffer1;
// ONSHOW of a calculator opened while another one's run was ending.
bool ShowPending = false;

const std::string& BuildFailedText()
{
    static const std::string text = Utf8ToCp1251("Ошибка создания компонентов окна.");
    return text;
}

TfmTemplate& OwnWindow()
{
    if (!fmTemplate)
        CreateCalculatorWindow(nullptr, Buffer1);
    return *fmTemplate;
}

QPushButton* ApplyButton(bool inMainPanel)
{
    return inMainPanel ? CalcPanelArea.Apply.data() : OwnWindow().BitBtn1;
}

// Every control of the panel goes; its message label stays.
void DestroyControls(QWidget* panel)
{
    for (QWidget* child : panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->objectName() != "CalcPanelText")
            delete child;
    CalcControls.clear();
}

void ShowCentred(TfmTemplate& form)
{
    if (QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    form.show();
    form.raise();
    form.activateWindow();
}

// The own window sized for a text in place of the controls: as wide as the
// text needs, the buttons centred below it, Apply off.
void ShowOwnWindowMessage(const QString& text, const QString& caption)
{
    TfmTemplate& form = OwnWindow();
    form.setWindowTitle(caption);
    DestroyControls(form.Panel1);
    const int textWidth = QFontMetrics(form.Panel1->font()).horizontalAdvance(text);
    const int width = std::max(textWidth + 50, 2 * ButtonWidth + 20);
    const int height = MessagePanelHeight + ButtonStrip;
    form.setFixedSize(width, height);
    form.Panel1->setGeometry(0, 0, width, MessagePanelHeight);
    SetCalcPanelText(form.Panel1, text);
    const int left = (width - 2 * ButtonWidth - 5) / 2;
    form.BitBtn1->move(left, height - 36);
    form.BitBtn2->move(left + ButtonWidth + 5, height - 36);
    form.BitBtn1->setEnabled(false);
    ShowCentred(form);
}

void ShowCompileError(bool inMainPanel, QWidget* panel, const std::string& error, const std::string& fileName)
{
    if (!inMainPanel) {
        ShowOwnWindowMessage(Cp1251ToQString(error), Cp1251ToQString(fileName));
        return;
    }
    if (CalcPanelArea.Caption)
        CalcPanelArea.Caption->clear();
    DestroyControls(panel);
    SetCalcPanelText(panel, Cp1251ToQString(error));
}

void PlaceOwnWindow(TfmTemplate& form, int width, int height)
{
    form.setWindowTitle(Cp1251ToQString(CalcTitle));
    form.setFixedSize(width, height);
    form.Panel1->setGeometry(0, 0, width, height - ButtonStrip);
    const int left = width / 2 - ButtonWidth - 4;
    form.BitBtn1->move(left, height - 36);
    form.BitBtn2->move(left + ButtonWidth + 8, height - 36);
}

} // namespace

TfmTemplate::TfmTemplate(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("fmTemplate");
    setWindowTitle("Template");
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    BitBtn1 = new QPushButton("Apply", this);
    BitBtn2 = new QPushButton("Close", this);
    for (QPushButton* button : {BitBtn1, BitBtn2}) {
        button->resize(ButtonWidth, ButtonHeight);
        button->setAutoDefault(false);
    }
    // FormCreate: the captions of the chosen language.
    if (LanguageName != "English") {
        const TLanguageGroup buttons("[COMMON_BUTTONS]");
        BitBtn1->setText(Cp1251ToQString(buttons.Text(1, "Apply")));
        BitBtn2->setText(Cp1251ToQString(buttons.Text(4, "Close")));
    }
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    CalcBuilt = false;
    PlaceOwnWindow(*this, 2 * ButtonWidth + 20, MessagePanelHeight + ButtonStrip);
    setWindowTitle("Template");
}

void TfmTemplate::BitBtn1Click()
{
    RunCalculatorEvent(1);
    if (Buffer1)
        Buffer1->Paint();
}

void TfmTemplate::BitBtn2Click() { close(); }

void TfmTemplate::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    StopCalculatorRun();
    CalculatorOpen = false;
}

void CreateCalculatorWindow(QWidget* owner, THexDump* buffer1)
{
    Buffer1 = buffer1;
    if (fmTemplate)
        return;
    fmTemplate = new TfmTemplate(owner);
    QObject::connect(fmTemplate, &QObject::destroyed, [] { fmTemplate = nullptr; });
}

void CloseCalculator()
{
    StopCalculatorRun();
    if (fmTemplate)
        fmTemplate->hide();
    CalculatorOpen = false;
}

void FreeCalculatorWindow()
{
    StopCalculatorRun();
    delete fmTemplate;
    CalcControls.clear();
    CalcBuilt = false;
    CalculatorOpen = false;
    CalcPanelArea = {};
    Buffer1 = nullptr;
    ShowPending = false;
    ResetCalcRegisters();
}

void SetCalcPanelText(QWidget* panel, const QString& text)
{
    auto* label = panel->findChild<QLabel*>("CalcPanelText", Qt::FindDirectChildrenOnly);
    if (!label) {
        label = new QLabel(panel);
        label->setObjectName("CalcPanelText");
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
    }
    label->setGeometry(panel->contentsRect());
    label->setText(text);
    label->setVisible(!text.isEmpty());
    label->raise();
}

void OpenCalculator(const std::string& fileName)
{
    // A running calculator (even one looping for ever) ends before its
    // window is rebuilt; the run itself unwinds once control returns to it.
    StopCalculatorRun();
    CalcBuilt = false;
    CalculatorOpen = false;
    const bool inMainPanel = CalcPanelArea.Panel && CalcPanelArea.Panel->isVisible() && !(WorkParam & wpCalcOwnWindow);
    QWidget* panel = inMainPanel ? CalcPanelArea.Panel.data() : OwnWindow().Panel1;
    // One calculator at a time: the own window does not keep showing the last one.
    if (inMainPanel && fmTemplate)
        fmTemplate->hide();
    std::string error;
    int length = 0;
    if (AnsiSameText(ExtractFileExt(fileName), ".cal"))
        CompileCalculator(fileName, CalcImage(), error, length);
    else
        error = "Not a calculator file (*.cal): " + ExtractFileName(fileName);
    if (!error.empty()) {
        ShowCompileError(inMainPanel, panel, error, fileName);
        return;
    }
    if (inMainPanel)
        panel->hide();
    const bool built = BuildCalculatorWindow(panel, CalcImage(), inMainPanel);
    if (inMainPanel)
        panel->show();
    if (built)
        RunCalculatorEvent(0);
}

bool BuildCalculatorWindow(QWidget* panel, const TCalcImage& image, bool inMainPanel)
{
    CalcBuilt = false;
    const int width = image[CalcWidthOffset] | image[CalcWidthOffset + 1] << 8;
    const int height = image[CalcHeightOffset] | image[CalcHeightOffset + 1] << 8;
    QPushButton* apply = ApplyButton(inMainPanel);
    if (width < MinWidth || width > MaxWidth || height < MinHeight || height > MaxHeight) {
        if (inMainPanel) {
            DestroyControls(panel);
            SetCalcPanelText(panel, "Wrong window size");
            if (apply)
                apply->setEnabled(false);
        } else {
            // Shown, so the user learns why no calculator comes up.
            ShowOwnWindowMessage("Wrong window size", Cp1251ToQString(CalcTitle));
        }
        return false;
    }
    if (inMainPanel) {
        if (CalcPanelArea.Caption)
            CalcPanelArea.Caption->setText(Cp1251ToQString(CalcTitle));
    } else {
        PlaceOwnWindow(OwnWindow(), width, height);
    }
    DestroyControls(panel);
    SetCalcPanelText(panel, QString());
    if (!CreateCalculatorControls(panel, image)) {
        DestroyControls(panel);
        SetCalcPanelText(panel, Cp1251ToQString(BuildFailedText()));
        if (apply)
            apply->setEnabled(false);
        if (!inMainPanel)
            ShowCentred(OwnWindow());
        return false;
    }
    if (apply)
        apply->setEnabled(true);
    if (inMainPanel)
        panel->show();
    else
        ShowCentred(OwnWindow());
    CalcBuilt = true;
    CalculatorOpen = true;
    return true;
}

void RunCalculatorEvent(int entry)
{
    if (!CalcBuilt || entry < 0 || entry > 2 || RunInProgress())
        return;
    if (CalculatorRunning()) {
        ShowPending = ShowPending || entry == 0;
        return;
    }
    for (;;) {
        TCalcWindowHost host(Buffer1);
        RunCalculatorCode(CalcImage(), entry * 2, host);
        if (host.BufferWritten() && Buffer1)
            Buffer1->Paint();
        if (!ShowPending || !CalcBuilt)
            break;
        ShowPending = false;
        entry = 0;
    }
    ShowPending = false;
}

void NotifyCalculatorChange()
{
    if (CalcBuilt && CalculatorOpen)
        RunCalculatorEvent(2);
}
