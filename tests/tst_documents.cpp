#include "testsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using Format::DataFileType;
using TestSupport::BoxLog;
using TestSupport::put;

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void recordCounts_data();
    void recordCounts();
    void filesThatCannotBeRead();
    void buildCancelledOrCleared();
    void openDialog();
    void monthFilePath_data();
    void monthFilePath();
    void listingAndLoadingByMonth();
    void saveAs_data();
    void saveAs();
    void failedSavesKeepTheFile();
    void unsavedChangesAreAskedFor_data();
    void unsavedChangesAreAskedFor();
    void openEditorIsCommitted_data();
    void openEditorIsCommitted();

private:
    std::unique_ptr<TestSupport::Editor> e;
};

void TestDocuments::init()
{
    e = std::make_unique<TestSupport::Editor>();
}

void TestDocuments::roundTrip_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wswin_WS") << 0 << 0 << "-12.4" << QByteArray::fromHex("84ff");
    QTest::newRow("wswin_WD") << 1 << 33 << "1.250" << QByteArray::fromHex("e204");
    QTest::newRow("wswin_WM") << 2 << 15 << "97" << QByteArray::fromHex("61");
    QTest::newRow("WS2300") << 3 << 4 << "1013.5" << QByteArray::fromHex("00607d44");
    QTest::newRow("WS3600") << 4 << 9 << "270.0" << QByteArray::fromHex("0c000000");
}

// Every cell shows its field and every label its timestamp; an edit, made while the selector
// shows another type, changes exactly its field's bytes in the saved file, which keeps its header
// or its trailer (refreshed for WS2300) and drops the bytes of an incomplete record.
void TestDocuments::roundTrip()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    QByteArray original = TestSupport::stationFile(DataFileType(type), 3);
    original.insert(original.size() - layout.trailerSize, QByteArray(layout.recordSize - 1, 'x'));
    const QString path = e->open(DataFileType(type), original, QStringLiteral("Été.DAT"));

    QCOMPARE(e->model()->rowCount(), 3);
    QCOMPARE(e->model()->columnCount(), layout.columnCount);
    for (int row = 0; row < 3; ++row) {
        const char* record = original.constData() + layout.headerSize + row * layout.recordSize;
        QCOMPARE(e->label(row), FenPrincipale::timestampText(layout.timestamp, record));
        for (int c = 0; c < layout.columnCount; ++c)
            QCOMPARE(e->cell(row, c), FenPrincipale::fieldText(layout.fields[c], record));
    }
    QCOMPARE(TestAccess::fileLabel(e->window())->text(),
             QStringLiteral("Fichier \"Été.DAT\" : 3 données"));
    for (const char* action :
         {"Imprimer...", "Rechercher une date...", "&Exporter", "&Importer", "Enregistrer sous..."})
        QVERIFY2(e->enabled(QString::fromUtf8(action)), action);
    QVERIFY(!e->enabled(QStringLiteral("Enregistrer")));
    QVERIFY(!e->view()->signalsBlocked());
    for (int t = 0; t < Format::dataFileTypeCount; ++t)
        QCOMPARE(TestAccess::buffers(e->window())[t] != nullptr, t == type);

    TestAccess::fileTypeCombo(e->window())->setCurrentIndex(type == 3 ? 4 : 3);
    e->edit(1, column, text);
    e->trigger(QStringLiteral("Enregistrer"));
    QVERIFY(!e->enabled(QStringLiteral("Enregistrer")));
    QByteArray expected = original;
    expected.remove(layout.headerSize + 3 * layout.recordSize, layout.recordSize - 1);
    expected.replace(layout.headerSize + layout.recordSize + layout.fields[column].offset,
                     bytes.size(), bytes);
    if (layout.trailerSize > 0) {
        const int trailer = expected.size() - layout.trailerSize;
        put<quint32>(expected, trailer + 16, 3);
        put<quint32>(expected, trailer + 20, 3471336000u);
        put<quint32>(expected, trailer + 24, 3471336000u + 1200u);
    }
    QCOMPARE(TestSupport::readFile(path).toHex(), expected.toHex());
    TestAccess::load(e->window(), DataFileType(type), path);
    QCOMPARE(e->cell(1, column), text);
}

