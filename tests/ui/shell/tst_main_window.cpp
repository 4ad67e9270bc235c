#include "support/radio_process.h"
#include "support/widget_fixture.h"

#include "channels/channel_window.h"
#include "files/dat_file.h"
#include "files/file_commands.h"
#include "i18n/messages.h"
#include "shell/about_box.h"
#include "shell/help_window.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QToolBar>
#include <QToolTip>
#include <QWheelEvent>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QString english(Message m, const QString &arg = {}) { return messageText(m, Language::English, arg).text; }

// What a command visibly does.
enum class Effect { NewQuestion, OpenDialog, SaveDialog, PortInvalid, Editor, Help, About, PortList, Print };

// Every text the language changes on the main window and the About box.
QMap<QString, QString> visibleTexts(Harness &h)
{
    QMap<QString, QString> texts{{QStringLiteral("title"), h.window->windowTitle()},
                                 {QStringLiteral("Label1"), h.find<QLabel>("Label1")->text()},
                                 {QStringLiteral("about"), h.window->aboutBox()->windowTitle()}};
    // The editor windows' frames have unnamed menus of their own.
    for (QAction *action : h.window->findChildren<QAction *>()) {
        if (action->objectName().startsWith(u'M') || action->objectName().startsWith(u'T'))
            texts.insert(action->objectName(), action->text() + u'|' + action->toolTip());
    }
    for (QMenu *menu : h.window->findChildren<QMenu *>(QRegularExpression(QStringLiteral("^MN"))))
        texts.insert(menu->objectName(), menu->title());
    for (QLabel *label : h.window->aboutBox()->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^lbl"))))
        texts.insert(label->objectName(), label->text());
    return texts;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_environment.isValid()); }
    void init() { QFile::remove(settingsFile()); }
    void startsInStoredLanguage_data();
    void startsInStoredLanguage();
    void portThatCannotOpen();
    void commandsReachTheirActions_data();
    void commandsReachTheirActions();
    void editorsShowWhole();
    void editorCloseBoxOnlyHides_data();
    void editorCloseBoxOnlyHides();
    void bandChoice_data();
    void bandChoice();
    void keyboardAndWheelChangeNoBand();
    void languageRoundTrip();
    void hiddenButtonDoublePress_data();
    void hiddenButtonDoublePress();
    void exitQuestion();
    void readAndWriteTheSimulatedRadio();

private:
    TestEnvironment m_environment;
    QString settingsFile() const { return m_environment.settingsFile(); }
};

void TestMainWindow::startsInStoredLanguage_data()
{
    QTest::addColumn<QByteArray>("stored");   // the INI value; empty: nothing stored
    QTest::addColumn<int>("languageIndex");
    QTest::newRow("nothing stored") << QByteArray() << 1;
    QTest::newRow("binary 0") << QByteArray("@ByteArray(\\0\\0\\0\\0)") << 0;
    QTest::newRow("binary 5 becomes English") << QByteArray("@ByteArray(\\x5\\0\\0\\0)") << 1;
}

void TestMainWindow::startsInStoredLanguage()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, languageIndex);
    const auto language = Language(languageIndex);
    if (!stored.isEmpty()) {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nBinaryValue=" + stored + "\n");
    }

    Harness h;
    QCOMPARE(h.ws().language, language);
    QCOMPARE(h.window->windowTitle(), language == Language::Chinese ? QStringLiteral("Quillon对讲机编程软件V1.60")
                                                           : QStringLiteral("Quillon Radio Programming Software V1.60"));
    // Editor windows have a Label1 and a Combo1 too: the band strip's come first.
    QCOMPARE(h.find<QLabel>("Label1")->text(), language == Language::Chinese ? QStringLiteral("频段:") : QStringLiteral("Range:"));
    QCOMPARE(h.find<QComboBox>("Combo1")->currentText(), QStringLiteral("136-174MHz"));
    // The port message comes during the load step, in the stored language.
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::SerialPortUnusable, language, QStringLiteral("1")).text});
    QVERIFY(h.window->editorFrame(1)->isVisible());
    for (int n = 2; n <= 5; ++n)
        QVERIFY(!h.window->editorFrame(n)->isVisible());
    QVERIFY(!h.find<QAction>("MNFMset")->isEnabled());
}

