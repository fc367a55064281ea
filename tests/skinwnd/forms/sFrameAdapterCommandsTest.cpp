#include "skinwnd/forms/sFrameAdapter.h"

#include "AdapterTestSkin.h"
#include "skin/forms/acSkinCommand.h"

#include <QFrame>

#include <algorithm>
#include <vector>

using namespace adaptertest;

namespace {

// A control of the frame that remembers the library commands it hears and
// counts its paints.
struct Listener : QWidget {
    std::vector<std::pair<int, int>> heard; // sub-code, low word
    int paints = 0;
    using QWidget::QWidget;
    bool event(QEvent* e) override
    {
        if (e->type() == SkinCommandEventType()) {
            auto& m = static_cast<TSkinCommandEvent&>(*e);
            heard.emplace_back(m.SubCode(), m.Low());
        }
        paints += e->type() == QEvent::Paint;
        return QWidget::event(e);
    }
    bool Heard(int subCode, int low) const
    {
        return std::find(heard.begin(), heard.end(), std::make_pair(subCode, low)) != heard.end();
    }
};

// A marked frame with a listening control, adapted under the project skin.
struct Frame {
    QWidget form;
    QFrame* frame = new QFrame(&form);
    Listener* child = new Listener(frame);
    TsFrameAdapter* adapter = nullptr;
    Frame()
    {
        form.setGeometry(300, 300, 260, 160);
        frame->setProperty(TsFrameAdapter::FrameProperty, true);
        frame->setGeometry(20, 20, 220, 120);
        child->setGeometry(16, 16, 60, 30);
        adapter = new TsFrameAdapter(frame);
        adapter->Loaded();
        form.show();
        QApplication::processEvents();
    }
    void Send(uint16_t subCode, uint16_t low = 0)
    {
        child->heard.clear();
        child->paints = 0;
        SendSkinCommand(frame, subCode, low, 0);
    }
};

} // namespace

TEST(TsFrameAdapterCommands, UpdatingStateReachesTheControlsAndItsEndRepaints)
{
    SkinScope scope;
    Frame f;
    ASSERT_TRUE(f.adapter->SkinData()->Skinned());
    TsCommonData& sd = *f.adapter->SkinData();

    struct Step {
        const char* what;
        uint16_t subCode, low;
        bool updatingAfter;
        bool childHears; // the same command, passed on
        bool repaints;
    };
    const Step steps[] = {
        {"updating starts", AC_SETUPDATING, 1, true, true, false},
        {"update ends while updating", AC_CHECKUPDATING, 0, false, false, true},
        {"update ends again: nothing held back", AC_CHECKUPDATING, 0, false, false, false},
        {"updating starts again", AC_SETUPDATING, 1, true, true, false},
        {"updating stopped", AC_SETUPDATING, 0, false, true, false},
        {"before a refresh", AC_BEFOREREFRESH, 0, false, true, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        f.Send(s.subCode, s.low);
        EXPECT_EQ(sd.Updating, s.updatingAfter);
        EXPECT_EQ(f.child->Heard(s.subCode, s.low), s.childHears);
        // The frame's repaint takes its controls along.
        QApplication::processEvents();
        EXPECT_EQ(f.child->paints > 0, s.repaints);
    }
}

TEST(TsFrameAdapterCommands, UnskinnedFrameLeavesUpdatingToItsControls)
{
    SkinScope scope;
    scope.manager->SetActive(false);
    Frame f;
    ASSERT_FALSE(f.adapter->SkinData()->Skinned());
    // The updating state is the skinned frame's to pass on; the notice
    // before a refresh goes on in any state.
    f.Send(AC_SETUPDATING, 1);
    EXPECT_FALSE(f.child->Heard(AC_SETUPDATING, 1));
    f.Send(AC_BEFOREREFRESH);
    EXPECT_TRUE(f.child->Heard(AC_BEFOREREFRESH, 0));
}
