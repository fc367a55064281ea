#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"

#include <QLabel>
#include <QPainter>
#include <QTest>

using namespace adaptertest;

namespace {

// A form with a label in its middle, clear of the bottom right corner.
struct GripForm {
    QWidget form;
    TsSkinProvider* provider = nullptr;
    GripForm()
    {
        form.setWindowTitle("Grip");
        auto* label = new QLabel("Client area", &form);
        label->setGeometry(20, 20, 120, 24);
        form.resize(320, 200);
        form.move(200, 200);
        provider = new TsSkinProvider(&form);
    }
    QImage Shot()
    {
        QApplication::processEvents();
        return Grab(&form);
    }
};

QPoint ToQPoint(TPoint p) { return {p.X, p.Y}; }

// The grip's square at its place, from a grab.
QImage GripArea(const QImage& shot, TPoint at) { return shot.copy(at.X, at.Y, 14, 14); }

} // namespace

TEST(TsSkinProviderGrip, PaintedAndHitOnlyWhenAskedFor)
{
    SkinScope scope;
    GripForm f;
    f.form.show();
    ASSERT_TRUE(f.provider->FrameActive());
    EXPECT_EQ(f.provider->GripMode(), gmNone);
    EXPECT_FALSE(f.provider->GripVisible());
    const QImage without = f.Shot();

    f.provider->SetGripMode(gmRightBottom);
    ASSERT_TRUE(f.provider->GripVisible());
    const QImage with = f.Shot();
    // One pixel inside the right and bottom borders.
    const TRect sides = f.provider->FrameMargins();
    const TPoint at = f.provider->GripPosition();
    EXPECT_EQ(at.X, f.form.width() - 14 - sides.Right - 1);
    EXPECT_EQ(at.Y, f.form.height() - 14 - sides.Bottom - 1);
    EXPECT_NE(GripArea(with, at), GripArea(without, at));
    // Nothing else of the form changed.
    QImage masked = with;
    for (int y = at.Y; y < at.Y + 14; ++y)
        for (int x = at.X; x < at.X + 14; ++x)
            masked.setPixel(x, y, without.pixel(x, y));
    EXPECT_EQ(masked, without);

    struct Hit {
        const char* what;
        TPoint point;
        int withGrip, withoutGrip;
    };
    const Hit hits[] = {
        {"grip corner", at, HTBOTTOMRIGHT, HTCLIENT},
        {"grip middle", {at.X + 7, at.Y + 7}, HTBOTTOMRIGHT, HTCLIENT},
        {"left of the grip", {at.X - 1, at.Y + 7}, HTCLIENT, HTCLIENT},
        {"above the grip", {at.X + 7, at.Y - 1}, HTCLIENT, HTCLIENT},
    };
    for (const Hit& h : hits)
        EXPECT_EQ(f.provider->HitTest(h.point), h.withGrip) << h.what;
    f.provider->SetGripMode(gmNone);
    for (const Hit& h : hits)
        EXPECT_EQ(f.provider->HitTest(h.point), h.withoutGrip) << h.what;
    EXPECT_EQ(GripArea(f.Shot(), at), GripArea(without, at));
}

TEST(TsSkinProviderGrip, DraggingTheGripResizesTheForm)
{
    SkinScope scope;
    GripForm f;
    f.provider->SetGripMode(gmRightBottom);
    f.form.show();
    f.Shot();
    const QRect geometry = f.form.geometry();
    const QPoint grip = ToQPoint(f.provider->GripPosition()) + QPoint(7, 7);
    QTest::mousePress(&f.form, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&f.form, grip + QPoint(40, 25));
    QTest::mouseRelease(&f.form, Qt::LeftButton, {}, grip + QPoint(40, 25));
    EXPECT_EQ(f.form.geometry(), QRect(geometry.topLeft(), geometry.size() + QSize(40, 25)));
    // The grip went along with the corner.
    const TPoint moved = f.provider->GripPosition();
    const TPoint old = {grip.x() - 7, grip.y() - 7};
    EXPECT_EQ(moved.X, old.X + 40);
    EXPECT_EQ(moved.Y, old.Y + 25);
    EXPECT_EQ(f.provider->HitTest(moved), HTBOTTOMRIGHT);
    const QImage after = f.Shot();
    f.provider->SetGripMode(gmNone);
    EXPECT_NE(GripArea(after, moved), GripArea(f.Shot(), moved));

    // The picture for a person: the form with its grip, and the corner
    // four times as large.
    QImage sheet(after.width() + 200, std::max(after.height(), 200), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.drawImage(0, 0, after);
    p.drawImage(QRect(after.width() + 10, 10, 180, 180), after.copy(after.width() - 45, after.height() - 45, 45, 45));
    p.end();
    EXPECT_TRUE(SaveScreenshot(sheet, "skin_provider_grip"));
}

TEST(TsSkinProviderGrip, NoGripWhereTheFormCannotBeSized)
{
    SkinScope scope;
    struct Case {
        const char* what;
        void (*prepare)(QWidget&);
    };
    const Case cases[] = {
        {"fixed size", [](QWidget& w) { w.setFixedSize(320, 200); }},
        {"maximised", [](QWidget& w) { w.setWindowState(Qt::WindowMaximized); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GripForm f;
        f.provider->SetGripMode(gmRightBottom);
        c.prepare(f.form);
        f.form.show();
        f.Shot();
        ASSERT_TRUE(f.provider->FrameActive());
        EXPECT_FALSE(f.provider->GripVisible());
        const TRect sides = f.provider->FrameMargins();
        const TPoint corner{f.form.width() - sides.Right - 3, f.form.height() - sides.Bottom - 3};
        EXPECT_EQ(f.provider->HitTest(corner), HTCLIENT);
    }
}

TEST(TsSkinProviderGrip, NoneWithoutASkin)
{
    SkinScope scope;
    scope.manager->SetActive(false);
    GripForm f;
    f.provider->SetGripMode(gmRightBottom);
    f.form.show();
    f.Shot();
    EXPECT_FALSE(f.provider->FrameActive());
    EXPECT_FALSE(f.provider->GripVisible());
}
