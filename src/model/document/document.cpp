#include "document/document.h"

#include "features/optional_features_rules.h"
#include "image/address_map.h"

namespace quillon {

namespace {

bool sameRows(const ChannelSheet &a, const ChannelSheet &b)
{
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (!(a.row(channel) == b.row(channel)))
            return false;
    }
    return true;
}

// The stores of a workspace or a kept state (they name them alike).
template<typename A, typename B>
bool sameStores(const A &a, const B &b)
{
    return a.band == b.band && sameRows(a.channels, b.channels) && a.features == b.features && a.dtmf == b.dtmf
        && a.fm == b.fm && a.calibration == b.calibration;
}

} // namespace

bool sameContent(const EditableState &a, const EditableState &b)
{
    return sameStores(a, b);
}

Document::StepScope::StepScope(Document &document, EditKind kind, int mergeKey)
    : m_document(document)
{
    m_document.beginStep(kind, mergeKey);
}

Document::StepScope::~StepScope()
{
    m_document.endStep();
}

Document::Document(QObject *parent)
    : QObject(parent), m_clean(std::make_unique<EditableState>(capture()))
{
}

Document::~Document() = default;

EditableState Document::capture() const
{
    return {m_ws.readImage, m_ws.writeImage, m_ws.band,        m_ws.channels,    m_ws.features,
            m_ws.dtmf,      m_ws.fm,         m_ws.calibration, m_ws.language};
}

void Document::restore(const EditableState &state)
{
    m_ws.readImage = state.readImage;
    m_ws.writeImage = state.writeImage;
    m_ws.band = state.band;
    m_ws.channels = state.channels;
    m_ws.features = state.features;
    m_ws.dtmf = state.dtmf;
    m_ws.fm = state.fm;
    m_ws.calibration = state.calibration;
    // The language is the user's setting, not part of what is edited: rows
    // from before a switch are shown in the language chosen now.
    if (state.language != m_ws.language)
        m_ws.channels.showInLanguage(m_ws.language);
}

void Document::beginStep(EditKind kind, int mergeKey)
{
    if (m_depth++ > 0)
        return;
    m_stepBefore = std::make_unique<EditableState>(capture());
    m_stepKind = kind;
    m_stepMergeKey = mergeKey;
}

void Document::endStep()
{
    if (--m_depth > 0)
        return;
    const std::unique_ptr<EditableState> before = std::move(m_stepBefore);
    const EditableState after = capture();
    if (after == *before)
        return;
    announce(*before);
    if (!sameContent(after, *before)) {
        const bool merges = m_stepMergeKey >= 0 && m_mergeOpen && !m_undo.empty()
            && m_undo.back().kind == m_stepKind && m_undo.back().mergeKey == m_stepMergeKey;
        if (!merges) {
            m_undo.push_back({m_stepKind, m_stepMergeKey, *before});
            if (int(m_undo.size()) > kHistoryLimit)
                m_undo.pop_front();
        }
        m_mergeOpen = m_stepMergeKey >= 0;
        m_redo.clear();
        emit historyChanged();
    }
    updateModified();
}

void Document::announce(const EditableState &before)
{
    Change change;
    auto mark = [&change](bool differs, Area area) {
        if (differs)
            change.areas = change.areas | area;
    };
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (before.channels.sameChannel(m_ws.channels, channel))
            continue;
        if (change.firstChannel == 0)
            change.firstChannel = channel;
        change.lastChannel = channel;
    }
    mark(change.firstChannel != 0, Area::Channels);
    mark(!(before.band == m_ws.band), Area::Band);
    mark(!(before.features == m_ws.features), Area::Features);
    mark(!(before.dtmf == m_ws.dtmf), Area::Dtmf);
    mark(!(before.fm == m_ws.fm), Area::Fm);
    mark(!(before.calibration == m_ws.calibration), Area::Calibration);
    if (change.areas != Area::None)
        emit changed(change);
}

