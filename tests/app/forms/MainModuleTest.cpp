#include "app/forms/MainModule.h"

#include "buffer/forms/uHexEditor.h"
#include "engine/Global.h"

#include "Screenshot.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

const char* const EveryKind = "[MENU]\n"
                              "READ = \"&Read\", READBUTTON, \"Read chip\", Ctrl+R;\n"
                              "WRITE = \"&Write\", WRITEBUTTON, \"Write chip\", Ctrl+W;\n"
                              "BLANK = \"&Blank check\";\n"
                              "[INTERFACE]\n"
                              "CHECKBOX(VERIFY, \"Verify after write\", 8, 8, 1);\n"
                              "COMBOBOX(sel, Mode, 8, 36, 90, Fast, Slow, 1);\n"
                              "HEXEDIT(Key, \"Key\", 180, 36, 4);\n"
                              "DIGIT(n, Count, 8, 66, 0x10);\n"
                              "BUTTON(CLEAR, \"Clear all\", 180, 62, 90, 20);\n";

// A loaded module, its plan and its controls built on a container.
struct Built {
    TempDir dir;
    QWidget window;
    QWidget* container = new QWidget(&window);
    TModuleInfo module;
    TModulePlan plan;
    TParameterControls controls;

    explicit Built(const std::string& text = EveryKind)
    {
        WriteFileBytes(dir.file("m.chl"), text);
        module.LoadFromFile(dir.file("m.chl"));
        plan = PlanModule(module, WorkParamDefault, TWidgetMetrics(&window));
        controls.Build(container, plan.Controls);
        container->resize(420, plan.PanelHeight);
        window.resize(420, plan.PanelHeight);
    }
    template <class T> T* control(const char* name) const { return container->findChild<T*>(name); }
};

void DeleteLaterNow() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(MainModuleForm, BuildsEveryKindInCreationOrder)
{
    Built b;
    ASSERT_EQ(b.controls.Count(), 5);
    QStringList order;
    for (QObject* child : b.container->children())
        order << (child->objectName().isEmpty() ? QString("label:") + qobject_cast<QLabel*>(child)->text()
                                                 : child->objectName());
    EXPECT_EQ(order, (QStringList{"VERIFY", "label:Mode", "sel", "label:Key", "Key", "label:Count", "n", "btCLEAR"}));

    auto* verify = b.control<QCheckBox>("VERIFY");
    ASSERT_TRUE(verify);
    EXPECT_TRUE(verify->isChecked());
    EXPECT_EQ(verify->geometry().topLeft(), QPoint(8, 13));
    EXPECT_EQ(ControlTag(verify), 1u);

    auto* sel = b.control<QComboBox>("sel");
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->count(), 2);
    EXPECT_EQ(sel->currentText(), "Slow");
    EXPECT_EQ(ControlTag(sel), 0x10000001u);
    const QWidget* modeLabel = b.controls.Label(1);
    EXPECT_EQ(sel->x(), modeLabel->x() + modeLabel->width() + 6);
    EXPECT_EQ(sel->y(), modeLabel->y() - 3);
    EXPECT_EQ(sel->width(), 90);

    auto* key = b.control<THexEdit>("Key");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->text(), "00 00 00 00");
    EXPECT_EQ(ControlTag(key), 0x20000004u);
    EXPECT_GE(key->width(), key->fontMetrics().horizontalAdvance(key->text()));

    auto* n = b.control<QLineEdit>("n");
    ASSERT_TRUE(n);
    EXPECT_EQ(n->text(), "0X10");
    EXPECT_EQ(ControlTag(n), 0x30000010u);
    EXPECT_EQ(n->width(), 100);

    auto* clear = b.control<QPushButton>("btCLEAR");
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->text(), "Clear all");
    EXPECT_EQ(clear->geometry(), QRect(180, 67, 90, 25));
    EXPECT_EQ(b.plan.PanelHeight, 67 + 25 + 7 + 7);
}

TEST(MainModuleForm, ChangesKeepTheTagsCurrent)
{
    Built b;
    b.window.show();
    auto* verify = b.control<QCheckBox>("VERIFY");
    QTest::mouseClick(verify, Qt::LeftButton, {}, QPoint(5, verify->height() / 2));
    EXPECT_FALSE(verify->isChecked());
    EXPECT_EQ(ControlTag(verify), 0u);

    auto* sel = b.control<QComboBox>("sel");
    sel->setCurrentIndex(0);
    EXPECT_EQ(ControlTag(sel), 0x10000000u);

    auto* n = b.control<QLineEdit>("n");
    n->setFocus();
    n->selectAll();
    QTest::keyClicks(n, "300");
    EXPECT_EQ(n->text(), "300");
    EXPECT_EQ(ControlTag(n), 0x3000012Cu);
    // Letters, blanks and signs never reach the edit.
    QTest::keyClicks(n, "a- x/");
    EXPECT_EQ(n->text(), "300");
    QTest::keyClick(n, Qt::Key_Backspace);
    EXPECT_EQ(n->text(), "30");
    EXPECT_EQ(ControlTag(n), 0x3000001Eu);
}

