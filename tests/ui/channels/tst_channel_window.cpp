#include "channels/channel_window.h"
#include "event_hooks.h"
#include "files/dat_file.h"
#include "image/address_map.h"
#include "image/channel_sheet.h"
#include "image/tone_list.h"
#include "common/app_context.h"

#include <QComboBox>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quillon;

namespace {

const QString kOutOfBand = QStringLiteral("Beyond the scope of frequency band");
const QByteArray kRecord95 = QByteArray::fromHex("5062254650622546ffffffff95");

// What the grid shows in a cell, in a role (channels 1..128).
QVariant cellData(const QTableView *grid, int channel, int column, int role = Qt::DisplayRole)
{
    return grid->model()->index(channel - 1, column).data(role);
}

QString cellText(const QTableView *grid, int channel, int column)
{
    return cellData(grid, channel, column).toString();
}

// Cells 1..10 of a channel's row joined with "|".
QString rowText(const QTableView *grid, int channel, int last = kColumnScramble)
{
    QStringList cells;
    for (int column = kColumnRx; column <= last; ++column)
        cells << cellText(grid, channel, column);
    return cells.join(u'|');
}

QString headerText(const QTableView *grid, int column)
{
    return grid->model()->headerData(column, Qt::Horizontal).toString();
}

const QString kEmptyRow(9, u'|');

void wheel(QWidget *target, int delta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// Records the order in which hooked events reach the object and the clients.
struct HookLog {
    QStringList entries;
};

class LoggingWidget : public QWidget {
public:
    explicit LoggingWidget(HookLog &log) : m_log(log) {}

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        m_log.entries << QStringLiteral("object");
        event->ignore();
    }

private:
    HookLog &m_log;
};

class LoggingClient : public EventHookClient {
public:
    LoggingClient(HookLog &log, QString name, Response response)
        : m_log(log), m_name(std::move(name)), m_response(response) {}
    Response response() const override { return m_response; }
    void hookedEvent(QObject *, QEvent *) override { m_log.entries << m_name; }

private:
    HookLog &m_log;
    QString m_name;
    Response m_response;
};

} // namespace

class TestChannelWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshWindow();
    void frequencyEntry_data();
    void frequencyEntry();
    void filledRowEdits_data();
    void filledRowEdits();
    void nameEditor();
    void toneList();
    void toneListDropsDownTwentyRows();
    void clicksThatOpenNothing();
    void emptyRowOpensReceiveEditor();
    void languageSwitch();
    void pendingEditIsCommitted();
    void editorMovesWithItsCell();
    void escapedListNeverCommits();
    void pendingEditOfAClosedWindow();
    void pasteAndInputMethodFollowTheNameRule();
    void decodedImageShowsModel();
    void typedChannelsSurviveSaveAndOpen();
    void wheelOverGrid();
    void scrollBars();
    void scrollBarPageStep_data();
    void scrollBarPageStep();
    void closeBoxHides();
    void hookOrdering_data();
    void hookOrdering();
    void hookRefusesSecondAttachment();

