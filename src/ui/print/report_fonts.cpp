#include "print/report_fonts.h"

#include <QFontDatabase>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <utility>
#include <vector>

namespace quillon {

namespace font_file {

namespace {

// Big-endian reads that fail outside the table instead of reading past it.
std::optional<quint32> read(const QByteArray &data, qsizetype offset, int bytes)
{
    if (offset < 0 || offset > data.size() - bytes)
        return std::nullopt;
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | quint8(data[offset + i]);
    return value;
}

void append16(QByteArray &out, quint32 value)
{
    out.append(char(value >> 8)).append(char(value));
}

void append32(QByteArray &out, quint32 value)
{
    append16(out, value >> 16);
    append16(out, value & 0xFFFF);
}

using CharMap = std::vector<std::pair<char32_t, quint32>>;   // code point, glyph

std::optional<CharMap> readFormat12(const QByteArray &cmap, qsizetype at)
{
    const auto groups = read(cmap, at + 12, 4);
    if (!groups || *groups > quint32(cmap.size() / 12))
        return std::nullopt;
    CharMap map;
    for (quint32 g = 0; g < *groups; ++g) {
        const qsizetype group = at + 16 + 12 * qsizetype(g);
        const auto first = read(cmap, group, 4);
        const auto last = read(cmap, group + 4, 4);
        const auto glyph = read(cmap, group + 8, 4);
        if (!first || !last || !glyph || *last < *first || *last > 0x10FFFF)
            return std::nullopt;
        // A code point once: a map that names more cannot be a sound one.
        if (map.size() + (*last - *first) > 0x110000)
            return std::nullopt;
        for (quint32 c = *first; c <= *last; ++c)
            map.emplace_back(char32_t(c), *glyph + (c - *first));
    }
    return map;
}

std::optional<CharMap> readFormat4(const QByteArray &cmap, qsizetype at)
{
    const auto segX2 = read(cmap, at + 6, 2);
    if (!segX2)
        return std::nullopt;
    const qsizetype segments = *segX2 / 2;
    const qsizetype ends = at + 14;
    const qsizetype starts = ends + 2 * segments + 2;
    const qsizetype deltas = starts + 2 * segments;
    const qsizetype rangeOffsets = deltas + 2 * segments;
    CharMap map;
    for (qsizetype s = 0; s < segments; ++s) {
        const auto last = read(cmap, ends + 2 * s, 2);
        const auto first = read(cmap, starts + 2 * s, 2);
        const auto delta = read(cmap, deltas + 2 * s, 2);
        const auto rangeOffset = read(cmap, rangeOffsets + 2 * s, 2);
        if (!last || !first || !delta || !rangeOffset)
            return std::nullopt;
        for (quint32 c = *first; c <= *last && c != 0xFFFF; ++c) {
            quint32 glyph = c;
            if (*rangeOffset != 0) {
                const auto index = read(cmap, rangeOffsets + 2 * s + *rangeOffset + 2 * (c - *first), 2);
                if (!index)
                    return std::nullopt;
                glyph = *index;
                if (glyph == 0)
                    continue;
            }
            map.emplace_back(char32_t(c), (glyph + *delta) & 0xFFFF);
        }
    }
    return map;
}

} // namespace

bool isLeftOut(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0)   // control characters
        || (c >= 0x2E80 && c < 0x2FE0);          // CJK radicals supplement, Kangxi radicals
}

std::optional<QByteArray> cmapForExtraction(const QByteArray &cmap, int glyphCount)
{
    // The subtable that covers most: UCS-4 before the BMP, Windows before Unicode.
    const auto count = read(cmap, 2, 2);
    if (!count)
        return std::nullopt;
    int bestScore = 0;
    qsizetype best = -1;
    for (quint32 i = 0; i < *count; ++i) {
        const auto platform = read(cmap, 4 + 8 * i, 2);
        const auto encoding = read(cmap, 6 + 8 * i, 2);
        const auto offset = read(cmap, 8 + 8 * i, 4);
        if (!platform || !encoding || !offset)
            return std::nullopt;
        const auto format = read(cmap, *offset, 2);
        if (!format)
            continue;
        const bool unicode = *platform == 0 || (*platform == 3 && (*encoding == 1 || *encoding == 10));
        int score = 0;
        if (unicode && *format == 12)
            score = *platform == 3 ? 4 : 3;
        else if (unicode && *format == 4)
            score = *platform == 3 ? 2 : 1;
        if (score > bestScore) {
            bestScore = score;
            best = *offset;
        }
    }
    if (best < 0)
        return std::nullopt;
    const std::optional<CharMap> map = bestScore >= 3 ? readFormat12(cmap, best) : readFormat4(cmap, best);
    if (!map)
        return std::nullopt;

    CharMap kept;
    std::vector<bool> mapped(size_t(qMax(glyphCount, 0)), false);
    for (const auto &[c, glyph] : *map) {
        if (glyph == 0 || glyph >= mapped.size() || isLeftOut(c))
            continue;
        kept.emplace_back(c, glyph);
        mapped[glyph] = true;
    }
    // Qt draws a tab the font lacks with the space's glyph, and the text
    // layer then reads that glyph as the lower code point, the tab. A tab
    // on a glyph of its own (one no character uses, so it is never drawn)
    // leaves the space glyph to the space.
    for (size_t glyph = mapped.size(); glyph-- > 1;) {
        if (!mapped[glyph]) {
            kept.emplace_back(U'\t', quint32(glyph));
            break;
        }
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end(),
                           [](const auto &a, const auto &b) { return a.first == b.first; }),
               kept.end());

