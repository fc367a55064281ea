#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"
#include "SkinGenerator.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "platform/forms/BitmapImage.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

using namespace adaptertest;

namespace {

// A skinned form whose caption buttons are driven by hand: no event loop
// runs between the steps, so the fade timer never fires and every step is
// a call to TickAnimations.
struct Skinned : SkinScope {
    QWidget form;
    TsSkinProvider* provider = nullptr;
    explicit Skinned(bool glowing) : SkinScope(nullptr)
    {
        manager->SetAllowGlowing(glowing);
        Use("Tarku");
        form.setWindowTitle("Tarku");
        form.resize(360, 200);
        provider = new TsSkinProvider(&form);
        form.show();
    }
    // The centre pixel of the close button as the frame paints it now.
    TColor Close()
    {
        provider->PaintFormCache();
        const TRect r = provider->ButtonByCode(HTCLOSE)->Rect;
        return provider->FrameCache()->Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 2);
    }
};

int Channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

// Every channel of mid lies between those of a and b, and one strictly.
bool Between(TColor mid, TColor a, TColor b)
{
    bool strictly = false;
    for (int shift : {0, 8, 16}) {
        const int lo = std::min(Channel(a, shift), Channel(b, shift));
        const int hi = std::max(Channel(a, shift), Channel(b, shift));
        const int m = Channel(mid, shift);
        if (m < lo || m > hi)
            return false;
        strictly = strictly || (m > lo && m < hi);
    }
    return strictly;
}

// A control that paints itself red all over.
class TRed : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
};

// Colour distance, channel by channel.
int Distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// What a fade showed, frame by frame, on virtual time: the output window's
// pixel at a point, and the state of the form at each wait.
struct FadeWatch {
    QWidget* form = nullptr;
    TsSkinProvider* provider = nullptr;
    QPoint probe;
    int waits = 0;
    std::vector<QRgb> frames;
    QImage middle; // the fifth frame, for a person to look at
    bool running = true, drawing = true, over = true;
    std::vector<QWidget*> controls;
    explicit FadeWatch(QPoint at) : probe(at)
    {
        AnimationSleep = [this](int ms) {
            EXPECT_EQ(ms, 8);
            ++waits;
            running = running && provider && provider->ShowAnimationRunning();
            for (QWidget* c : controls)
                drawing = drawing && c->updatesEnabled();
            if (TOutputWindow* out = OutputWindow()) {
                over = over && out->geometry() == form->frameGeometry();
                const QImage picture = out->grab().toImage();
                frames.push_back(picture.pixel(probe));
                if (waits == 5)
                    middle = picture;
            }
        };
    }
    ~FadeWatch() { AnimationSleep = nullptr; }
};

} // namespace

