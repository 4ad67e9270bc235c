#pragma once

#include <memory>

namespace quillon {

class AppContext;
class MainWindow;
class SettingsStore;

// Application-wide settings of the program: its name, its icon and a font
// that shows Chinese as well as English. Call right after QApplication.
void prepareApplication();

// Starts the program: reads the stored language, creates and shows the main
// window (its load step opens port 1 and reports a failure in the stored
// language), then sets every text. Any stored language other than Chinese
// becomes English.
std::unique_ptr<MainWindow> startQuillon(AppContext &context, SettingsStore &settings);

} // namespace quillon
