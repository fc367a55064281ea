#include "skinwnd/forms/acComboBoxWnd.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skin/sConst.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEnterEvent>
#include <QFocusEvent>

using namespace adaptertest;

namespace {

struct ComboForm {
    QWidget form;
    QComboBox* combo;
    std::unique_ptr<TsCommonData> data;
    explicit ComboForm(bool editable = false, Qt::LayoutDirection direction = Qt::LeftToRight)
    {
        form.resize(260, 80);
        combo = new QComboBox(&form);
        combo->setEditable(editable);
        combo->setLayoutDirection(direction);
        combo->setFocusPolicy(Qt::NoFocus);
        combo->setGeometry(10, 10, 220, 34);
        QFont big = combo->font();
        big.setPixelSize(22);
        big.setBold(true);
        combo->setFont(big);
        combo->addItems({"MMMM", "Second", "Third"});
        data = std::make_unique<TsCommonData>(combo, true);
        form.show();
        QApplication::processEvents();
    }
    QImage Image() { return Grab(*combo); }
};

// The pixels of a colour inside an area of the combo.
int PixelsIn(const QImage& img, TColor color, const QRect& r) { return CountPixels(img, color, r); }

} // namespace

TEST(TacComboBoxWnd, ButtonRectByReadingOrder)
{
    SkinScope skin;
    struct Case {
        const char* what;
        Qt::LayoutDirection direction;
        int x;
    };
    for (const Case& c : {Case{"left to right", Qt::LeftToRight, 220 - ScrollBarWidth - 2},
                          Case{"right to left", Qt::RightToLeft, 2}}) {
        SCOPED_TRACE(c.what);
        ComboForm f(false, c.direction);
        auto* adapter = TacMainWnd::Create<TacComboBoxWnd>(f.combo, false, "", nullptr, f.data.get());
        EXPECT_EQ(adapter->GetButtonRect(), QRect(c.x, 2, ScrollBarWidth, 30));
        const QRect text = adapter->TextRect();
        EXPECT_EQ(text.top(), 3);
        EXPECT_EQ(text.bottom(), 34 - 3 - 1);
        if (c.direction == Qt::RightToLeft) {
            EXPECT_EQ(text.left(), adapter->GetButtonRect().right() + 1);
            EXPECT_EQ(text.right(), 220 - 3 - 1);
        } else {
            EXPECT_EQ(text.left(), 3);
            EXPECT_EQ(text.right(), adapter->GetButtonRect().left() - 1);
        }
        // The text is drawn there and nowhere else.
        const QImage img = f.Image();
        const TColor font = skin.Section("COMBOBOX").FontColor;
        EXPECT_GT(PixelsIn(img, font, text), 0);
        EXPECT_EQ(CountPixels(img, font) - PixelsIn(img, font, adapter->GetButtonRect()), PixelsIn(img, font, text));
        TacMainWnd* base = adapter;
        DetachWnd(f.combo, true, base);
    }
}

TEST(TacComboBoxWnd, PaintedByTheSkinWithItsListAndRestored)
{
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    for (bool editable : {false, true}) {
        SCOPED_TRACE(editable ? "editable" : "drop-down list");
        ComboForm f(editable);
        const QImage plain = f.Image();
        const QPalette plainPalette = f.combo->palette();
        auto* adapter = TacMainWnd::Create<TacComboBoxWnd>(f.combo, false, "", nullptr, f.data.get());
        QImage img = f.Image();
        const QRect button = adapter->GetButtonRect();
        // The combo's frame, the button's frame and the arrow in the
        // normal state.
        EXPECT_EQ(PixelAt(img, 0, 17), p.Frame);
        EXPECT_EQ(PixelAt(img, button.left(), button.center().y()), p.Frame);
        EXPECT_GT(PixelsIn(img, p.Text, button), 0);
        if (!editable) {
            EXPECT_GT(PixelsIn(img, skin.Section("COMBOBOX").FontColor, adapter->TextRect()), 0);
        }
        SaveScreenshot(img, editable ? "combo_editable" : "combo_closed");

        // Dropped down: the button is pressed and the list is adapted.
        EXPECT_EQ(adapter->ListAdapter(), nullptr);
        f.combo->showPopup();
        QApplication::processEvents();
        ASSERT_NE(adapter->ListAdapter(), nullptr);
        EXPECT_TRUE(adapter->ListAdapter()->Shown);
        img = f.Image();
        EXPECT_EQ(adapter->ButtonState(), 2);
        EXPECT_GT(PixelsIn(img, p.Accent, button), 0);
        QAbstractItemView* list = f.combo->view();
        EXPECT_EQ(ColorFromQColor(list->palette().color(QPalette::Base)), skin.Section("EDIT").Color);
        QWidget* popup = list->window();
        const QImage popupImage = Grab(*popup);
        SaveScreenshot(popupImage, editable ? "combo_list_editable" : "combo_list");
        f.combo->hidePopup();
        QApplication::processEvents();
        EXPECT_FALSE(adapter->ListAdapter()->Shown);

        TacMainWnd* base = adapter;
        DetachWnd(f.combo, true, base);
        EXPECT_EQ(f.combo->palette(), plainPalette);
        EXPECT_EQ(GetAdapterOf(list), nullptr);
        EXPECT_EQ(f.Image(), plain);
    }
}

TEST(TacComboBoxWnd, HotAndFocusedLooks)
{
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    ComboForm f;
    auto* adapter = TacMainWnd::Create<TacComboBoxWnd>(f.combo, false, "", nullptr, f.data.get());
    const QRect button = adapter->GetButtonRect();
    const TColor highlight = ColorFromQColor(f.combo->palette().color(QPalette::Highlight));
    struct Case {
        const char* what;
        QEvent::Type type;
        TColor frame;
        bool textOnHighlight;
    };
    const Case cases[] = {
        {"mouse over it", QEvent::Enter, p.Accent, false},
        {"mouse gone", QEvent::Leave, p.Frame, false},
        {"focused", QEvent::FocusIn, p.Accent, true},
        {"focus gone", QEvent::FocusOut, p.Frame, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.type == QEvent::Enter) {
            QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(f.combo, &e);
        } else if (c.type == QEvent::Leave) {
            QEvent e(QEvent::Leave);
            QApplication::sendEvent(f.combo, &e);
        } else {
            QFocusEvent e(c.type, Qt::OtherFocusReason);
            QApplication::sendEvent(f.combo, &e);
        }
        const QImage img = f.Image();
        EXPECT_EQ(PixelAt(img, 0, 17), c.frame);
        EXPECT_EQ(PixelAt(img, button.left(), button.center().y()), c.frame);
        EXPECT_EQ(PixelsIn(img, highlight, adapter->TextRect()) > 0, c.textOnHighlight);
    }
    TacMainWnd* base = adapter;
    DetachWnd(f.combo, true, base);
}
