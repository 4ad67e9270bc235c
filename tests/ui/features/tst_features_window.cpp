// The optional-features window driven through its real controls: typing,
// leaving fields, page switching, the hidden-mode captions, the language
// switch and the binding to the workspace's record.

#include "features/features_window.h"
#include "i18n/apply_language.h"
#include "common/app_context.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QAbstractItemView>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::HiddenMode)

namespace {

// Every text the language switch may touch, and every selection.
QStringList snapshot(const QWidget &window)
{
    QStringList out{window.windowTitle()};
    for (auto *label : window.findChildren<QLabel *>())
        out << label->objectName() + u'=' + label->text();
    for (auto *button : window.findChildren<QAbstractButton *>())
        out << button->objectName() + u'=' + button->text();
    for (auto *group : window.findChildren<QGroupBox *>())
        out << group->objectName() + u'=' + group->title();
    for (auto *combo : window.findChildren<QComboBox *>()) {
        out << combo->objectName() + u'#' + QString::number(combo->currentIndex());
        for (int i = 0; i < combo->count(); ++i)
            out << combo->objectName() + u'[' + QString::number(i) + u']' + combo->itemText(i);
    }
    return out;
}

} // namespace

class TestFeaturesWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutAndNames();
    void leavingFields_data();
    void leavingFields();
    void enterChecksAndKeepsFocus();
    void channelNumberWhileTyping();
    void typedCharacterFilters_data();
    void typedCharacterFilters();
    void pasteIsFiltered();
    void pastedAndComposedText_data();
    void pastedAndComposedText();
    void pagesSwitchAndStay();
    void unlockSequences_data();
    void unlockSequences();
    void fmModeEnablesItsControls();
    void longListsDropDownTwentyRows();
    void languageRoundTrip();
    void windowBuiltInChineseMatchesTable();
    void decodedImageShowsAndEncodesBack();
    void editsReachTheImage();
    void pendingEditsAreChecked();
    void untouchedFieldsKeepTheirBytes_data();
    void untouchedFieldsKeepTheirBytes();
    void editingKeysAndShortFocusLosses();

private:
    template <typename T> T *child(const char *name) const
    {
        T *widget = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    // Empties a field the way a user does and types text into it.
    void retype(QLineEdit *edit, const QString &text);
    void showVfoPage();
    // Clicks an option button on its circle.
    void clickOption(const char *name);

    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<OptionalFeaturesWindow> m_window;
    QWidget *m_elsewhere = nullptr;   // a control to move the focus to
    int m_now = 0;
};

void TestFeaturesWindow::init()
{
    m_context = std::make_unique<AppContext>();
    m_context->document().newImage();   // 400-470MHz, every setting at its default
    m_window = std::make_unique<OptionalFeaturesWindow>(*m_context);
    m_window->showModel();
    m_window->setClock([this] { return m_now; });
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_elsewhere = child<QComboBox>("Combo31");
}

void TestFeaturesWindow::cleanup()
{
    m_window.reset();
    m_context.reset();
}

