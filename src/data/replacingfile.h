#ifndef STRATOMARK_REPLACINGFILE_H
#define STRATOMARK_REPLACINGFILE_H

#include <QFile>
#include <QString>

// A file written beside its target under a short temporary name, which takes the target's place
// only once every byte is on disk: a failed or abandoned write leaves the target as it was. The
// temporary's name is short whatever the target's, so that any name the file system allows can
// be replaced.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when the target may not be replaced or the temporary cannot be created.
    bool open(QIODevice::OpenMode extraMode = QIODevice::NotOpen);
    QFile& device() { return temporary; }
    // False when a byte did not reach the disk; the target is then untouched.
    bool commit();

private:
    QString target;
    QFile temporary;
    bool committed = false;
};

#endif
