#include "support/widget_fixture.h"

#include "channels/channel_window.h"
#include "document/channel_edits.h"
#include "files/dat_file.h"
#include "files/file_commands.h"
#include "i18n/edit_texts.h"
#include "image/address_map.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kRow1 = QStringLiteral("446.00625\t441.00625\t100.0\tD050N\tMiddle\tOff\tOn\tWide\tOff\tOff\tRPT\n");
const QString kRow2 = QStringLiteral("462.56250\t462.56250\tOff\tOff\tHigh\tOff\tOff\tNarror\tOff\tOff\t\n");

// Band 400-470MHz with channels 1..3 filled, as the model's operations
// leave them (the gestures under test come afterwards).
void fill(Document &document)
{
    document.newImage();
    document.commitFrequency(1, kColumnRx, QStringLiteral("446.00625"));
    document.commitFrequency(1, kColumnTx, QStringLiteral("441.00625"));
    document.chooseTone(1, kColumnRxTone, 13);    // 100.0
    document.chooseTone(1, kColumnTxTone, 60);    // D050N
    document.chooseOption(1, kColumnPower, 2);
    document.commitName(1, QStringLiteral("RPT"));
    document.commitFrequency(2, kColumnRx, QStringLiteral("462.5625"));
    document.chooseOption(2, kColumnBandwidth, 0);
    document.chooseOption(2, kColumnScanAdd, 0);
    document.commitFrequency(3, kColumnRx, QStringLiteral("433.5"));
    document.commitName(3, QStringLiteral("CALL"));
}

// The record and the name of a channel in a saved file.
QByteArray savedChannel(const QByteArray &file, int channel)
{
    return file.mid(kDatHeaderSize + kChannelRecords.address(channel - 1), 13)
        + file.mid(kDatHeaderSize + kChannelNames.address(channel - 1), 8);
}

QByteArray saved(Document &document)
{
    return datFileBytes(document.encode());
}

} // namespace

class TestChannelEditing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void numbersPickChannels();
    void shiftArrowsMakeBlocks();
    void numbersNeverCurrent();
    void selectionOverRowColours();
    void copyAndPasteThroughTheClipboard();
    void pasteAcrossLanguages();
    void pasteOverTheBandEdge();
    void oneValueFillsTheSelection();
    void rowToolsUndoAndRedo();
    void insertRefusedAndMovesAtTheEdges();
    void textFieldsKeepTheirKeys();
    void typingOpensTheEditor();
    void escapeDiscards();
    void closedEditorsKeepTheirCell();
    void contextMenu();
    void editMenuOfTheMainWindow();
    void modifiedMarker();

