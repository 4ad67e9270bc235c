#include "files/channel_csv.h"

#include "files/file_io.h"
#include "i18n/csv_texts.h"
#include "i18n/field_texts.h"
#include "i18n/texts.h"
#include "image/codecs.h"
#include "image/tone_list.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <set>

namespace quillon {

namespace {

// The format's columns in the order its writers use.
enum CsvColumn {
    kLocation, kName, kFrequency, kDuplex, kOffset, kTone, kRToneFreq, kCToneFreq, kDtcsCode, kDtcsPolarity,
    kRxDtcsCode, kCrossMode, kMode, kTStep, kSkip, kPower, kComment, kUrCall, kRpt1Call, kRpt2Call, kDvCode,
    kBusyLock, kTxProhibit, kScramble, kCsvColumns,
};

constexpr const char *kColumnNames[kCsvColumns] = {
    "Location", "Name",       "Frequency", "Duplex",   "Offset",   "Tone",     "rToneFreq", "cToneFreq",
    "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",   "TStep",    "Skip",      "Power",
    "Comment",  "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE",   "BusyLock", "TxProhibit", "Scramble",
};

QString columnName(CsvColumn column)
{
    return QString::fromLatin1(kColumnNames[column]);
}

// The format has 199.5 where the radio's list has 199.9.
const QString kFormat1995 = QStringLiteral("199.5");
const QString kList1999 = QStringLiteral("199.9");
// What the format's writers put in tone columns a row does not use.
const QString kUnusedCtcss = QStringLiteral("88.5");
const QString kUnusedDcs = QStringLiteral("023");
// TX further than this from RX is written as a split frequency.
constexpr qint64 kLargestOffset = 70 * 100000;   // in units of 10 Hz

constexpr int kFirstDcs = 51;
constexpr int kFirstInvertedDcs = 158;

// A frequency text in units of 10 Hz (the five decimals of a cell).
std::optional<qint64> frequencyUnits(const QString &text)
{
    if (!isDecimalNumber(text))
        return std::nullopt;
    return std::llround(leadingNumber(text) * 100000.0);
}

QString sixDecimals(qint64 units)
{
    return QString::number(units / 100000) + u'.' + QString::number(units % 100000).rightJustified(5, u'0')
        + u'0';
}

// One side of a channel's tones, as the format sees it.
struct ToneSide {
    enum class Kind { Off, Ctcss, Dcs };
    Kind kind = Kind::Off;
    QString value;          // "88.5" or "023"
    bool inverted = false;

