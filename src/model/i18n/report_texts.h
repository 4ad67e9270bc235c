#pragma once

#include "i18n/texts.h"

// The fixed texts of the printed report.
namespace quillon::report {

inline constexpr Bilingual kMaker{"Quillon 无线电", "Quillon Radio Works"};
inline constexpr Bilingual kTitlePrefix{"Tamber对讲机", "Tamber Interphone "};
inline constexpr Bilingual kTitle{"编程数据打印", "programming data are printed"};
inline constexpr Bilingual kFunctionSet{"功能设置", "Function set"};
inline constexpr Bilingual kWholeBand{"全频频率", "The whole frequency frequently"};
inline constexpr Bilingual kVox{"VOX(声控发射)", "VOX(Voice control launches)"};
inline constexpr Bilingual kWhether{"是否", "Whether"};
inline constexpr Bilingual kYes{"是", "Yes"};
inline constexpr Bilingual kNo{"否", "No"};
inline constexpr Bilingual kDebug{"调试信息", "Debug information"};
inline constexpr Bilingual kChannelData{"信道数据", "Channel data"};
inline constexpr Bilingual kPreview{"打印预览", "Print preview"};
inline constexpr Bilingual kSavePdf{"另存为PDF", "Save as PDF"};
inline constexpr Bilingual kPdfFilter{"PDF文件(*.pdf)", "PDF files(*.pdf)"};
inline constexpr Bilingual kPdfFailed{"无法保存PDF文件：", "The PDF file could not be saved: "};

// Point sizes of the title block: the maker line is larger in Chinese.
inline int makerPointSize(int language) { return language == kChinese ? 20 : 12; }
inline constexpr int kTitlePointSize = 14;

} // namespace quillon::report
