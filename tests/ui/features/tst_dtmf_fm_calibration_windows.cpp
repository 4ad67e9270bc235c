#include "features/calibration_window.h"
#include "features/dtmf_window.h"
#include "features/fm_window.h"
#include "common/twips.h"
#include "image/address_map.h"
#include "common/app_context.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTableView>
#include <QWheelEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace quillon;

namespace {

template <class T = QWidget>
T *child(QWidget *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Every caption, list entry, header and selection of a window, one
// "name: text" line each.
QStringList snapshot(QWidget *root)
{
    QStringList lines{root->windowTitle()};
    for (QWidget *w : root->findChildren<QWidget *>()) {
        const QString name = w->objectName() + QStringLiteral(": ");
        if (auto *label = qobject_cast<QLabel *>(w))
            lines << name + label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            lines << name + button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            lines << name + group->title();
        else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            lines << name + QString::number(combo->currentIndex());
            for (int i = 0; i < combo->count(); ++i)
                lines << name + combo->itemText(i);
        } else if (auto *table = qobject_cast<QTableView *>(w)) {
            for (int c = 0; c < table->model()->columnCount(); ++c)
                lines << name + table->model()->headerData(c, Qt::Horizontal).toString();
        } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            lines << name + QString::number(tabs->currentIndex());
            for (int i = 0; i < tabs->count(); ++i)
                lines << name + tabs->tabText(i);
        }
    }
    return lines;
}

} // namespace

class TestDtmfFmCalibrationWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dtmfKeyFilterAndLengths_data();
    void dtmfKeyFilterAndLengths();
    void pastedAndComposedText_data();
    void pastedAndComposedText();
    void dtmfPages();
    void dtmfShowsDecodeAndNewImage();

    void fmCellEdit_data();
    void fmCellEdit();
    void fmFrequencyModeRefused();
    void fmOkStoresCancelDoesNot();
    void fmEditorStaysOnItsCell();
    void fmRowsRepaintWhereChanged();
    void fmPendingEditsAreLeft();

    void calibrationSliders();
    void calibrationHiddenModes();

    void languageRoundTrip_data();
    void languageRoundTrip();

private:
    QWidget *open(QWidget *window);
    void decode(const QByteArray &bytes, int address);
    void clickCell(int row);
    QTableView *fmGrid() { return child<QTableView>(m_fm.get(), QStringLiteral("MSFGrid")); }
    QString cell(int row) { return fmGrid()->model()->index(row, 1).data().toString(); }

    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<DtmfWindow> m_dtmf;
    std::unique_ptr<FmRadioWindow> m_fm;
    std::unique_ptr<CalibrationWindow> m_calibration;
};

void TestDtmfFmCalibrationWindows::init()
{
    m_context = std::make_unique<AppContext>();
    m_context->document().setLanguage(Language::English);
    m_dtmf = std::make_unique<DtmfWindow>(*m_context);
    m_fm = std::make_unique<FmRadioWindow>(*m_context);
    m_calibration = std::make_unique<CalibrationWindow>(*m_context);
}

void TestDtmfFmCalibrationWindows::cleanup()
{
    m_dtmf.reset();
    m_fm.reset();
    m_calibration.reset();
    m_context.reset();
}

QWidget *TestDtmfFmCalibrationWindows::open(QWidget *window)
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("window did not become active");
    return window;
}

void TestDtmfFmCalibrationWindows::decode(const QByteArray &bytes, int address)
{
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, char(0xFF)));
    image.store(address, bytes);
    m_context->document().openImage(image);
}

