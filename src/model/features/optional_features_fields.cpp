// The description of every optional-features setting: control and caption
// names, texts in both languages, list items and place in the image.

#include "features/optional_features.h"

#include "image/address_map.h"
#include "image/tone_list.h"

#include <QtGlobal>

#include <utility>

namespace quillon {

namespace {

FeatureText same(const char *text)
{
    const QString t = QString::fromUtf8(text);
    return {t, t};
}

FeatureText both(const char *zh, const char *en)
{
    return {QString::fromUtf8(zh), QString::fromUtf8(en)};
}

QList<FeatureText> sameItems(std::initializer_list<const char *> texts)
{
    QList<FeatureText> items;
    for (const char *text : texts)
        items.append(same(text));
    return items;
}

QList<FeatureText> numbered(int first, int last, const char *suffix = "")
{
    QList<FeatureText> items;
    for (int n = first; n <= last; ++n) {
        const QString t = QString::number(n) + QString::fromUtf8(suffix);
        items.append({t, t});
    }
    return items;
}

// "Off" followed by 1..last with a unit that differs by language.
QList<FeatureText> offThenUnits(FeatureText off, int last, const char *zhUnit, const char *enUnit)
{
    QList<FeatureText> items{std::move(off)};
    for (int n = 1; n <= last; ++n)
        items.append({QString::number(n) + QString::fromUtf8(zhUnit), QString::number(n) + QString::fromUtf8(enUnit)});
    return items;
}

QList<FeatureText> toneItems()
{
    QList<FeatureText> items;
    const QStringList zh = toneEntries(kChinese);
    const QStringList en = toneEntries(kEnglish);
    for (int i = 0; i < kToneCount; ++i)
        items.append({zh.value(i), en.value(i)});
    return items;
}

FeatureStorage wholeByte(int address, int below, int fallback)
{
    return {address, 0, 8, below, fallback};
}

FeatureStorage bits(int address, int shift, int width = 1)
{
    return {address, shift, width, 256, 0};
}

QList<FeatureField> buildFields()
{
    using K = FeatureKind;
    using P = FeaturePage;
    using F = Feature;
    constexpr int kFlags = kOptionBytes + 6;       // eight single-bit settings
    constexpr int kModes = kOptionBytes + 7;       // key lock mode, back light ...
    constexpr int kVox = kOptionBytes + 8;
    constexpr FeatureStorage kNone{};
    // The recurring two-item lists.
    const FeatureText kOff = both("关", "Off");
    const FeatureText kOn = both("开", "On");
    const FeatureText kEnable = both("使能", "On");
    const FeatureText kDisable = both("禁止", "Off");

    return {
        // Function page, left column.
        {F::PriorityChannel, K::Text, P::Function, "Text2", "Label2", both("优先扫描频道:", "Priority:"), {}, 0, kNone, -1},
        {F::DisplayMode, K::List, P::Function, "Combo1", "Label1", both("显式模式:", "Display Mode:"),
         {both("频率", "Frequency"), both("频道", "Channel")}, 0, wholeByte(kOptionBytes + 0, 4, 1), 0},
        {F::Beep, K::List, P::Function, "Combo7", "Label7", both("提示音:", "Beep:"), {kOff, kOn}, 0, bits(kFlags, 0), 1},
        {F::KeyLock, K::List, P::Function, "Combo9", "Label9", both("按键锁:", "Key Lock:"),
         {both("上锁", "Lock"), both("正常", "Normal")}, 0, bits(kFlags, 3), 1},
        {F::ScanMode, K::List, P::Function, "ComboMod", "LabelMod", both("扫描模式:", "Scan Mode:"),
         {both("载波", "Carry"), both("时间", "Time")}, 0, bits(kFlags, 6), 1},
        {F::ChannelNameDisplay, K::List, P::Function, "Combo17", "Label32", both("自命名频道名称:", "Self-Regard Channel:"),
         {kOn, kOff}, 0, wholeByte(kOptionBytes + 3, 2, 0), 1},
        {F::PowerOnPassword, K::List, P::Function, "Combo2", "Label12", both("开机密码设定:", "Open Secret Establish:"),
         {kOn, kOff}, 0, bits(kModes, 3), 1},
        {F::RadioSearchMode, K::List, P::Function, "Combo13", "Label17", both("收音机搜台模式:", "Radio Seach Mode:"),
         {both("手动", "Manual"), both("自动", "Auto")}, 0, bits(kFlags, 7), 0},
        {F::RadioMonitor, K::List, P::Function, "Combo6", "Label13", both("收音机监听信号:", "Radio Monitors Sigal:"),
         {both("关闭", "Off"), both("打开", "On")}, 0, bits(kFlags, 4), 1},
        {F::TailElimination, K::List, P::Function, "Combo20", "Label35", both("尾音消除:", "Dispell End Sound:"),
         {kOff, kOn}, 0, bits(kModes, 5), 1},
        {F::AutoPowerOff, K::List, P::Function, "Combo35", "Label40", both("自动关机:", "Auto Shut-Down"),
         offThenUnits(kOff, 15, " 小时", " Hour"), 0, wholeByte(kOptionBytes + 0x0C, 16, 0), 0},
        {F::PowerOnDisplay, K::List, P::Function, "Combo32", "Label38", both("开机信息显示方式:", "Open Display Mode:"),
         sameItems({"OFF", "DC", "MSG"}), 0, wholeByte(kOptionBytes + 9, 3, 1), 1},
        {F::Password, K::Text, P::Function, "Text1", "Label42", both("4位开机密码:", "Boot-strap Password:"), {}, 4, kNone, -1},
        {F::ReverseFrequency, K::List, P::Function, "Combo11", "Label11", both("倒频:", "Reverse Frequency:"),
         {kEnable, kDisable}, 0, kNone, 1},

        // Function page, right column.
        {F::PresentChannel, K::Text, P::Function, "Text6", "Label6", both("当前频道数:", " Present Channel:"), {}, 0, kNone, -1},
        {F::StepIndex, K::List, P::Function, "Combo3", "Label3", both("步进频率:", "Step Frequency:"),
         sameItems({"5K", "6.25K", "10K", "12.5K", "25K", "37.5K", "50K", "100K"}), 0, wholeByte(kOptionBytes + 2, 8, 1), 4},
        {F::SquelchLevel, K::List, P::Function, "Combo5", "Label5", both("静噪等级:", "Squelch Level:"),
         numbered(0, 9), 0, wholeByte(kOptionBytes + 4, 10, 5), 5},
        {F::BatterySave, K::List, P::Function, "Combo8", "Label8", both("省电:", "Battery Save:"), {kOff, kOn}, 0, bits(kFlags, 2), 1},
        {F::ShiftFrequency, K::List, P::Function, "Combo10", "Label10", both("频移:", "Shift Frequency:"),
         {kOff, kOn}, 0, bits(kFlags, 5), 1},
        {F::TimeOutTimer, K::List, P::Function, "Combo19", "Label19", both("发射超时:", "Time-out Timer:"),
         offThenUnits(both("关闭", "Off"), 7, " 分钟", " Minute"), 0, wholeByte(kOptionBytes + 0x0F, 8, 2), 2},
        {F::KeyLockMode, K::List, P::Function, "Combo18", "Label33", both("锁键模式:", "KeyLock Mode:"),
         sameItems({"K+S", "PTT", "KEY", "ALL"}), 0, bits(kModes, 0, 2), 0},
        {F::VoiceMode, K::List, P::Function, "Combo36", "Label41", both("语音模式:", "Pronunciation mode:"),
         sameItems({"OFF", "COMP", "SCRAMB"}), 0, wholeByte(kOptionBytes + 0x0D, 3, 0), 0},
        {F::TalkOverSound, K::List, P::Function, "Combo16", "Label18", both("通话结束提示音:", "Talk Over Sound:"),
         {kOn, kOff}, 0, bits(kModes, 2), 0},
        {F::ChannelGroup, K::List, P::Function, "Combo33", "Label34", both("频道分组:", "Channel Group:"),
         {kOn, kOff}, 0, bits(kFlags, 1), 1},
        {F::Backlight, K::List, P::Function, "Combo21", "Label36", both("背光灯方式:", "Poor Light Mode:"),
         sameItems({"OFF", "KEY", "CONT"}), 0, bits(kModes, 6, 2), 1},
        {F::MemoryDisplayMode, K::List, P::Function, "Combo34", "Label39", both("记忆频道显示模式:", "Memory display Mode:"),
         {both("频道", "Channel"), both("频率", "Frequency")}, 0, wholeByte(kOptionBytes + 0x0A, 2, 1), 1},
        {F::PowerOnText, K::Text, P::Function, "Text31", "Label31", both("开机显示字符:", "Display Character:"), {}, 6, kNone, -1},

        // VFO page, left column.
        {F::VfoFrequency, K::Text, P::Vfo, "Text20", "Label20", both("全频频率:", "Frequency:"), {}, 9, kNone, -1},
        {F::VfoRxTone, K::List, P::Vfo, "Combo22", "Label22", both("接收亚音频:", "QT/DQT Dec:"), toneItems(), 0, kNone, 0},
        {F::VfoPower, K::List, P::Vfo, "Combo24", "Label24", both("功率:", "Power:"),
         {both("低", "Low"), both("高", "High"), both("中", "Middle")}, 0, bits(kVfoOptions, 0, 2), 1},
        {F::VfoBandwidth, K::List, P::Vfo, "Combo27", "Label27", both("宽窄带:", "Wide/Narrow:"),
         {both("窄带", "Narrow"), both("宽带", "Wide")}, 0, bits(kVfoOptions, 4), 1},
        {F::VfoScanAdd, K::List, P::Vfo, "Combo26", "Label26", both("扫描添加:", "Add Scan:"),
         {kDisable, kEnable}, 0, bits(kVfoOptions, 3), 1},
        {F::VfoScramble, K::List, P::Vfo, "Combo12", "Label16", both("扰频:", "Scramble:"),
         {kEnable, kDisable}, 0, bits(kVfoOptions, 6), 1},
        {F::VfoCompander, K::List, P::Vfo, "Combo29", "Label29", both("压扩:", "Companding:"),
         {kDisable, kEnable}, 0, bits(kVfoOptions, 7), 1},

        // VFO page, right column.
        {F::VfoOffset, K::Text, P::Vfo, "Text21", "Label21", both("异频数:", "Offset Data:"), {}, 8, kNone, -1},
        {F::VfoTxTone, K::List, P::Vfo, "Combo23", "Label23", both("发射亚音频:", "QT/DQT Enc:"), toneItems(), 0, kNone, 0},
        {F::VfoShiftDirection, K::List, P::Vfo, "Combo30", "Label30", both("异频:", "Offset:"),
         {both("+异频", "Add"), both("-异频", "Sub"), both("无异频", "None")}, 0, wholeByte(kVfoShiftDirection, 256, 0), 1},
        {F::VfoBusyLock, K::List, P::Vfo, "Combo25", "Label25", both("繁忙信道锁定:", "BusyChannel Lock:"),
         {both("载波", "Carry"), kOff}, 0, bits(kVfoOptions, 2), 1},
        {F::VfoTxInhibit, K::List, P::Vfo, "Combo28", "Label28", both("发射禁止:", "TX Estop:"),
         {kOn, kOff}, 0, bits(kVfoOptions, 5), 1},
        {F::VfoCallTone, K::List, P::Vfo, "Combo4", "Label4", same("呼叫音:"),
         sameItems({"关闭", "TONE1", "TONE2", "TONE3", "TONE4", "TONE5"}), 0, kNone, 4},

        // VOX frame.
        {F::VoxSwitch, K::List, P::Vox, "Combo31", "Label37", both("VOX 开关:", "VOX Swith:"), {kOff, kOn}, 0, bits(kVox, 0), 1},
        {F::VoxGain, K::List, P::Vox, "Combo14", "Label14", both("VOX增益电平:", "VOX Gain Level:"),
         numbered(1, 8), 0, bits(kVox, 5, 3), 1},
        {F::VoxDelay, K::List, P::Vox, "Combo15", "Label15", both("VOX延迟时间(秒):", "VOX Delay Time(s):"),
         numbered(1, 4, " S"), 0, bits(kVox, 3, 2), 1},
        {F::VoxRxInhibit, K::Check, P::Vox, "Check13", "", both("接收时禁止VOX", "Prohibit VOX in the receiving"),
         {}, 0, bits(kVox, 2), -1},
        {F::AllowCancel, K::Check, P::Vox, "Check12", "", both("允许取消操作", "Allow to Cancel Operating"), {}, 0, kNone, -1},
    };
}

} // namespace

const QString &FeatureText::text(int language) const
{
    return language == kChinese ? zh : en;
}

const QList<FeatureField> &featureFields()
{
    static const QList<FeatureField> fields = [] {
        QList<FeatureField> list = buildFields();
        // The enum and the table must stay in step: the record indexes by id.
        for (int i = 0; i < list.size(); ++i)
            Q_ASSERT(static_cast<int>(list[i].id) == i);
        Q_ASSERT(list.size() == kFeatureCount);
        return list;
    }();
    return fields;
}

const FeatureField &featureField(Feature id)
{
    return featureFields()[static_cast<int>(id)];
}

QStringList featureItems(Feature id, int language)
{
    QStringList texts;
    for (const FeatureText &item : featureField(id).items)
        texts.append(item.text(language));
    return texts;
}

const FeatureText &featurePageTitle(FeaturePage page)
{
    static const FeatureText function = both("功能设置", "Function Set");
    static const FeatureText vfo = both("全频频率", "VFO");
    static const FeatureText vox = both("VOX(声控发射)", "VOX");
    switch (page) {
    case FeaturePage::Function: return function;
    case FeaturePage::Vfo: return vfo;
    case FeaturePage::Vox: return vox;
    }
    return function;
}

const FeatureText &featuresWindowTitle()
{
    static const FeatureText title = both("可选功能", "Optional Features");
    return title;
}

} // namespace quillon
