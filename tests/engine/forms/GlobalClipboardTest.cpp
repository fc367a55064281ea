#include "engine/forms/GlobalClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(GlobalClipboard, ReadsTheClipboardText)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("0A 1B\r\n2C");
    EXPECT_TRUE(ClipboardHasHexText());
    clipboard->setText("0A 1");
    EXPECT_FALSE(ClipboardHasHexText());

    // A blank text counts as hex text; no text at all does not.
    clipboard->setText(" \r\n");
    EXPECT_TRUE(ClipboardHasHexText());
    auto* image = new QMimeData;
    image->setData("application/octet-stream", QByteArray("\x01\x02", 2));
    clipboard->setMimeData(image);
    EXPECT_FALSE(ClipboardHasHexText());
}
