#include "testsupport.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>

#include <climits>

using Format::DataFileType;
using TestSupport::BoxLog;

class TestRows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addRow_data();
    void addRow();
    void removeRowsPickedWithCtrl();
    void fileWithoutRecordsAndEveryRowRemoved();
    void historyFollowsItsRecords();
    void nothingActsWithoutADocument_data();
    void nothingActsWithoutADocument();
    void bufferThatCannotGrow();
    void dateChange_data();
    void dateChange();
    void dateSearch_data();
    void dateSearch();
    void rowActionStates();

private:
    QTableView* view() { return e->view(); }
    void clickRowHeader(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<TestSupport::Editor> e;
};

void TestRows::init()
{
    e = std::make_unique<TestSupport::Editor>();
}

void TestRows::clickRowHeader(int row, Qt::KeyboardModifiers modifiers)
{
    QHeaderView* header = view()->verticalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers,
                      QPoint(5, header->sectionViewportPosition(row) + 5));
}

void TestRows::addRow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("selectorMoved");
    QTest::newRow("no current cell: at the top") << int(DataFileType::WS2300) << -1 << 0 << false;
    QTest::newRow("below the current row") << int(DataFileType::WswinWM) << 2 << 3 << false;
    QTest::newRow("after the last") << int(DataFileType::WS3600) << 4 << 5 << false;
    QTest::newRow("selector moved to another type") << int(DataFileType::WswinWD) << 0 << 1 << true;
}

// The new record is all zero bytes, in its place, with its neighbours untouched, in the buffer
// of the document's own type whatever the selector shows.
void TestRows::addRow()
{
    QFETCH(int, type);
    QFETCH(int, currentRow);
    QFETCH(int, position);
    QFETCH(bool, selectorMoved);
    e->open(DataFileType(type), 5);
    const int size = Format::layout(DataFileType(type)).recordSize;
    QByteArray expected = e->records();
    if (currentRow >= 0)
        view()->setCurrentIndex(e->model()->index(currentRow, 0));
    if (selectorMoved)
        TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WS2300));
    e->window().addRow();

    expected.insert(position * size, QByteArray(size, '\0'));
    QCOMPARE(e->records().toHex(), expected.toHex());
    QCOMPARE(e->model()->rowCount(), 6);
    QCOMPARE(e->label(position), QStringLiteral("--/--/---- --:--"));
    for (int column = 0; column < e->model()->columnCount(); ++column)
        QCOMPARE(e->cell(position, column), QStringLiteral("--"));
    QCOMPARE(TestAccess::fileLabel(e->window())->text(),
             QStringLiteral("Fichier \"f.DAT\" : 6 données"));
    QVERIFY(e->enabled(QStringLiteral("Enregistrer")));
}

void TestRows::removeRowsPickedWithCtrl()
{
    e->open(DataFileType::WswinWD, 7);
    const QByteArray before = e->records();
    QStringList labels;
    for (int row = 0; row < 7; ++row)
        labels << e->label(row);
    clickRowHeader(5);
    clickRowHeader(2, Qt::ControlModifier);
    QVERIFY(e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));
    e->trigger(QStringLiteral("Supprimer la/les ligne(s)"));

    QByteArray expected = before;
    expected.remove(5 * 76, 76).remove(2 * 76, 76);
    QCOMPARE(e->records().toHex(), expected.toHex());
    labels.removeAt(5);
    labels.removeAt(2);
    for (int row = 0; row < 5; ++row)
        QCOMPARE(e->label(row), labels.at(row));
    QCOMPARE(e->model()->rowCount(), 5);
    QCOMPARE(TestAccess::fileLabel(e->window())->text(),
             QStringLiteral("Fichier \"f.DAT\" : 5 données"));
    QVERIFY(!e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));
    QVERIFY(e->enabled(QStringLiteral("Enregistrer")));
}

