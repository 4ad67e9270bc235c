#include "features/calibration_window.h"
#include "features/dtmf_window.h"
#include "features/fm_window.h"
#include "features/twips.h"
#include "i18n/apply_language.h"
#include "image/address_map.h"
#include "shell/app_context.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace quillon;

namespace {

template <class T>
T *child(QWidget *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The text a row of a language table sets, as the window shows it.
QString shownText(QWidget *root, const TextRow &row, const QString &name)
{
    if (row.role == TextRole::WindowTitle)
        return root->windowTitle();
    QObject *object = root->findChild<QObject *>(name);
    switch (row.role) {
    case TextRole::Caption:
        if (auto *label = qobject_cast<QLabel *>(object))
            return label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(object))
            return button->text();
        if (auto *group = qobject_cast<QGroupBox *>(object))
            return group->title();
        break;
    case TextRole::ListEntry:
        if (auto *combo = qobject_cast<QComboBox *>(object))
            return combo->itemText(row.index);
        break;
    case TextRole::Header:
        if (auto *table = qobject_cast<QTableWidget *>(object))
            return table->horizontalHeaderItem(row.index)->text();
        break;
    case TextRole::Tab:
        if (auto *tabs = qobject_cast<QTabWidget *>(object))
            return tabs->tabText(row.index);
        break;
    default:
        break;
    }
    return QStringLiteral("<missing %1>").arg(name);
}

// Every caption, list entry, header and selection a window shows.
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
        } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
            for (int c = 0; c < table->columnCount(); ++c)
                lines << name + table->horizontalHeaderItem(c)->text();
        } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            lines << name + QString::number(tabs->currentIndex());
            for (int i = 0; i < tabs->count(); ++i)
                lines << name + tabs->tabText(i);
        }
    }
    return lines;
}

MemoryImage erasedImage()
{
    return MemoryImage::fromByteArray(QByteArray(kImageSize, char(0xFF)));
}

} // namespace

class TestDtmfFmCalibrationWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dtmfKeyFilterAndLengths_data();
    void dtmfKeyFilterAndLengths();
    void dtmfPages();
    void dtmfShowsDecodeAndNewImage();

    void fmCellEdit_data();
    void fmCellEdit();
    void fmMessageClickHides();
    void fmFrequencyModeLeave_data();
    void fmFrequencyModeLeave();
    void fmOkStoresCancelDoesNot();
    void fmShowsDecodedImage();

    void calibrationSliders();
    void calibrationHiddenModes();

    void languageRoundTrip_data();
    void languageRoundTrip();

private:
    template <class W>
    W *open();
    QTableWidget *grid() { return child<QTableWidget>(m_fm.get(), QStringLiteral("MSFGrid")); }
    void clickCell(int row);

    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<DtmfWindow> m_dtmf;
    std::unique_ptr<FmRadioWindow> m_fm;
    std::unique_ptr<CalibrationWindow> m_calibration;
};

