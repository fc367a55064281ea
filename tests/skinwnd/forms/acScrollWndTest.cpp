#include "skinwnd/forms/acScrollWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acScrollState.h"

#include "../../skin/SkinContentManager.h"
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

using adaptertest::Grab;

namespace {

// Solid colours per part and state, so that a pixel tells which part was
// painted there and in which state.
const QColor TrackColor[3] = {QColor(100, 100, 100), QColor(100, 100, 100), QColor(60, 60, 60)};
const QColor ThumbColor[3] = {QColor(200, 0, 0), QColor(240, 0, 0), QColor(150, 0, 0)};
const QColor FirstArrowColor[3] = {QColor(0, 0, 200), QColor(0, 0, 240), QColor(0, 0, 150)};
const QColor SecondArrowColor[3] = {QColor(0, 200, 0), QColor(0, 240, 0), QColor(0, 150, 0)};
const QColor GripColor(255, 200, 0);

TColor ToColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

// A skin whose scroll items are plain colours.
class SolidSkin : public skintest::ContentManager {
public:
    SolidSkin()
    {
        TBitmap& master = Master(24, 8 * 6);
        int row = 0;
        auto item = [&](std::vector<const char*> sections, const QColor (&states)[3]) {
            for (int state = 0; state < 3; ++state)
                master.FillRect({state * 8, row * 8, state * 8 + 8, row * 8 + 8}, ToColor(states[state]));
            for (const char* name : sections) {
                Section(name);
                const int mask = AddMask({0, row * 8, 24, row * 8 + 8}, 3, 0, 2, 2, 2, 2);
                skin.ma[size_t(mask)].SectionName = name;
                skin.ma[size_t(mask)].PropertyName = "BORDERSMASK";
            }
            ++row;
        };
        item({"SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V"}, TrackColor);
        item({"SCROLLSLIDERH", "SCROLLSLIDERV"}, ThumbColor);
        item({"SCROLLBTNLEFT", "SCROLLBTNTOP"}, FirstArrowColor);
        item({"SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"}, SecondArrowColor);
        master.FillRect({0, row * 8, 6, row * 8 + 6}, ToColor(GripColor));
        Section("GLOBALINFO");
        const int grip = AddMask({0, row * 8, 6, row * 8 + 6}, 1, 0, 0, 0, 0, 0, 0);
        skin.ma[size_t(grip)].SectionName = "GLOBALINFO";
        skin.ma[size_t(grip)].PropertyName = "GRIPIMAGE";
        skin.ma[size_t(grip)].ImgType = itisaGlyph;
        Section("EDIT");
        skin.SkinData.Ready = true;
        skin.ResolveIndexes();
    }

private:
    void Section(const char* name)
    {
        if (skin.GetSkinIndex(name) >= 0)
            return;
        TsGeneralData s;
        s.Name = name;
        s.Color = clWhite;
        skin.gd.push_back(s);
    }
};

// The project's own skin, loaded from the folder its generator writes.
struct ProjectSkin : skintest::ContentManager {
    ProjectSkin()
    {
        std::string error;
        EXPECT_TRUE(LoadGenerated(ProjectPalette(), error)) << error;
    }
};

// Timers on virtual time: Advance fires what falls due, in order.
class VirtualClock : public TacScrollTimers {
public:
    VirtualClock() { SetScrollTimers(this); }
    ~VirtualClock() override { SetScrollTimers(nullptr); }
    void Start(TacScrollWnd* wnd, int id, int period) override { timers_[id] = {wnd, period, now_ + period}; }
    void Stop(TacScrollWnd*, int id) override { timers_.erase(id); }
    bool Running(int id) const { return timers_.count(id) != 0; }
    bool Idle() const { return timers_.empty(); }
    void Advance(int ms)
    {
        const int end = now_ + ms;
        for (;;) {
            auto next = timers_.end();
            for (auto it = timers_.begin(); it != timers_.end(); ++it)
                if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
                    next = it;
            if (next == timers_.end())
                break;
            now_ = next->second.due;
            next->second.due += next->second.period;
            const int id = next->first;
            if (TacScrollWnd* wnd = next->second.wnd)
                wnd->TimerFired(id);
        }
        now_ = end;
    }

private:
    struct Timer {
        QPointer<TacScrollWnd> wnd;
        int period = 0;
        int due = 0;
    };
    std::map<int, Timer> timers_;
    int now_ = 0;
};

// The scroll requests a window is sent, by their code.
class Requests : public QObject {
public:
    explicit Requests(QWidget* wnd) { wnd->installEventFilter(this); }
    std::vector<int> codes;
    std::vector<int> Take() { return std::exchange(codes, {}); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == SkinCommandEventType()) {
            auto& m = static_cast<TSkinCommandEvent&>(*e);
            if (m.SubCode() == AC_LOCKREDRAW)
                codes.push_back(int(m.LParam() & 0xFFFF));
        }
        return false;
    }
};

