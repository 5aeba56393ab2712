#include "data/replacingfile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>
#include <unistd.h>

namespace
{
constexpr int nameAttempts = 16;
}

// Writing through a symbolic link replaces the file it points to, not the link.
ReplacingFile::ReplacingFile(const QString& targetPath) : target(targetPath)
{
    const QFileInfo info(targetPath);
    if (info.isSymLink())
        target = info.symLinkTarget();
}

ReplacingFile::~ReplacingFile()
{
    if (!committed && !temporary.fileName().isEmpty()) {
        temporary.close();
        temporary.remove();
    }
}

bool ReplacingFile::open(QIODevice::OpenMode extraMode)
{
    const QFileInfo info(target);
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return false;
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        temporary.setFileName(info.absolutePath() + QStringLiteral("/.smk") +
                              QString::number(QRandomGenerator::global()->generate(), 36));
        if (temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly | extraMode))
            return true;
        // A name already taken is worth another try; a folder that refuses the file is not.
        if (!temporary.exists())
            break;
    }
    temporary.setFileName(QString());
    return false;
}

bool ReplacingFile::commit()
{
    if (!temporary.isOpen() || !temporary.flush() || ::fsync(temporary.handle()) != 0)
        return false;
    const QFileInfo existing(target);
    if (existing.exists())
        temporary.setPermissions(existing.permissions());
    temporary.close();
    if (temporary.error() != QFileDevice::NoError ||
        std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return false;
    committed = true;
    return true;
}
