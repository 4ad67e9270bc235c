#include "support/widget_fixture.h"

#include "help_viewer.h"
#include "i18n/ui_texts.h"
#include "shell/about_box.h"
#include "shell/help_window.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

// Stands in for the system's handler of web addresses: records what the
// program would have opened outside.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void madeInTheLanguageOfItsFirstUse_data();
    void madeInTheLanguageOfItsFirstUse();
    void linkOpensTheUserGuide_data();
    void linkOpensTheUserGuide();

private:
    TestEnvironment m_environment;
    UrlRecorder m_urls;
};

void TestAboutBox::initTestCase()
{
    QVERIFY(m_environment.isValid());
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_urls, "open");
}

void TestAboutBox::cleanupTestCase()
{
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void TestAboutBox::madeInTheLanguageOfItsFirstUse_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::newRow("Chinese") << 0;
    QTest::newRow("English") << 1;
}

// The box is made when first asked for: after a switch it has the texts of
// the language then shown, and the channel window's icon.
void TestAboutBox::madeInTheLanguageOfItsFirstUse()
{
    QFETCH(int, languageIndex);
    const auto language = Language(languageIndex);
    Harness h;
    h.window->switchLanguage(language == Language::Chinese ? Language::English : Language::Chinese);
    h.window->switchLanguage(language);
    AboutBox *box = h.window->aboutBox();
    QVERIFY(box);
    QCOMPARE(h.window->aboutBox(), box);
    const bool chinese = language == Language::Chinese;
    QCOMPARE(box->windowTitle(), chinese ? QStringLiteral("帮助") : QStringLiteral("Help"));
    QCOMPARE(control<QLabel>(box, QStringLiteral("lblTitle"))->text(),
             chinese ? QStringLiteral("Quillon对讲机编程软件") : QStringLiteral("Quillon Radio Programming Software"));
    QCOMPARE(control<QLabel>(box, QStringLiteral("lblVersion"))->text(),
             chinese ? QStringLiteral("简体中文版 V1.60") : QStringLiteral("English edition V1.60"));
    QCOMPARE(box->windowIcon().cacheKey(), h.window->editor(1)->windowIcon().cacheKey());
    // Later switches reach it as before.
    h.window->switchLanguage(chinese ? Language::English : Language::Chinese);
    QCOMPARE(box->windowTitle(), chinese ? QStringLiteral("Help") : QStringLiteral("帮助"));
}

void TestAboutBox::linkOpensTheUserGuide_data()
{
    madeInTheLanguageOfItsFirstUse_data();
}

// The maker has no page yet: the link, which still reads the maker's
// address, closes the box and shows the built-in user guide of the language;
// nothing is handed to the system.
void TestAboutBox::linkOpensTheUserGuide()
{
    QFETCH(int, languageIndex);
    const auto language = Language(languageIndex);
    Harness h;
    h.window->switchLanguage(language);
    h.takeMessages();   // port 1's at the start
    m_urls.opened.clear();
    QVERIFY(!h.window->helpWindow()->isVisible());

    QString linkText;
    const bool shown = whileModal([&] { h.find<QAction>("MNAbout")->trigger(); },
                                  [&](QWidget *modal) {
                                      QCOMPARE(modal->objectName(), QStringLiteral("FrmAbout"));
                                      auto *link = control<QLabel>(modal, QStringLiteral("lblLink"));
                                      QVERIFY(link);
                                      linkText = link->text();
                                      // The middle of the link's text.
                                      const QString address = ui_text::kGuideLinkText.text(language);
                                      const QPoint middle(link->contentsRect().left()
                                                              + link->fontMetrics().horizontalAdvance(address) / 2,
                                                          link->height() / 2);
                                      QTest::mouseClick(link, Qt::LeftButton, {}, middle);
                                  });
    QVERIFY(shown);
    QVERIFY(linkText.contains(ui_text::kGuideLinkText.text(language)));
    QTRY_VERIFY(!h.window->aboutBox()->isVisible());
    HelpWindow *help = h.window->helpWindow();
    QTRY_VERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), ui_text::kGuideTitle.text(language));
    auto *browser = control<QTextBrowser>(help, QStringLiteral("Browser"));
    QVERIFY(browser);
    QTextDocument guide;
    guide.setHtml(userGuideHtml(language));
    QVERIFY(!guide.toPlainText().isEmpty());
    QCOMPARE(browser->toPlainText(), guide.toPlainText());
    QCOMPARE(m_urls.opened, QList<QUrl>{});
    QCOMPARE(h.messages.size(), 0);
    // The guide is an ordinary window: the main window answers while it is up.
    QVERIFY(!QApplication::activeModalWidget());
    help->close();
}

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
