// The channel grid's editing tools through the real window: a paste of 128
// full rows, a sort of 128 rows and 100 undos, each timed from the gesture
// to the grid repainted, with the number of repaints and of the table
// model's change notices per action. The baseline is one full decode of a
// filled image in the same run, so the ratios compare machines fairly.
//
// The window is shown on the offscreen platform unless one is chosen.

#include "channels/channel_window.h"
#include "common/app_context.h"
#include "document/channel_edits.h"
#include "document/workspace.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using namespace quillon;

constexpr int kRuns = 15;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// Counts the grid's repaints and the model's change notices.
class Counter : public QObject {
public:
    explicit Counter(ChannelWindow &window)
    {
        window.grid()->viewport()->installEventFilter(this);
        connect(window.grid()->model(), &QAbstractItemModel::dataChanged, this, [this] { ++notices; });
    }
    int paints = 0;
    int notices = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Figures {
    QList<double> ms;
    int paints = 0;
    int notices = 0;
    int actions = 0;
};

// One action timed from its start until the event loop has painted it.
void timeAction(Figures &figures, Counter &counter, const std::function<void()> &action)
{
    QCoreApplication::processEvents();
    counter.paints = 0;
    counter.notices = 0;
    QElapsedTimer clock;
    clock.start();
    action();
    QCoreApplication::processEvents();
    figures.ms << clock.nsecsElapsed() / 1e6;
    figures.paints += counter.paints;
    figures.notices += counter.notices;
    ++figures.actions;
}

void report(const char *what, const Figures &figures, double baseline)
{
    const double m = median(figures.ms);
    std::printf("%-28s median %7.2f ms, max %7.2f ms  (%5.1f x baseline)  repaints/action %.2f  dataChanged/action %.2f  "
                "goal < 50 ms, 1 repaint\n",
                what, m, *std::max_element(figures.ms.begin(), figures.ms.end()), m / baseline,
                double(figures.paints) / figures.actions, double(figures.notices) / figures.actions);
}

// 128 channels of the band 400-470MHz with different tones, options and names.
QString fullRows()
{
    QRandomGenerator random(128);
    QString text;
    for (int channel = 1; channel <= 128; ++channel) {
        const double mhz = 400 + random.bounded(70 * 160) / 160.0;
        text += QStringLiteral("%1\t%2\t%3\tD023N\tLow\tCarry\tOff\tNarror\tOn\tOn\tCH%4\n")
                    .arg(mhz, 0, 'f', 5)
                    .arg(mhz + 5 > 469 ? mhz : mhz + 5, 0, 'f', 5)
                    .arg(channel % 2 ? QStringLiteral("67.0") : QStringLiteral("Off"))
                    .arg(channel);
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AppContext context;
    context.setResponder([](const QString &, int, const QString &) { return 1; });
    Document &document = context.document();
    document.setLanguage(Language::English);
    document.newImage();   // 400-470MHz

    ChannelWindow window(context);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.activateWindow();
    window.grid()->setFocus();
    Counter counter(window);
    auto tool = [&window](const char *name) { return window.findChild<QAction *>(QLatin1String(name)); };

    // Baseline: one full decode of the filled image.
    const QString rows = fullRows();
    pasteText(document, 1, kColumnRx, rows);
    Workspace filled = context.workspace();
    encodeImage(filled);
    filled.readImage = filled.writeImage;
    QList<double> decodes;
    for (int i = 0; i < kRuns; ++i) {
        Workspace ws = filled;
        QElapsedTimer clock;
        clock.start();
        decodeImage(ws);
        decodes << clock.nsecsElapsed() / 1e6;
    }
    const double baseline = median(decodes);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("%-28s median %7.2f ms\n", "baseline: decode of an image", baseline);
    {
        QList<double> paints;
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer clock;
            clock.start();
            window.grid()->viewport()->repaint();
            paints << clock.nsecsElapsed() / 1e6;
        }
        std::printf("%-28s median %7.2f ms\n", "full repaint of the grid", median(paints));
        QList<double> models;
        for (int i = 0; i < kRuns; ++i) {
            document.newImage();
            QElapsedTimer clock;
            clock.start();
            pasteText(document, 1, kColumnRx, rows);
            models << clock.nsecsElapsed() / 1e6;
        }
        std::printf("%-28s median %7.2f ms\n", "model paste alone", median(models));
    }

    // Paste: the grid starts empty each time, the current cell on channel 1.
    QGuiApplication::clipboard()->setText(rows);
    window.grid()->setCurrentIndex(window.grid()->model()->index(0, kColumnRx));
    Figures paste;
    for (int i = 0; i < kRuns; ++i) {
        document.newImage();
        timeAction(paste, counter, [&] { tool("MNPaste")->trigger(); });
    }
    report("paste of 128 full rows", paste, baseline);

    // Sort of all 128 rows, from the pasted order each time.
    Figures sort;
    for (int i = 0; i < kRuns; ++i) {
        timeAction(sort, counter, [&] { tool("MNSortByFrequency")->trigger(); });
        document.undo();
    }
    report("sort of 128 rows", sort, baseline);

    // 100 undos of 100 single edits of the rows in view, one at a time (each
    // painted before the next) and as a burst (a held Ctrl+Z: the grid
    // paints once the keys stop).
    const auto edit100 = [&] {
        for (int i = 0; i < 100; ++i)
            document.commitName(1 + i % 20, QStringLiteral("N%1").arg(i));
    };
    edit100();
    Figures undos;
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < 100; ++i)
        timeAction(undos, counter, [&] { tool("MNUndo")->trigger(); });
    const double total = all.nsecsElapsed() / 1e6;
    report("undo (each of 100)", undos, baseline);
    std::printf("%-28s total  %7.2f ms  (%5.1f x baseline)  goal < 50 ms\n", "100 undos, one by one", total,
                total / baseline);
    edit100();
    Figures burst;
    timeAction(burst, counter, [&] {
        for (int i = 0; i < 100; ++i)
            tool("MNUndo")->trigger();
    });
    std::printf("%-28s total  %7.2f ms  (%5.1f x baseline)  repaints %d  dataChanged %d  goal < 50 ms\n",
                "100 undos in a burst", burst.ms.first(), burst.ms.first() / baseline, burst.paints, burst.notices);
    return 0;
}