private:
    template<typename T> T *control(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    ChannelGrid *grid() const { return m_window->grid(); }
    QLineEdit *frequencyBox() const { return control<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit *nameBox() const { return control<QLineEdit>(QStringLiteral("Text2")); }
    QAction *tool(const char *name) const { return control<QAction>(QLatin1String(name)); }
    Document &document() { return m_context->document(); }
    const ChannelSheet &sheet() const { return m_context->workspace().channels; }
    void click(int channel, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    QModelIndex cell(int channel, int column) const { return grid()->model()->index(channel - 1, column); }
    // Puts the current cell on (channel, column) with the keyboard, which
    // opens no editor.
    void goTo(int channel, int column);

    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<ChannelWindow> m_window;
    QList<ShownMessage> m_messages;
};

void TestChannelEditing::initTestCase()
{
    // For the main window's tests: no serial device, no stored language.
    static QTemporaryDir config;
    QVERIFY(config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("QUILLON_SERIAL_PORTS", QByteArrayLiteral("/nonexistent/quillon-tty"));
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestChannelEditing::init()
{
    m_messages.clear();
    m_context = std::make_unique<AppContext>();
    m_context->setResponder([this](const QString &text, int style, const QString &caption) {
        m_messages.append({text, style, caption});
        return kAnswerOk;
    });
    document().setLanguage(Language::English);
    fill(document());
    m_window = std::make_unique<ChannelWindow>(*m_context);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QGuiApplication::clipboard()->clear();
}

void TestChannelEditing::cleanup()
{
    m_window.reset();
    m_context.reset();
}

void TestChannelEditing::click(int channel, int column, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    const QModelIndex index = cell(channel, column);
    grid()->scrollTo(index);
    QTest::mouseClick(grid()->viewport(), button, modifiers, grid()->visualRect(index).center());
}

void TestChannelEditing::goTo(int channel, int column)
{
    grid()->setFocus();
    QTRY_VERIFY(grid()->hasFocus());
    key(Qt::Key_Home, Qt::ControlModifier);
    for (int c = 1; c < channel; ++c)
        key(Qt::Key_Down);
    for (int c = kColumnRx; c < column; ++c)
        key(Qt::Key_Right);
    QCOMPARE(grid()->currentIndex(), cell(channel, column));
}

void TestChannelEditing::numbersPickChannels()
{
    click(3, kColumnNumber);
    QVERIFY(frequencyBox()->isHidden());
    QCOMPARE(grid()->selectedChannels(), QList<int>{3});
    QVERIFY(grid()->wholeChannelsSelected());
    QCOMPARE(grid()->currentIndex(), cell(3, kColumnRx));

    // Shift and Ctrl shape the selection and open nothing, on empty rows too.
    click(6, kColumnNumber, Qt::ShiftModifier);
    QCOMPARE(grid()->selectedChannels(), (QList<int>{3, 4, 5, 6}));
    click(9, kColumnNumber, Qt::ControlModifier);
    click(4, kColumnNumber, Qt::ControlModifier);
    QCOMPARE(grid()->selectedChannels(), (QList<int>{3, 5, 6, 9}));
    QVERIFY(grid()->wholeChannelsSelected());
    QVERIFY(frequencyBox()->isHidden());

    // A drag from a number never extends the pick.
    click(1, kColumnNumber);
    const QPoint from = grid()->visualRect(cell(1, kColumnNumber)).center();
    const QPoint to = grid()->visualRect(cell(3, kColumnRx)).center();
    QTest::mousePress(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent drag(QEvent::MouseMove, to, grid()->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid()->viewport(), &drag);
    QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(grid()->selectedChannels(), QList<int>{1});

    // The number of an empty row picks it and opens its receive editor.
    click(20, kColumnNumber);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QCOMPARE(grid()->selectedChannels(), QList<int>{20});
    QVERIFY(grid()->wholeChannelsSelected());
    QTest::keyClick(frequencyBox(), Qt::Key_Return);

    // A click on a cell selects that cell alone and opens its editor, as before.
    click(3, kColumnName, Qt::ShiftModifier);
    QTRY_VERIFY(nameBox()->hasFocus());
    QCOMPARE(grid()->selectionModel()->selectedIndexes(), QModelIndexList{cell(3, kColumnName)});
}

void TestChannelEditing::shiftArrowsMakeBlocks()
{
    goTo(2, kColumnTx);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(grid()->currentIndex(), cell(4, kColumnRxTone));
    const QList<CellBlock> blocks = grid()->selectedBlocks();
    QCOMPARE(blocks.size(), 1);
    QCOMPARE(blocks[0].firstChannel, 2);
    QCOMPARE(blocks[0].lastChannel, 4);
    QCOMPARE(blocks[0].firstColumn, int(kColumnTx));
    QCOMPARE(blocks[0].lastColumn, int(kColumnRxTone));
    QCOMPARE(grid()->selectionModel()->selectedIndexes().size(), 6);
    QVERIFY(!grid()->wholeChannelsSelected());
    QVERIFY(frequencyBox()->isHidden());
    // Back over the start: the block turns round its first cell.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(grid()->boundingBlock().firstChannel, 1);
    QCOMPARE(grid()->boundingBlock().lastChannel, 2);
    // A plain arrow ends the block.
    key(Qt::Key_Down);
    QCOMPARE(grid()->selectionModel()->selectedIndexes(), QModelIndexList{cell(2, kColumnRxTone)});

    // From a picked number, Shift+Down adds whole channels.
    click(3, kColumnNumber);
    key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid()->selectedChannels(), (QList<int>{3, 4}));
    QVERIFY(grid()->wholeChannelsSelected());
}

void TestChannelEditing::numbersNeverCurrent()
{
    // The focus arriving on a grid without a current cell.
    QTRY_VERIFY(grid()->hasFocus());
    QCOMPARE(grid()->currentIndex(), cell(1, kColumnRx));
    goTo(5, kColumnRx);
    for (int k : {int(Qt::Key_Left), int(Qt::Key_Home)}) {
        key(k);
        QCOMPARE(grid()->currentIndex(), cell(5, kColumnRx));
    }
    key(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid()->currentIndex(), cell(1, kColumnRx));
    goTo(5, kColumnRx);
    key(Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(grid()->currentIndex(), cell(5, kColumnRx));
    QVERIFY(!grid()->selectionModel()->isSelected(cell(5, kColumnNumber)));
    // Backwards past the first field: the last field of the channel above.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(grid()->currentIndex(), cell(4, kColumnName));
    key(Qt::Key_Tab);
    QCOMPARE(grid()->currentIndex(), cell(5, kColumnRx));
    // Not even the program can make a number current.
    grid()->setCurrentIndex(cell(7, kColumnNumber));
    QCOMPARE(grid()->currentIndex(), cell(7, kColumnRx));
    // The view's own search as one types is off: a letter on a tone moves nothing.
    goTo(3, kColumnTxTone);
    QTest::keyClicks(grid(), QStringLiteral("7d"));
    QCOMPARE(grid()->currentIndex(), cell(3, kColumnTxTone));
}

void TestChannelEditing::selectionOverRowColours()
{
    const auto colourAt = [this](int channel) {
        const QImage image = grid()->viewport()->grab().toImage();
        const QRect rect = grid()->visualRect(cell(channel, kColumnRxTone));
        return QColor(image.pixel(rect.left() + 3, rect.top() + 3));
    };
    const QColor oddPlain = colourAt(5);
    const QColor evenPlain = colourAt(6);
    QCOMPARE(evenPlain, QColor(0xC0, 0xC0, 0xFF));
    click(5, kColumnNumber);
    click(6, kColumnNumber, Qt::ShiftModifier);
    const QColor oddSelected = colourAt(5);
    const QColor evenSelected = colourAt(6);
    QVERIFY(oddSelected != oddPlain);
    QVERIFY(evenSelected != evenPlain);
    // The row colour still shows: two selected rows of different colours differ.
    QVERIFY(evenSelected != oddSelected);
    QVERIFY(evenSelected.blue() > evenSelected.red());
}

void TestChannelEditing::copyAndPasteThroughTheClipboard()
{
    // A block of cells, made with the keyboard.
    goTo(1, kColumnRx);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("446.00625\t441.00625\t100.0\n462.56250\t462.56250\tOff\n"));

    // Whole channels, columns 1 to 11.
    click(1, kColumnNumber);
    click(2, kColumnNumber, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), kRow1 + kRow2);

    // Pasted into an open editor of an empty row: the editor closes without
    // its text and the rows land at its cell.
    click(60, kColumnNumber);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("450"));
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(frequencyBox()->isHidden());
    QVERIFY(grid()->hasFocus());
    // Pasted on the grid at the current cell.
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Down);
    QCOMPARE(grid()->currentIndex(), cell(64, kColumnRx));
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(m_messages.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pasted.dat"));
    QCOMPARE(saveDatFile(path, document().encode()).status, DatStatus::Ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (int target : {60, 64}) {
        QCOMPARE(savedChannel(bytes, target).toHex(), savedChannel(bytes, 1).toHex());
        QCOMPARE(savedChannel(bytes, target + 1).toHex(), savedChannel(bytes, 2).toHex());
    }
    QVERIFY(sheet().row(62).rxText.isEmpty());
}

void TestChannelEditing::pasteAcrossLanguages()
{
    click(1, kColumnNumber);
    click(2, kColumnNumber, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);

    document().setLanguage(Language::Chinese);
    m_window->applyLanguage();
    goTo(10, kColumnRx);   // an empty row: a keyboard walk there opens nothing
    QCOMPARE(QGuiApplication::clipboard()->text(), kRow1 + kRow2);
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(sheet().cell(11, kColumnBandwidth), QStringLiteral("窄带"));

    click(1, kColumnNumber);
    click(2, kColumnNumber, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("关闭")));
    document().setLanguage(Language::English);
    m_window->applyLanguage();
    goTo(20, kColumnRx);
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(m_messages.isEmpty());

    const QByteArray bytes = saved(document());
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(savedChannel(bytes, 10 + i).toHex(), savedChannel(bytes, 1 + i).toHex());
        QCOMPARE(savedChannel(bytes, 20 + i).toHex(), savedChannel(bytes, 1 + i).toHex());
    }
}

void TestChannelEditing::pasteOverTheBandEdge()
{
    const QByteArray before = saved(document());
    QGuiApplication::clipboard()->setText(QStringLiteral("469.99375\t469.99375\t67.0\r\n"
                                                         "470\t450\t67.0\r\n"
                                                         "399.99\t450\tOff\r\n"));
    goTo(20, kColumnRx);
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].text,
             QStringLiteral("These were not pasted:\nChannel 21: 470 is outside the band 400-470MHz\n"
                            "Channel 22: 399.99 is outside the band 400-470MHz"));
    QCOMPARE(m_messages[0].style, kStyleOk);
    QCOMPARE(m_messages[0].caption, QString::fromLatin1(kApplicationTitle));   // an empty caption
    QCOMPARE(sheet().cell(20, kColumnRxTone), QStringLiteral("67.0"));
    QVERIFY(sheet().isBlank(21));
    QVERIFY(sheet().isBlank(22));
    QVERIFY(sheet().isBlank(23));   // the trailing line end added no row
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(saved(document()), before);
}

