#pragma once

#include "i18n/language.h"

#include <QString>

namespace quillon {

// The compiled help file of the language beside the executable:
// "Orvel.CHM" (Chinese) or "OrvelE.CHM" (English).
QString helpFilePath(Language language);

// Opens that file with the system's handler. False when it is not there or
// no handler took it; the caller then shows our own user guide.
bool openHelpFile(Language language);

// Our own short user guide in the language, as HTML (built into the program).
QString userGuideHtml(Language language);

} // namespace quillon
