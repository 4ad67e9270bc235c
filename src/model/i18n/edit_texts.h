#pragma once

#include "i18n/language.h"

// Texts of the channel grid's editing tools: the Edit menu, the reasons a
// pasted cell was not taken and the messages of the row operations.
namespace quillon::edit_text {

inline const Bilingual kUndo{"撤销", "Undo"};
inline const Bilingual kRedo{"重做", "Redo"};
inline const Bilingual kCut{"剪切", "Cut"};
inline const Bilingual kCopy{"复制", "Copy"};
inline const Bilingual kPaste{"粘贴", "Paste"};
inline const Bilingual kDeleteChannels{"删除信道", "Delete channels"};
inline const Bilingual kInsertChannel{"插入空信道", "Insert empty channel"};
inline const Bilingual kRemoveChannel{"移除信道", "Remove channel"};
inline const Bilingual kMoveUp{"上移", "Move up"};
inline const Bilingual kMoveDown{"下移", "Move down"};
inline const Bilingual kSortByFrequency{"按接收频率排序", "Sort by receive frequency"};
inline const Bilingual kFillDown{"向下填充", "Fill down"};
inline const Bilingual kModified{"已修改", "Modified"};

// Why a pasted row or cell was not taken; %1 is the text, %2 the band.
inline const Bilingual kOutOfBand{"%1 超出频段 %2", "%1 is outside the band %2"};
inline const Bilingual kNotANumber{"%1 不是频率", "%1 is not a frequency"};
inline const Bilingual kNotInList{"%1 不在列表中", "%1 is not in the list"};
inline const Bilingual kNoReceiveFrequency{"信道没有接收频率", "the channel has no receive frequency"};
inline const Bilingual kBeyondLastChannel{"超出第128信道", "beyond channel 128"};
// One line of the paste summary: %1 the channel, %2 the reasons.
inline const Bilingual kRowNotTaken{"信道 %1：%2", "Channel %1: %2"};
inline const Bilingual kPasteSummary{"以下内容未粘贴：", "These were not pasted:"};
inline const Bilingual kInsertRefused{"第128信道不为空，不能插入空信道。",
                                      "Channel 128 is not empty: no empty channel can be inserted."};

} // namespace quillon::edit_text
