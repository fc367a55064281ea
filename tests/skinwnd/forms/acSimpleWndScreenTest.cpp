// A form of simple controls painted by the project skin through their
// adapters: push buttons in three states, check and radio glyphs, a group
// box on a panel, a spin box, a size grip and a tool bar. The picture is
// saved for a person to look at when TARKU_SCREENSHOTS names a folder.
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acBtnWnd.h"
#include "skinwnd/forms/acCheckBoxWnd.h"
#include "skinwnd/forms/acGroupBoxWnd.h"
#include "skinwnd/forms/acPanelWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSizerWnd.h"
#include "skinwnd/forms/acSpinWnd.h"
#include "skinwnd/forms/acStaticWnd.h"
#include "skinwnd/forms/acToolBarWnd.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

using namespace adaptertest;

namespace {

QIcon SquareIcon(QColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setBrush(color);
    p.setPen(color.darker());
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    return QIcon(pixmap);
}

// The sample form, built as a program would build it.
struct SampleForm {
    QWidget form;
    QFrame* panel;
    QPushButton* normal;
    QPushButton* hot;
    QPushButton* pressed;
    QLabel* label;
    QCheckBox* box;
    QCheckBox* checked;
    QCheckBox* grayed;
    QRadioButton* radio;
    QRadioButton* radioOn;
    QGroupBox* group;
    QSpinBox* spin;
    QSizeGrip* grip;
    QToolBar* bar;
    std::vector<TacMainWnd*> adapters;

    SampleForm()
    {
        // A blinking text cursor in the spin box would make two pictures of
        // the same form differ.
        QApplication::setCursorFlashTime(0);
        // Away from the cursor, which would make a control hot on its own.
        form.setGeometry(300, 300, 460, 300);
        bar = new QToolBar(&form);
        bar->setGeometry(0, 0, 460, 34);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        bar->addAction(SquareIcon(QColor(40, 140, 60)), "Read");
        bar->addAction(SquareIcon(QColor(200, 80, 40)), "Write");
        bar->addSeparator();
        bar->addAction(SquareIcon(QColor(60, 90, 200)), "Verify");
        panel = new QFrame(&form);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setGeometry(0, 34, 460, 266);
        auto button = [&](const char* text, int x) {
            auto* b = new QPushButton(text, panel);
            b->setGeometry(x, 12, 120, 30);
            b->setFocusPolicy(Qt::NoFocus);
            return b;
        };
        normal = button("Normal", 12);
        hot = button("Hot", 142);
        pressed = button("Pressed", 272);
        label = new QLabel("A label over the panel", panel);
        label->setGeometry(12, 52, 300, 20);
        group = new QGroupBox("Options", panel);
        group->setGeometry(12, 80, 260, 150);
        auto check = [&](QAbstractButton* b, int y) {
            b->setGeometry(12, y, 230, 22);
            b->setFocusPolicy(Qt::NoFocus);
        };
        box = new QCheckBox("Erase before writing", group);
        check(box, 26);
        checked = new QCheckBox("Verify after writing", group);
        checked->setChecked(true);
        check(checked, 50);
        grayed = new QCheckBox("Some of them", group);
        grayed->setTristate(true);
        grayed->setCheckState(Qt::PartiallyChecked);
        check(grayed, 74);
        radio = new QRadioButton("Whole chip", group);
        check(radio, 98);
        radioOn = new QRadioButton("Selection", group);
        radioOn->setChecked(true);
        check(radioOn, 122);
        spin = new QSpinBox(panel);
        spin->setGeometry(290, 90, 100, 26);
        spin->setValue(42);
        grip = new QSizeGrip(panel);
        grip->setGeometry(440, 246, 16, 16);
        form.show();
        QApplication::processEvents();
    }

    void Attach()
    {
        adapters.push_back(TacMainWnd::Create<TacToolBarWnd>(bar));
        adapters.push_back(TacMainWnd::Create<TacPanelWnd>(panel));
        for (QPushButton* b : {normal, hot, pressed})
            adapters.push_back(TacMainWnd::Create<TacBtnWnd>(b));
        adapters.push_back(TacMainWnd::Create<TacStaticWnd>(label));
        adapters.push_back(TacMainWnd::Create<TacGroupBoxWnd>(group));
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{box, checked, grayed, radio, radioOn})
            adapters.push_back(TacMainWnd::Create<TacCheckBoxWnd>(b));
        adapters.push_back(TacMainWnd::Create<TacSpinWnd>(spin));
        adapters.push_back(TacMainWnd::Create<TacSizerWnd>(grip));
    }

