#include "testsupport.h"

#include <unistd.h>

using Format::DataFileType;
using TestSupport::BoxLog;
using TestSupport::put;

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void init() { e = std::make_unique<TestSupport::Editor>(); }
    void roundTrip_data()
    {
        // offset: the field's, as the formats of these files give it
        TestSupport::columns<int, int, int, QString, QByteArray>(
            {"type", "column", "offset", "text", "bytes"});
        QTest::newRow("wswin_WS") << 0 << 0 << 0x04 << "-12.4" << QByteArray::fromHex("84ff");
        QTest::newRow("wswin_WD") << 1 << 33 << 0x36 << "1.250" << QByteArray::fromHex("e204");
        QTest::newRow("wswin_WM") << 2 << 15 << 0x1D << "97" << QByteArray::fromHex("61");
        QTest::newRow("WS2300") << 3 << 4 << 0x08 << "1013.5" << QByteArray::fromHex("00607d44");
        QTest::newRow("WS3600") << 4 << 9 << 0x14 << "270.0" << QByteArray::fromHex("0c000000");
    }
    // Every cell shows its field and every label its timestamp; an edit, made while the selector
    // shows another type, changes exactly its field's bytes in the saved file, which keeps its
    // header or its trailer (refreshed for WS2300) and the bytes of an incomplete record.
    // A month opened before leaves its header to its own type. A document's first save keeps the
    // file it replaces as its backup.
    void roundTrip()
    {
        const auto [type, column, offset, text, bytes] =
            TestSupport::fetch<int, int, int, QString, QByteArray>("type", "column", "offset",
                                                                   "text", "bytes");
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        QByteArray original = TestSupport::stationFile(DataFileType(type), 3);
        original.insert(original.size() - layout.trailerSize,
                        QByteArray(layout.recordSize - 1, 'x'));
        e->open(DataFileType::WswinWM, 1);
        const QString path = e->open(DataFileType(type), original, QStringLiteral("Été.DAT"));
        QCOMPARE(e->size(), QSize(layout.columnCount, 3));
        for (int row = 0; row < 3; ++row) {
            const char* record = original.constData() + layout.headerSize + row * layout.recordSize;
            QCOMPARE(e->label(row), FenPrincipale::timestampText(layout.timestamp, record));
            for (int c = 0; c < layout.columnCount; ++c)
                QCOMPARE(e->cell(row, c), FenPrincipale::fieldText(layout.fields[c], record));
        }
        QCOMPARE(e->fileLabel(), QStringLiteral("Fichier \"Été.DAT\" : 3 données"));
        for (const char* on : {"Imprimer...", "Rechercher une date...", "&Exporter", "&Importer",
                               "Enregistrer sous..."})
            QVERIFY2(e->enabled(on), on);
        QVERIFY(!e->enabled("Enregistrer") && !e->view()->signalsBlocked());
        for (int t = 0; t < Format::dataFileTypeCount; ++t)
            QCOMPARE(TestAccess::buffers(e->window())[t] != nullptr, t == type);

        TestAccess::fileTypeCombo(e->window())->setCurrentIndex(type == 3 ? 4 : 3);
        e->edit(1, column, text);
        e->trigger("Enregistrer");
        QVERIFY(!e->enabled("Enregistrer"));
        QByteArray expected = original;
        expected.replace(layout.headerSize + layout.recordSize + offset, bytes.size(), bytes);
        if (layout.trailerSize > 0) {
            const int trailer = expected.size() - layout.trailerSize;
            put<quint32>(expected, trailer + 16, 3);
            put<quint32>(expected, trailer + 20, 3471336000u);
            put<quint32>(expected, trailer + 24, 3471336000u + 1200u);
        }
        QCOMPARE(TestSupport::readFile(path).toHex(), expected.toHex());
        e->load(DataFileType(type), path);
        QCOMPARE(e->cell(1, column), text);
        QCOMPARE(TestSupport::readFile(path + ".bak"), original);
        e->edit(0, column, text);
        e->trigger("Enregistrer");
        QCOMPARE(TestSupport::readFile(path + ".bak").toHex(), expected.toHex());
    }
    void recordCounts_data()
    {
        TestSupport::columns<int, int, int>({"type", "size", "records"});
        QTest::newRow("WM with a partial record") << 2 << 18 + 30 * 5 + 7 << 5;
        QTest::newRow("WD exact") << 1 << 18 + 76 * 3 << 3;
        QTest::newRow("3600 exact") << 4 << 560 << 10;
        QTest::newRow("3600 partial") << 4 << 55 << 0;
        QTest::newRow("2300 trailer only") << 3 << 28 << 0;
        QTest::newRow("2300 with a partial record") << 3 << 28 + 36 * 3 + 35 << 3;
    }
    // A file without records shows one empty row of the type's columns.
    void recordCounts()
    {
        const auto [type, size, records] =
            TestSupport::fetch<int, int, int>("type", "size", "records");
        e->open(DataFileType(type), QByteArray(size, '\1'), QStringLiteral("count.DAT"));
        QCOMPARE(TestAccess::recordCount(e->window()), records);
        QCOMPARE(e->model()->rowCount(), qMax(records, 1));
        QCOMPARE(e->model()->columnCount(), Format::layout(DataFileType(type)).columnCount);
        QCOMPARE(e->label(0).isEmpty(), records == 0);
        QCOMPARE(e->fileLabel(), QStringLiteral("Fichier \"count.DAT\" : %1 données").arg(records));
        QVERIFY(e->enabled("&Exporter"));
    }
    // A missing file, one with more records than a document can count at the end of a long path,
    // one with one row more than a table can hold, and files shorter than their type's header or
    // trailer leave no document.
    void filesThatCannotBeRead()
    {
        QString deep = e->path(QStringLiteral("Données météo"));
        while (deep.toUtf8().size() < 600)
            deep += QStringLiteral("/répertoire-très-profond");
        const QString missing = e->path(QStringLiteral("absent/WD_01_15.DAT"));
        const QString huge = deep + QStringLiteral("/huge.DAT"), many = e->path("many.DAT");
        for (const auto& [file, size] :
             {qMakePair(huge, qint64(1) << 40),
              qMakePair(many, 18 + 76 * (TestAccess::maximumRecords(DataFileType::WswinWD) + 1))})
            QVERIFY(QFile::resize(TestSupport::writeFile(file, QByteArray()), size));
        const QString shortMonth = TestSupport::writeFile(e->path("s.DAT"), QByteArray(17, '\1'));
        const QString shortHistory = TestSupport::writeFile(e->path("h.DAT"), QByteArray(27, 1));
        BoxLog boxes;
        for (const QString& file : {missing, huge, many, shortMonth})
            e->load(DataFileType::WswinWD, file);
        e->load(DataFileType::WS2300, shortHistory);
        QCOMPARE(
            boxes.texts,
            (QStringList{"Erreur lors de l'ouverture de:\n" + missing,
                         "Mémoire insuffisante pour lire:\n" + huge,
                         "Mémoire insuffisante pour lire:\n" + many,
                         "Le fichier est trop court pour un fichier wswin_WD :\n" + shortMonth,
                         "Le fichier est trop court pour un fichier WS2300 :\n" + shortHistory}));
        e->verifyNoDocument();
    }
    // "Annuler" in the reading's progress dialog leaves the open document as it was, whatever type
    // was being read; that, or anything in its event pass that clears the document (here the type
    // selector turned), leaves no half-read document; another file of the same type loaded in that
    // event pass is shown whole, its edits entered once; the next load is whole.
    void readingCancelledOrOvertaken()
    {
        const QString file = TestSupport::writeFile(
            e->path(QStringLiteral("c.DAT")), TestSupport::stationFile(DataFileType::WS2300, 3000));
        const QString small = TestSupport::writeFile(
            e->path(QStringLiteral("s.DAT")), TestSupport::stationFile(DataFileType::WS2300, 2));
        const QString other =
            TestSupport::writeFile(e->path(QStringLiteral("w.DAT")),
                                   TestSupport::stationFile(DataFileType::WswinWD, 2000));
        e->load(DataFileType::WS2300, file);
        TestAccess::setReadProgressDelay(e->window(), 0);
        {
            const auto cancel =
                TestSupport::whenShown<QProgressDialog>([](QProgressDialog* p) { p->cancel(); });
            e->load(DataFileType::WswinWD, other);
        }
        QCOMPARE(e->size(), QSize(9, 3000));
        QCOMPARE(TestAccess::fileTypeCombo(e->window())->currentIndex(), int(DataFileType::WS2300));
        TestAccess::clearTable(e->window());
        for (int way = 0; way < 3; ++way) {
            // The type read already shown, so that only the load begun meanwhile can tell.
            TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WS2300));
            const auto interrupt = TestSupport::whenShown<QProgressDialog>([&](QProgressDialog* p) {
                if (way == 0)
                    p->cancel();
                else if (way == 1)
                    TestAccess::fileTypeCombo(e->window())
                        ->setCurrentIndex(int(DataFileType::WswinWM));
                else
                    e->load(DataFileType::WS2300, small);
            });
            e->load(DataFileType::WS2300, file);
            if (way < 2)
                e->verifyNoDocument();
        }
        TestAccess::setReadProgressDelay(e->window(), 500);
        QCOMPARE(e->size(), QSize(9, 2));
        e->edit(0, 0, QStringLiteral("2.5"));
        QCOMPARE(TestAccess::undoCount(e->window()), 1);
        e->load(DataFileType::WS2300, file);
        QCOMPARE(e->model()->rowCount(), 3000);
    }
    // The file comes first, then the chooser, on the type its size tells; the chooser's type
    // reaches the selector once the file opens; a cancelled file dialog or chooser leaves the
    // open document, the selector and the listing as they were.
    void openDialog()
    {
        const QString file = TestSupport::writeFile(
            e->path(QStringLiteral("o.DAT")), TestSupport::stationFile(DataFileType::WS3600, 2));
        const QString month =
            TestSupport::writeFile(e->path(QStringLiteral("WD_01_15.DAT")),
                                   TestSupport::stationFile(DataFileType::WswinWD, 3));
        TestAccess::workspaceEdit(e->window())->setText(e->path(QString()));
        e->load(DataFileType::WswinWD, month);
        for (const char* way : {"no file", "Annuler", "OK"}) {
            const auto answer =
                TestSupport::chooseFile(way == QString("no file") ? QString() : file);
            e->trigger("&Ouvrir");
            QDialog* chooser = TestAccess::currentDialog(e->window());
            if (way != QString("no file")) {
                auto* types = chooser->findChild<QComboBox*>();
                QCOMPARE(QStringLiteral("%1 %2 %3")
                             .arg(chooser->windowTitle())
                             .arg(types->count())
                             .arg(types->currentText()),
                         QStringLiteral("Type 5 WS3600"));
                e->click(way);
                QVERIFY(!chooser->isVisible());
            }
            const bool opened = way == QString("OK");
            QCOMPARE(TestAccess::fileTypeCombo(e->window())->currentText(),
                     opened ? QStringLiteral("WS3600") : QStringLiteral("wswin_WD"));
            QCOMPARE(TestAccess::filesFoundLabel(e->window())->text(),
                     opened ? QString() : QStringLiteral("1 fichiers trouvés"));
            QCOMPARE(e->size(), opened ? QSize(12, 2) : QSize(46, 3));
        }
        QCOMPARE(e->window().windowTitle(), QStringLiteral("o.DAT[*] - Stratomark v1.0.11"));
    }
    // The month's path; the listing of a workspace, which counts the monthly files of the selected
    // type, offers their years, clears an unmodified table at each change but keeps a modified one,
    // and leaves the station types' tables alone.
    void monthFiles()
    {
        for (const QStringList& c :
             QList<QStringList>{{"/data", "wswin_WS", "Mars", "2015", "/data/WS_03_15.DAT"},
                                {"/data/", "wswin_WD", "Janvier", "2015", "/data/WD_01_15.DAT"},
                                {"/d", "wswin_WM", "Octobre", "2009", "/d/WM_10_09.DAT"},
                                {"/d", "wswin_WM", "Décembre", "2100", "/d/WM_12_00.DAT"},
                                {"/d", "wswin_WD", "Août", "", "/d/WD_08_00.DAT"},
                                {"/d", "wswin_WD", "Brumaire", "1998", "/d/WD_98.DAT"}})
            QCOMPARE(TestAccess::monthFilePath(c.at(0), c.at(1), c.at(2), c.at(3)), c.at(4));

        FenPrincipale& w = e->window();
        const QString folder = e->path(QStringLiteral("Données météo"));
        for (const char* name :
             {"WS_01_15.DAT", "WS_02_15.dat", "WS_02_15-old.DAT", "WD_01_15.DAT", "WS_03_91.DAT",
              "WS_03_90.DAT", "WS_04_15-old.DAT", "WS_03_2015_x.DAT", "ws_05_15.dat",
              "WS_05_15-old.DAT", "WS_06_15.txt", "WS_07_15.Dat", "WS_08_2147483000.DAT"})
            TestSupport::writeFile(folder + QLatin1Char('/') + QLatin1String(name),
                                   TestSupport::stationFile(DataFileType::WswinWS, 2));
        e->open(DataFileType::WswinWS, 4);
        TestAccess::workspaceEdit(w)->setText(folder);
        QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QStringLiteral("9 fichiers trouvés"));
        QStringList years;
        for (int i = 0; i < TestAccess::yearCombo(w)->count(); ++i)
            years << TestAccess::yearCombo(w)->itemText(i);
        years.sort();
        // The name filters ignore case; a year field too long to be a year reads as 0.
        QCOMPARE(years, (QStringList{"1991", "2000", "2015", "2090"}));
        QCOMPARE(e->model()->rowCount(), 1);
        TestAccess::yearCombo(w)->setCurrentText(QStringLiteral("2015"));
        // A month's file differing by case comes before a copy with a remark.
        QStringList shown;
        for (const char* month : {"Février", "Avril", "Mai", "Janvier"}) {
            TestAccess::monthCombo(w)->setCurrentText(QString::fromUtf8(month));
            TestAccess::showButton(w)->click();
            shown << e->fileLabel();
        }
        QCOMPARE(shown.join(' '), QStringLiteral("Fichier \"WS_02_15.dat\" : 2 données Fichier "
                                                 "\"WS_04_15-old.DAT\" : 2 données Fichier "
                                                 "\"ws_05_15.dat\" : 2 données Fichier "
                                                 "\"WS_01_15.DAT\" : 2 données"));
        e->edit(0, 0, QStringLiteral("2.5"));
        TestAccess::fileTypeCombo(w)->setCurrentIndex(int(DataFileType::WswinWD));
        QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QStringLiteral("1 fichiers trouvés"));
        QCOMPARE(e->cell(0, 0), QStringLiteral("2.5"));
        TestAccess::fileTypeCombo(w)->setCurrentIndex(int(DataFileType::WS2300));
        QVERIFY(!TestAccess::showButton(w)->isEnabled() && !TestAccess::yearCombo(w)->isEnabled() &&
                !TestAccess::monthCombo(w)->isEnabled());
        QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QString());
        QVERIFY(TestAccess::yearCombo(w)->count() == 1 && e->model()->rowCount() == 2);
        TestAccess::workspaceEdit(w)->setText(e->path(QStringLiteral("nowhere")));
        TestAccess::fileTypeCombo(w)->setCurrentIndex(int(DataFileType::WswinWM));
        QVERIFY(TestAccess::showButton(w)->isEnabled());
        QCOMPARE(TestAccess::filesFoundLabel(w)->text(), QStringLiteral("0 fichiers trouvés"));
        QCOMPARE(TestAccess::yearCombo(w)->count(), 0);
    }
    void saveAs_data()
    {
        TestSupport::columns<QString, QString, QString>({"name", "filter", "written"});
        const auto row = [](const char* title, const char* name, const char* filter,
                            const char* written) {
            QTest::newRow(title) << name << filter << written;
        };
        const char* dat = "Fichier DAT (*.DAT)";
        row("DAT filter adds the suffix", "data2", dat, "data2.DAT");
        row("lower-case suffix kept", "data2.dat", dat, "data2.dat");
        row("mixed case gets another", "data2.Dat", dat, "data2.Dat.DAT");
        row("any file", "data2", "*.*", "data2");
        row("cancelled", "", "", "");
    }
    // Save-as writes the document, header included, even after the loaded file was deleted, and
    // the new name becomes the document's; cancelled, it keeps the modified mark.
    void saveAs()
    {
        const auto [name, filter, written] =
            TestSupport::fetch<QString, QString, QString>("name", "filter", "written");
        const QByteArray original = TestSupport::stationFile(DataFileType::WswinWM, 2);
        QVERIFY(QFile::remove(e->open(DataFileType::WswinWM, original)));
        e->edit(0, 0, QStringLiteral("5"));
        BoxLog boxes;
        const auto answer = TestSupport::chooseFile(name.isEmpty() ? name : e->path(name), filter);
        e->trigger("Enregistrer sous...");
        QCOMPARE(boxes.texts, QStringList());
        QCOMPARE(e->enabled("Enregistrer"), written.isEmpty());
        if (written.isEmpty())
            return;
        QByteArray expected = original;
        put<qint16>(expected, 18 + 4, 50);
        QCOMPARE(TestSupport::readFile(e->path(written)).toHex(), expected.toHex());
        QCOMPARE(TestAccess::currentFilePath(e->window()), e->path(written));
        QCOMPARE(e->fileLabel(), QStringLiteral("Fichier \"%1\" : 2 données").arg(written));
    }
    // A save that cannot open or cannot finish its file leaves the previous file, the document and
    // the modified mark as they were, and no temporary behind; a backup that cannot be written is
    // asked about each time, and "Non" writes nothing; a name of 255 bytes saves; the replaced file
    // keeps its permissions.
    void failedSavesKeepTheFile()
    {
        const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".DAT");
        const QByteArray original = TestSupport::stationFile(DataFileType::WswinWD, 400);
        const QString path = e->open(DataFileType::WswinWD, original, name);
        const QFile::Permissions permissions =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, permissions));
        e->edit(0, 0, QStringLiteral("1.5"));
        BoxLog boxes({"", "Non", "Oui"});
        const QString nowhere = e->path(QStringLiteral("absent/out.DAT"));
        {
            const auto answer = TestSupport::chooseFile(nowhere);
            e->trigger("Enregistrer sous...");
        }
        TestSupport::withFileSizeLimit(4096, [this] {
            e->trigger("Enregistrer");
            e->trigger("Enregistrer");
        });
        const QString noBackup = QStringLiteral("La copie de sauvegarde « %1.bak » n'a pas pu être "
                                                "écrite à côté du fichier.\nEnregistrer sans copie "
                                                "de sauvegarde ?")
                                     .arg(name);
        QCOMPARE(boxes.texts, (QStringList{"Erreur lors de l'ouverture de:\n" + nowhere, noBackup,
                                           noBackup, "Erreur lors de l'écriture de:\n" + path}));
        QCOMPARE(TestSupport::readFile(path), original);
        QCOMPARE(QDir(e->path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        QCOMPARE(TestAccess::currentFilePath(e->window()), path);
        QVERIFY(e->enabled("Enregistrer"));

        e->trigger("Enregistrer");
        QCOMPARE(boxes.texts.size(), 4);
        QCOMPARE(qFromLittleEndian<qint16>(TestSupport::readFile(path).constData() + 22), 15);
        QCOMPARE(QFileInfo(path).permissions() & 0xF0FF, permissions);
        if (geteuid() == 0)
            QSKIP("folder permissions do not stop root");
        e->edit(0, 0, QStringLiteral("2.5"));
        QFile::setPermissions(e->path(QString()), QFile::ReadOwner | QFile::ExeOwner);
        e->trigger("Enregistrer");
        QFile::setPermissions(e->path(QString()),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(boxes.texts.last(), "Erreur lors de l'ouverture de:\n" + path);
    }
    // A row added and never dated keeps the document from being written, whichever way it is
    // saved: the box names the row, five at most, and shows it. Dated, the row's values left "--"
    // are saved as 0 only once the user says so, and then shown as the file holds them.
    void addedRowsAreSavedWhole()
    {
        const QByteArray original = TestSupport::stationFile(DataFileType::WS2300, 3);
        const QString path = e->open(DataFileType::WS2300, original);
        e->view()->setCurrentIndex(e->model()->index(0, 0));
        e->window().addRow();
        e->view()->setCurrentIndex(e->model()->index(3, 0));
        {
            BoxLog boxes({"", "", "Oui"});
            const auto elsewhere = TestSupport::chooseFile(e->path(QStringLiteral("other.DAT")));
            e->trigger("Enregistrer");
            e->trigger("Enregistrer sous...");
            QVERIFY(!TestSupport::quitsWhile([this] { e->window().fermeture_programme(); }, 1500));
            const QString undated =
                QStringLiteral("Donnez une date à la ligne 2 avant d'enregistrer.");
            QCOMPARE(boxes.texts, (QStringList{undated, undated,
                                               "Le document a été modifié.\nVoulez-vous "
                                               "sauvegarder les changements?",
                                               undated}));
        }
        QCOMPARE(e->view()->currentIndex().row(), 1);
        QCOMPARE(QDir(e->path(QString())).entryList(QDir::Files), QStringList{"f.DAT"});
        QVERIFY(TestSupport::readFile(path) == original && e->enabled("Enregistrer"));
        e->clickRowHeader(1, {}, true);
        e->answerDateDialog(QStringLiteral("01/01/2010 12:05"));
        e->edit(1, 0, QStringLiteral("21.5"));
        for (const QString& answer : {QStringLiteral("Non"), QStringLiteral("Oui")}) {
            BoxLog boxes({answer});
            e->trigger("Enregistrer");
            QCOMPARE(boxes.texts, QStringList{"8 valeurs des lignes ajoutées sont encore « -- » : "
                                              "elles seront enregistrées comme 0.\nEnregistrer "
                                              "quand même ?"});
            QCOMPARE(TestSupport::readFile(path) == original, answer == QLatin1String("Non"));
        }
        const QStringList saved = e->grid();
        QCOMPARE(saved.at(1).section('|', 0, 4), QStringLiteral("01/01/2010 12:05|21.5|0.0|0|0"));
        e->load(DataFileType::WS2300, path);
        QCOMPARE(e->grid(), saved);
        QCOMPARE(
            TestAccess::undatedRowsText({0, 2, 9}) +
                TestAccess::undatedRowsText({6, 1, 2, 3, 4, 5, 0}),
            QStringLiteral("Donnez une date aux lignes 1, 3 et 10 avant d'enregistrer.Donnez une "
                           "date aux lignes 7, 2, 3, 4, 5 et aux 2 autres lignes sans date avant "
                           "d'enregistrer."));
    }
    void unsavedChangesAreAskedFor_data()
    {
        TestSupport::columns<QString, QString, bool>({"way", "answer", "goesOn"});
        const auto row = [](const char* title, const char* way, const char* answer, bool goesOn) {
            QTest::newRow(title) << way << answer << goesOn;
        };
        row("load, Oui", "load", "Oui", true);
        row("load, Non", "load", "Non", true);
        row("load, Annuler", "load", "Annuler", false);
        row("open dialog, Annuler", "open", "Annuler", false);
        row("quit, Oui with a failing save", "quit", "Oui", false);
        row("save with the editor open", "save", "", false);
        row("quit with the editor open", "&Quitter", "Annuler", false);
        row("close button with the editor open", "close", "Annuler", false);
    }
    // Loading another file or quitting asks first, about a value still in the cell editor too;
    // "Annuler" keeps everything, the type selector included; a save that fails keeps the program
    // open; saving writes the editor's value.
    void unsavedChangesAreAskedFor()
    {
        const auto [way, answer, goesOn] =
            TestSupport::fetch<QString, QString, bool>("way", "answer", "goesOn");
        FenPrincipale& w = e->window();
        const QString folder = e->path(QStringLiteral("workspace"));
        const QString march =
            TestSupport::writeFile(folder + QStringLiteral("/WD_03_15.DAT"),
                                   TestSupport::stationFile(DataFileType::WswinWD, 2));
        TestSupport::writeFile(folder + QStringLiteral("/WD_04_15.DAT"),
                               TestSupport::stationFile(DataFileType::WswinWD, 3));
        // From the first step, so that a box shown before the question fails the test.
        BoxLog boxes({answer});
        TestAccess::workspaceEdit(w)->setText(folder);
        TestAccess::monthCombo(w)->setCurrentText(QStringLiteral("Mars"));
        TestAccess::showButton(w)->click();
        const bool editorOpen = way != QLatin1String("load") && way != QLatin1String("open") &&
                                way != QLatin1String("quit");
        // A text kept in the table, as its record would show it otherwise, must not outlive it.
        editorOpen ? e->typeInEditor(0, 0, QStringLiteral("2.50"))
                   : e->edit(0, 0, QStringLiteral("2.50"));
        if (way == QLatin1String("quit"))
            QVERIFY(QDir(folder).removeRecursively());
        if (way == QLatin1String("load")) {
            TestAccess::monthCombo(w)->setCurrentText(QStringLiteral("Avril"));
            TestAccess::showButton(w)->click();
        } else if (way == QLatin1String("open")) {
            const auto file = TestSupport::chooseFile(
                TestSupport::writeFile(e->path(QStringLiteral("o.DAT")),
                                       TestSupport::stationFile(DataFileType::WS3600, 2)));
            e->trigger("&Ouvrir");
            e->click("OK");
        } else if (way == QLatin1String("quit")) {
            QVERIFY(!TestSupport::quitsWhile([&w] { w.fermeture_programme(); }, 1500));
        } else if (way == QLatin1String("close")) {
            w.close();
        } else {
            e->trigger(way == QLatin1String("save") ? "Enregistrer" : "&Quitter");
        }
        const QByteArray saved = TestSupport::readFile(march);
        const bool written =
            saved.size() > 24 && qFromLittleEndian<qint16>(saved.constData() + 22) == 25;
        QCOMPARE(written,
                 (answer == QLatin1String("Oui") && goesOn) || way == QLatin1String("save"));
        QCOMPARE(boxes.texts.size(), way == QLatin1String("quit") ? 2 : answer.isEmpty() ? 0 : 1);
        if (!answer.isEmpty())
            QCOMPARE(boxes.texts.first(), QStringLiteral("Le document a été modifié.\nVoulez-vous "
                                                         "sauvegarder les changements?"));
        QCOMPARE(TestAccess::recordCount(w), goesOn ? 3 : 2);
        QCOMPARE(e->enabled("Enregistrer"), !goesOn && way != QLatin1String("save"));
        QCOMPARE(e->cell(0, 0) == QStringLiteral("2.50"), !goesOn);
        QCOMPARE(TestAccess::fileTypeCombo(w)->currentText(), QStringLiteral("wswin_WD"));
    }
    // A file named on the command line or dropped opens as its name or size tells, the first of
    // several; one that cannot be read gets a box and leaves the open document alone; a drop with
    // nothing to open is refused; a modified document is asked for first.
    void openingFromOutside()
    {
        FenPrincipale& w = e->window();
        const QString history = TestSupport::writeFile(
            e->path(QStringLiteral("h.dat")), TestSupport::stationFile(DataFileType::WS3600, 2));
        const QString empty = TestSupport::writeFile(e->path(QStringLiteral("e.DAT")), {});
        const QString absent = e->path(QStringLiteral("absent.DAT"));
        const QString month = e->open(DataFileType::WswinWD, 3);
        e->edit(0, 0, QStringLiteral("2.5"));
        BoxLog boxes({"", "", "", "Annuler", "Non"});
        for (const QString& path : {absent, e->path(QString()), empty})
            w.openFiles({path, history});
        const auto drop = [](QWidget* on, const QStringList& paths, const QUrl& other = QUrl()) {
            QMimeData data;
            QList<QUrl> urls{other};
            for (const QString& path : paths)
                urls << QUrl::fromLocalFile(path);
            data.setUrls(urls);
            data.setText(urls.last().toString());
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(on, &enter);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(on, &event);
            QTest::qWait(10);
            return enter.isAccepted() && event.isAccepted();
        };
        QVERIFY(QDir(e->path(QString())).mkdir(QStringLiteral("d.DAT")));
        TestSupport::writeFile(e->path(QStringLiteral("x.txt")), TestSupport::readFile(history));
        QVERIFY(!drop(&w,
                      {absent, e->path(QStringLiteral("d.DAT")), e->path(QStringLiteral("x.txt"))},
                      QUrl("http://a.org/h.DAT")));
        QVERIFY(drop(TestAccess::workspaceEdit(w), {history, month}));
        QCOMPARE(e->cell(0, 0), QStringLiteral("2.5"));
        QVERIFY(drop(e->view()->viewport(), {history, month, empty}, QUrl("http://a.org/h.DAT")));
        QVERIFY(TestAccess::workspaceEdit(w)->text().isEmpty());
        QCOMPARE(boxes.texts.mid(0, 3),
                 (QStringList{QStringLiteral("Le fichier « %1 » n'existe pas.").arg(absent),
                              QStringLiteral("« %1 » est un dossier, pas un fichier de données.")
                                  .arg(e->path(QString())),
                              QStringLiteral("Le fichier « %1 » est vide : il n'a aucun "
                                             "enregistrement.")
                                  .arg(empty)}));
        QCOMPARE(boxes.texts.size(), 5);
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(TestAccess::fileTypeCombo(w)->currentText(), e->fileLabel(),
                          TestAccess::statusBar(w)->currentMessage()),
                 QStringLiteral("WS3600 Fichier \"%1\" : 2 données 2 autres fichiers laissés de "
                                "côté : un seul document s'ouvre à la fois.")
                     .arg(QFileInfo(history).fileName()));
    }
    // Each type's columns come back as its last document left them; one without a width of its
    // own, hidden then or of another type, is sized to its contents.
    void columnWidthsFollowTheType()
    {
        QHeaderView* header = e->view()->horizontalHeader();
        const auto contents = [this, header](int column) {
            return qMax(static_cast<QAbstractItemView*>(e->view())->sizeHintForColumn(column),
                        header->sectionSizeHint(column));
        };
        e->open(DataFileType::WswinWD, 3);
        header->resizeSection(1, contents(1) + 37);
        e->view()->setColumnHidden(0, true);
        e->open(DataFileType::WswinWS, 3);
        QCOMPARE(header->sectionSize(1), contents(1));
        header->resizeSection(0, contents(0) + 23);
        e->open(DataFileType::WswinWD, 3);
        QCOMPARE((QVector<int>{header->sectionSize(0), header->sectionSize(1)}),
                 (QVector<int>{contents(0), contents(1) + 37}));
    }
    // The files opened last, newest first, eight at most, with their types, come back at the next
    // start; of a list edited by hand only absolute paths of known types are kept, once each; a
    // file gone since is taken off the list with a box.
    void recentFiles()
    {
        const auto menu = [](FenPrincipale& w) {
            for (auto* found : w.findChildren<QMenu*>()) {
                if (found->title() == QStringLiteral("Fichiers récents"))
                    return found;
            }
            return static_cast<QMenu*>(nullptr);
        };
        const auto listed = [&menu](FenPrincipale& w) {
            QStringList texts;
            for (QAction* action : menu(w)->actions())
                texts << action->text();
            return texts;
        };
        for (int i = 0; i < 10; ++i)
            e->open(DataFileType(i % 2 * 3), TestSupport::stationFile(DataFileType(i % 2 * 3), 2),
                    QStringLiteral("f%1&.DAT").arg(i));
        e->open(DataFileType::WswinWS, 2);
        e->open(DataFileType::WswinWS, 2);
        auto again = std::make_unique<FenPrincipale>();
        QStringList texts = listed(*again);
        QCOMPARE(texts, listed(e->window()));
        QCOMPARE(texts.size(), 8);
        QCOMPARE(texts.mid(0, 3), (QStringList{"&1 f.DAT (wswin_WS)", "&2 f9&&.DAT (WS2300)",
                                               "&3 f8&&.DAT (wswin_WS)"}));
        QVERIFY(QFile::remove(e->path(QStringLiteral("f9&.DAT"))));
        BoxLog boxes;
        menu(*again)->actions().at(1)->trigger();
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("Le fichier « %1 » n'existe plus : il est "
                                                         "retiré des fichiers récents.")
                                              .arg(e->path(QStringLiteral("f9&.DAT")))});
        QCOMPARE(listed(*again).mid(0, 2),
                 (QStringList{"&1 f.DAT (wswin_WS)", "&2 f8&&.DAT (wswin_WS)"}));
        again.reset();
        e.reset();
        QSettings settings(TestAccess::settingsPath(), QSettings::IniFormat);
        settings.beginWriteArray(QStringLiteral("RecentFiles"));
        const QStringList stored{"a.DAT WS2300", "/b.DAT WS9", "/c.DAT WS3600", "/c.DAT WS2300",
                                 " WS2300"};
        for (int i = 0; i < stored.size(); ++i) {
            settings.setArrayIndex(i);
            settings.setValue(QStringLiteral("path"), stored.at(i).section(' ', 0, 0));
            settings.setValue(QStringLiteral("type"), stored.at(i).section(' ', 1));
        }
        settings.endArray();
        settings.sync();
        QCOMPARE(listed(*std::make_unique<FenPrincipale>()), QStringList{"&1 c.DAT (WS3600)"});
    }

private:
    std::unique_ptr<TestSupport::Editor> e;
};

STRATOMARK_TEST_MAIN(TestDocuments)
#include "tst_documents.moc"
