#include "print/print_report.h"

#include "print/report_renderer.h"
#include "common/app_context.h"
#include "i18n/report_texts.h"
#include "i18n/ui_texts.h"
#include "report/report_content.h"

#include <QAction>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillon {

PrintPreviewWindow::PrintPreviewWindow(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("FrmPrint"));
    const Language lang = context.language();
    setWindowTitle(QString::fromLatin1(kApplicationTitle) + report::kPreview.text(lang));
    m_printer->setPageLayout(defaultReportPageLayout());

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("CurtPrinter1"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) { paintReport(reportContent(m_context.workspace()), *printer); });

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
    add(QStringLiteral("ActPageSetup"), report::kPageSetup, [this] { pageSetup(); });
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
    paintReport(reportContent(m_context.workspace()), printer);
}

void PrintPreviewWindow::pageSetup()
{
    QPageSetupDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_preview->updatePreview();
}

void PrintPreviewWindow::savePdf()
{
    const Language lang = m_context.language();
    const QString path = m_pathProvider
        ? m_pathProvider()
        : QFileDialog::getSaveFileName(this, report::kSavePdf.text(lang), QString(), report::kPdfFilter.text(lang));
    if (path.isEmpty())
        return;
    QString reason;
    if (!saveReportPdf(reportContent(m_context.workspace()), path, m_printer->pageLayout(), &reason))
        m_context.showMessage(report::kPdfFailed.text(lang) + reason, kStyleStop, ui_text::kErrorCaption.text(lang));
}

void showPrintPreview(AppContext &context, QWidget *channelWindow, QWidget *parent)
{
    context.commitPendingEdits();
    QWidget *grid = channelWindow ? channelWindow->findChild<QWidget *>(QStringLiteral("Grid1")) : nullptr;
    if (grid)
        grid->setUpdatesEnabled(false);
    {
        PrintPreviewWindow window(context, parent);
        window.exec();
    }
    if (grid)
        grid->setUpdatesEnabled(true);
}

} // namespace quillon