template <class Manager>
struct SkinScope {
    Manager manager;
    SkinScope()
    {
        SkinLibraryInitialization();
        DefaultSkinManager = &manager;
    }
    ~SkinScope() { DefaultSkinManager = nullptr; }
};

TacScrollWnd* Skin(QWidget* wnd, TsSkinManager* manager)
{
    return TacMainWnd::Create<TacScrollWnd>(wnd, false, "EDIT", manager, nullptr);
}

void Free(TacScrollWnd*& adapter)
{
    TacMainWnd* base = adapter;
    DetachScrollWnd(adapter->WndHandle(), true, base);
    adapter = nullptr;
}

// A shown form holding one lone vertical bar 17 x 200.
struct LoneBar {
    QWidget form;
    QScrollBar* bar = new QScrollBar(Qt::Vertical, &form);
    LoneBar()
    {
        form.resize(60, 220);
        bar->setGeometry(10, 10, 17, 200);
        form.show();
        QApplication::processEvents();
    }
};

// The run of pixels along the middle of a bar with the colour.
std::optional<std::pair<int, int>> ColourRun(const QImage& image, const QColor& colour, bool vertical = true)
{
    std::optional<std::pair<int, int>> run;
    const int length = vertical ? image.height() : image.width();
    for (int i = 0; i < length; ++i)
        if ((vertical ? image.pixelColor(image.width() / 2, i) : image.pixelColor(i, image.height() / 2)) == colour) {
            if (!run)
                run = {i, i};
            run->second = i;
        }
    return run;
}

void FillEdit(QPlainTextEdit* edit)
{
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QString("Line %1 of a text much longer than the editor is wide, so that it scrolls\n").arg(i);
    edit->setPlainText(text);
}

// A form with an editor of long lines, scrollable both ways.
struct LongEdit {
    QWidget form;
    QPlainTextEdit* edit = new QPlainTextEdit;
    explicit LongEdit(bool fillForm = true)
    {
        auto* layout = new QHBoxLayout(&form);
        layout->setContentsMargins(0, 0, fillForm ? 0 : 20, fillForm ? 0 : 20);
        layout->addWidget(edit);
        FillEdit(edit);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        form.resize(320, 240);
        form.show();
        QApplication::processEvents();
    }
    QScrollBar* vbar() const { return edit->verticalScrollBar(); }
};

QPoint AlongV(QScrollBar* bar, int y)
{
    return {bar->width() / 2, y};
}

} // namespace

TEST(TacScrollWnd, ThumbIsGrabbedWhereItIsDrawn)
{
    SkinScope<SolidSkin> scope;
    // No repeat may come between a press and its release.
    VirtualClock clock;
    struct Case {
        const char* what;
        int min, max, page, value;
    };
    const Case cases[] = {
        {"at the start", 0, 100, 10, 0},
        {"in the middle", 0, 100, 10, 50},
        {"at the end", 0, 100, 10, 100},
        {"few positions, large thumb", 0, 3, 1, 2},
        {"many positions, smallest thumb", 0, 100000, 1, 61234},
        {"range not from 0", -50, 50, 20, -10},
        {"page 0", 0, 40, 0, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoneBar lone;
        QScrollBar* bar = lone.bar;
        bar->setRange(c.min, c.max);
        bar->setPageStep(c.page);
        bar->setValue(c.value);
        TacScrollWnd* adapter = Skin(bar, &scope.manager);
        Requests requests(bar);
        const std::optional<std::pair<int, int>> thumb = ColourRun(Grab(*bar), ThumbColor[0]);
        ASSERT_TRUE(thumb.has_value());
        auto click = [&](int y) {
            QTest::mousePress(bar, Qt::LeftButton, {}, AlongV(bar, y));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, AlongV(bar, y));
            return requests.Take();
        };
        // Both ends of the drawn thumb grab it: a release without a move
        // leaves the value where it was.
        for (int y : {thumb->first, thumb->second}) {
            EXPECT_EQ(click(y), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL})) << "at " << y;
            EXPECT_EQ(bar->value(), c.value);
        }
        const int arrow = GetBarSize(*adapter->VertBar, false, true);
        if (thumb->first - 1 >= arrow) {
            EXPECT_EQ(click(thumb->first - 1), (std::vector<int>{SB_PAGEUP, SB_ENDSCROLL}));
            bar->setValue(c.value);
        }
        if (thumb->second + 1 < bar->height() - arrow) {
            EXPECT_EQ(click(thumb->second + 1), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
        }
        Free(adapter);
    }
}

