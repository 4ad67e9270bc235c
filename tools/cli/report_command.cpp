// report: the printed report of an image as a PDF file.

#include "command.h"

#include "document/workspace.h"
#include "print/report_renderer.h"
#include "report/report_content.h"

#include <QGuiApplication>

namespace quillon::cli {

namespace {

QtMessageHandler g_messageHandler = nullptr;

// What the platform notes while it starts (a session without
// XDG_RUNTIME_DIR) is no error of the command: standard error keeps one line
// per error. Critical messages still go out.
void quietStart(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        g_messageHandler(type, context, message);
}

// Drawing needs a QGuiApplication, a display never: the offscreen platform
// unless the caller chose one.
std::unique_ptr<QCoreApplication> guiApplication(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_messageHandler = qInstallMessageHandler(quietStart);
    auto application = std::make_unique<QGuiApplication>(argc, argv);
    qInstallMessageHandler(g_messageHandler);
    return application;
}

int run(const Invocation &invocation)
{
    const std::optional<Language> language = languageOption(invocation);
    if (!language)
        return kExitUsage;
    const QString output = invocation.parser.value(QStringLiteral("o"));
    if (output.isEmpty())
        return invocation.usageError(QStringLiteral("-o OUT.pdf is missing"));
    const std::optional<MemoryImage> image = loadImage(invocation, invocation.arguments[0]);
    if (!image)
        return kExitFile;
    const Workspace ws = decodedWorkspace(*image);
    QString reason;
    if (!saveReportPdf(reportContent(ws, *language), output, defaultReportPageLayout(), &reason)) {
        invocation.console.error(output + QStringLiteral(": cannot be written: ") + reason);
        return kExitFile;
    }
    return kExitSuccess;
}

const CommandRegistration registration({
    QStringLiteral("report"),
    90,
    QStringLiteral("report IMAGE.dat -o OUT.pdf [--language en|zh]"),
    QStringLiteral("Write the printed report of an image as a PDF file."),
    QStringLiteral("The same pages as the print preview's Save as PDF: the optional features, the\n"
                   "whole-band and VOX settings, the calibration values and every channel, on A4\n"
                   "with 20 mm margins. No display is needed (the offscreen platform is used\n"
                   "unless QT_QPA_PLATFORM names another).\n\n"
                   "  -o OUT.pdf          the PDF file to write (atomically)\n"
                   "  --language en|zh    the texts of the English (default) or Chinese windows"),
    1,
    {QCommandLineOption(QStringLiteral("o"), QStringLiteral("Output PDF."), QStringLiteral("OUT.pdf")),
     languageOptionSpec()},
    run,
    guiApplication,
});

} // namespace

} // namespace quillon::cli
