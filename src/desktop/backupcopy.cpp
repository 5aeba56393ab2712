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
    QByteArray chunk;
    do {
        chunk = source.read(chunkSize);
        if (copy.device().write(chunk) != chunk.size())
            return false;
    } while (!chunk.isEmpty());
    if (source.error() != QFileDevice::NoError || !copy.commit())
        return false;
    // The copy is as private as the data it keeps, whatever an older backup allowed.
    QFile::setPermissions(pathFor(file), source.permissions());
    return true;
}
