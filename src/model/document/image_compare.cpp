#include "document/image_compare.h"

#include "document/image_summary.h"
#include "document/workspace.h"
#include "i18n/field_texts.h"
#include "i18n/link_texts.h"
#include "i18n/report_texts.h"
#include "i18n/texts.h"
#include "image/address_map.h"
#include "image/codecs.h"

#include <QSet>

#include <algorithm>

namespace quillon {

namespace {

// Record bytes of channel column 1..10, relative to the record's start.
std::pair<int, int> recordBytes(int column)
{
    switch (column) {
    case kColumnRx: return {0, 4};
    case kColumnTx: return {4, 4};
    case kColumnRxTone: return {8, 2};
    case kColumnTxTone: return {10, 2};
    default: return {12, 1};   // the six options share the flag byte
    }
}

QList<int> range(int first, int count)
{
    QList<int> addresses;
    for (int i = 0; i < count; ++i)
        addresses.append(first + i);
    return addresses;
}

const TextRow *rowOf(const TextTable &table, const QString &control, int element, TextRole role, int index = 0)
{
    for (const TextRow &row : table) {
        if (row.control == control && row.element == element && row.role == role && row.index == index)
            return &row;
    }
    return nullptr;
}

QString tableText(const TextTable &table, const char *control, int element, TextRole role, Language language,
                  int index = 0)
{
    const TextRow *row = rowOf(table, QString::fromLatin1(control), element, role, index);
    return row ? row->text.text(language) : QString();
}

QString hexBytes(const MemoryImage &image, const QList<int> &addresses)
{
    QStringList bytes;
    for (int address : addresses)
        bytes << hex2(image.at(address));
    return bytes.join(u' ');
}

class Comparison {
public:
    Comparison(const MemoryImage &a, const MemoryImage &b, Language language, const AddressFilter &compared)
        : m_imageA(a), m_imageB(b), m_a(decodedWorkspace(a, language)), m_b(decodedWorkspace(b, language)), m_language(language),
          m_compared(compared)
    {
    }

    QList<ImageDifference> run()
    {
        band();
        channels();
        features();
        dtmf();
        fm();
        calibration();
        bytes();
        std::stable_sort(m_differences.begin(), m_differences.end(), [](const auto &x, const auto &y) {
            const int ax = x.addresses.isEmpty() ? 0 : x.addresses.first();
            const int ay = y.addresses.isEmpty() ? 0 : y.addresses.first();
            return ax < ay;
        });
        return m_differences;
    }

private:
    bool takesPart(const QList<int> &addresses) const
    {
        if (!m_compared)
            return true;
        return std::any_of(addresses.begin(), addresses.end(), m_compared);
    }

    void add(ImageDifference::Area area, int number, const QString &field, const QString &first,
             const QString &second, QList<int> addresses)
    {
        if (first == second || !takesPart(addresses))
            return;
        for (int address : addresses)
            m_explained.insert(address);
        m_differences.append({area, number, field, first, second, std::move(addresses)});
    }

    void band()
    {
        add(ImageDifference::Area::Band, 0, QStringLiteral("band"), bandText(m_a.band.index), bandText(m_b.band.index),
            {kBandIndex});
    }

    void channels()
    {
        for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
            const int record = kChannelRecords.address(channel - 1);
            for (int column = kColumnRx; column <= kColumnScramble; ++column) {
                const auto [offset, count] = recordBytes(column);
                add(ImageDifference::Area::Channel, channel, channelFieldName(column),
                    m_a.channels.cell(channel, column), m_b.channels.cell(channel, column),
                    range(record + offset, count));
            }
            add(ImageDifference::Area::Channel, channel, channelFieldName(kColumnName),
                m_a.channels.cell(channel, kColumnName), m_b.channels.cell(channel, kColumnName),
                range(kChannelNames.address(channel - 1), kChannelNames.recordSize));
        }
    }

    void features()
    {
        const QList<SettingValue> a = featureSettings(m_a.features, m_language);
        const QList<SettingValue> b = featureSettings(m_b.features, m_language);
        for (qsizetype i = 0; i < a.size(); ++i)
            add(ImageDifference::Area::Setting, 0, a[i].caption, a[i].value, b[i].value, a[i].addresses);
    }

    void dtmf()
    {
        add(ImageDifference::Area::Dtmf, 0,
            bareCaption(tableText(dtmfWindowTexts(), "Label4", -1, TextRole::Caption, m_language)),
            m_a.dtmf.aniEndCode, m_b.dtmf.aniEndCode, range(kDtmfAniEndCode, 16));
    }

