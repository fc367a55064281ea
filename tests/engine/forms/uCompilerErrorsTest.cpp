#include "Screenshot.h"
#include "engine/forms/uCompilerErrors.h"
#include "platform/Cp1251.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(CompilerErrors, ShowsTheErrorLinesAndCloses)
{
    TfmCompilerErrors form;
    EXPECT_EQ(form.windowTitle(), "Compiler errors");
    form.SetErrorLines({"Line 12: Unknown identifier COUNTER", Utf8ToCp1251("Line 40: Метка не найдена: LOOP")});
    EXPECT_EQ(form.Memo1->toPlainText(),
              QString::fromUtf8("Line 12: Unknown identifier COUNTER\nLine 40: Метка не найдена: LOOP"));
    EXPECT_TRUE(form.Memo1->isReadOnly());
    form.show();
    QApplication::processEvents();
    SaveScreenshot(form, "compilererrors");

    // Lines of a later compile replace the earlier ones.
    form.SetErrorLines({"Line 3: Syntax error"});
    EXPECT_EQ(form.Memo1->toPlainText(), "Line 3: Syntax error");

    form.SpeedButton1->click();
    EXPECT_FALSE(form.isVisible());
}
