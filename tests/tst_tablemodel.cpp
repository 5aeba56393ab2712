#include "testsupport.h"

#include <QSignalSpy>

class TestTableModel : public QObject
{
    Q_OBJECT

private slots:
    void construction_data();
    void construction();
    void dataRoles();
    void headerRoles();
    void setDataRefusesOtherRolesAndInvalidIndexes();
    void setDataKeepsPreviousText();
    void setDataWithBlockedSignals();
    void setHeaderLabelsIsAllOrNothing_data();
    void setHeaderLabelsIsAllOrNothing();
    void setHeaderLabelsSetsEveryLabel();
    void removeExtraRows_data();
    void removeExtraRows();
    void insertRowsAddsEmptyRow();
    void removeRowsOutsideTheTable();
    void removingEveryRowKeepsTheColumnCount();
    void insertAndRemoveColumns();
    void flags();
    void rowLabelsKeepAnyText_data();
    void rowLabelsKeepAnyText();
};

void TestTableModel::construction_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("expectedRows");
    QTest::addColumn<int>("expectedColumns");
    QTest::newRow("0x0") << 0 << 0 << 1 << 1;
    QTest::newRow("-5x3") << -5 << 3 << 1 << 3;
    QTest::newRow("4x-1") << 4 << -1 << 4 << 1;
    QTest::newRow("20x46") << 20 << 46 << 20 << 46;
}

void TestTableModel::construction()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, expectedRows);
    QFETCH(int, expectedColumns);
    TableModel model(rows, columns, nullptr);
    QCOMPARE(model.rowCount(), expectedRows);
    QCOMPARE(model.columnCount(), expectedColumns);
    QVERIFY(model.previousText.isNull());
    for (int r = 0; r < expectedRows; ++r) {
        const QVariant label = model.headerData(r, Qt::Vertical, Qt::DisplayRole);
        QVERIFY(label.toString().isEmpty() && !label.toString().isNull());
        for (int c = 0; c < expectedColumns; ++c) {
            const QString text = model.data(model.index(r, c), Qt::DisplayRole).toString();
            QVERIFY(text.isEmpty() && !text.isNull());
        }
    }
    for (int c = 0; c < expectedColumns; ++c)
        QVERIFY(!model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().isNull());
}

void TestTableModel::dataRoles()
{
    TableModel model(3, 2, nullptr);
    model.setData(model.index(1, 1), QStringLiteral("12.5"), Qt::EditRole);
    const QModelIndex cell = model.index(1, 1);
    QCOMPARE(model.data(cell, Qt::DisplayRole), QVariant(QStringLiteral("12.5")));
    QVERIFY(!model.data(cell, Qt::EditRole).isValid());
    QVERIFY(!model.data(cell, Qt::ToolTipRole).isValid());
    for (int r = 0; r < 3; ++r)
        QCOMPARE(model.data(model.index(r, 0), Qt::TextAlignmentRole).toInt(), 132);
    QVERIFY(!model.data(model.index(-1, 0), Qt::DisplayRole).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::TextAlignmentRole).isValid());
}

void TestTableModel::headerRoles()
{
    TableModel model(2, 2, nullptr);
    model.setHeaderData(0, Qt::Vertical, QStringLiteral("01/01/2010 12:00"), Qt::EditRole);
    model.setHeaderData(1, Qt::Horizontal, QStringLiteral("Pluie\n(mm)"), Qt::EditRole);
    QVERIFY(!model.headerData(0, Qt::Vertical, Qt::TextAlignmentRole).isValid());
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(),
             QStringLiteral("01/01/2010 12:00"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Pluie\n(mm)"));
    QCOMPARE(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), QString());

    qRegisterMetaType<Qt::Orientation>();
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QVERIFY(!model.setHeaderData(0, Qt::Vertical, QStringLiteral("x"), Qt::DisplayRole));
    QCOMPARE(headers.count(), 0);
    QVERIFY(model.setHeaderData(1, Qt::Vertical, QStringLiteral("y"), Qt::EditRole));
    QCOMPARE(headers.count(), 1);
    QCOMPARE(headers.at(0).at(0).value<Qt::Orientation>(), Qt::Vertical);
    QCOMPARE(headers.at(0).at(1).toInt(), 1);
    QCOMPARE(headers.at(0).at(2).toInt(), 1);
}

