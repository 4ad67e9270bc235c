// The main window's commands that guard the radio's programming: their menu
// items, the port list's tool tips, the radio history window and the offer
// of the serial trace after a communication error.

#include "support/radio_process.h"
#include "support/widget_fixture.h"

#include "document/radio_history.h"
#include "files/history_window.h"
#include "i18n/link_texts.h"
#include "link/serial_trace.h"
#include "image/address_map.h"
#include "link/transfer_controller.h"
#include "shell/transfer_commands.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QStringList itemNames(const QMenu *menu)
{
    QStringList names;
    for (const QAction *action : menu->actions())
        names << (action->isSeparator() && action->objectName().isEmpty() ? QStringLiteral("-") : action->objectName());
    return names;
}

MemoryImage imageWithChannels(int band, const QStringList &names)
{
    Document document;
    document.newImage();
    document.selectBand(band);
    const BandState &limits = document.workspace().band;
    for (int i = 0; i < names.size(); ++i) {
        document.commitFrequency(i + 1, kColumnRx, QString::number(limits.low + 1 + i));
        document.commitName(i + 1, names[i]);
    }
    return document.encode();
}

QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << table->item(row, column)->text();
    return cells;
}

} // namespace

class TestTransferCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void itemsComeAfterTheMenusOwn();
    void portsSayWhatTheyAre();
    void historyOpensAsOpenDoes();
    void traceOfferedAfterACommunicationError();

private:
    QTemporaryDir m_dir;
};

void TestTransferCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("state"))));
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestTransferCommands::init()
{
    qputenv("QUILLON_SERIAL_PORTS", QByteArray(kMissingDevice));
}

void TestTransferCommands::itemsComeAfterTheMenusOwn()
{
    Harness h;
    QCOMPARE(itemNames(h.find<QMenu>("MNFile")).mid(0, 11),
             (QStringList{"MNNew", "MNOpen", "MNSave", "MNPrint", "MNLine1", "MNQuit", "-", "MNImportCsv",
                          "MNExportCsv", "-", "MNHistory"}));
    QCOMPARE(itemNames(h.find<QMenu>("MNProgram")),
             (QStringList{"MNRead", "MNWrite", "MNCommPort", "-", "MNVerify", "MNVerifyAfterWrite", "MNSaveTrace"}));
    auto *afterWriting = h.find<QAction>("MNVerifyAfterWrite");
    QVERIFY(afterWriting->isCheckable());
    QVERIFY(!afterWriting->isChecked());
    QVERIFY(!h.window->transfer().verifiesAfterWriting());

    // Checked from the menu, with the keyboard.
    QTest::keyClick(h.window.get(), 'G', Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    menu->setActiveAction(afterWriting);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(afterWriting->isChecked());
    QVERIFY(h.window->transfer().verifiesAfterWriting());
}

void TestTransferCommands::portsSayWhatTheyAre()
{
    RadioProcess radio({});
    const QString pty = radio.device();
    qputenv("QUILLON_SERIAL_PORTS", (pty + u':' + QString::fromLatin1(kMissingDevice)).toLocal8Bit());
    Harness h;
    QCOMPARE(h.takeMessages(), QStringList());
    auto *panel = h.find<QLabel>("Panel1");
    QCOMPARE(panel->text(), QStringLiteral("COM: 1"));
    QCOMPARE(askToolTip(panel), pty + u'\n' + link_text::kPortOpenHere.en);

    auto *ports = h.find<QComboBox>("ComboCom");
    const auto openList = [&] {
        h.find<QAction>("MNCommPort")->trigger();
        QTRY_VERIFY(ports->view()->isVisible());
    };
    const auto toolTip = [&](int index) { return ports->itemData(index, Qt::ToolTipRole).toString(); };
    openList();
    QCOMPARE(ports->count(), 16);
    QCOMPARE(toolTip(0), pty + u'\n' + link_text::kPortOpenHere.en);
    QVERIFY2(toolTip(1).startsWith(QString::fromLatin1(kMissingDevice) + u'\n' + link_text::kPortMissing.en + QStringLiteral(" (")),
             qPrintable(toolTip(1)));
    QCOMPARE(toolTip(2), QStringLiteral("No serial device is known as port 3"));
    QTest::keyClick(ports->view(), Qt::Key_Escape);
    QTRY_VERIFY(!ports->view()->isVisible());

    // A device that turns up later is described the next time the list opens.
    qputenv("QUILLON_SERIAL_PORTS", (pty + u':' + QString::fromLatin1(kMissingDevice) + QStringLiteral(":/nonexistent/later")).toLocal8Bit());
    openList();
    QVERIFY(toolTip(2).startsWith(QStringLiteral("/nonexistent/later\n")));
    // Choosing the missing one: the fixed message, the reason in the status bar's tool tip.
    QTest::keyClick(ports->view(), Qt::Key_Down);
    QTest::keyClick(ports->view(), Qt::Key_Return);
    QTRY_VERIFY(!ports->isVisible());
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::SerialPortUnusable, Language::English, "2").text});
    QCOMPARE(panel->text(), QStringLiteral("COM: "));
    QVERIFY(askToolTip(panel).startsWith(QString::fromLatin1(kMissingDevice) + u'\n' + link_text::kPortMissing.en));
}

