#include "print/report_fonts.h"
#include "print/report_renderer.h"
#include "document/document.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

namespace {

void put16(QByteArray &out, int value)
{
    out.append(char(value >> 8)).append(char(value));
}

void put32(QByteArray &out, quint32 value)
{
    put16(out, int(value >> 16));
    put16(out, int(value & 0xFFFF));
}

quint32 get32(const QByteArray &data, int at)
{
    return (quint32(quint8(data[at])) << 24) | (quint32(quint8(data[at + 1])) << 16)
         | (quint32(quint8(data[at + 2])) << 8) | quint32(quint8(data[at + 3]));
}

using Groups = QList<std::array<quint32, 3>>;   // first code point, last, first glyph

// The groups of the one format 12 subtable the copy's character map holds.
Groups groupsOf(const QByteArray &cmap)
{
    Groups groups;
    const int at = 4 + 2 * 8;
    const quint32 count = get32(cmap, at + 12);
    for (quint32 g = 0; g < count; ++g) {
        const int group = at + 16 + 12 * int(g);
        groups.append({get32(cmap, group), get32(cmap, group + 4), get32(cmap, group + 8)});
    }
    return groups;
}

// A Windows BMP map (format 4): tab, space and "!" on glyphs 3..5, two
// Kangxi radicals by the glyph index array, the ideograph 高 on the glyph
// of the first radical.
QByteArray bmpMap()
{
    struct Segment {
        int first, last, delta, rangeOffset;
    };
    const QList<Segment> segments{{0x09, 0x09, 3 - 0x09, 0}, {0x20, 0x21, 4 - 0x20, 0},
                                  {0x2FBC, 0x2FBD, 0, 1}, {0x9AD8, 0x9AD8, 40 - 0x9AD8, 0}, {0xFFFF, 0xFFFF, 1, 0}};
    const int count = int(segments.size());
    QByteArray table;
    put16(table, 4);
    put16(table, 0);   // length, unused by the reader
    put16(table, 0);
    put16(table, 2 * count);
    put16(table, 0), put16(table, 0), put16(table, 0);
    for (const Segment &s : segments)
        put16(table, s.last);
    put16(table, 0);
    for (const Segment &s : segments)
        put16(table, s.first);
    for (const Segment &s : segments)
        put16(table, s.delta & 0xFFFF);
    for (int i = 0; i < count; ++i) {
        // The radicals' indexes follow the offsets array.
        put16(table, segments[i].rangeOffset ? 2 * (count - i) : 0);
    }
    put16(table, 40);
    put16(table, 41);

    QByteArray cmap;
    put16(cmap, 0);
    put16(cmap, 1);
    put16(cmap, 3), put16(cmap, 1), put32(cmap, 12);
    return cmap + table;
}

} // namespace

class TestReportRender : public QObject {
    Q_OBJECT

private slots:
    void characterMapLeavesOutRadicalsAndControls()
    {
        // The tab goes to the last glyph no character has.
        const std::optional<QByteArray> cmap = font_file::cmapForExtraction(bmpMap(), 44);
        QVERIFY(cmap);
        QCOMPARE(groupsOf(*cmap), (Groups{{0x09, 0x09, 43}, {0x20, 0x21, 4}, {0x9AD8, 0x9AD8, 40}}));
        QCOMPARE(groupsOf(*font_file::cmapForExtraction(bmpMap(), 42)), (Groups{{0x09, 0x09, 41}, {0x20, 0x21, 4}, {0x9AD8, 0x9AD8, 40}}));
        QVERIFY(font_file::isLeftOut(U'\t') && font_file::isLeftOut(0x2F00) && font_file::isLeftOut(0x2E80));
        QVERIFY(!font_file::isLeftOut(U' ') && !font_file::isLeftOut(0x9AD8) && !font_file::isLeftOut(0xF900));
    }

    void damagedCharacterMapsAreRefused()
    {
        const QByteArray whole = bmpMap();
        for (int size = 0; size < whole.size() - 4; ++size)
            QVERIFY2(!font_file::cmapForExtraction(whole.left(size), 44), qPrintable(QString::number(size)));
        QByteArray noUnicode = whole;
        noUnicode[7] = 0;   // platform 3, encoding 0: symbols
        QVERIFY(!font_file::cmapForExtraction(noUnicode, 44));
    }

