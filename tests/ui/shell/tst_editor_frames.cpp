#include "support/widget_fixture.h"

#include "common/twips.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// The outer sizes, frame included, that the windows are designed with.
struct Designed {
    int number;
    int width;    // twips
    int height;
};
constexpr Designed kDesignedSizes[] = {{1, 13000, 7200}, {2, 5750, 3600}, {3, 12450, 7260}};

// The window shortcuts of the Edit menu, Form1..Form5.
const QKeyCombination kShowKeys[] = {Qt::CTRL | Qt::Key_M, Qt::CTRL | Qt::Key_D, Qt::CTRL | Qt::Key_P,
                                     Qt::CTRL | Qt::Key_B, Qt::CTRL | Qt::Key_F};

QString text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

// Where the editor windows open in the client area and how large they are,
// at main window sizes of common screens.
class TestEditorFrames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_environment.isValid()); }
    void firstShowInsideTheArea_data();
    void firstShowInsideTheArea();
    void areaScrollsToWindowsBeyondIt();
    void calibrationTabsReadWhole_data();
    void calibrationTabsReadWhole();

private:
    static void prepare(Harness &h, QSize size, Language language);
    TestEnvironment m_environment;
};

void TestEditorFrames::prepare(Harness &h, QSize size, Language language)
{
    h.takeMessages();   // port 1 names a missing device
    if (language == Language::Chinese)
        h.window->switchLanguage(Language::Chinese);
    h.window->resize(size);
    QTRY_COMPARE(h.window->size(), size);
    h.window->layout()->activate();
    QCoreApplication::processEvents();
}

void TestEditorFrames::firstShowInsideTheArea_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Language>("language");
    for (const QSize size : {QSize(1366, 768), QSize(1600, 1000)}) {
        for (const Language language : {Language::English, Language::Chinese}) {
            const QString row = QStringLiteral("%1x%2 %3").arg(size.width()).arg(size.height())
                                    .arg(language == Language::English ? "English" : "Chinese");
            QTest::newRow(qPrintable(row)) << size << language;
        }
    }
}

void TestEditorFrames::firstShowInsideTheArea()
{
    QFETCH(QSize, size);
    QFETCH(Language, language);
    Harness h;
    prepare(h, size, language);
    h.context.notifyHiddenModeActivated(HiddenMode::Fm);   // the FM window's menu item
    auto *area = h.find<QMdiArea>("MDIClient");

    QList<QMdiSubWindow *> shown;
    for (int n = 1; n <= 5; ++n) {
        QTest::keyClick(h.window.get(), kShowKeys[n - 1].key(), kShowKeys[n - 1].keyboardModifiers());
        QMdiSubWindow *frame = h.window->editorFrame(n);
        QTRY_VERIFY(frame->isVisible());
        QCOMPARE(area->activeSubWindow(), frame);
        const QRect visible = area->viewport()->rect();
        QVERIFY2(visible.contains(frame->geometry()),
                 qPrintable(QStringLiteral("Form%1 at %2 in %3").arg(n).arg(text(frame->geometry()), text(visible))));
        // Never squeezed below what its controls need.
        EditorWindow *window = h.window->editor(n);
        QVERIFY2(window->width() >= window->minimumSizeHint().width()
                     && window->height() >= window->minimumSizeHint().height(),
                 qPrintable(QStringLiteral("Form%1").arg(n)));
        for (QMdiSubWindow *earlier : shown)
            QVERIFY2(frame->pos() != earlier->pos(), qPrintable(QStringLiteral("Form%1 on another").arg(n)));
        shown << frame;
    }
    // The first small window finds room beside the channel window.
    QVERIFY(!h.window->editorFrame(2)->geometry().intersects(h.window->editorFrame(1)->geometry()));
    // The channel grid is seen whole in its first size: no window scroll bars.
    for (const char *bar : {"cScroll_0", "cScroll_1"})
        QVERIFY(!h.window->editor(1)->findChild<QScrollBar *>(QLatin1String(bar))->isVisible());
    // Nothing reaches beyond the area yet.
    QVERIFY(!area->horizontalScrollBar()->isVisible());
    QVERIFY(!area->verticalScrollBar()->isVisible());

    // As wide as designed; as tall, or as tall as the controls need where
    // that is more (eight fields on one DTMF page, Chinese captions).
    for (const Designed &designed : kDesignedSizes) {
        QMdiSubWindow *frame = h.window->editorFrame(designed.number);
        EditorWindow *window = h.window->editor(designed.number);
        QCOMPARE(frame->width(), pixelsAcross(frame, designed.width));
        const int height = pixelsDown(frame, designed.height);
        QVERIFY2(frame->height() == height
                     || (frame->height() > height && window->height() == window->minimumSizeHint().height()),
                 qPrintable(QStringLiteral("Form%1: %2 high").arg(designed.number).arg(frame->height())));
    }
    QCOMPARE(h.window->editorFrame(1)->height(), pixelsDown(h.window.get(), 7200));

    // Hidden and shown again: where it was, not placed anew.
    QMdiSubWindow *dtmf = h.window->editorFrame(2);
    dtmf->move(dtmf->pos() + QPoint(10, 10));
    const QPoint moved = dtmf->pos();
    QVERIFY(!dtmf->close());
    QVERIFY(!dtmf->isVisible());
    h.window->showEditor(2);
    QCOMPARE(dtmf->pos(), moved);
}

void TestEditorFrames::areaScrollsToWindowsBeyondIt()
{
    Harness h;
    prepare(h, QSize(1366, 768), Language::English);
    h.window->showEditor(3);
    auto *area = h.find<QMdiArea>("MDIClient");
    h.window->resize(640, 480);
    QTRY_VERIFY(area->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(area->verticalScrollBar()->isVisible());
    // Scrolled to the end, the far corner of every window is in view.
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    for (int n : {1, 3}) {
        const QRect frame = h.window->editorFrame(n)->geometry();
        QVERIFY2(frame.right() <= area->viewport()->width() && frame.bottom() <= area->viewport()->height(),
                 qPrintable(text(frame)));
    }
    // Scrolled back and large again: no bars.
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
    h.window->resize(1366, 768);
    QTRY_VERIFY(!area->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(!area->verticalScrollBar()->isVisible());
}

void TestEditorFrames::calibrationTabsReadWhole_data()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("English") << Language::English;
    QTest::newRow("Chinese") << Language::Chinese;
}

void TestEditorFrames::calibrationTabsReadWhole()
{
    QFETCH(Language, language);
    Harness h;
    prepare(h, QSize(1366, 768), language);
    QTest::keyClick(h.window.get(), Qt::Key_B, Qt::ControlModifier);
    auto *tabs = h.window->editor(4)->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(tabs);
    QTabBar *bar = tabs->tabBar();
    QTRY_VERIFY(bar->isVisible());
    QVERIFY2(bar->width() >= bar->sizeHint().width(),
             qPrintable(QStringLiteral("%1 < %2").arg(bar->width()).arg(bar->sizeHint().width())));
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        QVERIFY(bar->rect().contains(tab));
        QVERIFY2(tab.width() > bar->fontMetrics().horizontalAdvance(bar->tabText(i)), qPrintable(bar->tabText(i)));
    }
    for (QToolButton *arrow : bar->findChildren<QToolButton *>())
        QVERIFY(!arrow->isVisible());
}

QTEST_MAIN(TestEditorFrames)
#include "tst_editor_frames.moc"
