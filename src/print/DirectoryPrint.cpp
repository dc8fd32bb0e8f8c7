#include "print/DirectoryPrint.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "protocol/ModuleCharset.h"
#include "protocol/Protocol.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace q540 {

namespace {

// One printed line of the body: a heading or an entry.
struct Line {
    enum class Kind { Heading, Columns, Entry, Note, Break } kind;
    QString a, b, c; // heading text; or number, line 1, line 2
};

std::vector<Line> bodyLines(const DirectoryPrintout& p)
{
    const int lang = p.language;
    std::vector<Line> lines;
    lines.push_back({Line::Kind::Note, fixedText(FixedText::PrintOrderNote, lang), {}, {}});
    lines.push_back(
        {Line::Kind::Note, fixedText(FixedText::PrintAllEntries, lang).arg(p.rows.size()), {}, {}});
    for (int zone = 1; zone <= kAdditionalNumberZone; ++zone) {
        std::vector<const NameRow*> rows;
        for (const NameRow& row : p.rows)
            if (row.zone == zone)
                rows.push_back(&row);
        if (rows.empty())
            continue;
        const QString title = zone == kAdditionalNumberZone
                                  ? fixedText(FixedText::PrintAdditionalNumbers, lang)
                                  : fixedText(FixedText::PrintZone, lang).arg(zone);
        lines.push_back({Line::Kind::Heading,
                         title + QStringLiteral(" — ")
                             + fixedText(FixedText::PrintZoneEntries, lang).arg(rows.size()),
                         {},
                         {}});
        lines.push_back({Line::Kind::Columns, fixedText(FixedText::PrintNumberColumn, lang),
                         fixedText(FixedText::PrintLine1Column, lang),
                         fixedText(FixedText::PrintLine2Column, lang)});
        for (const NameRow* row : rows)
            lines.push_back({Line::Kind::Entry, QString::number(row->apartment),
                             shownText(QStringView(row->text).left(kLine1Length)),
                             shownText(QStringView(row->text).mid(kLine1Length))});
    }
    // The intro screens and the settings on a page of their own.
    const DocumentFields& f = p.document.fields;
    lines.push_back({Line::Kind::Break, {}, {}, {}});
    lines.push_back({Line::Kind::Heading, fixedText(FixedText::PrintSettingsTitle, lang), {}, {}});
    for (int screen = 0; screen < kIntroScreenCount; ++screen)
        lines.push_back({Line::Kind::Entry, fixedText(FixedText::PrintScreen, lang).arg(screen + 1),
                         shownText(f.intro[std::size_t(2 * screen)].left(kIntroLineLength)),
                         shownText(f.intro[std::size_t(2 * screen + 1)].left(kIntroLineLength))});
    lines.push_back(
        {Line::Kind::Note,
         f.timeIndex < 0
             ? fixedText(FixedText::PrintNoDisplayTime, lang)
             : fixedText(FixedText::PrintDisplayTime, lang).arg(introTimeSeconds(f.timeIndex)),
         {},
         {}});
    lines.push_back({Line::Kind::Note,
                     fixedText(FixedText::PrintModuleLanguage, lang)
                         .arg(f.moduleLanguage > 0
                                  ? QString::fromLatin1(protocol::languageName(f.moduleLanguage))
                                  : QStringLiteral("—")),
                     {},
                     {}});
    return lines;
}

// Where each page's lines begin: a page holds what fits its height; a
// heading never ends a page alone; a break starts a new page.
std::vector<std::size_t> pageStarts(const std::vector<Line>& lines, double lineHeight,
                                    double bodyHeight)
{
    std::vector<std::size_t> starts{0};
    double used = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const double height = line.kind == Line::Kind::Heading ? 2 * lineHeight : lineHeight;
        const bool headingAtEnd =
            line.kind == Line::Kind::Heading && used + height + 3 * lineHeight > bodyHeight;
        if (line.kind == Line::Kind::Break || used + height > bodyHeight || headingAtEnd) {
            if (used > 0)
                starts.push_back(line.kind == Line::Kind::Break ? i + 1 : i);
            used = line.kind == Line::Kind::Break ? 0 : height;
            continue;
        }
        used += height;
    }
    return starts;
}

class PagePainter {
public:
    PagePainter(QPagedPaintDevice& device, const DirectoryPrintout& printout)
        : device_(device), printout_(printout), painter_(&device)
    {
        const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
        width_ = page.width();
        height_ = page.height();
        body_.setFamily(QStringLiteral("DejaVu Sans"));
        body_.setPointSizeF(10);
        mono_ = body_;
        mono_.setFamily(QStringLiteral("DejaVu Sans Mono"));
        heading_ = body_;
        heading_.setPointSizeF(12);
        heading_.setBold(true);
        small_ = body_;
        small_.setPointSizeF(8);
        lineHeight_ = QFontMetricsF(mono_, &device).height() * 1.25;
    }

