#include "skinwnd/forms/acEditWnd.h"

#include "AdapterTestSkin.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <functional>

using namespace adaptertest;

namespace {

// One edit-like widget on a shown form, with big text in it.
struct EditForm {
    QWidget form;
    QWidget* edit;
    explicit EditForm(const std::function<QWidget*(QWidget*)>& make)
    {
        form.resize(260, 140);
        edit = make(&form);
        edit->setGeometry(10, 10, 220, 100);
        // No real focus and no blinking cursor: the tests give the focus
        // by events, and pictures before and after compare exactly.
        edit->setFocusPolicy(Qt::NoFocus);
        QFont big = edit->font();
        big.setPixelSize(26);
        big.setBold(true);
        edit->setFont(big);
        form.show();
        QApplication::processEvents();
    }
    QImage Image() { return Grab(*edit); }
};

struct EditKind {
    const char* what;
    std::function<QWidget*(QWidget*)> make;
};

const EditKind kEditKinds[] = {
    {"line edit", [](QWidget* p) { return new QLineEdit("MMMM", p); }},
    {"plain text edit", [](QWidget* p) { return new QPlainTextEdit("MMMM", p); }},
    {"rich text edit", [](QWidget* p) { return new QTextEdit("MMMM", p); }},
    {"list box",
     [](QWidget* p) {
         auto* list = new QListWidget(p);
         list->addItem("MMMM");
         list->setSelectionMode(QAbstractItemView::NoSelection);
         return list;
     }},
};

void SendFocus(QWidget* w, bool in)
{
    QFocusEvent e(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST(TacEditWnd, FrameAndColoursFromTheSkinAndDetachRestores)
{
    SkinScope skin;
    const TsGeneralData& edit = skin.Section("EDIT");
    const TSkinPalette p = ProjectPalette();
    for (const EditKind& kind : kEditKinds) {
        SCOPED_TRACE(kind.what);
        EditForm f(kind.make);
        const QImage plain = f.Image();
        const QPalette plainPalette = f.edit->palette();
        const int midY = plain.height() / 2;
        ASSERT_NE(PixelAt(plain, 0, midY), p.Frame);
        ASSERT_EQ(CountPixels(plain, edit.FontColor), 0);

        // The skin state of a form's control, as the form's control
        // adapter hands it over.
        TsCommonData data(f.edit, true);
        TacMainWnd* adapter = TacMainWnd::Create<TacEditWnd>(f.edit, true, "", nullptr, &data);
        EXPECT_EQ(GetAdapterOf(f.edit), adapter);
        QImage skinned = f.Image();
        // The border of the section's frame on the widget's edge, the
        // section's colours inside it.
        EXPECT_EQ(PixelAt(skinned, 0, midY), p.Frame);
        EXPECT_EQ(PixelAt(skinned, skinned.width() / 2, 0), p.Frame);
        EXPECT_GT(CountPixels(skinned, edit.FontColor), 0);
        EXPECT_EQ(ColorFromQColor(f.edit->palette().color(QPalette::Base)), edit.Color);

        // Focused, the frame and the client take the hot look.
        SendFocus(f.edit, true);
        skinned = f.Image();
        EXPECT_EQ(PixelAt(skinned, 0, midY), p.Accent);
        EXPECT_EQ(ColorFromQColor(f.edit->palette().color(QPalette::Base)), edit.HotColor);
        SendFocus(f.edit, false);
        EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Frame);

        // So under the mouse, until it leaves.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(f.edit, &enter);
        EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Accent);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.edit, &leave);
        EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Frame);

        DetachWnd(f.edit, true, adapter);
        EXPECT_EQ(f.edit->palette(), plainPalette);
        EXPECT_EQ(f.Image(), plain);
    }
}

TEST(TacEditWnd, AnswersTheLibrarysQueries)
{
    SkinScope skin;
    EditForm f(kEditKinds[0].make);
    TacMainWnd* adapter = TacMainWnd::Create<TacEditWnd>(f.edit);
    EXPECT_EQ(adapter->SkinData()->SkinSection(), "EDIT");
    EXPECT_EQ(SendSkinCommand(f.edit, AC_CTRLHANDLED), 1);
    EXPECT_EQ(SendSkinCommand(f.edit, AC_GETSKININDEX), skin.manager->GetSkinIndex("EDIT") + 1);
    DetachWnd(f.edit, true, adapter);
    EXPECT_EQ(SendSkinCommand(f.edit, AC_CTRLHANDLED), 0);
}

TEST(TacEditWnd, SkinSwitchedOffAndOnAgain)
{
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    EditForm f(kEditKinds[1].make);
    const QImage plain = f.Image();
    const QPalette plainPalette = f.edit->palette();
    TacMainWnd* adapter = TacMainWnd::Create<TacEditWnd>(f.edit);
    const int midY = plain.height() / 2;
    EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Frame);
    skin.manager->SetActive(false);
    EXPECT_EQ(f.edit->palette(), plainPalette);
    EXPECT_EQ(f.Image(), plain);
    skin.manager->SetActive(true);
    EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Frame);
    EXPECT_GT(CountPixels(f.Image(), skin.Section("EDIT").FontColor), 0);
    DetachWnd(f.edit, true, adapter);
}

TEST(TacEditWnd, OwnSkinStateTakesNoHotLook)
{
    // A window without a control of the form (a popup list, a dialog's
    // child) keeps the normal look when focused or under the mouse.
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    EditForm f(kEditKinds[0].make);
    TacMainWnd* adapter = TacMainWnd::Create<TacEditWnd>(f.edit);
    const int midY = f.edit->height() / 2;
    EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Frame);
    SendFocus(f.edit, true);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(f.edit, &enter);
    EXPECT_EQ(PixelAt(f.Image(), 0, midY), p.Frame);
    EXPECT_EQ(ColorFromQColor(f.edit->palette().color(QPalette::Base)), skin.Section("EDIT").Color);
    DetachWnd(f.edit, true, adapter);
}
