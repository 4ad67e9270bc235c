// info: what an image holds, as the windows would show it.

#include "command.h"

#include "document/image_summary.h"
#include "files/dat_file.h"
#include "i18n/cli_texts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace quillon::cli {

namespace {

// Columns of a terminal a text takes: the wide characters of Chinese take two.
int displayWidth(const QString &text)
{
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x1100 && (c.unicode() <= 0x115F || c.unicode() >= 0x2E80) ? 2 : 1;
    return width;
}

QStringList alignedTable(const QStringList &headers, const QList<QStringList> &rows)
{
    QList<int> widths;
    for (const QString &header : headers)
        widths << displayWidth(header);
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    }
    QStringList lines;
    auto line = [&](const QStringList &cells) {
        QString text;
        for (qsizetype i = 0; i < cells.size(); ++i)
            text += cells[i] + QString(i + 1 < cells.size() ? widths[i] - displayWidth(cells[i]) + 2 : 0, u' ');
        lines << text.trimmed();
    };
    line(headers);
    for (const QStringList &row : rows)
        line(row);
    return lines;
}

QJsonObject json(const ImageSummary &summary)
{
    QJsonArray channels;
    for (const QStringList &cells : summary.channels) {
        QJsonObject channel{{QStringLiteral("channel"), cells[0].toInt()}};
        for (int column = 1; column < cells.size(); ++column)
            channel.insert(channelFieldName(column), cells[column]);
        channels.append(channel);
    }
    QJsonObject settings;
    for (const SettingValue &setting : summary.settings)
        settings.insert(setting.caption, setting.value);
    return {{QStringLiteral("identification"), QLatin1String(kDatIdentification)},
            {QStringLiteral("band_index"), summary.bandIndex},
            {QStringLiteral("band"), summary.band},
            {QStringLiteral("channels"), channels},
            {QStringLiteral("settings"), settings}};
}

int run(const Invocation &invocation)
{
    const std::optional<Language> language = languageOption(invocation);
    if (!language)
        return kExitUsage;
    const QString path = invocation.arguments[0];
    const std::optional<MemoryImage> image = loadImage(invocation, path);
    if (!image)
        return kExitFile;
    const ImageSummary summary = summarizeImage(*image, *language);

    Console &console = invocation.console;
    if (invocation.parser.isSet(QStringLiteral("json"))) {
        console.write(QJsonDocument(json(summary)).toJson(QJsonDocument::Indented));
        return kExitSuccess;
    }
    const auto text = [&](const Bilingual &bilingual) { return bilingual.text(*language); };
    console.print(text(cli_text::kIdentification) + QStringLiteral(": ") + QLatin1String(kDatIdentification));
    console.print(text(cli_text::kBand) + QStringLiteral(": ") + summary.band);
    console.print(text(cli_text::kChannels) + QStringLiteral(": ") + QString::number(summary.channels.size()));
    for (const QString &line : alignedTable(summary.headers, summary.channels))
        console.print(QStringLiteral("  ") + line);
    console.print(text(cli_text::kSettings) + u':');
    for (const SettingValue &setting : summary.settings)
        console.print(QStringLiteral("  ") + setting.caption + QStringLiteral(": ") + setting.value);
    return kExitSuccess;
}

const CommandRegistration registration({
    QStringLiteral("info"),
    50,
    QStringLiteral("info IMAGE.dat [--json] [--language en|zh]"),
    QStringLiteral("Print the band, the channels and the optional features of an image."),
    QStringLiteral("Lists the identification, the band, every channel that passes the band check\n"
                   "with its columns as the channel grid shows them, and the optional features.\n\n"
                   "  --json              one JSON object: identification, band_index, band,\n"
                   "                      channels [{channel, rx, tx, rx_tone, tx_tone, power, busy_lock,\n"
                   "                      scan_add, bandwidth, tx_prohibit, scramble, name}], settings {}\n"
                   "  --language en|zh    the texts of the English (default) or Chinese windows"),
    1,
    {QCommandLineOption(QStringLiteral("json"), QStringLiteral("Print JSON.")), languageOptionSpec()},
    run,
});

} // namespace

} // namespace quillon::cli
