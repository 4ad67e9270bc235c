#pragma once

#include "i18n/language.h"

// Texts of the commands that guard a radio's programming: verify, the radio
// history, the serial trace and the descriptions of the serial ports.
namespace quillon::link_text {

// Menu items.
inline const Bilingual kVerifyRadio{"校验电台", "Verify radio"};
inline const Bilingual kVerifyAfterWriting{"写频后校验", "Verify after writing"};
inline const Bilingual kRadioHistory{"电台历史...", "Radio history..."};
inline const Bilingual kSaveSerialTrace{"保存串口记录...", "Save serial trace..."};

// Verify.
inline const Bilingual kVerifySame{"电台数据与写入的数据一致。", "The radio holds exactly what was written."};
inline const Bilingual kSuggestionCaption{"提示", "Suggestion"};
inline const Bilingual kVerifyWindowTitle{"校验电台", "Verify radio"};
inline const Bilingual kVerifyDifferentFromWrite{"电台数据与写入的数据不同：",
                                                 "The radio holds something other than what was written:"};
inline const Bilingual kVerifyDifferentFromProgram{"电台数据与本程序中的数据不同（本次运行尚未写频）：",
                                                   "The radio holds something other than the program's data "
                                                   "(nothing was written in this run):"};
inline const Bilingual kColumnItem{"项目", "Item"};
inline const Bilingual kColumnInRadio{"电台中", "In the radio"};
inline const Bilingual kColumnWritten{"写入的", "Written"};
inline const Bilingual kColumnInProgram{"程序中", "In the program"};
inline const Bilingual kColumnAddress{"地址", "Address"};
inline const Bilingual kClose{"关闭", "Close"};

// Where a difference lies.
inline const Bilingual kPlaceBand{"频段", "Band"};
inline const Bilingual kPlaceChannel{"信道", "Channel"};
inline const Bilingual kPlaceDtmf{"DTMF", "DTMF"};
inline const Bilingual kPlaceFm{"收音机", "FM radio"};
inline const Bilingual kPlaceCalibration{"调试", "Calibration"};
inline const Bilingual kPlaceBytes{"字节", "Bytes"};

// The radio history.
inline const Bilingual kHistoryWindowTitle{"电台历史", "Radio history"};
inline const Bilingual kHistoryFolder{"文件夹：", "Folder: "};
inline const Bilingual kHistoryEmpty{"还没有读取或写入过电台。", "No radio has been read or written yet."};
inline const Bilingual kColumnDate{"日期", "Date"};
inline const Bilingual kColumnDirection{"方向", "Direction"};
inline const Bilingual kColumnBand{"频段", "Band"};
inline const Bilingual kColumnChannels{"使用的信道", "Channels in use"};
inline const Bilingual kColumnNames{"前几个信道名称", "First channel names"};
inline const Bilingual kDirectionRead{"读取", "read"};
inline const Bilingual kDirectionWritten{"写入", "written"};
inline const Bilingual kOpen{"打开", "Open"};
inline const Bilingual kHistoryNotSaved{"电台历史无法保存：", "The radio history could not be saved: "};
inline const Bilingual kAttentionCaption{"注意", "Attention"};

// The serial trace.
inline const Bilingual kTraceOffer{"通信记录可交给技术支持：", "The exchange was recorded for support: "};
inline const Bilingual kTraceNotSaved{"串口记录无法保存：", "The serial trace could not be saved: "};
inline const Bilingual kTraceFilter{"文本文件 (*.txt)", "Text files (*.txt)"};
inline const Bilingual kErrorCaption{"错误", "Mistake"};

// What a serial port is.
inline const Bilingual kPortAvailable{"可用", "Available"};
inline const Bilingual kPortOpenHere{"已由本程序打开", "Open in Quillon"};
inline const Bilingual kPortBusy{"忙：另一个程序正在使用", "Busy: another program is using it"};
inline const Bilingual kPortNotPermitted{"无权使用", "Not permitted"};
inline const Bilingual kPortDialoutHint{"请把自己加入 dialout 组：sudo usermod -aG dialout $USER，然后注销并重新登录。",
                                        "Add yourself to the group dialout: sudo usermod -aG dialout $USER, "
                                        "then log out and in again."};
inline const Bilingual kPortMissing{"找不到设备", "No such device"};
inline const Bilingual kPortUnusable{"无法打开", "Cannot be opened"};
// %1 is the vendor id, %2 the product id, both as four hex digits.
inline const Bilingual kPortUsbId{"USB %1:%2", "USB %1:%2"};

} // namespace quillon::link_text
