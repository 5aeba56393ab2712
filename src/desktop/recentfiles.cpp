#include "desktop/recentfiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include <algorithm>

namespace
{
const QString arrayKey = QStringLiteral("RecentFiles");
}

RecentFiles::RecentFiles(const QString& path, QMenu* menu, QObject* parent)
    : QObject(parent), settingsPath(path), recentMenu(menu)
{
    recentMenu->setToolTipsVisible(true);
    load();
    fillMenu();
}

// A file opened again as the first of the list leaves the settings file alone.
void RecentFiles::add(const QString& path, Format::DataFileType type)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QVector<Entry> updated{{absolute, type}};
    for (const Entry& entry : qAsConst(files)) {
        if (entry.path != absolute && updated.size() < maximum)
            updated.append(entry);
    }
    if (updated == files)
        return;
    files = updated;
    store();
    fillMenu();
}

void RecentFiles::remove(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto gone = std::remove_if(files.begin(), files.end(),
                                     [&](const Entry& entry) { return entry.path == absolute; });
    if (gone == files.end())
        return;
    files.erase(gone, files.end());
    store();
    fillMenu();
}

// A list edited by hand keeps what still names a file and a type, at most the usual number, of
// the first few entries it claims: a count edited into the billions is no reason to wait.
void RecentFiles::load()
{
    QSettings settings(settingsPath, QSettings::IniFormat);
    const int stored = settings.beginReadArray(arrayKey);
    for (int i = 0; i < qMin(stored, 8 * maximum) && files.size() < maximum; ++i) {
        settings.setArrayIndex(i);
        const QString path = settings.value(QStringLiteral("path")).toString();
        const auto type =
            Format::typeNamed(settings.value(QStringLiteral("type")).toString().toStdString());
        const bool listed = std::any_of(files.cbegin(), files.cend(),
                                        [&](const Entry& entry) { return entry.path == path; });
        if (!path.isEmpty() && QFileInfo(path).isAbsolute() && type && !listed)
            files.append({path, *type});
    }
    settings.endArray();
}

void RecentFiles::store() const
{
    QSettings settings(settingsPath, QSettings::IniFormat);
    settings.remove(arrayKey);
    settings.beginWriteArray(arrayKey, files.size());
    for (int i = 0; i < files.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("path"), files.at(i).path);
        settings.setValue(QStringLiteral("type"),
                          QLatin1String(Format::layout(files.at(i).type).name));
    }
    settings.endArray();
}

void RecentFiles::fillMenu()
{
    recentMenu->clear();
    for (int i = 0; i < files.size(); ++i) {
        const Entry entry = files.at(i);
        QAction* action = recentMenu->addAction(
            QStringLiteral("&%1 %2 (%3)")
                .arg(i + 1)
                .arg(
                    QFileInfo(entry.path).fileName().replace(QLatin1Char('&'), QLatin1String("&&")),
                    Format::layout(entry.type).name));
        action->setToolTip(entry.path);
        action->setStatusTip(entry.path);
        connect(action, &QAction::triggered, this,
                [this, entry] { emit chosen(entry.path, entry.type); });
    }
    recentMenu->setEnabled(!files.isEmpty());
}
