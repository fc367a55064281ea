// An icon without a picture as large as its button's icon size lies in the
// middle of that box, in every painter of buttons with icons.
#include "AdapterTestSkin.h"
#include "skin/forms/sCommonData.h"
#include "skinwnd/forms/acAdapterFactory.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QAction>
#include <QPixmap>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace adaptertest;

namespace {

// A 16-pixel icon shown in a 24-pixel box.
QIcon SmallIcon()
{
    QPixmap p(16, 16);
    p.fill(QColor(255, 0, 0));
    return QIcon(p);
}

// The middle of the icon's pixels in the grab of w, in w's coordinates.
QPointF IconMiddle(QWidget* w)
{
    // A tool bar paints its buttons itself.
    QWidget* painted = qobject_cast<QToolBar*>(w->parentWidget()) ? w->parentWidget() : w;
    const QImage shot = Grab(painted).copy(w->geometry().translated(painted == w ? -w->pos() : QPoint()));
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (const QRgb c = shot.pixel(x, y); qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_EQ(right - left + 1, 16);
    EXPECT_EQ(bottom - top + 1, 16);
    return {(left + right + 1) / 2.0, (top + bottom + 1) / 2.0};
}

} // namespace

TEST(acButtonIcons, SmallIconsLieInTheMiddleOfTheirBox)
{
    SkinScope scope;
    struct Case {
        const char* what;
        // Makes the button on the form and whatever paints it; gives the
        // widget whose middle the icon should take.
        std::function<QWidget*(QWidget& form, std::unique_ptr<TsCommonData>& data, std::unique_ptr<QObject>& painter)>
            make;
    };
    const Case cases[] = {
        {"speed button",
         [&](QWidget& form, std::unique_ptr<TsCommonData>& data, std::unique_ptr<QObject>& painter) {
             auto* b = new QToolButton(&form);
             b->setIcon(SmallIcon());
             b->setIconSize({24, 24});
             b->setToolButtonStyle(Qt::ToolButtonIconOnly);
             b->setGeometry(10, 10, 40, 32);
             data = std::make_unique<TsCommonData>(b, true);
             data->SetSkinSection("SPEEDBUTTON");
             painter.reset(CreateSpeedButtonHandler(b, data.get(), scope.manager.get()));
             return b;
         }},
        {"tool bar button",
         [&](QWidget& form, std::unique_ptr<TsCommonData>&, std::unique_ptr<QObject>&) {
             auto* bar = new QToolBar(&form);
             bar->setGeometry(0, 0, 200, 40);
             bar->setIconSize({24, 24});
             bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
             QAction* read = bar->addAction(SmallIcon(), "Read");
             CreateWndAdapter(TacAdapterKind::ToolBarWnd, bar, false, "", scope.manager.get(), nullptr);
             return bar->widgetForAction(read);
         }},
        {"push button",
         [&](QWidget& form, std::unique_ptr<TsCommonData>&, std::unique_ptr<QObject>&) {
             auto* b = new QPushButton(&form);
             b->setIcon(SmallIcon());
             b->setIconSize({24, 24});
             b->setGeometry(10, 10, 60, 34);
             CreateWndAdapter(TacAdapterKind::BitBtnWnd, b, false, "", scope.manager.get(), nullptr);
             return b;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget form;
        // Away from the cursor, which would make a button hot on its own.
        form.setGeometry(400, 400, 220, 60);
        std::unique_ptr<TsCommonData> data;
        std::unique_ptr<QObject> painter;
        QWidget* button = c.make(form, data, painter);
        form.show();
        QApplication::processEvents();
        ASSERT_TRUE(painter || GetAdapterOf(button) || GetAdapterOf(button->parentWidget()));
        const QPointF middle = IconMiddle(button);
        EXPECT_NEAR(middle.x(), button->width() / 2.0, 1.0);
        EXPECT_NEAR(middle.y(), button->height() / 2.0, 1.0);
        painter.reset();
        for (QWidget* adapted : {button, button->parentWidget()})
            if (TacMainWnd* adapter = GetAdapterOf(adapted))
                FreeWndAdapter(adapter);
    }
}