void TestDtmfFmCalibrationWindows::clickCell(int row)
{
    QTableView *grid = fmGrid();
    const QModelIndex index = grid->model()->index(row, 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void TestDtmfFmCalibrationWindows::dtmfKeyFilterAndLengths_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("ANI start") << QStringLiteral("Text2") << 16;
    QTest::newRow("ANI end") << QStringLiteral("Text4") << 16;
    QTest::newRow("own code") << QStringLiteral("Text3") << 8;
    QTest::newRow("last memory") << QStringLiteral("Text1_7") << 16;
}

void TestDtmfFmCalibrationWindows::dtmfKeyFilterAndLengths()
{
    QFETCH(QString, field);
    QFETCH(int, maxLength);
    QWidget *w = open(m_dtmf.get());
    if (field.startsWith(u"Text1_"))
        QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Option1")), Qt::LeftButton);
    auto *edit = child<QLineEdit>(w, field);
    QTest::keyClicks(edit, QStringLiteral("12ab*#e"));
    QCOMPARE(edit->text(), QStringLiteral("12AB*#"));
    m_context->commitPendingEdits();
    const DtmfSettings &dtmf = m_context->workspace().dtmf;
    const QString stored = field == u"Text2" ? dtmf.aniStartCode
        : field == u"Text4"                  ? dtmf.aniEndCode
        : field == u"Text3"                  ? dtmf.ownCode
                                             : dtmf.memories[7];
    QCOMPARE(stored, QStringLiteral("12AB*#"));

    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("12AB*"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1234567890abcd*#1234"));
    QCOMPARE(edit->text(), QStringLiteral("1234567890ABCD*#").left(maxLength));
}

void TestDtmfFmCalibrationWindows::pastedAndComposedText_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("paste");   // else an input method commits the text
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");

    for (const bool paste : {true, false}) {
        const char *how = paste ? "pasted" : "composed";
        QTest::addRow("DTMF letters and a space, %s", how) << "Form2" << "Text2" << paste << "9xyz e" << "9";
        QTest::addRow("DTMF full-width digits, %s", how)
            << "Form2" << "Text2" << paste << QString::fromUtf8("１２中e") << "";
        QTest::addRow("DTMF past the own code's limit, %s", how)
            << "Form2" << "Text3" << paste << "1a2b3c4d5" << "1A2B3C4D";
        QTest::addRow("FM frequency mode, %s", how) << "Form5" << "Text2" << paste << "9a0" << "90";
    }
}

void TestDtmfFmCalibrationWindows::pastedAndComposedText()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(bool, paste);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QWidget *w = open(window == u"Form2" ? static_cast<QWidget *>(m_dtmf.get()) : m_fm.get());
    auto *edit = child<QLineEdit>(w, field);
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    if (paste) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(edit, &commit);
    }
    QCOMPARE(edit->text(), kept);
}

void TestDtmfFmCalibrationWindows::dtmfPages()
{
    QWidget *w = open(m_dtmf.get());
    QCOMPARE(w->size(), QSize(pixelsAcross(w, 5750), pixelsDown(w, 3600)));
    auto *other = child(w, QStringLiteral("OtherFeaturesPage"));
    QVERIFY(other->isVisible());

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Option1")), Qt::LeftButton);
    QVERIFY(!other->isVisible());
    QTRY_VERIFY(child(w, QStringLiteral("Text1_0"))->hasFocus());
    // Every memory lies fully inside the window, wide enough for 16 digits.
    for (int i = 0; i < 8; ++i) {
        auto *edit = child<QLineEdit>(w, QStringLiteral("Text1_%1").arg(i));
        QVERIFY(edit->isVisible());
        QVERIFY(w->rect().contains(QRect(edit->mapTo(w, QPoint(0, 0)), edit->size())));
        QVERIFY(edit->width() >= edit->fontMetrics().horizontalAdvance(QString(16, u'8')));
    }

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Option2")), Qt::LeftButton);
    QVERIFY(other->isVisible());
    QTRY_VERIFY(child(w, QStringLiteral("Combo16"))->hasFocus());
}

void TestDtmfFmCalibrationWindows::dtmfShowsDecodeAndNewImage()
{
    QWidget *w = open(m_dtmf.get());
    decode("123", kDtmfAniEndCode);
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("Text4"))->text(), QStringLiteral("123"));
    auto *delay = child<QComboBox>(w, QStringLiteral("Combo17"));
    delay->setFocus();
    QTest::keyClick(delay, Qt::Key_Down);
    QCOMPARE(m_context->workspace().dtmf.firstDigitDelay, 7);

    m_context->document().newImage();
    QCOMPARE(delay->currentIndex(), 6);
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("Text4"))->text(), QStringLiteral("123"));
}

void TestDtmfFmCalibrationWindows::fmCellEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");   // the cell held 90.00
    QTest::newRow("cut onto raster") << QStringLiteral("88.07") << QStringLiteral("88.05");
    QTest::newRow("keys filtered") << QStringLiteral("a8-8b") << QStringLiteral("88.00");
    QTest::newRow("refused") << QStringLiteral("107.97") << QStringLiteral("90.00");
}

void TestDtmfFmCalibrationWindows::fmCellEdit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QWidget *w = open(m_fm.get());
    auto *editor = child<QLineEdit>(w, QStringLiteral("Text1"));
    auto *message = child<QLabel>(w, QStringLiteral("Label2"));
    decode(QByteArray::fromHex("0118"), kFmChannels.address(20));   // 90.00

    clickCell(20);
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(editor->text(), QStringLiteral("90.00"));
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QCOMPARE(cell(20), shown);
    QCOMPARE(m_context->workspace().fm.store().channels[20], QStringLiteral("90.00"));   // not before OK

    const bool refused = shown == u"90.00";
    QCOMPARE(message->isVisible(), refused);
    if (refused) {
        QCOMPARE(message->text(), QStringLiteral("Beyond the scope of frequency(76-108), please input again."));
        QCOMPARE(message->x(), pixelsAcross(m_fm.get(), 3615));
        QTest::mouseClick(message, Qt::LeftButton);
        QVERIFY(!message->isVisible());
    }
}

