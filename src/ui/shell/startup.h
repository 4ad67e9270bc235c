#pragma once

#include "i18n/language.h"

#include <memory>

namespace quillon {

class AppContext;
class MainWindow;
class SettingsStore;

// Application-wide settings of the program: its name and its icon. Call
// right after QApplication.
void prepareApplication();

// The font every window starts from, for the language shown. SimSun, the
// program's own font, where it is installed, in either language. Elsewhere
// Chinese takes a face with the Chinese glyphs first, and English the
// system's face alone: Qt finds a Chinese face by itself for the odd
// Chinese character, so an English start loads no Chinese font.
void applyApplicationFont(Language language);

// Starts the program: reads the stored language, creates and shows the main
// window (its load step opens port 1 and reports a failure in the stored
// language), then sets every text. Any stored language other than Chinese
// becomes English.
std::unique_ptr<MainWindow> startQuillon(AppContext &context, SettingsStore &settings);

} // namespace quillon