    bool operator==(const ToneSide &other) const = default;
    QChar polarity() const { return kind == Kind::Dcs && inverted ? u'R' : u'N'; }
};

ToneSide toneSide(int index)
{
    if (index <= 0 || index >= kToneCount)
        return {};
    const QString entry = toneEntry(index, Language::English);
    if (index < kFirstDcs)
        return {ToneSide::Kind::Ctcss, entry == kList1999 ? kFormat1995 : entry, false};
    return {ToneSide::Kind::Dcs, entry.mid(1, 3), index >= kFirstInvertedDcs};
}

// A tone the decoder found outside the list keeps its text with position 0,
// and the encoder writes it as Off.
bool toneOutsideList(int index, const QString &text)
{
    return index == 0 && !text.isEmpty() && text != toneOffText().zh && text != toneOffText().en;
}

struct ToneColumns {
    QString mode, rTone = kUnusedCtcss, cTone = kUnusedCtcss, dtcs = kUnusedDcs, rxDtcs = kUnusedDcs,
                  cross = QStringLiteral("Tone->Tone");
};

ToneColumns toneColumns(const ToneSide &tx, const ToneSide &rx)
{
    using Kind = ToneSide::Kind;
    ToneColumns c;
    if (tx.kind == Kind::Off && rx.kind == Kind::Off)
        return c;
    if (tx.kind == Kind::Ctcss && rx.kind == Kind::Off) {
        c.mode = QStringLiteral("Tone");
        c.rTone = tx.value;
        return c;
    }
    if (tx.kind == Kind::Ctcss && tx == rx) {
        c.mode = QStringLiteral("TSQL");
        c.rTone = c.cTone = tx.value;
        return c;
    }
    if (tx.kind == Kind::Dcs && tx == rx) {
        c.mode = QStringLiteral("DTCS");
        c.dtcs = tx.value;
        return c;
    }
    c.mode = QStringLiteral("Cross");
    auto name = [](Kind kind) {
        return kind == Kind::Ctcss ? QStringLiteral("Tone") : kind == Kind::Dcs ? QStringLiteral("DTCS") : QString();
    };
    c.cross = name(tx.kind) + QStringLiteral("->") + name(rx.kind);
    if (tx.kind == Kind::Ctcss)
        c.rTone = tx.value;
    if (tx.kind == Kind::Dcs)
        c.dtcs = tx.value;
    if (rx.kind == Kind::Ctcss)
        c.cTone = rx.value;
    if (rx.kind == Kind::Dcs)
        c.rxDtcs = rx.value;
    return c;
}

QString englishOption(int column, int index)
{
    return channelOptionText(column, index, Language::English);
}

} // namespace

QStringList channelCsvHeader()
{
    QStringList header;
    for (int column = 0; column < kCsvColumns; ++column)
        header << columnName(CsvColumn(column));
    return header;
}

ChannelCsvExport exportChannelCsv(const ChannelSheet &sheet, const BandState &band)
{
    ChannelCsvExport result;
    QList<QStringList> rows{channelCsvHeader()};
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (!sheet.passesBandCheck(channel, band))
            continue;
        const ChannelRow &row = sheet.row(channel);
        auto warn = [&](const Bilingual &text) { result.warnings.append({0, channel, text}); };
        QStringList f(kCsvColumns);
        f[kLocation] = QString::number(channel);
        f[kName] = row.name;
        const qint64 rx = *frequencyUnits(row.rxText);
        f[kFrequency] = sixDecimals(rx);

        // No TX, or one that is no number, is the format's "off".
        const bool hasTx = isDecimalNumber(row.txText);
        const qint64 tx = hasTx ? *frequencyUnits(row.txText) : 0;
        f[kOffset] = sixDecimals(0);
        if (!hasTx) {
            if (!row.txText.isEmpty())
                warn(csv_text::arg(csv_text::kExportTxNotNumber, row.txText));
            f[kDuplex] = QStringLiteral("off");
        } else if (tx == rx) {
            f[kDuplex] = QString();
        } else if (std::llabs(tx - rx) <= kLargestOffset) {
            f[kDuplex] = tx > rx ? QStringLiteral("+") : QStringLiteral("-");
            f[kOffset] = sixDecimals(std::llabs(tx - rx));
        } else {
            f[kDuplex] = QStringLiteral("split");
            f[kOffset] = sixDecimals(tx);
        }

        if (toneOutsideList(row.rxToneIndex, row.rxToneText))
            warn(csv_text::arg(csv_text::kExportToneNotInList, QStringLiteral("RX tone"), row.rxToneText));
        if (toneOutsideList(row.txToneIndex, row.txToneText))
            warn(csv_text::arg(csv_text::kExportToneNotInList, QStringLiteral("TX tone"), row.txToneText));
        const ToneSide txTone = toneSide(row.txToneIndex);
        const ToneSide rxTone = toneSide(row.rxToneIndex);
        const ToneColumns tones = toneColumns(txTone, rxTone);
        f[kTone] = tones.mode;
        f[kRToneFreq] = tones.rTone;
        f[kCToneFreq] = tones.cTone;
        f[kDtcsCode] = tones.dtcs;
        f[kDtcsPolarity] = QString(txTone.polarity()) + rxTone.polarity();
        f[kRxDtcsCode] = tones.rxDtcs;
        f[kCrossMode] = tones.cross;

        const auto option = [&row](int column) { return row.optionIndex[column - kColumnPower]; };
        f[kMode] = option(kColumnBandwidth) == 1 ? QStringLiteral("FM") : QStringLiteral("NFM");
        f[kTStep] = rx % 500 == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
        f[kSkip] = option(kColumnScanAdd) == 0 ? QStringLiteral("S") : QString();
        static const QString kPowers[] = {QStringLiteral("Low"), QStringLiteral("High"), QStringLiteral("Mid")};
        const int power = option(kColumnPower);
        f[kPower] = power >= 0 && power < 3 ? kPowers[power] : QString();   // 3 has no list entry
        f[kBusyLock] = englishOption(kColumnBusyLock, option(kColumnBusyLock));
        f[kTxProhibit] = englishOption(kColumnTxProhibit, option(kColumnTxProhibit));
        f[kScramble] = englishOption(kColumnScramble, option(kColumnScramble));
        rows.append(f);
        ++result.channels;
    }
    result.bytes = writeCsv(rows);
    return result;
}

