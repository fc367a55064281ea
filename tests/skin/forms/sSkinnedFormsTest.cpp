#include "skin/forms/sSkinnedForms.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sFileIcons.h"
#include "skin/forms/sVclUtils.h"
#include "skin/sSkinManagerIntf.h"

#include <QApplication>
#include <QPainter>

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

// A manager with nothing but animation settings.
class TSettingsManager : public TsSkinManager {
public:
    TacAnimEffects effects;
    bool Destroying() const override { return false; }
    bool Designing() const override { return false; }
    bool Active() const override { return true; }
    int SectionCount() const override { return 0; }
    bool IsValidSkinIndex(int) const override { return false; }
    int GetSkinIndex(const std::string&) const override { return -1; }
    int GetTextureIndex(int, const std::string&, const std::string&) const override { return -1; }
    const TsGeneralData& Section(int) const override { return none; }
    const TsMaskData* Mask(int) const override { return nullptr; }
    bool AllowGlowing() const override { return false; }
    TColor GlobalColor() const override { return 0; }
    TColor GlobalFontColor() const override { return 0; }
    void ClearRepaintFlag() override {}
    void SetActiveControl(QObject*) override {}
    void HookPopupMenu(QObject*) override {}
    const TacAnimEffects& AnimEffects() const override { return effects; }

private:
    TsGeneralData none;
};

// A registered form that paints itself in one colour: its look.
class TColourForm : public TProbeWidget {
public:
    using TProbeWidget::TProbeWidget;
    QColor colour = Qt::black;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
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

TEST(SkinnedForms, SkinChangeFadesTheDefaultManagersFormsFromTheirOldLook)
{
    const struct Case {
        const char* what;
        bool isDefault, active, ownFrame, repaint;
        int waits; // frames waited for, 8 ms each, on virtual time
        bool fade;  // an output window showed the change
    } cases[] = {
        {"the default manager's forms fade", true, true, true, true, 9, true},
        {"a frame of the system's shows at once", true, true, false, true, 0, true},
        {"the animation switched off", true, false, true, true, 0, false},
        {"another manager's change", false, true, true, true, 0, false},
        {"thawed without repainting", true, true, true, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TListGuard guard;
        TSettingsManager manager, other;
        manager.effects.SkinChanging.Active = c.active;
        manager.effects.SkinChanging.Time = 80;
        DefaultSkinManager = c.isDefault ? &manager : &other;
        TFakeProvider provider;
        provider.manager = &manager;
        provider.ownFrame = c.ownFrame;
        TColourForm form;
        form.provider = &provider;
        form.resize(60, 40);
        form.show();
        QApplication::processEvents(); // black on the screen
        RegisterSkinnedForm(&form);

        // As a skin change does: the new skin is loaded, then a lock around
        // handing it round and one around the repaint, the look changing
        // under both; the screen shows the old look throughout.
        form.colour = Qt::darkGray;
        LockSkinnedForms(&manager);
        EXPECT_EQ(FormAnimating, c.isDefault && c.active);
        form.colour = Qt::gray;
        LockSkinnedForms(&manager);
        form.colour = Qt::white;

        std::vector<int> reds; // of the output window, at each frame
        int waits = 0, outputs = 0;
        bool animating = true, drawing = true;
        AnimationSleep = [&](int ms) {
            EXPECT_EQ(ms, 8);
            ++waits;
            animating = animating && FormAnimating;
            drawing = drawing && form.updatesEnabled();
            if (TOutputWindow* out = OutputWindow()) {
                EXPECT_EQ(out->geometry(), form.frameGeometry());
                reds.push_back(qRed(out->grab().toImage().pixel(30, 20)));
            }
        };
        // The output window shows the change, however short.
        struct OutputSpy : QObject {
            int* count;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Show && dynamic_cast<TOutputWindow*>(o))
                    ++*count;
                return false;
            }
        } spy;
        spy.count = &outputs;
        qApp->installEventFilter(&spy);
        UnlockSkinnedForms(&manager, c.repaint);
        qApp->removeEventFilter(&spy);
        AnimationSleep = nullptr;
        DefaultSkinManager = nullptr;

        EXPECT_EQ(waits, c.waits);
        EXPECT_EQ(outputs > 0, c.fade);
        EXPECT_TRUE(animating);
        EXPECT_TRUE(drawing); // the form draws its new look under the picture
        EXPECT_FALSE(FormAnimating);
        EXPECT_EQ(OutputWindow(), nullptr);
        EXPECT_TRUE(form.updatesEnabled());
        EXPECT_EQ(provider.changing, !c.repaint);
        EXPECT_EQ(provider.frameUpdated, c.repaint && c.ownFrame);
        // From the look on the screen (black) towards the new one.
        for (size_t i = 1; i < reds.size(); ++i)
            EXPECT_GE(reds[i], reds[i - 1]);
        if (!reds.empty()) {
            EXPECT_LT(reds.front(), 64);
            EXPECT_GT(reds.back(), 160);
        }
    }
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
