#ifndef STRATOMARK_APPINFO_H
#define STRATOMARK_APPINFO_H

class QCoreApplication;

namespace AppInfo
{
constexpr char name[] = "Stratomark";
constexpr char version[] = "1.0.11";

// Qt's own dialogs and buttons in French, like the rest of the program, whatever the user's
// locale.
void speakFrench(QCoreApplication& app);
} // namespace AppInfo

#endif