void TestChannelEditing::oneValueFillsTheSelection()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("low\n"));
    goTo(1, kColumnPower);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    const int steps = document().undoCount();
    key(Qt::Key_V, Qt::ControlModifier);
    for (int channel = 1; channel <= 3; ++channel)
        QCOMPARE(sheet().cell(channel, kColumnPower), QStringLiteral("Low"));
    QCOMPARE(document().undoCount(), steps + 1);
    QVERIFY(m_messages.isEmpty());

    // Fill down: the first selected channel's value of the current column.
    goTo(1, kColumnTxTone);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    tool("MNFillDown")->trigger();
    for (int channel = 2; channel <= 3; ++channel)
        QCOMPARE(sheet().cell(channel, kColumnTxTone), QStringLiteral("D050N"));
}

void TestChannelEditing::rowToolsUndoAndRedo()
{
    QAction *undo = tool("MNUndo");
    QAction *redo = tool("MNRedo");
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    const QByteArray start = saved(document());

    // Delete on the grid empties the selected channels.
    click(1, kColumnNumber);
    click(2, kColumnNumber, Qt::ShiftModifier);
    key(Qt::Key_Delete);
    QVERIFY(sheet().isBlank(1) && sheet().isBlank(2));
    const QByteArray cleared = saved(document());
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(saved(document()), start);
    QVERIFY(redo->isEnabled());
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(saved(document()), cleared);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(saved(document()), cleared);
    key(Qt::Key_Z, Qt::ControlModifier);

    // Cut copies, then empties the channels.
    click(3, kColumnNumber);
    key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("433.50000\t433.50000\tOff\tOff\tHigh\tOff\tOn\tWide\tOff\tOff\tCALL\n"));
    QVERIFY(sheet().isBlank(3));
    key(Qt::Key_Z, Qt::ControlModifier);

    // Remove, insert and sort, each taken back by one undo.
    const auto check = [&](const char *name, const std::function<bool()> &effect) {
        tool(name)->trigger();
        QVERIFY2(effect(), name);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(saved(document()), start);
    };
    click(1, kColumnNumber);
    check("MNRemoveChannel", [&] { return sheet().row(1).rxText == QStringLiteral("462.56250"); });
    check("MNInsertChannel", [&] { return sheet().isBlank(1) && sheet().row(4).name == QStringLiteral("CALL"); });
    check("MNSortByFrequency", [&] { return sheet().row(1).name == QStringLiteral("CALL"); });
    // Undone all the way, the history has nothing left but the steps of fill().
    while (undo->isEnabled())
        undo->trigger();
    QVERIFY(!document().canUndo());
    QVERIFY(sheet().isBlank(1));
}