void TestTransferCommands::historyOpensAsOpenDoes()
{
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("history-test"))));
    Harness h;
    h.takeMessages();
    const RadioHistory history(RadioHistory::defaultFolder());
    const QDateTime now = QDateTime::currentDateTime();
    const MemoryImage older = imageWithChannels(5, {"RPT", "SIMPLEX", "", "CALL"});
    QVERIFY(!history.store(HistoryDirection::Read, older, now.addSecs(-120)).isEmpty());
    QVERIFY(!history.store(HistoryDirection::Written, imageWithChannels(0, {"ONE"}), now.addSecs(-60)).isEmpty());
    // A file of the history's name that is no image.
    QFile broken(QDir(history.folder()).filePath(RadioHistory::fileName(now, HistoryDirection::Read, "unknown")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not an image");
    broken.close();

    h.find<QAction>("MNHistory")->trigger();
    HistoryWindow *window = h.window->transferCommands().historyWindow();
    QTRY_VERIFY(window->isVisible());
    auto *table = window->findChild<QTableWidget *>(QStringLiteral("TableHistory"));
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(rowTexts(table, 1), (QStringList{now.addSecs(-60).toString("yyyy-MM-dd HH:mm:ss"), "written",
                                              "136-174MHz", "1", "ONE"}));
    QCOMPARE(rowTexts(table, 2), (QStringList{now.addSecs(-120).toString("yyyy-MM-dd HH:mm:ss"), "read",
                                              "450-470MHz", "4", "RPT, SIMPLEX, CALL"}));

    // The broken one is refused as Open refuses it; the list stays.
    const auto doubleClick = [&](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        // What a double click sends: press, release, double click, release.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(0);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::FileTypeIncorrect, Language::English).text});
    QVERIFY(window->isVisible());

    doubleClick(2);
    QTRY_VERIFY(!window->isVisible());
    QCOMPARE(h.takeMessages(), QStringList());
    QCOMPARE(h.ws().band.index, 5);
    QCOMPARE(h.ws().channels.cell(4, kColumnName), QStringLiteral("CALL"));
    QVERIFY(!h.document().isModified());
    QVERIFY(h.window->editorFrame(1)->isVisible());
}

void TestTransferCommands::traceOfferedAfterACommunicationError()
{
    RadioProcess radio({QStringLiteral("--silent-after"), QStringLiteral("5")}, MemoryImage());
    qputenv("QUILLON_SERIAL_PORTS", radio.device().toLocal8Bit());
    Harness h;
    QCOMPARE(h.takeMessages(), QStringList());
    auto *offer = h.find<QLabel>("PanelTrace");
    QVERIFY(!offer->isVisible());

    QTest::keyClick(h.window.get(), Qt::Key_R, Qt::ControlModifier);
    // The fixed message exactly; the offer beside it in the status bar.
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages[0].text, messageText(Message::CommunicationError, Language::English).text);
    QCOMPARE(h.messages[0].style, kStyleStop);
    h.takeMessages();
    QVERIFY(offer->isVisible());
    QVERIFY(offer->text().contains(link_text::kSaveSerialTrace.en));

    QStringList suggested;
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("trace.txt"));
    h.window->transfer().setTraceFileChooser([&](const QString &suggestion) {
        suggested << suggestion;
        return path;
    });
    emit offer->linkActivated(QStringLiteral("trace"));
    QCOMPARE(suggested.size(), 1);
    QVERIFY(QFileInfo(suggested[0]).fileName().startsWith(QLatin1String("quillon-trace-")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QCOMPARE(text, h.window->transfer().trace().text());
    QVERIFY(text.contains(QLatin1String("== Ended: time-out")));

    // A trace that cannot be written says so.
    h.window->transfer().setTraceFileChooser([&](const QString &) { return m_dir.filePath("trace.txt/inside"); });
    h.find<QAction>("MNSaveTrace")->trigger();
    const QStringList failed = h.takeMessages();
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed[0].startsWith(link_text::kTraceNotSaved.en));

    // The radio answers again: the next read succeeds and the offer goes.
    h.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    QTest::keyClick(h.window.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::ReadSucceeded, Language::English).text});
    QVERIFY(!offer->isVisible());
}

QTEST_MAIN(TestTransferCommands)
#include "tst_transfer_commands.moc"