    // Runs of code points on consecutive glyphs make one group each.
    QByteArray groups;
    quint32 groupCount = 0;
    for (size_t i = 0; i < kept.size();) {
        size_t j = i + 1;
        while (j < kept.size() && kept[j].first == kept[j - 1].first + 1 && kept[j].second == kept[j - 1].second + 1)
            ++j;
        append32(groups, kept[i].first);
        append32(groups, kept[j - 1].first);
        append32(groups, kept[i].second);
        ++groupCount;
        i = j;
    }
    QByteArray out;
    append16(out, 0);           // version
    append16(out, 2);           // subtables: Unicode full repertoire, Windows UCS-4
    constexpr quint32 kSubtable = 4 + 2 * 8;
    append16(out, 0), append16(out, 4), append32(out, kSubtable);
    append16(out, 3), append16(out, 10), append32(out, kSubtable);
    append16(out, 12);
    append16(out, 0);
    append32(out, 16 + quint32(groups.size()));
    append32(out, 0);           // language
    append32(out, groupCount);
    out.append(groups);
    return out;
}

QByteArray nameTable(const QString &family, bool bold)
{
    const QString style = bold ? QStringLiteral("Bold") : QStringLiteral("Regular");
    QString postscript = family + u'-' + style;
    postscript.remove(u' ');
    const std::pair<int, QString> names[] = {
        {1, family}, {2, style}, {3, postscript}, {4, family + u' ' + style}, {6, postscript},
    };
    QByteArray strings;
    QByteArray out;
    append16(out, 0);
    append16(out, std::size(names));
    append16(out, 6 + 12 * std::size(names));
    for (const auto &[id, text] : names) {
        QByteArray utf16;
        for (QChar ch : text)
            append16(utf16, ch.unicode());
        append16(out, 3);       // Windows
        append16(out, 1);       // Unicode BMP
        append16(out, 0x409);   // English (United States)
        append16(out, id);
        append16(out, quint32(utf16.size()));
        append16(out, quint32(strings.size()));
        strings.append(utf16);
    }
    return out + strings;
}

QByteArray fontFile(const QMap<QByteArray, QByteArray> &tables)
{
    auto checksum = [](const QByteArray &data) {
        quint32 sum = 0;
        for (qsizetype i = 0; i < data.size(); i += 4) {
            quint32 word = 0;
            for (int b = 0; b < 4; ++b)
                word = (word << 8) | (i + b < data.size() ? quint8(data[i + b]) : 0);
            sum += word;
        }
        return sum;
    };
    const quint32 count = quint32(tables.size());
    quint32 power = 1, log = 0;
    while (power * 2 <= count)
        power *= 2, ++log;
    QByteArray out;
    append32(out, tables.contains("CFF ") ? 0x4F54544F : 0x00010000);   // 'OTTO' or TrueType
    append16(out, count);
    append16(out, power * 16);
    append16(out, log);
    append16(out, count * 16 - power * 16);
    quint32 offset = 12 + 16 * count;
    qsizetype headAt = -1;
    QByteArray body;
    // QMap keeps the tags sorted, as the directory must be.
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        QByteArray data = it.value();
        if (it.key() == "head" && data.size() >= 12)
            data.replace(8, 4, QByteArray(4, '\0'));   // checkSumAdjustment, set below
        out.append(it.key().leftJustified(4, ' ', true));
        append32(out, checksum(data));
        append32(out, offset + quint32(body.size()));
        append32(out, quint32(data.size()));
        if (it.key() == "head")
            headAt = 12 + 16 * count + body.size();
        body.append(data);
        while (body.size() % 4)
            body.append('\0');
    }
    out.append(body);
    if (headAt >= 0 && tables.value("head").size() >= 12) {
        const quint32 adjustment = 0xB1B0AFBA - checksum(out);
        qToBigEndian(adjustment, out.data() + headAt + 8);
    }
    return out;
}

} // namespace font_file