private:
    void makeWindow();
    template <typename T> T *control(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QTableView *grid() const { return m_window->grid(); }
    QLineEdit *frequencyBox() const { return control<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit *nameBox() const { return control<QLineEdit>(QStringLiteral("Text2")); }
    void click(int channel, int column, Qt::MouseButton button = Qt::LeftButton);
    void decodeFilledChannel(int channel);
    void eraseEditor(QLineEdit *editor);

    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<ChannelWindow> m_window;
    QStringList m_messages;
};

void TestChannelWindow::makeWindow()
{
    m_window = std::make_unique<ChannelWindow>(*m_context);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestChannelWindow::init()
{
    m_messages.clear();
    m_context = std::make_unique<AppContext>();
    m_context->document().setLanguage(Language::English);
    m_context->document().selectBand(3);   // 400-470MHz
    m_context->setResponder([this](const QString &text, int, const QString &) {
        m_messages << text;
        return kAnswerOk;
    });
    makeWindow();
}

void TestChannelWindow::cleanup()
{
    m_window.reset();
    m_context.reset();
}

void TestChannelWindow::click(int channel, int column, Qt::MouseButton button)
{
    const QModelIndex index = grid()->model()->index(channel - 1, column);
    grid()->scrollTo(index);
    QTest::mouseClick(grid()->viewport(), button, Qt::NoModifier, grid()->visualRect(index).center());
}

// Channel `channel` holds 462.56250 with both tones Off and the name CH1.
void TestChannelWindow::decodeFilledChannel(int channel)
{
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
    image.set(kBandIndex, 3);
    image.store(kChannelRecords.address(channel - 1), kRecord95);
    image.store(kChannelNames.address(channel - 1), QByteArray::fromHex("434831ffffffffff"));
    m_context->document().openImage(image);
}

void TestChannelWindow::eraseEditor(QLineEdit *editor)
{
    editor->end(false);
    for (int i = editor->text().size(); i > 0; --i)
        QTest::keyClick(editor, Qt::Key_Backspace);
    QVERIFY(editor->text().isEmpty());
}

void TestChannelWindow::freshWindow()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Channel Edit"));
    QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("picClient")));
    QCOMPARE(grid()->objectName(), QStringLiteral("Grid1"));
    QCOMPARE(grid()->model()->rowCount(), 128);
    QCOMPARE(grid()->model()->columnCount(), 12);
    QCOMPARE(headerText(grid(), 0), QStringLiteral("Fre"));
    QCOMPARE(headerText(grid(), 11), QStringLiteral("Channel Name"));

    const QColor lightBlue(0xC0, 0xC0, 0xFF);
    for (int channel = 1; channel <= 128; ++channel) {
        QCOMPARE(cellText(grid(), channel, 0), QString::number(channel));
        for (int column = 0; column < 12; ++column) {
            if (column > 0)
                QVERIFY(cellText(grid(), channel, column).isEmpty());
            QCOMPARE(cellData(grid(), channel, column, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
            QCOMPARE(cellData(grid(), channel, column, Qt::BackgroundRole).value<QBrush>().color() == lightBlue,
                     channel % 2 == 0);
        }
    }

    const double dpi = m_window->logicalDpiX();
    QCOMPARE(grid()->columnWidth(3), qRound(1200 * dpi / 1440));
    QCOMPARE(grid()->columnWidth(6), qRound(1400 * dpi / 1440));
    QCOMPARE(m_window->width(), qRound(13000 * dpi / 1440));
    QCOMPARE(m_window->height(), qRound(7200.0 * m_window->logicalDpiY() / 1440));
    // The whole grid fits the first size: no window scroll bars.
    QVERIFY(control<QScrollBar>(QStringLiteral("cScroll_0"))->isHidden());
    QVERIFY(control<QScrollBar>(QStringLiteral("cScroll_1"))->isHidden());

    QCOMPARE(control<QComboBox>(QStringLiteral("Combo1"))->count(), kToneCount);
    QCOMPARE(control<QComboBox>(QStringLiteral("Combo5_5"))->count(), 3);
}

void TestChannelWindow::frequencyEntry_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");      // the editor's text after typing
    QTest::addColumn<QString>("cells");
    QTest::addColumn<bool>("outOfBand");

    const QString defaults = QStringLiteral("|Off|Off|High|Off|On|Wide|Off|Off");
    QTest::newRow("upper limit") << "470" << "470" << kEmptyRow << true;
    QTest::newRow("lower limit") << "400" << "400" << "400.00000|400.00000" + defaults << false;
    QTest::newRow("6.25 kHz raster") << "462.563" << "462.563" << "462.56250|462.56250" + defaults << false;
    QTest::newRow("5 kHz raster") << "462.566" << "462.566" << "462.56500|462.56500" + defaults << false;
    QTest::newRow("key filter") << "4a3 5,-.1" << "435.1" << "435.10000|435.10000" + defaults << false;
    QTest::newRow("nine characters at most") << "4401234567" << "440123456" << kEmptyRow << true;
    QTest::newRow("two points") << "44.0.1" << "44.0.1" << kEmptyRow << false;
}

