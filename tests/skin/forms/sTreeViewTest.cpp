#include "Screenshot.h"
#include "skin/forms/sTreeView.h"

#include "platform/forms/BitmapImage.h"
#include "skin/acPNG.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sLabel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A skin manager with one section, for the skinned roads.
class FakeManager : public TsSkinManager {
public:
    TsGeneralData section;
    bool destroying = false;
    bool Destroying() const override { return destroying; }
    bool Designing() const override { return false; }
    bool Active() const override { return true; }
    int SectionCount() const override { return 1; }
    bool IsValidSkinIndex(int i) const override { return i == 0; }
    int GetSkinIndex(const std::string& s) const override { return s == "EDIT" ? 0 : -1; }
    int GetTextureIndex(int, const std::string&, const std::string&) const override { return -1; }
    const TsGeneralData& Section(int) const override { return section; }
    const TsMaskData* Mask(int) const override { return nullptr; }
    bool AllowGlowing() const override { return false; }
    TColor GlobalColor() const override { return clBtnFace(); }
    TColor GlobalFontColor() const override { return RGB(1, 2, 3); }
    void ClearRepaintFlag() override {}
    void SetActiveControl(QObject*) override {}
    void HookPopupMenu(QObject*) override {}
    const TacAnimEffects& AnimEffects() const override { return effects; }
    TacAnimEffects effects;
};

struct ManagerScope {
    FakeManager manager;
    ManagerScope() { DefaultSkinManager = &manager; }
    ~ManagerScope() { DefaultSkinManager = nullptr; }
};

} // namespace

TEST(TsTreeView, NewTreeIsAnUnskinnedEditOfType96)
{
    SkinLibraryInitialization();
    EXPECT_EQ(SkinCommandMessage, 0xA100);
    QWidget form;
    TsTreeView tree(&form);
    form.show();
    EXPECT_EQ(tree.SkinData()->SkinSection(), "EDIT");
    EXPECT_EQ(tree.SkinData()->ControlTypeCode, 96);
    EXPECT_FALSE(tree.SkinData()->Skinned());
    EXPECT_EQ(tree.SkinData()->SkinIndex, -1);
    EXPECT_EQ(SendSkinCommand(&tree, AC_CTRLHANDLED), 1);
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETAPPLICATION), ApplicationAnswer());
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETSKININDEX), 0);
    EXPECT_EQ(SendSkinCommand(&tree, AC_ISPAINTEDBG), 0);
    SetControlColor(&tree, RGB(1, 2, 3));
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETBGCOLOR), RGB(1, 2, 3));
    // A plain widget answers nothing.
    QWidget plain;
    EXPECT_EQ(SendSkinCommand(&plain, AC_CTRLHANDLED), 0);
}

TEST(TsTreeView, ShowsNoColumnHeader)
{
    QWidget form;
    TsTreeView tree(&form);
    tree.addTopLevelItem(new QTreeWidgetItem(QStringList{"first"}));
    form.show();
    QApplication::processEvents();
    EXPECT_FALSE(tree.header()->isVisible());
    // The first item sits at the top of the tree's area.
    EXPECT_EQ(tree.visualItemRect(tree.topLevelItem(0)).top(), 0);
}

TEST(TsTreeView, SkinRemovalRestoresSystemColoursUnlessCustom)
{
    QWidget form;
    TsTreeView tree(&form);
    form.show();
    SetControlColor(&tree, RGB(10, 20, 30));
    SetFontColor(&tree, RGB(40, 50, 60));
    SendSkinCommand(&tree, AC_REMOVESKIN, 0, 0);
    EXPECT_EQ(ControlColor(&tree), clWindow());
    EXPECT_EQ(FontColor(&tree), clWindowText());

    tree.SkinData()->SetCustomColor(true);
    SetControlColor(&tree, RGB(10, 20, 30));
    SetFontColor(&tree, RGB(40, 50, 60));
    // The section setter of a parented tree sends the removal itself.
    tree.SkinData()->SetSkinSection("edit2");
    EXPECT_EQ(tree.SkinData()->SkinSection(), "EDIT2");
    EXPECT_EQ(ControlColor(&tree), RGB(10, 20, 30));
    EXPECT_EQ(FontColor(&tree), clWindowText());
    tree.SkinData()->SetSkinSection("");
    EXPECT_EQ(tree.SkinData()->SkinSection(), "UNKNOWN");
    // A removal for another manager is not acted on.
    tree.SkinData()->SetCustomColor(false);
    SetControlColor(&tree, RGB(10, 20, 30));
    FakeManager other;
    SendSkinCommand(&tree, AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(&other));
    EXPECT_EQ(ControlColor(&tree), RGB(10, 20, 30));
}

