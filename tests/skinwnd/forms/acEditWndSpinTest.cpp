// A spin box that the class lists give the edit adapter: framed as an edit,
// its buttons painted exactly as the spin adapter paints them, hot and
// pressed halves by the mouse, and back to its own look without the skin.
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSpinWnd.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>

#include <functional>

using namespace adaptertest;

namespace {

struct SpinForm {
    QWidget form;
    QAbstractSpinBox* spin;
    explicit SpinForm(const std::function<QAbstractSpinBox*(QWidget*)>& make, int y = 300)
    {
        // Away from the cursor, which would make a control hot on its own.
        form.setGeometry(300, y, 160, 44);
        spin = make(&form);
        spin->setGeometry(6, 6, 120, 28);
        spin->setFocusPolicy(Qt::NoFocus);
        form.show();
        QApplication::processEvents();
    }
};

void SendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

struct SpinKind {
    const char* what;
    std::function<QAbstractSpinBox*(QWidget*)> make;
};

const SpinKind kSpinKinds[] = {
    {"spin box",
     [](QWidget* p) {
         auto* s = new QSpinBox(p);
         s->setValue(42);
         return s;
     }},
    {"double spin box",
     [](QWidget* p) {
         auto* s = new QDoubleSpinBox(p);
         s->setValue(4.25);
         return s;
     }},
};

TEST(TacEditWnd, SpinBoxFramedAsAnEditWithTheSpinAdaptersButtons)
{
    QApplication::setCursorFlashTime(0);
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    for (const SpinKind& kind : kSpinKinds) {
        SCOPED_TRACE(kind.what);
        SpinForm f(kind.make);
        SpinForm reference(kind.make, 360);
        const QImage plain = Grab(f.spin);
        const int midY = plain.height() / 2;
        ASSERT_NE(PixelAt(plain, 0, midY), p.Frame);

        TsCommonData data(f.spin, true);
        TacMainWnd* adapter = TacMainWnd::Create<TacEditWnd>(f.spin, true, "", nullptr, &data);
        TacMainWnd* spinAdapter = TacMainWnd::Create<TacSpinWnd>(reference.spin);
        const QImage skinned = Grab(f.spin);
        SaveScreenshot(f.form, std::string("edit_spin_") + (kind.what[0] == 'd' ? "double" : "int"));
        // The edit's frame on all four edges, the right one over the
        // buttons' side too.
        EXPECT_EQ(PixelAt(skinned, 0, midY), p.Frame);
        EXPECT_EQ(PixelAt(skinned, skinned.width() - 1, midY), p.Frame);
        EXPECT_EQ(PixelAt(skinned, skinned.width() / 3, 0), p.Frame);
        EXPECT_EQ(PixelAt(skinned, skinned.width() / 3, skinned.height() - 1), p.Frame);
        // Inside the frame, the buttons are the very ones the spin adapter
        // paints.
        const TRect b = TacSpinButtons(f.spin).ButtonsRect();
        ASSERT_GT(b.Width(), 6);
        const QRect inner(b.Left + 2, b.Top + 2, b.Width() - 4, b.Height() - 4);
        EXPECT_EQ(skinned.copy(inner), Grab(reference.spin).copy(inner));
        EXPECT_GT(PixelsOf(skinned.copy(inner), p.Frame), 0);
        EXPECT_EQ(PixelsOf(skinned.copy(inner), p.Accent), 0);

        // The mouse over the upper half makes it hot, a press pressed and
        // stepping the value.
        const QPointF upper(b.Left + b.Width() / 2, b.Top + b.Height() / 4);
        SendMouse(f.spin, QEvent::MouseMove, upper, Qt::NoButton);
        const QImage hot = Grab(f.spin).copy(inner);
        EXPECT_GT(PixelsOf(hot.copy(0, 0, hot.width(), hot.height() / 2 - 1), p.Accent), 0);
        EXPECT_EQ(PixelsOf(hot.copy(0, hot.height() / 2 + 1, hot.width(), hot.height() / 2 - 1), p.Accent), 0);
        const QString before = f.spin->text();
        SendMouse(f.spin, QEvent::MouseButtonPress, upper, Qt::LeftButton);
        const QImage pressed = Grab(f.spin).copy(inner);
        EXPECT_NE(pressed, hot);
        EXPECT_NE(f.spin->text(), before);
        SendMouse(f.spin, QEvent::MouseButtonRelease, upper, Qt::NoButton);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.spin, &leave);

        // Stepping selects the text; the value and the look go back.
        f.spin->stepDown();
        f.spin->findChild<QLineEdit*>()->deselect();

        // Without the skin the spin box is its own again, exactly.
        skin.manager->SetActive(false);
        QApplication::processEvents();
        EXPECT_EQ(Grab(f.spin), plain);
        skin.manager->SetActive(true);
        QApplication::processEvents();
        EXPECT_EQ(Grab(f.spin), skinned);
        DetachWnd(f.spin, true, adapter);
        DetachWnd(reference.spin, true, spinAdapter);
        EXPECT_EQ(Grab(f.spin), plain);
    }
}

} // namespace
