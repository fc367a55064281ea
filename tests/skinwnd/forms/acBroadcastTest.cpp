// A broadcast reaches every control of a form once: a window the library
// skins passes it on to its children itself, a plain container is walked
// into.
#include "AdapterTestSkin.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinnedForms.h"
#include "skinwnd/forms/acAdapterFactory.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QGroupBox>
#include <QPushButton>

using namespace adaptertest;

namespace {

// A push button that counts the new-skin commands reaching it.
class CountingButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    int seen = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == SkinCommandEventType() && static_cast<TSkinCommandEvent*>(e)->SubCode() == AC_SETNEWSKIN)
            ++seen;
        return QPushButton::event(e);
    }
};

} // namespace

TEST(Broadcast, EachControlHearsItOnce)
{
    SkinScope scope;
    QWidget form;
    form.setGeometry(300, 300, 260, 200);
    auto* group = new QGroupBox("Adapted", &form);
    group->setGeometry(10, 10, 240, 80);
    auto* inGroup = new CountingButton("In group", group);
    inGroup->setGeometry(10, 30, 100, 24);
    auto* container = new QWidget(&form);
    container->setGeometry(10, 100, 240, 80);
    auto* inContainer = new CountingButton("In container", container);
    inContainer->setGeometry(10, 10, 100, 24);
    auto* onForm = new CountingButton("On form", &form);
    onForm->setGeometry(130, 150, 100, 24);
    TacMainWnd* adapter = CreateWndAdapter(TacAdapterKind::GroupBoxWnd, group, false, "", scope.manager.get(), nullptr);
    ASSERT_NE(adapter, nullptr);
    ASSERT_EQ(SendSkinCommand(group, AC_CTRLHANDLED), 1);
    form.show();
    QApplication::processEvents();
    const auto manager = reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(scope.manager.get()));
    BroadcastToAppForms(TacBroadcast{AC_SETNEWSKIN, 0, manager});
    EXPECT_EQ(inGroup->seen, 1);
    EXPECT_EQ(inContainer->seen, 1);
    EXPECT_EQ(onForm->seen, 1);
    FreeWndAdapter(adapter);
}
