#include "testsupport.h"

#include "app/appinfo.h"

using Format::DataFileType;

namespace
{

QVariant stored(const QString& key)
{
    return QSettings(TestAccess::settingsPath(), QSettings::IniFormat).value(key);
}

void store(const QString& key, const QVariant& value)
{
    QSettings(TestAccess::settingsPath(), QSettings::IniFormat).setValue(key, value);
}

// Every menu's actions as "text [shortcut]", a leading "-" when disabled, "|" for a separator.
QString menus(FenPrincipale& w)
{
    QStringList items;
    for (QAction* menu : w.menuBar()->actions()) {
        items << QLatin1Char('\n') + menu->text() + QLatin1Char(':');
        for (QAction* a : menu->menu()->actions())
            items << (a->isEnabled() ? "" : "-") + (a->isSeparator() ? "|" : a->text()) +
                         (a->shortcut().isEmpty() ? "" : " [" + a->shortcut().toString() + "]");
    }
    return items.join(QLatin1Char(' '));
}

const QString menusWithoutDocument = QStringLiteral(
    "\n&Fichier: &Ouvrir [Ctrl+O] -Fichiers récents -Enregistrer [Ctrl+S] -Enregistrer sous... "
    "[Ctrl+Shift+S] -&Exporter -&Importer -Imprimer... [Ctrl+P] | &Quitter [Ctrl+Q] \nEdition: "
    "-Annuler [Ctrl+Z] -Rétablir [Ctrl+Y] | "
    "-Copier [Ctrl+C] -Coller [Ctrl+V] -Corriger la sélection... [Ctrl+R] -Décaler les dates... | "
    "-Ajouter une ligne "
    "-Supprimer la/les ligne(s) [Del] | Aller en Haut Aller en Bas | -Rechercher une "
    "date... \nAffichage: Sondes... -Graphique... [Ctrl+G] -Valeur suspecte suivante [F3] "
    "-Valeur suspecte précédente [Shift+F3] Contrôle qualité [Ctrl+K] \n?: A "
    "propos de...");

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { e = std::make_unique<TestSupport::Editor>(); }

    void structureAtStart()
    {
        FenPrincipale& w = e->window();
        QCOMPARE(menus(w), menusWithoutDocument);
        QStringList bar;
        const QList<QToolBar*> bars = w.findChildren<QToolBar*>();
        for (QAction* a : bars.at(0)->actions())
            bar << (a->isSeparator() ? QStringLiteral("|") : a->text().left(3));
        QCOMPARE(bar.join(' '),
                 QStringLiteral("Enr &Ou Imp | Ann Rét | Son Rec | All All | Ajo Sup | &Qu"));
        QVERIFY(bars.size() == 2 && !bars.at(0)->isMovable() && !bars.at(1)->isMovable());
        QVERIFY(w.toolBarBreak(bars.at(1)) && bars.at(0)->iconSize() == QSize(16, 16));
        QVERIFY(w.windowTitle() == QLatin1String("Stratomark v1.0.11") && w.isMaximized());
        QCOMPARE(TestAccess::statusBar(w)->currentMessage(), QStringLiteral("Prêt"));
        QCOMPARE(e->size(), QSize(1, 1));
        QCOMPARE(TestAccess::fileTypeCombo(w)->currentText(), QStringLiteral("wswin_WD"));
        QCOMPARE(e->view()->verticalHeader()->defaultSectionSize(), 20);
    }

    void quitSavesTheWorkspace_data()
    {
        // answer "": the document was saved first
        TestSupport::columns<QString, bool>({"answer", "byCloseButton"});
        QTest::newRow("unmodified") << "" << false;
        QTest::newRow("Annuler") << "Annuler" << false;
        QTest::newRow("Non") << "Non" << false;
        QTest::newRow("close button, Annuler") << "Annuler" << true;
        QTest::newRow("close button, Non") << "Non" << true;
    }

