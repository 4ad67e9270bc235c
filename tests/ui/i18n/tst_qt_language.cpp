#include "support/widget_fixture.h"

#include "i18n/qt_language.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Qt's texts of a frame's system menu, in the menu's order.
const char *const kFrameMenu[] = {"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "Stay on &Top", "&Close"};
const QStringList kChineseFrameMenu{QStringLiteral("恢复(&R)"), QStringLiteral("移动(&M)"),  QStringLiteral("大小(&S)"),
                                    QStringLiteral("最小化(&N)"), QStringLiteral("最大化(&X)"), QStringLiteral("置顶(&T)"),
                                    QStringLiteral("关闭(&C)")};

QStringList englishFrameMenu()
{
    QStringList texts;
    for (const char *text : kFrameMenu)
        texts << QLatin1String(text);
    return texts;
}

// The texts of the system menu of editor window Form<number>'s frame.
QStringList frameMenu(const Harness &h, int number)
{
    QStringList texts;
    for (QAction *item : h.window->editorFrame(number)->systemMenu()->actions()) {
        if (!item->isSeparator())
            texts << item->text();
    }
    return texts;
}

QString cancelText(const QDialogButtonBox &box)
{
    const QPushButton *button = box.button(QDialogButtonBox::Cancel);
    return button ? button->text() : QString();
}

// Qt's dialogs made now: the standard buttons of a message box and the
// buttons of Qt's own file dialog.
QStringList dialogTexts()
{
    QMessageBox message;
    message.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto *fileButtons = files.findChild<QDialogButtonBox *>();
    return {message.button(QMessageBox::Ok)->text(), message.button(QMessageBox::Cancel)->text(),
            fileButtons ? cancelText(*fileButtons) : QString()};
}

const QStringList kChineseDialog{QStringLiteral("确定"), QStringLiteral("取消"), QStringLiteral("取消")};
const QStringList kEnglishDialog{QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("Cancel")};

} // namespace

class TestQtLanguage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QFile::remove(m_environment.settingsFile()); }
    void followsEverySwitch();
    void startsInStoredChinese();

private:
    TestEnvironment m_environment;
};

void TestQtLanguage::initTestCase()
{
    QVERIFY(m_environment.isValid());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QVERIFY2(QFile::exists(folder + QStringLiteral("/qtbase_zh_CN.qm")),
             "Qt's translations are missing: install qt6-translations-l10n (scripts/install-deps.sh)");
}

void TestQtLanguage::followsEverySwitch()
{
    Harness h;
    h.takeMessages();   // port 1's at the start
    QCOMPARE(h.ws().language, Language::English);
    QVERIFY(!qtSpeaksChinese());
    QCOMPARE(dialogTexts(), kEnglishDialog);
    QCOMPARE(frameMenu(h, 2), englishFrameMenu());

    // A window of Qt's that is open during the switch follows it too.
    QDialogButtonBox open(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    open.show();
    QCOMPARE(cancelText(open), QStringLiteral("Cancel"));

    for (int round = 0; round < 2; ++round) {
        h.window->switchLanguage(Language::Chinese);
        QVERIFY(qtSpeaksChinese());
        QCOMPARE(dialogTexts(), kChineseDialog);
        QTRY_COMPARE(cancelText(open), QStringLiteral("取消"));
        // Shown or not, every frame's menu follows; the frame's Close still
        // has no shortcut (Ctrl+W is Write).
        for (int number = 1; number <= 5; ++number)
            QCOMPARE(frameMenu(h, number), kChineseFrameMenu);
        for (QAction *item : h.window->editorFrame(1)->systemMenu()->actions())
            QVERIFY(item->shortcuts().isEmpty());

        h.window->switchLanguage(Language::English);
        QVERIFY(!qtSpeaksChinese());
        QCOMPARE(dialogTexts(), kEnglishDialog);
        QTRY_COMPARE(cancelText(open), QStringLiteral("Cancel"));
        for (int number = 1; number <= 5; ++number)
            QCOMPARE(frameMenu(h, number), englishFrameMenu());
    }
    QVERIFY(h.takeMessages().isEmpty());
}

void TestQtLanguage::startsInStoredChinese()
{
    SettingsStore().writeSetting(Language::Chinese);
    {
        Harness h;
        QCOMPARE(h.ws().language, Language::Chinese);
        QVERIFY(qtSpeaksChinese());
        QCOMPARE(dialogTexts(), kChineseDialog);
        // The frames were made with Qt's Chinese texts in place.
        QCOMPARE(frameMenu(h, 1), kChineseFrameMenu);
        QCOMPARE(frameMenu(h, 4), kChineseFrameMenu);

        h.window->switchLanguage(Language::English);
        QCOMPARE(dialogTexts(), kEnglishDialog);
        QCOMPARE(frameMenu(h, 1), englishFrameMenu());
        QCOMPARE(frameMenu(h, 4), englishFrameMenu());
        h.window->switchLanguage(Language::Chinese);
        QCOMPARE(frameMenu(h, 4), kChineseFrameMenu);
    }
    // The next start in English takes Qt's Chinese away again.
    QFile::remove(m_environment.settingsFile());
    Harness h;
    QVERIFY(!qtSpeaksChinese());
    QCOMPARE(dialogTexts(), kEnglishDialog);
    QCOMPARE(frameMenu(h, 1), englishFrameMenu());
}

QTEST_MAIN(TestQtLanguage)
#include "tst_qt_language.moc"