void TestChannelEditing::insertRefusedAndMovesAtTheEdges()
{
    document().commitFrequency(128, kColumnRx, QStringLiteral("440"));
    const QByteArray before = saved(document());
    const int steps = document().undoCount();
    goTo(5, kColumnRx);
    tool("MNInsertChannel")->trigger();
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].text, edit_text::kInsertRefused.en);
    QCOMPARE(m_messages[0].style, kStyleExclamation);

    click(1, kColumnNumber);
    key(Qt::Key_Up, Qt::ControlModifier);
    click(128, kColumnNumber);
    key(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(saved(document()), before);
    QCOMPARE(document().undoCount(), steps);
    QCOMPARE(grid()->selectedChannels(), QList<int>{128});

    // A block moves as one and the selection goes along.
    click(1, kColumnNumber);
    click(2, kColumnNumber, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(grid()->selectedChannels(), (QList<int>{3, 4}));
    QCOMPARE(sheet().row(1).name, QStringLiteral("CALL"));
    QCOMPARE(sheet().row(3).name, QStringLiteral("RPT"));
    QVERIFY(sheet().isBlank(2));
    key(Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(grid()->selectedChannels(), (QList<int>{2, 3}));
    QCOMPARE(sheet().row(2).name, QStringLiteral("RPT"));
}

void TestChannelEditing::textFieldsKeepTheirKeys()
{
    const int steps = document().undoCount();
    click(3, kColumnName);
    QLineEdit *editor = nameBox();
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClicks(editor, QStringLiteral("X"));
    QCOMPARE(editor->text(), QStringLiteral("CALLX"));
    key(Qt::Key_Z, Qt::ControlModifier);   // the field's own undo
    QCOMPARE(editor->text(), QStringLiteral("CALL"));
    QCOMPARE(document().undoCount(), steps);
    editor->selectAll();
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("CALL"));
    key(Qt::Key_X, Qt::ControlModifier);
    QVERIFY(editor->text().isEmpty());
    QVERIFY(editor->isVisible());
    QCOMPARE(sheet().row(3).name, QStringLiteral("CALL"));

    // One value goes into the editor through its rule; a copied cell's line end is no second cell.
    QGuiApplication::clipboard()->setText(QStringLiteral("rpt 2!\n"));
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor->text(), QStringLiteral("RPT2"));
    QVERIFY(editor->isVisible());
    // The Edit menu's Paste goes where its key would.
    editor->clear();
    tool("MNPaste")->trigger();
    QCOMPARE(editor->text(), QStringLiteral("RPT2"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(sheet().row(3).name, QStringLiteral("RPT2"));
    // The grid's tools do not act while a field has the focus.
    click(3, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Delete);
    QCOMPARE(sheet().row(3).name, QStringLiteral("RPT2"));
    QVERIFY(frequencyBox()->hasFocus());
}

void TestChannelEditing::typingOpensTheEditor()
{
    goTo(3, kColumnRx);
    QTest::keyClicks(grid(), QStringLiteral("4"));
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QCOMPARE(frequencyBox()->text(), QStringLiteral("4"));
    QTest::keyClicks(frequencyBox(), QStringLiteral("45.5"));
    QTest::keyClick(frequencyBox(), Qt::Key_Return);
    QCOMPARE(sheet().row(3).rxText, QStringLiteral("445.50000"));
    QCOMPARE(sheet().row(3).name, QStringLiteral("CALL"));

    // The name column takes its letters raised; a refused key opens nothing.
    goTo(3, kColumnName);
    QTest::keyClicks(grid(), QStringLiteral(" "));
    QVERIFY(nameBox()->isHidden());
    QTest::keyClicks(grid(), QStringLiteral("b"));
    QTRY_VERIFY(nameBox()->hasFocus());
    QCOMPARE(nameBox()->text(), QStringLiteral("B"));
    QTest::keyClick(nameBox(), Qt::Key_Return);
    QCOMPARE(sheet().row(3).name, QStringLiteral("B"));
    goTo(3, kColumnTx);
    QTest::keyClicks(grid(), QStringLiteral("x"));
    QVERIFY(frequencyBox()->isHidden());

    // A tone cell opens nothing; on an empty row the receive editor starts.
    goTo(3, kColumnRxTone);
    QTest::keyClicks(grid(), QStringLiteral("6"));
    QVERIFY(frequencyBox()->isHidden());
    QVERIFY(control<QComboBox>(QStringLiteral("Combo1"))->isHidden());
    key(Qt::Key_Down);
    QCOMPARE(grid()->currentIndex(), cell(4, kColumnRxTone));
    QTest::keyClicks(grid(), QStringLiteral("4"));
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QCOMPARE(grid()->currentIndex(), cell(4, kColumnRx));
    QCOMPARE(frequencyBox()->text(), QStringLiteral("4"));
}

void TestChannelEditing::escapeDiscards()
{
    const QByteArray before = saved(document());
    const int steps = document().undoCount();
    for (int column : {int(kColumnRx), int(kColumnName)}) {
        click(3, column);
        QLineEdit *editor = column == kColumnRx ? frequencyBox() : nameBox();
        QTRY_VERIFY(editor->hasFocus());
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);   // an erased receive frequency would delete the channel
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(editor->isHidden());
        QVERIFY(grid()->hasFocus());
        QCOMPARE(grid()->currentIndex(), cell(3, column));
    }
    m_context->commitPendingEdits();
    QCOMPARE(saved(document()), before);
    QCOMPARE(document().undoCount(), steps);
}

// An editor that closes while it has the focus hands it to the grid
// without the grid stepping on as a Tab would.
void TestChannelEditing::closedEditorsKeepTheirCell()
{
    auto *list = control<QComboBox>(QStringLiteral("Combo1"));
    click(3, kColumnRxTone);
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QTRY_VERIFY(list->isHidden());
    QCOMPARE(sheet().row(3).rxToneIndex, 1);
    QVERIFY(grid()->hasFocus());
    QCOMPARE(grid()->currentIndex(), cell(3, kColumnRxTone));

    // Save and the transfers commit an editor that still has the focus.
    click(4, kColumnRx);
    QTRY_VERIFY(frequencyBox()->hasFocus());
    QTest::keyClicks(frequencyBox(), QStringLiteral("440"));
    m_context->commitPendingEdits();
    QVERIFY(frequencyBox()->isHidden());
    QCOMPARE(sheet().row(4).rxText, QStringLiteral("440.00000"));
    QVERIFY(grid()->hasFocus());
    QCOMPARE(grid()->currentIndex(), cell(4, kColumnRx));
}

void TestChannelEditing::contextMenu()
{
    click(2, kColumnNumber);
    click(3, kColumnRxTone, Qt::NoModifier, Qt::RightButton);
    QVERIFY(control<QComboBox>(QStringLiteral("Combo1"))->isHidden());
    auto *menu = control<QMenu>(QStringLiteral("GridMenu"));
    const QPoint at = grid()->visualRect(cell(3, kColumnRxTone)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid()->viewport(), &event);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions(), m_window->editActions());
    QStringList names;
    for (QAction *action : menu->actions())
        names << action->objectName() + u'=' + action->text();
    QCOMPARE(names.join(u' '),
             QStringLiteral("MNUndo=Undo MNRedo=Redo MNCut=Cut MNCopy=Copy MNPaste=Paste "
                            "MNDeleteChannels=Delete channels MNInsertChannel=Insert empty channel "
                            "MNRemoveChannel=Remove channel MNMoveUp=Move up MNMoveDown=Move down "
                            "MNSortByFrequency=Sort by receive frequency MNFillDown=Fill down"));
    // The menu acts on the selection the right click left as it was.
    menu->setActiveAction(tool("MNCopy"));
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(QGuiApplication::clipboard()->text(), kRow2);
    QVERIFY(frequencyBox()->isHidden());
}

