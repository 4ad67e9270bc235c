#include "common/ruled_line_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;

class TestRuledLineEdit : public QObject {
    Q_OBJECT

private slots:
    void typingPasteAndInputMethodsFollowOneRule();
    void placedTextIsShownWhole();
    void editingKeepsSelectionAndUndo();
};

void TestRuledLineEdit::typingPasteAndInputMethodsFollowOneRule()
{
    RuledLineEdit name(InputRule::ChannelName, 5);
    name.show();
    QVERIFY(QTest::qWaitForWindowExposed(&name));
    QSignalSpy edited(&name, &RuledLineEdit::ruledTextEdited);

    QTest::keyClicks(&name, QStringLiteral("ab1!"));
    QCOMPARE(name.text(), QStringLiteral("AB1"));
    QVERIFY(name.isEdited());

    // An input method commits a whole string at once.
    name.clear();
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("中文名abcdefgh"));
    QApplication::sendEvent(&name, &commit);
    QCOMPARE(name.text(), QStringLiteral("ABCDE"));

    // A paste is filtered first, then cut to the limit.
    name.clear();
    QApplication::clipboard()->setText(QString(200, u'x'));
    QTest::keyClick(&name, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(name.text(), QStringLiteral("XXXXX"));
    QCOMPARE(name.maxLength(), 5);
    QCOMPARE(edited.last().at(0).toString(), QStringLiteral("XXXXX"));

    // A paste right after the program changed the text is filtered all the same.
    QApplication::clipboard()->setText(QStringLiteral("rpt 2!\n"));
    for (int i = 0; i < 2; ++i) {
        name.clear();
        QTest::keyClick(&name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name.text(), QStringLiteral("RPT2"));
    }

    // Typing within the rule leaves the box's own undo working.
    name.place(QStringLiteral("AB"));
    name.end(false);
    QTest::keyClicks(&name, QStringLiteral("C1"));
    QCOMPARE(name.text(), QStringLiteral("ABC1"));
    QTest::keyClick(&name, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(name.text(), QStringLiteral("AB"));
    QCOMPARE(name.maxLength(), 5);

    RuledLineEdit dtmf(InputRule::DtmfCode, 16);
    QApplication::clipboard()->setText(QString::fromUtf8("9xyz e１２中e"));
    QTest::keyClick(&dtmf, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dtmf.text(), QStringLiteral("9"));
}

void TestRuledLineEdit::placedTextIsShownWhole()
{
    RuledLineEdit offset(InputRule::VfoFrequency, 8);
    offset.place(QStringLiteral("125.00000"));   // nine characters, decoded
    QCOMPARE(offset.text(), QStringLiteral("125.00000"));
    QCOMPARE(offset.maxLength(), 9);
    QVERIFY(!offset.isEdited());
    offset.setCursorPosition(9);
    QTest::keyClick(&offset, Qt::Key_5);
    QCOMPARE(offset.text(), QStringLiteral("125.00000"));
    QTest::keyClick(&offset, Qt::Key_Backspace);
    QTest::keyClick(&offset, Qt::Key_7);
    QCOMPARE(offset.text(), QStringLiteral("125.00007"));
    QVERIFY(offset.isEdited());
    offset.place(QStringLiteral("10.00000"));
    QCOMPARE(offset.maxLength(), 8);
}

void TestRuledLineEdit::editingKeepsSelectionAndUndo()
{
    RuledLineEdit frequency(InputRule::VfoFrequency, 9);
    frequency.place(QStringLiteral("435.00000"));
    frequency.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frequency));

    // A typed key replaces the selection, as in any text box.
    frequency.setSelection(4, 5);
    QTest::keyClicks(&frequency, QStringLiteral("1x2"));
    QCOMPARE(frequency.text(), QStringLiteral("435.12"));
    QTest::keyClick(&frequency, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(frequency.text(), QStringLiteral("435.00000"));

    // A paste keeps the selection it replaces and leaves the cursor after it.
    QApplication::clipboard()->setText(QStringLiteral("7a7"));
    frequency.setSelection(0, 3);
    QTest::keyClick(&frequency, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(frequency.text(), QStringLiteral("77.00000"));
    QCOMPARE(frequency.cursorPosition(), 2);
}

QTEST_MAIN(TestRuledLineEdit)
#include "tst_ruled_line_edit.moc"
