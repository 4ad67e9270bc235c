#pragma once

#include "i18n/language.h"

// Texts of the channel exchange with the common CSV format: the File menu's
// two items, their dialogs and summaries, and every reason a file or a row
// is refused. %1, %2 ... are filled in with QString::arg.
namespace quillon::csv_text {

// The File menu and its dialogs.
inline const Bilingual kImportMenu{"导入信道...", "Import channels..."};
inline const Bilingual kExportMenu{"导出信道...", "Export channels..."};
// The file dialogs' filter, as "text|pattern|" pairs like the image files' filter.
inline const Bilingual kFilter{"CSV文件(*.csv)|*.csv|所有文件(*.*)|*.*|", "CSV files(*.csv)|*.csv|AllFiles(*.*)|*.*|"};
inline const Bilingual kSequential{"按文件顺序从信道1开始存放", "Place the rows in file order from channel 1"};
inline const Bilingual kImportCaption{"导入信道", "Import channels"};
inline const Bilingual kExportCaption{"导出信道", "Export channels"};

// The summary of an import and of an export.
inline const Bilingual kImported{"已导入%1行。", "%1 rows imported."};
inline const Bilingual kRejectedCount{"%1行被拒绝，不能导入。", "%1 rows are rejected and cannot be imported."};
inline const Bilingual kImportQuestion{"确定导入其余的行吗？（取消则不作任何改变）",
                                       "Import the other rows? (Cancel changes nothing)"};
inline const Bilingual kChangedChannels{"改变的信道：%1", "Changed channels: %1"};
inline const Bilingual kNoChannelChanged{"没有信道改变。", "No channel changed."};
inline const Bilingual kRejectedHeading{"被拒绝的行：", "Rejected rows:"};
inline const Bilingual kWarningsHeading{"注意：", "Notes:"};
inline const Bilingual kMoreLines{"……另有%1条", "... and %1 more"};
inline const Bilingual kExported{"已导出%1个信道。", "%1 channels exported."};
// Where a notice belongs.
inline const Bilingual kAtLine{"第%1行", "line %1"};
inline const Bilingual kAtLineChannel{"第%1行（信道%2）", "line %1 (channel %2)"};
inline const Bilingual kAtChannel{"信道%1", "channel %1"};

// A file that cannot be read as a table.
inline const Bilingual kNotUtf8{"不是UTF-8文本", "not UTF-8 text"};
inline const Bilingual kTooLarge{"文件大于%1字节", "larger than %1 bytes"};
inline const Bilingual kEmptyFile{"没有标题行", "no header row"};
inline const Bilingual kUnclosedQuote{"此行开始的引号没有结束", "a quote opened on this line is never closed"};
inline const Bilingual kNoFrequencyColumn{"标题行没有Frequency列", "no Frequency column in the header"};

// Why a row is rejected.
inline const Bilingual kNotANumber{"%1“%2”不是数字", "%1 \"%2\" is not a number"};
inline const Bilingual kLocationNotChannel{"Location“%1”不是信道号", "Location \"%1\" is not a channel number"};
inline const Bilingual kBeyondLastChannel{"信道%1超出信道128", "channel %1 is beyond channel 128"};
inline const Bilingual kChannelTaken{"信道%1已由第%2行占用", "channel %1 is already taken by line %2"};
inline const Bilingual kOutOfBand{"接收频率%1超出频段%2", "RX %1 is outside the band %2"};
inline const Bilingual kUnknownValue{"%1“%2”不是%3之一", "%1 \"%2\" is not one of %3"};
inline const Bilingual kNotSupported{"%1“%2”本机不支持", "%1 \"%2\" is not supported by the radio"};
inline const Bilingual kToneNotInList{"%1“%2”不在亚音频表中", "%1 \"%2\" is not in the tone list"};
inline const Bilingual kPowerUnknown{"Power“%1”不是High、Low、Mid或瓦数", "Power \"%1\" is not High, Low, Mid or watts"};

// Notes on rows that were taken, and on exported channels.
inline const Bilingual kNameChanged{"名称“%1”按名称规则存为“%2”", "name \"%1\" is stored as \"%2\" by the name rule"};
inline const Bilingual kTxOutOfBand{"发射频率%1超出频段%2，未采用：发射频率=接收频率",
                                    "TX %1 is outside the band %2 and not taken: TX = RX"};
inline const Bilingual kExportToneNotInList{"%1“%2”不在亚音频表中，按关闭写出",
                                            "%1 \"%2\" is not in the tone list and is written as Off"};
inline const Bilingual kExportTxNotNumber{"发射频率“%1”不是数字，按Duplex off写出",
                                          "TX \"%1\" is not a number and is written as Duplex off"};

// Both languages of a text, each with the same arguments.
template<typename... Args>
Bilingual arg(const Bilingual &text, const Args &...args)
{
    return {text.zh.arg(args...), text.en.arg(args...)};
}

} // namespace quillon::csv_text
