#pragma once

#include "image/memory_image.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

enum class HistoryDirection { Read, Written };

// One image of the history, as its file name tells it.
struct HistoryEntry {
    QString path;
    QDateTime when;   // local time, whole seconds
    HistoryDirection direction = HistoryDirection::Read;
    QString band;     // "400-470MHz", or "unknown" for a band byte outside 0..9
    int sequence = 1; // 2, 3, ... for further transfers within the same second, in any direction
};

// What the history list shows of an image beside its name.
struct HistorySummary {
    int channelsInUse = 0;
    QStringList firstNames;   // the names of the first channels in use that have one
};
HistorySummary summarizeHistoryImage(const MemoryImage &image, int names = 3);

// Every image read from a radio and written into one, as .dat files in a
// folder of their own, named by date, time, direction and band:
// 2026-12-08T14-03-22-read-400-470MHz.dat. Only the newest kKept stay; files
// of other names in the folder are never touched.
class RadioHistory {
public:
    static constexpr int kKept = 200;

    explicit RadioHistory(QString folder);
    // $XDG_STATE_HOME/quillon/history (~/.local/state/quillon/history when
    // the variable is unset or not absolute); on Windows the per-user
    // application data folder's quillon/history.
    static QString defaultFolder();

    const QString &folder() const { return m_folder; }

    // Stores the .dat file of image (header and image, byte for byte)
    // atomically under a new name, then removes the oldest beyond kKept.
    // Returns the file's path; empty, with the system's words in reason,
    // when the folder or the file cannot be written.
    QString store(HistoryDirection direction, const MemoryImage &image, const QDateTime &when,
                  QString *reason = nullptr) const;
    // Every image of the history, newest first.
    QList<HistoryEntry> entries() const;

    static QString fileName(const QDateTime &when, HistoryDirection direction, const QString &band, int sequence = 1);
    // The entry a file name stands for; nullopt for names the history does not give.
    static std::optional<HistoryEntry> parseFileName(const QString &name);
    // The band part of a name for an image: its band byte's entry text.
    static QString bandOf(const MemoryImage &image);

private:
    QString m_folder;
};

} // namespace quillon
