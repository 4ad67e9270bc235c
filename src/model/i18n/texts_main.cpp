#include "i18n/texts.h"

#include "i18n/edit_texts.h"

namespace quillon {

namespace {

TextRow row(const char *control, TextRole role, int index, const char *zh, const char *en)
{
    return TextRow{QString::fromLatin1(control), -1, role, index, {zh, en}};
}

TextRow caption(const char *control, const char *zh, const char *en)
{
    return row(control, TextRole::Caption, 0, zh, en);
}

TextRow title(const char *zh, const char *en)
{
    return row("", TextRole::WindowTitle, 0, zh, en);
}

} // namespace

TextTable mainWindowTexts()
{
    return {
        title("Quillon对讲机编程软件V1.60", "Quillon Radio Programming Software V1.60"),
        caption("MNFile", "文件(&F)", "File(&F)"),
        caption("MNSave", "保存(&S)", "Save(&S)"),
        caption("MNAbout", "帮助(&H)", "About(&H)"),
        caption("MNChinese", "中文(&C)", "Chinese(&C)"),
        caption("MNCommPort", "通信端口(&C)", "Communication Port(&C)"),
        caption("MNDebug", "调试信息(&B)", "Debug Information(&B)"),
        caption("MNEdit", "编辑(&E)", "Edit(&E)"),
        caption("MNEnglish", "英文(&E)", "English(&E)"),
        caption("MNF1", "帮助主题(F1)", "Help Theme(F1)"),
        caption("MNHelp", "帮助(&H)", "Help(&H)"),
        caption("MNLanguage", "语言选择(&L)", "Language Select(&L)"),
        caption("MNModel", "信道编辑(&M)", "Channel Edit(&M)"),
        caption("MNDTMF", "DTMF信令(&D)", "DTMF(&D)"),
        caption("MNOption", "可选功能(&P)", "Optional Features(&P)"),
        caption("MNFMset", "收音机频道设置", "FM Channel Set"),
        caption("MNNew", "新建(&N)", "New(&N)"),
        caption("MNOpen", "打开(&O)", "Open(&O)"),
        caption("MNPrint", "打印(&P)", "Print(&P)"),
        caption("MNProgram", "编程(&G)", "Programming(&G)"),
        caption("MNQuit", "退出(&Q)", "Quit(&Q)"),
        caption("MNRead", "读频(&R)", "Read Data from the Transceive(&R)"),
        caption("MNWrite", "写频(&W)", "Write Data in the Transceive(&W)"),
        caption("Label1", "频段:", "Range:"),
        // Toolbar buttons are numbered from 1, the separator (4) included.
        row("Toolbar1", TextRole::ToolTip, 1, "新建", "New"),
        row("Toolbar1", TextRole::ToolTip, 2, "打开", "Open"),
        row("Toolbar1", TextRole::ToolTip, 3, "保存", "Save"),
        row("Toolbar1", TextRole::ToolTip, 5, "读频", "Read Data from the Transceive"),
        row("Toolbar1", TextRole::ToolTip, 6, "写频", "Write Data in the Transceive"),
        // The unsaved-changes marker of the status bar.
        TextRow{QStringLiteral("PanelModified"), -1, TextRole::Caption, 0, edit_text::kModified},
    };
}

TextTable progressWindowTexts(bool writing)
{
    if (writing)
        return {title("正在写入……", "Writing……"),
                caption("Label1", "正在写频，请稍候。", "Writing frequently, please wait a moment.")};
    return {title("正在读取……", "Reading……"),
            caption("Label1", "正在读频，请稍候。", "Reading frequently, please wait a moment.")};
}

TextTable aboutBoxTexts()
{
    return {
        title("帮助", "Help"),
        caption("lblTitle", "Quillon对讲机编程软件", "Quillon Radio Programming Software"),
        caption("lblVersion", "简体中文版 V1.60", "English edition V1.60"),
    };
}

} // namespace quillon
