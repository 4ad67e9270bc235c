#pragma once

#include "i18n/texts.h"

// Texts of the shell that no language table carries: the detail added to a
// failed file command and the window of the built-in user guide.
namespace quillon::shell {

inline constexpr Bilingual kErrorCaption{"错误", "Mistake"};
inline constexpr Bilingual kSaveFailed{"文件无法保存：", "The file could not be saved: "};
inline constexpr Bilingual kOpenFailed{"文件无法打开：", "The file could not be opened: "};
inline constexpr Bilingual kGuideTitle{"帮助主题", "Help Theme"};
// The file dialogs' filter, the same text in both languages.
inline constexpr const char *kDatFilter = "DAT文件(*.dat)|*.dat|AllFiles(*.*)|*.*|";
inline constexpr const char *kMakerLine = "Copyright © Quillon Radio Works";
inline constexpr const char *kMakerAddress = "https://quillon.example/";

} // namespace quillon::shell
