// The main window's chip pictures and documents: the module's picture in
// the file window's Info tab, and on a right click on the chip label the
// picture in the picture viewer or the module's document.
#include "app/forms/Main.h"

#include "app/MainDocument.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainFileView.h"
#include "calc/forms/ShowImage.h"
#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/forms/ShellOpen.h"

std::string TMainForm::ModulePictureEntry() const
{
    // The file is read again: the module may have changed since its load.
    TModuleInfo module;
    if (ModulePath.empty() || !FileExists(NativePath(ModulePath)) || module.LoadFromFile(ModulePath) < 0)
        return {};
    return module.Picture;
}

void TMainForm::hlChipNameMouseDown()
{
    const std::string picture = ModulePictureEntry();
    if (picture.empty())
        return;
    if (picture[0] != '!') {
        ShowChipPicture(picture);
        return;
    }
    const std::string document = ChipDocumentPath(ProgramFolder(), picture);
    if (!document.empty())
        ShellOpen(document);
}

void TMainForm::ShowChipPicture(const std::string& picture)
{
    const std::string file = ChipPicturePath(ProgramFolder(), picture);
    if (file.empty())
        return;
    TfmShowImage& viewer = ShowImageWindow(this);
    viewer.EditMode = false;
    viewer.PicturePath = file;
    viewer.Title = QStringToCp1251(hlChipName->text());
    viewer.ShowPicture();
}

void TMainForm::ShowModulePicture(const std::string& picture)
{
    Docks->FileWindow->ShowInfoPicture(ChipPicturePath(ProgramFolder(), picture));
}