// A file without records shows one row that holds none: removing it removes nothing, adding
// replaces it. With every row removed the table is empty, the search has nothing to find, and
// saving writes a history without records.
void TestRows::fileWithoutRecordsAndEveryRowRemoved()
{
    const QString path = e->open(DataFileType::WS2300, 0);
    view()->selectAll();
    e->window().removeRow();
    QCOMPARE(e->model()->rowCount(), 1);
    e->window().addRow();
    QCOMPARE(e->model()->rowCount(), 1);
    QCOMPARE(e->records(), QByteArray(36, '\0'));

    view()->selectAll();
    e->window().removeRow();
    QCOMPARE(e->model()->rowCount(), 0);
    QCOMPARE(TestAccess::recordCount(e->window()), 0);
    e->trigger(QStringLiteral("Aller en Haut"));
    e->trigger(QStringLiteral("Aller en Bas"));
    QVERIFY(!view()->currentIndex().isValid());
    {
        BoxLog boxes;
        e->window().fenetre_chercher_date();
        e->window().rechercher_date();
        QCOMPARE(boxes.texts,
                 QStringList{"La date recherchée n'est pas disponible dans le tableau"});
    }
    e->trigger(QStringLiteral("Enregistrer"));
    const QByteArray bytes = TestSupport::readFile(path);
    QCOMPARE(bytes.size(), 28);
    QCOMPARE(bytes.mid(16), QByteArray(12, '\0'));

    e->window().addRow();
    QCOMPARE(e->model()->rowCount(), 1);
    QCOMPARE(e->records(), QByteArray(36, '\0'));
}

// Undo and redo land on the record that was edited, wherever adds and removals moved it; the
// entries of a removed record are gone.
void TestRows::historyFollowsItsRecords()
{
    e->open(DataFileType::WswinWM, 6);
    const QByteArray original = e->records();
    const QString third = e->cell(3, 0);
    e->edit(1, 0, QStringLiteral("1.5"));
    e->edit(3, 0, QStringLiteral("3.5"));
    e->edit(4, 0, QStringLiteral("4.5"));
    e->trigger(QStringLiteral("Annuler"));
    view()->setCurrentIndex(e->model()->index(1, 0));
    e->window().addRow();
    view()->selectRow(1);
    e->window().removeRow();

    e->trigger(QStringLiteral("Annuler"));
    QCOMPARE(e->cell(3, 0), third);
    QVERIFY(!e->enabled(QStringLiteral("Annuler")));
    QVERIFY(e->enabled(QStringLiteral("Rétablir")));
    QByteArray expected = original;
    expected.insert(2 * 30, QByteArray(30, '\0')).remove(30, 30);
    QCOMPARE(e->records().toHex(), expected.toHex());

    e->trigger(QStringLiteral("Rétablir"));
    e->trigger(QStringLiteral("Rétablir"));
    QVERIFY(!e->enabled(QStringLiteral("Rétablir")));
    QCOMPARE(e->cell(3, 0), QStringLiteral("3.5"));
    QCOMPARE(e->cell(4, 0), QStringLiteral("4.5"));
    TestSupport::put<qint16>(expected, 3 * 30 + 4, 35);
    TestSupport::put<qint16>(expected, 4 * 30 + 4, 45);
    QCOMPARE(e->records().toHex(), expected.toHex());
}

void TestRows::nothingActsWithoutADocument_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("at start") << "start";
    QTest::newRow("after the listing cleared it") << "listed";
    QTest::newRow("after a cancelled build") << "cancelled";
}

void TestRows::nothingActsWithoutADocument()
{
    QFETCH(QString, state);
    if (state == QLatin1String("listed")) {
        e->open(DataFileType::WswinWD, 5);
        TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WswinWM));
        TestAccess::fileTypeCombo(e->window())->setCurrentIndex(int(DataFileType::WswinWD));
    } else if (state == QLatin1String("cancelled")) {
        const auto cancel = TestSupport::whenShown<QProgressDialog>(
            [](QProgressDialog* progress) { progress->cancel(); });
        e->open(DataFileType::WS2300, 3000);
    }
    BoxLog boxes;
    clickRowHeader(0);
    QTest::mouseDClick(view()->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    e->window().addRow();
    e->window().removeRow();
    e->window().fenetre_chercher_date();
    e->window().rechercher_date();
    QVERIFY(!e->enabled(QStringLiteral("Ajouter une ligne")));
    QVERIFY(!e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));
    QVERIFY(!e->enabled(QStringLiteral("Enregistrer")));
    QVERIFY(!TestAccess::currentDialog(e->window()));
    QCOMPARE(e->model()->rowCount(), 1);
    QCOMPARE(e->model()->columnCount(), 1);
    for (char* buffer : TestAccess::buffers(e->window()))
        QVERIFY(!buffer);
    QCOMPARE(boxes.texts, QStringList());
}

