#include "skin/forms/sSkinnedForms.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sFileIcons.h"
#include "skin/sSkinManagerIntf.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

const uint16_t Probe = 42;

class TFakeProvider : public TacFormProvider {
public:
    TsSkinManager* manager = nullptr;
    bool changing = false, frameUpdated = false, ownFrame = true;
    TsSkinManager* SkinManager() const override { return manager; }
    void SetSkinChanging(bool value) override { changing = value; }
    bool DrawNonClientArea() const override { return ownFrame; }
    void UpdateFrame() override { frameUpdated = true; }
};

// Counts the probe commands it gets; answers the provider and handled
// queries as set.
class TProbeWidget : public QWidget {
public:
    using QWidget::QWidget;
    int probes = 0;
    bool handled = false;
    TacFormProvider* provider = nullptr;

    bool event(QEvent* e) override
    {
        if (e->type() != SkinCommandEventType())
            return QWidget::event(e);
        auto* c = static_cast<TSkinCommandEvent*>(e);
        if (c->SubCode() == Probe)
            ++probes;
        else if (c->SubCode() == AC_GETPROVIDER)
            c->Result = reinterpret_cast<intptr_t>(provider);
        else if (c->SubCode() == AC_CTRLHANDLED)
            c->Result = handled ? 1 : 0;
        return true;
    }
};

struct TListGuard {
    ~TListGuard() { SkinnedForms.clear(); }
};

} // namespace

TEST(SkinnedForms, RegisterOnceRemoveEveryOccurrence)
{
    TListGuard guard;
    QWidget a, b, c;
    RegisterSkinnedForm(&a);
    RegisterSkinnedForm(&a);
    RegisterSkinnedForm(&b);
    RegisterSkinnedForm(&c);
    RegisterSkinnedForm(nullptr);
    ASSERT_EQ(SkinnedForms.size(), 3u);
    UnregisterSkinnedForm(&a); // the last form moves into its slot
    ASSERT_EQ(SkinnedForms.size(), 2u);
    EXPECT_EQ(SkinnedForms[0], &c);
    EXPECT_EQ(SkinnedForms[1], &b);
    // A list that holds a form twice (kept from before) loses both.
    SkinnedForms.emplace_back(&c);
    UnregisterSkinnedForm(&c);
    ASSERT_EQ(SkinnedForms.size(), 1u);
    EXPECT_EQ(SkinnedForms[0], &b);
    UnregisterSkinnedForm(&b);
    EXPECT_TRUE(SkinnedForms.empty());
    UnregisterSkinnedForm(&b);
    EXPECT_TRUE(SkinnedForms.empty());
}

TEST(SkinnedForms, BroadcastsReachEveryFormAndControlOnce)
{
    TListGuard guard;
    TProbeWidget plain, skinned, handledForm;
    auto* child = new TProbeWidget(&plain);
    auto* grandChild = new TProbeWidget(child);
    auto* skinnedChild = new TProbeWidget(&skinned);
    handledForm.handled = true;
    skinned.handled = true;
    RegisterSkinnedForm(&skinned);
    BroadcastToAppForms({Probe, 0, 0});
    struct Case {
        const char* what;
        const TProbeWidget* w;
        int probes;
    } cases[] = {
        {"plain form", &plain, 1},          {"its control", child, 1},
        {"a control below it", grandChild, 1}, {"registered form", &skinned, 1},
        {"its control", skinnedChild, 1},   {"a form that says it is handled", &handledForm, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.w->probes, c.probes) << c.what;
    // A registered form that was destroyed is passed over.
    {
        TProbeWidget gone;
        RegisterSkinnedForm(&gone);
    }
    BroadcastToSkinnedForms({Probe, 0, 0});
    EXPECT_EQ(skinned.probes, 2);
    EXPECT_EQ(plain.probes, 1);
}

TEST(SkinnedForms, LockAndUnlockAroundASkinChange)
{
    TListGuard guard;
    TsSkinManager* const mine = reinterpret_cast<TsSkinManager*>(0x1000);
    TsSkinManager* const other = reinterpret_cast<TsSkinManager*>(0x2000);
    TFakeProvider p1, p2, p3;
    p1.manager = p3.manager = mine;
    p2.manager = other;
    TProbeWidget f1, f2, hidden;
    f1.provider = &p1;
    f2.provider = &p2;
    hidden.provider = &p3;
    f1.show();
    f2.show();
    for (QWidget* w : {static_cast<QWidget*>(&f1), static_cast<QWidget*>(&f2), static_cast<QWidget*>(&hidden)})
        RegisterSkinnedForm(w);
    LockSkinnedForms(mine);
    EXPECT_FALSE(f1.updatesEnabled());
    EXPECT_TRUE(p1.changing);
    EXPECT_TRUE(f2.updatesEnabled()); // another manager's form
    EXPECT_FALSE(p2.changing);
    EXPECT_TRUE(hidden.updatesEnabled());
    // Without repainting only drawing comes back.
    UnlockSkinnedForms(mine, false);
    EXPECT_TRUE(f1.updatesEnabled());
    EXPECT_TRUE(p1.changing);
    EXPECT_FALSE(p1.frameUpdated);
    LockSkinnedForms(mine);
    UnlockSkinnedForms(mine, true);
    EXPECT_TRUE(f1.updatesEnabled());
    EXPECT_FALSE(p1.changing);
    EXPECT_TRUE(p1.frameUpdated);
}

TEST(SkinnedForms, ProgramIcons)
{
    EXPECT_TRUE(GetFileIcon("/nonexistent/program", 16).isNull());
    sSkinnedFormsInitialization();
    EXPECT_FALSE(AppIconSmall.isNull());
    EXPECT_LE(AppIconSmall.width(), 16);
    sSkinnedFormsFinalization();
    EXPECT_TRUE(AppIconSmall.isNull());
    EXPECT_GT(GetCaptionFontHeight(), 0);
}
