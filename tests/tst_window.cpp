#include "testsupport.h"

#include "app/appinfo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <cstdlib>

using TestSupport::actionByText;

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void initialState();
    void enabledActions_data();
    void enabledActions();
    void mainToolBarGroups();
    void storedFileIndex_data();
    void storedFileIndex();
    void workspaceSurvivesARestart();
    void columnVisibilityIsPerType();
    void sensorChoicesRoundTrip();
    void quitUnmodifiedAsksNothing();
    void quitModifiedCancelKeepsEverything();
    void quitModifiedNoClearsAndWritesWorkspace();
    void closeButtonRunsTheQuitSequence();
    void clearTableReleasesTheDocument();
    void aboutBox();
    void qtSpeaksFrench();

private:
    static void makeModified(FenPrincipale& window);
    static QVariant storedValue(const QString& key);
};

void TestWindow::init()
{
    TestSupport::removeSettings();
}

void TestWindow::makeModified(FenPrincipale& window)
{
    TestAccess::installModel(window, new TableModel(3, 2, nullptr));
    TestAccess::model(window)->setData(TestAccess::model(window)->index(2, 1),
                                       QStringLiteral("8.5"), Qt::EditRole);
    TestAccess::saveAction(window)->setEnabled(true);
}

QVariant TestWindow::storedValue(const QString& key)
{
    return QSettings(TestAccess::settingsPath(), QSettings::IniFormat).value(key);
}

void TestWindow::initialState()
{
    const auto window = TestSupport::makeWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Stratomark v1.0.11"));
    QVERIFY(window->isMaximized());
    QCOMPARE(TestAccess::statusBar(*window)->currentMessage(), QStringLiteral("Prêt"));
    TableModel* model = TestAccess::model(*window);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->columnCount(), 1);
    QCOMPARE(TestAccess::view(*window)->model(), model);
    for (char* buffer : TestAccess::buffers(*window))
        QVERIFY(buffer == nullptr);
    QCOMPARE(TestAccess::recordCount(*window), 0);
    QCOMPARE(TestAccess::undoCount(*window), 0);
    QCOMPARE(TestAccess::workspaceEdit(*window)->text(), QString());
    QCOMPARE(TestAccess::fileTypeCombo(*window)->currentText(), QStringLiteral("wswin_WD"));

    QHeaderView* rows = TestAccess::view(*window)->verticalHeader();
    QCOMPARE(rows->defaultSectionSize(), 20);
    QCOMPARE(rows->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(TestAccess::view(*window)->horizontalHeader()->sectionResizeMode(0),
             QHeaderView::ResizeToContents);
}

void TestWindow::enabledActions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    for (const char* off : {"Enregistrer", "Enregistrer sous...", "&Exporter", "&Importer",
                            "Imprimer...", "Rechercher une date...", "Ajouter une ligne",
                            "Supprimer la/les ligne(s)", "Annuler", "Rétablir"})
        QTest::newRow(off) << QString::fromUtf8(off) << false;
    for (const char* on :
         {"&Ouvrir", "&Quitter", "Aller en Haut", "Aller en Bas", "Sondes...", "A propos de..."})
        QTest::newRow(on) << QString::fromUtf8(on) << true;
}

void TestWindow::enabledActions()
{
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    const auto window = TestSupport::makeWindow();
    QAction* action = actionByText(*window, text);
    QVERIFY2(action, qPrintable(text));
    QCOMPARE(action->isEnabled(), enabled);
}