void Document::updateModified()
{
    // Compared in place: a copy of the whole state per step would double an undo's cost.
    const bool modified = !sameStores(m_ws, *m_clean);
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Document::markClean()
{
    m_clean = std::make_unique<EditableState>(capture());
    updateModified();
}

EditKind Document::undoKind() const
{
    return m_undo.empty() ? EditKind::ChannelCell : m_undo.back().kind;
}

EditKind Document::redoKind() const
{
    return m_redo.empty() ? EditKind::ChannelCell : m_redo.back().kind;
}

void Document::undo()
{
    if (m_undo.empty() || m_depth > 0)
        return;
    Entry entry = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back({entry.kind, entry.mergeKey, capture()});
    m_mergeOpen = false;
    restore(entry.state);
    announce(m_redo.back().state);
    emit historyChanged();
    updateModified();
}

void Document::redo()
{
    if (m_redo.empty() || m_depth > 0)
        return;
    Entry entry = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back({entry.kind, entry.mergeKey, capture()});
    m_mergeOpen = false;
    restore(entry.state);
    announce(m_undo.back().state);
    emit historyChanged();
    updateModified();
}

// ---- whole images

void Document::newImage()
{
    StepScope scope(*this, EditKind::NewImage);
    m_ws.band.select(kNewImageBand);
    m_ws.channels.startForm();
    m_ws.dtmf.startForm();
    m_ws.features.startForm(m_ws.band);
}

void Document::openImage(const MemoryImage &image)
{
    {
        StepScope scope(*this, EditKind::OpenImage);
        m_ws.readImage = image;
        decodeImage(m_ws);
    }
    markClean();
}

void Document::readCompleted(const MemoryImage &image)
{
    {
        StepScope scope(*this, EditKind::ReadRadio);
        m_ws.readImage = image;
        decodeImage(m_ws);
    }
    markClean();
}

const MemoryImage &Document::encode()
{
    encodeImage(m_ws);
    return m_ws.writeImage;
}

void Document::setLanguage(Language language)
{
    StepScope scope(*this, EditKind::Language);
    m_ws.language = language;
    m_ws.channels.refreshLanguage(language);
}

// ---- the band

void Document::selectBand(int index)
{
    StepScope scope(*this, EditKind::BandChange);
    m_ws.band.select(index);
}

void Document::confirmBandChange(int index)
{
    StepScope scope(*this, EditKind::BandChange);
    if (!m_ws.band.select(index))
        return;
    m_ws.channels.clearGrid();
    m_ws.features.setVfoFrequencyToBandCentre(m_ws.band);
}

// ---- the channel grid

FrequencyCommit Document::commitFrequency(int channel, int column, const QString &text)
{
    StepScope scope(*this, EditKind::ChannelCell);
    return m_ws.channels.commitFrequency(channel, column, text, m_ws.band, m_ws.language);
}

void Document::commitName(int channel, const QString &text)
{
    StepScope scope(*this, EditKind::ChannelCell);
    m_ws.channels.commitName(channel, text);
}

bool Document::chooseTone(int channel, int column, int toneIndex)
{
    StepScope scope(*this, EditKind::ChannelCell);
    return m_ws.channels.chooseTone(channel, column, toneIndex, m_ws.language);
}

bool Document::chooseOption(int channel, int column, int index)
{
    StepScope scope(*this, EditKind::ChannelCell);
    return m_ws.channels.chooseOption(channel, column, index, m_ws.language);
}

// ---- optional features

bool Document::setFeatureSelection(Feature id, int position)
{
    StepScope scope(*this, EditKind::Feature);
    return m_ws.features.setSelection(id, position);
}

void Document::setFeatureText(Feature id, const QString &text)
{
    StepScope scope(*this, EditKind::Feature);
    m_ws.features.setText(id, featureTextLeft(id, text, m_ws.band));
}

// ---- DTMF, FM radio, calibration

void Document::setDtmf(const DtmfSettings &settings)
{
    StepScope scope(*this, EditKind::Dtmf);
    m_ws.dtmf = settings;
}

FmEdit Document::commitFmCell(int channel, const QString &text)
{
    StepScope scope(*this, EditKind::FmRadio);
    return m_ws.fm.commitCell(channel, text);
}

FmEdit Document::commitFmFrequencyMode(const QString &text)
{
    StepScope scope(*this, EditKind::FmRadio);
    m_ws.fm.typeFrequencyMode(text);
    return m_ws.fm.commitFrequencyMode();
}

void Document::selectFmPresentChannel(const QString &text)
{
    StepScope scope(*this, EditKind::FmRadio);
    m_ws.fm.selectPresentChannel(text);
}

void Document::selectFmDisplayMode(int index)
{
    StepScope scope(*this, EditKind::FmRadio);
    m_ws.fm.selectDisplayMode(index);
}

void Document::selectFmStep(int index)
{
    StepScope scope(*this, EditKind::FmRadio);
    m_ws.fm.selectStep(index);
}

void Document::confirmFm()
{
    StepScope scope(*this, EditKind::FmRadio);
    m_ws.fm.ok();
}

void Document::setCalibrationValue(int k, int value)
{
    StepScope scope(*this, EditKind::Calibration, k);
    m_ws.calibration.setValue(k, value);
}

void Document::endContinuousEdit()
{
    m_mergeOpen = false;
}

} // namespace quillon
