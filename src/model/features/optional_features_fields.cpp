// Every optional-features setting: its kind, page, control, typing limit,
// place in the image and default. Captions and list items come from the
// language texts by the control's name.

#include "features/optional_features.h"

#include "i18n/field_texts.h"
#include "image/address_map.h"
#include "image/tone_list.h"

#include <QtGlobal>

namespace quillon {

namespace {

FeatureStorage wholeByte(int address, int below, int fallback)
{
    return {address, 0, 8, below, fallback};
}

FeatureStorage bits(int address, int shift, int width = 1)
{
    return {address, shift, width, 256, 0};
}

struct FieldRow {
    Feature id;
    FeatureKind kind;
    FeaturePage page;
    const char *control;
    int maxLength;
    FeatureStorage storage;
    int defaultSelection;
};

QList<FieldRow> fieldRows()
{
    using K = FeatureKind;
    using P = FeaturePage;
    using F = Feature;
    constexpr int kFlags = kOptionBytes + 6;       // eight single-bit settings
    constexpr int kModes = kOptionBytes + 7;       // key lock mode, back light ...
    constexpr int kVox = kOptionBytes + 8;
    constexpr FeatureStorage kNone{};

    return {
        // Function page, left column.
        {F::PriorityChannel, K::Text, P::Function, "Text2", 0, kNone, -1},
        {F::DisplayMode, K::List, P::Function, "Combo1", 0, wholeByte(kOptionBytes + 0, 4, 1), 0},
        {F::Beep, K::List, P::Function, "Combo7", 0, bits(kFlags, 0), 1},
        {F::KeyLock, K::List, P::Function, "Combo9", 0, bits(kFlags, 3), 1},
        {F::ScanMode, K::List, P::Function, "ComboMod", 0, bits(kFlags, 6), 1},
        {F::ChannelNameDisplay, K::List, P::Function, "Combo17", 0, wholeByte(kOptionBytes + 3, 2, 0), 1},
        {F::PowerOnPassword, K::List, P::Function, "Combo2", 0, bits(kModes, 3), 1},
        {F::RadioSearchMode, K::List, P::Function, "Combo13", 0, bits(kFlags, 7), 0},
        {F::RadioMonitor, K::List, P::Function, "Combo6", 0, bits(kFlags, 4), 1},
        {F::TailElimination, K::List, P::Function, "Combo20", 0, bits(kModes, 5), 1},
        {F::AutoPowerOff, K::List, P::Function, "Combo35", 0, wholeByte(kOptionBytes + 0x0C, 16, 0), 0},
        {F::PowerOnDisplay, K::List, P::Function, "Combo32", 0, wholeByte(kOptionBytes + 9, 3, 1), 1},
        {F::Password, K::Text, P::Function, "Text1", 4, kNone, -1},
        {F::ReverseFrequency, K::List, P::Function, "Combo11", 0, kNone, 1},
        // Function page, right column.
        {F::PresentChannel, K::Text, P::Function, "Text6", 0, kNone, -1},
        {F::StepIndex, K::List, P::Function, "Combo3", 0, wholeByte(kOptionBytes + 2, 8, 1), 4},
        {F::SquelchLevel, K::List, P::Function, "Combo5", 0, wholeByte(kOptionBytes + 4, 10, 5), 5},
        {F::BatterySave, K::List, P::Function, "Combo8", 0, bits(kFlags, 2), 1},
        {F::ShiftFrequency, K::List, P::Function, "Combo10", 0, bits(kFlags, 5), 1},
        {F::TimeOutTimer, K::List, P::Function, "Combo19", 0, wholeByte(kOptionBytes + 0x0F, 8, 2), 2},
        {F::KeyLockMode, K::List, P::Function, "Combo18", 0, bits(kModes, 0, 2), 0},
        {F::VoiceMode, K::List, P::Function, "Combo36", 0, wholeByte(kOptionBytes + 0x0D, 3, 0), 0},
        {F::TalkOverSound, K::List, P::Function, "Combo16", 0, bits(kModes, 2), 0},
        {F::ChannelGroup, K::List, P::Function, "Combo33", 0, bits(kFlags, 1), 1},
        {F::Backlight, K::List, P::Function, "Combo21", 0, bits(kModes, 6, 2), 1},
        {F::MemoryDisplayMode, K::List, P::Function, "Combo34", 0, wholeByte(kOptionBytes + 0x0A, 2, 1), 1},
        {F::PowerOnText, K::Text, P::Function, "Text31", 6, kNone, -1},
        // VFO page, left column.
        {F::VfoFrequency, K::Text, P::Vfo, "Text20", 9, kNone, -1},
        {F::VfoRxTone, K::List, P::Vfo, "Combo22", 0, kNone, 0},
        {F::VfoPower, K::List, P::Vfo, "Combo24", 0, bits(kVfoOptions, 0, 2), 1},
        {F::VfoBandwidth, K::List, P::Vfo, "Combo27", 0, bits(kVfoOptions, 4), 1},
        {F::VfoScanAdd, K::List, P::Vfo, "Combo26", 0, bits(kVfoOptions, 3), 1},
        {F::VfoScramble, K::List, P::Vfo, "Combo12", 0, bits(kVfoOptions, 6), 1},
        {F::VfoCompander, K::List, P::Vfo, "Combo29", 0, bits(kVfoOptions, 7), 1},
        // VFO page, right column.
        {F::VfoOffset, K::Text, P::Vfo, "Text21", 8, kNone, -1},
        {F::VfoTxTone, K::List, P::Vfo, "Combo23", 0, kNone, 0},
        {F::VfoShiftDirection, K::List, P::Vfo, "Combo30", 0, wholeByte(kVfoShiftDirection, 256, 0), 1},
        {F::VfoBusyLock, K::List, P::Vfo, "Combo25", 0, bits(kVfoOptions, 2), 1},
        {F::VfoTxInhibit, K::List, P::Vfo, "Combo28", 0, bits(kVfoOptions, 5), 1},
        {F::VfoCallTone, K::List, P::Vfo, "Combo4", 0, kNone, 4},
        // VOX frame.
        {F::VoxSwitch, K::List, P::Vox, "Combo31", 0, bits(kVox, 0), 1},
        {F::VoxGain, K::List, P::Vox, "Combo14", 0, bits(kVox, 5, 3), 1},
        {F::VoxDelay, K::List, P::Vox, "Combo15", 0, bits(kVox, 3, 2), 1},
        {F::VoxRxInhibit, K::Check, P::Vox, "Check13", 0, bits(kVox, 2), -1},
        {F::AllowCancel, K::Check, P::Vox, "Check12", 0, kNone, -1},
    };
}

bool isToneList(Feature id)
{
    return id == Feature::VfoRxTone || id == Feature::VfoTxTone;
}

QList<Bilingual> toneItems()
{
    QList<Bilingual> items;
    const QStringList zh = toneEntries(Language::Chinese);
    const QStringList en = toneEntries(Language::English);
    for (int i = 0; i < kToneCount; ++i)
        items.append({zh.value(i), en.value(i)});
    return items;
}

QList<FeatureField> buildFields()
{
    QList<FeatureField> fields;
    for (const FieldRow &row : fieldRows()) {
        const QString control = QString::fromLatin1(row.control);
        const FeatureTexts *texts = featureTextsOf(control);
        Q_ASSERT_X(texts, "featureFields", "a setting without texts");
        FeatureField field{row.id, row.kind, row.page, control, texts->label, texts->caption,
                           isToneList(row.id) ? toneItems() : texts->items, row.maxLength, row.storage,
                           row.defaultSelection};
        fields.append(field);
    }
    return fields;
}

} // namespace

const QList<FeatureField> &featureFields()
{
    static const QList<FeatureField> fields = [] {
        QList<FeatureField> list = buildFields();
        // The enum and the table must stay in step: the record indexes by id.
        for (int i = 0; i < list.size(); ++i)
            Q_ASSERT(static_cast<int>(list[i].id) == i);
        Q_ASSERT(list.size() == kFeatureCount);
        return list;
    }();
    return fields;
}

const FeatureField &featureField(Feature id)
{
    return featureFields()[static_cast<int>(id)];
}

QStringList featureItems(Feature id, Language language)
{
    QStringList texts;
    for (const Bilingual &item : featureField(id).items)
        texts.append(item.text(language));
    return texts;
}

const Bilingual &featurePageTitle(FeaturePage page)
{
    switch (page) {
    case FeaturePage::Function: return featuresAreaTitle(FeaturesArea::FunctionPage);
    case FeaturePage::Vfo: return featuresAreaTitle(FeaturesArea::VfoPage);
    case FeaturePage::Vox: return featuresAreaTitle(FeaturesArea::VoxFrame);
    }
    return featuresAreaTitle(FeaturesArea::FunctionPage);
}

} // namespace quillon