void TestMainWindow::portThatCannotOpen()
{
    Harness h;
    QCOMPARE(h.takeMessages(), QStringList{QStringLiteral("Serial port1Invalid or has already been used by other "
                                                          "procedures, please choose other bunches of mouths or close its procedure.")});
    auto *ports = h.find<QComboBox>("ComboCom");
    auto *panel = h.find<QLabel>("Panel1");
    QCOMPARE(ports->currentIndex(), -1);
    QCOMPARE(panel->text(), QStringLiteral("COM: "));
    QVERIFY(!askToolTip(panel).isEmpty());   // the system's reason

    QTest::keyClick(h.window.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(h.takeMessages(), QStringList{english(Message::SerialPortInvalid)});

    // Chosen again from the list: port 2 names no device either.
    h.pickFromMenu('G', 'C');
    QTRY_VERIFY(ports->isVisible() && ports->view()->isVisible());
    QTest::keyClick(ports->view(), Qt::Key_Down);
    QTest::keyClick(ports->view(), Qt::Key_Return);
    QTRY_VERIFY(!ports->isVisible());
    QCOMPARE(h.takeMessages(), QStringList{english(Message::SerialPortUnusable, QStringLiteral("2"))});
    QCOMPARE(panel->text(), QStringLiteral("COM: "));
}

void TestMainWindow::commandsReachTheirActions_data()
{
    QTest::addColumn<QString>("how");   // "key:Ctrl+N", "tool:TNew" or "menu:FN"
    QTest::addColumn<Effect>("effect");
    QTest::addColumn<int>("editor");
    const std::tuple<const char *, Effect, int> rows[] = {
        {"key:Ctrl+N", Effect::NewQuestion, 0}, {"tool:TNew", Effect::NewQuestion, 0}, {"menu:FN", Effect::NewQuestion, 0},
        {"key:Ctrl+O", Effect::OpenDialog, 0}, {"tool:TOpen", Effect::OpenDialog, 0}, {"menu:FO", Effect::OpenDialog, 0},
        {"key:Ctrl+S", Effect::SaveDialog, 0}, {"tool:TSave", Effect::SaveDialog, 0}, {"menu:FS", Effect::SaveDialog, 0},
        {"menu:FP", Effect::Print, 0},
        {"key:Ctrl+R", Effect::PortInvalid, 0}, {"tool:TRead", Effect::PortInvalid, 0}, {"menu:GR", Effect::PortInvalid, 0},
        {"key:Ctrl+W", Effect::PortInvalid, 0}, {"tool:TWrite", Effect::PortInvalid, 0}, {"menu:GW", Effect::PortInvalid, 0},
        {"menu:GC", Effect::PortList, 0},
        {"key:Ctrl+M", Effect::Editor, 1}, {"key:Ctrl+D", Effect::Editor, 2}, {"key:Ctrl+P", Effect::Editor, 3},
        {"key:Ctrl+B", Effect::Editor, 4}, {"menu:EP", Effect::Editor, 3},
        {"key:F1", Effect::Help, 0}, {"key:Ctrl+A", Effect::About, 0}, {"menu:HH", Effect::About, 0},
    };
    for (const auto &[how, effect, editor] : rows)
        QTest::newRow(how) << QString::fromLatin1(how) << effect << editor;
}

void TestMainWindow::commandsReachTheirActions()
{
    QFETCH(QString, how);
    QFETCH(Effect, effect);
    QFETCH(int, editor);

    Harness h;
    h.takeMessages();
    h.answers = {kAnswerCancel};
    QList<FileDialogKind> dialogs;
    h.window->fileCommands().setFileChooser([&](FileDialogKind kind, const QString &) {
        dialogs << kind;
        return QString();
    });
    if (editor > 1)
        h.window->showEditor(1);   // Form1 in front

    const QString what = how.section(u':', 1);
    const auto run = [&] {
        if (how.startsWith(QLatin1String("key:"))) {
            const QKeyCombination key = QKeySequence(what)[0];
            QTest::keyClick(h.window.get(), key.key(), key.keyboardModifiers());
        } else if (how.startsWith(QLatin1String("tool:"))) {
            h.pressToolButton(what);
        } else {
            h.pickFromMenu(what.at(0).toLatin1(), what.at(1).toLatin1());
        }
    };
    QString modalName;
    if (effect == Effect::About || effect == Effect::Print) {
        QVERIFY(whileModal(run, [&](QWidget *window) {
            modalName = window->objectName();
            if (effect == Effect::About)
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(4, 4));   // a click closes it
            else
                window->close();
        }));
    } else {
        run();
    }

    switch (effect) {
    case Effect::NewQuestion: QCOMPARE(h.takeMessages(), QStringList{english(Message::NewImage)}); break;
    case Effect::OpenDialog: QCOMPARE(dialogs, QList<FileDialogKind>{FileDialogKind::Open}); break;
    case Effect::SaveDialog: QCOMPARE(dialogs, QList<FileDialogKind>{FileDialogKind::Save}); break;
    case Effect::PortInvalid: QCOMPARE(h.takeMessages(), QStringList{english(Message::SerialPortInvalid)}); break;
    case Effect::Editor:
        QTRY_VERIFY(h.window->editorFrame(editor)->isVisible());
        QCOMPARE(h.window->findChild<QMdiArea *>()->activeSubWindow(), h.window->editorFrame(editor));
        break;
    case Effect::Help: QVERIFY(h.window->helpWindow()->isVisible()); break;
    case Effect::About:
        QCOMPARE(modalName, QStringLiteral("FrmAbout"));
        QTRY_VERIFY(!h.window->aboutBox()->isVisible());
        break;
    case Effect::Print: QCOMPARE(modalName, QStringLiteral("FrmPrint")); break;
    case Effect::PortList: {
        auto *ports = h.find<QComboBox>("ComboCom");
        QTRY_VERIFY(ports->isVisible() && ports->view()->isVisible());
        QTest::keyClick(ports->view(), Qt::Key_Escape);
        break;
    }
    }
    QCOMPARE(h.messages.size(), 0);
}