void TestDocuments::recordCounts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("records");
    QTest::newRow("WM with a partial record") << 2 << 18 + 30 * 5 + 7 << 5;
    QTest::newRow("WD exact") << 1 << 18 + 76 * 3 << 3;
    QTest::newRow("WS shorter than its header") << 0 << 10 << 0;
    QTest::newRow("WD header only") << 1 << 18 << 0;
    QTest::newRow("3600 exact") << 4 << 560 << 10;
    QTest::newRow("3600 partial") << 4 << 55 << 0;
    QTest::newRow("2300 trailer only") << 3 << 28 << 0;
    QTest::newRow("2300 shorter than its trailer") << 3 << 20 << 0;
    QTest::newRow("2300 with a partial record") << 3 << 28 + 36 * 3 + 35 << 3;
}

// A file without records shows one empty row of the type's columns.
void TestDocuments::recordCounts()
{
    QFETCH(int, type);
    QFETCH(int, size);
    QFETCH(int, records);
    e->open(DataFileType(type), QByteArray(size, '\1'), QStringLiteral("count.DAT"));
    QCOMPARE(TestAccess::recordCount(e->window()), records);
    QCOMPARE(e->model()->rowCount(), qMax(records, 1));
    QCOMPARE(e->model()->columnCount(), Format::layout(DataFileType(type)).columnCount);
    QCOMPARE(e->label(0).isEmpty(), records == 0);
    QCOMPARE(TestAccess::fileLabel(e->window())->text(),
             QStringLiteral("Fichier \"count.DAT\" : %1 données").arg(records));
    QVERIFY(e->enabled(QStringLiteral("&Exporter")));
}

// A missing file, and one with more records than a document can count, leave no document.
void TestDocuments::filesThatCannotBeRead()
{
    QString deep = e->path(QStringLiteral("Données météo"));
    while (deep.toUtf8().size() < 600)
        deep += QStringLiteral("/répertoire-très-profond");
    const QString huge = TestSupport::writeFile(deep + QStringLiteral("/huge.DAT"), QByteArray());
    {
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 40));
    }
    const QString missing = e->path(QStringLiteral("absent/WD_01_15.DAT"));
    BoxLog boxes;
    TestAccess::load(e->window(), DataFileType::WswinWD, missing);
    TestAccess::load(e->window(), DataFileType::WswinWD, huge);
    QFile::remove(huge);
    QCOMPARE(boxes.texts, (QStringList{"Erreur lors de l'ouverture de:\n" + missing,
                                       "Mémoire insuffisante pour lire:\n" + huge}));
    QCOMPARE(e->model()->rowCount(), 1);
    QCOMPARE(TestAccess::fileLabel(e->window())->text(), QString());
    for (char* buffer : TestAccess::buffers(e->window()))
        QVERIFY(!buffer);
    for (const char* off : {"Imprimer...", "Rechercher une date...", "&Exporter", "&Importer",
                            "Enregistrer sous...", "Enregistrer"})
        QVERIFY2(!e->enabled(QString::fromUtf8(off)), off);
    QCOMPARE(e->window().windowTitle(), QStringLiteral("Stratomark v1.0.11"));
}

// "Annuler" in the progress dialog, or anything in the load's event pass that clears the
// document (here the type selector turned), leaves no half-built table; the next load is whole.
void TestDocuments::buildCancelledOrCleared()
{
    const QString file = TestSupport::writeFile(
        e->path(QStringLiteral("c.DAT")), TestSupport::stationFile(DataFileType::WS2300, 3000));
    {
        const auto cancel = TestSupport::whenShown<QProgressDialog>(
            [](QProgressDialog* progress) { progress->cancel(); });
        TestAccess::load(e->window(), DataFileType::WS2300, file);
    }
    QCOMPARE(e->model()->columnCount(), 1);
    QCOMPARE(TestAccess::fileLabel(e->window())->text(), QString());
    QVERIFY(!TestAccess::buffers(e->window())[int(DataFileType::WS2300)]);
    QVERIFY(!e->enabled(QStringLiteral("&Exporter")));

    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [this, &turn] {
        if (TestAccess::buffers(e->window())[int(DataFileType::WswinWD)]) {
            turn.stop();
            TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WswinWM));
        }
    });
    turn.start(0);
    e->open(DataFileType::WswinWD, 2);
    QVERIFY(!turn.isActive());
    QCOMPARE(e->model()->columnCount(), 1);
    QVERIFY(!e->enabled(QStringLiteral("&Exporter")));

    TestAccess::load(e->window(), DataFileType::WS2300, file);
    QCOMPARE(e->model()->rowCount(), 3000);
}