TEST(TsSkinProviderFade, FormShowsItsControlsFadingInOverItsFrame)
{
    SkinScope scope;
    TacAnimEffects& effects = scope.manager->AnimEffects();
    effects.FormShow.Time = 80;   // 10 frames
    effects.DialogShow.Time = 40; // 5 frames
    enum Kind { Sizeable, Fixed, Dialog, Tool };
    const struct {
        const char* what;
        Kind kind;
        bool active;
        int waits;
        int formTime = 80;
    } cases[] = {
        {"a sizeable window takes the form setting", Sizeable, true, 9},
        {"so does a fixed one", Fixed, true, 9},
        {"a fixed dialog takes the dialog setting", Dialog, true, 4},
        {"so does a tool window", Tool, true, 4},
        {"a switched-off setting shows the form at once", Sizeable, false, 0},
        {"so does a fade too short for one frame", Sizeable, true, 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        effects.FormShow.Active = effects.DialogShow.Active = c.active;
        effects.FormShow.Time = c.formTime;
        std::unique_ptr<QWidget> form;
        if (c.kind == Dialog)
            form = std::make_unique<QDialog>();
        else
            form = std::make_unique<QWidget>(nullptr, c.kind == Tool ? Qt::Tool : Qt::Window);
        form->setWindowTitle("Tarku");
        if (c.kind == Sizeable)
            form->resize(320, 200);
        else
            form->setFixedSize(320, 200);
        auto* red = new TRed(form.get());
        red->setGeometry(100, 90, 80, 50);
        auto* provider = new TsSkinProvider(form.get());
        FadeWatch watch(QPoint(140, 115));
        watch.form = form.get();
        watch.provider = provider;
        watch.controls = {red};
        int outputs = 0;
        struct OutputSpy : QObject {
            int* count;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                *count += e->type() == QEvent::Show && dynamic_cast<TOutputWindow*>(o) != nullptr;
                return false;
            }
        } spy;
        spy.count = &outputs;
        qApp->installEventFilter(&spy);
        form->show();
        qApp->removeEventFilter(&spy);
        ASSERT_TRUE(provider->FrameActive());
        EXPECT_EQ(watch.waits, c.waits);
        EXPECT_EQ(outputs > 0, c.waits > 0);
        EXPECT_TRUE(watch.running);
        EXPECT_TRUE(watch.drawing); // the control draws under the picture
        EXPECT_TRUE(watch.over);
        EXPECT_FALSE(provider->ShowAnimationRunning());
        EXPECT_FALSE(provider->SkinData().Updating);
        EXPECT_FALSE(FormAnimating);
        EXPECT_EQ(OutputWindow(), nullptr);
        EXPECT_TRUE(red->updatesEnabled());
        // From the frame and background alone to the red control on them.
        const QRgb bare = watch.frames.empty() ? 0 : watch.frames.front();
        for (size_t i = 1; i < watch.frames.size(); ++i)
            EXPECT_LE(Distance(watch.frames[i], qRgb(255, 0, 0)), Distance(watch.frames[i - 1], qRgb(255, 0, 0)));
        if (!watch.frames.empty()) {
            EXPECT_GT(Distance(bare, qRgb(255, 0, 0)), 200);
            EXPECT_LT(Distance(watch.frames.back(), qRgb(255, 0, 0)), Distance(watch.frames.back(), bare));
        }
        EXPECT_EQ(Grab(*form).pixel(140, 115), qRgb(255, 0, 0));
        if (c.kind == Sizeable && c.waits > 0) {
            EXPECT_TRUE(SaveScreenshot(watch.middle, "TsSkinProvider_show_fade"));
            // Shown again, it fades in again.
            form->hide();
            watch.waits = 0;
            form->show();
            EXPECT_EQ(watch.waits, c.waits);
        }
    }
}

