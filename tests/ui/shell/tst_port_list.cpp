#include "support/widget_fixture.h"

#include "i18n/link_texts.h"
#include "i18n/messages.h"
#include "i18n/ui_texts.h"
#include "shell/help_window.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

// Programming > Communication Port: the list shows, takes the focus and
// drops down under itself; it hides again when it is left without a
// choice. What the ports are is looked up when it is asked for.
class TestPortList : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_environment.isValid()); }
    void takesTheFocusAndDropsDownUnderIt();
    void hidesWhenLeftWithoutChoice_data();
    void hidesWhenLeftWithoutChoice();
    void statusToolTipInTheLanguageShown();

private:
    // Opens the list from the Programming menu, with its access keys, or
    // through the menu item's action.
    static QComboBox *openList(Harness &h, bool byKeys = false);
    static void choose(QComboBox *ports, int index);
    TestEnvironment m_environment;
};

QComboBox *TestPortList::openList(Harness &h, bool byKeys)
{
    auto *ports = h.find<QComboBox>("ComboCom");
    if (byKeys)
        h.pickFromMenu('G', 'C');
    else
        h.find<QAction>("MNCommPort")->trigger();
    if (!QTest::qWaitFor([ports] { return ports->isVisible() && ports->view()->isVisible(); }))
        return nullptr;
    return ports;
}

// Clicks entry index of the open drop-down.
void TestPortList::choose(QComboBox *ports, int index)
{
    QAbstractItemView *view = ports->view();
    const QModelIndex entry = view->model()->index(index, 0);
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    QTRY_VERIFY(!ports->isVisible());
}

// The focus is back where the user works once the list is gone: in the
// active editor window. (The window's own focus child: the offscreen
// platform leaves the last drop-down the active window.)
static bool focusInActiveEditor(const Harness &h)
{
    QWidget *focus = h.window->focusWidget();
    auto *area = h.window->findChild<QMdiArea *>();
    QMdiSubWindow *active = area ? area->activeSubWindow() : nullptr;
    return focus && active && (focus == active->widget() || active->widget()->isAncestorOf(focus));
}

void TestPortList::takesTheFocusAndDropsDownUnderIt()
{
    Harness h;
    h.takeMessages();   // port 1 names a missing device
    auto *ports = h.find<QComboBox>("ComboCom");
    QVERIFY(!ports->isVisible());
    // Nothing was asked of the system's serial devices at start.
    for (int i = 0; i < ports->count(); ++i)
        QVERIFY(!ports->itemData(i, Qt::ToolTipRole).isValid());

    QVERIFY(openList(h, true));
    // The list took the focus before its drop-down opened over it.
    QCOMPARE(h.window->focusWidget(), ports);
    // The first opening already drops down under the list, not at the
    // window's edge.
    const QRect box(ports->mapToGlobal(QPoint(0, 0)), ports->size());
    const QRect dropDown = ports->view()->window()->geometry();
    QVERIFY2(qAbs(dropDown.left() - box.left()) <= 2 && qAbs(dropDown.top() - box.bottom() - 1) <= 2,
             qPrintable(QStringLiteral("list at %1,%2, drop-down at %3,%4")
                            .arg(box.left()).arg(box.bottom()).arg(dropDown.left()).arg(dropDown.top())));
    QVERIFY(dropDown.width() >= box.width());
    // Each port is described now that the list is open.
    QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString().section(u'\n', 0, 0), QString::fromLatin1(kMissingDevice));
    QCOMPARE(ports->itemData(4, Qt::ToolTipRole).toString(), ui_text::kNoSerialDevice.en.arg(5));
    // Every port fits the drop-down without scrolling.
    QCOMPARE(ports->view()->verticalScrollBar()->maximum(), 0);

    // A choice hides the list as well.
    choose(ports, 1);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::SerialPortUnusable, Language::English, "2").text});
    QTRY_VERIFY(focusInActiveEditor(h));
}

