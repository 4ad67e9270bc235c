#include "report/report_content.h"

#include "document/document.h"

#include <QTest>

using namespace quillon;

namespace {

using Row = QStringList;

// A new image (band 400-470MHz, every setting at its default) in the language.
void start(Document &document, Language language)
{
    document.setLanguage(language);
    document.newImage();
}

const ReportSection &section(const ReportContent &content, int index)
{
    return content.sections.at(index);
}

} // namespace

class TestReportContent : public QObject {
    Q_OBJECT

private slots:
    void sectionsInOrder_data();
    void sectionsInOrder();
    void presentChannelIsRowTwo();
    void allowCancelReadsYesOrNo_data();
    void allowCancelReadsYesOrNo();
    void threeCalibrationValues();
    void everyChannelRowWithItsName();
    void anotherLanguageRetextsTheCells();
};

void TestReportContent::sectionsInOrder_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<int>("makerPointSize");
    QTest::addColumn<QString>("title");
    QTest::addColumn<Row>("stepRow");
    QTest::addColumn<Row>("timeoutRow");
    QTest::addColumn<Row>("channelHeader");
    QTest::newRow("Chinese") << Language::Chinese
        << QStringList{"功能设置", "全频频率", "VOX(声控发射)", "调试信息", "信道数据"}
        << QStringLiteral("Quillon 无线电") << 20 << QStringLiteral("Tamber对讲机编程数据打印")
        << Row{"步进频率:", "25K"} << Row{"发射超时:", "2 分钟"}
        << Row{"频道", "接收频率", "发射频率", "接收亚音频", "发射亚音频", "功率", "繁忙信道锁定", "扫描添加",
               "宽窄带", "发射禁止", "扰频", "频道名称"};
    QTest::newRow("English") << Language::English
        << QStringList{"Function set", "The whole frequency frequently", "VOX(Voice control launches)",
                       "Debug information", "Channel data"}
        << QStringLiteral("Quillon Radio Works") << 12 << QStringLiteral("Tamber Interphone programming data are printed")
        << Row{"Step Frequency:", "25K"} << Row{"Time-out Timer:", "2 Minute"}
        << Row{"Fre", "RXFre", "TXfre", "QT/DQT Dec", "QT/DQT Enc", "Power", "Channel lock", "Add scan", "Band",
               "TX Estop", "Scramble", "Channel Name"};
}

void TestReportContent::sectionsInOrder()
{
    QFETCH(Language, language);
    QFETCH(QStringList, headings);
    Document document;
    start(document, language);
    const ReportContent content = reportContent(document.workspace());
    QCOMPARE(content.language, language);
    QTEST(content.maker, "maker");
    QTEST(content.makerPointSize, "makerPointSize");
    QTEST(content.title, "title");
    QCOMPARE(content.titlePointSize, 14);

    QStringList shownHeadings;
    QList<bool> pageStarts;
    for (const ReportSection &s : content.sections) {
        shownHeadings << s.heading;
        pageStarts << s.startsPage;
    }
    QCOMPARE(shownHeadings, headings);
    // The whole-band settings and the channel table each start a page.
    QCOMPARE(pageStarts, (QList<bool>{false, true, false, false, true}));
    QCOMPARE(section(content, 0).table.rows.size(), 13);
    QCOMPARE(section(content, 1).table.rows.size(), 11);
    QCOMPARE(section(content, 2).table.rows.size(), 3);
    for (int s = 0; s < 4; ++s) {
        QCOMPARE(section(content, s).table.kind, ReportTable::Kind::Pairs);
        for (const Row &row : section(content, s).table.rows)
            QCOMPARE(row.size(), 2);
    }
    // A fresh image prints the defaults of every field.
    QTEST(section(content, 0).table.rows[3], "stepRow");
    QTEST(section(content, 0).table.rows[10], "timeoutRow");
    QCOMPARE(section(content, 1).table.rows[0].value(1), QStringLiteral("435.00000"));
    QCOMPARE(section(content, 4).table.kind, ReportTable::Kind::Channels);
    QTEST(section(content, 4).table.header, "channelHeader");
}

void TestReportContent::presentChannelIsRowTwo()
{
    Document document;
    start(document, Language::English);
    document.setFeatureText(Feature::PriorityChannel, QStringLiteral("5"));
    document.setFeatureText(Feature::PresentChannel, QStringLiteral("77"));
    document.setFeatureText(Feature::PowerOnText, QStringLiteral("HELLO"));
    const QList<Row> rows = section(reportContent(document.workspace()), 0).table.rows;
    QCOMPARE(rows[0], (Row{"Priority:", "5"}));
    QCOMPARE(rows[1], (Row{" Present Channel:", "77"}));
    QCOMPARE(rows[11], (Row{"Display Character:", "HELLO"}));
    QCOMPARE(rows[12], (Row{"Scan Mode:", "Time"}));
}

