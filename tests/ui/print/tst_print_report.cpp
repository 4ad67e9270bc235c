#include "support/widget_fixture.h"
#include "channels/channel_window.h"
#include "features/calibration_window.h"
#include "features/features_window.h"
#include "i18n/report_texts.h"
#include "print/print_report.h"
#include "print/report_renderer.h"
#include "report/report_content.h"
#include "common/app_context.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The PDF's pages as its text layer reads them, one string per page.
QStringList pdfText(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
        .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

struct PdfWord {
    QString text;
    QRectF box;   // points, from the page's top left corner
};
struct PdfPage {
    QSizeF size;   // points
    QList<PdfWord> words;
};

// Every word of the text layer with its place on the page.
QList<PdfPage> pdfWords(const QString &pdf)
{
    const QString xml = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfPage> pages;
    for (const QString &chunk : xml.split(QStringLiteral("</page>"))) {
        const QRegularExpressionMatch p = page.match(chunk);
        if (!p.hasMatch())
            continue;
        PdfPage shown{{p.captured(1).toDouble(), p.captured(2).toDouble()}, {}};
        for (auto it = word.globalMatch(chunk); it.hasNext();) {
            const QRegularExpressionMatch w = it.next();
            const QPointF topLeft(w.captured(1).toDouble(), w.captured(2).toDouble());
            const QPointF bottomRight(w.captured(3).toDouble(), w.captured(4).toDouble());
            QString text = w.captured(5);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&quot;"), QStringLiteral("\""));
            shown.words << PdfWord{text, QRectF(topLeft, bottomRight)};
        }
        pages << shown;
    }
    return pages;
}

// What is printed on each page, in pixels of a 72 dpi rendering (one pixel
// per point): the rectangle holding every dark pixel.
QList<QRect> inkBounds(const QString &pdf)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"), pdf, prefix});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return {};
    QList<QRect> bounds;
    QStringList files = QDir(dir.path()).entryList({QStringLiteral("page*.pgm")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        const QImage image = QImage(dir.filePath(file)).convertToFormat(QImage::Format_Grayscale8);
        QRect ink;
        for (int y = 0; y < image.height(); ++y) {
            const uchar *line = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                if (line[x] < 160)
                    ink |= QRect(x, y, 1, 1);
            }
        }
        bounds << ink;
    }
    return bounds;
}

// The characters the text layer gives the embedded glyphs: every target
// of the fonts' ToUnicode maps, in UTF-16 code units.
QList<char16_t> toUnicodeTargets(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    QList<char16_t> targets;
    for (qsizetype at = data.indexOf("stream"); at >= 0; at = data.indexOf("stream", at)) {
        const qsizetype begin = data.indexOf('\n', at) + 1;
        const qsizetype end = data.indexOf("endstream", begin);
        if (begin <= 0 || end < 0)
            break;
        // A deflated stream (after Qt's size prefix; the buffer grows as needed) or plain text.
        const qsizetype dictionary = data.lastIndexOf("<<", at);
        const bool deflated = dictionary >= 0 && data.mid(dictionary, at - dictionary).contains("/FlateDecode");
        const QByteArray raw = data.mid(begin, end - begin);
        const QByteArray map = deflated ? qUncompress(QByteArray::fromHex("00010000") + raw) : raw;
        at = end + qsizetype(qstrlen("endstream"));
        if (!map.contains("beginbf"))
            continue;
        for (const QByteArray &line : map.split('\n')) {
            const QList<QByteArray> tokens = line.simplified().replace('[', ' ').replace(']', ' ').split(' ');
            QList<QByteArray> codes;
            for (const QByteArray &token : tokens) {
                if (token.startsWith('<') && token.endsWith('>'))
                    codes << token.mid(1, token.size() - 2);
            }
            // bfrange lines: first, last, targets; bfchar lines: code, target.
            const int skip = codes.size() >= 3 ? 2 : 1;
            for (int i = skip; i < codes.size(); ++i) {
                for (int u = 0; u + 4 <= codes[i].size(); u += 4)
                    targets << char16_t(codes[i].mid(u, 4).toUShort(nullptr, 16));
            }
        }
    }
    return targets;
}

