#pragma once

#include "i18n/language.h"

namespace quillon {

// Qt's own texts in the language: the file, print and page dialogs, the
// standard buttons, the context menus of the edit fields and the system
// menu of every editor window's frame. Chinese installs Qt's Chinese
// translation (from Qt's translations folder) on the application, English
// removes it. Call at start, before the windows are made, and on every
// switch. Without the translation files Qt's texts stay English.
void applyQtLanguage(Language language);

// True while Qt's Chinese translation is installed.
bool qtSpeaksChinese();

} // namespace quillon