void TestFeaturesWindow::retype(QLineEdit *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void TestFeaturesWindow::clickOption(const char *name)
{
    auto *option = child<QRadioButton>(name);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

void TestFeaturesWindow::showVfoPage()
{
    clickOption("Option2");
    QTRY_VERIFY(child<QGroupBox>("Frame3")->isVisible());
}

void TestFeaturesWindow::layoutAndNames()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Form3"));
    QCOMPARE(m_window->size(), QSize(830, 484));
    for (const FeatureField &field : featureFields()) {
        QWidget *control = m_window->findChild<QWidget *>(field.control);
        QVERIFY2(control, qPrintable(field.control));
        if (!field.label.isEmpty())
            QVERIFY2(m_window->findChild<QLabel *>(field.label), qPrintable(field.label));
        if (auto *combo = qobject_cast<QComboBox *>(control)) {
            QVERIFY2(!combo->isEditable(), qPrintable(field.control));
            QCOMPARE(combo->count(), field.items.size());
        }
        // Each control sits on its own page.
        const char *frame = field.page == FeaturePage::Function ? "Frame2" : field.page == FeaturePage::Vfo ? "Frame3" : "Frame1";
        QVERIFY2(child<QGroupBox>(frame)->isAncestorOf(control), qPrintable(field.control));
    }
    QCOMPARE(child<QLineEdit>("Text1")->maxLength(), 4);
    QCOMPARE(child<QLineEdit>("Text31")->maxLength(), 6);
    QCOMPARE(child<QLineEdit>("Text20")->maxLength(), 9);
    QCOMPARE(child<QLineEdit>("Text21")->maxLength(), 8);
    QVERIFY(child<QGroupBox>("Frame2")->isVisible());
    QVERIFY(!child<QGroupBox>("Frame3")->isVisible());
    QVERIFY(child<QRadioButton>("Option1")->isChecked());
}

void TestFeaturesWindow::leavingFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("vfo snapped") << "Text20" << "435.12340" << "435.12000";
    QTest::newRow("vfo band top") << "Text20" << "470" << "400.00000";
    QTest::newRow("vfo below band") << "Text20" << "399.9" << "400.00000";
    QTest::newRow("offset limit") << "Text21" << "150" << "99.99500";
    QTest::newRow("offset empty") << "Text21" << "" << "0.00000";
    QTest::newRow("priority 0") << "Text2" << "0" << "";
    QTest::newRow("present 7") << "Text6" << "7" << "7";
}

void TestFeaturesWindow::leavingFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    if (field.startsWith(QLatin1String("Text2")) && field.size() == 6)
        showVfoPage();
    auto *edit = child<QLineEdit>(field.toLatin1().constData());
    retype(edit, typed);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(!edit->hasFocus());
    QCOMPARE(edit->text(), shown);

    const Feature id = [&] {
        for (const FeatureField &f : featureFields())
            if (f.control == field)
                return f.id;
        return Feature::PriorityChannel;
    }();
    QCOMPARE(m_context->workspace().features.text(id), shown);
}

void TestFeaturesWindow::enterChecksAndKeepsFocus()
{
    showVfoPage();
    auto *edit = child<QLineEdit>("Text20");
    QTRY_VERIFY(edit->hasFocus());   // the VFO page puts the focus into the frequency
    retype(edit, QStringLiteral("435.12340"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("435.12000"));
    QVERIFY(edit->hasFocus());

    auto *priority = child<QLineEdit>("Text2");
    clickOption("Option1");
    QTRY_VERIFY(priority->hasFocus());
    retype(priority, QStringLiteral("0"));
    QTest::keyClick(priority, Qt::Key_Enter);
    QCOMPARE(priority->text(), QString());
    QVERIFY(priority->hasFocus());
}

void TestFeaturesWindow::channelNumberWhileTyping()
{
    auto *edit = child<QLineEdit>("Text2");
    retype(edit, QString());
    QTest::keyClick(edit, Qt::Key_2);
    QTest::keyClick(edit, Qt::Key_0);
    QCOMPARE(edit->text(), QStringLiteral("20"));
    QTest::keyClick(edit, Qt::Key_0);
    QCOMPARE(edit->text(), QStringLiteral("128"));
    m_context->commitPendingEdits();
    QCOMPARE(m_context->workspace().features.text(Feature::PriorityChannel), QStringLiteral("128"));
}

void TestFeaturesWindow::typedCharacterFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("power-on text raised") << "Text31" << "abc-1" << "ABC-1";
    QTest::newRow("power-on text seventh refused") << "Text31" << "*#abcdz" << "*#ABCD";
    QTest::newRow("password digits") << "Text1" << "1a2-34" << "1234";
    QTest::newRow("channel digits only") << "Text6" << "1.2x" << "12";
    QTest::newRow("offset digits and point") << "Text21" << "1a.5-" << "1.5";
}

void TestFeaturesWindow::typedCharacterFilters()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    if (field == QLatin1String("Text21"))
        showVfoPage();
    auto *edit = child<QLineEdit>(field.toLatin1().constData());
    retype(edit, typed);
    QCOMPARE(edit->text(), shown);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), shown.chopped(1));
}

