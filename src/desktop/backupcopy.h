#ifndef STRATOMARK_BACKUPCOPY_H
#define STRATOMARK_BACKUPCOPY_H

#include <QString>

// The copy of a file as it was before the editor first wrote over it, beside it under its name
// followed by ".bak"; an older copy gives way to it.
namespace BackupCopy
{
QString pathFor(const QString& file);
// False when the copy could not be made whole; an older copy is then left as it was.
bool make(const QString& file);
} // namespace BackupCopy

#endif
