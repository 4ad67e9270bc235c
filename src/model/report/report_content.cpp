#include "report/report_content.h"

#include "i18n/report_texts.h"
#include "i18n/texts.h"

namespace quillon {

namespace {

// What the optional-features window shows for a setting: the chosen entry
// of a list, the text of a text field.
QString shownValue(const OptionalFeatures &features, Feature id, Language language)
{
    const FeatureField &field = featureField(id);
    switch (field.kind) {
    case FeatureKind::List: return featureItems(id, language).value(features.selection(id));
    case FeatureKind::Text: return features.text(id);
    case FeatureKind::Check: return (features.selection(id) != 0 ? report::kYes : report::kNo).text(language);
    }
    return {};
}

QStringList featureRow(const OptionalFeatures &features, Feature id, Language language)
{
    return {featureField(id).caption.text(language), shownValue(features, id, language)};
}

ReportSection featureSection(const Bilingual &heading, bool startsPage, const OptionalFeatures &features,
                             std::initializer_list<Feature> ids, Language language)
{
    ReportSection section{heading.text(language), startsPage, {}};
    for (Feature id : ids)
        section.table.rows << featureRow(features, id, language);
    return section;
}

// A text of a window's language table, as the window shows it.
QString tableText(const TextTable &table, const QString &control, int element, TextRole role, int index,
                  Language language)
{
    for (const TextRow &row : table) {
        if (row.control == control && row.element == element && row.role == role && row.index == index)
            return row.text.text(language);
    }
    return {};
}

} // namespace

ReportContent reportContent(const Workspace &workspace)
{
    return reportContent(workspace, workspace.language);
}

ReportContent reportContent(const Workspace &workspace, Language lang)
{
    const OptionalFeatures &features = workspace.features;
    ReportContent content;
    content.language = lang;
    content.maker = report::kMaker.text(lang);
    content.makerPointSize = report::makerPointSize(lang);
    content.title = report::kTitlePrefix.text(lang) + report::kTitle.text(lang);
    content.titlePointSize = report::kTitlePointSize;

    using F = Feature;
    // The rows follow the labels Label2, Label6, Label1, Label3, Label5,
    // Label7 .. Label11, Label19, Label31 and LabelMod.
    content.sections << featureSection(report::kFunctionSet, false, features,
                                       {F::PriorityChannel, F::PresentChannel, F::DisplayMode, F::StepIndex,
                                        F::SquelchLevel, F::Beep, F::BatterySave, F::KeyLock, F::ShiftFrequency,
                                        F::ReverseFrequency, F::TimeOutTimer, F::PowerOnText, F::ScanMode},
                                       lang);
    // Label20, Label21, then Label22 .. Label30 number by number.
    content.sections << featureSection(report::kWholeBand, true, features,
                                       {F::VfoFrequency, F::VfoOffset, F::VfoRxTone, F::VfoTxTone, F::VfoPower,
                                        F::VfoBusyLock, F::VfoScanAdd, F::VfoBandwidth, F::VfoTxInhibit,
                                        F::VfoCompander, F::VfoShiftDirection},
                                       lang);
    ReportSection vox = featureSection(report::kVox, false, features, {F::VoxGain, F::VoxDelay}, lang);
    vox.table.rows << QStringList{report::kWhether.text(lang) + featureField(F::AllowCancel).caption.text(lang),
                                  shownValue(features, F::AllowCancel, lang)};
    content.sections << vox;

    // The first tab's three frames: the segments of the high power grade.
    const TextTable calibrationTexts = calibrationWindowTexts();
    ReportSection debug{report::kDebug.text(lang), false, {}};
    for (int k = 0; k < 3; ++k) {
        debug.table.rows << QStringList{tableText(calibrationTexts, QStringLiteral("Frame1"), k, TextRole::Caption, 0, lang),
                                        QString::number(workspace.calibration.value(k))};
    }
    content.sections << debug;

    ChannelSheet sheet = workspace.channels;
    if (lang != workspace.language)
        sheet.showInLanguage(lang);
    const TextTable channelTexts = channelWindowTexts();
    ReportSection channels{report::kChannelData.text(lang), true, {ReportTable::Kind::Channels, {}, {}}};
    for (int column = 0; column < ChannelSheet::kColumns; ++column)
        channels.table.header << tableText(channelTexts, QStringLiteral("Grid1"), -1, TextRole::Header, column, lang);
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        QStringList row;
        for (int column = 0; column < ChannelSheet::kColumns; ++column)
            row << sheet.cell(channel, column);
        channels.table.rows << row;
    }
    content.sections << channels;
    return content;
}

} // namespace quillon
