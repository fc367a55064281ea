#include "buffer/forms/uPrintCanvas.h"

#include "buffer/forms/HDump.h"
#include "platform/Cp1251.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

QFont PrintFont()
{
    return THexDump::DumpFont(QStringLiteral("Courier New"), 10, 1);
}

QString PrintLineText(const std::string& line, bool cyrillic)
{
    return cyrillic ? Cp1251ToQString(line) : QString::fromLatin1(line.data(), qsizetype(line.size()));
}

TPrintCanvas::TPrintCanvas(QPainter& painter, int pageHeight, bool cyrillic, std::function<bool()> newPage)
    : painter_(painter), pageHeight_(pageHeight), cyrillic_(cyrillic), newPage_(std::move(newPage))
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
    painter_.drawText(x_, y_ + ascent_, PrintLineText(text, cyrillic_));
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

bool PrintOnPrinter(QPrinter& printer, const TDumpBuffer& buffer, const TPrintJob& job, bool cyrillic,
                    std::string& error)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "The printer cannot start the print job.";
        return false;
    }
    TPrintCanvas canvas(painter, printer.height(), cyrillic, [&printer] { return printer.newPage(); });
    const bool printed = WritePrintLines(buffer, job, canvas);
    if (!painter.end() || !printed) {
        error = "The printer failed to print the job.";
        return false;
    }
    return true;
}

QImage PrintFirstPage(const TDumpBuffer& buffer, const TPrintJob& job, bool cyrillic, QSize pageSize)
{
    QImage page(pageSize, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    TPrintCanvas canvas(painter, page.height(), cyrillic, [] { return false; });
    WritePrintLines(buffer, job, canvas);
    return page;
}
