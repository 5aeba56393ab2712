#include "desktop/firststeps.h"

#include <QCoreApplication>
#include <QDir>

namespace
{

const QString demoLink = QStringLiteral("demo");

QString hintText(const QString& demo)
{
    QString text = QStringLiteral(
        "<h3>Aucun fichier ouvert</h3>"
        "<p>Fichiers mensuels de wswin (WS, WD, WM) : choisissez leur dossier avec le bouton "
        "« ... » en haut, puis le type, le mois et l'année, et « Afficher ».</p>"
        "<p>Historique d'une station (WS2300, WS3600) : « Ouvrir » (Ctrl+O) dans le menu "
        "Fichier, ou déposez le fichier sur cette fenêtre.</p>");
    if (!demo.isEmpty())
        text += QStringLiteral("<p>Pour essayer sans vos données : <a href=\"%1\">ouvrir les "
                               "fichiers de démonstration</a>.</p>")
                    .arg(demoLink);
    else
        text += QStringLiteral("<p>Pour essayer sans vos données : lancez "
                               "<tt>scripts/run.sh --demo</tt> depuis les sources.</p>");
    return text;
}

} // namespace

FirstSteps::FirstSteps(QWidget* parent) : QLabel(parent)
{
    const QString demo = demoFolder();
    setText(hintText(demo));
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMargin(40);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, [this, demo] { emit demoChosen(demo); });
}

// In the build tree the demo is generated beside the program; installed, it lies in the
// program's data folder.
QString FirstSteps::demoFolder()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {QStringLiteral("examples"), QStringLiteral("../share/stratomark/demo")}) {
        const QDir folder(program.filePath(candidate));
        if (!folder.entryList({QStringLiteral("WD_*.DAT")}, QDir::Files).isEmpty())
            return folder.canonicalPath();
    }
    return QString();
}
