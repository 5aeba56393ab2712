#ifndef STRATOMARK_MONTHLYNAME_H
#define STRATOMARK_MONTHLYNAME_H

#include <QString>

class QFileInfo;

// What the name of a wswin monthly file says: WD_11_98-old.dat is the November 1998 file of
// "wswin_WD". The month field is kept as written; the year has its century.
struct MonthlyName {
    QString suffix;
    QString month;
    int year = 0;

    // Null when the name has not the three fields of a monthly file.
    static MonthlyName of(const QFileInfo& file);
    bool isNull() const { return suffix.isEmpty(); }
};

#endif