// A count an int32 cannot hold stands for any buffer that cannot grow: the table, the buffer and
// the count stay as they were.
void TestRows::bufferThatCannotGrow()
{
    e->open(DataFileType::WS3600, 3);
    const QByteArray before = e->records();
    TestAccess::setRecordCount(e->window(), INT_MAX);
    BoxLog boxes;
    e->window().addRow();
    TestAccess::setRecordCount(e->window(), 3);
    QCOMPARE(boxes.texts, QStringList{"Mémoire insuffisante"});
    QCOMPARE(e->model()->rowCount(), 3);
    QCOMPARE(e->records(), before);
    QVERIFY(!e->enabled(QStringLiteral("Enregistrer")));
}

void TestRows::dateChange_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("shown");
    const int WD = int(DataFileType::WswinWD), WS = int(DataFileType::WswinWS),
              WM = int(DataFileType::WswinWM), W23 = int(DataFileType::WS2300),
              W36 = int(DataFileType::WS3600);
    QTest::newRow("wswin_WD") << WD << "05/03/2015 14:30"
                              << "05/03/2015 14:30";
    QTest::newRow("wswin_WS first day") << WS << "01/01/1980 00:00"
                                        << "01/01/1980 00:00";
    QTest::newRow("wswin_WM last minute") << WM << "31/12/2107 23:59"
                                          << "31/12/2107 23:59";
    QTest::newRow("wswin 1979 is not offered") << WD << "31/12/1979 08:15"
                                               << "01/01/1980 08:15";
    QTest::newRow("WS3600 in the spring change") << W36 << "29/03/2015 02:30"
                                                 << "29/03/2015 02:30";
    QTest::newRow("WS3600 last minute") << W36 << "07/02/2106 06:28"
                                        << "07/02/2106 06:28";
    QTest::newRow("WS3600 past its span") << W36 << "07/02/2106 06:29"
                                          << "";
    QTest::newRow("WS2300") << W23 << "05/03/2015 14:30"
                            << "05/03/2015 14:30";
    QTest::newRow("WS2300 first minute") << W23 << "01/01/1970 01:00"
                                         << "01/01/1970 01:00";
    QTest::newRow("WS2300 before its span") << W23 << "01/01/1970 00:59"
                                            << "";
    QTest::newRow("WS2300 in the spring gap") << W23 << "29/03/2015 02:30"
                                              << "";
}

// The dialog writes the row whose label was double-clicked, even when no column is shown and
// another row is current. A date that the timestamp of the document's type cannot hold is
// refused with a box naming it, and nothing is written.
void TestRows::dateChange()
{
    QFETCH(int, type);
    QFETCH(QString, date);
    QFETCH(QString, shown);
    const QString path = e->open(DataFileType(type), 3);
    const QByteArray before = e->records();
    const QString oldLabel = e->label(1);
    for (int column = 0; column < e->model()->columnCount(); ++column)
        view()->setColumnHidden(column, true);
    view()->setCurrentIndex(e->model()->index(0, 0));
    QHeaderView* header = view()->verticalHeader();
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                       QPoint(5, header->sectionViewportPosition(1) + 5));

    QDialog* dialog = TestAccess::currentDialog(e->window());
    QVERIFY(dialog && dialog->isVisible());
    auto* dateEdit = dialog->findChild<QDateEdit*>();
    QCOMPARE(dateEdit->date().toString(QStringLiteral("dd/MM/yyyy")), oldLabel.left(10));
    QVERIFY(dateEdit->width() >= dateEdit->sizeHint().width());
    dateEdit->setDate(QDate::fromString(date.left(10), QStringLiteral("dd/MM/yyyy")));
    dialog->findChild<QTimeEdit*>()->setTime(QTime::fromString(date.mid(11)));
    BoxLog boxes;
    dialog->findChild<QPushButton*>()->click();

    if (shown.isEmpty()) {
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("La date du %1 ne peut pas être "
                                                         "enregistrée dans ce fichier.")
                                              .arg(date)});
        QVERIFY(dialog->isVisible());
        QCOMPARE(e->label(1), oldLabel);
        QCOMPARE(e->records(), before);
        QVERIFY(!e->enabled(QStringLiteral("Enregistrer")));
        return;
    }
    QCOMPARE(boxes.texts, QStringList());
    e->trigger(QStringLiteral("Enregistrer"));
    TestAccess::load(e->window(), DataFileType(type), path);
    QCOMPARE(e->label(1), shown);
    QCOMPARE(e->label(0), QStringLiteral("01/01/2010 12:00"));
}

