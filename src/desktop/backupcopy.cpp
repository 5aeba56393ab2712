#include "desktop/backupcopy.h"
#include "data/replacingfile.h"

#include <QFile>

namespace
{
constexpr qint64 chunkSize = 1 << 20;
}

QString BackupCopy::pathFor(const QString& file)
{
    return file + QStringLiteral(".bak");
}

bool BackupCopy::make(const QString& file)
{
    QFile source(file);
    ReplacingFile copy(pathFor(file));
    if (!source.open(QIODevice::ReadOnly) || !copy.open())
        return false;
    // A buffer no larger than the file: a month's file is a few kilobytes.
    QByteArray chunk(int(qBound<qint64>(1, source.size(), chunkSize)), Qt::Uninitialized);
    qint64 read = 0;
    while ((read = source.read(chunk.data(), chunk.size())) > 0) {
        if (copy.device().write(chunk.constData(), read) != read)
            return false;
    }
    if (read < 0 || source.error() != QFileDevice::NoError || !copy.commit())
        return false;
    // The copy is as private as the data it keeps, whatever an older backup allowed.
    QFile::setPermissions(pathFor(file), source.permissions());
    return true;
}
