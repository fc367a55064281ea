#include "skin/forms/acSkinStartup.h"

#include "skin/acPNG.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinnedForms.h"
#include "skin/acShellCtrls.h"
#include "skin/sConst.h"

#include <QApplication>
#include <QStyle>

void SkinLibraryInitialization()
{
    acSkinCommandInitialization();
    sConstInitialization(QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16);
    acPNGInitialization();
    acShellCtrlsInitialization();
    sSkinnedFormsInitialization();
    acGlowInitialization();
}

void SkinLibraryFinalization()
{
    acGlowFinalization();
    sSkinnedFormsFinalization();
    acShellCtrlsFinalization();
    acPNGFinalization();
}
