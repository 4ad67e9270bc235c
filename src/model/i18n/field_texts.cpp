// The captions and list items of the optional-features window, and the
// option lists of the channel grid.

#include "i18n/field_texts.h"

#include <utility>

namespace quillon {

namespace {

Bilingual same(const char *text)
{
    return Bilingual::same(QString::fromUtf8(text));
}

Bilingual both(const char *zh, const char *en)
{
    return {zh, en};
}

QList<Bilingual> sameItems(std::initializer_list<const char *> texts)
{
    QList<Bilingual> items;
    for (const char *text : texts)
        items.append(same(text));
    return items;
}

QList<Bilingual> numbered(int first, int last, const char *suffix = "")
{
    QList<Bilingual> items;
    for (int n = first; n <= last; ++n)
        items.append(Bilingual::same(QString::number(n) + QString::fromUtf8(suffix)));
    return items;
}

// "Off" followed by 1..last with a unit that differs by language.
QList<Bilingual> offThenUnits(Bilingual off, int last, const char *zhUnit, const char *enUnit)
{
    QList<Bilingual> items{std::move(off)};
    for (int n = 1; n <= last; ++n)
        items.append({QString::number(n) + QString::fromUtf8(zhUnit), QString::number(n) + QString::fromUtf8(enUnit)});
    return items;
}

QList<FeatureTexts> buildFeatureTexts()
{
    // The recurring two-item lists.
    const Bilingual kOff = both("关", "Off");
    const Bilingual kOn = both("开", "On");
    const Bilingual kEnable = both("使能", "On");
    const Bilingual kDisable = both("禁止", "Off");

    return {
        // Function page, left column.
        {"Text2", "Label2", both("优先扫描频道:", "Priority:"), {}},
        {"Combo1", "Label1", both("显式模式:", "Display Mode:"), {both("频率", "Frequency"), both("频道", "Channel")}},
        {"Combo7", "Label7", both("提示音:", "Beep:"), {kOff, kOn}},
        {"Combo9", "Label9", both("按键锁:", "Key Lock:"), {both("上锁", "Lock"), both("正常", "Normal")}},
        {"ComboMod", "LabelMod", both("扫描模式:", "Scan Mode:"), {both("载波", "Carry"), both("时间", "Time")}},
        {"Combo17", "Label32", both("自命名频道名称:", "Self-Regard Channel:"), {kOn, kOff}},
        {"Combo2", "Label12", both("开机密码设定:", "Open Secret Establish:"), {kOn, kOff}},
        {"Combo13", "Label17", both("收音机搜台模式:", "Radio Seach Mode:"), {both("手动", "Manual"), both("自动", "Auto")}},
        {"Combo6", "Label13", both("收音机监听信号:", "Radio Monitors Sigal:"), {both("关闭", "Off"), both("打开", "On")}},
        {"Combo20", "Label35", both("尾音消除:", "Dispell End Sound:"), {kOff, kOn}},
        {"Combo35", "Label40", both("自动关机:", "Auto Shut-Down"), offThenUnits(kOff, 15, " 小时", " Hour")},
        {"Combo32", "Label38", both("开机信息显示方式:", "Open Display Mode:"), sameItems({"OFF", "DC", "MSG"})},
        {"Text1", "Label42", both("4位开机密码:", "Boot-strap Password:"), {}},
        {"Combo11", "Label11", both("倒频:", "Reverse Frequency:"), {kEnable, kDisable}},
        // Function page, right column.
        {"Text6", "Label6", both("当前频道数:", " Present Channel:"), {}},
        {"Combo3", "Label3", both("步进频率:", "Step Frequency:"), sameItems({"5K", "6.25K", "10K", "12.5K", "25K", "37.5K", "50K", "100K"})},
        {"Combo5", "Label5", both("静噪等级:", "Squelch Level:"), numbered(0, 9)},
        {"Combo8", "Label8", both("省电:", "Battery Save:"), {kOff, kOn}},
        {"Combo10", "Label10", both("频移:", "Shift Frequency:"), {kOff, kOn}},
        {"Combo19", "Label19", both("发射超时:", "Time-out Timer:"), offThenUnits(both("关闭", "Off"), 7, " 分钟", " Minute")},
        {"Combo18", "Label33", both("锁键模式:", "KeyLock Mode:"), sameItems({"K+S", "PTT", "KEY", "ALL"})},
        {"Combo36", "Label41", both("语音模式:", "Pronunciation mode:"), sameItems({"OFF", "COMP", "SCRAMB"})},
        {"Combo16", "Label18", both("通话结束提示音:", "Talk Over Sound:"), {kOn, kOff}},
        {"Combo33", "Label34", both("频道分组:", "Channel Group:"), {kOn, kOff}},
        {"Combo21", "Label36", both("背光灯方式:", "Poor Light Mode:"), sameItems({"OFF", "KEY", "CONT"})},
        {"Combo34", "Label39", both("记忆频道显示模式:", "Memory display Mode:"), {both("频道", "Channel"), both("频率", "Frequency")}},
        {"Text31", "Label31", both("开机显示字符:", "Display Character:"), {}},
        // VFO page, left column.
        {"Text20", "Label20", both("全频频率:", "Frequency:"), {}},
        {"Combo22", "Label22", both("接收亚音频:", "QT/DQT Dec:"), {toneOffText()}},
        {"Combo24", "Label24", both("功率:", "Power:"), {both("低", "Low"), both("高", "High"), both("中", "Middle")}},
        {"Combo27", "Label27", both("宽窄带:", "Wide/Narrow:"), {both("窄带", "Narrow"), both("宽带", "Wide")}},
        {"Combo26", "Label26", both("扫描添加:", "Add Scan:"), {kDisable, kEnable}},
        {"Combo12", "Label16", both("扰频:", "Scramble:"), {kEnable, kDisable}},
        {"Combo29", "Label29", both("压扩:", "Companding:"), {kDisable, kEnable}},
        // VFO page, right column.
        {"Text21", "Label21", both("异频数:", "Offset Data:"), {}},
        {"Combo23", "Label23", both("发射亚音频:", "QT/DQT Enc:"), {toneOffText()}},
        {"Combo30", "Label30", both("异频:", "Offset:"), {both("+异频", "Add"), both("-异频", "Sub"), both("无异频", "None")}},
        {"Combo25", "Label25", both("繁忙信道锁定:", "BusyChannel Lock:"), {both("载波", "Carry"), kOff}},
        {"Combo28", "Label28", both("发射禁止:", "TX Estop:"), {kOn, kOff}},
        {"Combo4", "Label4", same("呼叫音:"), sameItems({"关闭", "TONE1", "TONE2", "TONE3", "TONE4", "TONE5"})},
        // VOX frame.
        {"Combo31", "Label37", both("VOX 开关:", "VOX Swith:"), {kOff, kOn}},
        {"Combo14", "Label14", both("VOX增益电平:", "VOX Gain Level:"), numbered(1, 8)},
        {"Combo15", "Label15", both("VOX延迟时间(秒):", "VOX Delay Time(s):"), numbered(1, 4, " S")},
        {"Check13", "", both("接收时禁止VOX", "Prohibit VOX in the receiving"), {}},
        {"Check12", "", both("允许取消操作", "Allow to Cancel Operating"), {}},
    };
}

constexpr int kFirstOptionColumn = 5;
constexpr int kLastOptionColumn = 10;

struct OptionList {
    int count;
    const char *entries[3][2];
};

// Columns 5..10; a position in a list is the value stored in the flag byte.
constexpr OptionList kOptionLists[6] = {
    {3, {{"低", "Low"}, {"高", "High"}, {"中", "Middle"}}},   // power, bits 1-0
    {2, {{"载波", "Carry"}, {"关", "Off"}, {}}},             // busy-channel lock, bit 2
    {2, {{"禁止", "Off"}, {"使能", "On"}, {}}},              // scan add, bit 3
    {2, {{"窄带", "Narror"}, {"宽带", "wide"}, {}}},         // bandwidth, bit 4
    {2, {{"开", "On"}, {"关", "Off"}, {}}},                  // transmit prohibit, bit 5
    {2, {{"开", "On"}, {"关", "Off"}, {}}},                  // scramble, bit 6
};

constexpr int kBandwidthColumn = 8;

} // namespace

const Bilingual &toneOffText()
{
    static const Bilingual off{"关闭", "Off"};
    return off;
}

int channelOptionCount(int column)
{
    if (column < kFirstOptionColumn || column > kLastOptionColumn)
        return 0;
    return kOptionLists[column - kFirstOptionColumn].count;
}

QString channelOptionText(int column, int index, Language language)
{
    if (index < 0 || index >= channelOptionCount(column))
        return {};
    const auto &entry = kOptionLists[column - kFirstOptionColumn].entries[index];
    return QString::fromUtf8(language == Language::Chinese ? entry[0] : entry[1]);
}

QString newChannelOptionText(int column, Language language)
{
    // A new channel's bandwidth reads "Wide", unlike the list's "wide"; a
    // language switch later shows the list's text.
    if (column == kBandwidthColumn && language == Language::English)
        return QStringLiteral("Wide");
    return channelOptionText(column, 1, language);
}

QStringList fmStepTexts()
{
    return {QStringLiteral("50K"), QStringLiteral("100K"), QStringLiteral("200K")};
}

const QList<FeatureTexts> &featureTexts()
{
    static const QList<FeatureTexts> texts = buildFeatureTexts();
    return texts;
}

const FeatureTexts *featureTextsOf(const QString &control)
{
    for (const FeatureTexts &field : featureTexts()) {
        if (field.control == control)
            return &field;
    }
    return nullptr;
}

const Bilingual &featuresAreaTitle(FeaturesArea area)
{
    static const Bilingual function{"功能设置", "Function Set"};
    static const Bilingual vfo{"全频频率", "VFO"};
    static const Bilingual vox{"VOX(声控发射)", "VOX"};
    switch (area) {
    case FeaturesArea::FunctionPage: return function;
    case FeaturesArea::VfoPage: return vfo;
    case FeaturesArea::VoxFrame: return vox;
    }
    return function;
}

const Bilingual &featuresWindowTitle()
{
    static const Bilingual title{"可选功能", "Optional Features"};
    return title;
}

} // namespace quillon
