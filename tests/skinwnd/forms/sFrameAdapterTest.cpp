#include "skinwnd/forms/sFrameAdapter.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "platform/MessageBox.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sVclUtils.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace adaptertest;

namespace {

int Command(QWidget* w, uint16_t subCode)
{
    TSkinCommandEvent m(subCode);
    QCoreApplication::sendEvent(w, &m);
    return int(m.Result);
}

// Answers every message box at once and remembers its text.
struct BoxCatcher {
    std::vector<std::string> texts;
    MessageBoxHandler old;
    BoxCatcher()
    {
        old = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            texts.push_back(text);
            return IDOK;
        });
    }
    ~BoxCatcher() { SetMessageBoxHandler(old); }
};

// A form with a marked frame holding a button, in the middle of the form.
struct FrameForm {
    QWidget form;
    QFrame* frame = new QFrame(&form);
    QPushButton* button = new QPushButton("In frame", frame);
    explicit FrameForm(bool marked = true)
    {
        // Away from the cursor, which would make a control hot on its own.
        form.setGeometry(300, 300, 260, 160);
        frame->setProperty(TsFrameAdapter::FrameProperty, marked);
        frame->setGeometry(20, 20, 220, 120);
        button->setGeometry(16, 16, 110, 30);
        button->setFocusPolicy(Qt::NoFocus);
        form.show();
        QApplication::processEvents();
    }
};

} // namespace

TEST(TsFrameAdapter, OnlyAMarkedFrameIsTaken)
{
    BoxCatcher boxes;
    QWidget plain;
    QFrame unmarked;
    QFrame marked;
    marked.setProperty(TsFrameAdapter::FrameProperty, true);
    struct Case {
        QWidget* owner;
        bool taken;
    };
    for (const Case& c : {Case{&plain, false}, Case{&unmarked, false}, Case{&marked, true}}) {
        boxes.texts.clear();
        auto* adapter = new TsFrameAdapter(c.owner);
        EXPECT_EQ(adapter->Frame() != nullptr, c.taken);
        EXPECT_EQ(adapter->parent(), c.owner);
        EXPECT_EQ(adapter->SkinData()->ControlTypeCode, 226);
        EXPECT_EQ(adapter->SkinData()->SkinSection(), "GROUPBOX");
        // Handled at run time even without a manager; an owner refused
        // hears nothing.
        EXPECT_EQ(Command(c.owner, AC_CTRLHANDLED), c.taken ? 1 : 0);
        if (c.taken)
            EXPECT_TRUE(boxes.texts.empty());
        else
            EXPECT_EQ(boxes.texts, std::vector<std::string>{"TsFrameAdapter adapter must be placed on the handled frame"});
        delete adapter;
        EXPECT_EQ(Command(c.owner, AC_CTRLHANDLED), 0);
    }
    auto* onObject = new TsFrameAdapter(nullptr);
    EXPECT_EQ(onObject->Frame(), nullptr);
    delete onObject;
}

TEST(TsFrameAdapter, SectionFallsBackToGroupBox)
{
    SkinScope scope;
    FrameForm f;
    struct Case {
        const char* given;
        const char* used;
    };
    for (const Case& c : {Case{"", "GROUPBOX"}, Case{"TsFrameAdapter", "GROUPBOX"}, Case{"PANEL", "PANEL"}}) {
        TsFrameAdapter adapter(f.frame);
        adapter.SkinData()->SetSkinSection(c.given);
        adapter.Loaded();
        EXPECT_EQ(adapter.SkinData()->SkinSection(), c.used) << c.given;
        EXPECT_EQ(Command(f.frame, AC_GETSKININDEX), scope.manager->GetSkinIndex(c.used) + 1) << c.given;
    }
}

TEST(TsFrameAdapter, SkinnedFramePaintsAndAdaptsItsChildrenThenGivesThemBack)
{
    SkinScope scope;
    scope.manager->SetActive(false);
    FrameForm f;
    const QImage plain = Grab(&f.form);
    QPointer<TsFrameAdapter> adapter = new TsFrameAdapter(f.frame);
    adapter->Loaded();
    QApplication::processEvents();
    // Without a skin the frame looks as before.
    EXPECT_EQ(Grab(&f.form), plain);
    EXPECT_EQ(GetAdapterOf(f.button), nullptr);

    scope.manager->SetActive(true);
    scope.manager->SetSkinName("Tarku");
    QApplication::processEvents();
    ASSERT_TRUE(adapter->SkinData()->Skinned());
    const QImage skinned = Grab(f.frame);
    // The middle of the frame right of the button is the section's colour.
    EXPECT_EQ(PixelAt(skinned, 180, 90), scope.Section("GROUPBOX").Color);
    EXPECT_NE(Grab(&f.form), plain);
    EXPECT_NE(GetAdapterOf(f.button), nullptr);
    SaveScreenshot(f.form, "frame-skinned");

    // Removing the skin gives frame and button back as they were.
    scope.manager->SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(f.button), nullptr);
    EXPECT_EQ(Grab(&f.form), plain);

    // Detaching while skinned does the same.
    scope.manager->SetActive(true);
    scope.manager->SetSkinName("Tarku");
    QApplication::processEvents();
    EXPECT_NE(Grab(&f.form), plain);
    delete adapter;
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(f.button), nullptr);
    EXPECT_EQ(Grab(&f.form), plain);
}

