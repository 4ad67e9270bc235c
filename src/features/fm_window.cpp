#include "features/fm_window.h"

namespace quillon {

FmRadioWindow::FmRadioWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form5"));
}

void FmRadioWindow::applyLanguage() {}
void FmRadioWindow::showModel() {}

} // namespace quillon