void TestDtmfFmCalibrationWindows::init()
{
    m_context = std::make_unique<AppContext>();
    m_context->workspace().language = kEnglish;
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

template <class W>
W *TestDtmfFmCalibrationWindows::open()
{
    W *window = nullptr;
    if constexpr (std::is_same_v<W, DtmfWindow>)
        window = m_dtmf.get();
    else if constexpr (std::is_same_v<W, FmRadioWindow>)
        window = m_fm.get();
    else
        window = m_calibration.get();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("window did not become active");
    return window;
}

void TestDtmfFmCalibrationWindows::clickCell(int row)
{
    QTableWidget *table = grid();
    table->scrollToItem(table->item(row, 1));
    const QRect cell = table->visualRect(table->model()->index(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

// ---- DTMF ----------------------------------------------------------------

void TestDtmfFmCalibrationWindows::dtmfKeyFilterAndLengths_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("ANI start") << QStringLiteral("Text2") << 16;
    QTest::newRow("ANI end") << QStringLiteral("Text4") << 16;
    QTest::newRow("own code") << QStringLiteral("Text3") << 8;
    QTest::newRow("first memory") << QStringLiteral("Text1_0") << 16;
    QTest::newRow("last memory") << QStringLiteral("Text1_7") << 16;
}

void TestDtmfFmCalibrationWindows::dtmfKeyFilterAndLengths()
{
    QFETCH(QString, field);
    QFETCH(int, maxLength);
    DtmfWindow *w = open<DtmfWindow>();
    if (field.startsWith(u"Text1_"))
        QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Option1")), Qt::LeftButton);
    auto *edit = child<QLineEdit>(w, field);
    QVERIFY(edit->isVisible());

    QTest::keyClicks(edit, QStringLiteral("12ab*#e"));
    QCOMPARE(edit->text(), QStringLiteral("12AB*#"));
    const DtmfSettings &dtmf = m_context->workspace().dtmf;
    const QString stored = field == u"Text2" ? dtmf.aniStartCode
        : field == u"Text4"                  ? dtmf.aniEndCode
        : field == u"Text3"                  ? dtmf.ownCode
                                             : dtmf.memories[field.back().digitValue()];
    QCOMPARE(stored, QStringLiteral("12AB*#"));

    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("12AB*"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1234567890abcd*#1234"));
    QCOMPARE(edit->text(), QStringLiteral("1234567890ABCD*#").left(maxLength));
}

void TestDtmfFmCalibrationWindows::dtmfPages()
{
    DtmfWindow *w = open<DtmfWindow>();
    QCOMPARE(w->windowTitle(), QString::fromUtf8("DTMF(双音多频)"));
    QCOMPARE(w->size(), QSize(twips(5750), twips(3600)));
    auto *other = child<QWidget>(w, QStringLiteral("OtherFeaturesPage"));
    auto *memories = child<QWidget>(w, QStringLiteral("AutodialPage"));
    QVERIFY(other->isVisible());

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Option1")), Qt::LeftButton);
    QVERIFY(memories->isVisible());
    QVERIFY(!other->isVisible());
    QTRY_VERIFY(child<QLineEdit>(w, QStringLiteral("Text1_0"))->hasFocus());
    // Every memory lies fully inside the window.
    for (int i = 0; i < 8; ++i) {
        auto *edit = child<QLineEdit>(w, QStringLiteral("Text1_%1").arg(i));
        const QRect shown(edit->mapTo(w, QPoint(0, 0)), edit->size());
        QVERIFY2(w->rect().contains(shown), qPrintable(edit->objectName()));
        QVERIFY(edit->width() >= edit->fontMetrics().horizontalAdvance(QString(16, u'8')));
    }

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Option2")), Qt::LeftButton);
    QVERIFY(other->isVisible());
    QVERIFY(!memories->isVisible());
    QTRY_VERIFY(child<QComboBox>(w, QStringLiteral("Combo16"))->hasFocus());
}

void TestDtmfFmCalibrationWindows::dtmfShowsDecodeAndNewImage()
{
    DtmfWindow *w = open<DtmfWindow>();
    Workspace &ws = m_context->workspace();
    ws.readImage = erasedImage();
    ws.readImage.store(kDtmfAniEndCode, QByteArray("123"));
    decodeImage(ws);
    m_context->notifyModelReset();
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("Text4"))->text(), QStringLiteral("123"));

    auto *delay = child<QComboBox>(w, QStringLiteral("Combo17"));
    QCOMPARE(delay->currentIndex(), 6);
    delay->setFocus();
    QTest::keyClick(delay, Qt::Key_Down);
    QCOMPARE(ws.dtmf.firstDigitDelay, 7);
    QTest::keyClicks(child<QLineEdit>(w, QStringLiteral("Text3")), QStringLiteral("99"));

    ws.dtmf.startForm();
    m_context->notifyModelReset();
    QCOMPARE(delay->currentIndex(), 6);
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("Text3"))->text(), QString());
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("Text4"))->text(), QStringLiteral("123"));
}

// ---- FM radio ------------------------------------------------------------

void TestDtmfFmCalibrationWindows::fmCellEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");      // the cell held 90.00
    QTest::addColumn<bool>("message");
    QTest::newRow("cut onto raster") << QStringLiteral("88.07") << QStringLiteral("88.05") << false;
    QTest::newRow("filtered keys") << QStringLiteral("a8-8b") << QStringLiteral("88.00") << false;
    QTest::newRow("refused") << QStringLiteral("107.97") << QStringLiteral("90.00") << true;
    QTest::newRow("no number") << QStringLiteral("1..") << QStringLiteral("90.00") << false;
}

void TestDtmfFmCalibrationWindows::fmCellEdit()
{
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(bool, message);
    FmRadioWindow *w = open<FmRadioWindow>();
    auto *editor = child<QLineEdit>(w, QStringLiteral("Text1"));
    auto *label = child<QLabel>(w, QStringLiteral("Label2"));
    QVERIFY(!editor->isVisible());

    clickCell(20);
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClicks(editor, QStringLiteral("90"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid()->item(20, 1)->text(), QStringLiteral("90.00"));
    QVERIFY(!editor->isVisible());

    clickCell(20);
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(editor->text(), QStringLiteral("90.00"));
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid()->item(20, 1)->text(), cell);
    QCOMPARE(m_context->workspace().fm.cell(21), cell);
    QCOMPARE(m_context->workspace().fm.store().channels[20], QString());   // not before OK
    QVERIFY(!editor->isVisible());
    QCOMPARE(label->isVisible(), message);
    if (message) {
        QCOMPARE(label->text(), QStringLiteral("Beyond the scope of frequency(76-108), please input again."));
        QCOMPARE(label->x(), twips(3615));
        QVERIFY(editor->text().isEmpty());
    }
}

