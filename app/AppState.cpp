#include "app/AppState.h"

#include "app/ChipSel.h"
#include "app/uLoadLanguages.h"
#include "buffer/FileServ.h"

void ResetAppState()
{
    ResetBufferState();
    LanguageList.Clear();
    ResetBufferCaptions();
    StartupFlag = false;
    ScanList.Clear();
    CatalogPresent = false;
    ChipTree.Clear();
}