void TestMainWindow::editorsShowWhole()
{
    // The size each window gives itself is its whole size, frame included;
    // the window has what the frame leaves.
    Harness h;
    h.context.notifyHiddenModeActivated(HiddenMode::Fm);
    for (int n = 2; n <= 5; ++n) {
        EditorWindow *window = h.window->editor(n);
        const QSize own = window->size();
        h.window->showEditor(n);
        QMdiSubWindow *frame = h.window->editorFrame(n);
        QCOMPARE(frame->widget(), window);
        QTRY_VERIFY(window->isVisible());
        // Taller only where the controls need it.
        QCOMPARE(frame->width(), own.width());
        QVERIFY(frame->height() == own.height() || window->height() == window->minimumSizeHint().height());
        QVERIFY(window->width() < own.width());
        QVERIFY(frame->rect().contains(window->geometry()));
    }
}

void TestMainWindow::editorCloseBoxOnlyHides_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the frame's close box") << "frame";
    QTest::newRow("the window closes itself") << "close";
    QTest::newRow("the window hides itself (OK, Cancel)") << "hide";
}

void TestMainWindow::editorCloseBoxOnlyHides()
{
    QFETCH(QString, how);
    Harness h;
    QTest::keyClick(h.window.get(), Qt::Key_D, Qt::ControlModifier);
    QMdiSubWindow *frame = h.window->editorFrame(2);
    QPointer<EditorWindow> dtmf = h.window->editor(2);
    QVERIFY(frame->isVisible());
    if (how == QLatin1String("frame"))
        QVERIFY(!frame->close());
    else if (how == QLatin1String("close"))
        QVERIFY(!dtmf->close());
    else
        dtmf->hide();
    QVERIFY(!frame->isVisible());
    QVERIFY(dtmf);
    QCOMPARE(dtmf->parentWidget(), frame);
    QTest::keyClick(h.window.get(), Qt::Key_D, Qt::ControlModifier);
    QVERIFY(frame->isVisible());
    QVERIFY(dtmf->isVisible());   // not an empty frame
    // Hiding the frame alone (the area's own business) leaves the window shown in it.
    frame->hide();
    QVERIFY(!dtmf->isHidden());
}

void TestMainWindow::bandChoice_data()
{
    QTest::addColumn<int>("downs");   // Down presses in the drop-down
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("band");    // selected afterwards
    QTest::addColumn<bool>("asked");
    QTest::newRow("confirmed") << 3 << kAnswerOk << 3 << true;
    QTest::newRow("declined") << 3 << kAnswerCancel << 0 << true;
    QTest::newRow("same band again") << 0 << kAnswerOk << 0 << false;
}