QSizeF pdfPageSize(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// Runs act on the modal dialog of type T once it is shown.
template<typename T>
void whenModal(QObject *context, std::function<void(T *)> act, int triesLeft = 100)
{
    QTimer::singleShot(20, context, [context, act, triesLeft] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget()))
            act(dialog);
        else if (triesLeft > 0)
            whenModal<T>(context, act, triesLeft - 1);
    });
}

constexpr double kMillimetre = 72 / 25.4;   // points

} // namespace

// Renders the report to PDF and reads it back: its text layer, where its
// words and its ink sit on the pages, and the pages' size.
class TestPrintReport : public QObject {
    Q_OBJECT

private:
    struct Windows {
        AppContext context;
        ChannelWindow channels{context};
        OptionalFeaturesWindow features{context};
        CalibrationWindow calibration{context};

        explicit Windows(Language language)
        {
            context.document().setLanguage(language);
            context.document().newImage();   // band 400-470MHz, every setting at its default
            applyLanguage();
        }
        void applyLanguage()
        {
            for (EditorWindow *w : std::initializer_list<EditorWindow *>{&channels, &features, &calibration}) {
                w->applyLanguage();
                w->showModel();
            }
        }
        // Channels 1, 2, 3 .. with every third one left empty, named CHn.
        void fillChannels()
        {
            for (int n = 1; n <= ChannelSheet::kChannels; ++n) {
                if (n % 3 == 0)
                    continue;
                context.document().commitFrequency(n, kColumnRx, QStringLiteral("4%1.%2").arg(n / 10, 2, 10, QLatin1Char('0')).arg(n % 10));
                context.document().commitName(n, QStringLiteral("CH%1").arg(n));
            }
        }
        ReportContent content() const { return reportContent(context.workspace()); }
        QString savePdf(const QTemporaryDir &dir, const QPageLayout &layout = defaultReportPageLayout())
        {
            const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
            QString reason;
            if (!saveReportPdf(content(), pdf, layout, &reason)) {
                qWarning() << "PDF not written:" << reason;
                return {};
            }
            return pdf;
        }
    };

    // The PDF's pages as text, one string per page.
    QStringList pdfPages(Windows &windows)
    {
        QTemporaryDir dir;
        return pdfText(windows.savePdf(dir));
    }

    // Types into a text field of the features window and leaves it with Enter.
    static void type(OptionalFeaturesWindow &window, const char *name, const QString &text)
    {
        auto *edit = window.findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Each page: ink within the margins and centred between them.
    static void checkInkInsideMargins(const QString &pdf, const QPageLayout &layout)
    {
        const QRectF page = layout.fullRectPoints();
        const QRectF printable = layout.paintRectPoints();
        const QList<QRect> ink = inkBounds(pdf);
        QVERIFY(!ink.isEmpty());
        for (int p = 0; p < ink.size(); ++p) {
            const QRect &box = ink[p];
            const QString where = QStringLiteral("page %1: ink %2,%3 to %4,%5").arg(p + 1).arg(box.left()).arg(box.top())
                                      .arg(box.right() + 1).arg(box.bottom() + 1);
            QVERIFY2(box.left() >= printable.left() - 1 && box.right() + 1 <= printable.right() + 1, qPrintable(where));
            QVERIFY2(box.top() >= printable.top() - 1 && box.bottom() + 1 <= printable.bottom() + 1, qPrintable(where));
            const double centre = (box.left() + box.right() + 1) / 2.0;
            QVERIFY2(qAbs(centre - printable.center().x()) <= 1.5, qPrintable(where));
            QVERIFY(page.contains(box));
        }
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdftotext", "pdftoppm", "pdfinfo"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QFAIL("poppler-utils (pdftotext, pdftoppm, pdfinfo) are needed to read the report back");
        }
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
        type(w.features, "Text6", QStringLiteral("77"));
        type(w.features, "Text2", QStringLiteral("5"));
        auto *allowCancel = w.features.findChild<QCheckBox *>(QStringLiteral("Check12"));
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
        auto *allowCancel = w.features.findChild<QCheckBox *>(QStringLiteral("Check12"));
        QVERIFY(allowCancel);
        allowCancel->setChecked(false);
        const QStringList pages = pdfPages(w);
        QVERIFY(pages.size() >= 2);
        QVERIFY(pages[1].contains(QRegularExpression(QString::fromUtf8("是否允许取消操作\\s+否"))));
        // Digits next to letters survive the Chinese font too.
        QVERIFY(pages[0].contains(QRegularExpression(QString::fromUtf8("步进频率:\\s+25K"))));
        QVERIFY(pages[0].contains(QRegularExpression(QString::fromUtf8("发射超时:\\s+2 分钟"))));
    }