TEST(TsTreeView, FocusChangesMarkTheFrame)
{
    QWidget form;
    TsTreeView tree(&form);
    QLineEdit other(&form);
    other.move(0, 200);
    form.show();
    tree.SkinData()->BGChanged = false;
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&tree, &in);
    EXPECT_TRUE(tree.SkinData()->Focused);
    EXPECT_TRUE(tree.SkinData()->BGChanged);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&tree, &out);
    EXPECT_FALSE(tree.SkinData()->Focused);
    // A control that cannot take the focus keeps no focus state.
    tree.setFocusPolicy(Qt::NoFocus);
    QApplication::sendEvent(&tree, &in);
    EXPECT_FALSE(tree.SkinData()->Focused);
}

TEST(TsTreeView, VisibilityAndUpdatingCommands)
{
    QWidget form;
    TsTreeView tree(&form);
    form.show();
    TsCommonData* d = tree.SkinData();
    d->CacheBmp->SetSize(5, 5);
    tree.hide();
    EXPECT_EQ(d->CacheBmp->Width(), 0);
    d->BGChanged = false;
    tree.show();
    EXPECT_TRUE(d->BGChanged);
    SendSkinCommand(&tree, AC_SETUPDATING, 1);
    EXPECT_TRUE(d->Updating);
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETUPDATING), 1);
    SendSkinCommand(&tree, AC_SETUPDATING, 0);
    d->BGChanged = false;
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETUPDATING), 0);
    d->CacheFlags = 5;
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETCACHEFLAGS, 0, 0), 5);
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETCACHEFLAGS, 0, 1), 0);
    EXPECT_EQ(d->CacheFlags, 4);
    SendSkinCommand(&tree, AC_SETMARK, 1);
    EXPECT_TRUE(d->ForceParentBg);
}

TEST(TsTreeView, ContextMenuIsLeftToTheTree)
{
    QWidget form;
    TsTreeView tree(&form);
    form.resize(200, 200);
    tree.resize(150, 150);
    form.show();
    QMenu menu;
    menu.addAction("Open");
    tree.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&tree, &QWidget::customContextMenuRequested,
                     [&](const QPoint& pos) { menu.exec(tree.viewport()->mapToGlobal(pos)); });
    bool shown = false;
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        shown = popup != nullptr;
        if (popup)
            popup->close();
        // A menu that is not the active popup still ends its loop: the
        // test then fails on `shown` instead of hanging.
        menu.close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), tree.viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(tree.viewport(), &event);
    EXPECT_TRUE(shown);
    EXPECT_EQ(menu.actions().size(), 1);
}

TEST(TsTreeView, SkinnedRoadTakesTheSectionColours)
{
    ManagerScope scope;
    scope.manager.section.Color = RGB(200, 210, 220);
    scope.manager.section.FontColor = RGB(5, 6, 7);
    QWidget form;
    TsTreeView tree(&form);
    tree.Loaded();
    form.show();
    EXPECT_TRUE(tree.SkinData()->Skinned());
    EXPECT_EQ(ControlColor(&tree), RGB(200, 210, 220));
    EXPECT_EQ(FontColor(&tree), RGB(5, 6, 7));
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETSKININDEX), 1);
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETBGCOLOR), RGB(200, 210, 220));
    // Fully transparent over a plain parent, which leaves sub-code 21
    // unanswered: the parent's own colour.
    scope.manager.section.Transparency = 100;
    SetControlColor(&form, RGB(255, 255, 255));
    EXPECT_EQ(SendSkinCommand(&tree, AC_GETBGCOLOR), RGB(255, 255, 255));
    // Removal by its manager returns to the system colours.
    SendSkinCommand(&tree, AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(&scope.manager));
    EXPECT_EQ(tree.SkinData()->SkinIndex, -1);
    EXPECT_EQ(ControlColor(&tree), clWindow());
}

