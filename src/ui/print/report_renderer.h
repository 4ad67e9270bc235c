#pragma once

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

namespace quillon {

struct ReportContent;
struct Workspace;

// The report's pages until the user chooses others: A4 upright, 20 mm
// margins, which leave room for the two 4500-twip columns of the settings.
QPageLayout defaultReportPageLayout();

// Draws the report on the device's pages, inside its margins: every table
// centred, the settings in two columns of 4500 twips (narrower when the
// printable width is less), the channel table fitted to the width, every
// channel row as high as the others, no row split by a page break and the
// channel table's header row repeated on every page. False when the device
// cannot be painted on.
bool paintReport(const ReportContent &content, QPagedPaintDevice &device);

// Writes the report as a PDF file with the given pages; on failure returns
// false with the reason. Needs a QGuiApplication (offscreen is enough) and
// no window, so a program without windows can use it.
bool saveReportPdf(const ReportContent &content, const QString &path, const QPageLayout &layout,
                   QString *reason = nullptr);
// The report of the workspace in its language, on the default pages.
bool saveWorkspaceReportPdf(const Workspace &workspace, const QString &path, QString *reason = nullptr);

} // namespace quillon