    // Every label, value and cell of the report is the text its window shows.
    void contentIsWhatTheWindowsShow_data()
    {
        QTest::addColumn<Language>("language");
        QTest::addColumn<bool>("switched");
        QTest::newRow("Chinese") << Language::Chinese << false;
        QTest::newRow("English") << Language::English << false;
        QTest::newRow("English after Chinese") << Language::English << true;
        QTest::newRow("Chinese after English") << Language::Chinese << true;
    }
    void contentIsWhatTheWindowsShow()
    {
        QFETCH(Language, language);
        QFETCH(bool, switched);
        Windows w(switched ? (language == Language::Chinese ? Language::English : Language::Chinese) : language);
        w.fillChannels();
        w.context.document().chooseTone(1, kColumnRxTone, 12);
        w.context.document().chooseOption(2, kColumnPower, 0);
        type(w.features, "Text31", QStringLiteral("HELLO"));
        w.context.document().setFeatureSelection(Feature::VoxDelay, 3);
        w.context.document().setCalibrationValue(2, 17);
        if (switched) {
            w.context.document().setLanguage(language);
            w.applyLanguage();
        }
        const ReportContent content = w.content();

        auto shown = [&w](const QString &name) -> QString {
            const QObject *object = w.features.findChild<QObject *>(name);
            if (auto *label = qobject_cast<const QLabel *>(object))
                return label->text();
            if (auto *edit = qobject_cast<const QLineEdit *>(object))
                return edit->text();
            if (auto *combo = qobject_cast<const QComboBox *>(object))
                return combo->currentText();
            if (auto *box = qobject_cast<const QCheckBox *>(object))
                return box->text();
            return QStringLiteral("<no control %1>").arg(name);
        };
        // The controls of each pair, as the report lists them.
        const QList<QList<std::pair<QString, QString>>> controls{
            {{"Label2", "Text2"}, {"Label6", "Text6"}, {"Label1", "Combo1"}, {"Label3", "Combo3"},
             {"Label5", "Combo5"}, {"Label7", "Combo7"}, {"Label8", "Combo8"}, {"Label9", "Combo9"},
             {"Label10", "Combo10"}, {"Label11", "Combo11"}, {"Label19", "Combo19"}, {"Label31", "Text31"},
             {"LabelMod", "ComboMod"}},
            {{"Label20", "Text20"}, {"Label21", "Text21"}, {"Label22", "Combo22"}, {"Label23", "Combo23"},
             {"Label24", "Combo24"}, {"Label25", "Combo25"}, {"Label26", "Combo26"}, {"Label27", "Combo27"},
             {"Label28", "Combo28"}, {"Label29", "Combo29"}, {"Label30", "Combo30"}},
            {{"Label14", "Combo14"}, {"Label15", "Combo15"}},
        };
        for (int s = 0; s < controls.size(); ++s) {
            for (int r = 0; r < controls[s].size(); ++r) {
                const QStringList row = content.sections[s].table.rows.value(r);
                QCOMPARE(row.value(0), shown(controls[s][r].first));
                QCOMPARE(row.value(1), shown(controls[s][r].second));
            }
        }
        const auto *check12 = w.features.findChild<QCheckBox *>(QStringLiteral("Check12"));
        QVERIFY(check12);
        QCOMPARE(content.sections[2].table.rows.value(2).value(0).endsWith(check12->text()), true);
        QCOMPARE(content.sections[2].table.rows.value(2).value(1),
                 QString::fromUtf8(check12->isChecked() ? (language == Language::Chinese ? "是" : "Yes")
                                                        : (language == Language::Chinese ? "否" : "No")));
        for (int k = 0; k < 3; ++k) {
            const auto *frame = w.calibration.findChild<QGroupBox *>(QStringLiteral("Frame1_%1").arg(k));
            const auto *slider = w.calibration.findChild<QSlider *>(QStringLiteral("Slider1_%1").arg(k));
            QVERIFY(frame && slider);
            QCOMPARE(content.sections[3].table.rows.value(k), (QStringList{frame->title(), QString::number(slider->value())}));
        }
        const auto *grid = w.channels.findChild<QTableView *>(QStringLiteral("Grid1"));
        QVERIFY(grid && grid->model());
        const QAbstractItemModel *model = grid->model();
        const ReportTable &table = content.sections[4].table;
        QCOMPARE(table.rows.size(), model->rowCount());
        for (int c = 0; c < model->columnCount(); ++c)
            QCOMPARE(table.header.value(c), model->headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < model->rowCount(); ++r) {
            for (int c = 0; c < model->columnCount(); ++c)
                QCOMPARE(table.rows[r].value(c), model->index(r, c).data().toString());
        }
    }