TEST(TacScrollWnd, RangesWithoutRoomPaintAndIgnorePresses)
{
    SkinScope<SolidSkin> scope;
    VirtualClock clock;
    struct Case {
        const char* what;
        int length, min, max, page;
        bool thumb;
        // A bar split in halves has its second arrow in the middle.
        int valueAfter;
    };
    const Case cases[] = {
        {"max = min", 200, 5, 5, 0, false, 5},
        {"max = min with a page", 200, 0, 0, 10, false, 0},
        {"track no longer than the thumb", 44, 0, 100, 1, true, 0},
        {"track shorter than the thumb", 40, 0, 100, 1, false, 0},
        {"bar shorter than two arrows", 20, 0, 100, 10, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoneBar lone;
        QScrollBar* bar = lone.bar;
        bar->resize(17, c.length);
        bar->setRange(c.min, c.max);
        bar->setPageStep(c.page);
        TacScrollWnd* adapter = Skin(bar, &scope.manager);
        adapter->VertBar->ArrowSize = 17;
        Requests requests(bar);
        const QImage image = Grab(*bar);
        EXPECT_EQ(ColourRun(image, ThumbColor[0]).has_value(), c.thumb);
        // Pressing in the middle does not move the thumb.
        QTest::mousePress(bar, Qt::LeftButton, {}, AlongV(bar, c.length / 2));
        QTest::mouseMove(bar, AlongV(bar, c.length - 1));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, AlongV(bar, c.length - 1));
        EXPECT_EQ(bar->value(), c.valueAfter);
        for (int code : requests.codes)
            EXPECT_NE(code, SB_THUMBTRACK);
        Free(adapter);
    }
}

TEST(TacScrollWnd, HeldArrowRepeatsOnItsTiming)
{
    SkinScope<SolidSkin> scope;
    VirtualClock clock;
    LongEdit e;
    QScrollBar* bar = e.vbar();
    TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
    Requests requests(e.edit);
    const int arrow = GetBarSize(*adapter->VertBar, false, true);
    const QPoint down = AlongV(bar, bar->height() - arrow / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, down);
    EXPECT_EQ(requests.Take(), std::vector<int>{SB_LINEDOWN});
    EXPECT_EQ(bar->value(), 1);
    clock.Advance(299);
    EXPECT_TRUE(requests.Take().empty());
    clock.Advance(1);
    EXPECT_EQ(requests.Take(), std::vector<int>{SB_LINEDOWN});
    clock.Advance(54);
    EXPECT_TRUE(requests.Take().empty());
    clock.Advance(1);
    EXPECT_EQ(requests.Take(), std::vector<int>{SB_LINEDOWN});
    clock.Advance(55 * 3);
    EXPECT_EQ(requests.Take().size(), 3u);
    EXPECT_EQ(bar->value(), 6);
    // Off the arrow the requests stop, but the press goes on.
    QTest::mouseMove(bar, AlongV(bar, bar->height() / 2));
    clock.Advance(55 * 4);
    EXPECT_TRUE(requests.Take().empty());
    QTest::mouseMove(bar, down);
    clock.Advance(55);
    EXPECT_EQ(requests.Take(), std::vector<int>{SB_LINEDOWN});
    QTest::mouseRelease(bar, Qt::LeftButton, {}, down);
    EXPECT_EQ(requests.Take(), std::vector<int>{SB_ENDSCROLL});
    EXPECT_TRUE(clock.Idle());
    EXPECT_EQ(bar->value(), 7);

    // A disabled arrow sends nothing and starts no timer.
    adapter->VertBar->ScrollFlags |= sfSecondArrowDisabled;
    QTest::mousePress(bar, Qt::LeftButton, {}, down);
    EXPECT_TRUE(clock.Idle());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, down);
    EXPECT_TRUE(requests.Take().empty());
    EXPECT_EQ(bar->value(), 7);
    Free(adapter);
}

