// diff: the differences between two images as decoded values.

#include "command.h"

#include "document/image_compare.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillon::cli {

namespace {

QString areaName(ImageDifference::Area area)
{
    switch (area) {
    case ImageDifference::Area::Band: return QStringLiteral("band");
    case ImageDifference::Area::Channel: return QStringLiteral("channel");
    case ImageDifference::Area::Setting: return QStringLiteral("setting");
    case ImageDifference::Area::Dtmf: return QStringLiteral("dtmf");
    case ImageDifference::Area::Fm: return QStringLiteral("fm");
    case ImageDifference::Area::Calibration: return QStringLiteral("calibration");
    case ImageDifference::Area::Bytes: return QStringLiteral("bytes");
    }
    return {};
}

QJsonObject json(const QList<ImageDifference> &differences)
{
    QJsonArray list;
    for (const ImageDifference &d : differences) {
        QJsonArray addresses;
        for (int address : d.addresses)
            addresses.append(address);
        list.append(QJsonObject{{QStringLiteral("area"), areaName(d.area)},
                                {QStringLiteral("number"), d.number},
                                {QStringLiteral("field"), d.field},
                                {QStringLiteral("first"), d.first},
                                {QStringLiteral("second"), d.second},
                                {QStringLiteral("addresses"), addresses},
                                {QStringLiteral("text"), d.line()}});
    }
    return {{QStringLiteral("equal"), differences.isEmpty()}, {QStringLiteral("differences"), list}};
}

int run(const Invocation &invocation)
{
    const std::optional<MemoryImage> a = loadImage(invocation, invocation.arguments[0]);
    if (!a)
        return kExitFile;
    const std::optional<MemoryImage> b = loadImage(invocation, invocation.arguments[1]);
    if (!b)
        return kExitFile;
    const QList<ImageDifference> differences = compareImages(*a, *b, Language::English);
    if (invocation.parser.isSet(QStringLiteral("json"))) {
        invocation.console.write(QJsonDocument(json(differences)).toJson(QJsonDocument::Indented));
    } else {
        for (const ImageDifference &d : differences)
            invocation.console.print(d.line());
    }
    return differences.isEmpty() ? kExitSuccess : kExitDifferent;
}

const CommandRegistration registration({
    QStringLiteral("diff"),
    60,
    QStringLiteral("diff A.dat B.dat [--json]"),
    QStringLiteral("List every difference between two images; exit 0 when equal, 1 when different."),
    QStringLiteral("Each image is decoded on its own, as Open would, and the values compared:\n"
                   "  channel 12 rx: 146.52000 -> 146.55000\n"
                   "  setting Squelch Level: 5 -> 3\n"
                   "  calibration ...\n"
                   "Bytes that differ without a decoded value telling it are listed by address:\n"
                   "  bytes 0x07C0-0x07C1: FF FF -> 00 00\n\n"
                   "  --json    {\"equal\", \"differences\": [{area, number, field, first, second,\n"
                   "            addresses, text}]}"),
    2,
    {QCommandLineOption(QStringLiteral("json"), QStringLiteral("Print JSON."))},
    run,
});

} // namespace

} // namespace quillon::cli
