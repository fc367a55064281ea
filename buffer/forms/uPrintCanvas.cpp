#include "buffer/forms/uPrintCanvas.h"

#include "buffer/HDumpChars.h"
#include "buffer/forms/HDump.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

QFont PrintFont()
{
    return THexDump::DumpFont(QStringLiteral("Courier New"), 10, 1);
}

QString PrintLineText(const std::string& line)
{
    QString text;
    text.reserve(qsizetype(line.size()));
    for (const char c : line)
        text += QChar(static_cast<char16_t>(DumpCharacter(static_cast<uint8_t>(c))));
    return text;
}

TPrintCanvas::TPrintCanvas(QPainter& painter, int pageHeight, std::function<bool()> newPage)
    : painter_(painter), pageHeight_(pageHeight), newPage_(std::move(newPage))
{
    painter_.setFont(PrintFont());
    painter_.setPen(Qt::black);
    const QFontMetrics metrics = painter_.fontMetrics();
    h_ = metrics.height();
    x_ = metrics.horizontalAdvance(QStringLiteral("01235678"));
    ascent_ = metrics.ascent();
    y_ = 4 * h_;
}

bool TPrintCanvas::Line(const std::string& text)
{
    painter_.drawText(x_, y_ + ascent_, PrintLineText(text));
    y_ += h_;
    return true;
}

bool TPrintCanvas::RowDone()
{
    if (y_ < pageHeight_ - 5 * h_)
        return true;
    y_ = 4 * h_;
    return newPage_();
}

bool PrintOnPrinter(QPrinter& printer, const TDumpBuffer& buffer, const TPrintJob& job, std::string& error)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "The printer cannot start the print job.";
        return false;
    }
    TPrintCanvas canvas(painter, printer.height(), [&printer] { return printer.newPage(); });
    const bool printed = WritePrintLines(buffer, job, canvas);
    if (!painter.end() || !printed) {
        error = "The printer failed to print the job.";
        return false;
    }
    return true;
}

QImage PrintFirstPage(const TDumpBuffer& buffer, const TPrintJob& job, QSize pageSize)
{
    QImage page(pageSize, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    TPrintCanvas canvas(painter, page.height(), [] { return false; });
    WritePrintLines(buffer, job, canvas);
    return page;
}
