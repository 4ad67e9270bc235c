#include "print/report_renderer.h"

#include "print/report_fonts.h"
#include "report/report_content.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <numeric>

namespace quillon {

namespace {

constexpr qreal kTwipsPerPoint = 20;
constexpr qreal kPairCellPoints = 4500 / kTwipsPerPoint;
constexpr qreal kPairPointSize = 10;
constexpr qreal kHeadingPointSize = 12;
constexpr qreal kChannelPointSize = 9;
constexpr qreal kSmallestChannelPointSize = 4;
constexpr qreal kBorderPoints = 0.5;
constexpr qreal kCellPaddingPoints = 3;
constexpr qreal kRowPaddingPoints = 1.5;        // channel rows
constexpr qreal kPairPaddingPoints = 3;         // rows of the settings
constexpr qreal kSpaceBeforeHeadingPoints = 12;
constexpr qreal kSpaceAfterHeadingPoints = 4;
constexpr qreal kSpaceAfterTitlePoints = 6;

// A control character prints as a space (and the text layer reads one).
QString printable(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

// Lays the report out from top to bottom, page by page, in the device's
// pixels: the painter's origin is the top left corner of the printable area.
class ReportPainter {
public:
    ReportPainter(QPainter &painter, QPagedPaintDevice &device, Language language)
        : m_painter(painter)
        , m_device(device)
        , m_language(language)
        , m_pixelsPerPoint(device.logicalDpiY() / 72.0)
        , m_width(device.width())
        , m_height(device.height())
    {
        m_painter.setPen(QPen(Qt::black, points(kBorderPoints)));
    }

    void draw(const ReportContent &content)
    {
        line(content.maker, reportFont(m_language, content.makerPointSize, true));
        line(content.title, reportFont(m_language, content.titlePointSize));
        m_y += points(kSpaceAfterTitlePoints);
        for (const ReportSection &section : content.sections) {
            if (section.startsPage && m_y > 0)
                newPage();
            if (section.table.kind == ReportTable::Kind::Channels)
                channels(section.heading, section.table);
            else
                pairs(section.heading, section.table);
        }
    }

private:
    qreal points(qreal value) const { return value * m_pixelsPerPoint; }

    void newPage()
    {
        m_device.newPage();
        m_y = 0;
    }

    // Starts a new page unless height fits below what is drawn.
    void keep(qreal height)
    {
        if (m_y > 0 && m_y + height > m_height)
            newPage();
    }

    qreal lineHeight(const QFont &font) const { return QFontMetricsF(font, &m_device).height(); }

    void line(const QString &text, const QFont &font)
    {
        const qreal height = lineHeight(font);
        keep(height);
        m_painter.setFont(font);
        m_painter.drawText(QRectF(0, m_y, m_width, height), Qt::AlignCenter, printable(text));
        m_y += height;
    }

    // The heading stays on the page of the rows that follow it.
    void heading(const QString &text, qreal following)
    {
        const QFont font = reportFont(m_language, kHeadingPointSize, true);
        const qreal before = m_y > 0 ? points(kSpaceBeforeHeadingPoints) : 0;
        const qreal height = lineHeight(font);
        keep(before + height + points(kSpaceAfterHeadingPoints) + following);
        if (m_y > 0)
            m_y += before;
        line(text, font);
        m_y += points(kSpaceAfterHeadingPoints);
    }

    // A cell with its four borders and its text centred (the header's shaded).
    void cell(const QRectF &box, const QString &text, const QFont &font, bool shaded = false)
    {
        m_painter.setBrush(shaded ? QBrush(QColor(0xE8, 0xE8, 0xE8)) : QBrush());
        m_painter.drawRect(box);
        m_painter.setFont(font);
        const qreal padX = points(kCellPaddingPoints);
        const qreal padY = points(kRowPaddingPoints);
        m_painter.drawText(box.adjusted(padX, padY, -padX, -padY), Qt::AlignCenter | Qt::TextWordWrap, printable(text));
    }

    // A height that holds the text wrapped to the cell's width.
    qreal textHeight(const QString &text, const QFont &font, qreal width) const
    {
        const QFontMetricsF metrics(font, &m_device);
        const qreal inner = width - 2 * points(kCellPaddingPoints);
        const QRectF bounds =
            metrics.boundingRect(QRectF(0, 0, inner, 1e9), Qt::AlignCenter | Qt::TextWordWrap, printable(text));
        return qMax(metrics.height(), bounds.height()) + 2 * points(kPairPaddingPoints);
    }

    // Caption and value side by side; a row that reaches past the page's
    // end starts the next page.
    void pairs(const QString &title, const ReportTable &table)
    {
        const QFont font = reportFont(m_language, kPairPointSize);
        const qreal width = qMin(points(kPairCellPoints), m_width / 2);
        const qreal left = (m_width - 2 * width) / 2;
        QList<qreal> heights;
        for (const QStringList &row : table.rows)
            heights << qMax(textHeight(row.value(0), font, width), textHeight(row.value(1), font, width));
        heading(title, heights.value(0));
        for (int r = 0; r < table.rows.size(); ++r) {
            keep(heights[r]);
            cell(QRectF(left, m_y, width, heights[r]), table.rows[r].value(0), font);
            cell(QRectF(left + width, m_y, width, heights[r]), table.rows[r].value(1), font);
            m_y += heights[r];
        }
    }

    QList<qreal> columnWidths(const ReportTable &table, const QFont &font, const QFont &headerFont) const
    {
        const QFontMetricsF metrics(font, &m_device);
        const QFontMetricsF headerMetrics(headerFont, &m_device);
        QList<qreal> widths;
        for (int c = 0; c < table.columnCount(); ++c) {
            qreal widest = headerMetrics.horizontalAdvance(printable(table.header.value(c)));
            for (const QStringList &row : table.rows)
                widest = qMax(widest, metrics.horizontalAdvance(printable(row.value(c))));
            widths << widest + 2 * points(kCellPaddingPoints) + points(kBorderPoints);
        }
        return widths;
    }

    // The channel grid: one line per row, every row as high as the header,
    // the font made smaller until the table fits between the margins.
    void channels(const QString &title, const ReportTable &table)
    {
        qreal size = kChannelPointSize;
        QFont font = reportFont(m_language, size);
        QFont headerFont = reportFont(m_language, size, true);
        QList<qreal> widths = columnWidths(table, font, headerFont);
        for (qreal total = std::accumulate(widths.cbegin(), widths.cend(), 0.0);
             total > m_width && size > kSmallestChannelPointSize;
             total = std::accumulate(widths.cbegin(), widths.cend(), 0.0)) {
            size = qMax(kSmallestChannelPointSize, qMin(size - 0.25, size * m_width / total));
            font = reportFont(m_language, size);
            headerFont = reportFont(m_language, size, true);
            widths = columnWidths(table, font, headerFont);
        }
        const qreal total = std::accumulate(widths.cbegin(), widths.cend(), 0.0);
        const qreal left = qMax(0.0, (m_width - total) / 2);
        const qreal rowHeight = qMax(lineHeight(font), lineHeight(headerFont)) + 2 * points(kRowPaddingPoints);

        auto drawRow = [&](const QStringList &cells, const QFont &rowFont, bool shaded) {
            qreal x = left;
            for (int c = 0; c < widths.size(); ++c) {
                cell(QRectF(x, m_y, widths[c], rowHeight), cells.value(c), rowFont, shaded);
                x += widths[c];
            }
            m_y += rowHeight;
        };
        heading(title, 2 * rowHeight);
        drawRow(table.header, headerFont, true);
        for (const QStringList &row : table.rows) {
            if (m_y + rowHeight > m_height) {
                newPage();
                drawRow(table.header, headerFont, true);
            }
            drawRow(row, font, false);
        }
    }

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    Language m_language;
    qreal m_pixelsPerPoint;
    qreal m_width;
    qreal m_height;
    qreal m_y = 0;
};

} // namespace

QPageLayout defaultReportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                       QPageLayout::Millimeter);
}

bool paintReport(const ReportContent &content, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    ReportPainter(painter, device, content.language).draw(content);
    return painter.end();
}

bool saveReportPdf(const ReportContent &content, const QString &path, const QPageLayout &layout, QString *reason)
{
    // Written beside the target and moved over it when complete, so a
    // failure never leaves half a file under the chosen name.
    QSaveFile file(path);
    bool painted = false;
    if (file.open(QIODevice::WriteOnly)) {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setTitle(content.title);
        writer.setCreator(content.maker);
        painted = paintReport(content, writer);
    }
    if (painted && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    file.cancelWriting();
    return false;
}

bool saveWorkspaceReportPdf(const Workspace &workspace, const QString &path, QString *reason)
{
    return saveReportPdf(reportContent(workspace), path, defaultReportPageLayout(), reason);
}

} // namespace quillon
