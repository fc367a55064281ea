#include "skinwnd/forms/acPanelWnd.h"

#include "AdapterTestSkin.h"
#include "skinwnd/forms/acBtnWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acTransPanelWnd.h"

#include <QFrame>
#include <QPushButton>

using namespace adaptertest;

TEST(TacPanelWnd, SectionByBevels)
{
    struct Case {
        TacBevel outer, inner;
        bool border;
        const char* section;
    };
    const Case cases[] = {
        {bvLowered, bvRaised, false, "GROUPBOX"}, {bvLowered, bvNone, false, "PANEL_LOW"},
        {bvRaised, bvLowered, false, "GROUPBOX"}, {bvRaised, bvNone, false, "PANEL"},
        {bvNone, bvNone, true, "PANEL_LOW"},      {bvNone, bvRaised, false, "CHECKBOX"},
        {bvSpace, bvNone, false, "CHECKBOX"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TacPanelWnd::PanelSection(c.outer, c.inner, c.border), c.section)
            << c.outer << " " << c.inner << " " << c.border;

    QFrame frame;
    frame.setFrameShape(QFrame::StyledPanel);
    frame.setFrameShadow(QFrame::Raised);
    EXPECT_EQ(TacPanelWnd::FrameSection(&frame), "PANEL");
    frame.setFrameShadow(QFrame::Sunken);
    EXPECT_EQ(TacPanelWnd::FrameSection(&frame), "PANEL_LOW");
    frame.setFrameShape(QFrame::NoFrame);
    EXPECT_EQ(TacPanelWnd::FrameSection(&frame), "CHECKBOX");
}

TEST(TacPanelWnd, ChildrenPaintOverThePanelsImage)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 240, 140);
    auto* panel = new QFrame(&form);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(0, 0, 240, 140);
    auto* button = new QPushButton("On panel", panel);
    button->setGeometry(20, 20, 120, 30);
    button->setFocusPolicy(Qt::NoFocus);
    form.show();
    QApplication::processEvents();
    TacMainWnd* panelAdapter = TacMainWnd::Create<TacPanelWnd>(panel);
    TacMainWnd* buttonAdapter = TacMainWnd::Create<TacBtnWnd>(button);
    EXPECT_EQ(panelAdapter->SkinData()->SkinSection(), "PANEL");
    const QImage img = Grab(panel);
    // The panel's gradient runs across: its two ends differ.
    EXPECT_NE(PixelAt(img, 4, 70), PixelAt(img, 230, 70));
    // The button's see-through corner shows the panel's own pixel there.
    const QImage corner = Grab(button);
    EXPECT_EQ(PixelAt(corner, 0, 0), panelAdapter->SkinData()->CacheBmp->Pixel(20, 20));
    EXPECT_NE(PixelAt(corner, 0, 0), ControlColor(&form));
    DetachWnd(button, true, buttonAdapter);
    DetachWnd(panel, true, panelAdapter);
}

TEST(TacTransPanelWnd, ContainerTakesItsSectionAndGivesItBack)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 200, 100);
    auto* page = new QWidget(&form);
    page->setGeometry(10, 10, 150, 80);
    form.show();
    QApplication::processEvents();
    const QImage plain = Grab(page);
    TacMainWnd* adapter = TacMainWnd::Create<TacTransPanelWnd>(page, "PANEL");
    const QImage img = Grab(page);
    EXPECT_NE(img, plain);
    // Inside the frame the section's gradient runs across.
    EXPECT_NE(PixelAt(img, 20, 40), PixelAt(img, 130, 40));
    DetachWnd(page, true, adapter);
    EXPECT_EQ(Grab(page), plain);
}