TEST(TsBoundLabel, ActivationPlacementAndDestruction)
{
    QWidget form;
    form.resize(400, 300);
    TsTreeView tree(&form);
    tree.setObjectName("TreeView1");
    tree.setGeometry(100, 50, 150, 21);
    form.show();
    TsBoundLabel* bound = tree.BoundLabel();
    bound->SetActive(true);
    ASSERT_NE(bound->Label(), nullptr);
    TsEditLabel* label = bound->Label();
    EXPECT_EQ(label->objectName(), "TreeView1Label");
    EXPECT_EQ(label->text(), "TreeView1");
    EXPECT_EQ(label->parentWidget(), &form);
    EXPECT_EQ(label->buddy(), &tree);
    EXPECT_EQ(label->x(), 100 - label->width() - 4);
    EXPECT_EQ(label->y(), 50 + (21 - label->height()) / 2 - 1);
    bound->SetLayout(sclTopCenter);
    EXPECT_EQ(label->x(), 100 + (150 - label->width()) / 2);
    EXPECT_EQ(label->y(), 50 - label->height());
    // Moving the tree moves its label.
    tree.move(120, 80);
    EXPECT_EQ(label->y(), 80 - label->height());
    bound->SetCaption("Files");
    EXPECT_EQ(label->text(), "Files");
    tree.hide();
    EXPECT_FALSE(label->isVisible());
    tree.show();
    EXPECT_TRUE(label->isVisible());

    QImage shot = form.grab().toImage();
    SaveScreenshot(shot, "tree_label");

    delete label;
    EXPECT_FALSE(bound->Active());
    EXPECT_EQ(bound->Label(), nullptr);
    bound->SetActive(true);
    EXPECT_NE(bound->Label(), nullptr);
    bound->SetActive(false);
    EXPECT_EQ(bound->Label(), nullptr);
}

TEST(TsLabel, PlainLabelWithoutManagerAndSkinColourWithOne)
{
    QWidget form;
    TsLabel label(&form);
    label.setText("Text");
    label.SetSkinSection("MixedCase");
    EXPECT_EQ(label.SkinSection(), "MixedCase");
    SetFontColor(&label, RGB(9, 9, 9));
    form.show();
    QImage plain = label.grab().toImage();
    EXPECT_EQ(FontColor(&label), RGB(9, 9, 9));
    {
        ManagerScope scope;
        // No section for the parent: the manager's global font colour.
        label.grab();
        EXPECT_EQ(FontColor(&label), RGB(1, 2, 3));
        // Removal by the default manager returns to clWindowText.
        SendSkinCommand(&label, AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(&scope.manager));
        EXPECT_EQ(FontColor(&label), clWindowText());
        label.SetUseSkinColor(false);
        SetFontColor(&label, RGB(9, 9, 9));
        label.grab();
        EXPECT_EQ(FontColor(&label), RGB(9, 9, 9));
    }
    bool entered = false, left = false;
    label.OnMouseEnter = [&] { entered = true; };
    label.OnMouseLeave = [&] { left = true; };
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(&label, &enter);
    QApplication::sendEvent(&label, &leave);
    EXPECT_TRUE(entered);
    EXPECT_TRUE(left);
}

