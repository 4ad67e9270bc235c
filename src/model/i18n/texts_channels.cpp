#include "i18n/texts.h"

#include "i18n/field_texts.h"

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
    return table;
}

} // namespace quillon