void TestDtmfFmCalibrationWindows::fmMessageClickHides()
{
    FmRadioWindow *w = open<FmRadioWindow>();
    auto *label = child<QLabel>(w, QStringLiteral("Label2"));
    clickCell(0);
    QTest::keyClicks(child<QLineEdit>(w, QStringLiteral("Text1")), QStringLiteral("50"));
    QTest::keyClick(child<QLineEdit>(w, QStringLiteral("Text1")), Qt::Key_Return);
    QVERIFY(label->isVisible());
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(!label->isVisible());
    QCOMPARE(grid()->item(0, 1)->text(), QString());
}

void TestDtmfFmCalibrationWindows::fmFrequencyModeLeave_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("message");
    QTest::newRow("cut onto raster") << QStringLiteral("107.99") << QStringLiteral("107.95") << false;
    QTest::newRow("108 refused") << QStringLiteral("108") << QString() << true;
    QTest::newRow("letters dropped") << QStringLiteral("x9y0") << QStringLiteral("90.00") << false;
}

void TestDtmfFmCalibrationWindows::fmFrequencyModeLeave()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, message);
    FmRadioWindow *w = open<FmRadioWindow>();
    auto *box = child<QLineEdit>(w, QStringLiteral("Text2"));
    auto *label = child<QLabel>(w, QStringLiteral("Label2"));
    box->setFocus();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);   // the focus goes to the grid
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(box->text(), shown);
    QCOMPARE(label->isVisible(), message);
    if (message) {
        QCOMPARE(label->text(), QStringLiteral("Beyond the scope of frequency(76-107.95), please input again."));
        QCOMPARE(label->pos(), QPoint(twips(5600), twips(100)));
    }
}

void TestDtmfFmCalibrationWindows::fmOkStoresCancelDoesNot()
{
    FmRadioWindow *w = open<FmRadioWindow>();
    Workspace &ws = m_context->workspace();
    auto *editor = child<QLineEdit>(w, QStringLiteral("Text1"));
    clickCell(0);
    QTest::keyClicks(editor, QStringLiteral("90"));
    QTest::keyClick(editor, Qt::Key_Return);
    auto *present = child<QComboBox>(w, QStringLiteral("Combo1_0"));
    present->setFocus();
    QTest::keyClick(present, Qt::Key_End);
    QCOMPARE(present->currentText(), QStringLiteral("32"));

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(grid()->item(0, 1)->text(), QStringLiteral("90.00"));   // the grid keeps the edit
    QCOMPARE(ws.fm.store().channels[0], QString());
    encodeImage(ws);
    QCOMPARE(ws.writeImage.bytes(kFmChannels.start, 2), QByteArray::fromHex("ffff"));
    QCOMPARE(ws.writeImage.at(kFmPresentChannel), 0);

    open<FmRadioWindow>();
    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(ws.fm.store().channels[0], QStringLiteral("90.00"));
    encodeImage(ws);
    QCOMPARE(ws.writeImage.bytes(kFmChannels.start, 2), QByteArray::fromHex("0118"));
    QCOMPARE(ws.writeImage.at(kFmPresentChannel), 32);
}

void TestDtmfFmCalibrationWindows::fmShowsDecodedImage()
{
    FmRadioWindow *w = open<FmRadioWindow>();
    QCOMPARE(child<QComboBox>(w, QStringLiteral("Combo1_1"))->itemText(1), QStringLiteral("Frequency(MHz)"));
    Workspace &ws = m_context->workspace();
    ws.readImage = erasedImage();
    const QByteArray area = QByteArray::fromHex("0100020a") + QByteArray(60, char(0xFF))
        + QByteArray::fromHex("0c0102ff00f0");
    ws.readImage.store(kFmChannels.start, area);
    decodeImage(ws);
    m_context->notifyModelReset();
    QCOMPARE(grid()->item(0, 1)->text(), QStringLiteral("88.80"));
    QCOMPARE(grid()->item(1, 1)->text(), QStringLiteral("102.10"));
    QCOMPARE(grid()->item(2, 1)->text(), QString());
    QCOMPARE(grid()->item(31, 0)->text(), QStringLiteral("32"));
    QCOMPARE(child<QComboBox>(w, QStringLiteral("Combo1_0"))->currentText(), QStringLiteral("12"));
    QCOMPARE(child<QComboBox>(w, QStringLiteral("Combo1_1"))->currentIndex(), 1);
    QCOMPARE(child<QComboBox>(w, QStringLiteral("Combo1_2"))->currentIndex(), 2);
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("Text2"))->text(), QStringLiteral("88.00"));

    QTest::mouseClick(child<QAbstractButton>(w, QStringLiteral("Command1")), Qt::LeftButton);
    encodeImage(ws);
    QCOMPARE(ws.writeImage.bytes(kFmChannels.start, area.size()).toHex(), area.toHex());
}

