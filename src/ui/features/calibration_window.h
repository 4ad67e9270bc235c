#pragma once

#include "features/calibration.h"
#include "features/hidden_modes.h"
#include "common/editor_window.h"

#include <array>

class QLabel;
class QSlider;

namespace quillon {

// Form4: the nine calibration values as sliders, three power grades on three
// tabs. The sliders stay disabled until the calibration mode is unlocked.
class CalibrationWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit CalibrationWindow(AppContext &context, QWidget *parent = nullptr);
    ~CalibrationWindow() override;
    void applyLanguage() override;
    void showModel() override;

protected:
    void documentChanged(const Change &change) override;

private:
    void onSliderMoved(int k, int value);
    void onModeActivated(HiddenMode mode);
    void onModeLocked(HiddenMode mode);

    std::array<QSlider *, CalibrationStore::kCount> m_sliders{};
    std::array<QLabel *, CalibrationStore::kCount> m_readouts{};
    bool m_showing = false;   // while showModel sets the sliders
};

} // namespace quillon
