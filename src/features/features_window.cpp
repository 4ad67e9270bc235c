#include "features/features_window.h"

namespace quillon {

OptionalFeaturesWindow::OptionalFeaturesWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form3"));
}

void OptionalFeaturesWindow::applyLanguage() {}
void OptionalFeaturesWindow::showModel() {}

} // namespace quillon