void TestFeaturesWindow::pasteIsFiltered()
{
    auto *edit = child<QLineEdit>("Text31");
    retype(edit, QStringLiteral("AB"));
    QApplication::clipboard()->setText(QStringLiteral("c d."));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("ABCD"));
    m_context->commitPendingEdits();
    QCOMPARE(m_context->workspace().features.text(Feature::PowerOnText), QStringLiteral("ABCD"));
}

void TestFeaturesWindow::pastedAndComposedText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("paste");   // else an input method commits the text
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");

    for (const bool paste : {true, false}) {
        const char *how = paste ? "pasted" : "composed";
        // Filtered first, then cut: the field's limit counts what it keeps.
        QTest::addRow("power-on text, %s", how) << "Text31" << paste << QString::fromUtf8("中文中文abcdefg") << "ABCDEF";
        QTest::addRow("password, %s", how) << "Text1" << paste << QString::fromUtf8("１2３4x56") << "2456";
        QTest::addRow("channel number, %s", how) << "Text2" << paste << "2x00" << "128";
        QTest::addRow("vfo frequency, %s", how) << "Text20" << paste << "435,1234567" << "435123456";
        QTest::addRow("vfo offset, %s", how) << "Text21" << paste << "1 2.5 MHz" << "12.5";
    }
}

void TestFeaturesWindow::pastedAndComposedText()
{
    QFETCH(QString, field);
    QFETCH(bool, paste);
    QFETCH(QString, text);
    QFETCH(QString, kept);

    if (field == u"Text20" || field == u"Text21")
        showVfoPage();
    auto *edit = child<QLineEdit>(field.toLatin1().constData());
    retype(edit, QString());
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

void TestFeaturesWindow::pagesSwitchAndStay()
{
    auto *function = child<QGroupBox>("Frame2");
    auto *vfo = child<QGroupBox>("Frame3");
    showVfoPage();
    QVERIFY(!function->isVisible());
    QCOMPARE(function->geometry(), vfo->geometry());   // one place for both pages
    QTRY_VERIFY(child<QLineEdit>("Text20")->hasFocus());

    m_window->hide();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(vfo->isVisible());
    QVERIFY(child<QRadioButton>("Option2")->isChecked());

    clickOption("Option1");
    QVERIFY(function->isVisible());
    QVERIFY(!vfo->isVisible());
    // The offscreen platform does not activate a window shown again, so ask
    // for the window's own focus widget rather than the application's.
    QCOMPARE(m_window->focusWidget(), child<QLineEdit>("Text2"));
}

void TestFeaturesWindow::unlockSequences_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<int>("activations");
    QTest::addColumn<HiddenMode>("mode");

    QTest::newRow("forced write in time") << QStringList{"Label2", "Label6", "Label3"} << QList<int>{100, 102, 105}
                                          << 1 << HiddenMode::ForcedWrite;
    QTest::newRow("forced write too slow") << QStringList{"Label2", "Label6", "Label3"} << QList<int>{100, 102, 106}
                                           << 0 << HiddenMode::ForcedWrite;
    QTest::newRow("calibration, then each click acts")
        << QStringList{"Label8", "Label5", "Label7", "Label5"} << QList<int>{0, 1, 2, 3} << 2 << HiddenMode::Calibration;
    QTest::newRow("mixed sets do nothing") << QStringList{"Label2", "Label5", "Label13"} << QList<int>{0, 0, 0} << 0
                                           << HiddenMode::Fm;
}

void TestFeaturesWindow::unlockSequences()
{
    QFETCH(QStringList, labels);
    QFETCH(QList<int>, times);
    QFETCH(int, activations);
    QFETCH(HiddenMode, mode);

    QSignalSpy spy(m_context.get(), &AppContext::hiddenModeActivated);
    for (int i = 0; i < labels.size(); ++i) {
        m_now = times[i];
        QTest::mouseClick(child<QLabel>(labels[i].toLatin1().constData()), Qt::LeftButton);
    }
    QCOMPARE(spy.count(), activations);
    for (const QList<QVariant> &call : spy)
        QCOMPARE(call.at(0).value<HiddenMode>(), mode);
    QCOMPARE(m_context->workspace().modes.isOn(mode), activations > 0);
}