TEST(TacScrollWnd, PagePressRepeatsUntilTheThumbReachesTheMouse)
{
    SkinScope<SolidSkin> scope;
    VirtualClock clock;
    LongEdit e;
    QScrollBar* bar = e.vbar();
    TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
    Requests requests(e.edit);
    const QPoint target = AlongV(bar, bar->height() * 2 / 3);
    QTest::mousePress(bar, Qt::LeftButton, {}, target);
    EXPECT_EQ(requests.Take(), std::vector<int>{SB_PAGEDOWN});
    EXPECT_EQ(bar->value(), bar->pageStep());
    clock.Advance(10000);
    const QPoint inArea = bar->mapTo(e.edit, target);
    EXPECT_EQ(adapter->HitTest(*adapter->VertBar, inArea), sbpThumb);
    EXPECT_GT(bar->value(), bar->pageStep());
    EXPECT_LT(bar->value(), bar->maximum());
    const int value = bar->value();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, target);
    EXPECT_EQ(bar->value(), value);
    Free(adapter);
}

TEST(TacScrollWnd, ThumbDragTracksOnChangeThenEnds)
{
    SkinScope<SolidSkin> scope;
    LongEdit e;
    QScrollBar* bar = e.vbar();
    TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
    Requests requests(e.edit);
    std::vector<int> moved;
    int released = 0;
    QObject::connect(bar, &QScrollBar::sliderMoved, [&](int v) { moved.push_back(v); });
    QObject::connect(bar, &QScrollBar::sliderReleased, [&] { ++released; });
    const std::optional<std::pair<int, int>> thumb = ColourRun(Grab(*bar), ThumbColor[0]);
    ASSERT_TRUE(thumb.has_value());
    const int grab = (thumb->first + thumb->second) / 2;
    QTest::mousePress(bar, Qt::LeftButton, {}, AlongV(bar, grab));
    EXPECT_EQ(ColourRun(Grab(*bar), ThumbColor[2]), thumb);
    for (int dy = 1; dy <= 40; ++dy)
        QTest::mouseMove(bar, AlongV(bar, grab + dy));
    const std::vector<int> tracked = requests.Take();
    ASSERT_FALSE(tracked.empty());
    for (int code : tracked)
        EXPECT_EQ(code, SB_THUMBTRACK);
    // Only changes are sent, each once.
    EXPECT_EQ(tracked.size(), moved.size());
    for (size_t i = 1; i < moved.size(); ++i)
        EXPECT_GT(moved[i], moved[i - 1]);
    EXPECT_EQ(bar->value(), moved.back());
    // The pressed thumb is drawn where the mouse holds it.
    const std::optional<std::pair<int, int>> dragged = ColourRun(Grab(*bar), ThumbColor[2]);
    ASSERT_TRUE(dragged.has_value());
    EXPECT_EQ(dragged->first, thumb->first + 40);
    // Past the end the value stops at the maximum; back before the start,
    // at the minimum.
    QTest::mouseMove(bar, AlongV(bar, bar->height() + 100));
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::mouseMove(bar, AlongV(bar, -100));
    EXPECT_EQ(bar->value(), bar->minimum());
    QTest::mouseMove(bar, AlongV(bar, grab + 40));
    requests.Take();
    const int last = bar->value();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, AlongV(bar, grab + 40));
    EXPECT_EQ(requests.Take(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_EQ(released, 1);
    EXPECT_FALSE(bar->isSliderDown());
    EXPECT_EQ(bar->value(), last);
    EXPECT_FALSE(adapter->Tracking);
    Free(adapter);
}

TEST(TacScrollWnd, HotAndPressedPartsArePainted)
{
    SkinScope<SolidSkin> scope;
    VirtualClock clock;
    LongEdit e;
    QScrollBar* bar = e.vbar();
    bar->setValue(bar->maximum() / 2);
    TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
    const int arrow = GetBarSize(*adapter->VertBar, false, true);
    const int up = arrow / 2, down = bar->height() - arrow / 2;
    auto at = [&](int y) { return Grab(*bar).pixelColor(bar->width() / 2, y); };
    const int thumb = ColourRun(Grab(*bar), ThumbColor[0])->first + 2;
    struct Step {
        const char* what;
        int mouseAt;
        QColor upArrow, thumb, downArrow;
    };
    const Step steps[] = {
        {"over the first arrow", up, FirstArrowColor[1], ThumbColor[0], SecondArrowColor[0]},
        {"over the thumb", thumb, FirstArrowColor[0], ThumbColor[1], SecondArrowColor[0]},
        {"over the second arrow", down, FirstArrowColor[0], ThumbColor[0], SecondArrowColor[1]},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        QTest::mouseMove(bar, AlongV(bar, s.mouseAt));
        EXPECT_EQ(at(up), s.upArrow);
        EXPECT_EQ(at(thumb), s.thumb);
        EXPECT_EQ(at(down), s.downArrow);
    }
    QTest::mousePress(bar, Qt::LeftButton, {}, AlongV(bar, down));
    EXPECT_EQ(at(down), SecondArrowColor[2]);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, AlongV(bar, down));
    EXPECT_EQ(at(down), SecondArrowColor[1]);
    // Leaving the bar ends the hot look.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    EXPECT_EQ(at(down), SecondArrowColor[0]);
    Free(adapter);
}

