#include "testsupport.h"

#include <QSignalSpy>

namespace
{

QString text(const TableModel& model, int row, int column)
{
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

QString label(const TableModel& model, int section, Qt::Orientation side = Qt::Vertical)
{
    return model.headerData(section, side, Qt::DisplayRole).toString();
}

} // namespace

class TestTableModel : public QObject
{
    Q_OBJECT

private slots:
    void construction_data();
    void construction();
    void roles();
    void setDataNotifiesAndKeepsThePreviousText();
    void setHeaderLabels_data();
    void setHeaderLabels();
    void rowsAndColumns();
    void rowLabelsKeepAnyText_data();
    void rowLabelsKeepAnyText();
};

void TestTableModel::construction_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QSize>("size");
    QTest::newRow("0x0") << 0 << 0 << QSize(1, 1);
    QTest::newRow("-5x3") << -5 << 3 << QSize(3, 1);
    QTest::newRow("4x-1") << 4 << -1 << QSize(1, 4);
    QTest::newRow("20x46") << 20 << 46 << QSize(46, 20);
}

// Every cell and label a model creates is an empty text, never a null one.
void TestTableModel::construction()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QSize, size);
    TableModel model(rows, columns, nullptr);
    QCOMPARE(QSize(model.columnCount(), model.rowCount()), size);
    QVERIFY(model.previousText.isNull());
    for (int r = 0; r < size.height(); ++r) {
        QVERIFY(label(model, r).isEmpty() && !label(model, r).isNull());
        for (int c = 0; c < size.width(); ++c)
            QVERIFY(text(model, r, c).isEmpty() && !text(model, r, c).isNull());
    }
    for (int c = 0; c < size.width(); ++c)
        QVERIFY(!label(model, c, Qt::Horizontal).isNull());
}

void TestTableModel::roles()
{
    TableModel model(3, 2, nullptr);
    model.setData(model.index(1, 1), QStringLiteral("12.5"), Qt::EditRole);
    model.setHeaderData(0, Qt::Vertical, QStringLiteral("01/01/2010 12:00"), Qt::EditRole);
    QCOMPARE(model.data(model.index(1, 1), Qt::DisplayRole), QVariant(QStringLiteral("12.5")));
    for (int role : {int(Qt::EditRole), int(Qt::ToolTipRole), int(Qt::BackgroundRole)})
        QVERIFY(!model.data(model.index(1, 1), role).isValid());
    for (int r = 0; r < 3; ++r)
        QCOMPARE(model.data(model.index(r, 1), Qt::TextAlignmentRole).toInt(), 132);
    QVERIFY(!model.data(QModelIndex(), Qt::TextAlignmentRole).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical, Qt::TextAlignmentRole).isValid());
    QCOMPARE(label(model, 0), QStringLiteral("01/01/2010 12:00"));
    QCOMPARE(int(model.flags(model.index(1, 1))), 35);
    QCOMPARE(int(model.flags(QModelIndex())), 32);
}

// Writing the same text again still counts as a change; with the signals blocked the text and
// the previous text change all the same; only the edit role writes.
void TestTableModel::setDataNotifiesAndKeepsThePreviousText()
{
    TableModel model(2, 2, nullptr);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(1, 0);
    for (const char* value : {"1", "2", "2"})
        QVERIFY(model.setData(cell, QString::fromLatin1(value), Qt::EditRole));
    QCOMPARE(model.previousText, QStringLiteral("2"));
    QCOMPARE(changes.count(), 3);
    for (const QList<QVariant>& signal : changes) {
        QCOMPARE(signal.at(0).toModelIndex(), cell);
        QCOMPARE(signal.at(1).toModelIndex(), cell);
        QVERIFY(signal.at(2).value<QVector<int>>().isEmpty());
    }
    QVERIFY(!model.setData(cell, QStringLiteral("7"), Qt::DisplayRole));
    QVERIFY(!model.setData(QModelIndex(), QStringLiteral("7"), Qt::EditRole));
    {
        const QSignalBlocker blocker(model);
        QVERIFY(model.setData(cell, QStringLiteral(" 3 "), Qt::EditRole));
    }
    QCOMPARE(changes.count(), 3);
    QCOMPARE(text(model, 1, 0), QStringLiteral(" 3 "));
    QCOMPARE(model.previousText, QStringLiteral("2"));

    qRegisterMetaType<Qt::Orientation>();
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QVERIFY(!model.setHeaderData(0, Qt::Vertical, QStringLiteral("x"), Qt::DisplayRole));
    QVERIFY(model.setHeaderData(1, Qt::Vertical, QStringLiteral("y"), Qt::EditRole));
    QCOMPARE(headers.count(), 1);
    QCOMPARE(headers.at(0).at(0).value<Qt::Orientation>(), Qt::Vertical);
    QCOMPARE(headers.at(0).at(1).toInt(), 1);
    QCOMPARE(headers.at(0).at(2).toInt(), 1);
}

