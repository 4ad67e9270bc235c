#include "document/radio_history.h"

#include "document/workspace.h"
#include "files/dat_file.h"
#include "image/address_map.h"
#include "image/band.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace quillon {

namespace {

constexpr char kTimeFormat[] = "yyyy-MM-dd'T'HH-mm-ss";
const QString kUnknownBand = QStringLiteral("unknown");

QString directionWord(HistoryDirection direction)
{
    return direction == HistoryDirection::Read ? QStringLiteral("read") : QStringLiteral("write");
}

const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{4}-\d{2}-\d{2}T\d{2}-\d{2}-\d{2})-(read|write)-(\d+-\d+MHz|unknown)(?:-(\d+))?\.dat$)"));
    return pattern;
}

bool newerFirst(const HistoryEntry &a, const HistoryEntry &b)
{
    if (a.when != b.when)
        return a.when > b.when;
    return a.sequence > b.sequence;
}

} // namespace

HistorySummary summarizeHistoryImage(const MemoryImage &image, int names)
{
    const Workspace ws = decodedWorkspace(image);
    HistorySummary summary;
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        const ChannelRow &row = ws.channels.row(channel);
        if (row.rxText.isEmpty())
            continue;
        ++summary.channelsInUse;
        if (!row.name.isEmpty() && summary.firstNames.size() < names)
            summary.firstNames << row.name;
    }
    return summary;
}

RadioHistory::RadioHistory(QString folder) : m_folder(std::move(folder)) {}

QString RadioHistory::defaultFolder()
{
#ifdef Q_OS_WIN
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // The state folder of the XDG base directories: a relative value is to be ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return QDir::cleanPath(base + QStringLiteral("/quillon/history"));
}

QString RadioHistory::bandOf(const MemoryImage &image)
{
    const QString text = bandText(image.at(kBandIndex));
    return text.isEmpty() ? kUnknownBand : text;
}

QString RadioHistory::fileName(const QDateTime &when, HistoryDirection direction, const QString &band, int sequence)
{
    QString name = when.toString(QLatin1String(kTimeFormat)) + u'-' + directionWord(direction) + u'-' + band;
    if (sequence > 1)
        name += u'-' + QString::number(sequence);
    return name + QStringLiteral(".dat");
}

std::optional<HistoryEntry> RadioHistory::parseFileName(const QString &name)
{
    const QRegularExpressionMatch match = namePattern().match(name);
    if (!match.hasMatch())
        return std::nullopt;
    HistoryEntry entry;
    entry.when = QDateTime::fromString(match.captured(1), QLatin1String(kTimeFormat));
    if (!entry.when.isValid())
        return std::nullopt;
    entry.direction = match.captured(2) == QLatin1String("read") ? HistoryDirection::Read : HistoryDirection::Written;
    entry.band = match.captured(3);
    entry.sequence = match.captured(4).isEmpty() ? 1 : match.captured(4).toInt();
    if (entry.sequence < 1)
        return std::nullopt;
    return entry;
}

QList<HistoryEntry> RadioHistory::entries() const
{
    QList<HistoryEntry> list;
    const QDir dir(m_folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.dat")}, QDir::Files)) {
        if (std::optional<HistoryEntry> entry = parseFileName(name)) {
            entry->path = dir.filePath(name);
            list.append(*entry);
        }
    }
    std::sort(list.begin(), list.end(), newerFirst);
    return list;
}

QString RadioHistory::store(HistoryDirection direction, const MemoryImage &image, const QDateTime &when,
                            QString *reason) const
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return QString();
    };
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(m_folder)));

    // Transfers within one second are numbered, so each has a name of its
    // own and the newest stays first.
    const QDateTime second = when.addMSecs(-when.time().msec());
    int sequence = 1;
    for (const HistoryEntry &entry : entries()) {
        if (entry.when == second)
            sequence = qMax(sequence, entry.sequence + 1);
    }
    QString path;
    for (; path.isEmpty() || QFileInfo::exists(path); ++sequence)
        path = dir.filePath(fileName(second, direction, bandOf(image), sequence));

    QSaveFile file(path);
    const QByteArray bytes = datFileBytes(image);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString());

    const QList<HistoryEntry> all = entries();
    for (qsizetype i = kKept; i < all.size(); ++i)
        QFile::remove(all[i].path);
    return path;
}

} // namespace quillon
