#include "app/appinfo.h"
#include "app/fenprincipale.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(icons);
    AppInfo::speakFrench(app);
    QCoreApplication::setApplicationVersion(QLatin1String(AppInfo::version));
    QCoreApplication::setApplicationName(QLatin1String(AppInfo::name));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Éditeur de fichiers de stations météo"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("fichier"),
                                 QStringLiteral("Le fichier de données à ouvrir."));
    parser.process(app);

    FenPrincipale window;
    window.show();
    // Once the window is up, so that its boxes have a window to stand on.
    const QStringList files = parser.positionalArguments();
    QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    return app.exec();
}
