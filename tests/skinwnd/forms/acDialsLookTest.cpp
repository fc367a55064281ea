// How the controls of hooked dialogs look: the dialog's skinned background
// behind every label, at any size, and captions without raw mnemonic marks.
#include "skinwnd/forms/acDials.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/forms/acSkinText.h"
#include "skinwnd/forms/acDialogWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <memory>

using adaptertest::SkinScope;

namespace {

// The dialog's own picture of itself: frame and client background as the
// skin paints them, before any control draws over it.
QImage DialogBackground(QWidget* dialog)
{
    TacProvider* provider = FindDialogProvider(dialog);
    if (!provider || !provider->DialogWnd || !provider->DialogWnd->FrameProvider())
        return {};
    const TBitmap* cache = provider->DialogWnd->FrameProvider()->SkinData().CacheBmp.get();
    return cache ? BitmapToImage(*cache).convertToFormat(QImage::Format_RGB32) : QImage();
}

// Columns of the label's place where the shot does not show the dialog's
// background at all. A text covers part of a column at most; a label
// painted over something else (black, another part of the dialog) covers
// whole columns.
int ColumnsWithoutBackground(const QImage& shot, const QImage& background, const QRect& place)
{
    int bad = 0;
    for (int x = place.left(); x <= place.right(); ++x) {
        int same = 0;
        for (int y = place.top(); y <= place.bottom(); ++y)
            same += shot.pixel(x, y) == background.pixel(x, y);
        bad += same * 4 < place.height();
    }
    return bad;
}

// Every control of the list shows the dialog's background around what it
// draws.
void ExpectOverTheDialog(QWidget* dialog, const QList<QWidget*>& controls)
{
    QApplication::processEvents();
    const QImage shot = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage background = DialogBackground(dialog);
    ASSERT_FALSE(background.isNull());
    ASSERT_EQ(background.size(), shot.size());
    for (QWidget* control : controls) {
        const QRect place(control->mapTo(dialog, QPoint(0, 0)), control->size());
        EXPECT_EQ(ColumnsWithoutBackground(shot, background, place), 0) << control->objectName().toStdString();
    }
}

void ExpectLabelsOverTheDialog(QWidget* dialog, const char* when)
{
    SCOPED_TRACE(when);
    QList<QWidget*> labels;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty() && GetAdapterOf(label)) {
            label->setObjectName(label->text());
            labels.push_back(label);
        }
    }
    EXPECT_FALSE(labels.isEmpty());
    ExpectOverTheDialog(dialog, labels);
}

// A dialog the hook skins, with controls placed by hand (no layout moves
// them when their text changes).
struct HookedDialog {
    SkinScope skin;
    QDialog dialog;
    HookedDialog() { dialog.resize(320, 200); }
    void Show()
    {
        dialog.show();
        QApplication::processEvents();
        ASSERT_NE(FindDialogProvider(&dialog), nullptr);
    }
};