void TestWindow::mainToolBarGroups()
{
    const auto window = TestSupport::makeWindow();
    const QList<QToolBar*> bars = window->findChildren<QToolBar*>();
    QCOMPARE(bars.size(), 2);
    QToolBar* mainBar =
        bars.at(0)->windowTitle() == QStringLiteral("Barre d'outils") ? bars.at(0) : bars.at(1);
    QToolBar* workspaceBar = mainBar == bars.at(0) ? bars.at(1) : bars.at(0);
    QCOMPARE(workspaceBar->windowTitle(), QStringLiteral("Espace de travail"));
    QVERIFY(!mainBar->isMovable());
    QVERIFY(!workspaceBar->isMovable());
    QCOMPARE(mainBar->iconSize(), QSize(16, 16));
    QVERIFY(window->toolBarBreak(workspaceBar));

    QStringList layout;
    for (QAction* action : mainBar->actions())
        layout << (action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(layout.join(QLatin1Char(',')),
             QStringLiteral("Enregistrer,&Ouvrir,Imprimer...,|,Annuler,Rétablir,|,Sondes...,"
                            "Rechercher une date...,|,Aller en Haut,Aller en Bas,|,"
                            "Ajouter une ligne,Supprimer la/les ligne(s),|,&Quitter"));
}

void TestWindow::storedFileIndex_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("index");
    QTest::newRow("first type") << QVariant(0) << 0;
    QTest::newRow("last type") << QVariant(4) << 4;
    QTest::newRow("one past the end") << QVariant(5) << 1;
    QTest::newRow("negative") << QVariant(-1) << 1;
    QTest::newRow("far away") << QVariant(70000) << 1;
    QTest::newRow("not a number") << QVariant(QStringLiteral("WS3600")) << 1;
}

void TestWindow::storedFileIndex()
{
    QFETCH(QVariant, stored);
    QFETCH(int, index);
    {
        QSettings settings(TestAccess::settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("General/FileIndex"), stored);
    }
    FenPrincipale window;
    QCOMPARE(TestAccess::fileTypeCombo(window)->currentIndex(), index);
}

void TestWindow::workspaceSurvivesARestart()
{
    const QString folder = QStringLiteral("/tmp/Données météo/station");
    {
        FenPrincipale first;
        TestAccess::workspaceEdit(first)->setText(folder);
        TestAccess::fileTypeCombo(first)->setCurrentIndex(2);
        QVERIFY(TestSupport::quitsWhile([&first] { first.fermeture_programme(); }));
    }
    QCOMPARE(storedValue(QStringLiteral("General/WorkSpace")).toString(), folder);
    QCOMPARE(storedValue(QStringLiteral("General/FileIndex")).toInt(), 2);
    FenPrincipale second;
    QCOMPARE(TestAccess::workspaceEdit(second)->text(), folder);
    QCOMPARE(TestAccess::fileTypeCombo(second)->currentText(), QStringLiteral("wswin_WM"));
}

void TestWindow::columnVisibilityIsPerType()
{
    {
        QSettings settings(TestAccess::settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("WS3600/Pluie"), 0);
        settings.setValue(QStringLiteral("wswin_WD/Index UV"), 0);
        settings.setValue(QStringLiteral("wswin_WD/Temp. E."), QStringLiteral("yes"));
    }
    FenPrincipale window;
    QTableView* view = TestAccess::view(window);

    const auto showType = [&window](Format::DataFileType type) {
        TestAccess::fileTypeCombo(window)->setCurrentIndex(int(type));
        const QStringList headers = FenPrincipale::headerList(type);
        auto* model = new TableModel(2, headers.size(), nullptr);
        model->setHeaderLabels(Qt::Horizontal, headers, Qt::EditRole);
        TestAccess::installModel(window, model);
        TestAccess::appSettings(window, FenPrincipale::ApplyColumnVisibility);
        return headers;
    };

    QStringList headers = showType(Format::DataFileType::WS3600);
    QVERIFY(view->isColumnHidden(headers.indexOf(QStringLiteral("Pluie\n(mm)"))));
    QVERIFY(!view->isColumnHidden(headers.indexOf(QStringLiteral("Pluie totale\n(mm)"))));
    QCOMPARE(headers.size(), 12);

    headers = showType(Format::DataFileType::WswinWD);
    QVERIFY(!view->isColumnHidden(headers.indexOf(QStringLiteral("Pluie\n(mm)"))));
    QVERIFY(view->isColumnHidden(headers.indexOf(QStringLiteral("Index UV"))));
    // A value that is not a number reads as 0, which hides the column.
    QVERIFY(view->isColumnHidden(headers.indexOf(QStringLiteral("Temp. E.\n(°C)"))));
    int hidden = 0;
    for (int c = 0; c < headers.size(); ++c)
        hidden += view->isColumnHidden(c) ? 1 : 0;
    QCOMPARE(hidden, 2);
}

