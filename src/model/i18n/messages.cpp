#include "i18n/messages.h"

namespace quillon {

namespace {

struct MessageEntry {
    Bilingual text;
    Bilingual caption;   // both empty: the application title
    int style;
};

const Bilingual kNoCaption{"", ""};
const Bilingual kMistake{"错误", "Mistake"};
const Bilingual kAttention{"注意", "Attention"};
const Bilingual kBeCareful{"注意", "Be careful"};
const Bilingual kSuggestion{"提示", "Suggestion"};

MessageEntry entry(Message message)
{
    switch (message) {
    case Message::SerialPortInvalid:
        return {{"串行端口无效", "The serial port is invalid"}, kNoCaption, kStyleOk};
    case Message::SerialPortUnusable:
        // The port number goes between the two halves; see messageText().
        return {{"串行端口", "Serial port"}, kMistake, kStyleExclamation};
    case Message::BandChange:
        return {{"改变频段将清除频道列表，确定吗？",
                 "Changing the frequency band will remove the channel tabulation, confirm?"},
                {"注意！", "Be careful!"}, kStyleQuestion};
    case Message::NewImage:
        return {{"未保存的数据将会丢失，确定吗？", "Unsaved data will be lost, sure?"},
                kAttention, kStyleQuestion};
    case Message::Exit:
        return {{"确定退出本程序？\n未保存的更改将全部丢失！",
                 "Confirm that withdraws from a procedure?\nLose all in change not kept!"},
                kBeCareful, kStyleQuestion};
    case Message::FileTypeIncorrect:
        return {{"文件类型不正确！", "File type is incorrect!"}, kMistake, kStyleStop};
    case Message::ForcedWrite:
        return {{"频段不符，是否强制写入？",
                 "The frequency band is not accorded with, whether write into by force?"},
                kBeCareful, kStyleQuestion};
    case Message::BandMismatch:
        return {{"频段不符，不能写入！",
                 "The frequency band is not accorded with, can't write into!"},
                kMistake, kStyleExclamation};
    case Message::WriteSucceeded:
        return {{"写频成功！", "Writing succeeds frequently!"}, kSuggestion, kStyleInformation};
    case Message::ReadSucceeded:
        return {{"读频成功！", "Reading succeeds frequently!"}, kSuggestion, kStyleInformation};
    case Message::CommunicationError:
        return {{"通信出错，请检查对讲机，连线及串口选择！",
                 "Communication error, check the line and the serial connection selection!"},
                kMistake, kStyleStop};
    case Message::OutOfBand:
        return {{"超出频段范围", "Beyond the scope of frequency band"}, kNoCaption, kStyleOk};
    case Message::FmChannelRange:
        return {{"超出频率范围(76-108)，请重输。",
                 "Beyond the scope of frequency(76-108), please input again."},
                kNoCaption, kStyleOk};
    case Message::FmFrequencyRange:
        return {{"超出频率范围(76-107.95)，请重输。",
                 "Beyond the scope of frequency(76-107.95), please input again."},
                kNoCaption, kStyleOk};
    }
    Q_UNREACHABLE();
    return {kNoCaption, kNoCaption, kStyleOk};
}

} // namespace

MessageText messageText(Message message, Language language, const QString &argument)
{
    const MessageEntry e = entry(message);
    MessageText out{e.text.text(language), e.caption.text(language), e.style};
    if (message == Message::SerialPortUnusable) {
        // No spaces around the number: the radio's users know the message this way.
        out.text += argument
            + Bilingual{"无效或已被其它程序使用，请选择其他串口或关闭其程序.",
                        "Invalid or has already been used by other procedures, please choose "
                        "other bunches of mouths or close its procedure."}
                  .text(language);
    }
    return out;
}

QString buttonText(int button, Language language)
{
    static const Bilingual kButtons[] = {
        {"确定", "OK"},    {"取消", "Cancel"}, {"放弃", "Abort"}, {"重试", "Retry"},
        {"忽略", "Ignore"}, {"是", "Yes"},     {"否", "No"},
    };
    // Any other language keeps the platform's own button texts.
    if (button < kAnswerOk || button > kAnswerNo || (language != Language::Chinese && language != Language::English))
        return {};
    return kButtons[button - 1].text(language);
}

} // namespace quillon
