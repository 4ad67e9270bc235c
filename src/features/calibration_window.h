#pragma once

#include "shell/editor_window.h"

namespace quillon {

class CalibrationWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit CalibrationWindow(AppContext &context, QWidget *parent = nullptr);
    void applyLanguage() override;
    void showModel() override;
};

} // namespace quillon
