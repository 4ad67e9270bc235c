#include "i18n/texts.h"

#include "i18n/field_texts.h"

namespace quillon {

namespace {

const FeatureTexts *fieldWithLabel(const QString &label)
{
    for (const FeatureTexts &field : featureTexts()) {
        if (field.label == label)
            return &field;
    }
    return nullptr;
}

TextRow row(const QString &control, TextRole role, int index, const Bilingual &text)
{
    return TextRow{control, -1, role, index, text};
}

} // namespace

// The texts are those the settings themselves use, so the window's lists and
// this table cannot drift apart; only the order of the rows is kept here.
TextTable featuresWindowTexts()
{
    static const char *const captionLabels[] = {
        "Label1", "Label10", "Label11", "Label12", "Label14", "Label15", "Label17", "Label18", "Label19",
        "Label2", "Label20", "Label21", "Label22", "Label23", "Label24", "Label25", "Label26", "Label27",
        "Label28", "Label29", "Label16", "Label3", "Label30", "Label31", "Label32", "Label33", "Label34",
        "Label35", "Label36", "Label37", "Label38", "Label39", "Label40", "Label41", "Label42", "Label5",
        "Label6", "Label7", "Label8", "Label9", "LabelMod", "Label13",
    };
    struct Entry {
        const char *control;
        int index;
    };
    static const Entry listEntries[] = {
        {"Combo1", 0}, {"Combo1", 1}, {"Combo10", 0}, {"Combo10", 1}, {"Combo11", 0}, {"Combo11", 1},
        {"Combo13", 0}, {"Combo13", 1}, {"Combo16", 0}, {"Combo16", 1}, {"Combo17", 1}, {"Combo17", 0},
        {"Combo2", 0}, {"Combo2", 1}, {"Combo20", 0}, {"Combo20", 1}, {"Combo22", 0}, {"Combo23", 0},
        {"Combo24", 0}, {"Combo24", 1}, {"Combo24", 2}, {"Combo25", 0}, {"Combo25", 1}, {"Combo26", 0},
        {"Combo26", 1}, {"Combo27", 0}, {"Combo27", 1}, {"Combo28", 0}, {"Combo28", 1}, {"Combo29", 0},
        {"Combo29", 1}, {"Combo12", 0}, {"Combo12", 1}, {"ComboMod", 0}, {"ComboMod", 1}, {"Combo6", 0},
        {"Combo6", 1}, {"Combo8", 0}, {"Combo8", 1}, {"Combo7", 0}, {"Combo7", 1}, {"Combo9", 0},
        {"Combo9", 1}, {"Combo30", 0}, {"Combo30", 1}, {"Combo30", 2}, {"Combo31", 0}, {"Combo31", 1},
        {"Combo33", 1}, {"Combo33", 0}, {"Combo34", 0}, {"Combo34", 1},
    };

    TextTable table;
    table.append(row(QString(), TextRole::WindowTitle, 0, featuresWindowTitle()));
    for (const char *label : captionLabels) {
        const FeatureTexts *field = fieldWithLabel(QString::fromLatin1(label));
        if (field)
            table.append(row(field->label, TextRole::Caption, 0, field->caption));
    }
    for (const Entry &entry : listEntries) {
        const FeatureTexts *field = featureTextsOf(QString::fromLatin1(entry.control));
        if (field && entry.index < field->items.size())
            table.append(row(field->control, TextRole::ListEntry, entry.index, field->items[entry.index]));
    }
    for (const char *check : {"Check12", "Check13"}) {
        const FeatureTexts *field = featureTextsOf(QString::fromLatin1(check));
        table.append(row(field->control, TextRole::Caption, 0, field->caption));
    }
    const Bilingual &function = featuresAreaTitle(FeaturesArea::FunctionPage);
    const Bilingual &vfo = featuresAreaTitle(FeaturesArea::VfoPage);
    table.append(row(QStringLiteral("Option1"), TextRole::Caption, 0, function));
    table.append(row(QStringLiteral("Option2"), TextRole::Caption, 0, vfo));
    table.append(row(QStringLiteral("Frame1"), TextRole::Caption, 0, featuresAreaTitle(FeaturesArea::VoxFrame)));
    table.append(row(QStringLiteral("Frame2"), TextRole::Caption, 0, function));
    table.append(row(QStringLiteral("Frame3"), TextRole::Caption, 0, vfo));
    // Every entry of the two generated lists: "Off", then a number and its unit.
    for (const char *generated : {"Combo19", "Combo35"}) {
        const FeatureTexts *field = featureTextsOf(QString::fromLatin1(generated));
        for (int i = 0; i < field->items.size(); ++i)
            table.append(row(field->control, TextRole::ListEntry, i, field->items[i]));
    }
    return table;
}

} // namespace quillon