    // Quitting asks only about a modified document, from the close button too; it clears the
    // document, buffers, actions and history included, and saves the workspace that the next
    // start restores; "Annuler" keeps everything and saves nothing.
    void quitSavesTheWorkspace()
    {
        QFETCH(QString, answer);
        QFETCH(bool, byCloseButton);
        FenPrincipale& w = e->window();
        const bool quits = answer != QLatin1String("Annuler");
        const QString folder = QStringLiteral("/tmp/Données météo/station");
        TestAccess::workspaceEdit(w)->setText(folder);
        const QString path = e->open(DataFileType::WS3600, 3);
        e->edit(2, 1, QStringLiteral("8.5"));
        if (answer.isEmpty())
            e->trigger("Enregistrer");
        const QByteArray saved = TestSupport::readFile(path);
        e->view()->selectRow(1);
        w.rows_select(1);
        TestSupport::BoxLog boxes({answer});
        QCOMPARE(TestSupport::quitsWhile(
                     [&] { byCloseButton ? void(w.close()) : w.fermeture_programme(); }, 1500),
                 quits);
        QVERIFY(boxes.texts.size() == int(!answer.isEmpty()) && w.isVisible());
        QCOMPARE(TestSupport::readFile(path), saved);
        QCOMPARE(stored(QStringLiteral("General/WorkSpace")).toString() +
                     stored("General/FileIndex").toString(),
                 quits ? folder + "4" : QString());
        QCOMPARE(e->cell(2, 1) == QLatin1String("8.5"), !quits);
        // The file opened is a recent file from now on.
        QCOMPARE(menus(w).replace(" Fichiers récents", " -Fichiers récents") ==
                     menusWithoutDocument,
                 quits);
        if (!quits)
            return;
        e->verifyNoDocument();
        QVERIFY(e->view()->model() == e->model());
        QCOMPARE(TestAccess::statusBar(w)->currentMessage(), QString());
        QCOMPARE(w.windowTitle(), QStringLiteral("Stratomark v1.0.11"));
        FenPrincipale next;
        QCOMPARE(TestAccess::workspaceEdit(next)->text() +
                     TestAccess::fileTypeCombo(next)->currentText(),
                 folder + "WS3600");
    }

    // A stored index that names no type selects the default one; a column's key is its type and
    // its name's first line, and a value that is not a number hides it.
    void storedSettings()
    {
        for (const auto& index :
             QList<QPair<QVariant, int>>{{0, 0}, {4, 4}, {5, 1}, {-1, 1}, {"WS3600", 1}}) {
            store(QStringLiteral("General/FileIndex"), index.first);
            FenPrincipale window;
            QCOMPARE(TestAccess::fileTypeCombo(window)->currentIndex(), index.second);
        }
        store(QStringLiteral("WS3600/Pluie"), 0);
        store(QStringLiteral("wswin_WD/Index UV"), 0);
        store(QStringLiteral("wswin_WD/Temp. E."), QStringLiteral("yes"));
        QStringList hidden;
        for (DataFileType type :
             {DataFileType::WS3600, DataFileType::WswinWD, DataFileType::WS2300}) {
            e->open(type, 2);
            for (int c = 0; c < e->model()->columnCount(); ++c)
                hidden << (e->view()->isColumnHidden(c) ? FenPrincipale::headerList(type).at(c)
                                                        : QString());
        }
        hidden.removeAll(QString());
        QCOMPARE(hidden.join('|'), QStringLiteral("Pluie\n(mm)|Temp. E.\n(°C)|Index UV"));
    }

    // Last of the program: the translation stays installed.
    void aboutBoxAndQtInFrench()
    {
        e->trigger("A propos de...");
        QDialog* dialog = TestAccess::currentDialog(e->window());
        QVERIFY(dialog->windowTitle() == QLatin1String("A propos...") &&
                dialog->minimumSize() == QSize(300, 150));
        auto* label = dialog->findChild<QLabel*>();
        QVERIFY(label->openExternalLinks() &&
                QRegularExpression(
                    QStringLiteral(
                        "^<p align='center'> <b>Stratomark v1.0.11</b></p><p "
                        "align='center'><br>Logiciel "
                        "réalisé par:<br> <a href=\"mailto:.+@.+\">.+</a><br><br>Site web: <a "
                        "href=\".+\">Stratomark</a></p>$"))
                    .match(label->text())
                    .hasMatch());
        AppInfo::speakFrench(*QCoreApplication::instance());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Annuler"));
        QCOMPARE(QDateEdit().displayFormat(), QStringLiteral("dd/MM/yyyy"));
    }

private:
    std::unique_ptr<TestSupport::Editor> e;
};

STRATOMARK_TEST_MAIN(TestWindow)
#include "tst_window.moc"