void TestChannelEditing::editMenuOfTheMainWindow()
{
    Harness h;
    QStringList items;
    for (QAction *action : h.find<QMenu>("MNEdit")->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(items.join(u' '),
             QStringLiteral("MNModel MNDTMF MNOption MNDebug MNFMset - MNUndo MNRedo MNCut MNCopy MNPaste "
                            "MNDeleteChannels MNInsertChannel MNRemoveChannel MNMoveUp MNMoveDown "
                            "MNSortByFrequency MNFillDown"));
    QCOMPARE(h.find<QAction>("MNRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QCOMPARE(h.find<QAction>("MNMoveUp")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Up")));
    QCOMPARE(h.find<QAction>("MNUndo")->isEnabled(), h.document().canUndo());

    // The texts follow the language.
    h.window->switchLanguage(Language::Chinese);
    QCOMPARE(h.find<QAction>("MNSortByFrequency")->text(), QStringLiteral("按接收频率排序"));
    h.window->switchLanguage(Language::English);
    QCOMPARE(h.find<QAction>("MNSortByFrequency")->text(), QStringLiteral("Sort by receive frequency"));

    // Ctrl+Z in another window's text field stays in the field.
    h.document().commitName(1, QStringLiteral("ONE"));
    const int steps = h.document().undoCount();
    h.window->showEditor(3);
    QLineEdit *field = nullptr;
    for (QLineEdit *candidate : h.window->editor(3)->findChildren<QLineEdit *>()) {
        if (candidate->isVisible() && candidate->isEnabled() && !candidate->isReadOnly()) {
            field = candidate;
            break;
        }
    }
    QVERIFY(field);
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(h.document().undoCount(), steps);
    // Elsewhere in the frame it is the program's undo.
    h.window->showEditor(1);
    auto *grid = h.window->editor(1)->findChild<QTableView *>(QStringLiteral("Grid1"));
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(h.document().undoCount(), steps - 1);
    QVERIFY(h.ws().channels.row(1).name.isEmpty());
}

