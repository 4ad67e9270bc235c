#pragma once

#include "shell/editor_window.h"

namespace quillon {

class ChannelWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit ChannelWindow(AppContext &context, QWidget *parent = nullptr);
    void applyLanguage() override;
    void showModel() override;
};

} // namespace quillon