TEST(PNGPicture, HandsItsPixelsToQImage)
{
    TPNGGraphic g;
    g.SetPixelFormat(pf32bit);
    g.SetSize(2, 1);
    uint8_t* p = g.ScanLine(0);
    const uint8_t px[8] = {10, 20, 30, 128, 1, 2, 3, 255};
    std::copy(px, px + 8, p);
    QImage image = BitmapToImage(g);
    EXPECT_EQ(image.pixel(0, 0), qRgba(30, 20, 10, 128));
    EXPECT_EQ(image.pixel(1, 0), qRgba(3, 2, 1, 255));

    TBitmap pal;
    pal.SetPixelFormat(pf4bit);
    pal.SetPalette({TRGBQuad{0, 0, 0, 0}, TRGBQuad{0, 0, 255, 0}});
    pal.SetSize(3, 1);
    pal.ScanLine(0)[0] = 0x10;
    pal.ScanLine(0)[1] = 0x10;
    EXPECT_EQ(BitmapToImage(pal).pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(BitmapToImage(pal).pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(BitmapToImage(pal).pixel(2, 0), qRgb(255, 0, 0));
    pal.SetTransparentColor(RGB(255, 0, 0));
    pal.SetTransparent(true);
    EXPECT_EQ(qAlpha(BitmapToImage(pal).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(BitmapToImage(pal).pixel(1, 0)), 255);
    EXPECT_TRUE(BitmapToImage(TBitmap()).isNull());
}

TEST(TsCommonData, DefaultSectionAndMouseBookkeeping)
{
    QWidget panel;
    TsCommonData data(&panel, false);
    data.SetDefaultSection();
    EXPECT_EQ(data.SkinSection(), "QWIDGET");
    EXPECT_EQ(data.CacheBmp, nullptr);
    // Hover is tracked unless the type never takes it.
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    HandleCommonMessage(&enter, &data);
    EXPECT_TRUE(data.MouseAbove);
    HandleCommonMessage(&leave, &data);
    EXPECT_FALSE(data.MouseAbove);
    data.ControlTypeCode = 51;
    HandleCommonMessage(&enter, &data);
    EXPECT_FALSE(data.MouseAbove);
    EXPECT_FALSE(HandleCommonMessage(&enter, nullptr));
    // Without a manager a background request is answered with the colour.
    SetControlColor(&panel, RGB(7, 8, 9));
    TBackgroundInfo info;
    data.FillBackgroundInfo(info, false);
    EXPECT_EQ(info.BgType, 1);
    EXPECT_EQ(info.Color, RGB(7, 8, 9));
    EXPECT_FALSE(data.GetUpdating());
    EXPECT_EQ(data.GetBackgroundColor(false), RGB(7, 8, 9));
}

TEST(TsTreeView, ConstructionWithAParentSendsNothing)
{
    // The section is set while the tree is being built: no removal command
    // reaches it, so it neither fixes its colours nor waits for an update.
    QWidget form;
    TsTreeView tree(&form);
    EXPECT_EQ(tree.SkinData()->SkinSection(), "EDIT");
    EXPECT_FALSE(tree.SkinData()->Updating);
    EXPECT_FALSE(tree.testAttribute(Qt::WA_SetPalette));
}

TEST(TsCommonData, HalfTransparentBackgroundRoundsAsMixColors)
{
    ManagerScope scope;
    scope.manager.section.Transparency = 50;
    QWidget form;
    SetControlColor(&form, RGB(2, 2, 2));
    TsTreeView tree(&form);
    tree.Loaded();
    ASSERT_TRUE(tree.SkinData()->Skinned());
    scope.manager.section.Color = RGB(1, 3, 0);
    // Halves go to the even neighbour: 1.5 -> 2, 2.5 -> 2, 1.0 -> 1.
    EXPECT_EQ(tree.SkinData()->GetBackgroundColor(false), RGB(2, 2, 1));
}

TEST(TsCommonData, RemovalDropsAnOwnManagerThatIsGoingAway)
{
    QWidget form;
    TsTreeView tree(&form);
    form.show();
    FakeManager own;
    tree.SkinData()->SetSkinManager(&own);
    ASSERT_TRUE(tree.SkinData()->IsSkinManagerStored());
    // A removal by a manager that stays keeps the reference.
    SendSkinCommand(&tree, AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(&own));
    EXPECT_TRUE(tree.SkinData()->IsSkinManagerStored());
    own.destroying = true;
    SendSkinCommand(&tree, AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(&own));
    EXPECT_FALSE(tree.SkinData()->IsSkinManagerStored());
    EXPECT_EQ(tree.SkinData()->SkinManager(), nullptr);
    EXPECT_EQ(tree.SkinData()->SkinIndex, -1);
}

TEST(TsBoundLabel, ControlWithoutParentShowsNoLabelWindow)
{
    QWidget form; // outlives the tree, which it takes in at the end
    TsTreeView tree;
    tree.setObjectName("Lonely");
    tree.show();
    tree.BoundLabel()->SetActive(true);
    ASSERT_NE(tree.BoundLabel()->Label(), nullptr);
    EXPECT_FALSE(tree.BoundLabel()->Label()->isVisible());
    tree.hide();
    tree.show();
    EXPECT_FALSE(tree.BoundLabel()->Label()->isVisible());
    // Outside a form the library does not paint it.
    EXPECT_FALSE(ControlReadyToPaint(&tree));
    tree.setParent(&form);
    form.show();
    tree.show();
    EXPECT_TRUE(ControlReadyToPaint(&tree));
}

TEST(TsLabel, DisabledAndSectionColoursUnderASkinOnly)
{
    QWidget form;
    SetControlColor(&form, RGB(255, 255, 255));
    TsLabel label(&form);
    label.setText("Disabled");
    label.setEnabled(false);
    form.show();
    label.grab();
    const QColor plainDisabled = label.palette().color(QPalette::Disabled, label.foregroundRole());
    {
        ManagerScope scope;
        // Global font colour (1, 2, 3): 40 % of it, 60 % of the white parent.
        label.grab();
        EXPECT_EQ(ColorFromQColor(label.palette().color(QPalette::Disabled, label.foregroundRole())),
                  RGB(153, 154, 154));
        // The removal's clWindowText is the colour of enabled text only.
        SendSkinCommand(&label, AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(&scope.manager));
        EXPECT_EQ(ColorFromQColor(label.palette().color(QPalette::Disabled, label.foregroundRole())),
                  RGB(153, 154, 154));
        // A label's own section gives its font colour even when it does
        // not take the colour of the skin under it.
        scope.manager.section.FontColor = RGB(40, 50, 60);
        label.setEnabled(true);
        label.SetUseSkinColor(false);
        label.SetSkinSection("EDIT");
        label.grab();
        EXPECT_EQ(FontColor(&label), RGB(40, 50, 60));
        label.setEnabled(false);
    }
    // Without a skin the disabled text looks as a plain label's again.
    label.grab();
    EXPECT_EQ(label.palette().color(QPalette::Disabled, label.foregroundRole()), plainDisabled);
}
