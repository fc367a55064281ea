#include "skin/forms/acGlow.h"

#include "platform/forms/BitmapImage.h"
#include "platform/forms/TranslucentWindows.h"
#include "skin/forms/acLayeredWindow.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acGlowGeometry.h"
#include "skin/acMaskPaint.h"
#include "skin/sConst.h"
#include "skin/sSkinManagerIntf.h"

std::vector<std::unique_ptr<TacGlowEffect>> GlowEffects;

namespace {

std::unique_ptr<TBitmap> CropImage(const TBitmap& image, int x, int y, int w, int h)
{
    auto part = CreateBitmap32(w, h);
    CopyBitmapRect(*part, 0, 0, w, h, image, x, y);
    return part;
}

} // namespace

TacGlowEffect::~TacGlowEffect()
{
    if (!form_)
        return;
    // The window is freed later, when it may be in the middle of its own
    // event; it goes off the screen now.
    form_->hide();
    if (Manager && Manager->Destroying())
        delete form_.data();
    else
        form_->deleteLater();
}

void TacGlowEffect::PrepareImage(int width, int height)
{
    Image = CreateBitmap32(width, height);
    Image->FillRect(TRect{0, 0, width, height}, 0);
    const TsMaskData* mask = Manager ? Manager->Mask(MaskIndex) : nullptr;
    if (mask)
        DrawSkinMask(*Image, TRect{0, 0, width, height}, true, *mask, 0, false, EmptyCacheInfo);
}

void TacGlowEffect::Show(const TRect& r, const TRect& clip, QWidget* host)
{
    if (form_ || !Manager || !Manager->Content())
        return;
    const TacSkinContent& skin = *Manager->Content();
    TacGlowGeometry g;
    if (!ComputeGlowGeometry(r, clip, skin.GetMaskMarginLeft(MaskIndex), skin.GetMaskMarginTop(MaskIndex),
                             skin.GetMaskMarginRight(MaskIndex), skin.GetMaskMarginBottom(MaskIndex), Margin, g))
        return;
    PrepareImage(g.ImageWidth, g.ImageHeight);
    if (g.Dx != 0 || g.Dy != 0 || g.Width != g.ImageWidth || g.Height != g.ImageHeight)
        Image = CropImage(*Image, g.Dx, g.Dy, g.Width, g.Height);
    auto* form = new TacLayeredWindow(BitmapToImage(*Image));
    if (host && host->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        form->setWindowFlag(Qt::WindowStaysOnTopHint);
    form->setGeometry(g.Left, g.Top, g.Width, g.Height);
    form->show();
    form_ = form;
    Image.reset();
}

int ShowGlow(const TRect& r, const TRect& clip, const std::string& sectionName, const std::string& maskName,
             int margin, int /*alpha*/, QWidget* host, TsSkinManager* manager)
{
    if (!LayeredWindowsAvailable())
        return -1;
    TsSkinManager* m = manager ? manager : DefaultSkinManager;
    if (!m || !m->Content())
        return -1;
    const int maskIndex = m->Content()->FindMaskIndex(sectionName, maskName + "0");
    if (maskIndex < 0)
        return -1;
    auto effect = std::make_unique<TacGlowEffect>();
    effect->Manager = m;
    effect->MaskIndex = maskIndex;
    effect->Margin = margin;
    effect->Show(r, clip, host);
    // A halo with nothing to show is not kept: the caller holds -1.
    if (!effect->Form())
        return -1;
    GlowEffects.push_back(std::move(effect));
    return int(GlowEffects.size()) - 1;
}

void HideGlow(int index)
{
    if (index >= 0 && index < int(GlowEffects.size()))
        GlowEffects[size_t(index)].reset();
}

QWidget* GlowWindow(int index)
{
    if (index < 0 || index >= int(GlowEffects.size()) || !GlowEffects[size_t(index)])
        return nullptr;
    return GlowEffects[size_t(index)]->Form();
}

bool GlowOwnedBy(int index, const QWidget* form) { return form && GlowWindow(index) == form; }

void ClearGlows() { GlowEffects.clear(); }

void acGlowInitialization() { SetLayeredWindowsAvailable(TranslucentWindowsSupported()); }

void acGlowFinalization() { ClearGlows(); }
