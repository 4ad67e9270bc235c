#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;

namespace quillon {

class AppContext;

// The print preview window FrmPrint: zoom, orientation, page setup (paper,
// orientation, margins), print to the default or a chosen printer, and
// save as PDF. The pages chosen here are the ones printed and saved. The
// report is built from the workspace whenever the preview asks for it.
class PrintPreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreviewWindow(AppContext &context, QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    QPrintPreviewWidget *preview() const { return m_preview; }
    // The preview's printer: its page layout is what printing and the PDF use.
    QPrinter *printer() const { return m_printer.get(); }

    // Asks for a file name and saves the report as PDF.
    void savePdf();
    // Tests replace the file dialog.
    void setPdfPathProvider(std::function<QString()> provider) { m_pathProvider = std::move(provider); }

private:
    void printNow(bool choosePrinter);
    void pageSetup();

    AppContext &m_context;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    std::function<QString()> m_pathProvider;
};

// MNPrint: commits what is being typed, pauses the channel grid's drawing,
// shows the preview modally and resumes drawing.
void showPrintPreview(AppContext &context, QWidget *channelWindow, QWidget *parent);

} // namespace quillon