TEST(TacScrollWnd, DetachingRestoresThePlainBars)
{
    SkinScope<SolidSkin> scope;
    for (bool destroyAdapter : {false, true}) {
        SCOPED_TRACE(destroyAdapter ? "adapter deleted" : "detached");
        LongEdit e;
        QScrollBar* bar = e.vbar();
        const QImage before = Grab(e.form);
        const bool tracking = bar->hasMouseTracking();
        TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
        const QImage skinned = Grab(e.form);
        EXPECT_NE(skinned, before);
        EXPECT_EQ(skinned.pixelColor(e.edit->mapTo(&e.form, bar->mapTo(e.edit, QPoint(bar->width() / 2, 2)))),
                  FirstArrowColor[0]);
        if (destroyAdapter) {
            delete adapter;
        } else {
            TacMainWnd* base = adapter;
            DetachScrollWnd(e.edit, false, base);
            EXPECT_TRUE(adapter->Detached);
        }
        EXPECT_EQ(Grab(e.form), before);
        EXPECT_EQ(bar->hasMouseTracking(), tracking);
        EXPECT_EQ(GetAdapterOf(e.edit), nullptr);
        // The bar's own press handling is back.
        const int value = bar->value();
        QTest::mouseClick(bar, Qt::LeftButton, {}, AlongV(bar, bar->height() - 3));
        EXPECT_GT(bar->value(), value);
        if (!destroyAdapter)
            delete adapter;
    }
}

TEST(TacScrollWnd, WithoutActiveSkinTheBarsStayPlain)
{
    SkinScope<SolidSkin> scope;
    scope.manager.skin.CachedIndexes.ScrollBar1V = {};
    LongEdit e;
    const QImage before = Grab(e.form);
    TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
    EXPECT_EQ(Grab(*e.vbar()), before.copy(QRect(e.vbar()->mapTo(&e.form, QPoint(0, 0)), e.vbar()->size())));
    Free(adapter);
}

TEST(TacScrollWnd, SizeGripOnlyInTheFormsCorner)
{
    SkinScope<SolidSkin> scope;
    for (bool fills : {true, false}) {
        SCOPED_TRACE(fills ? "area fills the form" : "area inside the form");
        LongEdit e(fills);
        TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
        EXPECT_EQ(adapter->HasSizeGrip(), fills);
        const QRect corner = adapter->CornerRect();
        ASSERT_FALSE(corner.isEmpty());
        const QImage image = Grab(*e.edit);
        EXPECT_EQ(image.pixelColor(corner.bottomRight()) == GripColor, fills);
        if (fills) {
            const QSize size = e.form.size();
            const QPoint p = corner.center();
            QTest::mousePress(e.edit, Qt::LeftButton, {}, p);
            QTest::mouseMove(e.edit, p + QPoint(30, 20));
            QTest::mouseRelease(e.edit, Qt::LeftButton, {}, p + QPoint(30, 20));
            EXPECT_EQ(e.form.size(), size + QSize(30, 20));
        }
        Free(adapter);
    }
}

