#pragma once
// The print lines on paper: one painter routine for the printer and for a
// page drawn on an image (a preview of the first page).
#include "buffer/uPrint.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>
#include <string>

class QPainter;
class QPrinter;

// Courier New, 10 points, bold (a fixed-pitch font where it is missing).
QFont PrintFont();

// A line's code page bytes as the characters the dump view shows for them.
QString PrintLineText(const std::string& line);

// Lines from 4 line heights down, one line height apart, left of them the
// width of "01235678"; a row that ends within 5 line heights of the page's
// bottom ends the page.
class TPrintCanvas : public TPrintTarget {
public:
    // newPage begins the next page; false stops the print.
    TPrintCanvas(QPainter& painter, int pageHeight, std::function<bool()> newPage);

    bool Line(const std::string& text) override;
    int SeparatorLines() const override { return 2; }
    bool RowDone() override;

private:
    QPainter& painter_;
    int pageHeight_;
    std::function<bool()> newPage_;
    int h_, x_, y_, ascent_;
};

// Prints the job on the printer in portrait orientation; false with a
// message when the printer refuses.
bool PrintOnPrinter(QPrinter& printer, const TDumpBuffer& buffer, const TPrintJob& job, std::string& error);

// Prints the job as the printer would into a PDF file (program path),
// through a temporary, so that a failure keeps the file that was there;
// false with a message naming the file.
bool PrintToPdfFile(const std::string& fileName, const QPrinter& settings, const TDumpBuffer& buffer,
                    const TPrintJob& job, std::string& error);

// The first page of the job on a white image of the given size.
QImage PrintFirstPage(const TDumpBuffer& buffer, const TPrintJob& job, QSize pageSize);
