#pragma once

#include "shell/editor_window.h"

namespace quillon {

class OptionalFeaturesWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit OptionalFeaturesWindow(AppContext &context, QWidget *parent = nullptr);
    void applyLanguage() override;
    void showModel() override;
};

} // namespace quillon
