#ifndef STRATOMARK_APPINFO_H
#define STRATOMARK_APPINFO_H

namespace AppInfo
{
constexpr char name[] = "Stratomark";
constexpr char version[] = "1.0.11";
} // namespace AppInfo

#endif
