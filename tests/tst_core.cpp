#include "desktop/typeguess.h"
#include "testsupport.h"

#include <array>
#include <cmath>
#include <cstring>

using Format::DataFileType;
using Format::Quantity;

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

QStringList minutesOfDay(const QDate& day)
{
    QStringList texts;
    for (int minute = 0; minute < 24 * 60; ++minute)
        texts << day.toString(QStringLiteral("dd/MM/yyyy ")) +
                     QTime(minute / 60, minute % 60).toString(QStringLiteral("hh:mm"));
    return texts;
}

} // namespace

// The table model, the record formats and the conversions: what needs no window.
class TestCore : public QObject
{
    Q_OBJECT

private slots:
    // Cells and labels start empty, never null; only the edit role writes; the same text again
    // still counts as a change; with the signals blocked the text and the previous text change the
    // same.
    void modelRolesAndSignals()
    {
        for (const QSize& size : {QSize(0, 0), QSize(3, -5), QSize(-1, 4)}) {
            TableModel empty(size.height(), size.width(), nullptr);
            QCOMPARE(QSize(empty.columnCount(), empty.rowCount()), size.expandedTo(QSize(1, 1)));
            QVERIFY(empty.previousText.isNull() && !label(empty, 0).isNull() &&
                    !label(empty, 0, Qt::Horizontal).isNull());
            for (int c = 0; c < empty.columnCount(); ++c)
                QVERIFY(text(empty, empty.rowCount() - 1, c).isEmpty() &&
                        !text(empty, 0, c).isNull());
        }
        TableModel model(3, 2, nullptr);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        const QModelIndex cell = model.index(1, 0);
        for (const char* value : {"1", "2", "2"})
            QVERIFY(model.setData(cell, QString::fromLatin1(value), Qt::EditRole));
        QCOMPARE(model.previousText, QStringLiteral("2"));
        QCOMPARE(changes.count(), 3);
        QCOMPARE(changes.at(2), (QList<QVariant>{cell, cell, QVariant::fromValue(QVector<int>())}));
        QVERIFY(!model.setData(cell, QStringLiteral("7"), Qt::DisplayRole));
        QVERIFY(!model.setData(QModelIndex(), QStringLiteral("7"), Qt::EditRole));
        {
            const QSignalBlocker blocker(model);
            QVERIFY(model.setData(cell, QStringLiteral(" 3 "), Qt::EditRole));
        }
        QCOMPARE(changes.count(), 3);
        QCOMPARE(text(model, 1, 0) + model.previousText, QStringLiteral(" 3 2"));
        for (int role : {int(Qt::EditRole), int(Qt::ToolTipRole), int(Qt::BackgroundRole)})
            QVERIFY(!model.data(cell, role).isValid());
        for (int r = 0; r < 3; ++r)
            QCOMPARE(model.data(model.index(r, 1), Qt::TextAlignmentRole).toInt(), 132);
        QVERIFY(!model.data(QModelIndex(), Qt::TextAlignmentRole).isValid());
        QCOMPARE(model.flags(cell), Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
        QCOMPARE(model.flags(QModelIndex()), Qt::ItemIsEnabled);

        qRegisterMetaType<Qt::Orientation>();
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        QVERIFY(!model.setHeaderData(0, Qt::Vertical, QStringLiteral("x"), Qt::DisplayRole));
        QVERIFY(model.setHeaderData(1, Qt::Vertical, QStringLiteral("y"), Qt::EditRole));
        QCOMPARE(headers.count(), 1);
        QCOMPARE(headers.at(0), (QList<QVariant>{QVariant::fromValue(Qt::Vertical), 1, 1}));
        QCOMPARE(label(model, 1) + label(model, 0), QStringLiteral("y"));
        QVERIFY(!model.headerData(1, Qt::Vertical, Qt::TextAlignmentRole).isValid());
    }
    // Rows and columns come empty and go with their labels, each change announced once; the part
    // past the end is skipped; a reused row has no label; a label keeps any text, long or beyond
    // Latin-1.
    void modelRowsAndColumns()
    {
        TableModel model(3, 2, nullptr);
        model.setHeaderLabels(Qt::Horizontal, QStringList{"a", "b"}, Qt::EditRole);
        model.setHeaderData(0, Qt::Vertical, QStringLiteral("Été 2010, relevé du matin"),
                            Qt::EditRole);
        model.setHeaderData(1, Qt::Vertical, QStringLiteral("€"), Qt::EditRole);
        model.setData(model.index(0, 1), QStringLiteral("kept"), Qt::EditRole);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QVERIFY(model.insertRows(0, 2, QModelIndex()));
        QCOMPARE(inserted.at(0).mid(1), (QList<QVariant>{0, 1}));
        QCOMPARE(text(model, 2, 1) + text(model, 1, 1) + label(model, 1), QStringLiteral("kept"));
        QCOMPARE(label(model, 2) + label(model, 3), QStringLiteral("Été 2010, relevé du matin€"));
        QVERIFY(model.removeRows(0, 2, QModelIndex()));
        QVERIFY(model.removeExtraRows());
        QVERIFY(model.removeExtraRows());
        QVERIFY(model.removeRows(10, 2, QModelIndex()));
        QCOMPARE(removed.count(), 2);
        QCOMPARE(removed.at(1).mid(1), (QList<QVariant>{1, 2}));
        QCOMPARE(model.rowCount(), 1);
        QVERIFY(model.insertRows(1, 1, QModelIndex()));
        QCOMPARE(label(model, 0) + label(model, 1), QStringLiteral("Été 2010, relevé du matin"));

        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        const QStringList two{"x", "y"};
        QVERIFY(!model.setHeaderLabels(Qt::Horizontal, QStringList{"x"}, Qt::EditRole));
        QVERIFY(!model.setHeaderLabels(Qt::Vertical, two + two, Qt::EditRole));
        QVERIFY(!model.setHeaderLabels(Qt::Horizontal, two, Qt::DisplayRole));
        QVERIFY(model.setHeaderLabels(0, two, Qt::EditRole) && headers.isEmpty());
        QVERIFY(model.setHeaderLabels(Qt::Vertical, two, Qt::EditRole));
        QVERIFY(headers.count() == 2 && label(model, 0, Qt::Horizontal) == QLatin1String("a"));
        QCOMPARE(label(model, 0) + label(model, 1), QStringLiteral("xy"));
        QSignalSpy columns(&model, &QAbstractItemModel::columnsInserted);
        QVERIFY(model.insertColumns(1, 2, QModelIndex()));
        QCOMPARE(columns.count(), 1);
        QCOMPARE(label(model, 3, Qt::Horizontal) + text(model, 0, 3), QStringLiteral("bkept"));
        QVERIFY(model.removeColumns(0, 3, QModelIndex()));
        QVERIFY(model.removeColumns(5, 1, QModelIndex()));
        QCOMPARE(model.columnCount(), 1);
        QCOMPARE(text(model, 0, 0), QStringLiteral("kept"));
        QVERIFY(model.removeRows(0, 5, QModelIndex()));
        QCOMPARE(QSize(model.columnCount(), model.rowCount()), QSize(1, 0));
        QVERIFY(model.insertRows(0, 1, QModelIndex()));
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("--"), Qt::EditRole));
    }
    // A text to convert to DOS words (none for words that no text gives), the words, and the text
    // the words show.
    void dosWords_data()
    {
        TestSupport::columns<QString, int, int, QString>({"text", "date", "time", "shown"});
        const auto row = [](const char* name, const char* text, int date, int time,
                            const char* shown) {
            QTest::newRow(name) << text << date << time << shown;
        };
        row("new year noon", "01/01/2010 12:00", 0x3C21, 0x6000, "01/01/2010 12:00");
        row("last year", "31/12/2107 23:59", 0xFF9F, 0xBF60, "31/12/2107 23:59");
        row("1979 wraps", "01/01/1979 00:00", 0xFE21, 0, "01/01/2107 00:00");
        row("padded", "15/03/2015 07:05", 0x466F, 0x38A0, "15/03/2015 07:05");
        row("day not a number", "xx/03/2015 07:05", 0x4660, 0x38A0, "00/03/2015 07:05");
        row("month 17 masked", "01/17/2010 00:00", 0x3C21, 0, "01/01/2010 00:00");
        row("minute 64 masked", "01/01/2010 10:64", 0x3C21, 0x5000, "01/01/2010 10:00");
        row("hour 40 wraps", "01/01/2010 40:00", 0x3C21, 0x4000, "01/01/2010 08:00");
        row("item over 65535", "70000/01/2010 00:00", 0x3C20, 0, "00/01/2010 00:00");
        row("seconds ignored", "", 0x3C21, 0x601F, "01/01/2010 12:00");
        row("both zero", "", 0, 0, "00/00/1980 00:00");
        row("month 13, hour 25", "", 0xFFBF, 0xCFA0, "31/13/2107 25:61");
    }
    void dosWords()
    {
        const auto [text, date, time, shown] =
            TestSupport::fetch<QString, int, int, QString>("text", "date", "time", "shown");
        if (!text.isEmpty()) {
            DosDateTime words{0xAAAA, 0x5555};
            FenPrincipale::textToDosDateTime(words, text);
            QCOMPARE(qint64(words.date) << 16 | words.time, qint64(date) << 16 | time);
        }
        QCOMPARE(FenPrincipale::dosDateTimeToText(quint16(time), quint16(date)), shown);
    }
    // A text, the WS2300 seconds or WS3600 day number it is stored as (none for values that no text
    // gives), and the text that value shows, here in Paris.
    void stationTimestamps_data()
    {
        TestSupport::columns<bool, QString, double, QString>(
            {"seconds", "text", "stored", "shown"});
        const auto row = [](const char* name, bool seconds, const char* text, double stored,
                            const char* shown) {
            QTest::newRow(name) << seconds << text << stored << shown;
        };
        row("2300 epoch", true, "01/01/1970 01:00", 2208992400.0, "01/01/1970 01:00");
        row("2300 winter", true, "01/01/2010 12:00", 3471336000.0, "01/01/2010 12:00");
        row("2300 summer", true, "14/07/2015 12:00", 3645860400.0, "14/07/2015 12:00");
        row("2300 zero wraps", true, "", 0.0, "07/02/2036 06:28");
        row("2300 largest wraps", true, "", 4294967295.0, "07/02/2036 06:28");
        row("3600 1970", false, "01/01/1970 00:00", 25569.0, "01/01/1970 00:00");
        row("3600 summer evening", false, "14/07/2015 18:00", 42199.75, "14/07/2015 18:00");
        row("3600 spring change", false, "29/03/2015 02:30", 42092.0 + 2.5 / 24,
            "29/03/2015 02:30");
        row("3600 a hair below noon", false, "", 40179.5 - 1e-9, "01/01/2010 12:00");
        row("3600 0.4 s early", false, "", 40179.5 - 0.4 / 86400, "01/01/2010 12:00");
        row("3600 before 1970", false, "", 25568.0, "06/02/2106 06:28");
        row("3600 not a number", false, "", std::nan(""), "01/01/1970 00:00");
    }
    void stationTimestamps()
    {
        const auto [seconds, text, stored, shown] =
            TestSupport::fetch<bool, QString, double, QString>("seconds", "text", "stored",
                                                               "shown");
        if (!text.isEmpty())
            QCOMPARE(seconds ? double(FenPrincipale::textToSeconds(text))
                             : FenPrincipale::textToDayNumber(text),
                     stored);
        QCOMPARE(seconds ? FenPrincipale::secondsToText(quint32(stored))
                         : FenPrincipale::dayNumberToText(stored),
                 shown);
    }
    void ws3600IgnoresTheTimeZone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("localNoonUtc");
        QTest::newRow("UTC") << QByteArray("UTC") << "14/07/2015 12:00";
        QTest::newRow("Paris in summer") << QByteArray("Europe/Paris") << "14/07/2015 14:00";
        QTest::newRow("New York") << QByteArray("America/New_York") << "14/07/2015 08:00";
        QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata") << "14/07/2015 17:30";
    }
    // The zone really is in force for the local-time conversions, and the day numbers read and
    // write the same clock readings whatever it is, through both clock changes of the local zone;
    // values a hair below a whole second are why the conversion must round rather than truncate.
    void ws3600IgnoresTheTimeZone()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, localNoonUtc);
        TestSupport::setTimeZone(zone.constData());
        QCOMPARE(FenPrincipale::secondsToText(1436875200u + 2208992400u), localNoonUtc);
        int belowWholeSecond = 0;
        for (const QDate& day : {QDate(2015, 3, 8), QDate(2015, 3, 29), QDate(2015, 10, 25),
                                 QDate(2015, 11, 1), QDate(2016, 2, 29)}) {
            for (const QString& text : minutesOfDay(day)) {
                const double dayNumber = FenPrincipale::textToDayNumber(text);
                const double seconds = (dayNumber - 25569.0) * 86400.0;
                belowWholeSecond += seconds < std::round(seconds) ? 1 : 0;
                QCOMPARE(FenPrincipale::dayNumberToText(dayNumber), text);
            }
        }
        QVERIFY(belowWholeSecond > 100);
        TestSupport::setTimeZone("Europe/Paris");
    }
    // The texts written digit by digit are those of QString::number for every binary32 and 16-bit
    // integer the fields hold (ties of the rounding, negative zeros, values too long to read fast
    // and no numbers included), and read as the numbers their texts read as.
    void textsAsQtWritesThem()
    {
        QRandomGenerator random(20261207);
        QVector<float> values{0.125f, -0.125f, 0.25f, 2.5f, -0.04f, -0.0f, 1e15f, -3.4e38f, NAN};
        for (int i = 0; i < 30000; ++i) {
            const quint32 bits = random.generate();
            values << qint32(bits) / 65536.0f << float(qint32(bits) % 100000) / 1000.0f;
            std::memcpy(&values.last(), &bits, sizeof bits);
        }
        // Qt's own reading of the text is the reference: a number is a finite one.
        const auto readsAsText = [](double number, bool isNumber, const QString& text) {
            bool textIsNumber = false;
            const double textNumber = text.toDouble(&textIsNumber);
            textIsNumber = textIsNumber && std::isfinite(textNumber);
            return isNumber == textIsNumber && (!isNumber || number == textNumber);
        };
        bool isNumber = false;
        for (const float value : values) {
            for (int decimals = 0; decimals <= 3; ++decimals) {
                const QString text = FenPrincipale::floatText(value, 0, decimals);
                QCOMPARE(text, QString::number(double(value), 'f', decimals));
                const double number = TextFormat::realNumber(value, decimals, &isNumber);
                QVERIFY2(readsAsText(number, isNumber, text), qPrintable(text));
            }
        }
        for (int value = -32768; value < 65536; ++value) {
            const int divisor = std::array<int, 4>{1, 10, 100, 1000}[size_t(value & 3)];
            const QString text = FenPrincipale::scaledText(value, divisor);
            QCOMPARE(text, divisor == 1 ? QString::number(value)
                                        : QString::number(value / double(divisor), 'f',
                                                          int(std::log10(divisor))));
            QVERIFY(readsAsText(TextFormat::scaledNumber(value, divisor), true, text));
        }
        const quint32 count = random.generate();
        QCOMPARE(FenPrincipale::floatText(0, count, -1), QString::number(count));
    }
    // The local clock, learnt a day at a time, reads as the system's through the clock changes
    // of zones an hour, half an hour and nothing apart, the moments asked for in order or not;
    // the labels' keys order them as the labels do.
    void localClockByTheDay()
    {
        for (const char* zone : {"Europe/Paris", "Australia/Lord_Howe", "Asia/Kolkata"}) {
            TestSupport::setTimeZone(zone);
            TextFormat::LocalClock clock;
            QRandomGenerator random(7);
            const qint64 start =
                QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
            for (qint64 moment = start; moment < start + 2 * 365 * 86400; moment += 17 * 60) {
                const qint64 asked =
                    random.bounded(8) == 0 ? start + random.bounded(63072000) : moment;
                TextFormat::Chars text;
                TextFormat::clock(text, clock.at(asked));
                const QString expected = QDateTime::fromSecsSinceEpoch(asked).toString(
                    QStringLiteral("dd/MM/yyyy hh:mm"));
                QCOMPARE(text.toString(), expected);
                QCOMPARE(TextFormat::plainMinuteKey(clock.localSeconds(asked)),
                         TextFormat::labelKey(expected));
            }
        }
        TestSupport::setTimeZone("Europe/Paris");
    }
    // A field, at the offset its file format gives, and the text the table shows for its bytes:
    // both ways ("both"), only when read ("read") or only when the text is written ("write").
    void fields_data()
    {
        TestSupport::columns<int, int, int, QString, QByteArray, QString>(
            {"type", "column", "offset", "way", "bytes", "text"});
        const auto row = [](const char* name, int type, int column, int offset, const char* way,
                            const char* hex, const char* text) {
            QTest::newRow(name) << type << column << offset << way << QByteArray::fromHex(hex)
                                << text;
        };
        const int WS = 0, WD = 1, WM = 2, W23 = 3, W36 = 4;
        row("WD x10 signed", WD, 0, 0x04, "both", "d500", "21.3");
        row("WD s16 minimum", WD, 0, 0x04, "both", "0080", "-3276.8");
        row("WD negative tenths", WD, 0, 0x04, "both", "ccff", "-5.2");
        row("WD too many decimals", WD, 0, 0x04, "write", "0000", "21.35");
        row("WD not a number", WD, 0, 0x04, "write", "0000", "abc");
        row("WD u8 maximum", WD, 17, 0x25, "both", "ff", "255");
        row("WD pressure x10 unsigned", WD, 32, 0x34, "both", "9427", "1013.2");
        row("WD rain x1000 unsigned", WD, 33, 0x36, "both", "fa00", "0.250");
        row("WD rain 40 wraps", WD, 33, 0x36, "write", "409c", "40");
        row("WD direction word", WD, 35, 0x3A, "both", "0e01", "270");
        row("WD word refuses a minus", WD, 35, 0x3A, "write", "0000", "-5");
        row("WD solar at an odd offset", WD, 38, 0x3F, "read", "f9ff", "-7");
        row("WD x100 signed", WD, 40, 0x43, "both", "de26", "99.50");
        row("WD x100 negative", WD, 40, 0x43, "both", "ffff", "-0.01");
        row("WD last byte", WD, 45, 0x4B, "both", "03", "3");
        row("WS whole hectopascals", WS, 32, 0x34, "both", "f503", "1013");
        row("WS signed rain 40", WS, 33, 0x36, "write", "0000", "40");
        row("WS x10 unsigned refuses a minus", WS, 36, 0x3C, "write", "0000", "-1.5");
        row("WS last byte", WS, 42, 0x47, "both", "c8", "200");
        row("WM byte fraction", WM, 5, 0x0E, "write", "00", "65.5");
        row("WM byte refuses a minus", WM, 5, 0x0E, "write", "00", "-5");
        row("WM byte low 8 bits", WM, 5, 0x0E, "write", "2c", "300");
        row("WM odd pressure offset", WM, 10, 0x13, "both", "db03", "987");
        row("WM x1000 signed", WM, 11, 0x15, "both", "0700", "0.007");
        row("WM gusts x10 signed", WM, 14, 0x1B, "both", "ddff", "-3.5");
        row("3600 humidity no decimals", W36, 3, 0x30, "read", "33338142", "65");
        row("3600 relative pressure", W36, 4, 0x0C, "both", "9a197f44", "1020.4");
        row("3600 absolute pressure", W36, 5, 0x08, "both", "66e67644", "987.6");
        row("3600 wind from km/h", W36, 8, 0x10, "both", "00002040", "9.0");
        row("3600 direction code 16", W36, 9, 0x14, "both", "10000000", "360.0");
        row("3600 direction to the nearest step", W36, 9, 0x14, "write", "02000000", "44");
        row("3600 gust as stored", W36, 10, 0x18, "both", "0000803f", "1.0");
        row("3600 unknown u32", W36, 11, 0x34, "both", "ffffffff", "4294967295");
        row("2300 float", W23, 1, 0x1C, "both", "6666aa41", "21.3");
        row("2300 u32 low 16", W23, 2, 0x20, "write", "7011", "70000");
        row("2300 humidity u16", W23, 3, 0x22, "both", "ffff", "65535");
        row("2300 rain total", W23, 5, 0x14, "both", "00509a44", "1234.500");
        row("2300 wind x 3.6", W23, 6, 0x0C, "both", "0000803f", "3.6");
        row("2300 direction", W23, 7, 0x10, "both", "05000000", "112.5");
        row("2300 unknown at 0x00", W23, 8, 0x00, "both", "4d000000", "77");
    }
    void fields()
    {
        const auto [type, column, offset, way, bytes, text] =
            TestSupport::fetch<int, int, int, QString, QByteArray, QString>(
                "type", "column", "offset", "way", "bytes", "text");
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        const Format::Field& field = layout.fields[column];
        QByteArray record(layout.recordSize, '\x5A');
        if (way != QLatin1String("write")) {
            QByteArray stored = record;
            stored.replace(offset, bytes.size(), bytes);
            QCOMPARE(FenPrincipale::fieldText(field, stored.constData()), text);
        }
        if (way != QLatin1String("read")) {
            TestAccess::writeField(field, record.data(), text);
            QCOMPARE(record.mid(offset, bytes.size()).toHex(), bytes.toHex());
            record.replace(offset, bytes.size(), QByteArray(bytes.size(), '\x5A'));
            QCOMPARE(record, QByteArray(layout.recordSize, '\x5A'));
        }
    }
    // A value written into any column reads back as the same text: the writer and the decoder
    // address the same bytes the same way. Every text from -50.00 to 2000.00 typed into a km/h
    // column reads back, once stored in m/s, as the text a plain float column shows for it.
    void writerAndDecoderAgreeOnEveryColumn()
    {
        for (const Format::RecordLayout& layout : Format::layouts) {
            for (int column = 0; column < layout.columnCount; ++column) {
                const Format::Field& f = layout.fields[column];
                const QString text = f.rule == Format::CellRule::DirectionCode
                                         ? QStringLiteral("202.5")
                                         : QString::number(12.0 + column / 8.0, 'f',
                                                           qMax(Format::ruleDecimals(f.rule), 0));
                QByteArray record(layout.recordSize, '\0');
                TestAccess::writeField(f, record.data(), text);
                QCOMPARE(FenPrincipale::fieldText(f, record.constData()), text);
            }
        }
        const Format::Field& wind = Format::layout(DataFileType::WS3600).fields[8];
        QByteArray record(56, '\0');
        int differing = 0;
        for (int hundredths = -5000; hundredths <= 200000; ++hundredths) {
            const QString text = QString::number(hundredths / 100.0, 'f', 2);
            TestAccess::writeField(wind, record.data(), text);
            differing += FenPrincipale::fieldText(wind, record.constData()) !=
                         QString::number(double(text.toFloat()), 'f', 1);
        }
        QCOMPARE(differing, 0);
    }
    // What each column measures follows from its name and unit; short names, the settings keys, are
    // unique within a type; four columns have the stations' no-data values.
    void catalogue()
    {
        const QList<QPair<QString, Quantity>> byName{{"Temp. I.", Quantity::IndoorTemperature},
                                                     {"Temp. Sol", Quantity::GroundTemperature},
                                                     {"(°C)", Quantity::OutdoorTemperature},
                                                     {"Hum. Fol.", Quantity::None},
                                                     {"Hum. Sol", Quantity::None},
                                                     {"Hum. E.", Quantity::OutdoorHumidity},
                                                     {"(%)", Quantity::Humidity},
                                                     {"(hPa)", Quantity::Pressure},
                                                     {"Rafales", Quantity::Gust},
                                                     {"(Km/h)", Quantity::Wind},
                                                     {"(°)", Quantity::Direction},
                                                     {"Pluie\n", Quantity::RainPerRecord},
                                                     {"Pluie totale", Quantity::RainTotal},
                                                     {"Index UV", Quantity::UvIndex},
                                                     {"Ray. Sol.", Quantity::SolarRadiation},
                                                     {"", Quantity::None}};
        QStringList counts;
        for (int type = 0; type < Format::dataFileTypeCount; ++type) {
            const QStringList headers = FenPrincipale::headerList(DataFileType(type));
            QSet<QString> shortNames;
            for (int column = 0; column < headers.size(); ++column) {
                const Format::Field& field = Format::layout(DataFileType(type)).fields[column];
                shortNames << FenPrincipale::shortColumnName(headers.at(column));
                const auto rule =
                    std::find_if(byName.begin(), byName.end(), [&](const auto& named) {
                        return headers.at(column).contains(named.first);
                    });
                QVERIFY2(field.quantity == rule->second, qPrintable(headers.at(column)));
                if (!std::isnan(field.noData))
                    counts << QStringLiteral("%1 %2 %3").arg(type).arg(column).arg(field.noData);
            }
            counts << QString::number(shortNames.size());
        }
        QCOMPARE(counts.join(' '),
                 QStringLiteral("43 46 16 3 1 81.1 3 3 110 3 6 183.6 9 4 10 51 12"));
    }
    // A monthly name, in any case, tells its wswin type whatever the size; otherwise a size that
    // only one station history can have (28-byte trailer and 36-byte records, or 56-byte records)
    // tells it, and a size both or neither can have tells nothing.
    void typeGuess()
    {
        QStringList guesses;
        for (const auto& [name, size] : QList<QPair<QString, qint64>>{{"WS_03_23.DAT", 0},
                                                                      {"wd_12_99.dat", 56},
                                                                      {"WM_01_00-1.DAT", 64},
                                                                      {"WS_2300_x.DAT", 136},
                                                                      {"h.DAT", 28},
                                                                      {"h.DAT", 28 + 36 * 11},
                                                                      {"WD_13_23.DAT", 112},
                                                                      {"h.DAT", 56 * 11},
                                                                      {"h.DAT", 280},
                                                                      {"h.DAT", 784},
                                                                      {"h.DAT", 0},
                                                                      {"h.DAT", 27},
                                                                      {"h.DAT", 101}}) {
            const auto type = TypeGuess::of(name, size);
            guesses << (type ? Format::layout(*type).name : "?");
        }
        QCOMPARE(guesses.join(' '), QStringLiteral("wswin_WS wswin_WD wswin_WM WS2300 WS2300 "
                                                   "WS2300 WS3600 WS3600 ? ? ? ? ?"));
    }
};

STRATOMARK_TEST_MAIN(TestCore)
#include "tst_core.moc"
