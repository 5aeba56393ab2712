#include "testsupport.h"

#include "quality/findingsmodel.h"
#include "quality/qualitypanel.h"
#include "review/chartwindow.h"
#include "review/suspects.h"

#include <cmath>
#include <random>

using Format::DataFileType;
using Format::Quantity;

namespace
{

// A plausible reading of each quantity, which every field of that quantity can hold.
double typical(Quantity quantity)
{
    const Format::PlausibleRange& range = Format::plausibleRange(quantity);
    return quantity == Quantity::None
               ? 0
               : std::round(range.lowest + (range.highest - range.lowest) / 4);
}

} // namespace

class TestReview : public QObject
{
    Q_OBJECT

private slots:
    void init() { e = std::make_unique<TestSupport::Editor>(); }
    void cleanExtremesAreNoSuspects_data()
    {
        QTest::addColumn<int>("type");
        for (const Format::RecordLayout& layout : Format::layouts)
            QTest::newRow(layout.name) << int(&layout - Format::layouts.data());
    }
    // Each column spends its first rows at the bottom of its range and the rest at the top, a rain
    // counter rises by a millimetre a record, and a second temperature rises by exactly the spike
    // threshold: weather, however harsh, is no fault.
    void cleanExtremesAreNoSuspects()
    {
        QFETCH(int, type);
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        open(DataFileType(type), 6, [&](int row, int column) {
            const Format::Field& field = layout.fields[column];
            const Format::PlausibleRange& range = Format::plausibleRange(field.quantity);
            if (field.quantity == Quantity::None)
                return 1.0;
            if (field.quantity == Quantity::RainTotal)
                return double(row);
            if (column == 1 && range.jump > 0)
                return typical(field.quantity) + (row == 3 ? range.jump : 0);
            return row < 3 ? range.lowest : range.highest;
        });
        QCOMPARE(count(), QStringLiteral("Aucune valeur suspecte"));
    }
    // Just beyond a range's end, or just more than a jump off both neighbours: found, in reading
    // order, round to the top again, in the shown columns only, gone once corrected, and moved
    // with their records.
    void plantedFaultsAreFoundInOrder()
    {
        const Format::RecordLayout& layout = Format::layout(DataFileType::WswinWD);
        const QList<QList<double>> planted{{3, 1, 18.1},   {4, 13, -21.9},  {5, 17, 0},
                                           {7, 39, 250.1}, {9, 32, 1018.1}, {10, 0, 50.1},
                                           {10, 12, -60.1}};
        open(DataFileType::WswinWD, 12, [&](int row, int column) {
            for (const QList<double>& fault : planted) {
                if (int(fault.at(0)) == row && int(fault.at(1)) == column)
                    return fault.at(2);
            }
            const Quantity quantity = layout.fields[column].quantity;
            return quantity == Quantity::OutdoorTemperature ? 10.0
                   : quantity == Quantity::Pressure         ? 1013.0
                                                            : typical(quantity);
        });
        QCOMPARE(count(), QStringLiteral("7 valeurs suspectes"));
        e->trigger("Sondes...");
        TestAccess::sensorBoxes(e->window()).at(39)->setChecked(false);
        e->click("OK");
        QVERIFY(e->view()->isColumnHidden(39));
        QCOMPARE(count(), QStringLiteral("6 valeurs suspectes"));
        QStringList visited;
        for (int step = 0; step < 7; ++step) {
            e->trigger("Valeur suspecte suivante");
            visited << QStringLiteral("%1,%2")
                           .arg(e->view()->currentIndex().row())
                           .arg(e->view()->currentIndex().column());
        }
        QCOMPARE(visited.join(' '), QStringLiteral("3,1 4,13 5,17 9,32 10,0 10,12 3,1"));
        e->edit(9, 32, QStringLiteral("1013.0"));
        e->edit(3, 1, QStringLiteral("10.0"));
        e->edit(8, 1, QStringLiteral("-20.0"));
        QCOMPARE(QString("%1%2%3%4")
                     .arg(int(state(9, 32)))
                     .arg(int(state(3, 1)))
                     .arg(int(state(8, 1)))
                     .arg(int(state(2, 2))),
                 QStringLiteral("0010"));
        QCOMPARE(count(), QStringLiteral("5 valeurs suspectes"));
        e->view()->setCurrentIndex(e->model()->index(4, 0));
        e->window().addRow();
        QCOMPARE(QString("%1%2").arg(int(state(10, 0))).arg(int(state(11, 0))),
                 QStringLiteral("01"));
    }
    void noDataValuesAreNoReadings_data()
    {
        TestSupport::columns<int, int, double>({"type", "column", "value"});
        QTest::newRow("WS2300 outdoor temperature") << 3 << 1 << 81.1;
        QTest::newRow("WS2300 outdoor humidity") << 3 << 3 << 110.0;
        QTest::newRow("WS2300 wind of 51.0 m/s") << 3 << 6 << 183.6;
        QTest::newRow("WS3600 gust") << 4 << 10 << 51.0;
    }
    // The value the station writes for no reading is neither a suspect nor a neighbour to compare.
    void noDataValuesAreNoReadings()
    {
        QFETCH(int, type);
        QFETCH(int, column);
        QFETCH(double, value);
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        open(DataFileType(type), 3, [&](int row, int c) {
            return row == 1 && c == column ? value : typical(layout.fields[c].quantity);
        });
        QCOMPARE(state(1, column), CellState::NoData);
        QCOMPARE(count(), QStringLiteral("Aucune valeur suspecte"));
    }
    // One column's values (or, for column -1, the records' dates: labels, or for the WS2300 the
    // minutes its seconds count from 29/10/2023 01:30, over the autumn clock change), every other
    // column plausible and moving; the rows found and the first one's reason.
    void rulesMarkWhatTheyShould_data()
    {
        TestSupport::columns<int, int, int, QStringList, QString>(
            {"type", "column", "interval", "values", "found"});
        const QStringList stuck = repeated(7, "12.3") << "9.0";
        QTest::newRow("temperature stuck 6 h")
            << 3 << 1 << 60 << stuck << "0 1 2 3 4 5 6 : Valeur inchangée depuis 6 h";
        QTest::newRow("temperature stuck 5 h 50") << 3 << 1 << 50 << stuck << "";
        QTest::newRow("pressure stuck 7 h") << 4 << 4 << 70 << (repeated(7, "1008.4") << "1009.0")
                                            << "0 1 2 3 4 5 6 : Valeur inchangée depuis 7 h";
        QTest::newRow("whole-hectopascal pressure") << 2 << 10 << 70 << repeated(8, "1013") << "";
        QTest::newRow("humidity stuck at 97 %")
            << 4 << 3 << 60 << repeated(7, "97") << "0 1 2 3 4 5 6 : Valeur inchangée depuis 6 h";
        QTest::newRow("fog at 98 %") << 4 << 3 << 60 << repeated(7, "98") << "";
        QTest::newRow("indoor humidity stuck") << 4 << 2 << 60 << repeated(7, "40") << "";
        QTest::newRow("gust under the wind")
            << 4 << 10 << 10 << QStringList{"70.0", "61.9", "63.0"}
            << "1 : Rafale plus faible que le vent moyen du même enregistrement";
        QTest::newRow("rain counter set back")
            << 3 << 5 << 10 << QStringList{"10.000", "10.000", "9.999", "59.999"}
            << "2 : Compteur de pluie en baisse de 0.001 mm (remis à zéro ?)";
        QTest::newRow("rain counter leaps")
            << 4 << 6 << 10 << QStringList{"10.000", "60.001", "110.001"}
            << "1 2 : Compteur de pluie en hausse de 50.001 mm en un enregistrement";
        QTest::newRow("date before the one above")
            << 4 << -1 << 10
            << QStringList{"01/03/2023 00:00", "01/03/2023 00:10", "01/03/2023 00:20",
                           "01/03/2023 00:05", "01/03/2023 00:30"}
            << "3 : Daté 15 min avant l'enregistrement précédent";
        QTest::newRow("date repeated") << 1 << -1 << 10
                                       << QStringList{"01/03/2023 00:00", "01/03/2023 00:10",
                                                      "01/03/2023 00:10", "01/03/2023 00:20"}
                                       << "2 : Même date que l'enregistrement précédent";
        QTest::newRow("gap over three intervals and an hour")
            << 4 << -1 << 10
            << QStringList{"01/03/2023 00:00", "01/03/2023 00:10", "01/03/2023 00:20",
                           "01/03/2023 03:40", "01/03/2023 03:50"}
            << "3 : Trou de 3 h 20 avant cet enregistrement";
        QTest::newRow("an hour after ten-minute records")
            << 4 << -1 << 10
            << QStringList{"01/03/2023 00:00", "01/03/2023 00:10", "01/03/2023 01:10"} << "";
        QTest::newRow("three intervals of half an hour")
            << 4 << -1 << 10
            << QStringList{"01/03/2023 00:00", "01/03/2023 00:30", "01/03/2023 01:00",
                           "01/03/2023 02:30"}
            << "";
        QTest::newRow("WS2300 over the clock change")
            << 3 << -1 << 30 << QStringList{"0", "30", "60", "90", "120"} << "";
        QTest::newRow("WS2300 seconds repeated")
            << 3 << -1 << 30 << QStringList{"0", "30", "30", "60"}
            << "2 : Même date que l'enregistrement précédent";
    }
    void rulesMarkWhatTheyShould()
    {
        const auto [type, column, interval, values, found] =
            TestSupport::fetch<int, int, int, QStringList, QString>("type", "column", "interval",
                                                                    "values", "found");
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        QByteArray bytes = fileOf(DataFileType(type), values.size(), interval, [&](int row, int c) {
            return c == column ? values.at(row).toDouble() : moving(layout.fields[c], row);
        });
        for (int row = 0; column < 0 && row < values.size(); ++row) {
            char* record = bytes.data() + layout.headerSize + row * layout.recordSize;
            if (layout.timestamp == Format::Timestamp::Seconds)
                TestSupport::put<quint32>(bytes, int(record - bytes.data()) + 4,
                                          FenPrincipale::textToSeconds("29/10/2023 01:30") +
                                              values.at(row).toUInt() * 60);
            else
                TestAccess::writeTimestamp(layout.timestamp, record, values.at(row));
        }
        e->open(DataFileType(type), bytes);
        const SuspectCells* cells = TestAccess::review(e->window())->suspectCells();
        QStringList rows;
        for (int row = 0; row < values.size(); ++row) {
            if (!cells->reason(row, column).isNull())
                rows << QString::number(row);
        }
        QCOMPARE(rows.isEmpty() ? QString()
                                : rows.join(' ') + " : " + cells->reason(rows[0].toInt(), column),
                 found);
    }
    // The panel lists a dead sensor's run, splits it at an edit, finds it again at the undo, and
    // loses it when removing its first row shortens it below six hours; an added row has no date.
    // A click on a finding makes its place current; F3 walks on and says when it comes round.
    void panelFollowsTheTable()
    {
        const Format::RecordLayout& layout = Format::layout(DataFileType::WS3600);
        e->open(DataFileType::WS3600, fileOf(DataFileType::WS3600, 8, 60, [&](int row, int c) {
                    return c == 4 && row < 7 ? 1008.4 : moving(layout.fields[c], row);
                }));
        e->trigger("Contrôle qualité");
        const auto groups = [this] {
            QStringList texts;
            const FindingsModel* findings =
                TestAccess::review(e->window())->qualityPanel()->findings();
            for (int g = 0; g < findings->rowCount(QModelIndex()); ++g)
                texts << findings->index(g, 0, QModelIndex()).data().toString();
            return texts.join(" / ");
        };
        const QString stuck = QStringLiteral("Pression Rel. (7) : Valeur inchangée 6 h ou plus");
        QTRY_COMPARE(groups(), stuck);
        e->edit(3, 4, QStringLiteral("1008.5"));
        QTRY_COMPARE(groups(), QString());
        e->trigger("Annuler");
        QTRY_COMPARE(groups(), stuck);
        QualityPanel* panel = TestAccess::review(e->window())->qualityPanel();
        const QModelIndex group = panel->findings()->index(0, 0, QModelIndex());
        emit panel->findChild<QTreeView*>()->clicked(panel->findings()->index(5, 0, group));
        QCOMPARE(e->view()->currentIndex(), e->model()->index(5, 4));
        e->trigger("Valeur suspecte suivante");
        QCOMPARE(e->view()->currentIndex(), e->model()->index(6, 4));
        e->trigger("Valeur suspecte suivante");
        QCOMPARE(e->view()->currentIndex(), e->model()->index(0, 4));
        QCOMPARE(TestAccess::statusBar(e->window())->currentMessage(),
                 QStringLiteral("Fin du tableau : retour à la première anomalie"));
        e->trigger("Valeur suspecte précédente");
        QCOMPARE(e->view()->currentIndex(), e->model()->index(6, 4));
        e->clickRowHeader(0);
        e->trigger("Supprimer la/les ligne(s)");
        QTRY_COMPARE(groups(), QString());
        e->view()->setCurrentIndex(e->model()->index(2, 0));
        e->trigger("Ajouter une ligne");
        QTRY_COMPARE(groups(), QStringLiteral("Dates (1) : Lignes sans date"));
        QCOMPARE(e->model()->headerData(3, Qt::Vertical, Qt::ToolTipRole).toString(),
                 QStringLiteral("Ligne sans date"));
        e->view()->setCurrentIndex(e->model()->index(0, 0));
        e->trigger("Valeur suspecte suivante");
        QCOMPARE(e->view()->selectionModel()->selectedRows().value(0).row(), 3);
    }
    // Whatever is done to the table, the findings kept up to date around each change are those that
    // a fresh examination of the whole table finds.
    void followingMatchesAFreshLook()
    {
        const Format::RecordLayout& layout = Format::layout(DataFileType::WS3600);
        e->open(DataFileType::WS3600, fileOf(DataFileType::WS3600, 10, 60, [&](int row, int c) {
                    return c == 4 && row < 7 ? 1008.4 : moving(layout.fields[c], row);
                }));
        std::mt19937 random(7);
        const auto pick = [&random](const auto& items) {
            return items.at(int(random() % items.size()));
        };
        const TestSupport::BoxLog boxes;
        const auto answer = TestSupport::whenModalShown([&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
                dialog->setIntValue(pick(QVector<int>{-130, 60, 250}));
                dialog->accept();
            }
            return false;
        });
        const QStringList values{"1008.4", "1008.5", "12.3", "70.0", "99.000", "51.0"};
        const auto described = [this](const SuspectCells& cells) {
            QStringList parts;
            for (int c = SuspectCells::Place::dateColumn; c < cells.columnCount(); ++c) {
                for (const Quality::Finding& f :
                     c < 0 ? cells.dateFindings() : cells.columnFindings(c))
                    parts
                        << QString("%1,%2:%3 %4").arg(f.row).arg(c).arg(int(f.rule)).arg(f.detail);
            }
            return parts.join(' ');
        };
        for (int step = 0; step < 150; ++step) {
            const int row = int(random() % e->model()->rowCount());
            e->view()->setCurrentIndex(e->model()->index(row, 0));
            switch (random() % 6) {
            case 0:
                e->trigger("Décaler les dates...");
                break;
            case 1:
                e->clickRowHeader(row);
                e->trigger(e->model()->rowCount() > 5 ? "Supprimer la/les ligne(s)" : "Annuler");
                break;
            case 2:
                e->trigger(random() % 2 ? "Ajouter une ligne" : "Annuler");
                break;
            default:
                e->edit(row, pick(QVector<int>{4, 6, 8, 10}), pick(values));
            }
            const SuspectCells fresh(e->model(), DataFileType::WS3600,
                                     TestAccess::rowTime(e->window()), nullptr);
            QCOMPARE(described(*TestAccess::review(e->window())->suspectCells()), described(fresh));
        }
    }
    // The selected rows' dates move as one operation, undone whole; a shift that lands one of them
    // in the spring clock change's missing hour, in the autumn's repeated one, or a wswin date
    // before 1980, changes nothing and names the first row concerned.
    void datesShiftOrNot_data()
    {
        TestSupport::columns<int, QString, int, QString>({"type", "first", "minutes", "outcome"});
        QTest::newRow("back half an hour")
            << 3 << "26/03/2023 01:00" << -30
            << "26/03/2023 01:00 26/03/2023 00:40 26/03/2023 00:50 26/03/2023 01:30";
        QTest::newRow("into the missing hour")
            << 3 << "26/03/2023 01:00" << 60
            << "Ligne 2 (26/03/2023 01:10) : La date du 26/03/2023 02:10 ne peut pas être "
               "enregistrée dans ce fichier.\n\nAucune date n'a été décalée.";
        QTest::newRow("into the repeated hour")
            << 3 << "31/10/2010 01:30" << 30
            << "Ligne 2 (31/10/2010 01:40) : La date du 31/10/2010 02:10 tombe dans l'heure que le "
               "passage à l'heure d'hiver répète : ce fichier ne dirait pas laquelle des deux."
               "\n\nAucune date n'a été décalée.";
        QTest::newRow("before 1980")
            << 1 << "01/01/1980 00:05" << -20
            << "Ligne 2 (01/01/1980 00:15) : La date du 31/12/1979 23:55 ne peut pas être "
               "enregistrée dans ce fichier.\n\nAucune date n'a été décalée.";
    }
    void datesShiftOrNot()
    {
        const auto [type, first, minutes, outcome] =
            TestSupport::fetch<int, QString, int, QString>("type", "first", "minutes", "outcome");
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        QByteArray bytes = TestSupport::stationFile(DataFileType(type), 4);
        const QDateTime start = QDateTime::fromString(first, "dd/MM/yyyy hh:mm");
        for (int row = 0; row < 4; ++row)
            TestAccess::writeTimestamp(layout.timestamp,
                                       bytes.data() + layout.headerSize + row * layout.recordSize,
                                       start.addSecs(600 * row).toString("dd/MM/yyyy hh:mm"));
        e->open(DataFileType(type), bytes);
        const QByteArray records = e->records();
        const QStringList grid = e->grid();
        e->view()->selectionModel()->select(
            QItemSelection(e->model()->index(1, 2), e->model()->index(2, 3)),
            QItemSelectionModel::Select);
        const TestSupport::BoxLog boxes;
        const auto answer =
            TestSupport::whenShown<QInputDialog>([minutes = minutes](QInputDialog* d) {
                d->setIntValue(minutes);
                d->accept();
            });
        e->trigger("Décaler les dates...");
        QStringList labels;
        for (int row = 0; row < 4; ++row)
            labels << e->label(row);
        QCOMPARE(boxes.texts.isEmpty() ? labels.join(' ') : boxes.texts.join(' '), outcome);
        e->trigger("Annuler");
        QCOMPARE(e->grid(), grid);
        QCOMPARE(e->records(), records);
    }
    // The cell editor opens on the cell's text and, closed unchanged, changes nothing; a click on a
    // chart's point makes that record's cell current.
    void editorAndChartLeadToTheCell()
    {
        open(DataFileType::WswinWM, 4, [](int row, int) { return 12.0 + row; });
        e->view()->edit(e->model()->index(1, 0));
        auto* editor = e->view()->viewport()->findChild<QLineEdit*>();
        QCOMPARE(editor->text(), QStringLiteral("13.0"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(TestAccess::undoCount(e->window()) == 0 && !e->enabled("Enregistrer"));
        QCOMPARE(e->window().windowTitle(), QStringLiteral("f.DAT[*] - Stratomark v1.0.11"));
        e->view()->setCurrentIndex(e->model()->index(0, 2));
        e->trigger("Graphique...");
        ChartWindow* chart = TestAccess::review(e->window())->chart();
        QCOMPARE(chart->windowTitle(), QStringLiteral("Temp. 2 (°C)"));
        emit chart->recordClicked(3);
        QCOMPARE(e->view()->currentIndex(), e->model()->index(3, 2));
        e->open(DataFileType::WS3600, 2);
        QVERIFY(!TestAccess::review(e->window())->chart());
    }

private:
    // A file of rows records whose every column holds value(row, column) as the table shows it.
    void open(DataFileType type, int rows, const std::function<double(int, int)>& value);
    static QByteArray fileOf(DataFileType type, int rows, int intervalMinutes,
                             const std::function<double(int, int)>& value);
    static QStringList repeated(int times, const char* value)
    {
        return QVector<QString>(times, value).toList();
    }
    // A plausible reading of the field that moves from record to record.
    static double moving(const Format::Field& field, int row)
    {
        return typical(field.quantity) + (field.quantity == Quantity::RainTotal ? row : row % 2);
    }
    CellState state(int row, int column)
    {
        return TestAccess::review(e->window())->suspectCells()->state(row, column);
    }
    QString count() { return TestAccess::statusBar(e->window())->findChild<QLabel*>()->text(); }

    std::unique_ptr<TestSupport::Editor> e;
};

void TestReview::open(DataFileType type, int rows, const std::function<double(int, int)>& value)
{
    e->open(type, fileOf(type, rows, 10, value));
}

QByteArray TestReview::fileOf(DataFileType type, int rows, int intervalMinutes,
                              const std::function<double(int, int)>& value)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes = TestSupport::stationFile(type, rows, intervalMinutes);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < layout.columnCount; ++column) {
            const Format::Field& field = layout.fields[column];
            TestAccess::writeField(field,
                                   bytes.data() + layout.headerSize + row * layout.recordSize,
                                   QString::number(value(row, column), 'f',
                                                   qMax(0, Format::ruleDecimals(field.rule))));
        }
    }
    return bytes;
}

STRATOMARK_TEST_MAIN(TestReview)
#include "tst_review.moc"