TEST(TsFrameAdapter, ColourQueryMixesByTransparency)
{
    struct Case {
        int transparency;
        TColor parent, section, mixed;
    };
    // The transparency is a percentage of the parent's colour.
    const Case cases[] = {
        {0, 0x000000, 0x804020, 0x804020},
        {100, 0x102030, 0xFFFFFF, 0x102030},
        {50, 0x000000, 0xFF00FF, 0x7F007F},
        {50, 0x000000, 0xFFFFFF, 0x7F7F7F},
        {25, 0xFFFFFF, 0x000000, 0x3F3F3F},
        {75, 0xFFFFFF, 0x000000, 0xBFBFBF},
        // Values a skin file may hold outside the range stay inside it.
        {300, 0xFFFFFF, 0x000000, 0xFFFFFF},
        {-40, 0xFFFFFF, 0x204060, 0x204060},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TsFrameAdapter::MixedColor(c.transparency, c.parent, c.section), c.mixed) << c.transparency;
}

TEST(TsFrameAdapter, SeeThroughSectionAnswersItsParentsColour)
{
    SkinScope scope;
    FrameForm f;
    TsFrameAdapter adapter(f.frame);
    adapter.SkinData()->SetSkinSection("CHECKBOX");
    adapter.Loaded();
    ASSERT_EQ(scope.Section("CHECKBOX").Transparency, 100);
    if (adapter.SkinData()->NeedsCache()) {
        EXPECT_EQ(Command(f.frame, AC_GETBGCOLOR), 0xFF00FF);
    } else {
        EXPECT_EQ(TColor(Command(f.frame, AC_GETBGCOLOR)), ControlColor(&f.form));
    }
    adapter.SkinData()->SetSkinSection("GROUPBOX");
    adapter.Loaded();
    if (!adapter.SkinData()->NeedsCache()) {
        EXPECT_EQ(TColor(Command(f.frame, AC_GETBGCOLOR)), scope.Section("GROUPBOX").Color);
    }
}

TEST(TsFrameAdapter, FrameHalfOutsideItsParentRepaintsFromScratch)
{
    SkinScope scope;
    FrameForm f;
    TsFrameAdapter adapter(f.frame);
    adapter.SkinData()->SetSkinSection("CHECKBOX");
    // A frame that shows what lies behind it.
    adapter.SkinData()->ForceParentBg = true;
    adapter.Loaded();
    ASSERT_TRUE(adapter.SkinData()->DependsOnParentBg());
    const TColor marker = 0x00FF00;
    // Whether the next paint built the picture again: a marker painted
    // over the kept picture shows unless it was rebuilt.
    auto rebuilt = [&] {
        TBitmap& cache = *adapter.SkinData()->CacheBmp;
        cache.FillRect({0, 0, cache.Width(), cache.Height()}, marker);
        adapter.SkinData()->BGChanged = false;
        return PixelAt(Grab(f.frame), 100, 60) != marker;
    };
    struct Case {
        int x;
        bool outside;
    };
    for (const Case& c : {Case{20, false}, Case{160, true}, Case{20, false}}) {
        f.frame->move(c.x, 20);
        QApplication::processEvents();
        Grab(f.frame);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(rebuilt(), c.outside) << c.x << " paint " << i;
    }
}

TEST(TsFrameAdapter, FrameDeletedWithItsAdapterWhileSkinned)
{
    SkinScope scope;
    auto f = std::make_unique<FrameForm>();
    QPointer<TsFrameAdapter> adapter = new TsFrameAdapter(f->frame);
    adapter->Loaded();
    QApplication::processEvents();
    ASSERT_NE(GetAdapterOf(f->button), nullptr);
    // The adapter goes with its frame, the button's adapter with it.
    delete f->frame;
    EXPECT_TRUE(adapter.isNull());
    QApplication::processEvents();
    f.reset();
}
