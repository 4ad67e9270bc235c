// Cold start of Quillon to its main window shown and idle, and the resident
// memory at that moment. Every start runs in a fresh process (this program
// started again with --once), so each one loads the libraries and fonts anew.
//
// Prints the figures of each start and their median. Without a display the
// starts use the offscreen platform.

#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kStarts = 7;

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

// One start: from the top of main to the first moment the event loop has
// nothing left to do with the main window shown and exposed.
int startOnce(int argc, char **argv)
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

    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &app, [&] {
        const QWindow *handle = window->windowHandle();
        if (!handle || !handle->isExposed())
            return;
        std::printf("%.1f %ld\n", clock.nsecsElapsed() / 1e6, residentKilobytes());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return app.exec();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0)
        return startOnce(argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir config;   // no stored language: the first start of a new user
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY"))
        && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::printf("platform: %s\n", qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"))));

    QList<double> inProcess, wholeProcess, megabytes;
    for (int i = 0; i < kStarts; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once")});
        if (!child.waitForReadyRead(30000) || !child.canReadLine()) {
            child.waitForFinished(30000);
            std::fprintf(stderr, "start %d gave no figures: %s\n", i + 1, child.readAllStandardError().constData());
            return 1;
        }
        const double spawned = clock.nsecsElapsed() / 1e6;
        const QList<QByteArray> figures = child.readLine().trimmed().split(' ');
        child.waitForFinished(30000);
        if (figures.size() != 2)
            return 1;
        inProcess << figures[0].toDouble();
        wholeProcess << spawned;
        megabytes << figures[1].toDouble() / 1024.0;
        std::printf("start %d: %.1f ms in main, %.1f ms from exec, %.1f MB resident\n", i + 1, inProcess.last(),
                    wholeProcess.last(), megabytes.last());
    }
    std::printf("cold start to main window shown and idle: median %.1f ms (from exec %.1f ms), goal < 300 ms\n",
                median(inProcess), median(wholeProcess));
    std::printf("resident memory after start-up: median %.1f MB, goal < 80 MB\n", median(megabytes));
    return 0;
}
