// The main window's device command dispatch: every Device menu item, bound
// tool button and module button runs its module procedure here, with the
// module's parameter controls handed to the run and written back after it,
// and the run's exit value acted on (backup, chip switch by signature).
#include "app/forms/Main.h"

#include "app/MainBackup.h"
#include "app/MainDispatch.h"
#include "app/forms/ChipSel.h"
#include "app/forms/MainModule.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/forms/uExecute.h"
#include "platform/Paths.h"
#include "platform/MessageBox.h"
#include "platform/SysUtils.h"

#include <QAction>
#include <QComboBox>
#include <QTabBar>
#include <QToolBar>

QObject* TMainForm::ToolButtonOf(const std::string& name) const { return ToolBar1->widgetForAction(Command(name)); }

void TMainForm::MenuClick(QObject* sender)
{
    if (RunActive() || !moduleLoaded_)
        return;
    if (vccCombobox->currentIndex() < 0) {
        ShowMessageBox(MessageText(msgPowerVoltageNotDefined), "Tarku", MB_OK | MB_ICONWARNING);
        return;
    }
    const std::string command = SenderCommandText(sender);
    LastCommand = LastCommandOf(command);
    if (NeedsConfirmation(LastCommand, WorkParam) &&
        ShowMessageBox(MessageText(msgAckWrite), WithoutFirstAmpersand(command), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const TDispatchState state{TabControl1->count() > 0 ? TabControl1->currentIndex() : -1,
                               HexDump1->Edit().WordMode, HexDump2->Edit().WordMode, WorkParam};
    FillModuleParameters(ParameterControls->States(), state, ModuleParameters);
    RunDeviceProcedure(command);
    // The run may have changed any buffer it reaches; a buffer the module
    // does not use stays as it was, or the exit would ask about it.
    HexDump1->Buffer().Modified = true;
    if (hasBuffer2_)
        HexDump2->Buffer().Modified = true;
    std::vector<TControlState> controls = ParameterControls->States();
    WriteBackControls(ModuleParameters, controls);
    ParameterControls->Apply(controls);
    ReactToExitValue(fmExecute->ExitValue());
}

void TMainForm::ReactToExitValue(uint32_t exitValue)
{
    const TExitReaction reaction = ExitReaction(exitValue);
    if (reaction.Action == TExitAction::Backup) {
        if (!AutoBackupWanted(static_cast<int32_t>(exitValue), WorkParam))
            return;
        const TDumpBuffer& buffer = ActiveView()->Buffer();
        const TBackupSource source{ProgramFolder(), CurrentChip, LastCommand,
                                   {buffer.Data.data(), static_cast<size_t>(buffer.GetSize())}};
        AutoBackup(source, BackupMomentNow());
        return;
    }
    if (reaction.Action != TExitAction::SignatureSwitch || !SelectForm)
        return;
    std::string chosen;
    SelectForm->SelectChip(reaction.ChipEntry, chosen);
    if (chosen.empty() || !AskBeforeModuleLoad())
        return;
    LoadModule(chosen);
    UpdateCaption();
}