void TestReportContent::allowCancelReadsYesOrNo_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("ticked");
    QTest::addColumn<Row>("row");
    QTest::newRow("Chinese, unticked") << Language::Chinese << 0 << Row{"是否允许取消操作", "否"};
    QTest::newRow("Chinese, ticked") << Language::Chinese << 1 << Row{"是否允许取消操作", "是"};
    QTest::newRow("English, unticked") << Language::English << 0 << Row{"WhetherAllow to Cancel Operating", "No"};
    QTest::newRow("English, ticked") << Language::English << 1 << Row{"WhetherAllow to Cancel Operating", "Yes"};
}

void TestReportContent::allowCancelReadsYesOrNo()
{
    QFETCH(Language, language);
    QFETCH(int, ticked);
    Document document;
    start(document, language);
    document.setFeatureSelection(Feature::AllowCancel, ticked);
    QVERIFY(document.setFeatureSelection(Feature::VoxGain, 3));
    const QList<Row> rows = section(reportContent(document.workspace()), 2).table.rows;
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].value(1), QStringLiteral("4"));
    QTEST(rows[2], "row");
}

void TestReportContent::threeCalibrationValues()
{
    Document document;
    start(document, Language::English);
    document.setCalibrationValue(1, 199);
    document.setCalibrationValue(3, 7);   // a middle power grade: not printed
    const QList<Row> rows = section(reportContent(document.workspace()), 3).table.rows;
    QCOMPARE(rows, (QList<Row>{{"High Sect Grades", "218"}, {"Mid Sect Grades", "199"}, {"Low Sect Grades", "218"}}));
    document.setLanguage(Language::Chinese);
    QCOMPARE(section(reportContent(document.workspace()), 3).table.rows[1], (Row{"中段等级", "199"}));
}

void TestReportContent::everyChannelRowWithItsName()
{
    Document document;
    start(document, Language::English);
    for (int n = 1; n <= ChannelSheet::kChannels; n += 2) {
        QCOMPARE(document.commitFrequency(n, kColumnRx, QStringLiteral("4%1.125").arg(n % 70, 2, 10, QLatin1Char('0'))),
                 FrequencyCommit::Stored);
        document.commitName(n, QStringLiteral("CH%1").arg(n));
    }
    QVERIFY(document.chooseTone(3, kColumnRxTone, 5));
    const ReportTable table = section(reportContent(document.workspace()), 4).table;
    QCOMPARE(table.rows.size(), ChannelSheet::kChannels);
    const ChannelSheet &sheet = document.workspace().channels;
    for (int n = 1; n <= ChannelSheet::kChannels; ++n) {
        const Row &row = table.rows[n - 1];
        QCOMPARE(row.size(), ChannelSheet::kColumns);
        QCOMPARE(row[0], QString::number(n));
        for (int c = 1; c < ChannelSheet::kColumns; ++c)
            QCOMPARE(row[c], sheet.cell(n, c));
        QCOMPARE(row[kColumnName], n % 2 ? QStringLiteral("CH%1").arg(n) : QString());
    }
    QCOMPARE(table.rows[0].mid(1, 4), (Row{"401.12500", "401.12500", "Off", "Off"}));
    QCOMPARE(table.rows[2][kColumnRxTone], sheet.cell(3, kColumnRxTone));
    QVERIFY(table.rows[2][kColumnRxTone] != QStringLiteral("Off"));
}

void TestReportContent::anotherLanguageRetextsTheCells()
{
    Document document;
    start(document, Language::English);
    document.commitFrequency(1, kColumnRx, QStringLiteral("435"));
    const ReportContent chinese = reportContent(document.workspace(), Language::Chinese);
    QCOMPARE(chinese.language, Language::Chinese);
    QCOMPARE(section(chinese, 0).heading, QStringLiteral("功能设置"));
    QCOMPARE(section(chinese, 4).table.rows[0].mid(1, 4), (Row{"435.00000", "435.00000", "关闭", "关闭"}));
    // The workspace itself stays in its language.
    QCOMPARE(section(reportContent(document.workspace()), 4).table.rows[0][kColumnRxTone], QStringLiteral("Off"));
}

QTEST_GUILESS_MAIN(TestReportContent)
#include "tst_report_content.moc"
