#include "Screenshot.h"
#include "engine/forms/uChipOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(ChipOptions, HeightsFollowTheLowestControl)
{
    const auto heights = ChipOptionsHeights({10, 70, 40});
    ASSERT_TRUE(heights);
    EXPECT_EQ(heights->ClientHeight, 145);
    EXPECT_EQ(heights->PanelHeight, 100);
    EXPECT_FALSE(ChipOptionsHeights({}));
}

TEST(ChipOptions, ShowFitsTheWindowToTheModuleControls)
{
    TfmChipOptions form;
    EXPECT_EQ(form.windowTitle(), "Parameters");
    // Controls as the module loader makes them: named, on Panel1, hidden.
    auto* check = new QCheckBox("Erase before write", form.Panel1);
    check->setObjectName("Erase");
    check->move(10, 10);
    auto* label = new QLabel("Sector size", form.Panel1);
    label->setObjectName("SectorLabel");
    label->move(10, 43);
    auto* combo = new QComboBox(form.Panel1);
    combo->setObjectName("Sector");
    combo->addItems({"256", "512", "1024"});
    combo->setGeometry(100, 40, 90, 24);
    auto* edit = new QLineEdit("0x10", form.Panel1);
    edit->setObjectName("Start");
    edit->setGeometry(10, 70, 80, 24);
    // An unnamed child is not one of the module's controls.
    auto* helper = new QLabel(form.Panel1);
    helper->move(0, 300);
    helper->hide();
    for (QWidget* w : {static_cast<QWidget*>(check), static_cast<QWidget*>(label), static_cast<QWidget*>(combo),
                       static_cast<QWidget*>(edit)})
        w->hide();

    form.show();
    EXPECT_EQ(form.height(), 145);
    EXPECT_EQ(form.Panel1->height(), 100);
    for (QWidget* w : {static_cast<QWidget*>(check), static_cast<QWidget*>(combo), static_cast<QWidget*>(edit)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(helper->isVisible());
    EXPECT_GT(form.Button1->y(), form.Panel1->geometry().bottom());
    EXPECT_LE(form.Button1->geometry().bottom(), form.height());
    SaveScreenshot(form, "chipoptions");

    form.Button1->click();
    EXPECT_FALSE(form.isVisible());
}

TEST(ChipOptions, WithoutControlsTheSizeStays)
{
    TfmChipOptions form;
    const QSize before = form.size();
    form.show();
    EXPECT_EQ(form.size(), before);
}

TEST(ChipOptions, WidensForAControlBeyondItsEdge)
{
    TfmChipOptions form;
    auto* edit = new QLineEdit(form.Panel1);
    edit->setObjectName("Far");
    edit->setGeometry(500, 10, 100, 24);
    form.show();
    EXPECT_GE(form.width(), 600);
}

TEST(ChipOptions, CtrlLeftClickOnThePanelIsPassedOn)
{
    TfmChipOptions form;
    form.show();
    int clicks = 0;
    QObject::connect(&form, &TfmChipOptions::Panel1CtrlClick, [&](QPoint) { ++clicks; });
    QTest::mouseClick(form.Panel1, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseClick(form.Panel1, Qt::RightButton, Qt::ControlModifier, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(form.Panel1, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}
