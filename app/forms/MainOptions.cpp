#include "app/forms/MainOptions.h"

#include "app/ChipSelWriteBack.h"
#include "app/MainWriteBack.h"
#include "app/forms/HotLabel.h"
#include "app/forms/Main.h"
#include "app/forms/MainModule.h"
#include "app/forms/uColorsAndFonts.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/glabel.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Pump.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>

namespace {

// The clicks the window's own widgets do not take: Ctrl + left on the
// parameter panel or on the chip strip (the central widget's row of chip
// label, voltage box and size label), right on the chip label.
class TMainClicks : public QObject {
public:
    explicit TMainClicks(TMainForm& form) : QObject(&form), form_(form)
    {
        for (QObject* watched : {static_cast<QObject*>(form.GroupBox1), static_cast<QObject*>(form.centralWidget()),
                                 static_cast<QObject*>(form.hlChipName)})
            watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == form_.hlChipName) {
            if (mouse->button() != Qt::RightButton)
                return false;
            form_.hlChipNameMouseDown();
            return true;
        }
        if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier))
            return false;
        if (watched == form_.centralWidget() && !inStrip(mouse->position().toPoint()))
            return false;
        form_.GroupBox1MouseDown();
        return true;
    }

private:
    bool inStrip(const QPoint& p) const
    {
        const QRect parts =
            form_.hlChipName->geometry().united(form_.vccCombobox->geometry()).united(form_.Panel5->geometry());
        return p.y() >= parts.top() && p.y() <= parts.bottom();
    }

    TMainForm& form_;
};

} // namespace

void InstallMainOptions(TMainForm& form)
{
    for (const char* command : {"Editor1", "mmColors"})
        form.SetCommandHandler(command, [&form] { form.ShowEditorOptions(); });
    new TMainClicks(form);
}

void TMainForm::ShowEditorOptions()
{
    if (!ColorsAndFonts)
        ColorsAndFonts = new TfmcolorsAndFonts(this);
    ColorsAndFonts->Label8->setFont(hlChipName->font());
    ColorsAndFonts->SampleFont = HexDump1->font();
    if (ColorsAndFonts->exec() != QDialog::Accepted)
        return;
    hlChipName->setFont(ColorsAndFonts->Label8->font());
    const QFont font = ColorsAndFonts->SampleFont;
    for (THexDump* view : {HexDump1, HexDump2}) {
        ApplyEditorSettings(*view);
        view->setFont(font);
        view->Paint();
    }
    KeepOneDumpRow();
    PumpMessages();
}

void TMainForm::GroupBox1MouseDown()
{
    if (RunActive() || !ModuleActive() || ModulePath.empty())
        return;
    if (ShowMessageBox(MessageText(msgSaveScriptParam), "Save", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!FileExists(NativePath(ModulePath)))
        return;
    TModuleDefaults defaults;
    if (vccCombobox->currentIndex() >= 0)
        defaults.Voltage = ModuleVoltageOfItem(QStringToCp1251(vccCombobox->currentText()));
    defaults.Controls = ParameterControls->States();
    WriteModuleDefaults(ModulePath, defaults);
}
