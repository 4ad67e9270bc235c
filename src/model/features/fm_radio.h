#pragma once

#include "image/memory_image.h"

#include <QString>

#include <array>
#include <optional>

namespace quillon {

// What the radio keeps of its FM receiver: 32 channel frequencies and four
// settings. Frequencies are texts with two decimals on the 0.05 MHz raster
// ("88.05"); an empty text is no channel.
struct FmStore {
    static constexpr int kChannels = 32;
    std::array<QString, kChannels> channels;
    int presentChannel = 0;
    int displayMode = 0;
    int step = 0;
    QString frequencyMode;

    bool operator==(const FmStore &other) const = default;
};

// What the FM window's controls show. Only OK copies it into the store, so
// the two differ after an edit that was cancelled.
struct FmControls {
    std::array<QString, FmStore::kChannels> cells;   // grid column 1
    QString presentChannelText;    // Combo1_0
    int displayModeIndex = -1;     // Combo1_1, -1 no selection
    int stepIndex = -1;            // Combo1_2
    QString frequencyModeText;     // Text2

    bool operator==(const FmControls &other) const = default;
};

// Result of leaving one of the FM window's frequency editors.
enum class FmEdit {
    Unchanged,    // no number (or nothing to check): the target keeps its text
    Changed,      // the target took the (possibly emptied or snapped) text
    OutOfRange,   // refused: the window shows the range message
};

// The FM store, the texts of the window's controls and the window's editing
// rules, so they work whether the window was ever shown or not.
class FmRadio {
public:
    static constexpr int kChannels = FmStore::kChannels;
    static constexpr int kDisplayModes = 2;   // entries of Combo1_1
    static constexpr int kSteps = 3;          // entries of Combo1_2

    FmRadio();

    const FmStore &store() const { return m_store; }
    const FmControls &controls() const { return m_controls; }

    // Cell text of channel 1..32 in the grid.
    QString cell(int channel) const;

    // Gestures on the controls.
    void selectPresentChannel(const QString &text);
    void selectDisplayMode(int index);
    void selectStep(int index);
    void typeFrequencyMode(const QString &text);   // raw text while typing

    // Leaving the grid's in-place editor of channel 1..32 with text: empty
    // empties the cell, 76..107.95 is cut onto the raster, other numbers are
    // refused, anything else leaves the cell alone.
    FmEdit commitCell(int channel, const QString &text);
    // Leaving the frequency-mode box: as a cell, but 108 is refused too, and
    // a refused text empties the box.
    FmEdit commitFrequencyMode();

    // OK: the controls into the store.
    void ok();

    // Both update store and controls.
    void decode(const MemoryImage &image);    // 0x0760..0x07A5
    // Emptiness from the grid, values from the store.
    void encode(MemoryImage &image) const;    // 0x0760..0x07A5 (0x07A3 = 0xFF)

    bool operator==(const FmRadio &other) const = default;

private:
    FmStore m_store;
    FmControls m_controls;
};

// The frequency text of an FM code (76 + 0.05 v MHz); empty for 0xFFFF and
// for codes above 108 MHz.
QString fmFrequencyText(int code);
// The code of a frequency text; nullopt when it is no number or has no code
// (below 76 MHz, or so high it would read back as the erased 0xFFFF).
std::optional<int> fmFrequencyCode(const QString &text);

} // namespace quillon
