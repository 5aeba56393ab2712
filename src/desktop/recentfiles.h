#ifndef STRATOMARK_RECENTFILES_H
#define STRATOMARK_RECENTFILES_H

#include "data/formats.h"

#include <QObject>
#include <QString>
#include <QVector>

class QMenu;

// The files opened last, newest first, with the type each was opened as, kept in the settings
// file; the menu it fills opens one again.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int maximum = 8;
    struct Entry {
        QString path;
        Format::DataFileType type;
        bool operator==(const Entry& other) const
        {
            return path == other.path && type == other.type;
        }
    };

    RecentFiles(const QString& settingsPath, QMenu* menu, QObject* parent);
    const QVector<Entry>& entries() const { return files; }
    void add(const QString& path, Format::DataFileType type);
    void remove(const QString& path);

signals:
    void chosen(const QString& path, Format::DataFileType type);

private:
    void load();
    void store() const;
    void fillMenu();

    QString settingsPath;
    QVector<Entry> files;
    QMenu* recentMenu;
};

#endif
