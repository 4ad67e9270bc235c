#pragma once

#include "i18n/language.h"

// Texts of the windows that no language table carries: the detail added to
// a failed command, fixed captions, the print preview's tool bar and the
// window of the built-in user guide.
namespace quillon::ui_text {

inline const Bilingual kErrorCaption{"错误", "Mistake"};
inline const Bilingual kSaveFailed{"文件无法保存：", "The file could not be saved: "};
inline const Bilingual kOpenFailed{"文件无法打开：", "The file could not be opened: "};
inline const Bilingual kGuideTitle{"帮助主题", "Help Theme"};
// The file dialogs' filter, the same text in both languages.
inline const Bilingual kDatFilter = Bilingual::same(QString::fromUtf8("DAT文件(*.dat)|*.dat|AllFiles(*.*)|*.*|"));
inline const Bilingual kMakerLine = Bilingual::same(QString::fromUtf8("Copyright © Quillon Radio Works"));
// The About box's link: the maker has no web page yet, so it opens the user guide.
inline const Bilingual kGuideLinkText{"使用说明", "User guide"};

// The serial port's reason when a number has no device behind it; %1 is the number.
inline const Bilingual kNoSerialDevice{"没有串口设备对应端口 %1", "No serial device is known as port %1"};

// Captions that read the same in both languages.
inline const Bilingual kDtmfWindowTitle = Bilingual::same(QString::fromUtf8("DTMF(双音多频)"));
inline const Bilingual kAniSendingLabel = Bilingual::same(QString::fromUtf8("ANI："));
// The FM display list's entry 1 until the first language switch names its unit.
inline const Bilingual kFmFrequencyWithUnit{"频率(MHz)", "Frequency(MHz)"};

// The print preview's tool bar.
inline const Bilingual kPreviewPrint{"打印", "Print"};
inline const Bilingual kPreviewPrintTo{"打印到...", "Print to..."};
inline const Bilingual kPreviewZoomIn{"放大", "Zoom in"};
inline const Bilingual kPreviewZoomOut{"缩小", "Zoom out"};
inline const Bilingual kPreviewFitWidth{"适合宽度", "Fit width"};
inline const Bilingual kPreviewPortrait{"纵向", "Portrait"};
inline const Bilingual kPreviewLandscape{"横向", "Landscape"};
inline const Bilingual kPreviewRefresh{"刷新", "Refresh"};
inline const Bilingual kPreviewClose{"关闭", "Close"};

} // namespace quillon::ui_text
