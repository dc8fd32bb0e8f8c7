#pragma once

#include "directory/DirectoryDocument.h"
#include "directory/NameList.h"

#include <QByteArray>
#include <QDateTime>

#include <vector>

class QPagedPaintDevice;

namespace q540 {

// What a printout shows: the directory as the module will hold it, zone by
// zone in the module's order (the name list's rows), then the intro screens
// and settings on a page of their own; headings in a program language.
struct DirectoryPrintout {
    DirectoryDocument document;
    std::vector<NameRow> rows; // in the order the module stores them
    int language = 1;
    QDateTime printed;
};

// Paints the printout on the device's pages (a printer or a PDF writer),
// each with the address, the date and "page n of m". Returns the page count.
int paintDirectory(QPagedPaintDevice& device, const DirectoryPrintout& printout);

// The printout as a PDF file's bytes, A4 portrait.
QByteArray directoryPdf(const DirectoryPrintout& printout);

} // namespace q540