void TestChannelWindow::frequencyEntry()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, cells);
    QFETCH(bool, outOfBand);

    click(7, kColumnRx);
    QLineEdit *editor = frequencyBox();
    QTRY_VERIFY(editor->hasFocus());
    // Exactly over the cell.
    const QRect cell = grid()->visualRect(grid()->model()->index(6, kColumnRx));
    QCOMPARE(editor->geometry(),
             QRect(grid()->viewport()->mapTo(editor->parentWidget(), cell.topLeft()), cell.size()));
    QTest::keyClicks(editor, keys);
    QCOMPARE(editor->text(), shown);
    QTest::keyClick(editor, Qt::Key_Return);

    QVERIFY(editor->isHidden());
    QCOMPARE(m_messages, outOfBand ? QStringList{kOutOfBand} : QStringList{});
    QCOMPARE(rowText(grid(), 7), cells);
    QCOMPARE(m_context->workspace().channels.row(7).rxText, cells.section(u'|', 0, 0));
    QVERIFY(grid()->hasFocus());
}

void TestChannelWindow::filledRowEdits_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("keys");      // typed after erasing the editor
    QTest::addColumn<QString>("cells");     // columns 1..11
    const QString rest = QStringLiteral("|Off|Off|High|Off|Off|wide|On|On|CH1");
    QTest::newRow("new receive changes column 1 only") << 1 << "450" << "450.00000|462.56250" + rest;
    QTest::newRow("new transmit") << 2 << "440.0125" << "462.56250|440.01250" + rest;
    QTest::newRow("erased receive deletes the channel") << 1 << "" << QString(10, u'|');
    QTest::newRow("erased transmit is kept") << 2 << "" << "462.56250|462.56250" + rest;
}

void TestChannelWindow::filledRowEdits()
{
    QFETCH(int, column);
    QFETCH(QString, keys);
    QFETCH(QString, cells);

    decodeFilledChannel(3);
    click(3, column);
    QLineEdit *editor = frequencyBox();
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(editor->text(), QStringLiteral("462.56250"));
    eraseEditor(editor);
    QTest::keyClicks(editor, keys);
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor->isHidden());
    QCOMPARE(rowText(grid(), 3, kColumnName), cells);
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(m_context->workspace().channels.row(3).name.isEmpty(), cells.endsWith(u'|'));
}

void TestChannelWindow::nameEditor()
{
    decodeFilledChannel(3);
    click(3, kColumnName);
    QLineEdit *editor = nameBox();
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(editor->text(), QStringLiteral("CH1"));
    eraseEditor(editor);
    QTest::keyClicks(editor, QStringLiteral("ab1!"));
    QCOMPARE(editor->text(), QStringLiteral("AB1"));
    // The table and the cell take the name when it is committed (leaving
    // the editor, or before a save or a transfer).
    QCOMPARE(m_context->workspace().channels.row(3).name, QStringLiteral("CH1"));
    QCOMPARE(cellText(grid(), 3, kColumnName), QStringLiteral("CH1"));
    QTest::keyClicks(editor, QStringLiteral(" {~_`x"));
    QCOMPARE(editor->text(), QStringLiteral("AB1_`"));   // space, braces and tilde refused; five at most
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor->isHidden());
    QCOMPARE(cellText(grid(), 3, kColumnName), QStringLiteral("AB1_`"));

    // A longer name from the image is shown whole.
    MemoryImage image = m_context->workspace().readImage;
    image.store(kChannelNames.address(2), QByteArray("ABCDEFGH"));
    m_context->document().openImage(image);
    click(3, kColumnName);
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(editor->text(), QStringLiteral("ABCDEFGH"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_context->workspace().channels.row(3).name, QStringLiteral("ABCDEFGH"));
}

