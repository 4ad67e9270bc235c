#pragma once

#include "i18n/language.h"
#include "image/band.h"
#include "image/memory_image.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace quillon {

// Every setting of the optional-features window, in the window's order:
// the function page (left column, then right column), the VFO page (left,
// then right) and the VOX frame.
enum class Feature {
    PriorityChannel, DisplayMode, Beep, KeyLock, ScanMode, ChannelNameDisplay,
    PowerOnPassword, RadioSearchMode, RadioMonitor, TailElimination, AutoPowerOff,
    PowerOnDisplay, Password, ReverseFrequency,
    PresentChannel, StepIndex, SquelchLevel, BatterySave, ShiftFrequency, TimeOutTimer,
    KeyLockMode, VoiceMode, TalkOverSound, ChannelGroup, Backlight, MemoryDisplayMode,
    PowerOnText,
    VfoFrequency, VfoRxTone, VfoPower, VfoBandwidth, VfoScanAdd, VfoScramble, VfoCompander,
    VfoOffset, VfoTxTone, VfoShiftDirection, VfoBusyLock, VfoTxInhibit, VfoCallTone,
    VoxSwitch, VoxGain, VoxDelay, VoxRxInhibit, AllowCancel,
};
inline constexpr int kFeatureCount = static_cast<int>(Feature::AllowCancel) + 1;

enum class FeatureKind { List, Text, Check };
enum class FeaturePage { Function, Vfo, Vox };


// Where a list or check setting sits in the image. Settings without a place
// in the image have address -1; texts, frequencies and tones have their own
// codecs and are not described here.
struct FeatureStorage {
    int address = -1;
    int shift = 0;       // lowest bit of the field
    int width = 8;       // 8: the whole byte
    int below = 256;     // whole bytes: a stored value below this selects itself,
    int fallback = 0;    // anything else selects `fallback`
};

// Description of one setting, shared by the record, the window and the report.
struct FeatureField {
    Feature id;
    FeatureKind kind;
    FeaturePage page;
    QString control;          // "Combo1", "Text20", "Check13"
    QString label;            // caption label ("Label1"); empty for check boxes
    Bilingual caption;      // of the label, or of the check box itself
    QList<Bilingual> items; // list entries, index 0 first
    int maxLength = 0;        // texts; 0 = no limit
    FeatureStorage storage;
    int defaultSelection = -1; // list default of a new image; -1 = not reset
};

// All settings in window order; field(id) is the entry of one.
const QList<FeatureField> &featureFields();
const FeatureField &featureField(Feature id);
QStringList featureItems(Feature id, Language language);
// Captions of the two pages and of the VOX frame ("Function Set", "VFO", "VOX").
const Bilingual &featurePageTitle(FeaturePage page);

// The settings record behind the optional-features window: list positions,
// check states (0/1) and texts. The image passes and the window work on it.
class OptionalFeatures {
public:
    OptionalFeatures();

    // Defaults of a new image; the VFO frequency goes to the band centre.
    // The password, the VOX receive inhibit and "allow to cancel" stay.
    void startForm(const BandState &band);
    // After a confirmed band change the VFO frequency follows the band.
    void setVfoFrequencyToBandCentre(const BandState &band);

    // List position, or 0/1 for a check box.
    int selection(Feature id) const;
    // Fails (returns false, keeps the value) for a position the list lacks.
    bool setSelection(Feature id, int position);
    QString text(Feature id) const;
    void setText(Feature id, const QString &text);

    // Decoding runs in three portions, in the order the image pass needs.
    void decodeOptionBytes(const MemoryImage &image);           // 0x0700..0x070F
    void decodeRest(MemoryImage &readImage, Language language);     // 0x0717..0x072E, writes 0xFF to 0x0717
    void decodePassword(const MemoryImage &image);             // 0x0740..0x0743

    // A value that does not convert leaves its bytes as they were.
    void encodeBlock(MemoryImage &image, int bandIndex) const; // 0x0700..0x072F
    void encodePassword(MemoryImage &image) const;             // 0x0740..0x0743

    bool operator==(const OptionalFeatures &other) const = default;

private:
    std::array<int, kFeatureCount> m_selection{};
    std::array<QString, kFeatureCount> m_text;
};

} // namespace quillon