namespace {

// Every table a font may carry, except the character map and the names,
// which the copy has its own of, the glyph substitutions (a substituted
// glyph has no character of its own) and the signature the copy no longer
// matches.
constexpr const char *kCopiedTables[] = {
    "BASE", "CFF ", "CFF2", "EBDT", "EBLC", "EBSC", "GDEF", "GPOS", "LTSH", "OS/2", "VDMX", "VORG",
    "cvt ", "fpgm", "gasp", "glyf", "hdmx", "head", "hhea", "hmtx", "kern", "loca", "maxp", "post",
    "prep", "vhea", "vmtx",
};

// The installed fonts a copy is made of, in order of preference, and the
// character the copy must have.
struct CopySource {
    QString copyFamily;
    QStringList families;
    QFontDatabase::WritingSystem writingSystem;
    char16_t probe;
};

const CopySource &cjkSource()
{
    static const CopySource source{QStringLiteral("Quillon Report CJK"),
                                   {QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Sans SC"),
                                    QStringLiteral("WenQuanYi Micro Hei")},
                                   QFontDatabase::SimplifiedChinese, u'\u9AD8'};
    return source;
}

const CopySource &latinSource()
{
    static const CopySource source{QStringLiteral("Quillon Report Sans"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")},
                                   QFontDatabase::Latin, u'A'};
    return source;
}

// Registers the copy of one weight of the first installed font of source.
bool registerCopy(const CopySource &source, bool bold)
{
    for (const QString &family : source.families) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        QFont font(family);
        font.setWeight(bold ? QFont::Bold : QFont::Normal);
        const QRawFont raw = QRawFont::fromFont(font, source.writingSystem);
        if (!raw.isValid() || !raw.supportsCharacter(QChar(source.probe)) || (bold && raw.weight() < QFont::DemiBold))
            continue;
        const QByteArray maxp = raw.fontTable("maxp");
        const int glyphCount = maxp.size() >= 6 ? (quint8(maxp[4]) << 8) | quint8(maxp[5]) : 0;
        const std::optional<QByteArray> cmap = font_file::cmapForExtraction(raw.fontTable("cmap"), glyphCount);
        if (!cmap)
            continue;
        QMap<QByteArray, QByteArray> tables;
        for (const char *tag : kCopiedTables) {
            const QByteArray table = raw.fontTable(tag);
            if (!table.isEmpty())
                tables.insert(tag, table);
        }
        tables.insert("cmap", *cmap);
        tables.insert("name", font_file::nameTable(source.copyFamily, bold));
        const int id = QFontDatabase::addApplicationFontFromData(font_file::fontFile(tables));
        if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(source.copyFamily))
            return true;
        if (id >= 0)
            QFontDatabase::removeApplicationFont(id);
    }
    return false;
}

// The copy's family first once it is registered, then the installed ones.
QStringList familiesOf(const CopySource &source, bool registered)
{
    return registered ? QStringList{source.copyFamily} + source.families : source.families;
}

// Made once per run, when the first report is drawn; a missing bold
// weight is emboldened from the regular one.
bool registerCopies(const CopySource &source)
{
    const bool regular = registerCopy(source, false);
    if (regular)
        registerCopy(source, true);
    return regular;
}

} // namespace

QString extractableCjkFamily()
{
    static const bool registered = registerCopies(cjkSource());
    return registered ? cjkSource().copyFamily : QString();
}

QString extractableLatinFamily()
{
    static const bool registered = registerCopies(latinSource());
    return registered ? latinSource().copyFamily : QString();
}

QFont reportFont(Language language, qreal pointSize, bool bold)
{
    const QStringList cjk = familiesOf(cjkSource(), !extractableCjkFamily().isEmpty());
    const QStringList latin = familiesOf(latinSource(), !extractableLatinFamily().isEmpty());
    QFont font;
    font.setFamilies(language == Language::Chinese ? cjk + latin : latin + cjk);
    // No shaping: a ligature such as "ff" is one glyph without a character
    // of its own, which the text layer would lose.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace quillon
