#include "document/image_summary.h"

#include "document/workspace.h"
#include "i18n/report_texts.h"
#include "files/channel_csv.h"
#include "image/address_map.h"

namespace quillon {

namespace {

QList<int> range(int first, int count)
{
    QList<int> addresses;
    for (int i = 0; i < count; ++i)
        addresses.append(first + i);
    return addresses;
}

// The addresses an optional-features setting occupies.
QList<int> featureAddresses(const FeatureField &field)
{
    switch (field.id) {
    case Feature::PriorityChannel: return {kOptionBytes + 1};
    case Feature::PresentChannel: return {kOptionBytes + 5};
    case Feature::PowerOnText: return range(kPowerOnText, 6);
    case Feature::Password: return range(kPassword, 4);
    case Feature::VfoFrequency: return range(kVfoFrequency, 4);
    case Feature::VfoOffset: return range(kVfoOffset, 4);
    case Feature::VfoRxTone: return range(kVfoRxTone, 2);
    case Feature::VfoTxTone: return range(kVfoTxTone, 2);
    default: return field.storage.address >= 0 ? QList<int>{field.storage.address} : QList<int>{};
    }
}

QString featureValue(const OptionalFeatures &features, const FeatureField &field, Language language)
{
    switch (field.kind) {
    case FeatureKind::Text: return features.text(field.id);
    case FeatureKind::Check: return (features.selection(field.id) ? report::kYes : report::kNo).text(language);
    case FeatureKind::List: {
        const QStringList items = featureItems(field.id, language);
        const int position = features.selection(field.id);
        return position >= 0 && position < items.size() ? items[position] : QString::number(position);
    }
    }
    return {};
}

} // namespace

QString bareCaption(QString text)
{
    text = text.trimmed();
    while (text.endsWith(u':') || text.endsWith(QChar(0xFF1A)))
        text.chop(1);
    return text.trimmed();
}

QString channelFieldName(int column)
{
    static constexpr const char *kFields[] = {"",         "rx",       "tx",        "rx_tone",
                                              "tx_tone",  "power",    "busy_lock", "scan_add",
                                              "bandwidth", "tx_prohibit", "scramble", "name"};
    return column >= 1 && column <= kColumnName ? QString::fromLatin1(kFields[column]) : QString();
}

QList<SettingValue> featureSettings(const OptionalFeatures &features, Language language)
{
    QList<SettingValue> settings;
    for (const FeatureField &field : featureFields()) {
        QList<int> addresses = featureAddresses(field);
        if (addresses.isEmpty())
            continue;   // kept only while the program runs
        settings.append({bareCaption(field.caption.text(language)), featureValue(features, field, language),
                         std::move(addresses)});
    }
    return settings;
}

ImageSummary summarizeImage(const MemoryImage &image, Language language)
{
    const Workspace ws = decodedWorkspace(image, language);

    ImageSummary summary;
    summary.bandIndex = ws.band.index;
    summary.band = bandText(ws.band.index);
    summary.headers = channelGridHeaders(language);
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (!ws.channels.passesBandCheck(channel, ws.band))
            continue;
        QStringList cells;
        for (int column = 0; column < ChannelSheet::kColumns; ++column)
            cells << ws.channels.cell(channel, column);
        summary.channels.append(cells);
    }
    summary.settings = featureSettings(ws.features, language);
    return summary;
}

} // namespace quillon
