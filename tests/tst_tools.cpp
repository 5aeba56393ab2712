#include "synthetic.h"
#include "testsupport.h"

#include <QtPrintSupport>

using Format::DataFileType;

class TestTools : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        e = std::make_unique<TestSupport::Editor>();
        boxes = std::make_unique<TestSupport::BoxLog>();
    }
    void sensorChoice_data()
    {
        TestSupport::columns<int, int, int>({"document", "selector", "left"});
        QTest::newRow("wswin_WD, WS2300 selected") << int(DataFileType::WswinWD) << 3 << 23;
        QTest::newRow("wswin_WS, WS2300 selected") << int(DataFileType::WswinWS) << 3 << 21;
        QTest::newRow("wswin_WM, WS3600 selected") << int(DataFileType::WswinWM) << 4 << 8;
        QTest::newRow("WS3600, WS2300 selected") << int(DataFileType::WS3600) << 3 << 6;
        QTest::newRow("WS2300, WS3600 selected") << int(DataFileType::WS2300) << 4 << 4;
        QTest::newRow("no document, WS2300 selected") << -1 << 3 << 4;
    }
    // The boxes are those of the shown document's type, whatever the selector shows since, or with
    // no document those of the selector's type: the first half on the left, in the columns' order.
    // The choice is saved for that type only, and hides the column now and after a reload.
    void sensorChoice()
    {
        const auto [document, selector, left] =
            TestSupport::fetch<int, int, int>("document", "selector", "left");
        const DataFileType type = DataFileType(document < 0 ? selector : document);
        const QString path = document < 0 ? QString() : load(type, 2);
        TestAccess::fileTypeCombo(e->window())->setCurrentIndex(selector);
        e->trigger("Sondes...");
        QCOMPARE(TestAccess::sensorForm(e->window(), false)->rowCount(), left);
        QStringList labels;
        for (QFormLayout* form : {TestAccess::sensorForm(e->window(), false),
                                  TestAccess::sensorForm(e->window(), true)}) {
            for (int row = 0; row < form->rowCount(); ++row)
                labels << qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget())
                              ->text();
        }
        QStringList names;
        for (const QString& header : FenPrincipale::headerList(type))
            names << header.section('\n', 0, 0);
        QCOMPARE(labels, names);

        const QList<QCheckBox*> boxes = TestAccess::sensorBoxes(e->window());
        QPushButton* selectAll = TestAccess::selectAllButton(e->window());
        QCOMPARE(selectAll->text(), QStringLiteral("Tout sélectionner/desélectionner"));
        boxes.last()->setChecked(false);
        for (const char* text :
             {"Tout desélectionner", "Tout sélectionner", "Tout desélectionner"}) {
            const bool checking = selectAll->text() != QStringLiteral("Tout desélectionner");
            selectAll->click();
            QCOMPARE(selectAll->text(), QString::fromUtf8(text));
            for (QCheckBox* box : boxes)
                QCOMPARE(box->isChecked(), checking);
        }
        boxes.at(left)->setChecked(false);
        e->click("OK");
        QVERIFY(!TestAccess::currentDialog(e->window())->isVisible());
        QStringList typeGroups;
        for (const Format::RecordLayout& layout : Format::layouts)
            typeGroups << layout.name;
        QCOMPARE(QSettings(TestAccess::settingsPath(), QSettings::IniFormat)
                     .childGroups()
                     .filter(QRegularExpression("^(" + typeGroups.join('|') + ")$")),
                 QStringList{Format::layout(type).name});

        if (document >= 0)
            e->load(type, path);
        for (int column = 0; document >= 0 && column < names.size(); ++column)
            QCOMPARE(e->view()->isColumnHidden(column), column == left);
        e->trigger("Sondes...");
        TestAccess::sensorBoxes(e->window()).at(left)->setChecked(true);
        e->click("Annuler");
        e->trigger("Sondes...");
        QVERIFY(!TestAccess::sensorBoxes(e->window()).at(left)->isChecked());
    }
    void exportBytes_data()
    {
        TestSupport::columns<int, int, QString>({"scope", "separator", "expected"});
        QTest::newRow("Tout ;") << 0 << 0
                                << "Date;Heure;Temp. I. (°C);Temp. E. (°C);Hum. I. (%);Hum. E. (%);"
                                   "Pression Abs (hPa);Pluie totale (mm);Vit. Vent (Km/h);"
                                   "Direction (°);unknown;\n"
                                   "01/01/2014;00:00;20.5;-3.0;45;80;1013.2;12.345;7.2;225.0;0;\n"
                                   "--/--/----;--:--;--;--;--;--;--;--;--;--;--;\n";
        QTest::newRow("Données affichées ,")
            << 1 << 1
            << "Date,Heure,Temp. I. (°C),Temp. E. (°C),Hum. E. (%),Pression Abs (hPa),"
               "Pluie totale (mm),Vit. Vent (Km/h),Direction (°),\n"
               "01/01/2014,00:00,20.5,-3.0,80,1013.2,12.345,7.2,225.0,\n"
               "--/--/----,--:--,--,--,--,--,--,--,--,\n";
    }
    // The table as shown, an added row's placeholders included, in ISO 8859-1.
    void exportBytes()
    {
        const auto [scope, separator, expected] =
            TestSupport::fetch<int, int, QString>("scope", "separator", "expected");
        load(DataFileType::WS2300, 2);
        TableModel* model = e->model();
        {
            const QSignalBlocker blocker(model);
            const QStringList values{"20.5",   "-3.0",   "45",  "80",
                                     "1013.2", "12.345", "7.2", "225.0"};
            for (int column = 0; column < 9; ++column) {
                model->setData(model->index(0, column), values.value(column, "0"), Qt::EditRole);
                model->setData(model->index(1, column), "--", Qt::EditRole);
            }
            model->setHeaderData(1, Qt::Vertical, "--/--/---- --:--", Qt::EditRole);
        }
        e->view()->setColumnHidden(2, true);
        e->view()->setColumnHidden(8, true);
        exportTo(e->path("out.csv"), scope, separator);
        QCOMPARE(TestSupport::readFile(e->path("out.csv")), expected.toLatin1());
        QVERIFY(!e->enabled("Enregistrer"));
    }
    void exportKeepsOrReplaces_data()
    {
        TestSupport::columns<QString, QString, QString, QString, QString, QString>(
            {"action", "name", "filter", "target", "reply", "message"});
        const auto row = [](const char* title, const QStringList& texts) {
            QTest::newRow(title) << texts.at(0) << texts.at(1) << texts.at(2) << texts.at(3)
                                 << texts.at(4) << texts.value(5);
        };
        const QString csv = QStringLiteral("Fichier CSV (*.csv)");
        const QString question = QStringLiteral("Le fichier \"%1\" existe déjà. Voulez-vous le "
                                                "remplacer ?");
        row("csv appended", {"&Exporter", "out", csv, "out.csv", ""});
        row("txt kept", {"&Exporter", "out.txt", csv, "out.txt", ""});
        row("txt appended", {"&Exporter", "o.Csv", "Fichier Texte (*.txt)", "o.Csv.txt", ""});
        row("any file as typed", {"&Exporter", "out", "*.*", "out", ""});
        row("appended name replaced",
            {"&Exporter", "o", csv, "o.csv", "Oui", question.arg("o.csv")});
        row("appended name kept", {"&Exporter", "o", csv, "o.csv", "Non", question.arg("o.csv")});
        row("save as name kept", {"Enregistrer sous...", "o", "Fichier DAT (*.DAT)", "o.DAT", "Non",
                                  question.arg("o.DAT")});
        row("Annuler", {"&Exporter", "o", "*.*", "o", "Annuler"});
        row("write fails",
            {"&Exporter", "o", "*.*", "o", "write", "Erreur lors de l'écriture de:\n{}"});
        row("open fails",
            {"&Exporter", "absent/o", "*.*", "o", "open", "Erreur lors de l'ouverture de:\n{}"});
    }
    // A file that has the chosen name is replaced only by a whole export, and one that an appended
    // suffix names, which the file dialog did not ask about, only after a question.
    void exportKeepsOrReplaces()
    {
        QString action, name, filter, target, reply, message;
        std::tie(action, name, filter, target, reply, message) =
            TestSupport::fetch<QString, QString, QString, QString, QString, QString>(
                "action", "name", "filter", "target", "reply", "message");
        load(DataFileType::WS2300, 300);
        if (!reply.isEmpty())
            TestSupport::writeFile(e->path(target), "old");
        boxes = std::make_unique<TestSupport::BoxLog>(QStringList{reply});
        const auto cancel = TestSupport::whenShown<QProgressDialog>([reply](QProgressDialog* p) {
            if (reply == QLatin1String("Annuler"))
                p->cancel();
        });
        TestSupport::withFileSizeLimit(reply == QLatin1String("write") ? 4096 : 1 << 30, [&] {
            if (action == QLatin1String("&Exporter")) {
                exportTo(e->path(name), 0, 0, filter);
            } else {
                const auto file = TestSupport::chooseFile(e->path(name), filter);
                e->trigger(action.toUtf8().constData());
            }
        });

        QCOMPARE(boxes->texts, message.isEmpty()
                                   ? QStringList()
                                   : QStringList{message.replace("{}", e->path(name))});
        const bool kept = !reply.isEmpty() && reply != QLatin1String("Oui");
        QCOMPARE(TestSupport::readFile(e->path(target)).startsWith(kept ? "old" : "Date;Heure;"),
                 true);
        QCOMPARE(QDir(e->path(QString())).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"doc.DAT", target}));
    }
    void importRoundTrip_data()
    {
        TestSupport::columns<int, int, QString>({"scope", "separator", "encoding"});
        QTest::newRow("Tout ; ISO 8859-1") << 0 << 0 << "latin1";
        QTest::newRow("Données affichées , ISO 8859-1") << 1 << 1 << "latin1";
        QTest::newRow("Tout , UTF-8") << 0 << 1 << "utf8";
        QTest::newRow("Données affichées ; UTF-8 with BOM") << 1 << 0 << "bom";
    }
    // Exported, changed in a spreadsheet, saved as the spreadsheet likes and imported: the table,
    // and after saving the file, hold exactly the changed values and date.
    void importRoundTrip()
    {
        const auto [scope, separator, encoding] =
            TestSupport::fetch<int, int, QString>("scope", "separator", "encoding");
        // Row 0, left as it is, holds more than its texts show: a fraction of a degree and seconds.
        QByteArray file =
            Synthetic::stationFile(DataFileType::WS2300, QDate(2014, 1, 1).startOfDay(), 10, 3);
        TestSupport::put<float>(file, 0x18, 21.37f);
        TestSupport::put<quint32>(file, 4, qFromLittleEndian<quint32>(file.constData() + 4) + 17);
        const QString path = TestSupport::writeFile(e->path("doc.DAT"), file);
        e->load(DataFileType::WS2300, path);
        const QStringList original = e->grid();
        e->view()->setColumnHidden(2, true);
        e->edit(1, 0, "-7.5");
        e->edit(2, 3, "99");
        QStringList expected = e->grid();
        const QString date = QStringLiteral("02/03/2015 04:05");
        expected[1] = date + expected.at(1).mid(date.size());
        const QString exported = e->path("round.csv");
        exportTo(exported, scope, separator);

        const QString sep = separator == 0 ? ";" : ",";
        QString text = QString::fromLatin1(TestSupport::readFile(exported));
        text.replace(e->label(1).replace(' ', sep), QString(date).replace(' ', sep));
        QByteArray bytes = encoding == QLatin1String("latin1") ? text.toLatin1() : text.toUtf8();
        TestSupport::writeFile(exported,
                               encoding == QLatin1String("bom") ? "\xEF\xBB\xBF" + bytes : bytes);
        e->load(DataFileType::WS2300, path);
        importFrom(exported);
        QCOMPARE(e->grid(), expected);
        QVERIFY(e->enabled("Enregistrer"));
        e->trigger("Annuler");
        QCOMPARE(e->grid().at(2), original.at(2));
        e->trigger("Rétablir");
        e->trigger("Enregistrer");
        QCOMPARE(TestSupport::readFile(path).left(36), file.left(36));
        e->load(DataFileType::WS2300, path);
        QCOMPARE(e->grid(), expected);
    }
    void importFaults_data()
    {
        TestSupport::columns<QString, QString, QStringList>({"file", "message", "changes"});
        QTest::newRow("foreign column") << "Date;Heure;Note;Temp. E. (°C);Hum. E. (%);\n"
                                           "{D0};hello;-5.5;41;\n{D1};; ;42;\n"
                                        << "" << QStringList{"0,2=-5.5", "0,4=41", "1,4=42"};
        QTest::newRow("a name twice") << "Date;Heure;Temp. I. (°C);Temp. I. (°C)\n{D0};1.5;2.5\n"
                                         "{D1};3.5;4.5\n"
                                      << "" << QStringList{"0,1=1.5", "1,1=3.5"};
        QTest::newRow("short lines") << "Date;Heure;Temp. I. (°C);Temp. E. (°C)\n{D0};3.5\nseul\n"
                                     << "" << QStringList{"0,1=3.5"};
        QTest::newRow("empty lines at the end") << "Date;Heure;Hum. I. (%);\n{D0};7;\n{D1};8;\n\n\n"
                                                << "" << QStringList{"0,3=7", "1,3=8"};
        QTest::newRow("one line too many")
            << "Date;Heure;Hum. I. (%);\n{D0};7;\n{D1};8;\n{D1};9;\n"
            << "Le fichier ne contient pas le même nombre de lignes que le tableau"
            << QStringList();
        QTest::newRow("refused values, the others imported")
            << "Date;Heure;Temp. I. (°C);Temp. E. (°C);Hum. I. "
               "(%)\n{D0};abc;2,5;12,5\n{D1};3000;;9\n"
            << "3 valeurs du fichier sont refusées :\n"
               "{L0}, Temp. I. (°C) : \"abc\" — « abc » n'est pas un nombre.\n"
               "{L0}, Hum. I. (%) : \"12.5\" — Cette colonne ne garde pas de décimale.\n"
               "{L1}, Temp. I. (°C) : \"3000\" — Temp. I. : les valeurs vont de -50 à 2000.\n\n"
               "Importer les autres valeurs ?"
            << QStringList{"0,2=2.5", "1,3=9"};
        QTest::newRow("dates") << "Date;Heure\n02/03/2015;04:05\n31/12/1899;23:59\n"
                               << "1 valeur du fichier est refusée :\n{L1}, Date Heure : "
                                  "\"31/12/1899 23:59\" — La date du 31/12/1899 23:59 ne peut pas "
                                  "être enregistrée dans ce fichier.\n\nImporter les autres "
                                  "valeurs ?"
                               << QStringList{"0,0=02/03/2015 04:05"};
        QTest::newRow("quoted fields")
            << "Date,Heure,\"Note \"\"a;b\"\"\",\"Temp. I. (°C)\"\n"
               "01/01/2014,00:00,\"x,y\",\"1.5\"\n01/01/2014,00:10,,-2.5\n"
            << "" << QStringList{"0,1=1.5", "1,1=-2.5"};
        QTest::newRow("a \",\" file's thousands")
            << "Date,Heure,Temp. I. (°C)\n01/01/2014,00:00,\"1,013\"\n01/01/2014,00:10,\n"
            << "1 valeur du fichier est refusée :\n01/01/2014 00:00, Temp. I. (°C) : \"1,013\" — "
               "« 1,013 » n'est pas un nombre."
            << QStringList();
        QTest::newRow("a long refused value")
            << "Date;Heure;Temp. I. (°C)\n{D0};" + QString(41, 'x') + "\n{D1};\n"
            << "1 valeur du fichier est refusée :\n01/01/2014 00:00, Temp. I. (°C) : \"" +
                   QString(40, 'x') + "…\" — « " + QString(40, 'x') + "… » n'est pas un nombre."
            << QStringList();
        QTest::newRow("lines not separated as the title")
            << "Date;Heure;Temp. I. (°C)\nx,y,1.5\nx,y,2.5\n"
            << "La ligne 2 du fichier n'est pas séparée par « ; » comme sa ligne de titre."
            << QStringList();
        QTest::newRow("one line separated otherwise")
            << "Date;Heure;Temp. I. (°C)\n{D0};1.5\nx,y,2.5\n"
            << "La ligne 3 du fichier n'est pas séparée par « ; » comme sa ligne de titre."
            << QStringList();
        QTest::newRow("a line far longer than a row")
            << "Date;Heure;Temp. I. (°C)\n{D0};" + QString(100000, 'x') + "\n{D1};\n"
            << "La ligne 2 du fichier est bien plus longue qu'une ligne d'export de ce tableau."
            << QStringList();
        QTest::newRow("a title that names nothing")
            << "Datum,Zeit,Temperatur\n{D0};1.5\n{D1};2.5\n"
            << "Aucune colonne du tableau n'est nommée dans la ligne de titre du fichier "
               "(séparateur lu : « , »)."
            << QStringList();
        QTest::newRow("larger than any export of the table")
            << QString(1100000, 'x')
            << "Le fichier (1,1 Mo) est bien plus grand qu'un export de ce tableau :\n{path}"
            << QStringList();
        QTest::newRow("file gone") << ""
                                   << "Erreur lors de l'ouverture de:\n{path}" << QStringList();
    }
    // A change is "row,field=text", field 0 being the row's date; the saved file, read back, shows
    // what the table showed. Asked whether to import the values besides those refused, the user
    // says yes.
    void importFaults()
    {
        auto [file, message, changes] =
            TestSupport::fetch<QString, QString, QStringList>("file", "message", "changes");
        boxes = std::make_unique<TestSupport::BoxLog>(QStringList{"Oui"});
        const QString document = load(DataFileType::WS2300, 2);
        QList<QStringList> expected;
        for (const QString& row : e->grid())
            expected << row.split('|');
        for (const QString& change : changes)
            expected[change.at(0).digitValue()][change.section('=', 0, 0).section(',', 1).toInt()] =
                change.section('=', 1);
        const QString path = e->path("in.csv");
        for (int row = 0; row < 2; ++row) {
            file.replace(QStringLiteral("{D%1}").arg(row), e->label(row).replace(' ', ';'));
            message.replace(QStringLiteral("{L%1}").arg(row), e->label(row));
        }
        TestSupport::writeFile(path, file.toLatin1());
        importFrom(path, file.isEmpty());
        message.replace("{path}", path);
        QCOMPARE(boxes->texts, message.isEmpty() ? QStringList() : QStringList{message});
        for (int pass = 0; pass < 2; ++pass) {
            for (int row = 0; row < 2; ++row)
                QCOMPARE(e->grid().at(row), expected.at(row).join('|'));
            e->window().enregistrer();
            e->load(DataFileType::WS2300, document);
        }
    }
    void pasteAndImportAllOrNothing_data()
    {
        TestSupport::columns<QString, QString, QString, QString>(
            {"cells", "clip", "changes", "box"});
        const auto row = [](const char* name, const char* cells, const QString& clip,
                            const char* changes, const QByteArray& box = "") {
            QTest::newRow(name) << QString(cells) << clip << QString(changes)
                                << QString::fromUtf8(box);
        };
        row("a copied block pasted elsewhere", "0,1 1,3 2,1", "{0,1}\t{0,3}\n{1,1}\t{1,3}\n",
            "2,1={0,1} 2,3={0,3} 3,1={1,1} 3,3={1,3}");
        row("a copied block pasted back", "0,1 1,3 0,1", "{0,1}\t{0,3}\n{1,1}\t{1,3}\n", "");
        row("a single value into a selection", "0,0 1,1", "12,5",
            "0,0=12.5 0,1=12.5 1,0=12.5 1,1=12.5");
        row("decimal commas, CRLF lines, empty fields", "2,0 2,0", "1,5\t\r\n\t-4,5\r\n",
            "2,0=1.5 3,1=-4.5");
        row("a block that overruns the table", "3,7 3,7", "1\t2\t3\n4\t5\t6\n", "",
            "Le bloc collé (2 lignes, 3 colonnes) dépasse du tableau : depuis la cellule choisie, "
            "il reste 1 ligne et 2 colonnes affichées.\nRien n'est collé.");
        row("binary garbage", "0,0 0,0",
            QString::fromLatin1(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), "",
            "Le presse-papiers ne contient pas un bloc de valeurs : sa ligne 1 contient un "
            "caractère qui n'est pas du texte (U+0089).");
        row("a block with one refused value", "0,1 0,1", "-2,5\t41\n-3,5\t3000\n", "",
            "1 valeur collée est refusée :\n01/01/2014 00:10, Hum. E. (%) : \"3000\" — Hum. E. : "
            "les valeurs vont de -50 à 2000.\n\nRien n'est collé.");
        row("a single value far longer than a number", "0,0 1,1", QString(65, '1'), "",
            "« " + QByteArray(40, '1') + "… » n'est pas un nombre.\nRien n'est collé.");
        row("far larger than the table", "0,0 0,0", QString(1100000, '1'), "",
            "Le texte du presse-papiers (1,1 Mo) est bien plus grand que tout bloc que ce tableau "
            "peut recevoir.\nRien n'est collé.");
        row("an import with a refused value, answered Non", "",
            "Date;Heure;Temp. I. (°C)\n01/01/2014;00:00;abc\n01/01/2014;00:10;2.5\n"
            "01/01/2014;00:20;\n01/01/2014;00:30;\n",
            "",
            "1 valeur du fichier est refusée :\n01/01/2014 00:00, Temp. I. (°C) : \"abc\" — "
            "« abc » n'est pas un nombre.\n\nImporter les autres valeurs ?");
    }
    // cells: the selection's corners, the first current, then where its copy goes; none imports
    // clip. A change is "row,column=text" ({r,c}: that cell's text before), undone all at once.
    void pasteAndImportAllOrNothing()
    {
        const auto [cells, clip, changes, box] =
            TestSupport::fetch<QString, QString, QString, QString>("cells", "clip", "changes",
                                                                   "box");
        boxes = std::make_unique<TestSupport::BoxLog>(QStringList{"Non"});
        const QString document = load(DataFileType::WS2300, 4);
        e->view()->setColumnHidden(2, true);
        const QStringList original = e->grid();
        e->edit(3, 8, "5");
        const QStringList typed = e->grid();
        const QByteArray records = e->records();
        const auto fill = [this](QString text) {
            for (int i = 0; i < 36; ++i)
                text.replace(QStringLiteral("{%1,%2}").arg(i / 9).arg(i % 9),
                             e->cell(i / 9, i % 9));
            return text;
        };
        QStringList expected = typed;
        for (const QString& change : changes.split(' ', Qt::SkipEmptyParts)) {
            QStringList row = expected.at(change.at(0).digitValue()).split('|');
            row[change.at(2).digitValue() + 1] = fill(change.mid(4));
            expected[change.at(0).digitValue()] = row.join('|');
        }
        QVector<QModelIndex> at;
        for (const QString& cell : cells.split(' ', Qt::SkipEmptyParts))
            at << e->model()->index(cell.at(0).digitValue(), cell.at(2).digitValue());
        QGuiApplication::clipboard()->setText(clip);
        if (at.isEmpty()) {
            importFrom(TestSupport::writeFile(e->path("in.csv"), clip.toUtf8()));
        } else {
            e->view()->setCurrentIndex(at.at(0));
            e->view()->selectionModel()->select(QItemSelection(at.at(0), at.at(1)),
                                                QItemSelectionModel::ClearAndSelect);
        }
        if (at.size() > 2) {
            e->trigger("Copier");
            QCOMPARE(QGuiApplication::clipboard()->text(), fill(clip));
            e->view()->setCurrentIndex(at.at(2));
        }
        if (!at.isEmpty())
            e->trigger("Coller");
        QCOMPARE(boxes->texts, box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(e->grid(), expected);
        QCOMPARE(e->records() == records, changes.isEmpty());
        QCOMPARE(e->action("Annuler")->statusTip(),
                 changes.isEmpty()
                     ? QStringLiteral("Annuler : saisie de « 5 »")
                     : QStringLiteral("Annuler : collage de %1 cellules").arg(changes.count('=')));
        e->trigger("Annuler");
        QCOMPARE(e->grid(), changes.isEmpty() ? original : typed);
        e->trigger("Rétablir");
        e->window().enregistrer();
        e->load(DataFileType::WS2300, document);
        QCOMPARE(e->grid(), expected);
    }
    // A file without records exports its title alone, which imports back without a word.
    void fileWithoutRecordsRoundTrip()
    {
        load(DataFileType::WS2300, 0);
        exportTo(e->path("empty.csv"), 0, 0);
        QCOMPARE(TestSupport::readFile(e->path("empty.csv")).count('\n'), 1);
        importFrom(e->path("empty.csv"));
        QCOMPARE(boxes->texts, QStringList());
    }
    // The import of an export of over a megabyte has no "Annuler": Escape leaves its dialog up,
    // and the window out of reach, until every line is in.
    void importCannotBeInterrupted()
    {
        load(DataFileType::WS2300, 20000);
        const QString path = e->path("in.csv");
        exportTo(path, 0, 0);
        QStringList lines = QString::fromLatin1(TestSupport::readFile(path)).split('\n');
        QStringList last = lines.at(20000).split(';');
        last[2] = QStringLiteral("99.5");
        lines[20000] = last.join(';');
        TestSupport::writeFile(path, lines.join('\n').toLatin1());
        bool escaped = false, seenAgain = false;
        const auto escape = TestSupport::whenModalShown([&](QWidget* modal) {
            auto* progress = qobject_cast<QProgressDialog*>(modal);
            if (!progress || progress->labelText() != QStringLiteral("Import des données..."))
                return false;
            seenAgain = escaped;
            QTest::keyClick(progress, Qt::Key_Escape);
            escaped = true;
            return seenAgain;
        });
        importFrom(path);
        QVERIFY(seenAgain);
        QCOMPARE(e->cell(19999, 0), QStringLiteral("99.5"));
    }
    void printing()
    {
        load(DataFileType::WswinWD, 2);
        int previews = 0;
        const auto preview = TestSupport::whenModalShown([&previews](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(modal);
            previews += dialog ? 1 : 0;
            if (dialog)
                dialog->reject();
            return false;
        });
        e->trigger("Imprimer...");
        QCOMPARE(boxes->texts,
                 QStringList{"Trop de colonnes sont affichées pour tenir sur la page.\n"
                             "Masquez-en quelques-unes avec \"Sondes...\" avant d'imprimer."});
        QCOMPARE(previews, 0);

        // The 140 characters of the heading of all WS3600 columns fit.
        load(DataFileType::WS3600, 2);
        {
            const QSignalBlocker blocker(e->model());
            e->edit(1, 0, "<b>x</b>");
            e->edit(1, 11, "");
        }
        QString heading = "Date Temp. I. Temp. E. Hum. I. Hum. E. Pression Rel. Pression Abs Pluie "
                          "totale Pluie Vit. Vent Direction Rafales unknown ";
        QTableView* view = e->view();
        for (int pass = 1; pass <= 2; ++pass) {
            e->trigger("Imprimer...");
            QCOMPARE(previews, pass);
            QTextDocument* document = TestAccess::printTextEdit(e->window())->document();
            QStringList lines{heading, e->label(0), e->label(1)};
            for (int column = 0; column < 12; ++column) {
                for (int row = 0; row < 2 && !view->isColumnHidden(column); ++row)
                    lines[row + 1] += "  " + e->cell(row, column);
            }
            QCOMPARE(document->toPlainText(), lines.join('\n'));
            QCOMPARE(document->firstBlock().begin().fragment().charFormat().fontWeight(),
                     int(QFont::Bold));
            QCOMPARE(document->lastBlock().begin().fragment().charFormat().fontWeight(),
                     int(QFont::Normal));
            view->setColumnHidden(7, true);
            heading.replace("totale Pluie ", "totale ");
        }

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(e->path("print.pdf"));
        e->window().print(&printer);
        const QByteArray pdf = TestSupport::readFile(printer.outputFileName());
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/Type /Page\n"), 1);
    }

private:
    QString load(DataFileType type, int records)
    {
        return e->open(type,
                       Synthetic::stationFile(type, QDate(2014, 1, 1).startOfDay(), 10, records),
                       QStringLiteral("doc.DAT"));
    }
    void exportTo(const QString& path, int scope, int separator, const QString& filter = "*.*")
    {
        e->trigger("&Exporter");
        TestAccess::exportScopeCombo(e->window())->setCurrentIndex(scope);
        TestAccess::separatorCombo(e->window())->setCurrentIndex(separator);
        const auto answer = TestSupport::chooseFile(path, filter);
        e->click("OK");
    }
    // The file may go between the file dialog and the import.
    void importFrom(const QString& path, bool removeAfter = false)
    {
        const auto answer = TestSupport::whenShown<QFileDialog>([=](QFileDialog* dialog) {
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
            if (removeAfter)
                QFile::remove(path);
        });
        e->trigger("&Importer");
    }
    std::unique_ptr<TestSupport::Editor> e;
    std::unique_ptr<TestSupport::BoxLog> boxes;
};

STRATOMARK_TEST_MAIN(TestTools)
#include "tst_tools.moc"
