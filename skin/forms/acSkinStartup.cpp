#include "skin/forms/acSkinStartup.h"

#include "platform/MessageBox.h"
#include "skin/acAlphaImageList.h"
#include "skin/acAnimEffects.h"
#include "skin/acPNG.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinnedForms.h"
#include "skin/acShadows.h"
#include "skin/acShellCtrls.h"
#include "skin/sConst.h"

#include <QApplication>
#include <QStyle>

namespace {

void ShowVersionWhenAsked()
{
    std::vector<std::string> args;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        args.push_back(all[i].toStdString());
    const std::string text = SkinVersionRequest(args);
    if (!text.empty())
        ShowMessageBox(text, QCoreApplication::applicationName().toStdString());
}

} // namespace

void SkinLibraryInitialization()
{
    acSkinCommandInitialization();
    sConstInitialization(QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16);
    acPNGInitialization();
    acAlphaImageListInitialization();
    acShellCtrlsInitialization();
    sSkinnedFormsInitialization();
    acGlowInitialization();
    // The skin manager's unit: the built-in shadows, then the version box.
    acShadowsInitialization();
    ShowVersionWhenAsked();
}

void SkinLibraryFinalization()
{
    acShadowsFinalization();
    acGlowFinalization();
    sSkinnedFormsFinalization();
    acShellCtrlsFinalization();
    acAlphaImageListFinalization();
    acPNGFinalization();
}
