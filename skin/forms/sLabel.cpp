#include "skin/forms/sLabel.h"

#include "platform/forms/BitmapImage.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"

#include <QEvent>
#include <QPainter>

bool LabelPaintingGuard = false;

namespace {

bool SkinActive()
{
    return DefaultSkinManager && !DefaultSkinManager->Destroying() && DefaultSkinManager->Active();
}

} // namespace

TsCustomLabel::TsCustomLabel(QWidget* parent) : QLabel(parent)
{
    // Transparent: the parent's background shows through.
    setAutoFillBackground(false);
}

void TsCustomLabel::SetSkinSection(const std::string& value)
{
    if (value == skinSection_)
        return;
    skinSection_ = value;
    repaint();
}

QColor TsCustomLabel::CurrentTextColor()
{
    const QColor color = palette().color(QPalette::Active, foregroundRole());
    if (destroying_ || !SkinActive() || !TakesSkinColor())
        return color;
    TsSkinManager* m = DefaultSkinManager;
    const int index = GetFontIndex(this, -1, m);
    const TColor skinColor =
        index >= 0 && index < m->SectionCount() ? m->Section(index).FontColor : m->GlobalFontColor();
    return skinColor == clFuchsia ? color : QColorFromColor(skinColor);
}

void TsCustomLabel::paintEvent(QPaintEvent* e)
{
    if (!destroying_ && !LabelPaintingGuard) {
        LabelPaintingGuard = true;
        if (SkinActive()) {
            QColor c = CurrentTextColor();
            // A section of the label's own gives its font colour whether or
            // not the label takes the colour of the skin under it.
            if (!skinSection_.empty()) {
                const int own = DefaultSkinManager->GetSkinIndex(skinSection_);
                if (own >= 0 && own < DefaultSkinManager->SectionCount())
                    c = QColorFromColor(DefaultSkinManager->Section(own).FontColor);
            }
            if (c != palette().color(QPalette::Active, foregroundRole()))
                SetFontColor(this, ColorFromQColor(c));
            if (!isEnabled()) {
                // Disabled text under a skin: 40 % font colour, 60 % the
                // colour of the parent.
                const TColor parent = parentWidget() ? ParentBackgroundColor(parentWidget()) : clBtnFace();
                SetDisabledTextColor(QColorFromColor(MixColors(ColorFromQColor(c), parent, 0.4)));
            }
        } else if (plainDisabledColor_.isValid()) {
            // Without a skin the disabled text is the plain label's again.
            SetDisabledTextColor(plainDisabledColor_);
            plainDisabledColor_ = QColor();
        }
        LabelPaintingGuard = false;
    }
    PaintOwnSection();
    QLabel::paintEvent(e);
}

// A section of the label's own lies under its text, over what lies under
// the label; a section found first in the skin is not painted.
void TsCustomLabel::PaintOwnSection()
{
    if (destroying_ || skinSection_.empty() || !SkinActive() || width() <= 0 || height() <= 0)
        return;
    TsSkinManager* m = DefaultSkinManager;
    const int index = m->GetSkinIndex(skinSection_);
    if (index <= 0 || index >= m->SectionCount())
        return;
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(width(), height());
    PaintSectionItem(index, m->Section(index).Name, BackgroundToCacheInfo(ParentBackgroundOf(this)), true, 0,
                     {0, 0, width(), height()}, {0, 0}, &bmp, m, -1, -1);
    QPainter(this).drawImage(0, 0, BitmapToImage(bmp));
}

void TsCustomLabel::SetDisabledTextColor(const QColor& color)
{
    QPalette p = palette();
    if (p.color(QPalette::Disabled, foregroundRole()) == color)
        return;
    if (!plainDisabledColor_.isValid())
        plainDisabledColor_ = p.color(QPalette::Disabled, foregroundRole());
    p.setColor(QPalette::Disabled, foregroundRole(), color);
    setPalette(p);
}

bool TsCustomLabel::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        // A change the label's own painting made needs no second repaint.
        if (!destroying_ && LabelPaintingGuard)
            return true;
        break;
    case QEvent::Enter:
        if (OnMouseEnter)
            OnMouseEnter();
        break;
    default: break;
    }
    const bool result = QLabel::event(e);
    if (e->type() == SkinCommandEventType()) {
        auto& m = static_cast<TSkinCommandEvent&>(*e);
        if (m.SubCode() == AC_REMOVESKIN && !destroying_ && DefaultSkinManager
            && m.LParam() == reinterpret_cast<intptr_t>(DefaultSkinManager)
            && FontColor(this) != clWindowText())
            SetFontColor(this, clWindowText());
    } else if (e->type() == QEvent::Leave && OnMouseLeave) {
        OnMouseLeave();
    }
    return result;
}

TsLabel::TsLabel(QWidget* parent) : TsCustomLabel(parent) {}

bool TsLabel::event(QEvent* e)
{
    if (e->type() == SkinCommandEventType() && static_cast<TSkinCommandEvent&>(*e).SubCode() == AC_REMOVESKIN) {
        auto& m = static_cast<TSkinCommandEvent&>(*e);
        if (!destroying_ && DefaultSkinManager && m.LParam() == reinterpret_cast<intptr_t>(DefaultSkinManager)
            && useSkinColor_ && FontColor(this) != clWindowText())
            SetFontColor(this, clWindowText());
        return true;
    }
    return TsCustomLabel::event(e);
}

TsEditLabel::TsEditLabel(QWidget* parent, TsBoundLabel* boundLabel) : TsLabel(parent), boundLabel_(boundLabel) {}

TsEditLabel::~TsEditLabel()
{
    destroying_ = true;
    // Destroying the label by other means leaves its bound label inactive.
    if (boundLabel_) {
        boundLabel_->active_ = false;
        boundLabel_->label_ = nullptr;
    }
}
