#include "i18n/texts.h"

namespace quillon {

namespace {

TextRow caption(const char *control, int element, const char *zh, const char *en)
{
    return {QString::fromLatin1(control), element, TextRole::Caption, 0, {zh, en}};
}

TextRow caption(const char *control, const char *zh, const char *en)
{
    return caption(control, -1, zh, en);
}

TextRow entry(const char *control, int element, int index, const char *zh, const char *en)
{
    return {QString::fromLatin1(control), element, TextRole::ListEntry, index, {zh, en}};
}

TextRow title(const char *zh, const char *en)
{
    return {QString(), -1, TextRole::WindowTitle, 0, {zh, en}};
}

} // namespace

TextTable dtmfWindowTexts()
{
    TextTable table;
    // First-digit delay: 0 .. 1800 ms in steps of 200.
    for (int i = 0; i < 10; ++i) {
        const QString number = QString::number(200 * i);
        table << TextRow{QStringLiteral("Combo17"), -1, TextRole::ListEntry, i,
                         {number + QString::fromUtf8("毫秒"), number + QStringLiteral("MS")}};
    }
    table << caption("Option1", "自动拔号存储器", "Auto-dialing Memory")
          << caption("Option2", "其它功能", "Other Features")
          << caption("Label1", 0, "第一组自动拔号存储器", "First Autodial Memory")
          << caption("Label1", 1, "第二组自动拔号存储器", "Second Autodial Memory")
          << caption("Label1", 2, "第三组自动拔号存储器", "Third Autodial Memory")
          << caption("Label1", 3, "第四组自动拔号存储器", "Fourth Autodial Memory")
          << caption("Label1", 4, "第五组自动拔号存储器", "Fifth Autodial Memory")
          << caption("Label1", 5, "第六组自动拔号存储器", "Sixth Autodial Memory")
          << caption("Label1", 6, "第七组自动拔号存储器", "Seventh Autodial Memory")
          << caption("Label1", 7, "第八组自动拔号存储器", "Eight Autodial Memory")
          << caption("Label2", "ANI开始码：", "ANI Start Code：")
          << caption("Label4", "ANI结束码：", "ANI End Code：")
          << caption("Label3", "自身码：", "Own Code：")
          << entry("Combo1", -1, 0, "发射开始", "Start Send")
          << entry("Combo1", -1, 1, "发射结束", "End Send")
          << entry("Combo1", -1, 2, "两者", "Both")
          << caption("Label16", "DTMF速率：", "DTMF Rate：")
          << entry("Combo16", -1, 0, "快", "Fast")
          << entry("Combo16", -1, 1, "慢", "Slow")
          << caption("Label17", "首位数码延迟：", "First Digital Delay：")
          << caption("Label18", "群呼码：", "Group Call Code：")
          << entry("Combo18", -1, 0, "空", "Empty");
    return table;
}

TextTable calibrationWindowTexts()
{
    TextTable table;
    table << title("调试", "Debugging");
    const char *tabs[3][2] = {{"高功率等级", "High Power Grades"},
                              {"中功率等级", "Mid Power Grades"},
                              {"低功率等级", "Low Power Grades"}};
    for (int i = 0; i < 3; ++i)
        table << TextRow{QStringLiteral("SSTab1"), -1, TextRole::Tab, i, {tabs[i][0], tabs[i][1]}};
    // Every tab has a high, a middle and a low segment frame.
    const char *frames[3][2] = {{"高段等级", "High Sect Grades"},
                                {"中段等级", "Mid Sect Grades"},
                                {"低段等级", "Low Sect Grades"}};
    for (int k = 0; k < 9; ++k)
        table << caption("Frame1", k, frames[k % 3][0], frames[k % 3][1]);
    // These two rows name the whole label arrays; the window applies them
    // to each element.
    table << caption("Label1", "低", "Low")
          << caption("Label2", "高", "High");
    return table;
}

TextTable fmWindowTexts()
{
    TextTable table;
    table << title("FM频道设置", "FM Channel Set")
          << caption("Label1", 3, "频率模式(频率):", "FrequencyMode(Frequency):")
          << caption("Label1", 0, "当前收音机工作频道:", "Present Channel:")
          << caption("Label1", 1, "显示模式:", "Reveal Mode:")
          << caption("Label1", 2, "收音机步进频率:", "FM Step Frequency:")
          << entry("Combo1", 1, 0, "频道", "Channel")
          << entry("Combo1", 1, 1, "频率", "Frequency")
          << TextRow{QStringLiteral("MSFGrid"), -1, TextRole::Header, 0, {"频道", "Channel"}}
          << TextRow{QStringLiteral("MSFGrid"), -1, TextRole::Header, 1, {"频率(MHz)", "Frequency(MHz)"}}
          << caption("Command1", "确定", "OK")
          << caption("Command2", "取消", "Cancel");
    return table;
}

} // namespace quillon