void TestFeaturesWindow::fmModeEnablesItsControls()
{
    const char *names[] = {"Label12", "Combo2", "Label17", "Combo13", "Label18", "Combo16"};
    for (const char *name : names) {
        QVERIFY(child<QWidget>(name)->isEnabled());   // enabled from the start as well
        child<QWidget>(name)->setEnabled(false);
    }
    QSignalSpy spy(m_context.get(), &AppContext::hiddenModeActivated);
    for (const char *label : {"Label13", "Label10", "Label11"})
        QTest::mouseClick(child<QLabel>(label), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<HiddenMode>(), HiddenMode::Fm);
    for (const char *name : names)
        QVERIFY2(child<QWidget>(name)->isEnabled(), name);
}

void TestFeaturesWindow::longListsDropDownTwentyRows()
{
    showVfoPage();
    // The two tone lists of the VFO scroll about twenty of their 265 entries.
    for (const char *name : {"Combo22", "Combo23"}) {
        auto *list = child<QComboBox>(name);
        QCOMPARE(list->count(), 265);
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView *view = list->view();
        QTRY_VERIFY(view->isVisible());
        const int rows = view->viewport()->height() / view->sizeHintForRow(0);
        QVERIFY2(rows >= 19 && rows <= 21, qPrintable(QStringLiteral("%1: %2").arg(name).arg(rows)));
        QTest::keyClick(view, Qt::Key_Escape);
        QTRY_VERIFY(!view->isVisible());
    }
}

void TestFeaturesWindow::languageRoundTrip()
{
    // Pick some positions so a selection that moves would show.
    child<QComboBox>("Combo19")->setCurrentIndex(5);
    child<QComboBox>("Combo6")->setCurrentIndex(1);
    child<QComboBox>("Combo22")->setCurrentIndex(0);
    const QStringList english = snapshot(*m_window);

    m_context->document().setLanguage(Language::Chinese);
    m_window->applyLanguage();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("可选功能"));
    QCOMPARE(child<QLabel>("Label6")->text(), QStringLiteral("当前频道数:"));
    QCOMPARE(child<QComboBox>("Combo6")->itemText(0), QStringLiteral("关闭"));
    QCOMPARE(child<QComboBox>("Combo7")->itemText(0), QStringLiteral("关"));
    QCOMPARE(child<QComboBox>("Combo19")->currentText(), QStringLiteral("5 分钟"));
    QCOMPARE(child<QComboBox>("Combo22")->currentText(), QStringLiteral("关闭"));
    QCOMPARE(child<QGroupBox>("Frame1")->title(), QStringLiteral("VOX(声控发射)"));
    QCOMPARE(child<QRadioButton>("Option2")->text(), QStringLiteral("全频频率"));
    QCOMPARE(child<QComboBox>("Combo19")->currentIndex(), 5);
    QCOMPARE(child<QComboBox>("Combo6")->currentIndex(), 1);
    QCOMPARE(m_context->workspace().features.selection(Feature::TimeOutTimer), 5);

    m_context->document().setLanguage(Language::English);
    m_window->applyLanguage();
    QCOMPARE(snapshot(*m_window), english);
    QCOMPARE(applyTextTable(m_window.get(), featuresWindowTexts(), Language::English), 0);   // every row has its control
}

void TestFeaturesWindow::windowBuiltInChineseMatchesTable()
{
    // The window built in one language and the table applied for it agree,
    // so a switch never shows texts the window did not have.
    m_context->document().setLanguage(Language::Chinese);
    OptionalFeaturesWindow chinese(*m_context);
    const QStringList built = snapshot(chinese);
    chinese.applyLanguage();
    QCOMPARE(snapshot(chinese), built);
}