// The type chooser sets the type before the file dialog; cancelling it puts the type back.
void TestDocuments::openDialog()
{
    const QString file = TestSupport::writeFile(e->path(QStringLiteral("o.DAT")),
                                                TestSupport::stationFile(DataFileType::WS3600, 2));
    for (const QString& chosen : {QString(), file}) {
        e->trigger(QStringLiteral("&Ouvrir"));
        QDialog* chooser = TestAccess::currentDialog(e->window());
        QCOMPARE(chooser->windowTitle(), QStringLiteral("Type"));
        auto* types = chooser->findChild<QComboBox*>();
        QCOMPARE(types->count(), 5);
        QCOMPARE(types->currentText(), QStringLiteral("wswin_WD"));
        types->setCurrentText(QStringLiteral("WS3600"));
        const auto answer = TestSupport::chooseFile(chosen);
        chooser->findChild<QPushButton*>()->click();
        QVERIFY(!chooser->isVisible());
    }
    QCOMPARE(TestAccess::fileTypeCombo(e->window())->currentText(), QStringLiteral("WS3600"));
    QCOMPARE(e->model()->rowCount(), 2);
    QCOMPARE(e->model()->columnCount(), 12);
    QCOMPARE(e->window().windowTitle(), QStringLiteral("o.DAT[*] - Stratomark v1.0.11"));
}

void TestDocuments::monthFilePath_data()
{
    QTest::addColumn<QString>("workspace");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("path");
    QTest::newRow("March 2015") << "/data"
                                << "wswin_WS"
                                << "Mars"
                                << "2015"
                                << "/data/WS_03_15.DAT";
    QTest::newRow("trailing slash") << "/data/"
                                    << "wswin_WD"
                                    << "Janvier"
                                    << "2015"
                                    << "/data/WD_01_15.DAT";
    QTest::newRow("October 2009") << "/d"
                                  << "wswin_WM"
                                  << "Octobre"
                                  << "2009"
                                  << "/d/WM_10_09.DAT";
    QTest::newRow("2100") << "/d"
                          << "wswin_WM"
                          << "Décembre"
                          << "2100"
                          << "/d/WM_12_00.DAT";
    QTest::newRow("no year") << "/d"
                             << "wswin_WD"
                             << "Août"
                             << ""
                             << "/d/WD_08_00.DAT";
    QTest::newRow("unknown month") << "/d"
                                   << "wswin_WD"
                                   << "Brumaire"
                                   << "1998"
                                   << "/d/WD_98.DAT";
}

void TestDocuments::monthFilePath()
{
    QFETCH(QString, workspace);
    QFETCH(QString, type);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, path);
    QCOMPARE(TestAccess::monthFilePath(workspace, type, month, year), path);
}

// The listing counts the monthly files of the selected type and offers their years; it clears an
// unmodified table at each change, keeps a modified one, and leaves the station types' tables.
void TestDocuments::listingAndLoadingByMonth()
{
    FenPrincipale& w = e->window();
    const QString folder = e->path(QStringLiteral("Données météo"));
    for (const char* name : {"WS_01_15.DAT", "WS_02_15.dat", "WD_01_15.DAT", "WS_03_91.DAT",
                             "WS_03_90.DAT", "WS_04_15-old.DAT", "WS_03_2015_x.DAT", "ws_05_15.dat",
                             "WS_06_15.txt", "WS_07_15.Dat", "WS_08_2147483000.DAT"})
        TestSupport::writeFile(folder + QLatin1Char('/') + QLatin1String(name),
                               TestSupport::stationFile(DataFileType::WswinWS, 2));
    e->open(DataFileType::WswinWS, 4);
    TestAccess::workspaceEdit(w)->setText(folder);
    QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QStringLiteral("7 fichiers trouvés"));
    QStringList years;
    for (int i = 0; i < TestAccess::yearCombo(w)->count(); ++i)
        years << TestAccess::yearCombo(w)->itemText(i);
    years.sort();
    // The name filters ignore case; a year field too long to be a year reads as 0.
    QCOMPARE(years, (QStringList{"1991", "2000", "2015", "2090"}));
    QCOMPARE(e->model()->rowCount(), 1);

    TestAccess::yearCombo(w)->setCurrentText(QStringLiteral("2015"));
    TestAccess::showButton(w)->click();
    QCOMPARE(TestAccess::fileLabel(w)->text(),
             QStringLiteral("Fichier \"WS_01_15.DAT\" : 2 données"));
    e->edit(0, 0, QStringLiteral("2.5"));
    TestAccess::fileTypeCombo(w)->setCurrentIndex(int(DataFileType::WswinWD));
    QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QStringLiteral("1 fichiers trouvés"));
    QCOMPARE(e->cell(0, 0), QStringLiteral("2.5"));

    TestAccess::fileTypeCombo(w)->setCurrentIndex(int(DataFileType::WS2300));
    for (QWidget* control : std::initializer_list<QWidget*>{
             TestAccess::showButton(w), TestAccess::yearCombo(w), TestAccess::monthCombo(w)})
        QVERIFY(!control->isEnabled());
    QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QString());
    QCOMPARE(TestAccess::yearCombo(w)->count(), 1);
    QCOMPARE(e->model()->rowCount(), 2);
    TestAccess::workspaceEdit(w)->setText(e->path(QStringLiteral("nowhere")));
    TestAccess::fileTypeCombo(w)->setCurrentIndex(int(DataFileType::WswinWM));
    QVERIFY(TestAccess::showButton(w)->isEnabled());
    QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QStringLiteral("0 fichiers trouvés"));
    QCOMPARE(TestAccess::yearCombo(w)->count(), 0);
}

