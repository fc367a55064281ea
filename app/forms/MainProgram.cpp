#include "app/forms/MainProgram.h"

#include "app/AppState.h"
#include "app/ChipSel.h"
#include "app/IniFile.h"
#include "app/MainStartup.h"
#include "app/forms/About.h"
#include "app/forms/ChipSel.h"
#include "app/forms/Main.h"
#include "app/forms/MainCalc.h"
#include "app/forms/MainTranslation.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "engine/Global.h"
#include "engine/forms/uCompilerErrors.h"
#include "engine/forms/uExecute.h"
#include "engine/forms/uPinsTest.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"
#include "platform/Pump.h"
#include "platform/forms/QtMessageBox.h"
#include "skin/forms/acSkinStartup.h"

#include <QApplication>
#include <QLabel>

namespace {

// The run window reaches the main window's buffers and has windows of its
// own for a failed pin test and for compiler errors.
void CreateRunWindow(TMainForm& form)
{
    fmExecute = new TfmExecute;
    fmExecute->SetBuffers(&form.HexDump1->Buffer(), &form.HexDump2->Buffer());
    fmExecute->PinsTest = new TfmPinsTest(fmExecute);
    fmExecute->CompilerErrors = new TfmCompilerErrors(fmExecute);
}

} // namespace

TMainForm* StartProgram(const std::vector<std::string>& arguments)
{
    // Chip selection stays shut while the program comes up.
    StartupFlag = true;
    SkinLibraryInitialization();
    LoadSettings();
    StartLanguage();
    InstallLibraryTranslation(LanguageName);
    StartLink();
    auto* form = new TMainForm;
    // The About box is the splash window meanwhile.
    form->AboutBox = new TAboutForm(form);
    form->AboutBox->SetSplashMode(true);
    form->AboutBox->show();
    PumpMessages();
    form->FormCreate();
    CreateRunWindow(*form);
    CreateCalculatorWindow(form, form->HexDump1);
    StartCalcPanel(*form);
    BuildChipList();
    form->SelectForm = new TSelectForm(form);
    form->AboutBox->Label3->clear();
    PumpMessages();
    if (!form->HexDump1->Buffer().EditorMode && CatalogPresent)
        form->LoadModule(ChipName);
    // After the module: its load erases buffer 1.
    form->LoadCommandLineDump(CommandLineDump(arguments));
    form->AboutBox->hide();
    form->AboutBox->SetSplashMode(false);
    StartupFlag = false;
    return form;
}

void FinishProgram()
{
    StopLink();
    delete fmExecute;
    fmExecute = nullptr;
    FreeCalculatorWindow();
    delete MainForm;
    RemoveLibraryTranslation();
    ResetAppState();
    SkinLibraryFinalization();
}

int RunProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitProgramFolder();
    InstallQtMessageBoxHandler();
    std::vector<std::string> arguments;
    for (const QString& a : app.arguments().mid(1))
        arguments.push_back(QStringToPath(a));
    TMainForm* form = StartProgram(arguments);
    form->show();
    const int result = app.exec();
    FinishProgram();
    return result;
}
