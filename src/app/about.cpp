#include "app/appinfo.h"
#include "app/fenprincipale.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const char authorName[] = "Camille Morel";
const char authorMail[] = "contact@stratomark.example";
const char webPage[] = "https://www.stratomark.example/";
} // namespace

void FenPrincipale::About()
{
    currentDialog = new QDialog(this);
    currentDialog->setWindowTitle(QStringLiteral("A propos..."));
    currentDialog->setWindowModality(Qt::WindowModal);
    currentDialog->setMinimumSize(300, 150);

    auto* text = new QLabel;
    text->setTextFormat(Qt::RichText);
    text->setOpenExternalLinks(true);
    text->setText(
        QStringLiteral("<p align='center'> <b>Stratomark v") + QLatin1String(AppInfo::version) +
        QStringLiteral("</b></p><p align='center'><br>Logiciel réalisé par:<br> "
                       "<a href=\"mailto:%1\">%2</a><br><br>Site web: "
                       "<a href=\"%3\">Stratomark</a></p>")
            .arg(QLatin1String(authorMail), QLatin1String(authorName), QLatin1String(webPage)));

    auto* okButton = new QPushButton(QStringLiteral("OK"));
    okButton->setMaximumWidth(70);
    connect(okButton, &QPushButton::clicked, currentDialog, &QDialog::close);
    auto* buttonLayout = new QVBoxLayout;
    buttonLayout->setAlignment(Qt::AlignCenter);
    buttonLayout->addWidget(okButton);

    auto* layout = new QVBoxLayout(currentDialog);
    layout->addWidget(text);
    layout->addSpacing(20);
    layout->addLayout(buttonLayout);
    currentDialog->show();
}
