#include "features/calibration_window.h"

namespace quillon {

CalibrationWindow::CalibrationWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form4"));
}

void CalibrationWindow::applyLanguage() {}
void CalibrationWindow::showModel() {}

} // namespace quillon