void TestChannelEditing::modifiedMarker()
{
    Harness h;
    h.takeMessages();
    auto *marker = h.find<QLabel>("PanelModified");
    QVERIFY(marker);
    QVERIFY(!marker->isVisible());

    h.document().selectBand(3);
    h.document().commitFrequency(1, kColumnRx, QStringLiteral("440"));
    QVERIFY(marker->isVisible());
    QCOMPARE(marker->text(), QStringLiteral("Modified"));
    h.window->switchLanguage(Language::Chinese);
    QCOMPARE(marker->text(), QStringLiteral("已修改"));
    h.window->switchLanguage(Language::English);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("marked.dat"));
    h.window->fileCommands().setFileChooser([&](FileDialogKind, const QString &) { return path; });
    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(path));
    QVERIFY(!marker->isVisible());

    h.document().commitName(1, QStringLiteral("A"));
    QVERIFY(marker->isVisible());
    auto *grid = h.window->editor(1)->findChild<QTableView *>(QStringLiteral("Grid1"));
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!marker->isVisible());
    // Further back than the saved point is a change again, and no question is asked.
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(marker->isVisible());
    QVERIFY(h.takeMessages().isEmpty());
}

QTEST_MAIN(TestChannelEditing)
#include "tst_channel_editing.moc"