void TestDtmfFmCalibrationWindows::fmFrequencyModeRefused()
{
    QWidget *w = open(m_fm.get());
    auto *box = child<QLineEdit>(w, QStringLiteral("Text2"));
    auto *message = child<QLabel>(w, QStringLiteral("Label2"));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("108"));
    QTest::keyClick(box, Qt::Key_Return);   // the focus goes to the grid
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(box->text(), QString());
    QVERIFY(message->isVisible());
    QCOMPARE(message->text(), QStringLiteral("Beyond the scope of frequency(76-107.95), please input again."));
    QCOMPARE(message->pos(), QPoint(pixelsAcross(w, 5600), pixelsDown(w, 100)));
}

void TestDtmfFmCalibrationWindows::fmOkStoresCancelDoesNot()
{
    QWidget *w = open(m_fm.get());
    Document &document = m_context->document();
    QCOMPARE(child<QComboBox>(w, QStringLiteral("Combo1_1"))->itemText(1), QStringLiteral("Frequency(MHz)"));
    clickCell(0);
    QTest::keyClicks(child<QLineEdit>(w, QStringLiteral("Text1")), QStringLiteral("90"));
    QTest::keyClick(child<QLineEdit>(w, QStringLiteral("Text1")), Qt::Key_Return);
    auto *present = child<QComboBox>(w, QStringLiteral("Combo1_0"));
    present->setFocus();
    QTest::keyClick(present, Qt::Key_End);

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(cell(0), QStringLiteral("90.00"));   // the grid keeps the edit
    QCOMPARE(document.encode().bytes(kFmChannels.start, 2).toHex(), QByteArray("ffff"));
    QCOMPARE(document.encode().at(kFmPresentChannel), 0);

    open(w);
    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(document.encode().bytes(kFmChannels.start, 2).toHex(), QByteArray("0118"));
    QCOMPARE(document.encode().at(kFmPresentChannel), 32);
}

