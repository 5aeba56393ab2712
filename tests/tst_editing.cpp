#include "testsupport.h"

#include "repair/correctiondialog.h"

#include <climits>

using Format::DataFileType;
using TestSupport::BoxLog;
using TestSupport::put;

// Cell edits through the gate, the history, rows, dates and the date search.
class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init() { e = std::make_unique<TestSupport::Editor>(); }
    void gate_data()
    {
        // reason: the box's explanation; "" when accepted, "-" silently refused.
        TestSupport::columns<int, int, QString, QString>({"type", "column", "text", "reason"});
        const auto row = [](const char* name, int type, int column, const char* text,
                            const char* reason) {
            QTest::newRow(name) << type << column << text << reason;
        };
        const int WD = 1, W23 = 3, W36 = 4;
        const char* range = "Temp. I. : les valeurs vont de -50 à 2000.";
        const char* field = "Le champ de cette colonne ne peut pas contenir cette valeur.";
        const char* oneDecimal = "Cette colonne ne garde qu'une décimale.";
        row("lowest", WD, 0, "-50", "");
        row("highest", WD, 0, "2000", "");
        row("below the range", WD, 0, "-50.1", range);
        row("above the range", WD, 0, "2000.1", range);
        row("decimal comma, kept with a point", WD, 0, "12,5", "");
        row("spaces and a carriage return around it", WD, 0, " 12,5\r", "");
        row("the text it shows, typed again", WD, 0, "0.0", "-");
        row("two commas", WD, 0, "1,2,5", "« 1,2,5 » n'est pas un nombre.");
        row("trailing zero", WD, 0, "21.30", "");
        row("empty", WD, 0, "", "-");
        row("not a number", WD, 0, "abc", "« abc » n'est pas un nombre.");
        row("forty characters", WD, 0, QByteArray(40, 'x'),
            "« " + QByteArray(40, 'x') + " » n'est pas un nombre.");
        row("a longer text", WD, 0, QByteArray(41, 'x'),
            "« " + QByteArray(40, 'x') + "… » n'est pas un nombre.");
        row("too many decimals", WD, 0, "21.35", oneDecimal);
        row("a hair off a tenth", WD, 0, "21.300001", oneDecimal);
        row("hundredth rounded away", WD, 0, "0.04", oneDecimal);
        row("humidity over a byte", WD, 16, "300", field);
        row("humidity fraction", WD, 16, "65.5", "Cette colonne ne garde pas de décimale.");
        row("humidity with a zero decimal", WD, 16, "65.0",
            "Cette colonne ne garde pas de décimale.");
        row("rain that wraps", WD, 33, "40", field);
        row("thousandths kept", WD, 33, "1.2345", "Cette colonne garde 3 décimales.");
        row("negative through an unsigned parse", WD, 34, "-5.2", field);
        row("float takes any decimals", W23, 1, "21.35", "");
        row("nan in a float", W23, 1, "nan", "« nan » n'est pas un nombre.");
        row("inf", W36, 0, "inf", "« inf » n'est pas un nombre.");
        row("float wind", W36, 8, "10.07", "");
        row("NaN in a km/h float", W36, 8, "NaN", "« NaN » n'est pas un nombre.");
        row("rain counter past 2000", W23, 5, "2345.678", "");
        row("negative rain counter", W36, 6, "-0.5",
            "Pluie totale : les valeurs ne peuvent pas être inférieures à 0.");
        row("rain counter within half a thousandth", W23, 5, "16384.002", "");
        row("rain counter past its float's thousandths", W23, 5, "16384.003", field);
        row("direction step", W36, 9, "67.5", "");
        row("direction between steps", W36, 9, "70", field);
        row("direction rounded to its step", W36, 9, "22.54", oneDecimal);
        row("negative direction", W23, 7, "-22.5", field);
        row("a row without a record", W36, -1, "12.5",
            "Cette ligne ne correspond à aucun enregistrement du fichier.");
    }
    // An accepted text reaches exactly its field, enters the history and marks the document
    // modified; a refused one changes nothing and the box says why.
    void gate()
    {
        auto [type, column, text, reason] =
            TestSupport::fetch<int, int, QString, QString>("type", "column", "text", "reason");
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        open(DataFileType(type),
             QVector<QByteArray>(column < 0 ? 0 : 1, QByteArray(layout.recordSize, 0)));
        column = qMax(column, 0);
        const QString before = e->cell(0, column);
        const QByteArray recordBefore = record(0);
        BoxLog boxes;
        e->edit(0, column, text);
        const bool accepted = reason.isEmpty();
        const bool explained = !accepted && reason != QLatin1String("-");
        QCOMPARE(boxes.texts.join('|') + boxes.explanations.join('|'),
                 explained ? "Erreur de saisie" + reason : QString());
        QCOMPARE(QVector<int>({e->enabled("Enregistrer"), e->window().isWindowModified(),
                               TestAccess::undoCount(e->window())}),
                 QVector<int>(3, accepted));
        const QString kept = QString(text).replace(',', '.').trimmed();
        QCOMPARE(e->cell(0, column), accepted ? kept : before);
        QByteArray expected = recordBefore;
        if (accepted)
            TestAccess::writeField(layout.fields[column], expected.data(), kept);
        QCOMPARE(record(0), expected);
        QCOMPARE(expected != recordBefore, accepted);
    }
    // Every operation is taken back and done again whole: the table and the records, bytes and
    // texts alike, go back through the very states they passed, a reading outside the accepted
    // range, an edited float's exact bytes, an added row's placeholders and removed rows
    // included. The actions name the operation they would act on; the document is modified
    // exactly while it stands elsewhere than where it was saved. The last 25 operations are kept.
    void history()
    {
        QByteArray loaded(36, 0);
        put<float>(loaded, 0x1C, 21.37f);
        put<float>(loaded, 0x18, 3000.0f);
        open(DataFileType::WS2300, {loaded, QByteArray(36, 1), QByteArray(36, 2)});
        BoxLog boxes;
        QList<QPair<QStringList, QByteArray>> states{{e->grid(), e->records()}};
        QStringList tips;
        const auto done = [&] {
            states.append({e->grid(), e->records()});
            tips << e->action("Annuler")->statusTip();
        };
        e->edit(0, 1, QStringLiteral("25.04"));
        done();
        e->clickRowHeader(1, {}, true);
        e->answerDateDialog(QStringLiteral("05/03/2015 14:30"));
        done();
        e->trigger("Enregistrer");
        e->view()->setCurrentIndex(e->model()->index(1, 0));
        e->window().addRow();
        done();
        e->edit(2, 5, QStringLiteral("12,5"));
        done();
        e->clickRowHeader(0);
        e->clickRowHeader(3, Qt::ControlModifier);
        e->window().removeRow();
        done();
        QCOMPARE(tips, (QStringList{"Annuler : saisie de « 25.04 »", "Annuler : changement de date",
                                    "Annuler : ajout d'une ligne", "Annuler : saisie de « 12.5 »",
                                    "Annuler : suppression de 2 lignes"}));
        const int saved = 2;
        for (int back = states.size() - 2; back >= 0; --back) {
            e->trigger("Annuler");
            QCOMPARE(e->grid(), states.at(back).first);
            QCOMPARE(e->records().toHex(), states.at(back).second.toHex());
            QCOMPARE(e->window().isWindowModified(), back != saved);
        }
        QVERIFY(!e->enabled("Annuler"));
        QCOMPARE(e->action("Rétablir")->statusTip(), "Rétablir : saisie de « 25.04 »");
        for (int forth = 1; forth < states.size(); ++forth) {
            e->trigger("Rétablir");
            QCOMPARE(e->grid(), states.at(forth).first);
            QCOMPARE(e->records().toHex(), states.at(forth).second.toHex());
            QCOMPARE(e->enabled("Enregistrer"), forth != saved);
        }
        QVERIFY(!e->enabled("Rétablir") && boxes.texts.isEmpty());

        for (int i = 0; i < 26; ++i)
            e->edit(0, 0, QString::number(i));
        int undone = 0;
        for (; e->enabled("Annuler"); ++undone)
            e->trigger("Annuler");
        QCOMPARE(undone, 25);
        QCOMPARE(e->cell(0, 0), QStringLiteral("0"));
    }
    // A value still in the cell editor is an edit like any other when undo or redo is asked for:
    // undo takes it back first, it ends the redo chain, and no entry reaches another cell.
    void historyWithTheEditorOpen()
    {
        e->open(DataFileType::WswinWD, 3);
        const QStringList loaded = e->grid();
        const QByteArray original = e->records();
        e->edit(0, 0, QStringLiteral("21.0"));
        for (const bool redo : {false, true}) {
            e->typeInEditor(1, 0, QStringLiteral("30"));
            e->trigger(redo ? "Rétablir" : "Annuler");
            QCOMPARE(e->cell(0, 0) + e->cell(1, 0), redo
                                                        ? loaded.at(0).section('|', 1, 1) + "30"
                                                        : "21.0" + loaded.at(1).section('|', 1, 1));
            QCOMPARE(e->enabled("Rétablir"), !redo);
            e->trigger("Annuler");
            QVERIFY(e->grid() == loaded && e->records() == original && !e->enabled("Annuler"));
        }
    }
    void addRow_data()
    {
        TestSupport::columns<int, int, int>({"type", "currentRow", "position"}); // -1: refused
        QTest::newRow("no current cell: at the top") << 3 << -1 << 0;
        QTest::newRow("below the current row") << 2 << 2 << 3;
        QTest::newRow("after the last") << 4 << 4 << 5;
        QTest::newRow("selector moved to another type") << 1 << 0 << 1;
        QTest::newRow("a count an int32 cannot hold") << 0 << 0 << -1;
    }
    // The new record is all zero bytes, in its place, with its neighbours untouched, in the buffer
    // of the document's own type whatever the selector shows; a buffer that cannot grow leaves the
    // table, the buffer and the count as they were.
    void addRow()
    {
        const auto [type, currentRow, position] =
            TestSupport::fetch<int, int, int>("type", "currentRow", "position");
        e->open(DataFileType(type), 5);
        const int size = Format::layout(DataFileType(type)).recordSize;
        QByteArray expected = e->records();
        e->view()->setCurrentIndex(e->model()->index(currentRow, 0));
        TestAccess::fileTypeCombo(e->window())->setCurrentIndex(type == 3 ? 4 : 3);
        BoxLog boxes;
        if (position < 0)
            TestAccess::setRecordCount(e->window(), INT_MAX);
        e->window().addRow();
        if (position < 0) {
            TestAccess::setRecordCount(e->window(), 5);
            QCOMPARE(boxes.texts, QStringList{"Mémoire insuffisante"});
            QVERIFY(e->model()->rowCount() == 5 && !e->enabled("Enregistrer"));
            QCOMPARE(e->records(), expected);
            return;
        }
        expected.insert(position * size, QByteArray(size, '\0'));
        QCOMPARE(e->records().toHex(), expected.toHex());
        QCOMPARE(e->grid().at(position),
                 "--/--/---- --:--" + QString("|--").repeated(e->size().width()));
        QCOMPARE(e->fileLabel(), QStringLiteral("Fichier \"f.DAT\" : 6 données"));
        QVERIFY(e->enabled("Enregistrer"));
    }
    // A cell click allows adding; a row header press, removing too. Rows picked with Ctrl leave in
    // ascending order whatever order they were picked in, from the table and the buffer alike.
    // "Aller en Bas" makes the last row current with nothing selected: removing then removes
    // nothing.
    void removeRowsAndRowActions()
    {
        e->open(DataFileType::WswinWD, 100);
        const QByteArray before = e->records();
        QStringList rows = e->grid();
        QTest::mouseClick(e->view()->viewport(), Qt::LeftButton, {},
                          e->view()->visualRect(e->model()->index(1, 1)).center());
        QVERIFY(e->enabled("Ajouter une ligne") && !e->enabled("Supprimer la/les ligne(s)"));
        e->clickRowHeader(3);
        QVERIFY(e->enabled("Supprimer la/les ligne(s)"));
        e->trigger("Aller en Bas");
        QCOMPARE(e->view()->currentIndex().row(), 99);
        QVERIFY(!e->view()->selectionModel()->hasSelection() &&
                e->enabled("Supprimer la/les ligne(s)"));
        e->trigger("Supprimer la/les ligne(s)");
        QCOMPARE(e->model()->rowCount(), 100);
        e->trigger("Aller en Haut");
        QCOMPARE(e->view()->currentIndex().row(), 0);

        e->clickRowHeader(5);
        e->clickRowHeader(2, Qt::ControlModifier);
        e->trigger("Supprimer la/les ligne(s)");
        QCOMPARE(e->records().toHex(),
                 QByteArray(before).remove(5 * 76, 76).remove(2 * 76, 76).toHex());
        rows.removeAt(5);
        rows.removeAt(2);
        QCOMPARE(e->grid(), rows);
        QCOMPARE(e->fileLabel(), QStringLiteral("Fichier \"f.DAT\" : 98 données"));
        QVERIFY(!e->enabled("Supprimer la/les ligne(s)") && e->enabled("Ajouter une ligne"));
        QVERIFY(e->enabled("Enregistrer"));
    }
    // A file without records shows one row that holds none: removing it removes nothing, adding
    // replaces it. With every row removed the table is empty, "Aller en Haut"/"Aller en Bas" and
    // the search have nothing to go to, saving writes a history without records, and a row can be
    // added.
    void fileWithoutRecordsAndEveryRowRemoved()
    {
        const QString path = e->open(DataFileType::WS2300, 0);
        for (int round = 0; round < 3; ++round) {
            e->view()->selectAll();
            if (round == 1)
                e->window().addRow();
            else
                e->window().removeRow();
            QCOMPARE(e->model()->rowCount(), round < 2 ? 1 : 0);
            QCOMPARE(e->records(), QByteArray(round == 1 ? 36 : 0, 0));
        }
        e->trigger("Aller en Haut");
        e->trigger("Aller en Bas");
        QVERIFY(!e->view()->currentIndex().isValid());
        {
            BoxLog boxes;
            e->window().fenetre_chercher_date();
            e->window().rechercher_date();
            QCOMPARE(boxes.texts,
                     QStringList{"La date recherchée n'est pas disponible dans le tableau"});
        }
        e->trigger("Enregistrer");
        QCOMPARE(TestSupport::readFile(path).toHex(),
                 (TestSupport::stationFile(DataFileType::WS2300, 0).left(16) + QByteArray(12, 0))
                     .toHex());
        e->window().addRow();
        QVERIFY(e->model()->rowCount() == 1 && e->records() == QByteArray(36, 0));
    }
    void nothingActsWithoutADocument_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("at start") << "start";
        QTest::newRow("after the listing cleared it") << "listed";
        QTest::newRow("after a cancelled build") << "cancelled";
    }
    void nothingActsWithoutADocument()
    {
        QFETCH(QString, state);
        if (state == QLatin1String("listed")) {
            e->open(DataFileType::WswinWD, 5);
            TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WswinWM));
            TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WswinWD));
        } else if (state == QLatin1String("cancelled")) {
            TestAccess::setReadProgressDelay(e->window(), 0);
            const auto cancel = TestSupport::whenShown<QProgressDialog>(
                [](QProgressDialog* progress) { progress->cancel(); });
            e->open(DataFileType::WS2300, 3000);
            TestAccess::setReadProgressDelay(e->window(), 500);
        }
        BoxLog boxes;
        e->clickRowHeader(0);
        QTest::mouseDClick(e->view()->verticalHeader()->viewport(), Qt::LeftButton, {},
                           QPoint(5, 5));
        QTest::mouseClick(e->view()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        e->window().addRow();
        e->window().removeRow();
        e->window().fenetre_chercher_date();
        e->window().rechercher_date();
        QVERIFY(!e->enabled("Ajouter une ligne") && !e->enabled("Supprimer la/les ligne(s)"));
        QVERIFY(!TestAccess::currentDialog(e->window()));
        e->verifyNoDocument();
        QCOMPARE(boxes.texts, QStringList());
    }
    // The texts the table keeps beside the records, values typed as their records do not show
    // them and an added row's placeholders, follow their rows through a removal of runs of rows,
    // an insertion above them and their undo, and stay through a save; a date given to the added
    // row, and a value typed as its record shows it, are the record's own again.
    void typedTextsFollowTheirRows()
    {
        e->open(DataFileType::WS2300, 9);
        BoxLog boxes;
        e->edit(7, 1, QStringLiteral("21.30"));
        e->edit(4, 1, QStringLiteral("1.50"));
        const QStringList typed = e->grid();
        const QByteArray records = e->records();
        // At every step of a removal or insertion of runs, the rows left stand as they stood.
        QStringList shadow = typed;
        bool stoodStill = true;
        const QObject guard;
        const auto follow = [&](bool inserted, int first, int last) {
            const QStringList now = e->grid();
            for (int row = first; row <= last; ++row)
                inserted ? shadow.insert(row, now.at(row)) : shadow.removeAt(first);
            stoodStill = stoodStill && now == shadow;
        };
        connect(e->model(), &QAbstractItemModel::rowsRemoved, &guard,
                [&](const QModelIndex&, int first, int last) { follow(false, first, last); });
        connect(e->model(), &QAbstractItemModel::rowsInserted, &guard,
                [&](const QModelIndex&, int first, int last) { follow(true, first, last); });
        QStringList expected = typed;
        for (const int row : {5, 2, 1})
            expected.removeAt(row);
        e->clickRowHeader(1);
        for (const int row : {2, 5})
            e->clickRowHeader(row, Qt::ControlModifier);
        e->window().removeRow();
        QCOMPARE(e->grid(), expected);
        e->view()->setCurrentIndex(e->model()->index(0, 0));
        e->window().addRow();
        expected.insert(1, "--/--/---- --:--" + QString("|--").repeated(e->size().width()));
        QCOMPARE(e->grid(), expected);
        e->clickRowHeader(1, {}, true);
        e->answerDateDialog(QStringLiteral("01/01/2010 11:00"));
        QVERIFY(e->label(1) == "01/01/2010 11:00" &&
                !e->model()->putAt(1, TableModel::Put::labelColumn));
        for (int back = 0; back < 3; ++back)
            e->trigger("Annuler");
        QCOMPARE(e->grid(), typed);
        QCOMPARE(e->records(), records);
        QVERIFY(stoodStill);
        e->trigger("Enregistrer");
        QCOMPARE(e->cell(7, 1) + e->cell(4, 1), QStringLiteral("21.301.50"));
        e->edit(7, 1, QStringLiteral("21.3"));
        QCOMPARE(e->model()->puts().size(), 1);
        QCOMPARE(boxes.texts, QStringList());
    }
    void dateChange_data()
    {
        TestSupport::columns<int, QString, QString>({"type", "date", "shown"}); // "": refused
        const auto row = [](const char* name, int type, const char* date, const char* shown) {
            QTest::newRow(name) << type << date << shown;
        };
        row("wswin_WD", 1, "05/03/2015 14:30", "05/03/2015 14:30");
        row("wswin_WS first day", 0, "01/01/1980 00:00", "01/01/1980 00:00");
        row("wswin_WM last minute", 2, "31/12/2107 23:59", "31/12/2107 23:59");
        row("wswin 1979 is not offered", 1, "31/12/1979 08:15", "01/01/1980 08:15");
        row("WS3600 in the spring change", 4, "29/03/2015 02:30", "29/03/2015 02:30");
        row("WS3600 last minute", 4, "07/02/2106 06:28", "07/02/2106 06:28");
        row("WS3600 past its span", 4, "07/02/2106 06:29", "");
        row("WS3600 a day past its span is not offered", 4, "08/02/2106 00:00", "07/02/2106 00:00");
        row("WS2300", 3, "05/03/2015 14:30", "05/03/2015 14:30");
        row("WS2300 first minute", 3, "01/01/1970 01:00", "01/01/1970 01:00");
        row("WS2300 before its span", 3, "01/01/1970 00:59", "");
        row("WS2300 in the spring gap", 3, "29/03/2015 02:30", "");
        row("the same date again", 1, "01/01/2010 12:10", "01/01/2010 12:10");
    }
    // The dialog writes the row whose label was double-clicked, even when no column is shown and
    // another row is current, and the date comes back after saving and reloading. A date that the
    // timestamp of the document's type cannot hold is refused with a box naming it, writing
    // nothing; the same date again is no change.
    void dateChange()
    {
        const auto [type, date, shown] =
            TestSupport::fetch<int, QString, QString>("type", "date", "shown");
        const QString path = e->open(DataFileType(type), 3);
        const QByteArray before = e->records();
        const QString oldLabel = e->label(1);
        for (int column = 0; column < e->model()->columnCount(); ++column)
            e->view()->setColumnHidden(column, true);
        e->view()->setCurrentIndex(e->model()->index(0, 0));
        e->clickRowHeader(1, {}, true);
        auto* dateEdit = TestAccess::currentDialog(e->window())->findChild<QDateEdit*>();
        QVERIFY(dateEdit->isVisible() && dateEdit->width() >= dateEdit->sizeHint().width());
        BoxLog boxes;
        QCOMPARE(e->answerDateDialog(date), oldLabel);
        QCOMPARE(boxes.texts, shown.isEmpty()
                                  ? QStringList{"La date du " + date +
                                                " ne peut pas être enregistrée dans ce fichier."}
                                  : QStringList());
        QCOMPARE(dateEdit->isVisible(), shown.isEmpty());
        QCOMPARE(TestAccess::undoCount(e->window()), int(e->label(1) != oldLabel));
        if (shown.isEmpty()) {
            QVERIFY(e->label(1) == oldLabel && e->records() == before &&
                    !e->enabled("Enregistrer"));
            return;
        }
        e->trigger("Enregistrer");
        e->load(DataFileType(type), path);
        QCOMPARE(e->label(0) + e->label(1), QStringLiteral("01/01/2010 12:00") + shown);
    }
    void addedRowDateDialog_data()
    {
        // Rows are added below each current row in turn (-1: none, at the top); each one's
        // dialog opens on its date.
        TestSupport::columns<int, QStringList, QVector<int>, QStringList>(
            {"type", "records", "currents", "opens"});
        const QString day = QStringLiteral("01/01/2010 %1");
        QStringList times{"12:00", "12:05", "12:15", "12:15", "12:15", "12:15", "12:25"};
        for (QString& time : times)
            time = day.arg(time);
        QTest::newRow("WS3600: the most frequent step, repeats left out")
            << 4 << times << QVector<int>{-1, 7, 2, 3}
            << QStringList{day.arg("11:50"), day.arg("12:35"), day.arg("12:15"), day.arg("12:25")};
        QTest::newRow("WS2300 over the spring change")
            << 3 << QStringList{"28/03/2010 01:30", "28/03/2010 01:40", "28/03/2010 01:50"}
            << QVector<int>{2} << QStringList{"28/03/2010 03:00"};
        QTest::newRow("wswin_WD: no date before 1980")
            << 1 << QStringList{"01/01/1980 00:00", "01/01/1980 00:10"} << QVector<int>{-1}
            << QStringList{"01/01/1980 00:00"};
    }
    // An added row's date dialog opens on the date of the dated row above plus the file's most
    // frequent interval for each row between them, or on the row below's less as much when no row
    // above is dated, so that only the time is left to change.
    void addedRowDateDialog()
    {
        const auto [type, records, currents, opens] =
            TestSupport::fetch<int, QStringList, QVector<int>, QStringList>("type", "records",
                                                                            "currents", "opens");
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        QByteArray file = TestSupport::stationFile(DataFileType(type), records.size());
        for (int r = 0; r < records.size(); ++r)
            TestAccess::writeTimestamp(layout.timestamp,
                                       file.data() + layout.headerSize + r * layout.recordSize,
                                       records.at(r));
        e->open(DataFileType(type), file);
        QStringList opened;
        for (const int current : currents) {
            e->view()->setCurrentIndex(e->model()->index(current, 0));
            e->window().addRow();
            e->clickRowHeader(current + 1, {}, true);
            TestAccess::currentDialog(e->window())->close();
            opened << e->dateDialogShows();
        }
        QCOMPARE(opened, opens);
    }
    void dateSearch_data()
    {
        TestSupport::columns<QString, QString, int>({"setup", "date", "found"}); // -1: the message
        const auto row = [](const char* name, const char* setup, const char* date, int found) {
            QTest::newRow(name) << setup << date << found;
        };
        row("exact row", "", "02/01/2010 21:20", 200);
        row("between two rows", "", "02/01/2010 21:25", 201);
        row("first row", "", "01/01/2010 12:00", 0);
        row("a minute before the first", "", "01/01/2010 11:59", -1);
        row("last row", "", "03/01/2010 13:50", 299);
        row("a minute after the last", "", "03/01/2010 13:51", -1);
        row("an undated row last", "added last", "03/01/2010 13:50", 299);
        row("an undated row first", "added first", "01/01/2010 11:59", -1);
        row("exact row after a later one", "out of order", "02/01/2010 21:20", 200);
    }
    // The dialog opens on the first record's date; the found row stands at the top of the view,
    // selected and current, even with the first column hidden. Undated rows are passed over.
    void dateSearch()
    {
        const auto [setup, date, found] =
            TestSupport::fetch<QString, QString, int>("setup", "date", "found");
        e->open(DataFileType::WS3600, 300);
        e->view()->setColumnHidden(0, true);
        if (setup.startsWith(QLatin1String("added"))) {
            e->view()->setCurrentIndex(
                setup == QLatin1String("added last") ? e->model()->index(299, 1) : QModelIndex());
            e->window().addRow();
        } else if (!setup.isEmpty()) {
            e->model()->setHeaderData(10, Qt::Vertical, "02/01/2010 21:30", Qt::EditRole);
        }
        e->trigger("Rechercher une date...");
        QDialog* dialog = TestAccess::currentDialog(e->window());
        BoxLog boxes;
        QCOMPARE(e->answerDateDialog(date), QStringLiteral("01/01/2010 12:00"));
        QCOMPARE(boxes.texts,
                 found < 0 ? QStringList{"La date recherchée n'est pas disponible dans le tableau"}
                           : QStringList());
        QCOMPARE(dialog->isVisible(), found < 0);
        if (found < 0)
            return;
        QCOMPARE(e->view()->currentIndex().row(), found);
        const QModelIndexList selected = e->view()->selectionModel()->selectedRows();
        QVERIFY(selected.size() == 1 && selected.at(0).row() == found);
        if (found > 0 && found < 299)
            QCOMPARE(e->view()->rowAt(0), found);
    }

    void correction_data()
    {
        // Six records at 12:00, 12:10, 12:20, 12:50, 13:00 and 13:40; cells: the texts of the
        // block's columns in each row, apart by spaces. The rectangle from the first column to
        // the last is selected with the columns between them hidden. choice: the operation's
        // button, then the values typed. outcome: the operation in the history, the box's text,
        // or nothing when the dialog refuses.
        TestSupport::columns<int, QVector<int>, QVector<int>, QStringList, QStringList, QStringList,
                             QString, QString>(
            {"type", "columns", "rows", "cells", "choice", "after", "summary", "outcome"});
        const auto row = [](const char* name, int type, QVector<int> columns, QVector<int> rows,
                            const char* cells, QStringList choice, const char* after,
                            const char* summary, const char* outcome) {
            QTest::newRow(name) << type << columns << rows << QString(cells).split('|') << choice
                                << QString(after).split('|') << summary << outcome;
        };
        const int WD = 1, W23 = 3, W36 = 4;
        const char* temperatures = "10.0 0.0|1.0 1.0|2.0 2.0|3.0 3.0|4.0 4.0|12.0 -3.0";
        const char* readings = "5.0|20.0|10.0|20.0|81.1|5.0";
        row("interpolation in time, two columns apart", WD, {1, 5}, {1, 4}, temperatures,
            {"interpolate"}, "10.0 0.0|10.2 -0.3|10.4 -0.6|11.0 -1.5|11.2 -1.8|12.0 -3.0",
            "8 cellules corrigées sur 8 sélectionnées", "interpolation de 8 cellules");
        row("interpolation across the north", WD, {35}, {1, 4}, "350|0|0|0|0|30", {"interpolate"},
            "350|354|358|10|14|30", "4 cellules corrigées sur 4 sélectionnées",
            "interpolation de 4 cellules");
        row("interpolation from the first row", WD, {1, 5}, {0, 2}, temperatures, {"interpolate"},
            temperatures,
            "Interpoler demande une valeur juste au-dessus et juste au-dessous de la sélection : "
            "elle ne peut toucher ni la première ni la dernière ligne du tableau.",
            "");
        row("interpolation of rain", WD, {33}, {1, 2}, "0.000|1.200|0.400|0.000|0.000|0.000",
            {"interpolate"}, "0.000|1.200|0.400|0.000|0.000|0.000",
            "Pluie : interpoler la pluie de chaque enregistrement inventerait de la pluie. "
            "« Mettre à zéro » la retire.",
            "");
        row("interpolation up to the no-data value", W23, {1}, {1, 3}, readings, {"interpolate"},
            readings,
            "Temp. E. : la valeur juste au-dessous de la sélection (01/01/2010 13:00) est la "
            "valeur absente de la station, 81.1.",
            "");
        row("offset drifting with time, decimal commas", WD, {0}, {1, 4},
            "5.0|20.0|21.0|22.0|23.0|5.0", {"offset", "0,5", "-1,5"}, "5.0|20.5|21.1|20.9|21.5|5.0",
            "4 cellules corrigées sur 4 sélectionnées", "décalage de 4 cellules");
        row("offset passing over the no-data value", W23, {1}, {1, 4}, "5.0|20.0|81.1|-0.5|3.0|5.0",
            {"offset", "0.5"}, "5.0|20.5|81.1|0.0|3.5|5.0",
            "3 cellules corrigées sur 4 sélectionnées", "décalage de 3 cellules");
        row("offset that is no number", WD, {0}, {1, 2}, readings, {"offset", "1,,5"}, readings,
            "« 1,,5 » n'est pas un nombre.", "");
        row("offset out of the range", WD, {0}, {2, 3}, readings, {"offset", "1985"}, readings,
            "2 cellules corrigées sur 2 sélectionnées",
            "Rien n'est corrigé : 1 nouvelle valeur est refusée :\n01/01/2010 12:50, Temp. I. "
            "(°C) : \"2005.0\" — Temp. I. : les valeurs vont de -50 à 2000.");
        row("replacement rounded to each column", W36, {0, 3}, {2, 3},
            "1.0 50|1.0 50|1.0 50|1.0 50|1.0 50|1.0 50", {"replace", "18,26"},
            "1.0 50|1.0 50|18.3 18|18.3 18|1.0 50|1.0 50",
            "4 cellules corrigées sur 4 sélectionnées", "remplacement de 4 cellules");
        row("no-data value where the column has one", W23, {0, 1}, {3, 3},
            "20.0 5.0|20.0 5.0|20.0 5.0|20.0 5.0|20.0 5.0|20.0 5.0", {"noData"},
            "20.0 5.0|20.0 5.0|20.0 5.0|20.0 81.1|20.0 5.0|20.0 5.0",
            "1 cellule corrigée sur 2 sélectionnées", "valeur absente dans une cellule");
    }
    // The dialog shows the block's first rows before and after as the choice and the values
    // change, and writes exactly what it shows, through the gate, as one operation that undo takes
    // back and redo does again whole, and that a save keeps. A correction refused in the dialog or
    // in part by the gate changes nothing, and undo then takes back the edit done before it.
    void correction()
    {
        const auto [type, columns, rows, cells, choice, after, summary, outcome] =
            TestSupport::fetch<int, QVector<int>, QVector<int>, QStringList, QStringList,
                               QStringList, QString, QString>(
                "type", "columns", "rows", "cells", "choice", "after", "summary", "outcome");
        const bool boxed = outcome.startsWith(QStringLiteral("Rien n'est corrigé"));
        const bool done = !outcome.isEmpty() && !boxed;
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        const auto text = [&](const QStringList& texts, int r, int k) {
            return texts.at(r).split(' ').at(k);
        };
        const auto write = [&](QByteArray& bytes, int offset, const QStringList& texts) {
            for (int r = 0; r < 6; ++r) {
                for (int k = 0; k < columns.size(); ++k)
                    TestAccess::writeField(layout.fields[columns.at(k)],
                                           bytes.data() + offset + r * layout.recordSize,
                                           text(texts, r, k));
            }
        };
        QByteArray file = TestSupport::stationFile(DataFileType(type), 6);
        write(file, layout.headerSize, cells);
        for (const int r : {3, 4, 5})
            TestAccess::writeTimestamp(
                layout.timestamp, file.data() + layout.headerSize + r * layout.recordSize,
                QStringList{"01/01/2010 12:50", "01/01/2010 13:00", "01/01/2010 13:40"}.at(r - 3));
        const QString path = e->open(DataFileType(type), file);
        const QStringList original = e->grid();
        const QByteArray originalRecords = e->records();
        // As the column writes it, so that it reads back the same after a save.
        std::array<char, Format::largestRecordSize> seven{};
        TestAccess::writeField(layout.fields[2], seven.data(), "7");
        e->edit(5, 2, FenPrincipale::fieldText(layout.fields[2], seven.data()));
        const QStringList edited = e->grid();
        const QByteArray editedRecords = e->records();
        QByteArray expected = editedRecords;
        write(expected, 0, after);
        for (int column = columns.first() + 1; column < columns.last(); ++column)
            e->view()->setColumnHidden(column, !columns.contains(column));
        e->view()->selectionModel()->select(
            QItemSelection(e->model()->index(rows.first(), columns.first()),
                           e->model()->index(rows.last(), columns.last())),
            QItemSelectionModel::ClearAndSelect);

        QString shownSummary;
        QStringList preview;
        int shown = 0;
        // Answers the dialog each time it shows: after a box, it comes back with the choices.
        const auto answer = TestSupport::whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<CorrectionDialog*>(modal);
            if (dialog && shown++ == 0) {
                dialog->findChild<QRadioButton*>(choice.first())->click();
                dialog
                    ->findChild<QLineEdit*>(choice.first() == "replace" ? "valueEdit"
                                                                        : "offsetEdit")
                    ->setText(choice.value(1));
                dialog->findChild<QLineEdit*>("lastOffsetEdit")->setText(choice.value(2));
                shownSummary = dialog->findChild<QLabel*>("summary")->text();
                const QTableWidget* table = dialog->findChild<QTableWidget*>("preview");
                for (int i = 0; i < table->rowCount() * table->columnCount(); ++i)
                    preview
                        << table->item(i / table->columnCount(), i % table->columnCount())->text();
                QPushButton* ok =
                    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
                if (ok->isEnabled())
                    ok->click();
            }
            if (dialog && dialog->isVisible())
                dialog->reject();
            return false;
        });
        BoxLog boxes;
        e->trigger("Corriger la sélection...");
        QCOMPARE(shownSummary, summary);
        QCOMPARE(boxes.texts, boxed ? QStringList{outcome} : QStringList());
        QCOMPARE(shown, boxed ? 2 : 1);
        QStringList previewed;
        for (int r = rows.first(); r <= rows.last(); ++r) {
            for (int k = 0; k < columns.size(); ++k) {
                const QString before = text(cells, r, k), now = text(after, r, k);
                previewed << (!done           ? before
                              : now == before ? before + " (inchangée)"
                                              : before + " → " + now);
            }
        }
        if (!boxed)
            QCOMPARE(preview, previewed);
        QCOMPARE(e->records().toHex(), expected.toHex());
        const QStringList corrected = e->grid();
        QCOMPARE(corrected != edited, done);
        if (done)
            QCOMPARE(e->action("Annuler")->statusTip(), "Annuler : " + outcome);
        e->trigger("Annuler");
        QCOMPARE(e->grid(), done ? edited : original);
        QCOMPARE(e->records().toHex(), (done ? editedRecords : originalRecords).toHex());
        if (!done)
            return;
        e->trigger("Rétablir");
        QCOMPARE(e->grid(), corrected);
        e->trigger("Enregistrer");
        e->load(DataFileType(type), path);
        QCOMPARE(e->grid(), corrected);
        QCOMPARE(e->records().toHex(), expected.toHex());
    }

    // A WS2300 block over the autumn clock change, whose labels go back an hour, is interpolated
    // along the hours that passed, twenty minutes a record.
    void interpolationOverAClockChange()
    {
        QByteArray first(36, 0);
        TestAccess::writeTimestamp(Format::Timestamp::Seconds, first.data(), "25/10/2015 01:40");
        QVector<QByteArray> records(6, first);
        for (int r = 0; r < 6; ++r) {
            put<quint32>(records[r], 4,
                         qFromLittleEndian<quint32>(first.constData() + 4) + r * 1200);
            put<float>(records[r], 0x1C, r == 5 ? 3.0f : 0.0f);
        }
        open(DataFileType::WS2300, records);
        e->view()->selectionModel()->select(
            QItemSelection(e->model()->index(3, 1), e->model()->index(4, 1)),
            QItemSelectionModel::ClearAndSelect);
        const auto answer = TestSupport::whenShown<CorrectionDialog>([](CorrectionDialog* dialog) {
            dialog->findChild<QRadioButton*>("interpolate")->click();
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        e->trigger("Corriger la sélection...");
        QCOMPARE(e->label(2) + e->label(5) + e->cell(3, 1) + e->cell(4, 1),
                 QStringLiteral("25/10/2015 02:2025/10/2015 02:201.02.0"));
    }

private:
    void open(DataFileType type, const QVector<QByteArray>& records)
    {
        const Format::RecordLayout& layout = Format::layout(type);
        QByteArray bytes(layout.headerSize, 'H');
        for (const QByteArray& r : records)
            bytes += r;
        e->open(type, bytes + QByteArray(layout.trailerSize, 'T'));
        recordSize = layout.recordSize;
    }
    QByteArray record(int row) { return e->records().mid(row * recordSize, recordSize); }

    std::unique_ptr<TestSupport::Editor> e;
    int recordSize = 0;
};

STRATOMARK_TEST_MAIN(TestEditing)
#include "tst_editing.moc"