void TestMainWindow::bandChoice()
{
    QFETCH(int, downs);
    QFETCH(int, answer);
    QFETCH(int, band);
    QFETCH(bool, asked);

    Harness h;
    h.takeMessages();
    const Workspace &ws = h.ws();
    h.document().commitFrequency(1, kColumnRx, QStringLiteral("150"));
    const QString vfoBefore = ws.features.text(Feature::VfoFrequency);
    const QByteArray bytesBefore = h.document().encode().toByteArray();
    auto *grid = h.find<QAbstractItemView>("Grid1");
    QCOMPARE(cellText(grid, 0, kColumnRx), QStringLiteral("150.00000"));

    auto *combo = h.find<QComboBox>("Combo1");
    h.answers = {answer};
    pickFromList(combo, downs);

    const bool changed = band != 0;
    QCOMPARE(h.takeMessages(), asked ? QStringList{english(Message::BandChange)} : QStringList());
    QCOMPARE(combo->currentIndex(), band);
    QCOMPARE(ws.band.low, changed ? 400 : 136);
    QCOMPARE(ws.band.high, changed ? 470 : 174);
    QCOMPARE(cellText(grid, 0, kColumnRx).isEmpty(), changed);
    QCOMPARE(ws.channels.row(1).rxText.isEmpty(), changed);
    QCOMPARE(ws.features.text(Feature::VfoFrequency), changed ? QStringLiteral("435.00000") : vfoBefore);
    if (!changed)   // declined or the same band: not a byte differs
        QCOMPARE(h.document().encode().toByteArray(), bytesBefore);
}

void TestMainWindow::keyboardAndWheelChangeNoBand()
{
    Harness h;
    h.takeMessages();
    const Workspace &ws = h.ws();
    h.document().commitFrequency(1, kColumnRx, QStringLiteral("150"));
    auto *combo = h.find<QComboBox>("Combo1");

    // A drop-down left with Escape does not make the next keyboard change the user's.
    pickFromList(combo, 2, Qt::Key_Escape);
    QCoreApplication::processEvents();   // the event loop runs between two key presses

    combo->setFocus();
    for (int turn : {-120, 120, -360}) {
        QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, turn), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
    }
    QCOMPARE(combo->currentIndex(), 0);

    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(ws.band.low, 240);
    QCOMPARE(h.takeMessages(), QStringList());
    QCOMPARE(ws.channels.row(1).rxText, QStringLiteral("150.00000"));
}