QImage Grab(QWidget* w)
{
    QApplication::processEvents();
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(acDialsLook, MessageBoxTextShowsTheDialogBehindIt)
{
    SkinScope skin;
    std::unique_ptr<QMessageBox> box(new QMessageBox(QMessageBox::Question, "Tarku",
                                                     "Erase the chip before writing?",
                                                     QMessageBox::Yes | QMessageBox::No));
    box->show();
    ExpectLabelsOverTheDialog(box.get(), "shown");
    box->resize(box->width() + 160, box->height() + 90);
    ExpectLabelsOverTheDialog(box.get(), "resized");
    EXPECT_TRUE(SaveScreenshot(*box, "dialog_look_message_box"));
}

TEST(acDialsLook, FileDialogLabelsShowTheDialogBehindThem)
{
    SkinScope skin;
    testsupport::TempDir folder;
    std::unique_ptr<QFileDialog> dialog(
        new QFileDialog(nullptr, "Open dump", QString::fromStdString(folder.path())));
    dialog->show();
    ExpectLabelsOverTheDialog(dialog.get(), "shown");
    dialog->resize(dialog->width() + 200, dialog->height() + 120);
    ExpectLabelsOverTheDialog(dialog.get(), "resized");
    EXPECT_TRUE(SaveScreenshot(*dialog, "dialog_look_file_dialog"));
}

// A caption drawn with its marks looks as the same caption written without
// them; an "&" that is text stays.
TEST(acDialsLook, CaptionsHideTheirMnemonicMarks)
{
    struct Case {
        const char* Name;
        std::function<QWidget*(QWidget*)> Make;
        const char* Marked;
        bool MarkedBuddy; // labels: whether the label names a buddy
        const char* Plain;
        bool PlainBuddy;
        bool Same;
    };
    const auto label = [](QWidget* p) { return new QLabel(p); };
    const Case cases[] = {
        {"button", [](QWidget* p) { return new QPushButton(p); }, "&Yes", false, "Yes", false, true},
        {"check box", [](QWidget* p) { return new QCheckBox(p); }, "&Verify", false, "Verify", false, true},
        {"group box", [](QWidget* p) { return new QGroupBox(p); }, "&Chip", false, "Chip", false, true},
        {"label with a buddy", label, "File &name:", true, "File name:", true, true},
        // Without a buddy the label shows its "&" as text, as "&&" shows
        // one with a buddy.
        {"label without a buddy", label, "Tom & Jerry", false, "Tom && Jerry", true, true},
        {"label keeps its text", label, "Tom & Jerry", false, "Tom  Jerry", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        HookedDialog f;
        auto* buddy = new QLineEdit(&f.dialog);
        buddy->setGeometry(150, 20, 100, 24);
        QWidget* control = c.Make(&f.dialog);
        control->setGeometry(20, 20, 120, 60);
        const auto setText = [&](const char* text, bool withBuddy) {
            const QString s = QString::fromUtf8(text);
            if (auto* l = qobject_cast<QLabel*>(control)) {
                l->setText(s);
                l->setBuddy(withBuddy ? buddy : nullptr);
            } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
                b->setText(s);
            } else if (auto* g = qobject_cast<QGroupBox*>(control)) {
                g->setTitle(s);
            }
        };
        setText(c.Marked, c.MarkedBuddy);
        f.Show();
        ASSERT_NE(GetAdapterOf(control), nullptr);
        const QImage marked = Grab(control);
        setText(c.Plain, c.PlainBuddy);
        control->update();
        const QImage plain = Grab(control);
        EXPECT_EQ(marked == plain, c.Same);
    }
}

// The label's text sits where the label's alignment puts it.
TEST(acDialsLook, LabelTextFollowsTheVerticalAlignment)
{
    struct Case {
        Qt::Alignment Align;
        int Where; // -1 top, 0 middle, 1 bottom
    };
    const Case cases[] = {{Qt::AlignTop, -1}, {Qt::AlignVCenter, 0}, {Qt::AlignBottom, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Align));
        HookedDialog f;
        auto* l = new QLabel("Device", &f.dialog);
        l->setAlignment(Qt::AlignLeft | c.Align);
        l->setGeometry(20, 30, 120, 80);
        f.Show();
        ASSERT_NE(GetAdapterOf(l), nullptr);
        const QImage shot = Grab(&f.dialog);
        const QImage background = DialogBackground(&f.dialog);
        ASSERT_EQ(background.size(), shot.size());
        int first = -1, last = -1;
        for (int y = l->y(); y < l->y() + l->height(); ++y)
            for (int x = l->x(); x < l->x() + l->width(); ++x)
                if (shot.pixel(x, y) != background.pixel(x, y)) {
                    if (first < 0)
                        first = y - l->y();
                    last = y - l->y();
                }
        ASSERT_GE(first, 0) << "no text";
        const int middle = (first + last) / 2, height = l->height();
        switch (c.Where) {
        case -1: EXPECT_LT(last, height / 2); break;
        case 0: EXPECT_NEAR(middle, height / 2, 4); break;
        default: EXPECT_GT(first, height / 2); break;
        }
    }
}

TEST(acDialsLook, MeasuredCaptionsLeaveOutTheirMarks)
{
    SkinScope skin;
    const QFont font = QApplication::font();
    struct Case {
        const char* Text;
        unsigned Flags;
        const char* SameAs;
    };
    const Case cases[] = {
        {"&Yes", DT_SINGLELINE, "Yes"},
        {"A&&B", DT_SINGLELINE, "A&B"},
        {"&Yes", DT_SINGLELINE | DT_NOPREFIX, "&Yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const TPoint size = MeasureText(font, c.Text, 0, c.Flags);
        const TPoint plain = MeasureText(font, c.SameAs, 0, DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_EQ(size.X, plain.X);
        EXPECT_EQ(size.Y, plain.Y);
    }
    EXPECT_GT(MeasureText(font, "&Yes", 0, DT_NOPREFIX).X, MeasureText(font, "&Yes", 0, 0).X);
}

// Controls laid out in a plain container (a widget that paints nothing of
// its own) show the dialog behind the container.
TEST(acDialsLook, LabelsInAPlainContainerShowTheDialogBehindIt)
{
    HookedDialog f;
    auto* container = new QWidget(&f.dialog);
    container->setGeometry(40, 50, 240, 120);
    auto* l = new QLabel("Device", container);
    l->setGeometry(30, 40, 150, 40);
    f.Show();
    ASSERT_NE(GetAdapterOf(l), nullptr);
    ExpectLabelsOverTheDialog(&f.dialog, "nested");
    EXPECT_TRUE(SaveScreenshot(f.dialog, "dialog_look_container"));
}

// Check boxes and radio buttons away from the dialog's corner show the
// dialog at their own place.
TEST(acDialsLook, CheckBoxesShowTheDialogAtTheirPlace)
{
    HookedDialog f;
    auto* check = new QCheckBox("Verify", &f.dialog);
    check->setObjectName("check box");
    check->setGeometry(150, 110, 140, 40);
    auto* radio = new QRadioButton("Erase", &f.dialog);
    radio->setObjectName("radio button");
    radio->setGeometry(150, 60, 140, 40);
    f.Show();
    ASSERT_NE(GetAdapterOf(check), nullptr);
    ASSERT_NE(GetAdapterOf(radio), nullptr);
    ExpectOverTheDialog(&f.dialog, {check, radio});
}
