#pragma once

#include "i18n/language.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;

namespace quillon {

class AppContext;

// Where the report takes its values: the windows, read as the user sees
// them (captions and shown texts, by control name).
struct ReportSources {
    QWidget *channelWindow = nullptr;     // Form1 with Grid1
    QWidget *featuresWindow = nullptr;    // Form3
    QWidget *calibrationWindow = nullptr; // Form4
    Language language = Language::English;
};

// Lays the report out on printer and prints it.
void printReport(const ReportSources &sources, QPrinter *printer);

// Writes the report as a PDF file; on failure returns false with the reason.
bool saveReportPdf(const ReportSources &sources, const QString &path, QString *reason = nullptr);

// The print preview window FrmPrint: zoom, page setup, print to the default
// or a chosen printer, and save as PDF. The report is rebuilt whenever the
// preview asks for it, so it always shows the windows' current values.
class PrintPreviewWindow : public QDialog {
    Q_OBJECT
public:
    PrintPreviewWindow(AppContext &context, const ReportSources &sources, QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    QPrintPreviewWidget *preview() const { return m_preview; }
    QPrinter *printer() const { return m_printer.get(); }

    // Asks for a file name and saves the report as PDF.
    void savePdf();
    // Tests replace the file dialog.
    void setPdfPathProvider(std::function<QString()> provider) { m_pathProvider = std::move(provider); }

private:
    void printNow(bool choosePrinter);

    AppContext &m_context;
    ReportSources m_sources;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    std::function<QString()> m_pathProvider;
};

// MNPrint: pauses the channel grid's drawing, builds the report, shows the
// preview modally and resumes drawing.
void showPrintPreview(AppContext &context, const ReportSources &sources, QWidget *parent);

} // namespace quillon