void TestPortList::hidesWhenLeftWithoutChoice_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("a click outside") << "click";
    QTest::newRow("another window takes the focus") << "window";
}

void TestPortList::hidesWhenLeftWithoutChoice()
{
    QFETCH(QString, how);
    Harness h;
    h.takeMessages();
    QComboBox *ports = openList(h, true);
    QVERIFY(ports);
    const int chosen = ports->currentIndex();

    if (how == QLatin1String("escape")) {
        QTest::keyClick(ports->view(), Qt::Key_Escape);
    } else if (how == QLatin1String("click")) {
        // Through the window system, as a click reaches an open drop-down.
        QWidget *channels = h.window->editor(1);
        QTest::mouseClick(h.window->windowHandle(), Qt::LeftButton, {},
                          channels->mapTo(h.window.get(), channels->rect().center()));
    } else {
        QWidget *other = h.window->helpWindow();
        other->show();
        other->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(other));
    }
    QTRY_VERIFY(!ports->view()->isVisible());
    QTRY_VERIFY(!ports->isVisible());
    QCOMPARE(ports->currentIndex(), chosen);   // nothing chosen, nothing opened
    QCOMPARE(h.takeMessages(), QStringList());
    if (how != QLatin1String("window"))
        QTRY_VERIFY(focusInActiveEditor(h));

    // The list opens again as the first time.
    if (how == QLatin1String("window")) {
        h.window->helpWindow()->close();
        h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    }
    QVERIFY(openList(h));
    QCOMPARE(h.window->focusWidget(), ports);
    QTest::keyClick(ports->view(), Qt::Key_Escape);
    QTRY_VERIFY(!ports->isVisible());
}

void TestPortList::statusToolTipInTheLanguageShown()
{
    Harness h;
    h.takeMessages();
    auto *panel = h.find<QLabel>("Panel1");
    // Made when it is asked for, not at start.
    QVERIFY(panel->toolTip().isEmpty());
    // The missing device: our words, then the system's in brackets.
    const QString missing = QString::fromLatin1(kMissingDevice) + u'\n';
    QVERIFY2(askToolTip(panel).startsWith(missing + link_text::kPortMissing.en + QStringLiteral(" (")), qPrintable(askToolTip(panel)));

    // Port 3 has no device at all.
    QComboBox *ports = openList(h);
    QVERIFY(ports);
    choose(ports, 2);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::SerialPortUnusable, Language::English, "3").text});
    QCOMPARE(askToolTip(panel), ui_text::kNoSerialDevice.en.arg(3));

    // After a switch the same port is told of in Chinese, and only so.
    h.pickFromMenu('L', 'C');
    QTRY_COMPARE(h.context.language(), Language::Chinese);
    QCOMPARE(askToolTip(panel), ui_text::kNoSerialDevice.zh.arg(3));
    h.pickFromMenu('L', 'E');
    QTRY_COMPARE(h.context.language(), Language::English);
    QCOMPARE(askToolTip(panel), ui_text::kNoSerialDevice.en.arg(3));

    // Port 1 chosen in Chinese: the state in Chinese, the system's reason as it gave it.
    h.pickFromMenu('L', 'C');
    QTRY_COMPARE(h.context.language(), Language::Chinese);
    ports = openList(h);
    QVERIFY(ports);
    QCOMPARE(ports->itemData(2, Qt::ToolTipRole).toString(), ui_text::kNoSerialDevice.zh.arg(3));
    choose(ports, 0);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::SerialPortUnusable, Language::Chinese, "1").text});
    const QString chinese = askToolTip(panel);
    QVERIFY2(chinese.startsWith(missing + link_text::kPortMissing.zh + QStringLiteral(" (")), qPrintable(chinese));
    QVERIFY2(chinese.endsWith(u')') && !chinese.contains(link_text::kPortMissing.en), qPrintable(chinese));
}

QTEST_MAIN(TestPortList)
#include "tst_port_list.moc"
