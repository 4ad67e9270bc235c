#pragma once

#include "i18n/language.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace quillon {

class AppContext;
class MainWindow;
class SettingsStore;

// The desktop's name for the program: its desktop entry, icon and metadata
// are named after it.
inline constexpr const char *kDesktopId = "example.quillon.Quillon";

// Application-wide settings of the program: its name and its icon. Call
// right after QApplication.
void prepareApplication();

// The font every window starts from, for the language shown. SimSun, the
// program's own font, where it is installed, in either language. Elsewhere
// Chinese takes a face with the Chinese glyphs first, and English the
// system's face alone: Qt finds a Chinese face by itself for the odd
// Chinese character, so an English start loads no Chinese font.
void applyApplicationFont(Language language);

// What the command line asks of a start.
struct StartOptions {
    QString file;               // an image file to open once started
    bool quitWhenIdle = false;  // end at the first idle moment (scripted checks)
};

// True when the command line asks for --help or --version, which need no
// display: read it with a QCoreApplication then.
bool answersWithoutWindow(int argc, const char *const *argv);

// Reads `Quillon [--quit-when-idle] [FILE]`. --help and --version print
// their text and end the process; so does a wrong command line, with exit 2.
StartOptions startOptionsFromCommandLine(const QStringList &arguments);

// Starts the program: reads the stored language, creates and shows the main
// window (its load step opens port 1 and reports a failure in the stored
// language), then sets every text. Any stored language other than Chinese
// becomes English. Then it opens options.file as Open would.
//
// With options.quitWhenIdle the program ends as soon as the main window is
// shown and the event loop has nothing left to do: it writes one line to
// standard output and quits with 0, without the exit question and without
// storing anything. A message box waiting for an answer instead ends it
// with 1 and the message's text on standard error.
std::unique_ptr<MainWindow> startQuillon(AppContext &context, SettingsStore &settings,
                                         const StartOptions &options = {});

} // namespace quillon