    void fm()
    {
        const TextTable table = fmWindowTexts();
        const QString channelWord = tableText(table, "MSFGrid", -1, TextRole::Header, m_language, 0);
        for (int m = 1; m <= FmRadio::kChannels; ++m) {
            add(ImageDifference::Area::Fm, m, channelWord, m_a.fm.store().channels[m - 1],
                m_b.fm.store().channels[m - 1], range(kFmChannels.address(m - 1), 2));
        }
        const auto caption = [&](int element) {
            return bareCaption(tableText(table, "Label1", element, TextRole::Caption, m_language));
        };
        const auto listText = [&](int value, const QStringList &items) {
            return value >= 0 && value < items.size() ? items[value] : QString::number(value);
        };
        const QStringList modes{tableText(table, "Combo1", 1, TextRole::ListEntry, m_language, 0),
                                tableText(table, "Combo1", 1, TextRole::ListEntry, m_language, 1)};
        const FmStore &a = m_a.fm.store();
        const FmStore &b = m_b.fm.store();
        add(ImageDifference::Area::Fm, 0, caption(0), QString::number(a.presentChannel),
            QString::number(b.presentChannel), {kFmPresentChannel});
        add(ImageDifference::Area::Fm, 0, caption(1), listText(a.displayMode, modes), listText(b.displayMode, modes),
            {kFmDisplayMode});
        add(ImageDifference::Area::Fm, 0, caption(2), listText(a.step, fmStepTexts()), listText(b.step, fmStepTexts()),
            {kFmStep});
        add(ImageDifference::Area::Fm, 0, caption(3), a.frequencyMode, b.frequencyMode, range(kFmFrequencyMode, 2));
    }

    void calibration()
    {
        const TextTable table = calibrationWindowTexts();
        for (int k = 0; k < CalibrationStore::kCount; ++k) {
            const QString name = tableText(table, "SSTab1", -1, TextRole::Tab, m_language, k / 3) + u' '
                + tableText(table, "Frame1", k, TextRole::Caption, m_language);
            add(ImageDifference::Area::Calibration, k, name, QString::number(m_a.calibration.value(k)),
                QString::number(m_b.calibration.value(k)), {CalibrationStore::kAddresses[k]});
        }
    }

    // Bytes that differ without a decoded value telling it, in runs.
    void bytes()
    {
        QList<int> run;
        auto flush = [&] {
            if (run.isEmpty())
                return;
            m_differences.append({ImageDifference::Area::Bytes, 0, QString(), hexBytes(m_imageA, run),
                                  hexBytes(m_imageB, run), run});
            run.clear();
        };
        for (int address = 0; address < kImageSize; ++address) {
            const bool unexplained = m_imageA.at(address) != m_imageB.at(address) && !m_explained.contains(address)
                && (!m_compared || m_compared(address));
            if (unexplained && (run.isEmpty() || run.last() == address - 1)) {
                run.append(address);
                continue;
            }
            flush();
            if (unexplained)
                run.append(address);
        }
        flush();
    }

    const MemoryImage &m_imageA;
    const MemoryImage &m_imageB;
    const Workspace m_a;
    const Workspace m_b;
    Language m_language;
    AddressFilter m_compared;
    QSet<int> m_explained;
    QList<ImageDifference> m_differences;
};

QString addressText(int address)
{
    return QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(4, u'0');
}

} // namespace

QString ImageDifference::line() const
{
    const QString change = first + QStringLiteral(" -> ") + second;
    switch (area) {
    case Area::Band: return QStringLiteral("band: ") + change;
    case Area::Channel: return QStringLiteral("channel %1 %2: ").arg(number).arg(field) + change;
    case Area::Setting: return QStringLiteral("setting ") + field + QStringLiteral(": ") + change;
    case Area::Dtmf: return QStringLiteral("dtmf ") + field + QStringLiteral(": ") + change;
    case Area::Fm:
        return number > 0 ? QStringLiteral("fm %1 %2: ").arg(field).arg(number) + change
                          : QStringLiteral("fm ") + field + QStringLiteral(": ") + change;
    case Area::Calibration: return QStringLiteral("calibration ") + field + QStringLiteral(": ") + change;
    case Area::Bytes: {
        const QString where = addresses.size() == 1
            ? addressText(addresses.first())
            : addressText(addresses.first()) + u'-' + addressText(addresses.last());
        return QStringLiteral("bytes ") + where + QStringLiteral(": ") + change;
    }
    }
    return change;
}

QString ImageDifference::place(Language language) const
{
    switch (area) {
    case Area::Band: return link_text::kPlaceBand.text(language);
    case Area::Channel: {
        int index = -1;
        for (int column = kColumnRx; column <= kColumnName; ++column) {
            if (channelFieldName(column) == field)
                index = column;
        }
        const QString header = tableText(channelWindowTexts(), "Grid1", -1, TextRole::Header, language, index);
        return link_text::kPlaceChannel.text(language) + u' ' + QString::number(number) + u' '
            + (header.isEmpty() ? field : header);
    }
    case Area::Setting: return field;
    case Area::Dtmf: return link_text::kPlaceDtmf.text(language) + u' ' + field;
    case Area::Fm: {
        QString text = link_text::kPlaceFm.text(language) + u' ' + field;
        if (number > 0)
            text += u' ' + QString::number(number);
        return text;
    }
    case Area::Calibration: return link_text::kPlaceCalibration.text(language) + u' ' + field;
    case Area::Bytes: return link_text::kPlaceBytes.text(language);
    }
    return field;
}

QString addressesText(const QList<int> &addresses)
{
    QStringList runs;
    for (qsizetype i = 0; i < addresses.size();) {
        qsizetype j = i;
        while (j + 1 < addresses.size() && addresses[j + 1] == addresses[j] + 1)
            ++j;
        runs << (i == j ? addressText(addresses[i]) : addressText(addresses[i]) + u'-' + addressText(addresses[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral(", "));
}

QList<ImageDifference> compareImages(const MemoryImage &a, const MemoryImage &b, Language language,
                                     const AddressFilter &compared)
{
    return Comparison(a, b, language, compared).run();
}

} // namespace quillon
