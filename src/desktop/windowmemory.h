#ifndef STRATOMARK_WINDOWMEMORY_H
#define STRATOMARK_WINDOWMEMORY_H

#include "data/formats.h"

#include <QObject>
#include <QString>
#include <QVector>

class QHeaderView;
class QMainWindow;

// The window's place and size, and the widths of the columns of each file type as the last
// document of the type left them, from one session to the next.
class WindowMemory : public QObject
{
    Q_OBJECT

public:
    WindowMemory(const QString& settingsPath, QMainWindow* window, QHeaderView* columns);
    // False when no earlier session left a place for the window.
    bool restoreWindow();
    void saveWindow() const;
    // Gives the type's columns the widths they last had; the shown columns it has none for are
    // returned, to be sized to their contents.
    [[nodiscard]] QVector<int> restoreColumns(Format::DataFileType type);
    void saveColumns(Format::DataFileType type) const;

private:
    QString settingsPath;
    QMainWindow* window;
    QHeaderView* columns;
};

#endif
