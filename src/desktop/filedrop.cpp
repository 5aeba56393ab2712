#include "desktop/filedrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

// Watched from the application, since a drop goes first to the widget under the pointer, and a
// line edit would take a file's address as its text.
FileDrop::FileDrop(QWidget* window) : QObject(window), target(window)
{
    window->setAcceptDrops(true);
    qApp->installEventFilter(this);
}

QStringList FileDrop::stationFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        const QFileInfo file(url.toLocalFile());
        if (url.isLocalFile() && file.isFile() &&
            file.suffix().compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0)
            paths << file.filePath();
    }
    return paths;
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList paths = stationFiles(drop->mimeData());
    if (!widget || widget->window() != target || paths.isEmpty())
        return QObject::eventFilter(watched, event);
    drop->acceptProposedAction();
    // The drag's source waits until the drop is handled: the document opens once it is over.
    if (type == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [this, paths] { emit dropped(paths); }, Qt::QueuedConnection);
    return true;
}
