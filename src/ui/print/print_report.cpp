#include "print/print_report.h"

#include "i18n/report_texts.h"
#include "i18n/ui_texts.h"
#include "common/app_context.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSlider>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr double kCellInches = 3.125;   // 4500 twips
constexpr double kMarginInches = 2.0 / 2.54;   // QTextDocument::print's own margin

// The text a control shows, read the way the user sees it.
QString shownText(const QWidget *window, const QString &name)
{
    if (!window)
        return {};
    const QObject *object = window->findChild<QObject *>(name);
    if (auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(object))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(object))
        return combo->currentText();
    if (auto *group = qobject_cast<const QGroupBox *>(object))
        return group->title();
    if (auto *slider = qobject_cast<const QSlider *>(object))
        return QString::number(slider->value());
    if (auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text();
    return {};
}

bool isChecked(const QWidget *window, const QString &name)
{
    const auto *box = window ? window->findChild<const QAbstractButton *>(name) : nullptr;
    return box && box->isChecked();
}

using Rows = QList<std::pair<QString, QString>>;

// A font that has the Chinese glyphs. Shaping stays off: ligatures such as
// "ff" would otherwise turn into single glyphs that text extraction (and a
// search in the PDF) no longer reads as the letters the windows show.
QFont reportFont(Language language)
{
    QFont font;
    const QStringList cjk{QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")};
    const QStringList latin{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")};
    font.setFamilies(language == Language::Chinese ? cjk + latin : latin + cjk);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(10);
    return font;
}

class ReportWriter {
public:
    ReportWriter(QTextDocument &document, double bodyInches)
        : m_cursor(&document), m_bodyInches(bodyInches) {}

    void line(const QString &text, int pointSize, bool bold, bool first = false)
    {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        QTextCharFormat chars;
        chars.setFontPointSize(pointSize);
        chars.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        if (first)
            m_cursor.setBlockFormat(block);
        else
            m_cursor.insertBlock(block);
        m_cursor.insertText(text, chars);
    }

    void heading(const QString &text, bool newPage)
    {
        QTextBlockFormat block;
        block.setTopMargin(newPage ? 0 : 12);
        block.setBottomMargin(4);
        if (newPage)
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCharFormat chars;
        chars.setFontPointSize(12);
        chars.setFontWeight(QFont::Bold);
        m_cursor.insertBlock(block);
        m_cursor.insertText(text, chars);
    }

    // Two-column table of 4500-twip cells with every border drawn.
    void pairs(const Rows &rows)
    {
        const double percent = qMin(50.0, 100.0 * kCellInches / m_bodyInches);
        table(rows.size(), 2, {QTextLength(QTextLength::PercentageLength, percent),
                               QTextLength(QTextLength::PercentageLength, percent)},
              [&](int r, int c) { return c == 0 ? rows[r].first : rows[r].second; }, 10);
    }

    // The channel grid: header row and every channel row, fitted to the page.
    void grid(const QList<QStringList> &cells)
    {
        const int columns = cells.isEmpty() ? 0 : int(cells.first().size());
        if (columns == 0)
            return;
        table(int(cells.size()), columns, {},
              [&](int r, int c) { return c < cells[r].size() ? cells[r][c] : QString(); }, 7, true);
    }

private:
    template<typename CellText>
    void table(int rows, int columns, const QList<QTextLength> &widths, CellText cellText,
               int pointSize, bool fullWidth = false)
    {
        if (rows == 0)
            return;
        QTextTableFormat format;
        // Every cell with all four borders, drawn once where two cells meet.
        format.setBorder(1);
        format.setBorderBrush(Qt::black);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(2);
        format.setCellSpacing(0);
        format.setAlignment(Qt::AlignHCenter);
        format.setHeaderRowCount(fullWidth ? 1 : 0);
        if (fullWidth)
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        if (!widths.isEmpty())
            format.setColumnWidthConstraints(widths);
        QTextTable *table = m_cursor.insertTable(rows, columns, format);
        QTextCharFormat chars;
        chars.setFontPointSize(pointSize);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                QTextCursor cell = table->cellAt(r, c).firstCursorPosition();
                cell.setBlockFormat(centred);
                cell.insertText(cellText(r, c), chars);
            }
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    QTextCursor m_cursor;
    double m_bodyInches;
};

QList<QStringList> gridCells(const QWidget *channelWindow)
{
    QList<QStringList> cells;
    const auto *grid = channelWindow ? channelWindow->findChild<const QTableView *>(QStringLiteral("Grid1")) : nullptr;
    const QAbstractItemModel *model = grid ? grid->model() : nullptr;
    if (!model)
        return cells;
    // The channel number is either column 0 or the row header.
    const bool numbersInHeader = grid->verticalHeader()->isVisible();
    QStringList header;
    if (numbersInHeader)
        header << QString();
    for (int c = 0; c < model->columnCount(); ++c)
        header << model->headerData(c, Qt::Horizontal).toString();
    cells << header;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        if (numbersInHeader)
            row << model->headerData(r, Qt::Vertical).toString();
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data().toString();
        cells << row;
    }
    return cells;
}

double bodyInchesOf(const QPrinter &printer)
{
    const QRectF page = printer.pageLayout().fullRect(QPageLayout::Inch);
    return qMax(1.0, page.width() - 2 * kMarginInches);
}

std::unique_ptr<QTextDocument> buildReportFor(const ReportSources &s, double bodyInches)
{
    const Language lang = s.language;
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(reportFont(lang));
    ReportWriter out(*document, bodyInches);

    out.line(report::kMaker.text(lang), report::makerPointSize(lang), true, true);
    out.line(report::kTitlePrefix.text(lang) + report::kTitle.text(lang), report::kTitlePointSize, false);

    const QWidget *f3 = s.featuresWindow;
    auto pair = [f3](const char *label, const char *value) {
        return std::pair{shownText(f3, QLatin1String(label)), shownText(f3, QLatin1String(value))};
    };
    out.heading(report::kFunctionSet.text(lang), false);
    out.pairs({pair("Label2", "Text2"), pair("Label6", "Text6"), pair("Label1", "Combo1"),
               pair("Label3", "Combo3"), pair("Label5", "Combo5"), pair("Label7", "Combo7"),
               pair("Label8", "Combo8"), pair("Label9", "Combo9"), pair("Label10", "Combo10"),
               pair("Label11", "Combo11"), pair("Label19", "Combo19"), pair("Label31", "Text31"),
               pair("LabelMod", "ComboMod")});

    out.heading(report::kWholeBand.text(lang), true);
    Rows vfo{pair("Label20", "Text20"), pair("Label21", "Text21")};
    for (int n = 22; n <= 30; ++n) {
        const QString num = QString::number(n);
        vfo << std::pair{shownText(f3, QStringLiteral("Label") + num), shownText(f3, QStringLiteral("Combo") + num)};
    }
    out.pairs(vfo);

    out.heading(report::kVox.text(lang), false);
    out.pairs({pair("Label14", "Combo14"), pair("Label15", "Combo15"),
               {report::kWhether.text(lang) + shownText(f3, QStringLiteral("Check12")),
                isChecked(f3, QStringLiteral("Check12")) ? report::kYes.text(lang) : report::kNo.text(lang)}});

    out.heading(report::kDebug.text(lang), false);
    Rows calibration;
    for (int k = 0; k < 3; ++k) {
        const QString index = QString::number(k);
        calibration << std::pair{shownText(s.calibrationWindow, QStringLiteral("Frame1_") + index),
                                 shownText(s.calibrationWindow, QStringLiteral("Slider1_") + index)};
    }
    out.pairs(calibration);

    out.heading(report::kChannelData.text(lang), true);
    out.grid(gridCells(s.channelWindow));
    return document;
}

} // namespace