void TestTableModel::setDataRefusesOtherRolesAndInvalidIndexes()
{
    TableModel model(2, 2, nullptr);
    model.setData(model.index(0, 0), QStringLiteral("5"), Qt::EditRole);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("7"), Qt::DisplayRole));
    QVERIFY(!model.setData(QModelIndex(), QStringLiteral("7"), Qt::EditRole));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("5"));
    QCOMPARE(model.previousText, QString(QLatin1String("")));
}

void TestTableModel::setDataKeepsPreviousText()
{
    TableModel model(2, 2, nullptr);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(1, 0);
    QVERIFY(model.setData(cell, QStringLiteral("1"), Qt::EditRole));
    QVERIFY(model.setData(cell, QStringLiteral("2"), Qt::EditRole));
    QVERIFY(model.setData(cell, QStringLiteral("2"), Qt::EditRole));
    QCOMPARE(model.data(cell, Qt::DisplayRole).toString(), QStringLiteral("2"));
    QCOMPARE(model.previousText, QStringLiteral("2"));
    QCOMPARE(changes.count(), 3);
    for (const QList<QVariant>& signal : changes) {
        QCOMPARE(signal.at(0).toModelIndex(), cell);
        QCOMPARE(signal.at(1).toModelIndex(), cell);
        QVERIFY(signal.at(2).value<QVector<int>>().isEmpty());
    }
    model.setData(cell, QStringLiteral(" 3 "), Qt::EditRole);
    QCOMPARE(model.data(cell, Qt::DisplayRole).toString(), QStringLiteral(" 3 "));
}

void TestTableModel::setDataWithBlockedSignals()
{
    TableModel model(1, 3, nullptr);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.setData(model.index(0, 2), QStringLiteral("first"), Qt::EditRole);
    {
        const QSignalBlocker blocker(model);
        QVERIFY(model.setData(model.index(0, 2), QStringLiteral("--"), Qt::EditRole));
    }
    QCOMPARE(changes.count(), 1);
    QCOMPARE(model.previousText, QStringLiteral("first"));
    QCOMPARE(model.data(model.index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("--"));
}

void TestTableModel::setHeaderLabelsIsAllOrNothing_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("labelCount");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("result");
    QTest::newRow("columns, one short") << 1 << 3 << 2 << false;
    QTest::newRow("columns, one too many") << 1 << 5 << 2 << false;
    QTest::newRow("rows, one short") << 2 << 1 << 2 << false;
    QTest::newRow("orientation 0") << 0 << 4 << 2 << true;
    QTest::newRow("display role, columns") << 1 << 4 << 0 << false;
    QTest::newRow("display role, orientation 0") << 0 << 4 << 0 << false;
}

void TestTableModel::setHeaderLabelsIsAllOrNothing()
{
    QFETCH(int, orientation);
    QFETCH(int, labelCount);
    QFETCH(int, role);
    QFETCH(bool, result);
    TableModel model(2, 4, nullptr);
    QStringList labels;
    for (int i = 0; i < labelCount; ++i)
        labels << QStringLiteral("L%1").arg(i);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QCOMPARE(model.setHeaderLabels(orientation, labels, role), result);
    QCOMPARE(headers.count(), 0);
    for (int c = 0; c < 4; ++c)
        QCOMPARE(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
    for (int r = 0; r < 2; ++r)
        QCOMPARE(model.headerData(r, Qt::Vertical, Qt::DisplayRole).toString(), QString());
}

void TestTableModel::setHeaderLabelsSetsEveryLabel()
{
    TableModel model(2, 3, nullptr);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    const QStringList columns{QStringLiteral("a\n(x)"), QStringLiteral("b"), QStringLiteral("c")};
    QVERIFY(model.setHeaderLabels(Qt::Horizontal, columns, Qt::EditRole));
    QVERIFY(model.setHeaderLabels(
        Qt::Vertical, QStringList{QStringLiteral("r0"), QStringLiteral("r1")}, Qt::EditRole));
    QCOMPARE(headers.count(), 5);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), columns.at(c));
    QCOMPARE(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("r1"));
}

void TestTableModel::removeExtraRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("removals");
    QTest::newRow("one row") << 1 << 0;
    QTest::newRow("two rows") << 2 << 1;
    QTest::newRow("500 rows") << 500 << 1;
}

