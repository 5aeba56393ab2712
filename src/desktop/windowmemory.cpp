#include "desktop/windowmemory.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QSettings>

namespace
{

const QString geometryKey = QStringLiteral("Window/Geometry");
// Widths outside these were not left by a session: a hidden column's, or a hand-edited file's.
constexpr int narrowest = 10;
constexpr int widest = 2000;

QString widthsKey(Format::DataFileType type)
{
    return QStringLiteral("ColumnWidths/") + QLatin1String(Format::layout(type).name);
}

} // namespace

WindowMemory::WindowMemory(const QString& path, QMainWindow* mainWindow, QHeaderView* header)
    : QObject(mainWindow), settingsPath(path), window(mainWindow), columns(header)
{
}

bool WindowMemory::restoreWindow()
{
    const QByteArray geometry =
        QSettings(settingsPath, QSettings::IniFormat).value(geometryKey).toByteArray();
    return !geometry.isEmpty() && window->restoreGeometry(geometry);
}

void WindowMemory::saveWindow() const
{
    QSettings(settingsPath, QSettings::IniFormat).setValue(geometryKey, window->saveGeometry());
}

QVector<int> WindowMemory::restoreColumns(Format::DataFileType type)
{
    const QStringList widths =
        QSettings(settingsPath, QSettings::IniFormat).value(widthsKey(type)).toStringList();
    QVector<int> unknown;
    for (int column = 0; column < columns->count(); ++column) {
        if (columns->isSectionHidden(column))
            continue;
        bool isNumber = false;
        const int width = column < widths.size() ? widths.at(column).toInt(&isNumber) : 0;
        if (isNumber && width >= narrowest && width <= widest)
            columns->resizeSection(column, width);
        else
            unknown.append(column);
    }
    return unknown;
}

void WindowMemory::saveColumns(Format::DataFileType type) const
{
    QStringList widths;
    for (int column = 0; column < columns->count(); ++column)
        widths << QString::number(columns->isSectionHidden(column) ? 0
                                                                   : columns->sectionSize(column));
    QSettings settings(settingsPath, QSettings::IniFormat);
    // Every document closed would otherwise rewrite the settings file, most often unchanged.
    if (settings.value(widthsKey(type)).toStringList() != widths)
        settings.setValue(widthsKey(type), widths);
}
