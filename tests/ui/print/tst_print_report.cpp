#include "support/widget_fixture.h"

#include "i18n/report_texts.h"
#include "print/print_report.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QPrintPreviewWidget>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

// Renders the report of real windows to a PDF and reads it back as text.
class TestPrintReport : public QObject {
    Q_OBJECT

private:
    // The program in the language with a new image (band 400-470MHz, every
    // setting at its default); the report reads the windows Print reads.
    struct Windows : Harness {
        explicit Windows(Language language)
        {
            takeMessages();   // port 1 of the load step
            window->switchLanguage(language);
            document().newImage();
        }
        QWidget &features() const { return *window->editor(3); }
        ReportSources sources() const { return {window->editor(1), window->editor(3), window->editor(4), context.language()}; }
    };

    // The PDF's pages as text, one string per page. A CJK font draws an
    // ideograph and the radical of the same shape with one glyph, and the
    // PDF's text map may name the radical ("⽆" for "无"): those read as the
    // ideograph they are drawn for.
    QStringList pdfPages(Windows &windows)
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString reason;
        if (!saveReportPdf(windows.sources(), pdf, &reason)) {
            qWarning() << "PDF not written:" << reason;
            return {};
        }
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!text.waitForFinished(60000) || text.exitCode() != 0)
            return {};
        QString pages = QString::fromUtf8(text.readAllStandardOutput());
        for (QChar &c : pages) {
            if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
                c = QString(c).normalized(QString::NormalizationForm_KC).at(0);
        }
        return pages.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    }

    TestEnvironment m_environment;