QStringList channelGridHeaders(Language language)
{
    QStringList headers;
    for (const TextRow &text : channelWindowTexts()) {
        if (text.control == QLatin1String("Grid1") && text.role == TextRole::Header)
            headers << text.text.text(language);
    }
    return headers;
}

QByteArray exportChannelTsv(const ChannelSheet &sheet, const BandState &band, Language language)
{
    QList<QStringList> rows{channelGridHeaders(language)};
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (!sheet.passesBandCheck(channel, band))
            continue;
        QStringList cells;
        for (int column = 0; column < ChannelSheet::kColumns; ++column)
            cells << sheet.cell(channel, column);
        rows.append(cells);
    }
    return writeCsv(rows, u'\t');
}

// ---- reading

namespace {

using csv_text::arg;

// Reads the rows of one table; each row either becomes an entry or is
// rejected with the first reason found.
class RowReader {
public:
    RowReader(const CsvTable &table, bool sequential) : m_table(table), m_sequential(sequential)
    {
        for (int column = 0; column < kCsvColumns; ++column)
            m_columns[column] = table.column(columnName(CsvColumn(column)));
    }

    void read(ChannelCsvRead &result)
    {
        QList<const CsvRecord *> live;
        for (const CsvRecord &record : m_table.records) {
            m_record = &record;
            const QString frequency = value(kFrequency);
            // Empty rows of a spreadsheet, and the format's empty memories.
            if (frequency.isEmpty() || (isDecimalNumber(frequency) && leadingNumber(frequency) == 0.0))
                continue;
            live.append(&record);
        }
        collectShiftAndWatts(live);
        for (const CsvRecord *record : live) {
            m_record = record;
            m_channel = 0;
            if (std::optional<ChannelCsvEntry> entry = readRow())
                result.entries.append(*entry);
            else
                result.rejected.append({record->line, m_channel, m_error});
        }
    }

private:
    bool has(CsvColumn column) const { return m_columns[column] >= 0; }

    QString value(CsvColumn column) const
    {
        const int at = m_columns[column];
        return at >= 0 && at < m_record->fields.size() ? m_record->fields[at].trimmed() : QString();
    }

    std::optional<int> location() const
    {
        const QString text = value(kLocation);
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
        if (!digits.match(text).hasMatch())
            return std::nullopt;
        return text.toInt();
    }

