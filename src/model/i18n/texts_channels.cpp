#include "i18n/texts.h"

#include "i18n/edit_texts.h"
#include "i18n/field_texts.h"

#include <utility>

namespace quillon {

TextTable channelWindowTexts()
{
    TextTable table;
    auto add = [&table](const QString &control, int element, TextRole role, int index,
                        const QString &zh, const QString &en) {
        table.append(TextRow{control, element, role, index, {zh, en}});
    };
    constexpr int kFirstOptionColumn = 5;
    constexpr int kLastOptionColumn = 10;
    constexpr int kColumns = 12;

    // The list entries come from the lists the channel table itself uses, so
    // a cell and its list can never disagree about a text.
    add(QStringLiteral("Combo1"), -1, TextRole::ListEntry, 0, toneOffText().zh, toneOffText().en);
    for (int column = kFirstOptionColumn; column <= kLastOptionColumn; ++column) {
        for (int i = 0; i < channelOptionCount(column); ++i)
            add(QStringLiteral("Combo5"), column, TextRole::ListEntry, i,
                channelOptionText(column, i, Language::Chinese), channelOptionText(column, i, Language::English));
    }

    add({}, -1, TextRole::WindowTitle, 0, QStringLiteral("信道编辑"), QStringLiteral("Channel Edit"));

    static const Bilingual headers[kColumns] = {
        {"频道", "Fre"},
        {"接收频率", "RXFre"},
        {"发射频率", "TXfre"},
        {"接收亚音频", "QT/DQT Dec"},
        {"发射亚音频", "QT/DQT Enc"},
        {"功率", "Power"},
        {"繁忙信道锁定", "Channel lock"},
        {"扫描添加", "Add scan"},
        {"宽窄带", "Band"},
        {"发射禁止", "TX Estop"},
        {"扰频", "Scramble"},
        {"频道名称", "Channel Name"},
    };
    for (int column = 0; column < kColumns; ++column)
        add(QStringLiteral("Grid1"), -1, TextRole::Header, column,
            headers[column].zh, headers[column].en);

    // The grid's editing tools, shown in the main window's Edit menu too.
    const std::pair<const char *, const Bilingual &> tools[] = {
        {"MNUndo", edit_text::kUndo},
        {"MNRedo", edit_text::kRedo},
        {"MNCut", edit_text::kCut},
        {"MNCopy", edit_text::kCopy},
        {"MNPaste", edit_text::kPaste},
        {"MNDeleteChannels", edit_text::kDeleteChannels},
        {"MNInsertChannel", edit_text::kInsertChannel},
        {"MNRemoveChannel", edit_text::kRemoveChannel},
        {"MNMoveUp", edit_text::kMoveUp},
        {"MNMoveDown", edit_text::kMoveDown},
        {"MNSortByFrequency", edit_text::kSortByFrequency},
        {"MNFillDown", edit_text::kFillDown},
    };
    for (const auto &[control, text] : tools)
        add(QString::fromLatin1(control), -1, TextRole::Caption, 0, text.zh, text.en);
    return table;
}

} // namespace quillon
