#include "files/recent_files.h"

#include "files/file_commands.h"
#include "common/app_context.h"
#include "i18n/desktop_texts.h"
#include "i18n/ui_texts.h"
#include "settings_store.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>

namespace quillon {

namespace {

// One spelling per file, whichever way it was named.
QString normalised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

} // namespace

RecentFileList::RecentFileList(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (m_paths.size() == kLimit)
            break;
        if (!path.isEmpty() && indexOf(path) < 0)
            m_paths.append(normalised(path));
    }
}

qsizetype RecentFileList::indexOf(const QString &path) const
{
    const QString wanted = normalised(path);
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        if (m_paths[i].compare(wanted, kPathCase) == 0)
            return i;
    }
    return -1;
}

void RecentFileList::add(const QString &path)
{
    remove(path);
    m_paths.prepend(normalised(path));
    while (m_paths.size() > kLimit)
        m_paths.removeLast();
}

bool RecentFileList::remove(const QString &path)
{
    const qsizetype index = indexOf(path);
    if (index < 0)
        return false;
    m_paths.removeAt(index);
    return true;
}

RecentFilesMenu::RecentFilesMenu(AppContext &context, FileCommands &files, QMenu *fileMenu, SettingsStore *settings,
                                 QObject *parent)
    : QObject(parent), m_context(context), m_files(files), m_settings(settings),
      m_list(settings ? settings->readRecentFiles() : QStringList()), m_menu(fileMenu)
{
    m_separator = m_menu->addSeparator();
    m_separator->setObjectName(QStringLiteral("RecentFilesLine"));
    // A title that cannot be chosen: the styles draw a section's text only sometimes.
    m_title = m_menu->addAction(QString());
    m_title->setObjectName(QStringLiteral("RecentFilesTitle"));
    m_title->setEnabled(false);
    for (int i = 0; i < RecentFileList::kLimit; ++i) {
        QAction *entry = m_menu->addAction(QString());
        entry->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(entry, &QAction::triggered, this, [this, i] { openEntry(i); });
        m_entries[static_cast<std::size_t>(i)] = entry;
    }
    connect(&m_files, &FileCommands::fileUsed, this, &RecentFilesMenu::remember);
    applyLanguage(m_context.language());
    refresh();
}

void RecentFilesMenu::applyLanguage(Language language)
{
    m_title->setText(desktop_text::kRecentFilesTitle.text(language));
}

void RecentFilesMenu::remember(const QString &path)
{
    m_list.add(path);
    changed();
}

void RecentFilesMenu::openEntry(int index)
{
    if (index >= m_list.paths().size())
        return;
    const QString path = m_list.paths().at(index);
    if (!QFileInfo::exists(path)) {
        m_list.remove(path);
        changed();
        const Language language = m_context.language();
        m_context.showMessage(desktop_text::kRecentFileMissing.text(language).arg(QDir::toNativeSeparators(path)),
                              kStyleExclamation, ui_text::kErrorCaption.text(language));
        return;
    }
    m_files.openFile(path);
}

void RecentFilesMenu::changed()
{
    if (m_settings)
        m_settings->writeRecentFiles(m_list.paths());
    refresh();
}

void RecentFilesMenu::refresh()
{
    const QStringList &paths = m_list.paths();
    m_separator->setVisible(!paths.isEmpty());
    m_title->setVisible(!paths.isEmpty());
    const QFontMetrics metrics(m_menu->font());
    const int width = metrics.averageCharWidth() * 60;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        QAction *entry = m_entries[i];
        const bool shown = qsizetype(i) < paths.size();
        entry->setVisible(shown);
        if (!shown)
            continue;
        const QString path = QDir::toNativeSeparators(paths[qsizetype(i)]);
        QString label = metrics.elidedText(path, Qt::ElideMiddle, width);
        label.replace(u'&', QStringLiteral("&&"));
        entry->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(label));
        entry->setToolTip(path);
        entry->setStatusTip(path);
    }
}

} // namespace quillon