    // A copy of an installed font with its new map and names is a working font.
    void copiedFontDrawsTheSameGlyphs()
    {
        const QRawFont source = QRawFont::fromFont(QFont(QStringLiteral("DejaVu Sans")));
        QVERIFY(source.isValid());
        QMap<QByteArray, QByteArray> tables;
        for (const char *tag : {"head", "hhea", "hmtx", "maxp", "OS/2", "post", "glyf", "loca"})
            tables.insert(tag, source.fontTable(tag));
        const QByteArray maxp = source.fontTable("maxp");
        const int glyphCount = (quint8(maxp[4]) << 8) | quint8(maxp[5]);
        const std::optional<QByteArray> cmap = font_file::cmapForExtraction(source.fontTable("cmap"), glyphCount);
        QVERIFY(cmap);
        tables.insert("cmap", *cmap);
        tables.insert("name", font_file::nameTable(QStringLiteral("Copy Test"), false));
        const QRawFont copy(font_file::fontFile(tables), 12);
        QVERIFY(copy.isValid());
        QCOMPARE(copy.familyName(), QStringLiteral("Copy Test"));
        const QString text = QStringLiteral("Quillon 435.12500 \u00e9");
        QCOMPARE(copy.glyphIndexesForString(text), source.glyphIndexesForString(text));
        // The tab has a glyph of its own, no longer the space's.
        const QList<quint32> tabAndSpace = copy.glyphIndexesForString(QStringLiteral("\t "));
        QVERIFY(tabAndSpace[0] != 0 && tabAndSpace[0] != tabAndSpace[1]);
    }

    void chineseHasItsOwnCodePoints()
    {
        const QString family = extractableCjkFamily();
        QVERIFY2(!family.isEmpty(), "no CJK font is installed (fonts-noto-cjk)");
        for (bool bold : {false, true}) {
            const QFont font = reportFont(Language::Chinese, 10, bold);
            QCOMPARE(font.families().first(), family);
            const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
            QCOMPARE(raw.familyName(), family);
            QCOMPARE(raw.weight() >= QFont::DemiBold, bold);
            for (char16_t ideograph : {u'高', u'止', u'音', u'示', u'无'})
                QVERIFY(raw.supportsCharacter(QChar(ideograph)));
            for (char16_t radical : {u'\u2FBC', u'\u2F4C', u'\u2FB3', u'\u2F70', u'\u2F46'})
                QVERIFY(!raw.supportsCharacter(QChar(radical)));
        }
        QCOMPARE(reportFont(Language::English, 10).families().first(), extractableLatinFamily());
        QVERIFY(!extractableLatinFamily().isEmpty());
    }

    // What the command line does: a workspace to a PDF file, no window anywhere.
    void pdfWithoutWindows()
    {
        QVERIFY(!QCoreApplication::instance()->inherits("QApplication"));
        Document document;
        document.setLanguage(Language::Chinese);
        document.newImage();
        document.commitFrequency(1, kColumnRx, QStringLiteral("435.125"));
        document.commitName(1, QStringLiteral("RPT"));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString reason;
        QVERIFY2(saveWorkspaceReportPdf(document.workspace(), pdf, &reason), qPrintable(reason));
        QVERIFY(QGuiApplication::topLevelWindows().isEmpty());
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString pages = QString::fromUtf8(text.readAllStandardOutput());
        QCOMPARE(pages.count(QLatin1Char('\f')), 5);
        for (const char *phrase : {"禁止", "接收亚音频", "提示音", "Quillon 无线电", "435.12500"})
            QVERIFY2(pages.contains(QString::fromUtf8(phrase)), phrase);
        QVERIFY(pages.contains(QRegularExpression(QStringLiteral("\\b1\\s+435.12500\\s.*\\bRPT\\b"))));

        QVERIFY(!saveWorkspaceReportPdf(document.workspace(), QStringLiteral("/nonexistent-folder/report.pdf"), &reason));
        QVERIFY(!reason.isEmpty());
    }
};

QTEST_MAIN(TestReportRender)
#include "tst_report_render.moc"