void TestFeaturesWindow::editingKeysAndShortFocusLosses()
{
    showVfoPage();
    auto *frequency = child<QLineEdit>("Text20");
    retype(frequency, QStringLiteral("43"));
    // Delete is an editing key, not a typed character.
    frequency->setCursorPosition(0);
    QTest::keyClick(frequency, Qt::Key_Delete);
    QCOMPARE(frequency->text(), QStringLiteral("3"));
    // A context menu or another program taking the focus checks nothing yet.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(frequency, &popup);
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(frequency, &away);
    QCOMPARE(frequency->text(), QStringLiteral("3"));
    QTest::keyClick(frequency, Qt::Key_Return);
    QCOMPARE(frequency->text(), QStringLiteral("400.00000"));

    // A decoded offset of 100 MHz or more is shown whole, past the typing limit.
    m_context->document().step(EditKind::OpenImage, [](Workspace &ws) {
        ws.readImage.fill(0, kImageSize - 1, 0xFF);
        ws.readImage.store(0x0724, QByteArray::fromHex("00 00 50 12"));
        ws.features.decodeRest(ws.readImage, ws.language);
    });
    QCOMPARE(child<QLineEdit>("Text21")->text(), QStringLiteral("125.00000"));
}

void TestFeaturesWindow::decodedImageShowsAndEncodesBack()
{
    const Workspace &ws = m_context->workspace();
    m_context->document().step(EditKind::OpenImage, [](Workspace &ws) {
        ws.readImage.fill(0, kImageSize - 1, 0xFF);
        ws.readImage.store(0x0700, QByteArray::fromHex("01 2A 07 00 09 80 A5 5E F7 02 00 FF 0E 02 FF 07"));
        ws.readImage.store(0x0710, QByteArray("QVN-7K") + QByteArray::fromHex("03 FF 48 49 FF FF FF FF FF FF"));
        ws.readImage.store(0x0720, QByteArray::fromHex("50 62 25 44 00 00 50 00 23 80 70 06 52 FF 00 FF"));
        ws.readImage.store(0x0740, QByteArray::fromHex("39 38 FF FF"));
        ws.features.decodeOptionBytes(ws.readImage);
        ws.features.decodeRest(ws.readImage, ws.language);
        ws.features.decodePassword(ws.readImage);
    });

    QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("42"));
    QCOMPARE(child<QLineEdit>("Text6")->text(), QStringLiteral("128"));
    QCOMPARE(child<QLineEdit>("Text31")->text(), QStringLiteral("HI"));
    QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("98"));
    QCOMPARE(child<QLineEdit>("Text20")->text(), QStringLiteral("442.56250"));
    QCOMPARE(child<QLineEdit>("Text21")->text(), QStringLiteral("5.00000"));
    QCOMPARE(child<QComboBox>("Combo3")->currentText(), QStringLiteral("100K"));
    QCOMPARE(child<QComboBox>("Combo22")->currentText(), QStringLiteral("D023N"));
    QCOMPARE(child<QComboBox>("Combo23")->currentText(), QStringLiteral("67.0"));
    QCOMPARE(child<QComboBox>("Combo19")->currentText(), QStringLiteral("7 Minute"));
    QCOMPARE(child<QComboBox>("Combo21")->currentText(), QStringLiteral("KEY"));
    QVERIFY(child<QCheckBox>("Check13")->isChecked());
    // Every control shows the record.
    for (const FeatureField &field : featureFields()) {
        QWidget *control = m_window->findChild<QWidget *>(field.control);
        if (auto *combo = qobject_cast<QComboBox *>(control))
            QCOMPARE(combo->currentIndex(), ws.features.selection(field.id));
        else if (auto *edit = qobject_cast<QLineEdit *>(control))
            QCOMPARE(edit->text(), ws.features.text(field.id));
    }

    MemoryImage written = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
    ws.features.encodeBlock(written, ws.band.index);
    ws.features.encodePassword(written);
    QCOMPARE(written.bytes(0x0700, 0x30), ws.readImage.bytes(0x0700, 0x30));
    QCOMPARE(written.bytes(0x0740, 4), ws.readImage.bytes(0x0740, 4));
}