void printReport(const ReportSources &sources, QPrinter *printer)
{
    if (!printer)
        return;
    buildReportFor(sources, bodyInchesOf(*printer))->print(printer);
}

bool saveReportPdf(const ReportSources &sources, const QString &path, QString *reason)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printReport(sources, &printer);
    // QPrinter reports no error of its own: check that a PDF was written.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF")) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

PrintPreviewWindow::PrintPreviewWindow(AppContext &context, const ReportSources &sources, QWidget *parent)
    : QDialog(parent), m_context(context), m_sources(sources), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("FrmPrint"));
    const Language lang = sources.language;
    setWindowTitle(QString::fromLatin1(kApplicationTitle) + report::kPreview.text(lang));
    m_printer->setPageSize(QPageSize(QPageSize::A4));

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("CurtPrinter1"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { printReport(m_sources, printer); });

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewBar"));
    auto add = [&](const QString &name, const Bilingual &text, auto slot) {
        QAction *action = bar->addAction(text.text(lang));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStringLiteral("ActPrint"), ui_text::kPreviewPrint, [this] { printNow(false); });
    add(QStringLiteral("ActPrintTo"), ui_text::kPreviewPrintTo, [this] { printNow(true); });
    add(QStringLiteral("ActSavePdf"), report::kSavePdf, [this] { savePdf(); });
    bar->addSeparator();
    add(QStringLiteral("ActZoomIn"), ui_text::kPreviewZoomIn, [this] { m_preview->zoomIn(); });
    add(QStringLiteral("ActZoomOut"), ui_text::kPreviewZoomOut, [this] { m_preview->zoomOut(); });
    add(QStringLiteral("ActFitWidth"), ui_text::kPreviewFitWidth, [this] { m_preview->fitToWidth(); });
    add(QStringLiteral("ActPortrait"), ui_text::kPreviewPortrait, [this] { m_preview->setPortraitOrientation(); });
    add(QStringLiteral("ActLandscape"), ui_text::kPreviewLandscape, [this] { m_preview->setLandscapeOrientation(); });
    add(QStringLiteral("ActRefresh"), ui_text::kPreviewRefresh, [this] { m_preview->updatePreview(); });
    bar->addSeparator();
    add(QStringLiteral("ActClose"), ui_text::kPreviewClose, [this] { reject(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(m_preview, 1);
    resize(900, 700);
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

void PrintPreviewWindow::printNow(bool choosePrinter)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_printer->pageLayout());
    if (choosePrinter) {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    printReport(m_sources, &printer);
}

void PrintPreviewWindow::savePdf()
{
    const Language lang = m_sources.language;
    const QString path = m_pathProvider
        ? m_pathProvider()
        : QFileDialog::getSaveFileName(this, report::kSavePdf.text(lang), QString(), report::kPdfFilter.text(lang));
    if (path.isEmpty())
        return;
    QString reason;
    if (!saveReportPdf(m_sources, path, &reason))
        m_context.showMessage(report::kPdfFailed.text(lang) + reason, kStyleStop);
}

void showPrintPreview(AppContext &context, const ReportSources &sources, QWidget *parent)
{
    QWidget *grid = sources.channelWindow ? sources.channelWindow->findChild<QWidget *>(QStringLiteral("Grid1")) : nullptr;
    if (grid)
        grid->setUpdatesEnabled(false);
    {
        PrintPreviewWindow window(context, sources, parent);
        window.exec();
    }
    if (grid)
        grid->setUpdatesEnabled(true);
}

} // namespace quillon
