#pragma once

#include "i18n/texts.h"

// The fixed texts of the printed report.
namespace quillon::report {

inline const Bilingual kMaker{"Quillon 无线电", "Quillon Radio Works"};
inline const Bilingual kTitlePrefix{"Tamber对讲机", "Tamber Interphone "};
inline const Bilingual kTitle{"编程数据打印", "programming data are printed"};
inline const Bilingual kFunctionSet{"功能设置", "Function set"};
inline const Bilingual kWholeBand{"全频频率", "The whole frequency frequently"};
inline const Bilingual kVox{"VOX(声控发射)", "VOX(Voice control launches)"};
inline const Bilingual kWhether{"是否", "Whether"};
inline const Bilingual kYes{"是", "Yes"};
inline const Bilingual kNo{"否", "No"};
inline const Bilingual kDebug{"调试信息", "Debug information"};
inline const Bilingual kChannelData{"信道数据", "Channel data"};
inline const Bilingual kPreview{"打印预览", "Print preview"};
inline const Bilingual kSavePdf{"另存为PDF", "Save as PDF"};
inline const Bilingual kPdfFilter{"PDF文件(*.pdf)", "PDF files(*.pdf)"};
inline const Bilingual kPdfFailed{"无法保存PDF文件：", "The PDF file could not be saved: "};
inline const Bilingual kPageSetup{"页面设置", "Page setup"};

// Point sizes of the title block: the maker line is larger in Chinese.
inline int makerPointSize(Language language) { return language == Language::Chinese ? 20 : 12; }
inline constexpr int kTitlePointSize = 14;

} // namespace quillon::report
