#include "skinwnd/forms/acStaticWnd.h"

#include "platform/Cp1251.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QLabel>
#include <QTextDocument>

TacStaticWnd::TacStaticWnd(QLabel* label, const std::string& skinSection, TsSkinManager* manager,
                           TsCommonData* skinData)
    : TacMainWnd(label, false, skinSection.empty() ? "CHECKBOX" : skinSection, manager, skinData)
{
}

QLabel* TacStaticWnd::Label() const { return qobject_cast<QLabel*>(WndHandle()); }

namespace {

// A label shows its "&" as a mnemonic mark only while it names a buddy
// control, as the label itself paints it; otherwise the mark is text.
unsigned MnemonicFlag(const QLabel* l) { return l->buddy() ? 0u : unsigned(DT_NOPREFIX); }

bool PlainFrame(const QLabel* l)
{
    return l && l->frameShape() == QFrame::NoFrame && !(l->focusPolicy() & Qt::TabFocus);
}

} // namespace

bool LabelTextIsPlain(const QLabel* label)
{
    const Qt::TextFormat format = label->textFormat();
    return format == Qt::PlainText || (format != Qt::RichText && !Qt::mightBeRichText(label->text()));
}

bool TacStaticWnd::PaintsLabel() const
{
    const QLabel* l = Label();
    return PlainFrame(l) && LabelTextIsPlain(l);
}

bool TacLinkWnd::PaintsLabel() const { return PlainFrame(Label()); }

void TacStaticWnd::PaintContent(TBitmap& cache)
{
    QLabel* l = Label();
    unsigned flags = DT_WORDBREAK | DT_NOCLIP | MnemonicFlag(l);
    if (l->alignment() & Qt::AlignRight)
        flags |= DT_RIGHT;
    else if (l->alignment() & Qt::AlignHCenter)
        flags |= DT_CENTER;
    const QRect box = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    TRect r{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    const std::string text = QStringToCp1251(l->text());
    // The text sits where the label itself puts it: a label beside an
    // edit is centred on the edit's line.
    const int height = MeasureText(l->font(), text, r.Width(), flags).Y;
    if (l->alignment() & Qt::AlignVCenter)
        r.Top += (r.Height() - height) / 2;
    else if (l->alignment() & Qt::AlignBottom)
        r.Top = r.Bottom - height;
    WriteControlText(cache, text, l->isEnabled(), r, flags, SkinData(), l, false, l->font());
}

bool TacStaticWnd::WndProc(QEvent* event)
{
    QLabel* l = Label();
    if (!l || !PaintsLabel() || !AdapterSkinned(SkinData()) || event->type() == SkinCommandEventType())
        return TacMainWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::Paint: {
        if (!l->isVisible())
            break;
        SkinData()->BGChanged = true;
        PrepareAdapterCache(SkinData(), l, false);
        PaintContent(*SkinData()->CacheBmp);
        CopyCacheToWindow(l, *SkinData()->CacheBmp);
        return true;
    }
    default: break;
    }
    return TacMainWnd::WndProc(event);
}

void TacIconWnd::PaintContent(TBitmap& cache)
{
    QLabel* l = Label();
    const QPixmap picture = l->pixmap();
    if (!picture.isNull())
        DrawImageOnBitmap(cache, picture.toImage(), {0, 0});
}

std::string TacLinkWnd::LinkText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const std::string rest = AnsiUpperCase(text.substr(i, 4));
        const bool opening = rest.size() >= 2 && rest[0] == '<' && rest[1] == 'A'
                             && (rest.size() == 2 || rest[2] == '>' || rest[2] == ' ');
        const bool closing = rest == "</A>";
        if (opening || closing) {
            const size_t end = text.find('>', i);
            if (end == std::string::npos) {
                out += text.substr(i);
                break;
            }
            i = end + 1;
            continue;
        }
        out += text[i++];
    }
    return out;
}

void TacLinkWnd::PaintContent(TBitmap& cache)
{
    QLabel* l = Label();
    QFont font = l->font();
    font.setUnderline(true);
    const TRect r{0, 0, l->width() + 4, l->height()};
    WriteControlText(cache, LinkText(QStringToCp1251(l->text())), l->isEnabled(), r,
                     DT_WORDBREAK | DT_NOCLIP | MnemonicFlag(l), SkinData(), l, false, font);
}
