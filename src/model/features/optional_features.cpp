#include "features/optional_features.h"

#include "image/address_map.h"
#include "image/codecs.h"
#include "image/tone_list.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace quillon {

namespace {

constexpr int kPriorityChannel = kOptionBytes + 1;
constexpr int kPresentChannel = kOptionBytes + 5;
constexpr int kPowerOnTextLength = 6;
constexpr int kPasswordLength = 4;
constexpr int kHighestChannel = 128;
constexpr std::uint8_t kErased = 0xFF;

// Bits the radio expects set in the packed bytes, whatever the settings say.
struct FixedBits {
    int address;
    std::uint8_t bits;
};
constexpr FixedBits kFixedBits[] = {{kOptionBytes + 7, 0x10}, {kOptionBytes + 8, 0x02}};

// Bytes of the block that hold nothing and are always written erased.
constexpr int kFillerBytes[] = {kOptionBytes + 0x0B, kOptionBytes + 0x0E, kOptionRest,
                                kPowerOnText + kPowerOnTextLength, kPowerOnText + kPowerOnTextLength + 1,
                                kVfoOptions + 1, kVfoShiftDirection + 1};

constexpr char kModelText[] = "QVN-7K";

int index(Feature id)
{
    return static_cast<int>(id);
}

bool isPacked(const FeatureStorage &storage)
{
    return storage.address >= 0 && storage.width < 8;
}

// A text field: each byte but 0xFF is one character, wherever the 0xFF stand.
QString decodeText(const MemoryImage &image, int address, int length)
{
    QString text;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t byte = image.at(address + i);
        if (byte != kErased)
            text.append(QChar(byte));
    }
    return text;
}

// One byte per position: a character without a single-byte code becomes "?"
// so the later characters keep their places; missing characters are 0xFF.
void encodeText(MemoryImage &image, int address, int length, const QString &text)
{
    for (int i = 0; i < length; ++i) {
        std::uint8_t byte = kErased;
        if (i < text.size()) {
            const char16_t code = text[i].unicode();
            byte = code <= 0xFF ? static_cast<std::uint8_t>(code) : std::uint8_t('?');
        }
        image.set(address + i, byte);
    }
}

// What a text field reads back as once stored: cut to its length, "?" for a
// character without a single-byte code, and no U+00FF, which is the erased
// byte (one in the middle would move the characters after it on reopening).
QString storedText(const QString &text, int length)
{
    MemoryImage scratch;
    encodeText(scratch, 0, length, text);
    return decodeText(scratch, 0, length);
}

// Empty is 0xFF; anything else must be a whole number that fits a byte.
std::optional<std::uint8_t> channelNumberByte(const QString &text)
{
    if (text.isEmpty())
        return kErased;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 0xFF)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

QString channelNumberText(std::uint8_t byte)
{
    return byte <= kHighestChannel ? QString::number(byte) : QString();
}

// Four BCD bytes, lowest address first, from a ddd.ddddd text. A text of
// another shape would take its digit pairs from the wrong places, so it is a
// failed conversion like any other.
void encodeFrequency(MemoryImage &image, int address, const QString &text)
{
    if (text.size() != 9 || text[3] != u'.')
        return;
    for (int k = 4; k >= 1; --k) {
        if (const std::optional<std::uint8_t> byte = frequencyByte(text, k))
            image.set(address + 4 - k, *byte);
    }
}

void encodeTone(MemoryImage &image, int address, int toneIndex)
{
    if (toneIndex == 0) {
        image.set(address, kErased);
        image.set(address + 1, kErased);
        return;
    }
    // Only entry 0 (Off) differs between the languages.
    if (const auto bytes = toneBytes(toneEntry(toneIndex, Language::English))) {
        image.set(address, bytes->first);
        image.set(address + 1, bytes->second);
    }
}

QString frequencyTextAt(const MemoryImage &image, int address)
{
    return frequencyText(image.at(address), image.at(address + 1), image.at(address + 2), image.at(address + 3));
}

} // namespace

OptionalFeatures::OptionalFeatures()
{
    startForm(BandState{});
}

void OptionalFeatures::startForm(const BandState &band)
{
    for (const FeatureField &field : featureFields()) {
        if (field.kind == FeatureKind::List && field.defaultSelection >= 0)
            m_selection[index(field.id)] = field.defaultSelection;
    }
    m_text[index(Feature::PriorityChannel)] = QStringLiteral("1");
    m_text[index(Feature::PresentChannel)] = QStringLiteral("1");
    m_text[index(Feature::PowerOnText)].clear();
    m_text[index(Feature::VfoOffset)] = QStringLiteral("10.00000");
    setVfoFrequencyToBandCentre(band);
}

void OptionalFeatures::setVfoFrequencyToBandCentre(const BandState &band)
{
    m_text[index(Feature::VfoFrequency)] = band.centreText();
}

int OptionalFeatures::selection(Feature id) const
{
    return m_selection[index(id)];
}

bool OptionalFeatures::setSelection(Feature id, int position)
{
    const FeatureField &field = featureField(id);
    const int count = field.kind == FeatureKind::Check ? 2 : field.kind == FeatureKind::List ? field.items.size() : 0;
    if (position < 0 || position >= count)
        return false;
    m_selection[index(id)] = position;
    return true;
}

