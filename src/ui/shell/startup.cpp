#include "shell/startup.h"

#include "i18n/desktop_texts.h"
#include "i18n/qt_language.h"
#include "i18n/texts.h"
#include "settings_store.h"
#include "common/app_context.h"
#include "files/file_commands.h"
#include "shell/main_window.h"
#include "shell/toolbar_icons.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace quillon {

namespace {

// Watches every moment the event loop is about to wait. Once the main
// window is exposed and only the main loop runs, the start is over.
void quitOnceIdle()
{
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, qApp, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            const auto *box = qobject_cast<QMessageBox *>(modal);
            std::fprintf(stderr, "Quillon is waiting for an answer: %s\n",
                         qPrintable(box ? box->text() : modal->windowTitle()));
            std::fflush(stderr);
            // No loop of ours may run on: the message would wait for ever.
            std::_Exit(1);
        }
        const QWidget *window = nullptr;
        for (const QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("MDIForm1"))
                window = widget;
        }
        const QWindow *handle = window ? window->windowHandle() : nullptr;
        if (!handle || !handle->isExposed() || QThread::currentThread()->loopLevel() != 1)
            return;
        const auto *port = window->findChild<QLabel *>(QStringLiteral("Panel1"));
        std::printf("Quillon idle: %s, %s\n", qPrintable(window->windowTitle()), qPrintable(port ? port->text() : QString()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
}

} // namespace

void prepareApplication()
{
    nameApplication();
    QApplication::setWindowIcon(applicationIcon());
    // Lets the desktop match the windows with the installed entry and icon.
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopId));
}

void applyApplicationFont(Language language)
{
    // The face the system resolves its default to, taken before the first
    // change: a family list that names only missing faces would fall back
    // on the first name's look-alike instead (a serif for SimSun).
    static const QString systemFamily = QFontInfo(QApplication::font()).family();
    static const bool haveSimSun = QFontDatabase::hasFamily(QStringLiteral("SimSun"));
    QStringList families;
    if (haveSimSun)
        families << QStringLiteral("SimSun");
    else if (language == Language::Chinese)
        families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Source Han Sans SC")
                 << QStringLiteral("WenQuanYi Zen Hei") << QStringLiteral("Microsoft YaHei");
    families << systemFamily;
    QFont font = QApplication::font();
    if (font.families() == families)
        return;
    font.setFamilies(families);
    QApplication::setFont(font);
}

bool answersWithoutWindow(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "--help-all"
            || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

StartOptions startOptionsFromCommandLine(const QStringList &arguments)
{
    nameApplication();
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(desktop_text::kCommandLineSummary));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption quitWhenIdle(QStringLiteral("quit-when-idle"), QLatin1String(desktop_text::kQuitWhenIdleHelp));
    parser.addOption(quitWhenIdle);
    parser.addPositionalArgument(QStringLiteral("FILE"), QLatin1String(desktop_text::kFileArgumentHelp),
                                 QStringLiteral("[FILE]"));
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "%s\n", desktop_text::kOneFileOnly);
        std::exit(2);
    }
    return {files.value(0), parser.isSet(quitWhenIdle)};
}

std::unique_ptr<MainWindow> startQuillon(AppContext &context, SettingsStore &settings, const StartOptions &options)
{
    // Watched from the very start, so that a message shown during the load
    // step (a port that does not open) ends a scripted check too.
    if (options.quitWhenIdle)
        quitOnceIdle();
    // The calibration defaults are set by the store itself when the
    // workspace is made; any stored language but Chinese starts in English.
    context.document().setLanguage(settings.readLanguage());
    applyApplicationFont(context.language());
    applyQtLanguage(context.language());
    auto window = std::make_unique<MainWindow>(context, &settings);
    window->show();
    window->applyLanguage();
    // After the whole start-up, as the user's Open would: the file's own
    // band, its values in every window, or Open's message.
    if (!options.file.isEmpty())
        window->fileCommands().openFile(options.file);
    return window;
}

} // namespace quillon
