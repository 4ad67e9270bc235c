#pragma once

#include "i18n/language.h"

#include <QString>

class QWidget;

namespace quillon {

// Shows a modal message box with the platform style bits (buttons, icon,
// default button) and button texts in the language; returns the button
// number. Escape answers Cancel when the box has one.
int showPlatformMessageBox(QWidget *owner, const QString &text, int style, const QString &caption, Language language);

} // namespace quillon