    // Search and copy in the PDF find what the page shows: no look-alike
    // radicals in place of the ideographs, no tab for a space.
    void textLayerReadsWhatIsPrinted_data()
    {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QStringList>("phrases");
        QTest::newRow("Chinese") << Language::Chinese
            << QStringList{"禁止", "接收亚音频", "提示音", "Quillon 无线电", "高段等级", "开机显示字符:", "频道名称"};
        QTest::newRow("English") << Language::English
            << QStringList{"Quillon Radio Works", "Reverse Frequency:", "QT/DQT Dec", "Scramble", "Off"};
    }
    void textLayerReadsWhatIsPrinted()
    {
        QFETCH(Language, language);
        QFETCH(QStringList, phrases);
        Windows w(language);
        w.fillChannels();
        QTemporaryDir dir;
        // In drawing order: the layout mode drops a space that sits in a narrow gap ("2 S").
        const QString pdf = w.savePdf(dir);
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
        QVERIFY(!text.isEmpty());
        for (const QString &phrase : phrases)
            QVERIFY2(text.contains(phrase), qPrintable(phrase));
        for (const QChar c : text) {
            QVERIFY2(!(c.unicode() >= 0x2E80 && c.unicode() < 0x2FE0), qPrintable(QStringLiteral("radical U+%1").arg(c.unicode(), 4, 16)));
            QVERIFY2(c != QLatin1Char('\t'), "a tab in the text layer");
        }
        // The fonts' own maps: readers other than poppler take a tab for a tab.
        const QList<char16_t> targets = toUnicodeTargets(pdf);
        QVERIFY(targets.contains(u' '));
        for (char16_t c : targets) {
            QVERIFY2(!(c > 0 && c < 0x20) && !(c >= 0x2E80 && c < 0x2FE0),
                     qPrintable(QStringLiteral("U+%1 in a ToUnicode map").arg(int(c), 4, 16, QLatin1Char('0'))));
        }
        const QString words = text.simplified();
        const ReportContent content = w.content();
        QVERIFY(words.contains(content.maker.simplified()));
        QVERIFY(words.contains(content.title.simplified()));
        for (const ReportSection &section : content.sections) {
            QVERIFY2(words.contains(section.heading), qPrintable(section.heading));
            for (const QString &header : section.table.header)
                QVERIFY2(words.contains(header), qPrintable(header));
            for (const QStringList &row : section.table.rows) {
                for (const QString &cell : row)
                    QVERIFY2(words.contains(cell.simplified()), qPrintable(cell));
            }
        }
    }