void TestChannelWindow::toneList()
{
    decodeFilledChannel(3);
    auto *list = control<QComboBox>(QStringLiteral("Combo1"));

    // Escape in the open list, then leaving it: the old tone stays.
    click(3, kColumnRxTone);
    QTRY_VERIFY(list->view()->isVisible());
    QCOMPARE(list->currentIndex(), 0);
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Escape);
    QTRY_VERIFY(!list->view()->isVisible());
    click(3, kColumnNumber);
    QTRY_VERIFY(list->isHidden());
    QCOMPARE(cellText(grid(), 3, kColumnRxTone), QStringLiteral("Off"));
    QCOMPARE(m_context->workspace().channels.row(3).rxToneIndex, 0);

    // A real choice commits.
    click(3, kColumnRxTone);
    QTRY_VERIFY(list->view()->isVisible());
    const QModelIndex d023n = list->model()->index(52, 0);
    QCOMPARE(d023n.data().toString(), QStringLiteral("D023N"));
    // Typed into the open list, as a user picks from a long list.
    QTest::keyClicks(list->view(), QStringLiteral("D023"));
    QCOMPARE(list->view()->currentIndex(), d023n);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QTRY_VERIFY(list->isHidden());
    QCOMPARE(cellText(grid(), 3, kColumnRxTone), QStringLiteral("D023N"));
    const ChannelRow &row = m_context->workspace().channels.row(3);
    QCOMPARE(row.rxToneIndex, 52);
    QCOMPARE(row.rxToneText, QStringLiteral("D023N"));
    QCOMPARE(cellText(grid(), 3, kColumnTxTone), QStringLiteral("Off"));
}

void TestChannelWindow::toneListDropsDownTwentyRows()
{
    // 265 tones: a scrolling column of about twenty under the cell, not a
    // menu as tall as the screen.
    decodeFilledChannel(3);
    auto *list = control<QComboBox>(QStringLiteral("Combo1"));
    click(3, kColumnTxTone);
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    const int rows = view->viewport()->height() / view->sizeHintForRow(0);
    QVERIFY2(rows >= 19 && rows <= 21, qPrintable(QString::number(rows)));
    QVERIFY(view->verticalScrollBar()->isVisible());
    const QRect dropDown = view->window()->geometry();
    QVERIFY2(qAbs(dropDown.top() - list->mapToGlobal(QPoint(0, list->height())).y()) <= 2,
             qPrintable(QString::number(dropDown.top())));
    // The last tone is reached by scrolling.
    QTest::keyClick(view, Qt::Key_End);
    QCOMPARE(view->currentIndex().row(), list->count() - 1);
    QVERIFY(view->viewport()->rect().contains(view->visualRect(view->currentIndex())));
    QTest::keyClick(view, Qt::Key_Escape);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(m_context->workspace().channels.row(3).txToneIndex, 0);
}

void TestChannelWindow::clicksThatOpenNothing()
{
    decodeFilledChannel(3);
    click(3, kColumnRx, Qt::RightButton);
    QVERIFY(grid()->hasFocus());
    QVERIFY(frequencyBox()->isHidden());
    click(3, kColumnRxTone, Qt::RightButton);
    QVERIFY(control<QComboBox>(QStringLiteral("Combo1"))->isHidden());
    click(3, kColumnNumber);
    QVERIFY(grid()->hasFocus());

    // Arrow keys move without opening; Enter opens the current cell's editor.
    // A number is never the current cell: its click made the receive
    // frequency current, so Right goes on to the transmit frequency.
    QTest::keyClick(grid(), Qt::Key_Right);
    QCOMPARE(grid()->currentIndex().column(), int(kColumnTx));
    QVERIFY(frequencyBox()->isHidden());
    QTest::keyClick(grid(), Qt::Key_Return);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QCOMPARE(frequencyBox()->text(), QStringLiteral("462.56250"));
}

void TestChannelWindow::emptyRowOpensReceiveEditor()
{
    for (int column : {0, 7}) {
        click(20, column);
        QTRY_VERIFY(frequencyBox()->hasFocus());
        QCOMPARE(grid()->currentIndex().row(), 19);
        QCOMPARE(grid()->currentIndex().column(), int(kColumnRx));
        QTest::keyClick(frequencyBox(), Qt::Key_Return);
        QVERIFY(frequencyBox()->isHidden());
    }
    QCOMPARE(rowText(grid(), 20, kColumnName), QString(10, u'|'));
}