private slots:
    void initTestCase()
    {
        QVERIFY(m_environment.isValid());
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QFAIL("pdftotext (poppler-utils) is needed to read the report back");
    }

    void sectionsInOrderOnTheirPages_data()
    {
        QTest::addColumn<int>("languageIndex");
        QTest::addColumn<QStringList>("firstPage");
        QTest::addColumn<QString>("vfoHeading");
        QTest::addColumn<QString>("channelHeading");
        QTest::newRow("English") << 1
            << QStringList{"Tamber Interphone programming data are printed", "Function set"}
            << "The whole frequency frequently" << "Channel data";
        QTest::newRow("Chinese") << 0
            << QStringList{QString::fromUtf8("Tamber对讲机编程数据打印"), QString::fromUtf8("功能设置")}
            << QString::fromUtf8("全频频率") << QString::fromUtf8("信道数据");
    }
    void sectionsInOrderOnTheirPages()
    {
        QFETCH(int, languageIndex);
    const auto language = Language(languageIndex);
        QFETCH(QStringList, firstPage);
        QFETCH(QString, vfoHeading);
        QFETCH(QString, channelHeading);
        Windows w(language);
        const QStringList pages = pdfPages(w);
        QVERIFY(pages.size() >= 3);
        int at = 0;
        for (const QString &text : firstPage) {
            const int found = pages[0].indexOf(text, at);
            QVERIFY2(found >= 0, qPrintable(text));
            at = found;
        }
        // The whole-band section starts a new page, so does the channel table.
        QVERIFY(!pages[0].contains(vfoHeading));
        QVERIFY(pages[1].trimmed().startsWith(vfoHeading));
        int channelPage = -1;
        for (int p = 1; p < pages.size(); ++p) {
            if (pages[p].trimmed().startsWith(channelHeading)) {
                channelPage = p;
                break;
            }
        }
        QVERIFY(channelPage >= 2);
        const QString vox = language == Language::English ? QStringLiteral("VOX(Voice control launches)") : QString::fromUtf8("VOX(声控发射)");
        const QString debug = language == Language::English ? QStringLiteral("Debug information") : QString::fromUtf8("调试信息");
        QVERIFY(pages[1].indexOf(vox) > 0);
        QVERIFY(pages[1].indexOf(debug) > pages[1].indexOf(vox));
    }

    void valuesAsTheWindowsShowThem()
    {
        Windows w(Language::English);
        auto *present = w.features().findChild<QLineEdit *>(QStringLiteral("Text6"));
        auto *priority = w.features().findChild<QLineEdit *>(QStringLiteral("Text2"));
        QVERIFY(present && priority);
        present->setText(QStringLiteral("77"));
        priority->setText(QStringLiteral("5"));
        auto *allowCancel = w.features().findChild<QCheckBox *>(QStringLiteral("Check12"));
        QVERIFY(allowCancel);
        allowCancel->setChecked(false);
        const QStringList pages = pdfPages(w);
        QVERIFY(!pages.isEmpty());
        // Row 2 is the present channel, not the priority channel.
        const QStringList lines = pages[0].split(QLatin1Char('\n'));
        QStringList rows;
        for (const QString &line : lines) {
            if (!line.trimmed().isEmpty())
                rows << line.simplified();
        }
        const int heading = rows.indexOf(QStringLiteral("Function set"));
        QVERIFY(heading >= 0 && heading + 2 < rows.size());
        QVERIFY2(rows[heading + 1].endsWith(QStringLiteral(" 5")), qPrintable(rows[heading + 1]));
        QVERIFY2(rows[heading + 2].endsWith(QStringLiteral(" 77")), qPrintable(rows[heading + 2]));
        QVERIFY(pages[1].contains(QRegularExpression(QStringLiteral("WhetherAllow to Cancel Operating\\s+No"))));
        // The three calibration defaults of the high power grade.
        QVERIFY(pages[1].contains(QRegularExpression(QStringLiteral("High Sect Grades\\s+218"))));
        QVERIFY(pages[1].contains(QRegularExpression(QStringLiteral("Mid Sect Grades\\s+208"))));
        QVERIFY(pages[1].contains(QRegularExpression(QStringLiteral("Low Sect Grades\\s+218"))));
    }

    void uncheckedBoxPrintsNoInChinese()
    {
        Windows w(Language::Chinese);
        auto *allowCancel = w.features().findChild<QCheckBox *>(QStringLiteral("Check12"));
        QVERIFY(allowCancel);
        allowCancel->setChecked(false);
        const QStringList pages = pdfPages(w);
        QVERIFY(pages.size() >= 2);
        QVERIFY(pages[1].contains(QRegularExpression(QString::fromUtf8("是否允许取消操作\\s+否"))));
        // Digits next to letters survive the Chinese font too.
        QVERIFY(pages[0].contains(QRegularExpression(QString::fromUtf8("步进频率:\\s+25K"))));
        QVERIFY(pages[0].contains(QRegularExpression(QString::fromUtf8("发射超时:\\s+2 分钟"))));
    }

    void previewSavesPdf()
    {
        Windows w(Language::English);
        PrintPreviewWindow preview(w.context, w.sources());
        QCOMPARE(preview.objectName(), QStringLiteral("FrmPrint"));
        QCOMPARE(preview.windowTitle(), QStringLiteral("QuillonPrint preview"));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("saved.pdf"));
        preview.setPdfPathProvider([pdf] { return pdf; });
        auto *save = preview.findChild<QAction *>(QStringLiteral("ActSavePdf"));
        QVERIFY(save);
        save->trigger();
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5).startsWith("%PDF"));
        QVERIFY(preview.preview()->pageCount() >= 3);

        // A PDF that cannot be written is reported, not passed over.
        preview.setPdfPathProvider([] { return QStringLiteral("/nonexistent-folder/report.pdf"); });
        save->trigger();
        const QStringList messages = w.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith(QStringLiteral("The PDF file could not be saved")));
    }

    void previewInChinese()
    {
        Windows w(Language::Chinese);
        PrintPreviewWindow preview(w.context, w.sources());
        QCOMPARE(preview.windowTitle(), QString::fromUtf8("Quillon打印预览"));
    }

    void everyTextOfTheReportIsShown_data()
    {
        QTest::addColumn<int>("languageIndex");
        QTest::newRow("English") << 1;
        QTest::newRow("Chinese") << 0;
    }
    void everyTextOfTheReportIsShown()
    {
        QFETCH(int, languageIndex);
        const auto language = Language(languageIndex);
        const auto text = [language](const Bilingual &b) { return b.text(language); };
        Windows w(language);
        auto *allowCancel = w.features().findChild<QCheckBox *>(QStringLiteral("Check12"));
        QVERIFY(allowCancel);
        // The check box row reads Yes or No: one report of each.
        QString pages;
        for (bool checked : {true, false}) {
            allowCancel->setChecked(checked);
            const QStringList rendered = pdfPages(w);
            QVERIFY(!rendered.isEmpty());
            pages += rendered.join(QLatin1Char('\f'));
        }
        const QString whetherRow = text(report::kWhether) + allowCancel->text();
        const QStringList onThePages{text(report::kMaker), text(report::kTitlePrefix) + text(report::kTitle),
                                     text(report::kFunctionSet), text(report::kWholeBand), text(report::kVox),
                                     whetherRow, text(report::kDebug), text(report::kChannelData)};
        for (const QString &expected : onThePages)
            QVERIFY2(pages.contains(expected), qPrintable(expected));
        for (const Bilingual *answer : {&report::kYes, &report::kNo}) {
            const QRegularExpression row(QRegularExpression::escape(whetherRow) + QStringLiteral("\\s+")
                                         + QRegularExpression::escape(text(*answer)) + QStringLiteral("\\s"));
            QVERIFY2(pages.contains(row), qPrintable(text(*answer)));
        }

        // The preview window's own texts: its title, the save action, the
        // file filter of the save dialog and the message of a failed save.
        PrintPreviewWindow preview(w.context, w.sources());
        QCOMPARE(preview.windowTitle(), QStringLiteral("Quillon") + text(report::kPreview));
        auto *save = preview.findChild<QAction *>(QStringLiteral("ActSavePdf"));
        QVERIFY(save);
        QCOMPARE(save->text(), text(report::kSavePdf));
        QStringList filters;
        QString dialogTitle;
        QVERIFY(whileModal([&] { preview.savePdf(); }, [&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialogTitle = dialog->windowTitle();
            filters = dialog->nameFilters();
            dialog->reject();
        }));
        QCOMPARE(dialogTitle, text(report::kSavePdf));
        QCOMPARE(filters, QStringList{text(report::kPdfFilter)});
        QCOMPARE(w.takeMessages(), QStringList());   // a cancelled dialog says nothing
        preview.setPdfPathProvider([] { return QStringLiteral("/nonexistent-folder/report.pdf"); });
        preview.savePdf();
        const QStringList messages = w.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(text(report::kPdfFailed)), qPrintable(messages.first()));
    }

    void everyChannelRowIsPrinted()
    {
        Windows w(Language::English);
        MemoryImage image;
        // A full image: every channel in band (4ab.c0000 MHz for channel abc), with a name.
        for (int n = 1; n <= 128; ++n) {
            const int r = 13 * (n - 1);
            image.set(r + 0, 0x00);
            image.set(r + 1, 0x00);
            image.set(r + 2, quint8((((n / 10) % 10) << 4) | (n % 10)));
            image.set(r + 3, quint8(0x40 + n / 100));
            for (int i = 4; i < 12; ++i)
                image.set(r + i, 0xFF);
            image.set(r + 12, 0x95);
            const QByteArray name = QStringLiteral("CH%1").arg(n).toLatin1().leftJustified(8, char(0xFF));
            image.store(0x0800 + 8 * (n - 1), name);
        }
        image.set(0x0716, 3);
        w.document().openImage(image);
        const QStringList pages = pdfPages(w);
        QVERIFY(!pages.isEmpty());
        const QString all = pages.join(QLatin1Char('\n'));
        for (int n = 1; n <= 128; ++n) {
            const QString rx = QStringLiteral("4%1.%2").arg(n / 10, 2, 10, QLatin1Char('0')).arg(n % 10) + QStringLiteral("0000");
            const QRegularExpression row(QStringLiteral("\\b%1\\s+%2\\s.*\\bCH%1\\b").arg(n).arg(QRegularExpression::escape(rx)));
            QVERIFY2(all.contains(row), qPrintable(QStringLiteral("channel %1 (%2) missing").arg(n).arg(rx)));
        }
        QVERIFY(all.contains(QStringLiteral("RXFre")));
        QVERIFY(all.contains(QStringLiteral("High")));
    }
};

QTEST_MAIN(TestPrintReport)
#include "tst_print_report.moc"