    void Detach()
    {
        for (TacMainWnd*& a : adapters)
            DetachWnd(a->WndHandle(), true, a);
        adapters.clear();
    }

    // The hot button under the mouse, the pressed one held down.
    void PlayMouse()
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(hot, &enter);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(pressed, &press);
        QApplication::processEvents();
    }
};

} // namespace

TEST(SimpleAdapters, SampleFormReadsWellInTheProjectSkin)
{
    SkinScope scope;
    SampleForm f;
    const QImage plain = Grab(&f.form);
    f.Attach();
    f.PlayMouse();
    const QImage skinned = Grab(&f.form);
    EXPECT_TRUE(SaveScreenshot(f.form, "simple_adapters"));
    // The buttons and glyphs twice as large, for a closer look.
    EXPECT_TRUE(SaveScreenshot(skinned.copy(0, 0, 400, 290).scaled(800, 580), "simple_adapters_zoom"));
    EXPECT_NE(plain, skinned);
    f.Detach();
}

namespace {

// Each adapted widget's own picture.
std::vector<QImage> GrabEach(SampleForm& f)
{
    std::vector<QImage> out;
    for (QWidget* w : std::initializer_list<QWidget*>{f.bar, f.panel, f.normal, f.hot, f.pressed, f.label, f.group,
                                                      f.box, f.checked, f.grayed, f.radio, f.radioOn, f.spin, f.grip})
        out.push_back(Grab(w));
    return out;
}

struct WidgetState {
    QPalette palette;
    bool ownPalette, autoFill, opaque, noSystemBg;
    bool operator==(const WidgetState&) const = default;
};

std::vector<WidgetState> StateOfEach(QWidget& form)
{
    std::vector<WidgetState> out;
    for (QWidget* w : form.findChildren<QWidget*>())
        out.push_back({w->palette(), w->testAttribute(Qt::WA_SetPalette), w->autoFillBackground(),
                       w->testAttribute(Qt::WA_OpaquePaintEvent), w->testAttribute(Qt::WA_NoSystemBackground)});
    return out;
}

} // namespace

TEST(SimpleAdapters, EachWidgetPaintedByTheSkinAndRestoredExactly)
{
    SkinScope scope;
    SampleForm f;
    const std::vector<QImage> plain = GrabEach(f);
    const std::vector<WidgetState> state = StateOfEach(f.form);
    f.Attach();
    const std::vector<QImage> skinned = GrabEach(f);
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_NE(skinned[i], plain[i]) << "widget " << i;
    f.Detach();
    QApplication::processEvents();
    const std::vector<QImage> after = GrabEach(f);
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(after[i], plain[i]) << "widget " << i;
    EXPECT_TRUE(StateOfEach(f.form) == state);
}

TEST(SimpleAdapters, SkinSwitchRepaintsAndNoSkinRestores)
{
    SkinScope scope;
    SampleForm f;
    const std::vector<QImage> plain = GrabEach(f);
    f.Attach();
    const std::vector<QImage> folder = GrabEach(f);
    scope.manager->SetSkinName("Dusk");
    ASSERT_TRUE(scope.manager->Active()) << scope.manager->LastError();
    ASSERT_TRUE(scope.manager->Packed());
    QApplication::processEvents();
    const std::vector<QImage> packed = GrabEach(f);
    EXPECT_TRUE(SaveScreenshot(f.form, "simple_adapters_dusk"));
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_NE(packed[i], folder[i]) << "widget " << i;

    scope.manager->SetActive(false);
    QApplication::processEvents();
    const std::vector<QImage> none = GrabEach(f);
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(none[i], plain[i]) << "widget " << i;

    scope.manager->SetSkinName("Tarku");
    scope.manager->SetActive(true);
    ASSERT_TRUE(scope.manager->Active());
    QApplication::processEvents();
    const std::vector<QImage> again = GrabEach(f);
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(again[i], folder[i]) << "widget " << i;
    f.Detach();
}
