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

// Actions as "text [shortcut]", a leading "-" when disabled; "|" for a separator.
QString describe(const QList<QAction*>& actions)
{
    QStringList items;
    for (QAction* action : actions) {
        QString item = action->isSeparator() ? QStringLiteral("|") : action->text();
        if (!action->shortcut().isEmpty())
            item += QStringLiteral(" [%1]").arg(action->shortcut().toString());
        items << (action->isEnabled() || action->isSeparator() ? item : QLatin1Char('-') + item);
    }
    return items.join(QStringLiteral(", "));
}

QString menus(FenPrincipale& w)
{
    QStringList texts;
    for (QAction* menu : w.menuBar()->actions())
        texts << menu->text() + QStringLiteral(": ") + describe(menu->menu()->actions());
    return texts.join(QLatin1Char('\n'));
}

const QString menusWithoutDocument = QStringLiteral(
    "&Fichier: &Ouvrir [Ctrl+O], -Enregistrer [Ctrl+S], -Enregistrer sous..., -&Exporter, "
    "-&Importer, -Imprimer..., |, &Quitter [Ctrl+Q]\nEdition: -Annuler [Ctrl+Z], -Rétablir "
    "[Ctrl+Y], |, -Ajouter une ligne, -Supprimer la/les ligne(s), |, Aller en Haut, Aller en Bas, "
    "|, -Rechercher une date...\nAffichage: Sondes..., -Graphique... [Ctrl+G], -Valeur suspecte "
    "suivante [F3]\n?: A propos de...");

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
        const QList<QToolBar*> bars = w.findChildren<QToolBar*>();
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars.at(0)->windowTitle() + bars.at(1)->windowTitle(),
                 QStringLiteral("Barre d'outilsEspace de travail"));
        QCOMPARE(
            describe(bars.at(0)->actions()).remove(QRegularExpression(" \\[[^]]*\\]|-")),
            QStringLiteral("Enregistrer, &Ouvrir, Imprimer..., |, Annuler, Rétablir, |, "
                           "Sondes..., Rechercher une date..., |, Aller en Haut, Aller en Bas, "
                           "|, Ajouter une ligne, Supprimer la/les ligne(s), |, &Quitter"));
        QVERIFY(!bars.at(0)->isMovable() && !bars.at(1)->isMovable() && w.toolBarBreak(bars.at(1)));
        QCOMPARE(bars.at(0)->iconSize(), QSize(16, 16));
        QCOMPARE(w.windowTitle(), QStringLiteral("Stratomark v1.0.11"));
        QVERIFY(w.isMaximized());
        QCOMPARE(TestAccess::statusBar(w)->currentMessage(), QStringLiteral("Prêt"));
        QCOMPARE(e->size(), QSize(1, 1));
        QCOMPARE(TestAccess::workspaceEdit(w)->text() + TestAccess::fileTypeCombo(w)->currentText(),
                 QStringLiteral("wswin_WD"));
        QHeaderView* rows = e->view()->verticalHeader();
        QVERIFY(rows->defaultSectionSize() == 20 &&
                rows->sectionResizeMode(0) == QHeaderView::Fixed);
        QCOMPARE(e->view()->horizontalHeader()->sectionResizeMode(0),
                 QHeaderView::ResizeToContents);
    }
    void quitSavesTheWorkspace_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("byCloseButton");
        QTest::addColumn<bool>("quits");
        QTest::newRow("unmodified") << false << "" << false << true;
        QTest::newRow("Annuler") << true << "Annuler" << false << false;
        QTest::newRow("Non") << true << "Non" << false << true;
        QTest::newRow("close button, Annuler") << true << "Annuler" << true << false;
        QTest::newRow("close button, Non") << true << "Non" << true << true;
    }
    // Quitting asks only about a modified document, also from the window's close button; it clears
    // the document, buffers and actions and history alike, and saves the workspace, which the next
    // start restores; "Annuler" keeps everything and saves nothing.
    void quitSavesTheWorkspace()
    {
        QFETCH(bool, modified);
        QFETCH(QString, answer);
        QFETCH(bool, byCloseButton);
        QFETCH(bool, quits);
        FenPrincipale& w = e->window();
        const QString folder = QStringLiteral("/tmp/Données météo/station");
        TestAccess::workspaceEdit(w)->setText(folder);
        const QString path = e->open(DataFileType::WS3600, 3);
        e->edit(2, 1, QStringLiteral("8.5"));
        if (!modified)
            e->trigger("Enregistrer");
        const QByteArray saved = TestSupport::readFile(path);
        e->view()->selectRow(1);
        w.rows_select(1);
        TestSupport::BoxLog boxes({answer});
        QCOMPARE(TestSupport::quitsWhile(
                     [&] { byCloseButton ? void(w.close()) : w.fermeture_programme(); }, 1500),
                 quits);
        QCOMPARE(boxes.texts.size(), modified ? 1 : 0);
        QVERIFY(w.isVisible());
        QCOMPARE(TestSupport::readFile(path), saved);
        QCOMPARE(stored(QStringLiteral("General/WorkSpace")).toString(),
                 quits ? folder : QString());
        QCOMPARE(stored(QStringLiteral("General/FileIndex")).toInt(), quits ? 4 : 0);
        if (!quits) {
            QVERIFY(e->enabled("Enregistrer") && e->enabled("Annuler"));
            QCOMPARE(e->cell(2, 1), QStringLiteral("8.5"));
            return;
        }
        for (char* buffer : TestAccess::buffers(w))
            QVERIFY(!buffer);
        QCOMPARE(e->size(), QSize(1, 1));
        QCOMPARE(e->view()->model(), e->model());
        QCOMPARE(e->fileLabel() + TestAccess::statusBar(w)->currentMessage(), QString());
        QCOMPARE(menus(w), menusWithoutDocument);
        QCOMPARE(w.windowTitle(), QStringLiteral("Stratomark v1.0.11"));
        FenPrincipale next;
        QCOMPARE(TestAccess::workspaceEdit(next)->text(), folder);
        QCOMPARE(TestAccess::fileTypeCombo(next)->currentText(), QStringLiteral("WS3600"));
    }
    // A stored index that names no type selects the default one; a column's key is its type and its
    // name's first line, and a value that is not a number hides it.
    void storedSettings()
    {
        const QList<QPair<QVariant, int>> indexes{
            {0, 0}, {4, 4}, {5, 1}, {-1, 1}, {QStringLiteral("WS3600"), 1}};
        for (const auto& index : indexes) {
            store(QStringLiteral("General/FileIndex"), index.first);
            FenPrincipale window;
            QCOMPARE(TestAccess::fileTypeCombo(window)->currentIndex(), index.second);
        }
        store(QStringLiteral("WS3600/Pluie"), 0);
        store(QStringLiteral("wswin_WD/Index UV"), 0);
        store(QStringLiteral("wswin_WD/Temp. E."), QStringLiteral("yes"));
        const auto hidden = [this](DataFileType type) {
            e->open(type, 2);
            QStringList names;
            for (int c = 0; c < e->model()->columnCount(); ++c) {
                if (e->view()->isColumnHidden(c))
                    names << FenPrincipale::headerList(type).at(c);
            }
            return names.join(QLatin1Char('|'));
        };
        QCOMPARE(hidden(DataFileType::WS3600), QStringLiteral("Pluie\n(mm)"));
        QCOMPARE(hidden(DataFileType::WswinWD), QStringLiteral("Temp. E.\n(°C)|Index UV"));
        QCOMPARE(hidden(DataFileType::WS2300), QString());
    }
    // Last of the program: the translation stays installed.
    void aboutBoxAndQtInFrench()
    {
        e->trigger("A propos de...");
        QDialog* dialog = TestAccess::currentDialog(e->window());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("A propos..."));
        QCOMPARE(dialog->minimumSize(), QSize(300, 150));
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        auto* label = dialog->findChild<QLabel*>();
        QVERIFY(label->openExternalLinks());
        QVERIFY(QRegularExpression(
                    QStringLiteral("^<p align='center'> <b>Stratomark v1.0.11</b></p><p align="
                                   "'center'><br>Logiciel réalisé par:<br> <a href=\"mailto:.+@.+"
                                   "\">.+</a><br><br>Site web: <a href=\".+\">Stratomark</a></p>$"))
                    .match(label->text())
                    .hasMatch());
        dialog->findChild<QPushButton*>()->click();
        QVERIFY(!dialog->isVisible());
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