QString OptionalFeatures::text(Feature id) const
{
    return m_text[index(id)];
}

void OptionalFeatures::setText(Feature id, const QString &text)
{
    Q_ASSERT(featureField(id).kind == FeatureKind::Text);
    // The stored texts are kept as the radio will hold them, so a save opened
    // again shows and saves the same text.
    if (id == Feature::PowerOnText)
        m_text[index(id)] = storedText(text, kPowerOnTextLength);
    else if (id == Feature::Password)
        m_text[index(id)] = storedText(text, kPasswordLength);
    else
        m_text[index(id)] = text;
}

namespace {

// Decodes every list and check setting stored in [first, last]. A position
// the list lacks leaves the selection as it was.
void decodeStoredSettings(OptionalFeatures &features, const MemoryImage &image, int first, int last)
{
    for (const FeatureField &field : featureFields()) {
        const FeatureStorage &s = field.storage;
        if (s.address < first || s.address > last)
            continue;
        const int byte = image.at(s.address);
        const int value = isPacked(s) ? (byte >> s.shift) & ((1 << s.width) - 1)
                                      : (byte < s.below ? byte : s.fallback);
        features.setSelection(field.id, value);
    }
}

} // namespace

void OptionalFeatures::decodeOptionBytes(const MemoryImage &image)
{
    decodeStoredSettings(*this, image, kOptionBytes, kFixedModelText - 1);
    m_text[index(Feature::PriorityChannel)] = channelNumberText(image.at(kPriorityChannel));
    m_text[index(Feature::PresentChannel)] = channelNumberText(image.at(kPresentChannel));
}

void OptionalFeatures::decodeRest(MemoryImage &readImage, Language language)
{
    readImage.set(kOptionRest, kErased);
    m_text[index(Feature::PowerOnText)] = decodeText(readImage, kPowerOnText, kPowerOnTextLength);

    m_text[index(Feature::VfoFrequency)] = frequencyTextAt(readImage, kVfoFrequency);
    // An offset that is no number (erased bytes read FFF.FFFFF) shows as 0.
    const QString offset = frequencyTextAt(readImage, kVfoOffset);
    m_text[index(Feature::VfoOffset)] = formatFiveDecimals(isDecimalNumber(offset) ? leadingNumber(offset) : 0.0);

    for (const auto &[id, address] : {std::pair{Feature::VfoRxTone, kVfoRxTone}, std::pair{Feature::VfoTxTone, kVfoTxTone}}) {
        const QString tone = toneText(readImage.at(address), readImage.at(address + 1), language);
        setSelection(id, toneIndexOf(tone, language));
    }
    decodeStoredSettings(*this, readImage, kOptionRest, kDtmfAniEndCode - 1);
}

void OptionalFeatures::decodePassword(const MemoryImage &image)
{
    m_text[index(Feature::Password)] = decodeText(image, kPassword, kPasswordLength);
}

void OptionalFeatures::encodeBlock(MemoryImage &image, int bandIndex) const
{
    // Whole-byte lists store their position; packed bytes start from their fixed bits.
    for (const FeatureField &field : featureFields()) {
        if (isPacked(field.storage))
            image.set(field.storage.address, 0);
    }
    for (const FixedBits &fixed : kFixedBits)
        image.set(fixed.address, fixed.bits);
    for (const FeatureField &field : featureFields()) {
        const FeatureStorage &s = field.storage;
        if (s.address < 0)
            continue;
        const int value = selection(field.id);
        if (isPacked(s))
            image.set(s.address, image.at(s.address) | ((value & ((1 << s.width) - 1)) << s.shift));
        else
            image.set(s.address, static_cast<std::uint8_t>(value));
    }

    if (const auto byte = channelNumberByte(text(Feature::PriorityChannel)))
        image.set(kPriorityChannel, *byte);
    if (const auto byte = channelNumberByte(text(Feature::PresentChannel)))
        image.set(kPresentChannel, *byte);

    for (int address : kFillerBytes)
        image.set(address, kErased);
    for (int i = 0; kModelText[i] != '\0'; ++i)
        image.set(kFixedModelText + i, static_cast<std::uint8_t>(kModelText[i]));
    if (bandIndex >= 0 && bandIndex <= 0xFF)
        image.set(kBandIndex, static_cast<std::uint8_t>(bandIndex));

    encodeText(image, kPowerOnText, kPowerOnTextLength, text(Feature::PowerOnText));
    encodeFrequency(image, kVfoFrequency, text(Feature::VfoFrequency));

    // The offset is written as a frequency with three whole digits (010.00000).
    const QString offset = text(Feature::VfoOffset);
    if (isDecimalNumber(offset)) {
        const double value = leadingNumber(offset);
        if (value >= 0)
            encodeFrequency(image, kVfoOffset, QString::asprintf("%09.5f", value));
    }

    encodeTone(image, kVfoRxTone, selection(Feature::VfoRxTone));
    encodeTone(image, kVfoTxTone, selection(Feature::VfoTxTone));
}

void OptionalFeatures::encodePassword(MemoryImage &image) const
{
    encodeText(image, kPassword, kPasswordLength, text(Feature::Password));
}

} // namespace quillon