    // The channel rows by their numbers' places on the pages: each once,
    // whole on one page under a repeated header row, all equally high.
    void channelRowsEquallyHighAndWhole_data()
    {
        QTest::addColumn<Language>("language");
        QTest::addColumn<bool>("filled");
        QTest::addColumn<int>("pages");
        QTest::newRow("Chinese, fresh") << Language::Chinese << false << 5;
        QTest::newRow("Chinese, filled") << Language::Chinese << true << 5;
        QTest::newRow("English, fresh") << Language::English << false << 4;
        QTest::newRow("English, filled") << Language::English << true << 4;
    }
    void channelRowsEquallyHighAndWhole()
    {
        QFETCH(Language, language);
        QFETCH(bool, filled);
        QFETCH(int, pages);
        Windows w(language);
        if (filled)
            w.fillChannels();
        QTemporaryDir dir;
        const QString pdf = w.savePdf(dir);
        const QList<PdfPage> shown = pdfWords(pdf);
        QCOMPARE(shown.size(), pages);
        const QString rxHeader = w.content().sections[4].table.header[kColumnRx];
        QList<int> numbers;
        QList<int> rowsPerPage;
        QList<double> pitches;
        for (const PdfPage &page : shown) {
            const auto header = std::find_if(page.words.cbegin(), page.words.cend(),
                                             [&](const PdfWord &word) { return word.text == rxHeader; });
            if (header == page.words.cend())
                continue;
            // The text layer's reading order may put an empty row apart: go by the places.
            QList<std::pair<double, int>> rows;
            for (const PdfWord &word : page.words) {
                bool number = false;
                const int n = word.text.toInt(&number);
                if (number && word.box.right() < header->box.left())
                    rows << std::pair{word.box.top(), n};
            }
            QVERIFY(!rows.isEmpty());
            std::sort(rows.begin(), rows.end());
            QList<double> tops;
            for (const auto &[top, n] : rows) {
                tops << top;
                numbers << n;
            }
            QVERIFY2(header->box.bottom() <= tops.first(), "the header row heads every page");
            for (int i = 1; i < tops.size(); ++i)
                pitches << tops[i] - tops[i - 1];
            rowsPerPage << int(tops.size());
        }
        QList<int> expected(ChannelSheet::kChannels);
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(numbers, expected);
        for (double pitch : pitches)
            QVERIFY2(qAbs(pitch - pitches.first()) < 0.1, qPrintable(QStringLiteral("row pitch %1 and %2").arg(pitch).arg(pitches.first())));
        // Full pages hold as many rows as each other; the first has the heading above its rows.
        const int full = *std::max_element(rowsPerPage.cbegin(), rowsPerPage.cend());
        for (int p = 1; p + 1 < rowsPerPage.size(); ++p)
            QCOMPARE(rowsPerPage[p], full);
        checkInkInsideMargins(pdf, defaultReportPageLayout());
    }

    // The settings' two columns are 4500 twips each: 450 points together.
    void settingsColumnsAre4500Twips()
    {
        Windows w(Language::Chinese);
        QTemporaryDir dir;
        const QList<QRect> ink = inkBounds(w.savePdf(dir));
        QVERIFY(ink.size() >= 2);
        QVERIFY2(qAbs(ink[1].width() - 450) <= 2, qPrintable(QString::number(ink[1].width())));
    }

    // Every text the report has of its own (report_texts.h) is shown: on the
    // pages, and in the preview window and its save dialog.
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
        auto *allowCancel = w.features.findChild<QCheckBox *>(QStringLiteral("Check12"));
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