TEST(TacScrollWnd, ProjectSkinOnEditorAndList)
{
    SkinScope<ProjectSkin> scope;
    QWidget form;
    auto* layout = new QHBoxLayout(&form);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QPlainTextEdit;
    FillEdit(edit);
    layout->addWidget(edit);
    auto* list = new QListWidget;
    for (int i = 0; i < 100; ++i)
        list->addItem(QString("Item %1 in a list with long enough entries to scroll sideways").arg(i));
    layout->addWidget(list);
    // Nothing takes the focus: a blinking text cursor or a list's focus
    // would change the picture between the grabs.
    edit->setFocusPolicy(Qt::NoFocus);
    list->setFocusPolicy(Qt::NoFocus);
    form.resize(560, 260);
    form.show();
    QApplication::processEvents();
    list->verticalScrollBar()->setValue(40);
    const QImage plain = Grab(form);
    TacScrollWnd* editAdapter = Skin(edit, &scope.manager);
    TacScrollWnd* listAdapter = Skin(list, &scope.manager);
    const QImage skinned = Grab(form);
    EXPECT_TRUE(SaveScreenshot(skinned, "scroll_bars"));
    // The bars of both look alike and differ from the plain ones; the
    // list's thumb stands lower than the editor's.
    for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(edit), static_cast<QAbstractScrollArea*>(list)}) {
        const QRect r(area->verticalScrollBar()->mapTo(&form, QPoint(0, 0)), area->verticalScrollBar()->size());
        EXPECT_NE(skinned.copy(r), plain.copy(r));
    }
    EXPECT_TRUE(listAdapter->HasSizeGrip());
    EXPECT_FALSE(editAdapter->HasSizeGrip());
    EXPECT_GT(listAdapter->ThumbOf(*listAdapter->VertBar).Start, editAdapter->ThumbOf(*editAdapter->VertBar).Start);
    Free(listAdapter);
    Free(editAdapter);
    EXPECT_EQ(Grab(form), plain);
}