void TestChannelWindow::languageSwitch()
{
    decodeFilledChannel(3);
    click(1, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("400"));
    QTest::keyClick(frequencyBox(), Qt::Key_Return);
    QCOMPARE(rowText(grid(), 1), QStringLiteral("400.00000|400.00000|Off|Off|High|Off|On|Wide|Off|Off"));

    m_context->document().setLanguage(Language::Chinese);
    m_window->applyLanguage();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("信道编辑"));
    QCOMPARE(headerText(grid(), 1), QStringLiteral("接收频率"));
    QCOMPARE(control<QComboBox>(QStringLiteral("Combo1"))->itemText(0), QStringLiteral("关闭"));
    QCOMPARE(control<QComboBox>(QStringLiteral("Combo5_8"))->itemText(1), QStringLiteral("宽带"));
    QCOMPARE(rowText(grid(), 1), QStringLiteral("400.00000|400.00000|关闭|关闭|高|关|使能|宽带|关|关"));
    QCOMPARE(rowText(grid(), 3, kColumnName),
             QStringLiteral("462.56250|462.56250|关闭|关闭|高|关|禁止|宽带|开|开|CH1"));

    m_context->document().setLanguage(Language::English);
    m_window->applyLanguage();
    QCOMPARE(rowText(grid(), 1), QStringLiteral("400.00000|400.00000|Off|Off|High|Off|On|wide|Off|Off"));
    QCOMPARE(cellText(grid(), 3, kColumnName), QStringLiteral("CH1"));
    QCOMPARE(rowText(grid(), 2), kEmptyRow);
}

void TestChannelWindow::pendingEditIsCommitted()
{
    click(4, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("435.1"));
    // What Read and Write do first, with the editor still open.
    m_context->commitPendingEdits();
    QVERIFY(frequencyBox()->isHidden());
    QCOMPARE(cellText(grid(), 4, kColumnRx), QStringLiteral("435.10000"));
    QCOMPARE(m_context->document().encode().bytes(kChannelRecords.address(3), 4), QByteArray::fromHex("00005143"));
}

// The wheel scrolls the rows under an open editor: the box goes with its
// cell, and what is typed lands on the channel the box sits on.
void TestChannelWindow::editorMovesWithItsCell()
{
    click(3, kColumnRx);
    QLineEdit *editor = frequencyBox();
    QTRY_VERIFY(editor->hasFocus());
    auto channelUnderBox = [this, editor] {
        const QPoint centre = grid()->viewport()->mapFromGlobal(editor->mapToGlobal(editor->rect().center()));
        return grid()->rowAt(centre.y()) + 1;
    };
    QCOMPARE(channelUnderBox(), 3);
    for (int notch = 0; notch < 3; ++notch)
        wheel(grid()->viewport(), -120);
    QCOMPARE(m_window->topRow(), 4);
    const int under = channelUnderBox();
    QTest::keyClicks(editor, QStringLiteral("440"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor->isHidden());
    const ChannelSheet &sheet = m_context->workspace().channels;
    QCOMPARE(sheet.row(under).rxText, QStringLiteral("440.00000"));
    QCOMPARE(under, 3);
    for (int channel = 1; channel <= 128; ++channel)
        QCOMPARE(sheet.row(channel).rxText.isEmpty(), channel != 3);

    // By the bar, back and forth, the box stays on its cell.
    click(5, kColumnRx);
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(channelUnderBox(), 5);
    for (int top : {0, 3, 1}) {
        grid()->verticalScrollBar()->setValue(top);
        QCOMPARE(channelUnderBox(), 5);
    }
    // Keys the editor does not use never move the grid under it.
    const QModelIndex current = grid()->currentIndex();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown})
        QTest::keyClick(editor, key);
    QCOMPARE(grid()->currentIndex(), current);
    QCOMPARE(grid()->verticalScrollBar()->value(), 1);
    QVERIFY(editor->hasFocus());
    // Escape closes the editor without a commit, and the grid stays too.
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(editor->isHidden());
    QCOMPARE(grid()->currentIndex(), current);
    QCOMPARE(grid()->verticalScrollBar()->value(), 1);
}

// Escape closes the drop-down and the list, without a choice; keys that
// follow never choose a tone.
void TestChannelWindow::escapedListNeverCommits()
{
    decodeFilledChannel(3);
    auto *list = control<QComboBox>(QStringLiteral("Combo1"));
    click(3, kColumnRxTone);
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Escape);
    QTRY_VERIFY(!list->view()->isVisible());
    // Straight on, before anything else runs: the key goes where the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(m_context->workspace().channels.row(3).rxToneIndex, 0);
    QTRY_VERIFY(list->isHidden());
    QTRY_VERIFY(grid()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    const ChannelRow &row = m_context->workspace().channels.row(3);
    QCOMPARE(row.rxToneIndex, 0);
    QCOMPARE(m_context->workspace().channels.cell(3, kColumnRxTone), QStringLiteral("Off"));
    QVERIFY(list->isHidden());
}