        PrintPreviewWindow preview(w.context);
        QCOMPARE(preview.windowTitle(), QStringLiteral("Quillon") + text(report::kPreview));
        auto *save = preview.findChild<QAction *>(QStringLiteral("ActSavePdf"));
        QVERIFY(save);
        QCOMPARE(save->text(), text(report::kSavePdf));
        auto *setup = preview.findChild<QAction *>(QStringLiteral("ActPageSetup"));
        QVERIFY(setup);
        QCOMPARE(setup->text(), text(report::kPageSetup));
        QStringList filters;
        QString dialogTitle;
        QVERIFY(test::whileModal([&] { preview.savePdf(); }, [&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialogTitle = dialog->windowTitle();
            filters = dialog->nameFilters();
            dialog->reject();
        }));
        QCOMPARE(dialogTitle, text(report::kSavePdf));
        QCOMPARE(filters, QStringList{text(report::kPdfFilter)});
        QStringList messages;
        w.context.setResponder([&messages](const QString &message, int, const QString &) {
            messages << message;
            return 1;
        });
        preview.setPdfPathProvider([] { return QStringLiteral("/nonexistent-folder/report.pdf"); });
        preview.savePdf();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(text(report::kPdfFailed)), qPrintable(messages.first()));
    }

    void previewSavesPdf()
    {
        Windows w(Language::English);
        PrintPreviewWindow preview(w.context);
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
        QCOMPARE(preview.preview()->pageCount(), int(pdfWords(pdf).size()));

        // A PDF that cannot be written is reported, not passed over.
        QStringList messages;
        QStringList captions;
        w.context.setResponder([&messages, &captions](const QString &text, int, const QString &caption) {
            messages << text;
            captions << caption;
            return 1;
        });
        preview.setPdfPathProvider([] { return QStringLiteral("/nonexistent-folder/report.pdf"); });
        save->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith(QStringLiteral("The PDF file could not be saved")));
        QCOMPARE(captions, QStringList{QStringLiteral("Mistake")});
    }

    void previewInChinese()
    {
        Windows w(Language::Chinese);
        PrintPreviewWindow preview(w.context);
        QCOMPARE(preview.windowTitle(), QString::fromUtf8("Quillon打印预览"));
        QStringList captions;
        w.context.setResponder([&captions](const QString &, int, const QString &caption) {
            captions << caption;
            return 1;
        });
        preview.setPdfPathProvider([] { return QStringLiteral("/nonexistent-folder/report.pdf"); });
        preview.savePdf();
        QCOMPARE(captions, QStringList{QString::fromUtf8("错误")});
    }

    void saveAsPdfTakesThePreviewsOrientation()
    {
        Windows w(Language::Chinese);
        PrintPreviewWindow preview(w.context);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        preview.findChild<QAction *>(QStringLiteral("ActLandscape"))->trigger();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("landscape.pdf"));
        preview.setPdfPathProvider([pdf] { return pdf; });
        preview.findChild<QAction *>(QStringLiteral("ActSavePdf"))->trigger();
        const QSizeF size = pdfPageSize(pdf);
        QVERIFY2(qAbs(size.width() - 841.89) < 1 && qAbs(size.height() - 595.28) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        checkInkInsideMargins(pdf, preview.printer()->pageLayout());
    }

    // Page setup in the preview: A5, landscape, a wider left and right
    // margin. The preview, the PDF and the printer all take it.
    void pageSetupReachesPreviewAndPdf()
    {
        Windows w(Language::Chinese);
        w.fillChannels();
        PrintPreviewWindow preview(w.context);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        const int portraitPages = preview.preview()->pageCount();

        bool dialogSeen = false;
        whenModal<QPageSetupDialog>(&preview, [&dialogSeen](QPageSetupDialog *dialog) {
            dialogSeen = true;
            auto *size = dialog->findChild<QComboBox *>(QStringLiteral("pageSizeCombo"));
            auto *landscape = dialog->findChild<QAbstractButton *>(QStringLiteral("landscape"));
            auto *left = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("leftMargin"));
            auto *right = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("rightMargin"));
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            if (size && landscape && left && right && buttons) {
                size->setFocus();
                const int a5 = size->findText(QStringLiteral("A5"));
                while (size->currentIndex() != a5 && size->currentIndex() >= 0) {
                    const int before = size->currentIndex();
                    QTest::keyClick(size, a5 > before ? Qt::Key_Down : Qt::Key_Up);
                    if (size->currentIndex() == before)
                        break;
                }
                // On the button's indicator: the rest of its width is no click target.
                QTest::mouseClick(landscape, Qt::LeftButton, {}, QPoint(8, landscape->height() / 2));
                for (QDoubleSpinBox *margin : {left, right}) {
                    margin->selectAll();
                    QTest::keyClicks(margin, QStringLiteral("30"));
                    QTest::keyClick(margin, Qt::Key_Tab);
                }
                QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
            } else {
                dialog->reject();
            }
        });
        preview.findChild<QAction *>(QStringLiteral("ActPageSetup"))->trigger();
        QVERIFY(dialogSeen);

        const QPageLayout layout = preview.printer()->pageLayout();
        QCOMPARE(layout.pageSize().id(), QPageSize::A5);
        QCOMPARE(layout.orientation(), QPageLayout::Landscape);
        QVERIFY(qAbs(layout.margins(QPageLayout::Millimeter).left() - 30) < 0.5);
        QVERIFY(qAbs(layout.margins(QPageLayout::Millimeter).right() - 30) < 0.5);
        QVERIFY(preview.preview()->pageCount() > portraitPages);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("a5.pdf"));
        preview.setPdfPathProvider([pdf] { return pdf; });
        preview.findChild<QAction *>(QStringLiteral("ActSavePdf"))->trigger();
        const QSizeF size = pdfPageSize(pdf);
        QVERIFY2(qAbs(size.width() - 210 * kMillimetre) < 1 && qAbs(size.height() - 148 * kMillimetre) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        QCOMPARE(int(pdfWords(pdf).size()), preview.preview()->pageCount());
        checkInkInsideMargins(pdf, layout);
        // 210 mm less 60 mm of margins is narrower than two 4500-twip columns: they share what there is.
        const QList<QRect> ink = inkBounds(pdf);
        QVERIFY(qAbs(ink[0].width() - layout.paintRectPoints().width()) <= 2);
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
        w.context.document().openImage(image);
        w.channels.showModel();
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