void TestDocuments::saveAs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("DAT filter adds the suffix") << "data2"
                                                << "Fichier DAT (*.DAT)"
                                                << "data2.DAT";
    QTest::newRow("lower-case suffix kept") << "data2.dat"
                                            << "Fichier DAT (*.DAT)"
                                            << "data2.dat";
    QTest::newRow("mixed case gets another") << "data2.Dat"
                                             << "Fichier DAT (*.DAT)"
                                             << "data2.Dat.DAT";
    QTest::newRow("any file") << "data2"
                              << "*.*"
                              << "data2";
    QTest::newRow("cancelled") << ""
                               << ""
                               << "";
}

// Save-as writes the document, header included, even after the loaded file was deleted, and
// the new name becomes the document's.
void TestDocuments::saveAs()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    const QByteArray original = TestSupport::stationFile(DataFileType::WswinWM, 2);
    const QString path = e->open(DataFileType::WswinWM, original);
    e->edit(0, 0, QStringLiteral("5"));
    QVERIFY(QFile::remove(path));
    BoxLog boxes;
    const auto answer = TestSupport::chooseFile(name.isEmpty() ? name : e->path(name), filter);
    e->trigger(QStringLiteral("Enregistrer sous..."));
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(e->enabled(QStringLiteral("Enregistrer")), written.isEmpty());
    if (written.isEmpty())
        return;
    const QByteArray saved = TestSupport::readFile(e->path(written));
    QCOMPARE(saved.left(18), original.left(18));
    QCOMPARE(saved.size(), original.size());
    QCOMPARE(qFromLittleEndian<qint16>(saved.constData() + 18 + 4), qint16(50));
    QCOMPARE(TestAccess::currentFilePath(e->window()), e->path(written));
    QCOMPARE(TestAccess::fileLabel(e->window())->text(),
             QStringLiteral("Fichier \"%1\" : 2 données").arg(written));
}