void TestWindow::sensorChoicesRoundTrip()
{
    FenPrincipale window;
    TestAccess::fileTypeCombo(window)->setCurrentIndex(int(Format::DataFileType::WS2300));
    QDialog dialog;
    auto* left = new QFormLayout;
    auto* right = new QFormLayout;
    auto* columns = new QHBoxLayout(&dialog);
    columns->addLayout(left);
    columns->addLayout(right);
    QList<QCheckBox*> boxes;
    const QStringList names{"Temp. I.", "Hum. E.", "Direction", "unknown"};
    for (int i = 0; i < names.size(); ++i) {
        boxes << new QCheckBox;
        (i < 2 ? left : right)->addRow(new QLabel(names.at(i)), boxes.last());
    }
    TestAccess::setSensorForms(window, left, right);

    TestAccess::appSettings(window, FenPrincipale::LoadSensorChoices);
    for (QCheckBox* box : boxes)
        QVERIFY(box->isChecked());

    boxes.at(1)->setChecked(false);
    boxes.at(3)->setChecked(false);
    TestAccess::appSettings(window, FenPrincipale::SaveSensorChoices);
    QCOMPARE(storedValue(QStringLiteral("WS2300/Hum. E.")).toInt(), 0);
    QCOMPARE(storedValue(QStringLiteral("WS2300/unknown")).toInt(), 0);
    QCOMPARE(storedValue(QStringLiteral("WS2300/Direction")).toInt(), 1);
    QVERIFY(!storedValue(QStringLiteral("WS3600/unknown")).isValid());

    for (QCheckBox* box : boxes)
        box->setChecked(true);
    TestAccess::appSettings(window, FenPrincipale::LoadSensorChoices);
    QCOMPARE(boxes.at(0)->isChecked(), true);
    QCOMPARE(boxes.at(1)->isChecked(), false);
    QCOMPARE(boxes.at(2)->isChecked(), true);
    QCOMPARE(boxes.at(3)->isChecked(), false);
    TestAccess::setSensorForms(window, nullptr, nullptr);
}

void TestWindow::quitUnmodifiedAsksNothing()
{
    FenPrincipale window;
    TestAccess::workspaceEdit(window)->setText(QStringLiteral("/srv/meteo"));
    bool asked = false;
    const auto watch = TestSupport::whenModalShown([&asked](QWidget* modal) {
        asked = true;
        modal->close();
        return true;
    });
    QVERIFY(TestSupport::quitsWhile([&window] { window.fermeture_programme(); }));
    QVERIFY(!asked);
    QCOMPARE(storedValue(QStringLiteral("General/WorkSpace")).toString(),
             QStringLiteral("/srv/meteo"));
    QCOMPARE(storedValue(QStringLiteral("General/FileIndex")).toInt(), 1);
}

void TestWindow::quitModifiedCancelKeepsEverything()
{
    FenPrincipale window;
    makeModified(window);
    TableModel* model = TestAccess::model(window);
    QString question;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("Annuler"), &question);
    QVERIFY(!TestSupport::quitsWhile([&window] { window.fermeture_programme(); }, 1500));
    QCOMPARE(question, QStringLiteral("Le document a été modifié.\nVoulez-vous sauvegarder les "
                                      "changements?"));
    QCOMPARE(TestAccess::model(window), model);
    QCOMPARE(model->data(model->index(2, 1), Qt::DisplayRole).toString(), QStringLiteral("8.5"));
    QVERIFY(TestAccess::saveAction(window)->isEnabled());
    QVERIFY(!storedValue(QStringLiteral("General/WorkSpace")).isValid());
}

