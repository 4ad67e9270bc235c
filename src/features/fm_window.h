#pragma once

#include "shell/editor_window.h"

namespace quillon {

class FmRadioWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit FmRadioWindow(AppContext &context, QWidget *parent = nullptr);
    void applyLanguage() override;
    void showModel() override;
};

} // namespace quillon
