#pragma once

#include "i18n/language.h"

// Texts of the program's life on the desktop: the recent files of the File
// menu and the command line.
namespace quillon::desktop_text {

// The title above the recent files in the File menu.
inline const Bilingual kRecentFilesTitle{"最近使用的文件", "Recent Files"};
// A recent file that is gone; %1 is its path.
inline const Bilingual kRecentFileMissing{"文件已不存在：\r\n%1\r\n已将它从最近使用的文件中删除。",
                                          "The file no longer exists:\r\n%1\r\nIt has been removed from the recent files."};

// The command line speaks English, as the terminal around it does.
inline constexpr const char *kCommandLineSummary = "Programming tool for the Quillon hand-held radio.";
inline constexpr const char *kFileArgumentHelp = "An image file (.dat) to open once the program has started.";
inline constexpr const char *kQuitWhenIdleHelp =
    "Quit as soon as the main window is shown and idle, without the exit question and without storing the "
    "language (for scripted checks of an installation).";
inline constexpr const char *kOneFileOnly = "Quillon opens one file at a time.";

} // namespace quillon::desktop_text