TEST(MainModuleForm, RunValuesComeBackIntoTheControls)
{
    Built b;
    TStringList list;
    FillModuleParameters(b.controls.States(), {0, false, false, WorkParamDefault}, list);
    ASSERT_EQ(list[2], ".Key:00 00 00 00");
    ASSERT_EQ(list.Objects(2), 0x20000004u);
    // What a script leaves behind.
    list.SetObject(list.IndexOf("VERIFY"), 0);
    list.SetObject(list.IndexOf("sel"), 7);
    list[2] = ".KEY:01 02 03 04";
    list.SetObject(list.IndexOf("n"), 300);
    list.SetObject(list.IndexOf("btCLEAR"), 9);

    std::vector<TControlState> states = b.controls.States();
    WriteBackControls(list, states);
    b.controls.Apply(states);

    EXPECT_FALSE(b.control<QCheckBox>("VERIFY")->isChecked());
    EXPECT_EQ(ControlTag(b.control<QCheckBox>("VERIFY")), 0u);
    EXPECT_EQ(b.control<QComboBox>("sel")->currentIndex(), 1); // clamped to the last item
    EXPECT_EQ(ControlTag(b.control<QComboBox>("sel")), 0x10000001u);
    EXPECT_EQ(b.control<THexEdit>("Key")->text(), "01 02 03 04");
    EXPECT_EQ(b.control<QLineEdit>("n")->text(), "0x012C");
    EXPECT_EQ(ControlTag(b.control<QLineEdit>("n")), 0x3000012Cu);
    EXPECT_EQ(ControlTag(b.control<QPushButton>("btCLEAR")), 0u);
}

// A module button may switch the module: the rebuild runs under the
// button's own click handler and deletes that button.
TEST(MainModuleForm, RebuildFromAButtonsOwnClick)
{
    Built b;
    b.window.show();
    QPointer<QPushButton> old = b.control<QPushButton>("btCLEAR");
    int clicks = 0;
    QObject::connect(&b.controls, &TParameterControls::ButtonClicked, [&](QPushButton* sender) {
        EXPECT_EQ(SenderCommandText(sender), "btCLEAR|Clear all");
        ++clicks;
        b.controls.Build(b.container, b.plan.Controls);
    });
    QTest::mouseClick(old, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(old); // still there until control is back in the loop
    EXPECT_FALSE(old->isVisible());
    EXPECT_EQ(b.container->findChildren<QPushButton*>("btCLEAR").size(), 1);
    DeleteLaterNow();
    EXPECT_FALSE(old);
    EXPECT_EQ(b.container->children().size(), 8);

    QPushButton* fresh = b.control<QPushButton>("btCLEAR");
    ASSERT_TRUE(fresh);
    QTest::mouseClick(fresh, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    DeleteLaterNow();
}

TEST(MainModuleForm, DeviceMenuWithShortcutsRebuiltFromItsOwnItem)
{
    Built b;
    QMenu menu;
    TDeviceMenuActions actions = BuildDeviceMenu(&menu, b.plan);
    ASSERT_EQ(actions.Entries.size(), 3u);
    EXPECT_EQ(actions.Entries[0]->objectName(), "mnREAD");
    EXPECT_EQ(actions.Entries[0]->text(), "&Read");
    EXPECT_EQ(actions.Entries[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(actions.Entries[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
    EXPECT_TRUE(actions.Entries[2]->shortcut().isEmpty());
    EXPECT_EQ(actions.Parameters, nullptr);
    EXPECT_EQ(actions.PinTester, nullptr);
    EXPECT_EQ(SenderCommandText(actions.Entries[1]), "&Write");

    QPointer<QAction> old = actions.Entries[0];
    QObject::connect(old, &QAction::triggered, [&] { actions = BuildDeviceMenu(&menu, b.plan); });
    old->trigger();
    EXPECT_EQ(menu.actions().size(), 3);
    EXPECT_FALSE(menu.actions().contains(old.data()));
    DeleteLaterNow();
    EXPECT_FALSE(old);

    Built window("[DESCRIPTION]\nGND = 4;\n[MENU]\nREAD = Read;\n[INTERFACE WINDOW]\nCHECKBOX(a, A, 1, 2, 1);\n");
    actions = BuildDeviceMenu(&menu, window.plan);
    DeleteLaterNow();
    ASSERT_TRUE(actions.Parameters && actions.PinTester);
    QStringList items;
    for (QAction* a : menu.actions())
        items << (a->isSeparator() ? QString("-") : a->text());
    EXPECT_EQ(items, (QStringList{"Read", "-", "Parameters", "-", "Pin tester"}));
}

TEST(MainModuleForm, SenderKinds)
{
    QAction action("&Write");
    QToolButton tool;
    tool.setText("&Read");
    QPushButton push("Clear all");
    push.setObjectName("btCLEAR");
    QLabel label("x");
    EXPECT_EQ(SenderKind(&action), TSenderKind::MenuItem);
    EXPECT_EQ(SenderCommandText(&tool), "&Read");
    EXPECT_EQ(SenderCommandText(&push), "btCLEAR|Clear all");
    EXPECT_EQ(SenderCommandText(&label), "");
    EXPECT_EQ(SenderCommandText(nullptr), "");
}

TEST(MainModuleForm, Screenshot)
{
    Built b;
    b.window.show();
    SaveScreenshot(b.window, "module_panel");
}

} // namespace
