#pragma once

#include "document/workspace.h"
#include "features/fm_radio.h"
#include "image/channel_sheet.h"

#include <QObject>

#include <deque>
#include <memory>

namespace quillon {

// The parts of the workspace a change can touch, so a window shows again
// only what changed.
enum class Area : unsigned {
    None = 0,
    Channels = 1,
    Features = 2,
    Dtmf = 4,
    Fm = 8,
    Calibration = 16,
    Band = 32,
    All = 63,
};
constexpr Area operator|(Area a, Area b) { return Area(unsigned(a) | unsigned(b)); }
constexpr bool operator&(Area a, Area b) { return (unsigned(a) & unsigned(b)) != 0; }

// What one user action changed: the areas and, for the channels, the range
// of channels (1..128) whose rows differ.
struct Change {
    Area areas = Area::None;
    int firstChannel = 0;   // 0 when no channel changed
    int lastChannel = 0;
};

// The kinds of user action, as the undo history names its steps.
enum class EditKind {
    ChannelCell,     // a frequency, name, tone or option committed in the grid
    Feature,         // a field of the optional-features window
    Dtmf,
    FmRadio,
    Calibration,
    NewImage,
    BandChange,
    OpenImage,
    ReadRadio,
    Language,        // a switch re-texts and empties rows without a frequency
    ChannelRows,     // clear, insert, remove, move, sort, fill, paste rows
    Import,
};

// Everything that is edited, as one value: an undo step keeps the state
// from before it.
struct EditableState {
    MemoryImage readImage;
    MemoryImage writeImage;
    BandState band;
    ChannelSheet channels;
    OptionalFeatures features;
    DtmfSettings dtmf;
    FmRadio fm;
    CalibrationStore calibration;
    Language language = Language::English;

    bool operator==(const EditableState &other) const = default;
};

// The radio image being edited and every operation a user gesture stands
// for. Windows read the workspace and change it only through these
// operations; each operation is one step of the undo history (nested
// operations make one step), and announces what it changed with changed().
class Document : public QObject {
    Q_OBJECT
public:
    static constexpr int kHistoryLimit = 500;
    static constexpr int kNewImageBand = 3;   // "400-470MHz"

    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    const Workspace &workspace() const { return m_ws; }
    Language language() const { return m_ws.language; }
    // The service modes are not part of the image and have no undo.
    HiddenModes &modes() { return m_ws.modes; }

    // ---- whole images

    // The state of a new image: band 400-470MHz, every channel empty, the
    // DTMF and optional-features settings at their defaults. FM radio,
    // calibration and both images stay.
    void newImage();
    // A file's image or a completed read: decoded into every store.
    void openImage(const MemoryImage &image);
    void readCompleted(const MemoryImage &image);
    // Encodes every store into the write image (Save, Write) and returns it.
    const MemoryImage &encode();
    // The stores now match what was saved, opened, read or written.
    void markClean();
    bool isModified() const { return m_modified; }

    // The language switch: the channel rows follow in the new language.
    void setLanguage(Language language);

    // ---- the band

    // A band chosen by the program or with the keyboard: only the limits
    // follow, the channels stay. An index outside 0..9 changes nothing.
    void selectBand(int index);
    // Another band chosen from the drop-down and confirmed: every channel is
    // cleared and the VFO frequency goes to the band's centre.
    void confirmBandChange(int index);

    // ---- the channel grid's editors (channels 1..128, grid columns)

    FrequencyCommit commitFrequency(int channel, int column, const QString &text);
    void commitName(int channel, const QString &text);
    bool chooseTone(int channel, int column, int toneIndex);
    bool chooseOption(int channel, int column, int index);

    // ---- the optional-features window

    bool setFeatureSelection(Feature id, int position);
    // The user left a text field (or pressed Enter in it): the text it
    // keeps after the field's leave check.
    void setFeatureText(Feature id, const QString &text);

    // ---- DTMF, FM radio, calibration

    void setDtmf(const DtmfSettings &settings);
    FmEdit commitFmCell(int channel, const QString &text);
    FmEdit commitFmFrequencyMode(const QString &text);
    void selectFmPresentChannel(const QString &text);
    void selectFmDisplayMode(int index);
    void selectFmStep(int index);
    void confirmFm();
    // One drag of a slider is one step: values of the same slider merge
    // until endContinuousEdit().
    void setCalibrationValue(int k, int value);
    void endContinuousEdit();

    // ---- history

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    EditKind undoKind() const;
    EditKind redoKind() const;
    int undoCount() const { return int(m_undo.size()); }
    void undo();
    void redo();

    // Runs edit as one step of kind: nested calls join the outermost step.
    // Operations of other parts of the model (row operations, the import)
    // build on this.
    template<typename Edit>
    auto step(EditKind kind, Edit &&edit)
    {
        StepScope scope(*this, kind);
        return edit(m_ws);
    }

signals:
    void changed(const quillon::Change &change);
    void modifiedChanged(bool modified);
    // The undo or redo history changed (a step was added, undone, redone).
    void historyChanged();

private:
    struct Entry {
        EditKind kind;
        int mergeKey;   // -1: never merges
        EditableState state;
    };

    class StepScope {
    public:
        StepScope(Document &document, EditKind kind, int mergeKey = -1);
        ~StepScope();
        StepScope(const StepScope &) = delete;
        StepScope &operator=(const StepScope &) = delete;

    private:
        Document &m_document;
    };

    void beginStep(EditKind kind, int mergeKey);
    void endStep();
    EditableState capture() const;
    void restore(const EditableState &state);
    void announce(const EditableState &before);
    void updateModified();

    Workspace m_ws;
    std::deque<Entry> m_undo;
    std::deque<Entry> m_redo;
    std::unique_ptr<EditableState> m_stepBefore;
    EditKind m_stepKind = EditKind::ChannelCell;
    int m_stepMergeKey = -1;
    int m_depth = 0;
    bool m_mergeOpen = false;
    std::unique_ptr<EditableState> m_clean;
    bool m_modified = false;
};

// Whether two states hold the same data, regardless of the language the
// channel cells are shown in and of the image buffers.
bool sameContent(const EditableState &a, const EditableState &b);

} // namespace quillon
