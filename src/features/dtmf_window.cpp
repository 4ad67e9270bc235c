#include "features/dtmf_window.h"

namespace quillon {

DtmfWindow::DtmfWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form2"));
}

void DtmfWindow::applyLanguage() {}
void DtmfWindow::showModel() {}

} // namespace quillon