TEST(TsSkinProviderFade, SkinChangeFadesTheFormsWhoseFrameTheProviderPaints)
{
    const struct {
        const char* what;
        bool ownFrame, active;
        int waits;
    } cases[] = {
        {"the provider paints the frame: the change fades", true, true, 9},
        {"the system's frame: the change shows at once", false, true, 0},
        {"the animation switched off", true, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SkinScope scope;
        TacAnimEffects& effects = scope.manager->AnimEffects();
        effects.FormShow.Active = false;
        effects.SkinChanging.Active = c.active;
        effects.SkinChanging.Time = 80;
        QWidget form;
        form.setWindowTitle("Tarku");
        form.resize(320, 200);
        auto* provider = new TsSkinProvider(&form);
        provider->SetDrawNonClientArea(c.ownFrame);
        form.show();
        const QPoint centre(160, 120);
        const QRgb before = Grab(form).pixel(centre);
        FadeWatch watch(centre);
        watch.form = &form;
        scope.manager->SetSkinName("TarkuDusk");
        ASSERT_TRUE(scope.manager->Active());
        EXPECT_EQ(watch.waits, c.waits);
        EXPECT_TRUE(watch.over);
        EXPECT_FALSE(FormAnimating);
        EXPECT_EQ(OutputWindow(), nullptr);
        EXPECT_TRUE(form.updatesEnabled());
        const QRgb after = Grab(form).pixel(centre);
        ASSERT_NE(before, after);
        // From the old skin's look to the new one's.
        if (!watch.frames.empty()) {
            EXPECT_TRUE(SaveScreenshot(watch.middle, "TsSkinProvider_skin_change_fade"));
            EXPECT_LT(Distance(watch.frames.front(), before), Distance(watch.frames.front(), after));
            EXPECT_LT(Distance(watch.frames.back(), after), Distance(watch.frames.back(), before));
        }
    }
}

TEST(TsSkinProviderFade, HotCloseButtonFadesInAndOutByTicks)
{
    // The looks without a fade, from a provider that does not animate.
    TColor normal = 0, hot = 0;
    {
        Skinned plain(false);
        ASSERT_TRUE(plain.provider->FrameActive());
        normal = plain.Close();
        plain.provider->SetHotButton(HTCLOSE);
        EXPECT_EQ(plain.provider->ButtonAnimation(HTCLOSE), nullptr);
        hot = plain.Close();
        ASSERT_NE(normal, hot);
    }
    Skinned s(true);
    ASSERT_EQ(s.Close(), normal);
    s.provider->SetHotButton(HTCLOSE);
    const TacSBAnimation* fade = s.provider->ButtonAnimation(HTCLOSE);
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->Alpha(), 25);
    EXPECT_TRUE(s.provider->AnimationTimer().isActive());
    EXPECT_EQ(s.provider->AnimationTimer().interval(), 12);
    const TColor first = s.Close();
    EXPECT_TRUE(Between(first, normal, hot)) << std::hex << first << " " << normal << " " << hot;
    for (int i = 0; i < 4; ++i)
        s.provider->TickAnimations();
    EXPECT_EQ(fade->Alpha(), 125);
    const TColor half = s.Close();
    EXPECT_TRUE(Between(half, normal, hot)) << std::hex << half;
    for (int shift : {0, 8, 16}) // further from the normal look than the first frame
        EXPECT_LE(std::abs(Channel(half, shift) - Channel(hot, shift)),
                  std::abs(Channel(first, shift) - Channel(hot, shift)));
    for (int i = 0; i < 5; ++i)
        s.provider->TickAnimations();
    EXPECT_EQ(fade->Alpha(), 255);
    EXPECT_EQ(s.Close(), hot); // ends exactly on the hot look

    s.provider->SetHotButton(0);
    ASSERT_EQ(s.provider->ButtonAnimation(HTCLOSE), fade);
    for (int i = 0; i < 5; ++i)
        s.provider->TickAnimations();
    EXPECT_TRUE(Between(s.Close(), normal, hot));
    for (int i = 0; i < 6 && s.provider->ButtonAnimation(HTCLOSE); ++i)
        s.provider->TickAnimations();
    EXPECT_EQ(s.provider->ButtonAnimation(HTCLOSE), nullptr);
    EXPECT_FALSE(s.provider->AnimationTimer().isActive());
    EXPECT_EQ(s.Close(), normal); // and back exactly on the normal one
}

TEST(TsSkinProviderFade, PressShowsAtOnceAndMovingDropsTheFade)
{
    Skinned s(true);
    s.provider->SetHotButton(HTCLOSE);
    s.provider->SetPressedButton(HTCLOSE);
    const TacSBAnimation* fade = s.provider->ButtonAnimation(HTCLOSE);
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->Target(), 2);
    s.provider->TickAnimations();
    EXPECT_EQ(fade->Alpha(), 255);
    s.form.move(s.form.pos() + QPoint(30, 20));
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    EXPECT_EQ(s.provider->ButtonAnimation(HTCLOSE), nullptr);
    EXPECT_FALSE(s.provider->AnimationTimer().isActive());
}

TEST(TsSkinProviderFade, AddedTitleFollowsTheCaption)
{
    Skinned s(false);
    s.provider->PaintFormCache();
    const QImage before = BitmapToImage(*s.provider->FrameCache());
    QFont font = QApplication::font();
    font.setItalic(true);
    s.provider->AddedTitle.SetFont(font, 0x0000C0); // red in the byte order of a colour value
    s.provider->AddedTitle.SetText("(read only)");
    s.provider->PaintFormCache();
    const QImage after = BitmapToImage(*s.provider->FrameCache());
    const int caption = s.provider->FormBorderWidth() + s.provider->CaptionHeight();
    const QRect band(0, 0, after.width(), caption);
    EXPECT_NE(before.copy(band), after.copy(band));
    // Below the caption nothing changed, and an empty text paints nothing.
    const QRect rest(0, caption, after.width(), after.height() - caption);
    EXPECT_EQ(before.copy(rest), after.copy(rest));
    bool red = false;
    for (int y = 0; y < caption && !red; ++y)
        for (int x = 0; x < after.width() && !red; ++x) {
            const QColor c = after.pixelColor(x, y);
            red = c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(SaveScreenshot(s.form, "TsSkinProvider_added_title"));
    s.provider->AddedTitle.SetText("");
    s.provider->PaintFormCache();
    EXPECT_EQ(BitmapToImage(*s.provider->FrameCache()), before);
}