void TestTableModel::setHeaderLabels_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("labelCount");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("changes");
    QTest::newRow("every column") << 1 << 4 << 2 << true << 4;
    QTest::newRow("every row") << 2 << 2 << 2 << true << 2;
    QTest::newRow("columns, one short") << 1 << 3 << 2 << false << 0;
    QTest::newRow("columns, one too many") << 1 << 5 << 2 << false << 0;
    QTest::newRow("rows, one short") << 2 << 1 << 2 << false << 0;
    QTest::newRow("orientation 0") << 0 << 4 << 2 << true << 0;
    QTest::newRow("display role") << 1 << 4 << 0 << false << 0;
}

// All or nothing: a list of the wrong length changes no label.
void TestTableModel::setHeaderLabels()
{
    QFETCH(int, orientation);
    QFETCH(int, labelCount);
    QFETCH(int, role);
    QFETCH(bool, result);
    QFETCH(int, changes);
    TableModel model(2, 4, nullptr);
    QStringList labels;
    for (int i = 0; i < labelCount; ++i)
        labels << QStringLiteral("L%1\n(u)").arg(i);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QCOMPARE(model.setHeaderLabels(orientation, labels, role), result);
    QCOMPARE(headers.count(), changes);
    for (int c = 0; c < 4; ++c)
        QCOMPARE(label(model, c, Qt::Horizontal), orientation == 1 && changes ? labels.at(c) : "");
    for (int r = 0; r < 2; ++r)
        QCOMPARE(label(model, r), orientation == 2 && changes ? labels.at(r) : "");
}

// Rows and columns inserted empty and removed with their labels, each change announced once;
// the part of a removal past the end is skipped.
void TestTableModel::rowsAndColumns()
{
    TableModel model(3, 2, nullptr);
    model.setHeaderLabels(Qt::Horizontal, QStringList{"a", "b"}, Qt::EditRole);
    model.setHeaderData(0, Qt::Vertical, QStringLiteral("first"), Qt::EditRole);
    model.setData(model.index(0, 1), QStringLiteral("kept"), Qt::EditRole);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy columnsChanged(&model, &QAbstractItemModel::columnsInserted);

    QVERIFY(model.insertRows(0, 2, QModelIndex()));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1);
    QCOMPARE(text(model, 2, 1), QStringLiteral("kept"));
    QCOMPARE(label(model, 2), QStringLiteral("first"));
    QCOMPARE(text(model, 1, 1), QString());
    QVERIFY(model.removeRows(0, 2, QModelIndex()));
    QCOMPARE(label(model, 0), QStringLiteral("first"));
    QVERIFY(model.removeExtraRows());
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(removed.count(), 2);
    QCOMPARE(removed.at(1).at(1).toInt(), 1);
    QCOMPARE(removed.at(1).at(2).toInt(), 2);
    QVERIFY(model.removeExtraRows());
    QVERIFY(model.removeRows(10, 2, QModelIndex()));
    QCOMPARE(removed.count(), 2);

    QVERIFY(model.insertColumns(1, 2, QModelIndex()));
    QCOMPARE(columnsChanged.count(), 1);
    QCOMPARE(label(model, 3, Qt::Horizontal), QStringLiteral("b"));
    QCOMPARE(text(model, 0, 3), QStringLiteral("kept"));
    QVERIFY(model.removeColumns(0, 3, QModelIndex()));
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(text(model, 0, 0), QStringLiteral("kept"));
    QVERIFY(model.removeColumns(5, 1, QModelIndex()));

    QVERIFY(model.removeRows(0, 5, QModelIndex()));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 1);
    QVERIFY(model.insertRows(0, 1, QModelIndex()));
    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("--"), Qt::EditRole));
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
    QCOMPARE(::label(model, 3), label);
    QCOMPARE(::label(model, 0), QString());
    QCOMPARE(::label(model, 1), QString());
}

STRATOMARK_TEST_MAIN(TestTableModel)
#include "tst_tablemodel.moc"
