// What the calculator panel does: choosing and opening calculators, their
// descriptions and pictures, the index refresh; and the main window's
// commands that reach the panel.
#include "app/ChipSel.h"
#include "app/forms/Main.h"
#include "app/forms/MainCalc.h"
#include "app/forms/MainDock.h"
#include "calc/forms/DevView.h"
#include "calc/forms/Msg.h"
#include "calc/forms/ShowImage.h"
#include "calc/forms/SortMode.h"
#include "calc/forms/Templ.h"
#include "calc/uCalcPicture.h"
#include "calc/uCreateCalcIndex.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Pump.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace {

constexpr const char* IndexIni = "Calculators\\index.ini";
// Notes shown after a rebuild; the rest are counted.
constexpr int ShownNotes = 20;

std::string IndexIniPath() { return ProgramFolder() + "\\" + IndexIni; }

void ShowIndexNotes(const TStringList& notes)
{
    if (notes.Empty())
        return;
    std::string text = "Some calculators were left out of the index:\r\n";
    for (int i = 0; i < std::min(notes.Count(), ShownNotes); ++i)
        text += notes[i] + "\r\n";
    if (notes.Count() > ShownNotes)
        text += "... and " + std::to_string(notes.Count() - ShownNotes) + " more";
    ShowMessageBox(text, "Tarku", MB_OK | MB_ICONWARNING);
}

} // namespace

void TCalcPanel::RebuildIndex()
{
    TfmMsg& progress = MsgWindow(window());
    progress.show();
    PumpMessages();
    TStringList notes;
    CreateCalculatorsIndex(&notes);
    progress.Panel1->setText("Load calculators index...");
    progress.Panel2->clear();
    progress.close();
    ShowIndexNotes(notes);
}

void TCalcPanel::Startup()
{
    if (!CalculatorsIndexAgrees())
        RebuildIndex();
    CalcTree->SetFileName(IndexIniPath());
    CalcTree->SetCurrentItem(LastCalc);
    SetBottomHeight(BuiltInCalcH);
}

void TCalcPanel::ChooseCalculator()
{
    if (StartupFlag)
        return;
    const std::string item = CalcTree->CurrentItem();
    const QSignalBlocker quiet(memCalcInfo);
    btSaveCalcInfo->setEnabled(false);
    if (item.empty()) {
        memCalcInfo->clear();
        memCalcInfo->setEnabled(false);
        btCalcImage->setEnabled(false);
        CalcPictureFile.clear();
        if (fmShowImage && fmShowImage->isVisible())
            fmShowImage->Image1->hide();
        return;
    }
    LastCalc = item;
    memCalcInfo->setEnabled(true);
    std::string description;
    GetCalculatorInfo(CalcPictureFile, item, description);
    // The description's last line end would add an empty line.
    if (description.size() >= 2 && description.compare(description.size() - 2, 2, "\r\n") == 0)
        description.resize(description.size() - 2);
    memCalcInfo->setPlainText(Cp1251ToQString(description));
    btCalcImage->setEnabled(true);
    if (fmShowImage && fmShowImage->isVisible())
        ShowCalculatorPicture();
}

void TCalcPanel::OpenChosenCalculator()
{
    if (fmShowImage && fmShowImage->isVisible())
        fmShowImage->close();
    const std::string file = CalculatorFile(CalcTree->CurrentItem());
    if (file.empty())
        return;
    ShowCalcArea(!(WorkParam & wpCalcOwnWindow));
    OpenCalculator(file);
}

void TCalcPanel::ShowCalculatorPicture()
{
    const std::string item = CalcTree->CurrentItem();
    if (item.empty())
        return;
    std::string name = item;
    std::replace(name.begin(), name.end(), '\\', ' ');
    TfmShowImage& viewer = ShowImageWindow(window());
    viewer.EditMode = true;
    viewer.Title = name;
    viewer.PicturePath = CalculatorPictureBase(item);
    viewer.ShowPicture();
}

void TCalcPanel::RefreshCalculatorIndex()
{
    TfmSortMode& sortMode = SortModeWindow(window());
    if (sortMode.exec() != 1)
        return;
    FoldersFirst = sortMode.RadioButton1->isChecked();
    RebuildIndex();
    CalcTree->SetFileName(IndexIniPath());
    // The tree is read afresh: the calculator chosen before stays chosen.
    CalcTree->SetCurrentItem(LastCalc);
}

void TCalcPanel::Button6Click()
{
    RunCalculatorEvent(1);
    if (OnApplied)
        OnApplied();
}

void TCalcPanel::Button7Click()
{
    // A run still going on ends with the calculator.
    CloseCalculator();
    CalculatorOpen = false;
    ShowCalcArea(false);
}

void TCalcPanel::btSaveCalcInfoClick()
{
    const std::string item = CalcTree->CurrentItem();
    if (item.empty())
        return;
    TStringList memo;
    memo.SetText(QStringToCp1251(memCalcInfo->toPlainText()));
    std::string error;
    if (!SaveCalculatorDescription(item, memo, &error)) {
        ShowMessageBox(error, "Tarku", MB_OK | MB_ICONERROR);
        return;
    }
    btSaveCalcInfo->setEnabled(false);
}

void StartCalcPanel(TMainForm& form)
{
    auto* panel = new TCalcPanel;
    form.CalcPanel = panel;
    // The panel lives in its dock, which floats it as the calculators window.
    form.Docks->CalcPanel->setWidget(panel);
    form.Docks->Panel6 = panel->Panel6;
    CalcPanelArea = {panel->pnCalc, panel->lbCalcCaption, panel->Button6};
    panel->OnApplied = [&form] { form.BuffersChanged(); };
    panel->Startup();
    QAction* inWindow = form.Command("mnCalcInWindow");
    inWindow->setChecked(WorkParam & wpCalcOwnWindow);
    form.SetCommandHandler("mnCalcInWindow", [&form] {
        WorkParam ^= wpCalcOwnWindow;
        form.Command("mnCalcInWindow")->setChecked(WorkParam & wpCalcOwnWindow);
    });
    // The Calculators menu has no items: opening it shows the panel.
    form.mmCalculators->setEnabled(true);
    QObject::connect(form.mmCalculators, &QMenu::aboutToShow, panel, [&form, panel] {
        QTimer::singleShot(0, panel, [&form, panel] {
            form.mmCalculators->hide();
            form.Docks->ShowCalculatorsWindow();
        });
    });
}

void SaveCalcPanelSettings(const TMainForm& form)
{
    const TCalcPanel* panel = form.CalcPanel;
    if (!panel)
        return;
    BuiltInCalcH = panel->BottomHeight();
}