void TestFeaturesWindow::editsReachTheImage()
{
    const Workspace &ws = m_context->workspace();
    auto *backlight = child<QComboBox>("Combo21");
    backlight->setFocus();
    QTest::keyClick(backlight, Qt::Key_Down);   // OFF KEY CONT: KEY -> CONT
    QCOMPARE(backlight->currentIndex(), 2);
    QTest::mouseClick(child<QCheckBox>("Check13"), Qt::LeftButton);
    retype(child<QLineEdit>("Text31"), QStringLiteral("ok"));
    QTest::mouseClick(child<QCheckBox>("Check12"), Qt::LeftButton);

    QCOMPARE(ws.features.selection(Feature::Backlight), 2);
    QCOMPARE(ws.features.selection(Feature::VoxRxInhibit), 1);
    QCOMPARE(ws.features.selection(Feature::AllowCancel), 1);
    m_context->commitPendingEdits();   // the power-on text is still being typed
    const MemoryImage &written = m_context->document().encode();
    QCOMPARE(int(written.at(0x0707)), 0xB8);
    QCOMPARE(int(written.at(0x0708)), 0x2F);
    QCOMPARE(written.bytes(0x0718, 6), QByteArray::fromHex("4F 4B FF FF FF FF"));
}

void TestFeaturesWindow::pendingEditsAreChecked()
{
    // A write started from the keyboard while the frequency still holds raw input.
    showVfoPage();
    auto *edit = child<QLineEdit>("Text20");
    retype(edit, QStringLiteral("441"));
    m_context->commitPendingEdits();
    QCOMPARE(edit->text(), QStringLiteral("441.00000"));
    QCOMPARE(m_context->workspace().features.text(Feature::VfoFrequency), QStringLiteral("441.00000"));
}

void TestFeaturesWindow::untouchedFieldsKeepTheirBytes_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("VFO frequency") << "Text20";
    QTest::newRow("priority channel") << "Text2";
}

void TestFeaturesWindow::untouchedFieldsKeepTheirBytes()
{
    // An erased VFO frequency (FFF.FFFFF) and a priority channel 0, both
    // values the leave checks would rewrite, decoded from an image.
    QFETCH(QString, field);
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
    image.set(0x0701, 0);
    m_context->document().openImage(image);
    if (field == u"Text20")
        showVfoPage();
    auto *focused = child<QLineEdit>(field.toLatin1().constData());
    QTest::mouseClick(focused, Qt::LeftButton);
    QTRY_VERIFY(focused->hasFocus());

    auto savedBytes = [this] {
        const MemoryImage &written = m_context->document().encode();
        return written.bytes(0x0720, 4) + written.bytes(0x0701, 1);
    };
    const QByteArray untouched = QByteArray::fromHex("FFFFFFFF00");
    // Save, Read and Write commit what is being typed: here nothing is.
    m_context->commitPendingEdits();
    QCOMPARE(savedBytes().toHex(), untouched.toHex());
    QCOMPARE(child<QLineEdit>("Text20")->text(), QStringLiteral("FFF.FFFFF"));
    QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("0"));
    // Leaving the field without typing checks nothing either.
    QTest::keyClick(focused, Qt::Key_Tab);
    QTRY_VERIFY(!focused->hasFocus());
    QCOMPARE(savedBytes().toHex(), untouched.toHex());
    QCOMPARE(m_context->document().isModified(), false);

    // Enter is the user asking for the check: it runs, edited or not.
    QTest::mouseClick(focused, Qt::LeftButton);
    QTRY_VERIFY(focused->hasFocus());
    QTest::keyClick(focused, Qt::Key_Return);
    const Workspace &ws = m_context->workspace();
    QCOMPARE(focused->text(), field == u"Text20" ? QString::number(ws.band.low, 'f', 5) : QString());
    QVERIFY(savedBytes() != untouched);
}

QTEST_MAIN(TestFeaturesWindow)
#include "tst_features_window.moc"
