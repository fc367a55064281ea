#include "buffer/forms/uPrintCanvas.h"

#include "buffer/HDumpChars.h"
#include "buffer/FileServFiles.h"
#include "buffer/forms/HDump.h"
#include "platform/Paths.h"
#include "platform/SafeFileDevice.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
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

namespace {

bool PrintPages(QPagedPaintDevice& device, const TDumpBuffer& buffer, const TPrintJob& job, std::string& error)
{
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "The printer cannot start the print job.";
        return false;
    }
    TPrintCanvas canvas(painter, device.height(), [&device] { return device.newPage(); });
    const bool printed = WritePrintLines(buffer, job, canvas);
    if (!painter.end() || !printed) {
        error = "The printer failed to print the job.";
        return false;
    }
    return true;
}

} // namespace

bool PrintOnPrinter(QPrinter& printer, const TDumpBuffer& buffer, const TPrintJob& job, std::string& error)
{
    return PrintPages(printer, buffer, job, error);
}

bool PrintToPdfFile(const std::string& fileName, const QPrinter& settings, const TDumpBuffer& buffer,
                    const TPrintJob& job, std::string& error)
{
    TSafeFileWriter file(NativePath(fileName));
    TSafeFileDevice device(file);
    device.open(QIODevice::WriteOnly);
    bool printed;
    {
        QPdfWriter pdf(&device);
        pdf.setResolution(settings.resolution());
        pdf.setPageLayout(settings.pageLayout());
        printed = PrintPages(pdf, buffer, job, error);
    }
    if (printed && device.Written() && file.Commit())
        return true;
    error = CannotWriteMessage(DisplayPath(fileName));
    return false;
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
