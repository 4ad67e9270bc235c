#pragma once

#include "features/hidden_modes.h"
#include "features/optional_features.h"
#include "common/editor_window.h"

#include <array>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QRadioButton;

namespace quillon {

class RuledLineEdit;

// The optional-features window Form3: the pages "Function Set" (Frame2) and
// "VFO" (Frame3) in one place, switched by Option1/Option2, and the VOX frame
// (Frame1) beside them. Every control shows one setting of the workspace's
// OptionalFeatures record. A list or check box writes it back as soon as the
// user changes it, a text field when the user leaves it (or presses Enter)
// after changing its text.
//
// Clicks on three captions of the function page, all within 5 seconds of the
// first, unlock a hidden mode (any order; the sets are disjoint):
//   forced write:  Label2 "Priority:",     Label6 " Present Channel:", Label3 "Step Frequency:"
//   calibration:   Label5 "Squelch Level:", Label7 "Beep:",            Label8 "Battery Save:"
//   FM radio:      Label13 "Radio Monitors Sigal:", Label10 "Shift Frequency:", Label11 "Reverse Frequency:"
// Each click that finds its mode on emits AppContext::hiddenModeActivated.
class OptionalFeaturesWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit OptionalFeaturesWindow(AppContext &context, QWidget *parent = nullptr);
    ~OptionalFeaturesWindow() override;

    void applyLanguage() override;
    void showModel() override;

    // Time of day in whole seconds for the unlock sequences (tests install a fake clock).
    void setClock(std::function<int()> clock);

protected:
    void documentChanged(const Change &change) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *buildPage(FeaturePage page, Feature rightColumnStart);
    QWidget *buildControl(const FeatureField &field);
    void bindControls();
    void showPage(FeaturePage page);

    // Leaving a text field (and Enter): the text, after the field's check,
    // into the record and back into the field.
    void leaveField(RuledLineEdit *edit, Feature id);
    void leaveFocusedField();
    void captionClicked(HiddenMode mode, int step);

    std::optional<Feature> textFeature(QObject *object) const;
    RuledLineEdit *textField(Feature id) const;
    const OptionalFeatures &record() const;

    std::array<QWidget *, kFeatureCount> m_controls{};
    std::array<QLabel *, kFeatureCount> m_labels{};
    QGroupBox *m_functionPage = nullptr;
    QGroupBox *m_vfoPage = nullptr;
    QRadioButton *m_functionOption = nullptr;
    QRadioButton *m_vfoOption = nullptr;
    std::function<int()> m_clock;
    bool m_showing = false;   // the controls are being set from the record
};

} // namespace quillon