void TestTableModel::removeExtraRows()
{
    QFETCH(int, rows);
    QFETCH(int, removals);
    TableModel model(rows, 2, nullptr);
    model.setHeaderData(0, Qt::Vertical, QStringLiteral("first"), Qt::EditRole);
    model.setData(model.index(0, 1), QStringLiteral("kept"), Qt::EditRole);
    QSignalSpy aboutToRemove(&model, &QAbstractItemModel::rowsAboutToBeRemoved);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(model.removeExtraRows());
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(removed.count(), removals);
    QCOMPARE(aboutToRemove.count(), removals);
    QCOMPARE(reset.count(), 0);
    if (removals) {
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        QCOMPARE(removed.at(0).at(2).toInt(), rows - 1);
    }
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(),
             QStringLiteral("first"));
    QCOMPARE(model.data(model.index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("kept"));
}

void TestTableModel::insertRowsAddsEmptyRow()
{
    TableModel model(1, 5, nullptr);
    model.setHeaderData(0, Qt::Vertical, QStringLiteral("old"), Qt::EditRole);
    model.setData(model.index(0, 4), QStringLiteral("9"), Qt::EditRole);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QVERIFY(model.insertRows(0, 1, QModelIndex()));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 0);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 5);
    for (int c = 0; c < 5; ++c)
        QCOMPARE(model.data(model.index(0, c), Qt::DisplayRole).toString(), QString());
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QString());
    QCOMPARE(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("old"));
    QCOMPARE(model.data(model.index(1, 4), Qt::DisplayRole).toString(), QStringLiteral("9"));

    QVERIFY(model.insertRows(2, 3, QModelIndex()));
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.columnCount(), 5);
}

void TestTableModel::removeRowsOutsideTheTable()
{
    TableModel model(3, 2, nullptr);
    QVERIFY(model.removeRows(10, 2, QModelIndex()));
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(model.removeRows(2, 5, QModelIndex()));
    QCOMPARE(model.rowCount(), 2);
}

void TestTableModel::removingEveryRowKeepsTheColumnCount()
{
    TableModel model(3, 4, nullptr);
    QVERIFY(model.removeRows(0, 3, QModelIndex()));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 4);
    QVERIFY(model.insertRows(0, 1, QModelIndex()));
    QCOMPARE(model.columnCount(), 4);
    QVERIFY(model.setData(model.index(0, 3), QStringLiteral("--"), Qt::EditRole));
}

void TestTableModel::insertAndRemoveColumns()
{
    TableModel model(2, 2, nullptr);
    model.setHeaderLabels(Qt::Horizontal, QStringList{QStringLiteral("a"), QStringLiteral("b")},
                          Qt::EditRole);
    model.setData(model.index(1, 1), QStringLiteral("b1"), Qt::EditRole);
    QSignalSpy inserted(&model, &QAbstractItemModel::columnsInserted);
    QVERIFY(model.insertColumns(1, 2, QModelIndex()));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("b"));
    QCOMPARE(model.data(model.index(1, 3), Qt::DisplayRole).toString(), QStringLiteral("b1"));
    QCOMPARE(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QString());

    QSignalSpy removed(&model, &QAbstractItemModel::columnsRemoved);
    QVERIFY(model.removeColumns(0, 3, QModelIndex()));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("b"));
    QCOMPARE(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("b1"));
    QVERIFY(model.removeColumns(5, 1, QModelIndex()));
    QCOMPARE(model.columnCount(), 1);
}

void TestTableModel::flags()
{
    TableModel model(2, 2, nullptr);
    QCOMPARE(int(model.flags(model.index(1, 1))), 35);
    QCOMPARE(int(model.flags(QModelIndex())), 32);
}

void TestTableModel::rowLabelsKeepAnyText_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("date") << "01/01/2010 12:00";
    QTest::newRow("placeholder") << "--/--/---- --:--";
    QTest::newRow("empty") << "";
    QTest::newRow("seventeen characters") << "01/01/2010 12:00x";
    QTest::newRow("beyond Latin-1") << "€";
}

// A label stays with its row through removals and insertions above it, and a row that takes the
// place of a removed one starts with an empty label.
void TestTableModel::rowLabelsKeepAnyText()
{
    QFETCH(QString, label);
    TableModel model(3, 2, nullptr);
    model.setHeaderData(2, Qt::Vertical, label, Qt::EditRole);
    model.setHeaderData(0, Qt::Vertical, QStringLiteral("Été"), Qt::EditRole);
    model.removeRows(0, 1, QModelIndex());
    model.insertRows(0, 2, QModelIndex());
    QCOMPARE(model.headerData(3, Qt::Vertical, Qt::DisplayRole).toString(), label);
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QString());
    QCOMPARE(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), QString());
}

STRATOMARK_TEST_MAIN(TestTableModel)
#include "tst_tablemodel.moc"
