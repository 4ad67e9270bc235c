#pragma once

#include "i18n/language.h"

#include <QObject>
#include <QStringList>

#include <array>

class QAction;
class QMenu;

namespace quillon {

class AppContext;
class FileCommands;
class SettingsStore;

// The image files used last, newest first, each once, at most kLimit.
class RecentFileList {
public:
    static constexpr int kLimit = 8;

    // Takes a stored list as it is found: empty entries and repeats are
    // dropped, and only the first kLimit remain.
    explicit RecentFileList(const QStringList &paths = {});

    // Puts path at the front (moving it there when it is listed already).
    void add(const QString &path);
    // False when path was not listed.
    bool remove(const QString &path);
    const QStringList &paths() const { return m_paths; }

private:
    qsizetype indexOf(const QString &path) const;

    QStringList m_paths;
};

// The recent files at the end of the File menu, under their title: a file
// opened or saved comes first; choosing one opens it as Open would, and one
// that no longer exists is removed with a message. The list is stored at
// every change, beside the language.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    // settings may be null: the list then starts empty and is not stored.
    RecentFilesMenu(AppContext &context, FileCommands &files, QMenu *fileMenu, SettingsStore *settings,
                    QObject *parent = nullptr);

    void applyLanguage(Language language);
    const RecentFileList &list() const { return m_list; }

private:
    void remember(const QString &path);
    void openEntry(int index);
    void changed();
    void refresh();

    AppContext &m_context;
    FileCommands &m_files;
    SettingsStore *m_settings;
    RecentFileList m_list;
    QMenu *m_menu;
    QAction *m_separator = nullptr;
    QAction *m_title = nullptr;
    std::array<QAction *, RecentFileList::kLimit> m_entries{};
};

} // namespace quillon