void TestRows::dateSearch_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("setUp");
    QTest::newRow("exact row") << "02/01/2010 21:20" << 200 << "";
    QTest::newRow("between two rows") << "02/01/2010 21:25" << 201 << "";
    QTest::newRow("first row") << "01/01/2010 12:00" << 0 << "";
    QTest::newRow("a minute before the first") << "01/01/2010 11:59" << -1 << "";
    QTest::newRow("last row") << "03/01/2010 13:50" << 299 << "";
    QTest::newRow("a minute after the last") << "03/01/2010 13:51" << -1 << "";
    QTest::newRow("placeholder last row") << "02/01/2010 21:20" << -1 << "add";
}

// The found row stands at the top of the view, selected and current, even with the first
// column hidden.
void TestRows::dateSearch()
{
    QFETCH(QString, date);
    QFETCH(int, found);
    QFETCH(QString, setUp);
    e->open(DataFileType::WS3600, 300);
    view()->setColumnHidden(0, true);
    if (setUp == QLatin1String("add")) {
        view()->setCurrentIndex(e->model()->index(299, 1));
        e->window().addRow();
    }
    e->trigger(QStringLiteral("Rechercher une date..."));
    QDialog* dialog = TestAccess::currentDialog(e->window());
    auto* dateEdit = dialog->findChild<QDateEdit*>();
    auto* timeEdit = dialog->findChild<QTimeEdit*>();
    QCOMPARE(dateEdit->date(), QDate(2010, 1, 1));
    QCOMPARE(timeEdit->time(), QTime(12, 0));
    dateEdit->setDate(QDate::fromString(date.left(10), QStringLiteral("dd/MM/yyyy")));
    timeEdit->setTime(QTime::fromString(date.mid(11)));
    BoxLog boxes;
    dialog->findChild<QPushButton*>()->click();

    if (found < 0) {
        QCOMPARE(boxes.texts,
                 QStringList{"La date recherchée n'est pas disponible dans le tableau"});
        QVERIFY(dialog->isVisible());
        return;
    }
    QVERIFY(boxes.texts.isEmpty());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(view()->currentIndex().row(), found);
    QCOMPARE(view()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(view()->selectionModel()->selectedRows().first().row(), found);
    if (found > 0 && found < 299)
        QCOMPARE(view()->rowAt(0), found);
}

void TestRows::rowActionStates()
{
    e->open(DataFileType::WswinWS, 100);
    QVERIFY(!e->enabled(QStringLiteral("Ajouter une ligne")));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                      view()->visualRect(e->model()->index(1, 1)).center());
    QVERIFY(e->enabled(QStringLiteral("Ajouter une ligne")));
    QVERIFY(!e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));
    clickRowHeader(3);
    QVERIFY(e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));

    e->trigger(QStringLiteral("Aller en Bas"));
    QCOMPARE(view()->currentIndex().row(), 99);
    QVERIFY(!view()->selectionModel()->hasSelection());
    QVERIFY(e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));
    e->trigger(QStringLiteral("Supprimer la/les ligne(s)"));
    QCOMPARE(e->model()->rowCount(), 100);

    e->trigger(QStringLiteral("Aller en Haut"));
    QCOMPARE(view()->currentIndex().row(), 0);
    clickRowHeader(0);
    e->trigger(QStringLiteral("Supprimer la/les ligne(s)"));
    QCOMPARE(e->model()->rowCount(), 99);
    QVERIFY(!e->enabled(QStringLiteral("Supprimer la/les ligne(s)")));
    QVERIFY(e->enabled(QStringLiteral("Ajouter une ligne")));
}

STRATOMARK_TEST_MAIN(TestRows)
#include "tst_rows.moc"
