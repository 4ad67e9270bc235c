#pragma once

#include <QString>

namespace quillon {

// The compiled help file of the language beside the executable:
// "Orvel.CHM" (Chinese) or "OrvelE.CHM" (English).
QString helpFilePath(int language);

// Opens that file with the system's handler. False when it is not there or
// no handler took it; the caller then shows our own user guide.
bool openHelpFile(int language);

// Our own short user guide in the language, as HTML (built into the program).
QString userGuideHtml(int language);

} // namespace quillon