// ---- calibration ---------------------------------------------------------

void TestDtmfFmCalibrationWindows::calibrationSliders()
{
    CalibrationWindow *w = open<CalibrationWindow>();
    Workspace &ws = m_context->workspace();
    m_context->notifyHiddenModeActivated(HiddenMode::Calibration);
    auto *slider = child<QSlider>(w, QStringLiteral("Slider1_1"));   // stored at 0x07F0
    auto *readout = child<QLabel>(w, QStringLiteral("Label3_1"));
    QCOMPARE(readout->text(), QStringLiteral("208"));

    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(readout->text(), QStringLiteral("209"));
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(readout->text(), QStringLiteral("214"));
    QCOMPARE(ws.calibration.value(1), 214);
    encodeImage(ws);
    QCOMPARE(ws.writeImage.at(0x07F0), 214);

    QTest::keyClick(slider, Qt::Key_End);
    encodeImage(ws);
    QCOMPARE(ws.writeImage.at(0x07F0), 0xFF);

    ws.readImage = erasedImage();
    ws.readImage.store(kCalibration, QByteArray::fromHex("0a0b0c0d0e0f101112"));
    decodeImage(ws);
    m_context->notifyModelReset();
    const int expected[] = {13, 10, 14, 15, 11, 16, 17, 12, 18};
    for (int k = 0; k < 9; ++k) {
        QCOMPARE(child<QSlider>(w, QStringLiteral("Slider1_%1").arg(k))->value(), expected[k]);
        QCOMPARE(child<QLabel>(w, QStringLiteral("Label3_%1").arg(k))->text(), QString::number(expected[k]));
    }
}

void TestDtmfFmCalibrationWindows::calibrationHiddenModes()
{
    CalibrationWindow *w = open<CalibrationWindow>();
    auto sliderEnabled = [w](int k) { return child<QSlider>(w, QStringLiteral("Slider1_%1").arg(k))->isEnabled(); };
    for (int k = 0; k < 9; ++k)
        QVERIFY(!sliderEnabled(k));
    m_context->notifyHiddenModeActivated(HiddenMode::ForcedWrite);
    QVERIFY(!sliderEnabled(0));
    m_context->notifyHiddenModeActivated(HiddenMode::Calibration);
    for (int k = 0; k < 9; ++k)
        QVERIFY(sliderEnabled(k));
    // The toolbar lock disables the first three sliders only.
    m_context->notifyHiddenModeLocked(HiddenMode::Calibration);
    for (int k = 0; k < 9; ++k)
        QCOMPARE(sliderEnabled(k), k >= 3);
}

// ---- languages -----------------------------------------------------------

void TestDtmfFmCalibrationWindows::languageRoundTrip_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("Form2") << QStringLiteral("Form2");
    QTest::newRow("Form4") << QStringLiteral("Form4");
    QTest::newRow("Form5") << QStringLiteral("Form5");
}

void TestDtmfFmCalibrationWindows::languageRoundTrip()
{
    QFETCH(QString, window);
    EditorWindow *w = window == u"Form2" ? static_cast<EditorWindow *>(m_dtmf.get())
        : window == u"Form4"             ? static_cast<EditorWindow *>(m_calibration.get())
                                         : static_cast<EditorWindow *>(m_fm.get());
    const TextTable table = window == u"Form2" ? dtmfWindowTexts()
        : window == u"Form4"                   ? calibrationWindowTexts()
                                               : fmWindowTexts();
    // Selections that must survive the switches.
    for (QComboBox *combo : w->findChildren<QComboBox *>())
        combo->setCurrentIndex(combo->count() - 1);
    for (QTabWidget *tabs : w->findChildren<QTabWidget *>())
        tabs->setCurrentIndex(2);

    w->applyLanguage();
    const QStringList english = snapshot(w);

    for (int language : {kChinese, kEnglish}) {
        m_context->workspace().language = language;
        w->applyLanguage();
        for (const TextRow &row : table) {
            QStringList names{row.objectName()};
            if (row.role != TextRole::WindowTitle && !w->findChild<QObject *>(row.objectName())) {
                names.clear();   // a row naming a whole control array
                for (int k = 0; k < 9; ++k)
                    names << row.control + u'_' + QString::number(k);
            }
            for (const QString &name : names)
                QCOMPARE(shownText(w, row, name), row.text(language));
        }
    }
    QCOMPARE(snapshot(w), english);
    if (window != u"Form4")   // its end-label rows name whole arrays
        QCOMPARE(applyTextTable(w, table, kEnglish), 0);
}

QTEST_MAIN(TestDtmfFmCalibrationWindows)
#include "tst_dtmf_fm_calibration_windows.moc"