void TestDtmfFmCalibrationWindows::fmEditorStaysOnItsCell()
{
    QWidget *w = open(m_fm.get());
    QTableView *grid = fmGrid();
    auto *editor = child<QLineEdit>(w, QStringLiteral("Text1"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(12, 1)).center());
    QTRY_VERIFY(editor->hasFocus());
    const int top = grid->verticalScrollBar()->value();

    // One notch of the wheel over the grid scrolls the rows and the editor alike.
    QWheelEvent wheel(QPointF(10, 10), grid->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid->viewport(), &wheel);
    QVERIFY(grid->verticalScrollBar()->value() > top);
    QCOMPARE(editor->geometry(), grid->visualRect(grid->model()->index(12, 1)));
    grid->verticalScrollBar()->setValue(top);
    QCOMPARE(editor->geometry(), grid->visualRect(grid->model()->index(12, 1)));

    QTest::keyClicks(editor, QStringLiteral("90"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(cell(12), QStringLiteral("90.00"));
    for (int row = 0; row < FmRadio::kChannels; ++row)
        QCOMPARE(cell(row).isEmpty(), row != 12);
}

void TestDtmfFmCalibrationWindows::fmRowsRepaintWhereChanged()
{
    open(m_fm.get());
    QSignalSpy repaint(fmGrid()->model(), &QAbstractItemModel::dataChanged);
    QByteArray channels(2 * FmRadio::kChannels, char(0xFF));
    channels.replace(2 * 4, 2, QByteArray::fromHex("0118"));    // channel 5: 90.00
    channels.replace(2 * 30, 2, QByteArray::fromHex("00f0"));   // channel 31: 88.00
    decode(channels, kFmChannels.start);
    QCOMPARE(repaint.count(), 2);
    QCOMPARE(repaint.at(0).at(0).toModelIndex().row(), 4);
    QCOMPARE(repaint.at(1).at(1).toModelIndex().row(), 30);
    QCOMPARE(cell(30), QStringLiteral("88.00"));

    repaint.clear();
    clickCell(4);
    auto *editor = child<QLineEdit>(m_fm.get(), QStringLiteral("Text1"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("88"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(repaint.count(), 1);
    QCOMPARE(repaint.at(0).at(0).toModelIndex(), repaint.at(0).at(1).toModelIndex());
    QCOMPARE(repaint.at(0).at(0).toModelIndex().row(), 4);
    QCOMPARE(cell(4), QStringLiteral("88.00"));
}

void TestDtmfFmCalibrationWindows::fmPendingEditsAreLeft()
{
    QWidget *w = open(m_fm.get());
    auto *box = child<QLineEdit>(w, QStringLiteral("Text2"));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QTest::keyClicks(box, QStringLiteral("88.07"));
    m_context->commitPendingEdits();
    QCOMPARE(box->text(), QStringLiteral("88.05"));
    QCOMPARE(m_context->workspace().fm.controls().frequencyModeText, QStringLiteral("88.05"));
    QVERIFY(box->hasFocus());
}

void TestDtmfFmCalibrationWindows::calibrationSliders()
{
    QWidget *w = open(m_calibration.get());
    m_context->notifyHiddenModeActivated(HiddenMode::Calibration);
    auto *slider = child<QSlider>(w, QStringLiteral("Slider1_1"));   // stored at 0x07F0
    auto *readout = child<QLabel>(w, QStringLiteral("Label3_1"));
    QCOMPARE(readout->text(), QStringLiteral("208"));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(readout->text(), QStringLiteral("214"));
    QCOMPARE(m_context->document().encode().at(0x07F0), 214);

    decode(QByteArray::fromHex("0a0b0c0d0e0f101112"), kCalibration);
    const int expected[] = {13, 10, 14, 15, 11, 16, 17, 12, 18};
    for (int k = 0; k < 9; ++k) {
        QCOMPARE(child<QSlider>(w, QStringLiteral("Slider1_%1").arg(k))->value(), expected[k]);
        QCOMPARE(child<QLabel>(w, QStringLiteral("Label3_%1").arg(k))->text(), QString::number(expected[k]));
    }
}

void TestDtmfFmCalibrationWindows::calibrationHiddenModes()
{
    QWidget *w = m_calibration.get();
    auto enabled = [w](int k) { return child(w, QStringLiteral("Slider1_%1").arg(k))->isEnabled(); };
    QVERIFY(!enabled(0) && !enabled(8));
    m_context->notifyHiddenModeActivated(HiddenMode::ForcedWrite);
    QVERIFY(!enabled(0));
    m_context->notifyHiddenModeActivated(HiddenMode::Calibration);
    for (int k = 0; k < 9; ++k)
        QVERIFY(enabled(k));
    // The toolbar lock disables the first three sliders only.
    m_context->notifyHiddenModeLocked(HiddenMode::Calibration);
    for (int k = 0; k < 9; ++k)
        QCOMPARE(enabled(k), k >= 3);
}

void TestDtmfFmCalibrationWindows::languageRoundTrip_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("DTMF") << QStringLiteral("Form2");
    QTest::newRow("calibration") << QStringLiteral("Form4");
    QTest::newRow("FM radio") << QStringLiteral("Form5");
}

void TestDtmfFmCalibrationWindows::languageRoundTrip()
{
    QFETCH(QString, window);
    EditorWindow *w = m_dtmf.get();
    TextTable table = dtmfWindowTexts();
    if (window == u"Form4") {
        w = m_calibration.get();
        table = calibrationWindowTexts();
    } else if (window == u"Form5") {
        w = m_fm.get();
        table = fmWindowTexts();
    }
    // Selections must survive the switches.
    for (QComboBox *combo : w->findChildren<QComboBox *>())
        combo->setCurrentIndex(combo->count() - 1);
    for (QTabWidget *tabs : w->findChildren<QTabWidget *>())
        tabs->setCurrentIndex(2);
    w->applyLanguage();
    const QStringList english = snapshot(w);

    m_context->document().setLanguage(Language::Chinese);
    w->applyLanguage();
    const QStringList chinese = snapshot(w);
    for (const TextRow &row : table) {
        QStringList names{row.objectName()};
        if (row.role != TextRole::WindowTitle && !w->findChild<QObject *>(row.objectName())) {
            names.clear();   // a row naming a whole control array
            for (int k = 0; k < 9; ++k)
                names << row.objectName() + u'_' + QString::number(k);
        }
        for (const QString &name : names) {
            const QString line = row.role == TextRole::WindowTitle ? row.text.zh : name + QStringLiteral(": ") + row.text.zh;
            QVERIFY2(chinese.contains(line), qPrintable(line));
        }
    }

    m_context->document().setLanguage(Language::English);
    w->applyLanguage();
    QCOMPARE(snapshot(w), english);
}

QTEST_MAIN(TestDtmfFmCalibrationWindows)
#include "tst_dtmf_fm_calibration_windows.moc"
