#pragma once

#include "shell/editor_window.h"

namespace quillon {

class DtmfWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit DtmfWindow(AppContext &context, QWidget *parent = nullptr);
    void applyLanguage() override;
    void showModel() override;
};

} // namespace quillon
