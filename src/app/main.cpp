#include "app/appinfo.h"
#include "app/fenprincipale.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(icons);
    AppInfo::speakFrench(app);
    QCoreApplication::setApplicationVersion(QLatin1String(AppInfo::version));
    QCoreApplication::setApplicationName(QLatin1String(AppInfo::name));

    FenPrincipale window;
    window.show();
    return app.exec();
}