// A save that cannot open or cannot finish its file leaves the previous file, the document and
// the modified mark as they were, and no temporary behind; a name of 255 bytes saves; the
// replaced file keeps its permissions.
void TestDocuments::failedSavesKeepTheFile()
{
    const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".DAT");
    const QByteArray original = TestSupport::stationFile(DataFileType::WswinWD, 400);
    const QString path = e->open(DataFileType::WswinWD, original, name);
    const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, permissions));
    e->edit(0, 0, QStringLiteral("1.5"));

    BoxLog boxes;
    const QString nowhere = e->path(QStringLiteral("absent/out.DAT"));
    {
        const auto answer = TestSupport::chooseFile(nowhere);
        e->trigger(QStringLiteral("Enregistrer sous..."));
    }
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    e->trigger(QStringLiteral("Enregistrer"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(boxes.texts, (QStringList{"Erreur lors de l'ouverture de:\n" + nowhere,
                                       "Erreur lors de l'écriture de:\n" + path}));
    QCOMPARE(TestSupport::readFile(path), original);
    QCOMPARE(QDir(e->path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    QCOMPARE(TestAccess::currentFilePath(e->window()), path);
    QVERIFY(e->enabled(QStringLiteral("Enregistrer")));

    e->trigger(QStringLiteral("Enregistrer"));
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(qFromLittleEndian<qint16>(TestSupport::readFile(path).constData() + 18 + 4),
             qint16(15));
    QCOMPARE(QFileInfo(path).permissions() & 0xF0FF, permissions);
    if (geteuid() == 0)
        QSKIP("folder permissions do not stop root");
    e->edit(0, 0, QStringLiteral("2.5"));
    QFile::setPermissions(e->path(QString()), QFile::ReadOwner | QFile::ExeOwner);
    e->trigger(QStringLiteral("Enregistrer"));
    QFile::setPermissions(e->path(QString()),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(boxes.texts.last(), "Erreur lors de l'ouverture de:\n" + path);
}

void TestDocuments::unsavedChangesAreAskedFor_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("saved");
    QTest::newRow("load, Oui") << "load"
                               << "Oui" << true << true;
    QTest::newRow("load, Non") << "load"
                               << "Non" << true << false;
    QTest::newRow("load, Annuler") << "load"
                                   << "Annuler" << false << false;
    QTest::newRow("open dialog, Annuler") << "open"
                                          << "Annuler" << false << false;
    QTest::newRow("quit, Oui with a failing save") << "quit"
                                                   << "Oui" << false << false;
}

// Loading another file or quitting asks first; "Annuler" keeps everything, the type selector
// included; a save that fails keeps the program open.
void TestDocuments::unsavedChangesAreAskedFor()
{
    QFETCH(QString, way);
    QFETCH(QString, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);
    FenPrincipale& w = e->window();
    const QString folder = e->path(QStringLiteral("workspace"));
    const QString march =
        TestSupport::writeFile(folder + QStringLiteral("/WD_03_15.DAT"),
                               TestSupport::stationFile(DataFileType::WswinWD, 2));
    TestSupport::writeFile(folder + QStringLiteral("/WD_04_15.DAT"),
                           TestSupport::stationFile(DataFileType::WswinWD, 3));
    TestAccess::workspaceEdit(w)->setText(folder);
    TestAccess::monthCombo(w)->setCurrentText(QStringLiteral("Mars"));
    TestAccess::showButton(w)->click();
    e->edit(0, 0, QStringLiteral("2.5"));
    if (way == QLatin1String("quit"))
        QVERIFY(QDir(folder).removeRecursively());

    BoxLog boxes({answer});
    if (way == QLatin1String("load")) {
        TestAccess::monthCombo(w)->setCurrentText(QStringLiteral("Avril"));
        TestAccess::showButton(w)->click();
    } else if (way == QLatin1String("open")) {
        e->trigger(QStringLiteral("&Ouvrir"));
        TestAccess::currentDialog(w)->findChild<QComboBox*>()->setCurrentText("WS3600");
        TestAccess::currentDialog(w)->findChild<QPushButton*>()->click();
    } else {
        QVERIFY(!TestSupport::quitsWhile([&w] { w.fermeture_programme(); }, 1500));
    }
    QCOMPARE(
        boxes.texts.value(0),
        QStringLiteral("Le document a été modifié.\nVoulez-vous sauvegarder les changements?"));
    QCOMPARE(boxes.texts.size(), way == QLatin1String("quit") ? 2 : 1);
    QCOMPARE(TestAccess::recordCount(w), goesOn ? 3 : 2);
    QCOMPARE(e->enabled(QStringLiteral("Enregistrer")), !goesOn);
    QCOMPARE(e->cell(0, 0) == QStringLiteral("2.5"), !goesOn);
    QCOMPARE(TestAccess::fileTypeCombo(w)->currentText(), QStringLiteral("wswin_WD"));
    const QByteArray marchBytes = TestSupport::readFile(march);
    QCOMPARE(marchBytes.size() > 24 && qFromLittleEndian<qint16>(marchBytes.constData() + 22) == 25,
             saved);
}

void TestDocuments::openEditorIsCommitted_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("save") << "Enregistrer";
    QTest::newRow("quit") << "&Quitter";
    QTest::newRow("close button") << "";
}

// A value still in the cell editor is the user's latest edit: saving writes it, and quitting
// asks about it.
void TestDocuments::openEditorIsCommitted()
{
    QFETCH(QString, action);
    const QString path = e->open(DataFileType::WS3600, 2);
    e->view()->edit(e->model()->index(1, 0));
    auto* editor = e->view()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("12.5"));
    BoxLog boxes({QStringLiteral("Annuler")});
    if (action.isEmpty())
        e->window().close();
    else
        e->trigger(action);
    QCOMPARE(e->cell(1, 0), QStringLiteral("12.5"));
    if (action == QLatin1String("Enregistrer"))
        QCOMPARE(qFromLittleEndian<float>(TestSupport::readFile(path).constData() + 56 + 0x24),
                 12.5f);
    else
        QCOMPARE(boxes.texts.size(), 1);
}

STRATOMARK_TEST_MAIN(TestDocuments)
#include "tst_documents.moc"