void TestMainWindow::languageRoundTrip()
{
    Harness h;
    h.takeMessages();
    const QMap<QString, QString> englishTexts = visibleTexts(h);
    const QStringList englishFamilies = QApplication::font().families();
    QCOMPARE(h.find<QAction>("MNRead")->text(), QStringLiteral("Read Data from the Transceive(&R)"));
    QCOMPARE(h.find<QAction>("TRead")->toolTip(), QStringLiteral("Read Data from the Transceive"));

    h.pickFromMenu('L', 'C');
    QCOMPARE(h.ws().language, Language::Chinese);
    // Chinese in a face that has it; English in the system's face alone, so
    // an English start loads no Chinese font (SimSun, where installed, serves both).
    const bool simSun = QFontDatabase::hasFamily(QStringLiteral("SimSun"));
    QVERIFY(QFontDatabase::writingSystems(QFontInfo(QApplication::font()).family())
                .contains(QFontDatabase::SimplifiedChinese));
    const QMap<QString, QString> chineseTexts = visibleTexts(h);
    QCOMPARE(h.find<QMenu>("MNHelp")->title(), QStringLiteral("帮助(&H)"));
    QCOMPARE(h.find<QAction>("MNAbout")->text(), QStringLiteral("帮助(&H)"));
    QCOMPARE(h.find<QAction>("TWrite")->toolTip(), QStringLiteral("写频"));
    QCOMPARE(chineseTexts.value(QStringLiteral("lblVersion")), QStringLiteral("简体中文版 V1.60"));
    // Every text changed but the maker line and the unnamed buttons and separators.
    const QStringList fixed{QStringLiteral("lblCopyR"), QStringLiteral("MNLine1"),
                            QStringLiteral("TAnMa"), QStringLiteral("TDebug"), QStringLiteral("TFMMa")};
    for (auto it = englishTexts.cbegin(); it != englishTexts.cend(); ++it)
        QVERIFY2(fixed.contains(it.key()) != (chineseTexts.value(it.key()) != it.value()), qPrintable(it.key()));

    // Messages take the language of the moment they are shown.
    h.answers = {kAnswerCancel, kAnswerCancel};
    QTest::keyClick(h.window.get(), Qt::Key_N, Qt::ControlModifier);
    h.pickFromMenu('L', 'E');
    QTest::keyClick(h.window.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(h.takeMessages(), (QStringList{QStringLiteral("未保存的数据将会丢失，确定吗？"), english(Message::NewImage)}));
    QCOMPARE(visibleTexts(h), englishTexts);
    QCOMPARE(QApplication::font().families(), englishFamilies);
    QCOMPARE(englishFamilies.size(), simSun ? 2 : 1);
}

void TestMainWindow::hiddenButtonDoublePress_data()
{
    QTest::addColumn<HiddenMode>("mode");
    QTest::addColumn<QString>("button");
    QTest::newRow("TAnMa") << HiddenMode::ForcedWrite << QStringLiteral("TAnMa");
    QTest::newRow("TDebug") << HiddenMode::Calibration << QStringLiteral("TDebug");
    QTest::newRow("TFMMa") << HiddenMode::Fm << QStringLiteral("TFMMa");
}

void TestMainWindow::hiddenButtonDoublePress()
{
    QFETCH(HiddenMode, mode);
    QFETCH(QString, button);

    Harness h;
    int now = 1000;
    h.window->setClock([&now] { return now; });
    QSignalSpy locked(&h.context, &AppContext::hiddenModeLocked);
    auto *action = h.window->findChild<QAction *>(button);
    QVERIFY(!action->isVisible());
    h.context.notifyHiddenModeActivated(mode);
    QVERIFY(action->isVisible());
    if (mode == HiddenMode::Fm) {
        QTest::keyClick(h.window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(h.window->editorFrame(5)->isVisible());
    }
    auto slider = [&h](int k) { return h.window->editor(4)->findChild<QSlider *>(QStringLiteral("Slider1_%1").arg(k)); };
    const bool slider3 = slider(3)->isEnabled();

    h.pressToolButton(button);
    now += 2;   // 2 seconds apart: only the time is recorded
    h.pressToolButton(button);
    QVERIFY(action->isVisible());
    h.pressToolButton(button);   // within a second: locked
    QVERIFY(!action->isVisible());
    QCOMPARE(locked.size(), 1);
    QCOMPARE(locked.at(0).at(0).value<HiddenMode>(), mode);
    if (mode == HiddenMode::Calibration) {
        for (int k = 0; k < 3; ++k)
            QVERIFY(!slider(k)->isEnabled());
        QCOMPARE(slider(3)->isEnabled(), slider3);
    }
}

void TestMainWindow::exitQuestion()
{
    Harness h;
    h.takeMessages();
    const Workspace &ws = h.ws();
    h.document().commitFrequency(1, kColumnRx, QStringLiteral("150"));
    h.pickFromMenu('L', 'C');

    h.answers = {kAnswerCancel};
    QVERIFY(!h.window->close());   // any way of closing asks
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::Exit, Language::Chinese).text});
    QVERIFY(h.window->isVisible());
    QCOMPARE(ws.channels.row(1).rxText, QStringLiteral("150.00000"));
    QVERIFY(!QFile::exists(settingsFile()));

    h.pickFromMenu('F', 'Q');   // OK: closed, the language stored
    QCOMPARE(h.takeMessages().size(), 1);
    QTRY_VERIFY(!h.window->isVisible());
    QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).value(QStringLiteral("BinaryValue")).toByteArray(),
             QByteArray(4, '\0'));
}

void TestMainWindow::readAndWriteTheSimulatedRadio()
{
    // A radio of band 5 (450-470MHz) holding one channel.
    Document radio;
    radio.selectBand(5);
    radio.commitFrequency(1, kColumnRx, QStringLiteral("462.5625"));
    RadioProcess sim({QStringLiteral("--band"), QStringLiteral("5")}, radio.encode());
    const QString device = sim.device();
    QVERIFY(!device.isEmpty());
    TestEnvironment::useSerialDevices(device);
    {
        Harness h;
        QCOMPARE(h.takeMessages(), QStringList());
        QCOMPARE(h.find<QLabel>("Panel1")->text(), QStringLiteral("COM: 1"));
        QCOMPARE(h.find<QLabel>("Panel2")->text(), device);

        QTest::keyClick(h.window.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(h.takeMessages(), QStringList{english(Message::ReadSucceeded)});
        QCOMPARE(h.find<QComboBox>("Combo1")->currentIndex(), 5);   // no band question
        QCOMPARE(h.ws().channels.row(1).rxText, QStringLiteral("462.56250"));

        // Without a window manager nobody hands the activation back after
        // the progress window; a desktop does.
        h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        QTest::keyClick(h.window.get(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(h.takeMessages(), QStringList{english(Message::WriteSucceeded)});
    }
    TestEnvironment::useSerialDevices(QString::fromLatin1(kMissingDevice));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
