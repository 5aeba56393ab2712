#ifndef STRATOMARK_FILEDROP_H
#define STRATOMARK_FILEDROP_H

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

// Makes a window take the station files dropped anywhere on it: local files named *.DAT, in any
// case. Anything else (a folder, a web address, text) is left to the widget under the pointer,
// which refuses it unless it takes such drops.
class FileDrop : public QObject
{
    Q_OBJECT

public:
    explicit FileDrop(QWidget* window);
    static QStringList stationFiles(const QMimeData* data);

signals:
    void dropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* target;
};

#endif