    static std::optional<double> watts(const QString &text)
    {
        static const QRegularExpression pattern(QStringLiteral("^([0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)\\s*W$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = pattern.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        return match.captured(1).toDouble();
    }

    // Micro-watts, so that 5W and 5.0W are one value.
    static qint64 wattKey(double value) { return std::llround(value * 1e6); }

    void collectShiftAndWatts(const QList<const CsvRecord *> &live)
    {
        std::optional<int> smallest;
        for (const CsvRecord *record : live) {
            m_record = record;
            if (const std::optional<int> n = location())
                smallest = smallest ? std::min(*smallest, *n) : *n;
            if (const std::optional<double> w = watts(value(kPower)))
                m_watts.insert(wattKey(*w));
        }
        // Files of radios that count their memories from 0.
        m_shift = smallest == 0 ? 1 : 0;
    }

    bool reject(const Bilingual &reason)
    {
        m_error = reason;
        return false;
    }

    std::optional<ChannelCsvEntry> readRow()
    {
        ChannelCsvEntry entry;
        entry.line = m_record->line;
        if (!readChannel(entry) || !readFrequencies(entry) || !readTones(entry) || !readOptions(entry))
            return std::nullopt;
        entry.name = m_record->fields.value(m_columns[kName]);
        return entry;
    }

    bool readChannel(ChannelCsvEntry &entry)
    {
        if (m_sequential || !has(kLocation))
            return true;   // numbered when the row is taken
        const std::optional<int> n = location();
        if (!n)
            return reject(arg(csv_text::kLocationNotChannel, value(kLocation)));
        m_channel = entry.channel = *n + m_shift;
        if (entry.channel < 1 || entry.channel > ChannelSheet::kChannels)
            return reject(arg(csv_text::kBeyondLastChannel, QString::number(entry.channel)));
        return true;
    }

    bool number(CsvColumn column)
    {
        if (isDecimalNumber(value(column)))
            return true;
        return reject(arg(csv_text::kNotANumber, columnName(column), value(column)));
    }

    bool readFrequencies(ChannelCsvEntry &entry)
    {
        if (!number(kFrequency))
            return false;
        entry.receive = value(kFrequency);
        const QString duplex = value(kDuplex).toLower();
        using Transmit = ChannelCsvEntry::Transmit;
        if (duplex.isEmpty()) {
            entry.transmit = Transmit::SameAsReceive;
        } else if (duplex == u"off") {
            entry.transmit = Transmit::None;
        } else if (duplex == u"+" || duplex == u"-" || duplex == u"split") {
            if (!number(kOffset))
                return false;
            entry.transmit = Transmit::Typed;
            if (duplex == u"split") {
                entry.transmitText = value(kOffset);
            } else {
                // From the file's RX, not the snapped one; typing then formats and snaps.
                const double offset = leadingNumber(value(kOffset));
                const double rx = leadingNumber(entry.receive);
                entry.transmitText = QString::number(duplex == u"+" ? rx + offset : rx - offset, 'f', 9);
            }
        } else {
            return reject(arg(csv_text::kUnknownValue, columnName(kDuplex), value(kDuplex),
                              QStringLiteral("\"\", +, -, split, off")));
        }
        return true;
    }

    std::optional<int> ctcss(CsvColumn column)
    {
        // A file without cToneFreq has one tone column for both sides.
        if (column == kCToneFreq && !has(kCToneFreq))
            column = kRToneFreq;
        const QString text = value(column);
        int index = 0;
        if (isDecimalNumber(text)) {
            const double tenths = leadingNumber(text) * 10.0;
            const qint64 whole = std::llround(tenths);
            if (std::abs(tenths - double(whole)) < 1e-6) {
                QString tone = QString::number(whole / 10) + u'.' + QString::number(whole % 10);
                index = toneIndexOf(tone == kFormat1995 ? kList1999 : tone, Language::English);
            }
        }
        if (index <= 0 || index >= kFirstDcs) {
            reject(arg(csv_text::kToneNotInList, columnName(column), text));
            return std::nullopt;
        }
        return index;
    }

    // side 0 is TX, 1 is RX: the letter of DtcsPolarity that gives its polarity.
    std::optional<int> dcs(CsvColumn column, int side)
    {
        if (column == kRxDtcsCode && !has(kRxDtcsCode))
            column = kDtcsCode;
        const QString polarity = value(kDtcsPolarity).isEmpty() ? QStringLiteral("NN") : value(kDtcsPolarity).toUpper();
        static const QRegularExpression polarityPattern(QStringLiteral("^[NR]{2}$"));
        if (!polarityPattern.match(polarity).hasMatch()) {
            reject(arg(csv_text::kUnknownValue, columnName(kDtcsPolarity), value(kDtcsPolarity),
                       QStringLiteral("NN, NR, RN, RR")));
            return std::nullopt;
        }
        const QString text = value(column);
        static const QRegularExpression digits(QStringLiteral("^[0-7]{1,3}$"));
        const QChar letter = polarity[side] == u'R' ? u'I' : u'N';
        const int index = digits.match(text).hasMatch()
            ? toneIndexOf(u'D' + text.rightJustified(3, u'0') + letter, Language::English)
            : 0;
        if (index < kFirstDcs) {
            reject(arg(csv_text::kToneNotInList, columnName(column), text));
            return std::nullopt;
        }
        return index;
    }

    bool readTones(ChannelCsvEntry &entry)
    {
        const QString mode = value(kTone);
        const QString lowerMode = mode.toLower();
        constexpr int kTx = 0, kRx = 1;

        std::optional<int> tx = 0;
        std::optional<int> rx = 0;
        if (mode.isEmpty()) {
            // Both Off.
        } else if (lowerMode == u"tone") {
            tx = ctcss(kRToneFreq);
        } else if (lowerMode == u"tsql") {
            tx = rx = ctcss(kCToneFreq);
        } else if (lowerMode == u"dtcs") {
            tx = dcs(kDtcsCode, kTx);
            rx = tx ? dcs(kDtcsCode, kRx) : std::nullopt;
        } else if (lowerMode == u"cross") {
            const QString cross = has(kCrossMode) && !value(kCrossMode).isEmpty() ? value(kCrossMode).toLower()
                                                                               : QStringLiteral("tone->tone");
            const qsizetype arrow = cross.indexOf(QStringLiteral("->"));
            const QString txKind = arrow < 0 ? QString() : cross.left(arrow);
            const QString rxKind = arrow < 0 ? QString() : cross.mid(arrow + 2);
            const auto known = [](const QString &kind) { return kind.isEmpty() || kind == u"tone" || kind == u"dtcs"; };
            if (arrow < 0 || !known(txKind) || !known(rxKind) || (txKind.isEmpty() && rxKind.isEmpty()))
                return reject(arg(csv_text::kUnknownValue, columnName(kCrossMode), value(kCrossMode),
                                  QStringLiteral("Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, DTCS->, Tone->, "
                                                 "->DTCS, ->Tone")));
            if (txKind == u"tone")
                tx = ctcss(kRToneFreq);
            else if (txKind == u"dtcs")
                tx = dcs(kDtcsCode, kTx);
            if (tx && rxKind == u"tone")
                rx = ctcss(kCToneFreq);
            else if (tx && rxKind == u"dtcs")
                rx = dcs(kRxDtcsCode, kRx);
        } else if (lowerMode == u"tsql-r" || lowerMode == u"dtcs-r") {
            return reject(arg(csv_text::kNotSupported, columnName(kTone), mode));
        } else {
            return reject(arg(csv_text::kUnknownValue, columnName(kTone), mode,
                              QStringLiteral("\"\", Tone, TSQL, DTCS, Cross")));
        }
        if (!tx || !rx)
            return false;
        entry.transmitTone = *tx;
        entry.receiveTone = *rx;
        return true;
    }

    void setOption(ChannelCsvEntry &entry, int column, int index) { entry.options[column - kColumnPower] = index; }

    // An option given by its list text in either language.
    bool listOption(ChannelCsvEntry &entry, CsvColumn csvColumn, int column)
    {
        const QString text = value(csvColumn);
        if (text.isEmpty())
            return true;
        QStringList english;
        for (int i = 0; i < channelOptionCount(column); ++i) {
            english << englishOption(column, i);
            if (text.compare(english.last(), Qt::CaseInsensitive) == 0
                || text == channelOptionText(column, i, Language::Chinese)) {
                setOption(entry, column, i);
                return true;
            }
        }
        return reject(arg(csv_text::kUnknownValue, columnName(csvColumn), text, english.join(QStringLiteral(", "))));
    }

    bool readPower(ChannelCsvEntry &entry)
    {
        const QString power = value(kPower).toLower();
        if (power.isEmpty())
            return true;
        static const QStringList high{QStringLiteral("high"), QStringLiteral("h")};
        static const QStringList low{QStringLiteral("low"), QStringLiteral("l")};
        static const QStringList middle{QStringLiteral("mid"), QStringLiteral("middle"), QStringLiteral("med"),
                                        QStringLiteral("m")};
        constexpr int kLow = 0, kHigh = 1, kMiddle = 2;
        if (high.contains(power)) {
            setOption(entry, kColumnPower, kHigh);
        } else if (low.contains(power)) {
            setOption(entry, kColumnPower, kLow);
        } else if (const std::optional<double> w = watts(power)) {
            // The file's strongest level is High, its weakest Low (one level alone is High).
            const qint64 key = wattKey(*w);
            setOption(entry, kColumnPower,
                      key == *m_watts.rbegin() ? kHigh : key == *m_watts.begin() ? kLow : kMiddle);
        } else if (middle.contains(power)) {
            setOption(entry, kColumnPower, kMiddle);
        } else {
            return reject(arg(csv_text::kPowerUnknown, value(kPower)));
        }
        return true;
    }

    bool readOptions(ChannelCsvEntry &entry)
    {
        const QString mode = value(kMode).toUpper();
        if (mode == u"FM")
            setOption(entry, kColumnBandwidth, 1);
        else if (mode == u"NFM")
            setOption(entry, kColumnBandwidth, 0);
        else if (!mode.isEmpty())
            return reject(arg(csv_text::kNotSupported, columnName(kMode), value(kMode)));
        if (!readPower(entry))
            return false;
        if (has(kSkip))
            setOption(entry, kColumnScanAdd, value(kSkip).compare(u"S", Qt::CaseInsensitive) == 0 ? 0 : 1);
        return listOption(entry, kBusyLock, kColumnBusyLock) && listOption(entry, kTxProhibit, kColumnTxProhibit)
            && listOption(entry, kScramble, kColumnScramble);
    }

    const CsvTable &m_table;
    bool m_sequential;
    std::array<int, kCsvColumns> m_columns{};
    const CsvRecord *m_record = nullptr;
    int m_shift = 0;
    std::set<qint64> m_watts;
    int m_channel = 0;
    Bilingual m_error;
};

} // namespace

ChannelCsvRead readChannelCsv(const QByteArray &bytes, bool sequential)
{
    ChannelCsvRead result;
    const CsvParse parse = parseCsv(bytes);
    if (!parse.ok) {
        result.status = ChannelCsvRead::Status::BadFile;
        result.errorLine = parse.errorLine;
        result.error = parse.error;
        return result;
    }
    if (parse.table.column(columnName(kFrequency)) < 0) {
        result.status = ChannelCsvRead::Status::BadFile;
        result.errorLine = parse.table.headerLine;
        result.error = csv_text::kNoFrequencyColumn;
        return result;
    }
    RowReader(parse.table, sequential).read(result);
    return result;
}

ChannelCsvRead loadChannelCsv(const QString &path, bool sequential)
{
    const FileRead file = readFileBounded(path, kChannelCsvLimit);
    if (!file.error.isEmpty()) {
        ChannelCsvRead result;
        result.status = ChannelCsvRead::Status::ReadError;
        result.systemReason = file.error;
        return result;
    }
    if (file.tooLarge) {
        ChannelCsvRead result;
        result.status = ChannelCsvRead::Status::BadFile;
        result.error = arg(csv_text::kTooLarge, QString::number(kChannelCsvLimit));
        return result;
    }
    return readChannelCsv(file.bytes, sequential);
}

} // namespace quillon