TEST(TacScrollWnd, ReversedBarsRunFromTheFarEnd)
{
    SkinScope<SolidSkin> scope;
    struct Case {
        const char* what;
        Qt::Orientation orientation;
        bool rightToLeft;
    };
    const Case cases[] = {
        {"right-to-left horizontal bar", Qt::Horizontal, true},
        {"right-to-left vertical bar runs down", Qt::Vertical, true},
        {"left-to-right horizontal bar", Qt::Horizontal, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget form;
        form.resize(240, 240);
        auto* bar = new QScrollBar(c.orientation, &form);
        bar->setGeometry(10, 10, c.orientation == Qt::Horizontal ? 200 : 17, c.orientation == Qt::Horizontal ? 17 : 200);
        bar->setLayoutDirection(c.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        bar->setRange(0, 100);
        bar->setPageStep(10);
        bar->setValue(0);
        form.show();
        QApplication::processEvents();
        const bool vertical = c.orientation == Qt::Vertical;
        const bool reversed = c.rightToLeft && !vertical;
        TacScrollWnd* adapter = Skin(bar, &scope.manager);
        const int arrow = GetBarSize(*adapter->Bar(vertical ? SB_VERT : SB_HORZ), false, true);
        const std::optional<std::pair<int, int>> thumb = ColourRun(Grab(*bar), ThumbColor[0], vertical);
        ASSERT_TRUE(thumb.has_value());
        EXPECT_EQ(reversed ? 200 - 1 - thumb->second : thumb->first, arrow);
        // The arrow drawn at the bar's start steps the way the bar's own
        // arrow there does.
        auto clickStart = [&] {
            bar->setValue(50);
            const QPoint p = vertical ? QPoint(8, arrow / 2) : QPoint(arrow / 2, 8);
            QTest::mouseClick(bar, Qt::LeftButton, {}, p);
            return bar->value() - 50;
        };
        const int skinned = clickStart();
        Free(adapter);
        EXPECT_EQ(skinned, clickStart());
        EXPECT_EQ(skinned, reversed ? 1 : -1);
    }
}

TEST(TacScrollWnd, PressEndsWithItsBarOrWindow)
{
    SkinScope<SolidSkin> scope;
    VirtualClock clock;
    // A bar hidden under a held arrow ends the press.
    {
        LongEdit e;
        TacScrollWnd* adapter = Skin(e.edit, &scope.manager);
        Requests requests(e.edit);
        QScrollBar* bar = e.vbar();
        QTest::mousePress(bar, Qt::LeftButton, {}, AlongV(bar, bar->height() - 3));
        EXPECT_FALSE(clock.Idle());
        e.edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QApplication::processEvents();
        EXPECT_TRUE(clock.Idle());
        EXPECT_EQ(requests.Take(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
        Free(adapter);
    }
    // An editor destroyed under a held arrow leaves no press behind: the
    // next editor's bar takes presses.
    TacScrollWnd* gone = nullptr;
    {
        LongEdit e;
        gone = Skin(e.edit, &scope.manager);
        QScrollBar* bar = e.vbar();
        QTest::mousePress(bar, Qt::LeftButton, {}, AlongV(bar, bar->height() - 3));
    }
    EXPECT_TRUE(gone->Detached);
    clock.Advance(1000);
    LongEdit next;
    TacScrollWnd* adapter = Skin(next.edit, &scope.manager);
    QScrollBar* bar = next.vbar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, AlongV(bar, bar->height() - 3));
    EXPECT_EQ(bar->value(), 1);
    Free(adapter);
    delete gone;
}

TEST(TacScrollWnd, BarsDestroyedUnderTheMouse)
{
    SkinScope<SolidSkin> scope;
    VirtualClock clock;
    // The bar's last events (its leave, its focus going) reach the adapter
    // while the bar is half destroyed; the adapter must not take it for a
    // scroll bar any more, nor keep its hot look or its press.
    struct Case {
        const char* what;
        bool pressed;
        bool lone;
        std::function<void(QWidget* area, QScrollBar* bar)> destroy;
    };
    const Case cases[] = {
        {"editor's bar replaced under the mouse", false, false,
         [](QWidget* area, QScrollBar*) {
             static_cast<QAbstractScrollArea*>(area)->setVerticalScrollBar(new QScrollBar(Qt::Vertical));
         }},
        {"editor's bar replaced under a held arrow", true, false,
         [](QWidget* area, QScrollBar*) {
             static_cast<QAbstractScrollArea*>(area)->setVerticalScrollBar(new QScrollBar(Qt::Vertical));
         }},
        {"editor deleted under the mouse", false, false, [](QWidget* area, QScrollBar*) { delete area; }},
        {"editor deleted under a held arrow", true, false, [](QWidget* area, QScrollBar*) { delete area; }},
        {"lone bar deleted under the mouse", false, true, [](QWidget*, QScrollBar* bar) { delete bar; }},
        {"lone bar deleted under a held arrow", true, true, [](QWidget*, QScrollBar* bar) { delete bar; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LongEdit e;
        QScrollBar* bar = c.lone ? new QScrollBar(Qt::Vertical, &e.form) : e.vbar();
        if (c.lone) {
            bar->setRange(0, 100);
            bar->setGeometry(0, 0, 17, 200);
            bar->show();
            bar->raise();
        }
        QWidget* wnd = c.lone ? static_cast<QWidget*>(bar) : e.edit;
        QPointer<TacScrollWnd> adapter = Skin(wnd, &scope.manager);
        // The bar takes the focus, and the mouse over its second arrow.
        e.form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&e.form, 10000));
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setFocus();
        const QPoint arrow = AlongV(bar, bar->height() - 3);
        // The cursor comes from elsewhere, so that the move is a move.
        QTest::mouseMove(bar, arrow - QPoint(0, 40));
        QTest::mouseMove(bar, arrow);
        ASSERT_EQ(acHot.Wnd, adapter);
        if (c.pressed) {
            QTest::mousePress(bar, Qt::LeftButton, {}, arrow);
            ASSERT_FALSE(clock.Idle());
        }
        c.destroy(wnd, bar);
        QApplication::processEvents();
        EXPECT_EQ(acHot.Wnd, nullptr);
        EXPECT_EQ(acPress.Wnd, nullptr);
        EXPECT_TRUE(clock.Idle());
        if (c.pressed)
            QTest::mouseRelease(&e.form, Qt::LeftButton, {}, QPoint(1, 1));
        ASSERT_FALSE(adapter.isNull());
        if (adapter->Detached) {
            delete adapter.data();
            continue;
        }
        // The area keeps its adapter, with no bar where the old one was.
        EXPECT_EQ(adapter->VertBar->Control.get(), nullptr);
        Grab(e.form);
        TacScrollWnd* rest = adapter;
        Free(rest);
    }
}
