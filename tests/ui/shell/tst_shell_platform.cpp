#include "support/widget_fixture.h"

#include "i18n/messages.h"
#include "help_viewer.h"
#include "message_box.h"
#include "settings_store.h"
#include "common/app_context.h"
#include "shell/toolbar_icons.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

// Stands in for the system's handler of file addresses.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestShellPlatform : public QObject {
    Q_OBJECT

private slots:
    void storedLanguage_data();
    void storedLanguage();
    void languageKeptUnderTheConfigFolder();
    void messageBox_data();
    void messageBox();
    void helpFileOrGuide();
    void iconsDrawnForTheDevicePixels();

private:
    TestEnvironment m_environment;
};

void TestShellPlatform::storedLanguage_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("languageIndex");
    QTest::newRow("nothing") << QVariant() << 1;
    QTest::newRow("binary 00 00 00 00") << QVariant(QByteArray(4, '\0')) << 0;
    QTest::newRow("binary 01 00 00 00") << QVariant(QByteArray::fromHex("01000000")) << 1;
    QTest::newRow("binary 00 01: 256, last digit 6") << QVariant(QByteArray::fromHex("0001")) << 6;
    QTest::newRow("empty binary") << QVariant(QByteArray()) << 1;
    QTest::newRow("text 1") << QVariant(QStringLiteral("1")) << 1;
    QTest::newRow("text 10: last digit") << QVariant(QStringLiteral("10")) << 0;
    QTest::newRow("text cut at NUL") << QVariant(QString::fromLatin1("0\0" "1", 3)) << 0;
    QTest::newRow("text no digit") << QVariant(QStringLiteral("zh")) << 1;
    QTest::newRow("other type") << QVariant(QStringList{QStringLiteral("0")}) << 1;
}

void TestShellPlatform::storedLanguage()
{
    QFETCH(QVariant, value);
    QFETCH(int, languageIndex);
    QCOMPARE(SettingsStore::languageFromStoredText(SettingsStore::textOfStoredValue(value)), languageIndex);
}

void TestShellPlatform::languageKeptUnderTheConfigFolder()
{
    QVERIFY(m_environment.isValid());
    const QString file = m_environment.settingsFile();
    QCOMPARE(SettingsStore().readLanguage(), Language::English);
    SettingsStore().writeSetting(Language::Chinese);
    QCOMPARE(QSettings(file, QSettings::IniFormat).value(QStringLiteral("BinaryValue")).toByteArray(), QByteArray(4, '\0'));
    QCOMPARE(SettingsStore().readLanguage(), Language::Chinese);
}

void TestShellPlatform::messageBox_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("buttons");   // sorted, the default one first
    QTest::addColumn<int>("icon");

    QTest::newRow("question zh, Escape") << 0 << kStyleQuestion << int(Qt::Key_Escape) << kAnswerCancel
                                         << QStringList{QStringLiteral("取消"), QStringLiteral("确定")} << int(QMessageBox::Question);
    // Enter takes the default, Cancel: a question needs a real OK.
    QTest::newRow("question en, Enter") << 1 << kStyleQuestion << int(Qt::Key_Return) << kAnswerCancel
                                        << QStringList{QStringLiteral("Cancel"), QStringLiteral("OK")} << int(QMessageBox::Question);
    QTest::newRow("plain zh") << 0 << kStyleOk << int(Qt::Key_Return) << kAnswerOk << QStringList{QStringLiteral("确定")}
                              << int(QMessageBox::NoIcon);
    QTest::newRow("stop en, Escape") << 1 << kStyleStop << int(Qt::Key_Escape) << kAnswerOk << QStringList{QStringLiteral("OK")}
                                     << int(QMessageBox::Critical);
    QTest::newRow("exclamation") << 1 << kStyleExclamation << int(Qt::Key_Return) << kAnswerOk
                                 << QStringList{QStringLiteral("OK")} << int(QMessageBox::Warning);
    QTest::newRow("information") << 1 << kStyleInformation << int(Qt::Key_Return) << kAnswerOk
                                 << QStringList{QStringLiteral("OK")} << int(QMessageBox::Information);
}

void TestShellPlatform::messageBox()
{
    QFETCH(int, languageIndex);
    const auto language = Language(languageIndex);
    QFETCH(int, style);
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);

    // Through the context, with an empty caption: the box shows the program's title.
    AppContext context;
    context.document().setLanguage(language);
    QStringList seen;
    QString title, text;
    int shownIcon = -1;
    int answered = 0;
    QVERIFY(whileModal([&] { answered = context.showMessage(QStringLiteral("line 1\r\nline 2"), style); },
                       [&](QWidget *modal) {
                           auto *box = qobject_cast<QMessageBox *>(modal);
                           QVERIFY(box && box->defaultButton());
                           title = box->windowTitle();
                           text = box->text();
                           shownIcon = int(box->icon());
                           for (QAbstractButton *button : box->buttons())
                               seen << button->text();
                           seen.sort();
                           seen.removeOne(box->defaultButton()->text());
                           seen.prepend(box->defaultButton()->text());
                           QTest::keyClick(box, Qt::Key(key));
                       }));
    QCOMPARE(title, QStringLiteral("Quillon"));
    QCOMPARE(text, QStringLiteral("line 1\nline 2"));
    QCOMPARE(shownIcon, icon);
    QCOMPARE(answered, answer);
    QCOMPARE(seen, buttons);
}

void TestShellPlatform::helpFileOrGuide()
{
    QVERIFY(!openHelpFile(Language::English));   // no OrvelE.CHM beside the program
    QVERIFY(userGuideHtml(Language::English).contains(QLatin1String("Communication Port")));
    QVERIFY(userGuideHtml(Language::Chinese).contains(QStringLiteral("通信端口")));

    // Present beside the program: the system's handler gets it.
    const QString chm = helpFilePath(Language::Chinese);
    QVERIFY(chm.endsWith(QLatin1String("/Orvel.CHM")));
    QFile file(chm);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    UrlCatcher handler;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &handler, "open");
    const bool opened = openHelpFile(Language::Chinese);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QFile::remove(chm);
    QVERIFY(opened);
    QCOMPARE(handler.urls, QList<QUrl>{QUrl::fromLocalFile(chm)});
}

void TestShellPlatform::iconsDrawnForTheDevicePixels()
{
    QList<QIcon> icons;
    for (int glyph = int(Glyph::New); glyph <= int(Glyph::Fm); ++glyph)
        icons << glyphIcon(Glyph(glyph));
    // The program's own icon, rendered from its drawing at build time.
    icons << applicationIcon();
    for (const QIcon &icon : icons) {
        for (int side : {16, 24, 48}) {
            for (qreal scale : {1.0, 1.5, 2.0}) {
                const QImage image = icon.pixmap(QSize(side, side), scale).toImage();
                QCOMPARE(image.size(), QSize(side, side) * scale);
                int painted = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        painted += qAlpha(image.pixel(x, y)) > 0;
                QVERIFY(painted > image.width() * image.height() / 8);
            }
        }
    }
    QCOMPARE(applicationIcon().availableSizes().size(), 7);
    QCOMPARE(applicationIcon().availableSizes().last(), QSize(256, 256));
}

QTEST_MAIN(TestShellPlatform)
#include "tst_shell_platform.moc"