// Read, Write and Save take what was typed even when the window was closed
// over an open editor; the editor does not come back.
void TestChannelWindow::pendingEditOfAClosedWindow()
{
    click(4, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("435.5"));
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isHidden());
    m_context->commitPendingEdits();
    QCOMPARE(m_context->document().encode().bytes(kChannelRecords.address(3), 4), QByteArray::fromHex("00005543"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(frequencyBox()->isHidden());
    QCOMPARE(m_context->workspace().channels.cell(4, kColumnRx), QStringLiteral("435.50000"));
}

void TestChannelWindow::pasteAndInputMethodFollowTheNameRule()
{
    decodeFilledChannel(3);
    click(3, kColumnName);
    QLineEdit *editor = nameBox();
    QTRY_VERIFY(editor->hasFocus());
    eraseEditor(editor);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("中文名abcdefgh"));
    QApplication::sendEvent(editor, &commit);
    QCOMPARE(editor->text(), QStringLiteral("ABCDE"));

    eraseEditor(editor);
    QApplication::clipboard()->setText(QStringLiteral("name").repeated(50));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor->text(), QStringLiteral("NAMEN"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor->isHidden());
    QCOMPARE(m_context->workspace().channels.row(3).name, QStringLiteral("NAMEN"));
    QCOMPARE(m_context->workspace().channels.cell(3, kColumnName), QStringLiteral("NAMEN"));
    // The frequency editor holds to its rule the same way.
    click(5, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QApplication::clipboard()->setText(QStringLiteral("4 4 0,1 2 5 MHz 9999"));
    QTest::keyClick(frequencyBox(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(frequencyBox()->text(), QStringLiteral("440125999"));
}

void TestChannelWindow::decodedImageShowsModel()
{
    const Workspace &ws = m_context->workspace();
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
    image.set(kBandIndex, 3);
    image.store(kChannelRecords.address(0), kRecord95);
    image.store(kChannelRecords.address(1), QByteArray::fromHex("00000047ffffffffffffffff95"));   // 470: cleared
    image.store(kChannelRecords.address(63), QByteArray::fromHex("00250040002500457006238700"));
    image.store(kChannelRecords.address(127), QByteArray::fromHex("5062254650622546940654c77f"));
    image.store(kChannelNames.address(1), QByteArray("NAME2\xFF\xFF\xFF", 8));
    image.store(kChannelNames.address(127), QByteArray("LAST"));
    m_context->document().openImage(image);
    for (int channel = 1; channel <= 128; ++channel) {
        for (int column = 0; column < 12; ++column)
            QCOMPARE(cellText(grid(), channel, column), ws.channels.cell(channel, column));
    }
    QCOMPARE(rowText(grid(), 64), QStringLiteral("400.02500|450.02500|67.0|D723N|Low|Carry|Off|Narror|On|On"));
    QCOMPARE(rowText(grid(), 128, kColumnName),
             QStringLiteral("462.56250|462.56250|69.4|D754I||Off|On|wide|Off|Off|LAST"));
    QCOMPARE(rowText(grid(), 2, kColumnName), QString(10, u'|') + QStringLiteral("NAME2"));
}

void TestChannelWindow::typedChannelsSurviveSaveAndOpen()
{
    click(1, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("462.5625"));
    click(1, kColumnName);
    QTRY_VERIFY(nameBox()->hasFocus());
    QTest::keyClicks(nameBox(), QStringLiteral("base"));
    click(2, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("401.0125"));
    click(2, kColumnScanAdd);
    auto *scan = control<QComboBox>(QStringLiteral("Combo5_7"));
    QTRY_VERIFY(scan->view()->isVisible());
    QTest::keyClick(scan->view(), Qt::Key_Up);
    QTest::keyClick(scan->view(), Qt::Key_Return);
    QTRY_VERIFY(scan->isHidden());
    QCOMPARE(rowText(grid(), 2, kColumnName), QStringLiteral("401.01250|401.01250|Off|Off|High|Off|Off|Wide|Off|Off|"));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("typed.dat"));
    QCOMPARE(saveDatFile(path, m_context->document().encode()).status, DatStatus::Ok);

    AppContext opened;
    opened.document().setLanguage(Language::English);
    ChannelWindow reopened(opened);
    MemoryImage image;
    QCOMPARE(loadDatFile(path, image).status, DatStatus::Ok);
    opened.document().openImage(image);

    // The typed default "Wide" is the list's "wide" once re-texted.
    m_context->document().setLanguage(Language::English);
    for (int channel = 1; channel <= 128; ++channel) {
        for (int column = 0; column < 12; ++column)
            QCOMPARE(cellText(reopened.grid(), channel, column), cellText(grid(), channel, column));
    }
    QCOMPARE(rowText(reopened.grid(), 1, kColumnName),
             QStringLiteral("462.56250|462.56250|Off|Off|High|Off|On|wide|Off|Off|BASE"));
}

void TestChannelWindow::wheelOverGrid()
{
    m_window->resize(400, 300);   // window scroll bars shown
    auto *vBar = control<QScrollBar>(QStringLiteral("cScroll_1"));
    auto *panel = control<QWidget>(QStringLiteral("picClient"));
    QVERIFY(!vBar->isHidden());
    grid()->setCurrentIndex(grid()->model()->index(0, 1));

    QCOMPARE(m_window->topRow(), 1);
    wheel(grid()->viewport(), 120);   // up at the top: nothing
    QCOMPARE(m_window->topRow(), 1);
    wheel(grid()->viewport(), -120);
    QCOMPARE(m_window->topRow(), 2);
    wheel(grid()->viewport(), -720);   // a big turn is still one row
    QCOMPARE(m_window->topRow(), 3);
    wheel(grid()->verticalScrollBar(), -120);
    QCOMPARE(m_window->topRow(), 4);
    wheel(grid(), 240);
    QCOMPARE(m_window->topRow(), 3);
    // Neither the panel nor the selection moved.
    QCOMPARE(vBar->value(), 0);
    QCOMPARE(panel->pos(), QPoint(0, 0));
    QCOMPARE(grid()->currentIndex().row(), 0);

    // Down until the grid cannot scroll further.
    for (int i = 0; i < 200; ++i)
        wheel(grid()->viewport(), -120);
    QCOMPARE(m_window->topRow(), grid()->verticalScrollBar()->maximum() + 1);

    // Over the window itself the wheel scrolls the panel: 2 pixels a line.
    const int lines = QApplication::wheelScrollLines() > 0 ? QApplication::wheelScrollLines() : 3;
    wheel(m_window.get(), -120);
    QCOMPARE(vBar->value(), 2 * lines);
    QCOMPARE(panel->pos().y(), -2 * lines);
    wheel(m_window.get(), 240);
    QCOMPARE(vBar->value(), 0);
}

void TestChannelWindow::scrollBars()
{
    auto *hBar = control<QScrollBar>(QStringLiteral("cScroll_0"));
    auto *vBar = control<QScrollBar>(QStringLiteral("cScroll_1"));
    auto *panel = control<QWidget>(QStringLiteral("picClient"));

    m_window->resize(300, 200);
    QVERIFY(!hBar->isHidden());
    QVERIFY(!vBar->isHidden());
    QCOMPARE(vBar->maximum(), panel->height() - (200 - hBar->height()));
    QCOMPARE(hBar->maximum(), panel->width() - (300 - vBar->width()));
    vBar->setValue(40);
    hBar->setValue(25);
    QCOMPARE(panel->pos(), QPoint(-25, -40));

    // Only too narrow: the vertical bar appears only if the horizontal one eats the room.
    m_window->resize(300, panel->height() + hBar->sizeHint().height() + 10);
    QVERIFY(!hBar->isHidden());
    QVERIFY(vBar->isHidden());
    QCOMPARE(panel->pos(), QPoint(-25, 0));

    m_window->resize(panel->width() + 50, panel->height() + 50);
    QVERIFY(hBar->isHidden());
    QVERIFY(vBar->isHidden());
    QCOMPARE(panel->pos(), QPoint(0, 0));
}

void TestChannelWindow::scrollBarPageStep_data()
{
    QTest::addColumn<int>("overflow");
    QTest::addColumn<int>("client");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("pageStep");
    QTest::newRow("fits") << 0 << 400 << false << 0;
    QTest::newRow("smaller than the client") << 100 << 400 << true << 100;
    QTest::newRow("one client exactly") << 400 << 400 << true << 200;
    QTest::newRow("several clients") << 900 << 400 << true << 300;
    QTest::newRow("minimised") << 500 << 0 << false << 0;
}

void TestChannelWindow::scrollBarPageStep()
{
    QFETCH(int, overflow);
    QFETCH(int, client);
    QFETCH(bool, visible);
    QFETCH(int, pageStep);
    const ScrollBarState state = windowScrollBar(overflow, client);
    QCOMPARE(state.visible, visible);
    QCOMPARE(state.pageStep, pageStep);
    QCOMPARE(state.maximum, visible ? overflow : 0);
}

void TestChannelWindow::closeBoxHides()
{
    decodeFilledChannel(3);
    m_window->resize(300, 200);
    auto *vBar = control<QScrollBar>(QStringLiteral("cScroll_1"));
    vBar->setValue(30);
    grid()->verticalScrollBar()->setValue(5);

    QVERIFY(!m_window->close());
    QVERIFY(m_window->isHidden());
    m_window->show();
    QCOMPARE(rowText(grid(), 3, kColumnName), QStringLiteral("462.56250|462.56250|Off|Off|High|Off|Off|wide|On|On|CH1"));
    QCOMPARE(vBar->value(), 30);
    QCOMPARE(m_window->topRow(), 6);
}

void TestChannelWindow::hookOrdering_data()
{
    QTest::addColumn<int>("firstResponse");
    QTest::addColumn<QString>("order");
    QTest::newRow("consume") << int(EventHookClient::Response::Consume) << "second first";
    QTest::newRow("object after") << int(EventHookClient::Response::ObjectAfter) << "second first object";
    QTest::newRow("object before") << int(EventHookClient::Response::ObjectBefore) << "second object first";
}

void TestChannelWindow::hookOrdering()
{
    QFETCH(int, firstResponse);
    QFETCH(QString, order);
    HookLog log;
    LoggingWidget target(log);
    LoggingClient first(log, QStringLiteral("first"), EventHookClient::Response(firstResponse));
    // The later client's response does not count.
    LoggingClient second(log, QStringLiteral("second"), EventHookClient::Response::Consume);
    EventHooks hooks;
    QCOMPARE(hooks.attach(&first, &target, QEvent::Wheel), HookResult::Attached);
    QCOMPARE(hooks.attach(&second, &target, QEvent::Wheel), HookResult::Attached);
    wheel(&target, 120);
    QCOMPARE(log.entries.join(u' '), order);
}

void TestChannelWindow::hookRefusesSecondAttachment()
{
    HookLog log;
    auto target = std::make_unique<LoggingWidget>(log);
    LoggingClient client(log, QStringLiteral("client"), EventHookClient::Response::Consume);
    EventHooks hooks;
    QCOMPARE(hooks.attach(&client, target.get(), QEvent::Wheel), HookResult::Attached);
    QCOMPARE(hooks.attach(&client, target.get(), QEvent::Wheel), HookResult::AlreadyAttached);
    QCOMPARE(hooks.attach(&client, nullptr, QEvent::Wheel), HookResult::InvalidObject);
    QCOMPARE(hooks.clientCount(target.get(), QEvent::Wheel), 1);
    wheel(target.get(), -120);
    QCOMPARE(log.entries, QStringList{QStringLiteral("client")});

    // Detached, the object handles its own events again.
    log.entries.clear();
    hooks.detach(&client, target.get(), QEvent::Wheel);
    hooks.detach(&client, target.get(), QEvent::Wheel);   // not attached: nothing
    QVERIFY(!hooks.isHooked(target.get()));
    wheel(target.get(), -120);
    QCOMPARE(log.entries, QStringList{QStringLiteral("object")});

    // A destroyed object takes its attachments with it.
    QCOMPARE(hooks.attach(&client, target.get(), QEvent::Wheel), HookResult::Attached);
    QObject *gone = target.release();
    gone->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!hooks.isHooked(gone));
}

QTEST_MAIN(TestChannelWindow)
#include "tst_channel_window.moc"