    int paint()
    {
        const std::vector<Line> lines = bodyLines(printout_);
        const double top = 3 * lineHeight_;
        const double bottom = 2 * lineHeight_;
        const std::vector<std::size_t> starts =
            pageStarts(lines, lineHeight_, height_ - top - bottom);
        const int pages = int(starts.size());
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                device_.newPage();
            frame(p + 1, pages);
            const std::size_t end = p + 1 < pages ? starts[std::size_t(p + 1)] : lines.size();
            double y = top;
            for (std::size_t i = starts[std::size_t(p)]; i < end; ++i)
                y = paintLine(lines[i], y);
        }
        painter_.end();
        return pages;
    }

private:
    // The header (title, address, date) and the footer (page n of m).
    void frame(int page, int pages)
    {
        const int lang = printout_.language;
        painter_.setFont(heading_);
        // A label with nothing after it ("Address:", the field's default) is no address.
        QString address = printout_.document.fields.address.trimmed();
        if (address.endsWith(u':'))
            address.clear();
        painter_.drawText(QRectF(0, 0, width_, lineHeight_ * 1.5), Qt::AlignLeft | Qt::AlignVCenter,
                          address.isEmpty() ? fixedText(FixedText::PrintTitle, lang)
                                            : fixedText(FixedText::PrintTitle, lang)
                                                  + QStringLiteral(" — ") + address);
        painter_.setFont(small_);
        const QLocale locale = localeOfLanguage(lang);
        painter_.drawText(QRectF(0, 0, width_, lineHeight_ * 1.5),
                          Qt::AlignRight | Qt::AlignVCenter,
                          fixedText(FixedText::PrintPrinted, lang)
                              .arg(locale.toString(printout_.printed, QLocale::ShortFormat)));
        painter_.drawLine(QPointF(0, lineHeight_ * 1.8), QPointF(width_, lineHeight_ * 1.8));
        painter_.drawText(QRectF(0, height_ - lineHeight_, width_, lineHeight_),
                          Qt::AlignRight | Qt::AlignVCenter,
                          fixedText(FixedText::PrintPage, lang).arg(page).arg(pages));
        painter_.drawText(QRectF(0, height_ - lineHeight_, width_, lineHeight_),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("Q540 %1").arg(kVersion));
    }

    double paintLine(const Line& line, double y)
    {
        const double number = width_ * 0.12;
        const double column = (width_ - number) / 2;
        switch (line.kind) {
        case Line::Kind::Break:
            return y;
        case Line::Kind::Heading:
            painter_.setFont(heading_);
            painter_.drawText(QRectF(0, y + lineHeight_ * 0.5, width_, lineHeight_ * 1.5),
                              Qt::AlignLeft | Qt::AlignVCenter, line.a);
            return y + 2 * lineHeight_;
        case Line::Kind::Note:
            painter_.setFont(body_);
            painter_.drawText(QRectF(0, y, width_, lineHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                              line.a);
            return y + lineHeight_;
        case Line::Kind::Columns:
        case Line::Kind::Entry:
            break;
        }
        QFont font = line.kind == Line::Kind::Columns ? body_ : mono_;
        font.setBold(line.kind == Line::Kind::Columns);
        painter_.setFont(font);
        painter_.drawText(QRectF(0, y, number - lineHeight_, lineHeight_),
                          Qt::AlignRight | Qt::AlignVCenter, line.a);
        painter_.drawText(QRectF(number, y, column, lineHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                          line.b);
        painter_.drawText(QRectF(number + column, y, column, lineHeight_),
                          Qt::AlignLeft | Qt::AlignVCenter, line.c);
        if (line.kind == Line::Kind::Columns)
            painter_.drawLine(QPointF(0, y + lineHeight_), QPointF(width_, y + lineHeight_));
        return y + lineHeight_;
    }

    QPagedPaintDevice& device_;
    const DirectoryPrintout& printout_;
    QPainter painter_;
    QFont body_, mono_, heading_, small_;
    double width_ = 0, height_ = 0, lineHeight_ = 0;
};

} // namespace

int paintDirectory(QPagedPaintDevice& device, const DirectoryPrintout& printout)
{
    return PagePainter(device, printout).paint();
}

QByteArray directoryPdf(const DirectoryPrintout& printout)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setTitle(fixedText(FixedText::PrintTitle, printout.language));
        writer.setCreator(QStringLiteral("Q540 %1").arg(kVersion));
        paintDirectory(writer, printout);
    }
    return bytes;
}

} // namespace q540
