// Cold start of Quillon to its main window shown and idle, and the resident
// memory at that moment, against a bare Qt main window (a menu bar, a toolbar
// and a status bar) started the same way on the same machine in the same run.
// Every start runs in a fresh process (this program started again with
// --once), so each one loads the libraries and fonts anew; the two kinds of
// start take turns, so a machine that gets busier slows both alike.
//
// Prints the figures of each start, their medians and Quillon's figures as
// ratios to the bare window's. Without a display the starts use the offscreen
// platform.

#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kStarts = 9;
constexpr double kGoalRatio = 1.5;

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Processor time (user and system) the process has used so far, in ms: on a
// busy machine it varies less than the time on the clock.
double processorMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Prints the time since clock started, the resident memory and the
// processor time once the event
// loop has nothing left to do with window shown and exposed, then quits.
int runUntilIdle(QApplication &app, const QWidget *window, const QElapsedTimer &clock)
{
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &app, [&] {
        const QWindow *handle = window->windowHandle();
        if (!handle || !handle->isExposed())
            return;
        std::printf("%.1f %ld %.1f\n", clock.nsecsElapsed() / 1e6, residentKilobytes(), processorMilliseconds());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return app.exec();
}

// One start of Quillon: from the top of main to its main window idle.
int startQuillonOnce(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    quillon::prepareApplication();
    quillon::AppContext context;
    // Port 1 may not open here: answer its message instead of waiting for a person.
    context.setResponder([](const QString &, int, const QString &) { return 1; });
    quillon::SettingsStore settings;
    const auto window = quillon::startQuillon(context, settings);
    return runUntilIdle(app, window.get(), clock);
}

// One start of the yardstick: the least a Qt program of this shape does.
int startBareOnce(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    auto window = std::make_unique<QMainWindow>();
    QMenu *menu = window->menuBar()->addMenu(QStringLiteral("&File"));
    menu->addAction(QStringLiteral("&Quit"), window.get(), &QWidget::close);
    window->addToolBar(QStringLiteral("Tools"))->addAction(QStringLiteral("Quit"), window.get(), &QWidget::close);
    window->statusBar()->showMessage(QStringLiteral("Ready"));
    window->resize(800, 600);
    window->show();
    return runUntilIdle(app, window.get(), clock);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

struct Figures {
    QList<double> inMain;   // ms from the top of main to idle
    QList<double> fromExec; // ms from starting the process to its figures
    QList<double> megabytes;
    QList<double> processor; // ms of processor time to idle
};

// Starts this program with mode and adds its figures; false when it gave none.
bool measure(const QString &mode, const QProcessEnvironment &env, Figures &figures)
{
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    if (!child.waitForReadyRead(30000) || !child.canReadLine()) {
        child.waitForFinished(30000);
        std::fprintf(stderr, "%s gave no figures: %s\n", qPrintable(mode), child.readAllStandardError().constData());
        return false;
    }
    const double spawned = clock.nsecsElapsed() / 1e6;
    const QList<QByteArray> line = child.readLine().trimmed().split(' ');
    child.waitForFinished(30000);
    if (line.size() != 3)
        return false;
    figures.inMain << line[0].toDouble();
    figures.fromExec << spawned;
    figures.megabytes << line[1].toDouble() / 1024.0;
    figures.processor << line[2].toDouble();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0)
        return startQuillonOnce(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return startBareOnce(argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir config;   // no stored language: the first start of a new user
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY"))
        && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::printf("platform: %s\n", qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"))));

    // One start of each before counting: the first start after a build also
    // pays for the disk cache.
    Figures warmUp, quillon, bare;
    if (!measure(QStringLiteral("--bare"), env, warmUp) || !measure(QStringLiteral("--once"), env, warmUp))
        return 1;
    for (int i = 0; i < kStarts; ++i) {
        if (!measure(QStringLiteral("--bare"), env, bare) || !measure(QStringLiteral("--once"), env, quillon))
            return 1;
        std::printf("start %d: Quillon %.1f ms in main, %.1f ms from exec, %.1f ms processor, %.1f MB; "
                    "bare window %.1f ms, %.1f ms, %.1f ms, %.1f MB\n",
                    i + 1, quillon.inMain.last(), quillon.fromExec.last(), quillon.processor.last(),
                    quillon.megabytes.last(), bare.inMain.last(), bare.fromExec.last(), bare.processor.last(),
                    bare.megabytes.last());
    }
    const double time = median(quillon.inMain), bareTime = median(bare.inMain);
    const double exec = median(quillon.fromExec), bareExec = median(bare.fromExec);
    const double cpu = median(quillon.processor), bareCpu = median(bare.processor);
    const double memory = median(quillon.megabytes), bareMemory = median(bare.megabytes);
    std::printf("cold start to main window shown and idle: median %.1f ms (from exec %.1f ms, processor %.1f ms); "
                "bare window %.1f ms (%.1f ms, %.1f ms)\n",
                time, exec, cpu, bareTime, bareExec, bareCpu);
    std::printf("resident memory after start-up: median %.1f MB; bare window %.1f MB\n", memory, bareMemory);
    std::printf("ratio to the bare window: start %.2f (from exec %.2f, processor %.2f), memory %.2f; goal at most %.1f\n",
                time / bareTime, exec / bareExec, cpu / bareCpu, memory / bareMemory, kGoalRatio);
    return 0;
}