void TestWindow::quitModifiedNoClearsAndWritesWorkspace()
{
    FenPrincipale window;
    TestAccess::workspaceEdit(window)->setText(QStringLiteral("/srv/meteo"));
    makeModified(window);
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("Non"));
    QVERIFY(TestSupport::quitsWhile([&window] { window.fermeture_programme(); }));
    QCOMPARE(TestAccess::model(window)->rowCount(), 1);
    QVERIFY(!TestAccess::saveAction(window)->isEnabled());
    QCOMPARE(storedValue(QStringLiteral("General/WorkSpace")).toString(),
             QStringLiteral("/srv/meteo"));
}

void TestWindow::closeButtonRunsTheQuitSequence()
{
    FenPrincipale window;
    makeModified(window);
    auto answer = TestSupport::answerMessageBox(QStringLiteral("Annuler"));
    QVERIFY(!TestSupport::quitsWhile([&window] { window.close(); }, 1500));
    QVERIFY(window.isVisible());
    QCOMPARE(TestAccess::model(window)->rowCount(), 3);

    answer = TestSupport::answerMessageBox(QStringLiteral("Non"));
    QVERIFY(TestSupport::quitsWhile([&window] { window.close(); }));
    // The close event itself never hides the window: the quit sequence ends the program.
    QVERIFY(window.isVisible());
    QCOMPARE(TestAccess::model(window)->rowCount(), 1);
}

void TestWindow::clearTableReleasesTheDocument()
{
    FenPrincipale window;
    makeModified(window);
    TestAccess::buffers(window)[int(Format::DataFileType::WS3600)] =
        static_cast<char*>(std::malloc(560));
    const QStringList documentActions{"Enregistrer",       "Enregistrer sous...",
                                      "&Exporter",         "&Importer",
                                      "Imprimer...",       "Rechercher une date...",
                                      "Ajouter une ligne", "Supprimer la/les ligne(s)",
                                      "Annuler",           "Rétablir"};
    for (const QString& text : documentActions)
        actionByText(window, text)->setEnabled(true);

    TestAccess::clearTable(window);
    for (char* buffer : TestAccess::buffers(window))
        QVERIFY(buffer == nullptr);
    QCOMPARE(TestAccess::model(window)->rowCount(), 1);
    QCOMPARE(TestAccess::model(window)->columnCount(), 1);
    QCOMPARE(TestAccess::view(window)->model(), TestAccess::model(window));
    QCOMPARE(TestAccess::fileLabel(window)->text(), QString());
    QCOMPARE(TestAccess::statusBar(window)->currentMessage(), QString());
    for (const QString& text : documentActions)
        QVERIFY2(!actionByText(window, text)->isEnabled(), qPrintable(text));

    // Clearing again with nothing open is harmless.
    TestAccess::clearTable(window);
    QCOMPARE(TestAccess::model(window)->rowCount(), 1);
}

void TestWindow::aboutBox()
{
    FenPrincipale window;
    actionByText(window, QStringLiteral("A propos de..."))->trigger();
    QDialog* dialog = TestAccess::currentDialog(window);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("A propos..."));
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    QCOMPARE(dialog->minimumSize(), QSize(300, 150));
    QLabel* label = dialog->findChild<QLabel*>();
    QVERIFY(label);
    QVERIFY(label->openExternalLinks());
    QVERIFY(label->text().startsWith(
        QStringLiteral("<p align='center'> <b>Stratomark v1.0.11</b></p><p align='center'><br>"
                       "Logiciel réalisé par:<br> <a href=\"mailto:")));
    QVERIFY(label->text().contains(QStringLiteral("<br><br>Site web: <a href=\"")));
    QVERIFY(label->text().endsWith(QStringLiteral("\">Stratomark</a></p>")));

    QPushButton* ok = dialog->findChild<QPushButton*>();
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    ok->click();
    QVERIFY(!dialog->isVisible());

    actionByText(window, QStringLiteral("A propos de..."))->trigger();
    QVERIFY(TestAccess::currentDialog(window) != dialog);
}

// Last of the program: the translation stays installed.
void TestWindow::qtSpeaksFrench()
{
    AppInfo::speakFrench(*QCoreApplication::instance());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
    QCOMPARE(QDateEdit().displayFormat(), QStringLiteral("dd/MM/yyyy"));
}

STRATOMARK_TEST_MAIN(TestWindow)
#include "tst_window.moc"
