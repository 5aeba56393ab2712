#include "testsupport.h"

#include <QDateTime>
#include <QSignalSpy>

#include <cmath>

using Format::DataFileType;
using Format::Quantity;

namespace
{

QStringList minutesOfDay(const QDate& day)
{
    QStringList texts;
    for (int minute = 0; minute < 24 * 60; ++minute)
        texts << day.toString(QStringLiteral("dd/MM/yyyy ")) +
                     QTime(minute / 60, minute % 60).toString(QStringLiteral("hh:mm"));
    return texts;
}

const int WD = int(DataFileType::WswinWD), WS = int(DataFileType::WswinWS),
          WM = int(DataFileType::WswinWM), W23 = int(DataFileType::WS2300),
          W36 = int(DataFileType::WS3600);

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void dosWords_data();
    void dosWords();
    void stationTimestamps_data();
    void stationTimestamps();
    void wholeMinutesComeBack();
    void ws3600IgnoresTheTimeZone_data();
    void ws3600IgnoresTheTimeZone();
    void cellTexts_data();
    void cellTexts();
    void fields_data();
    void fields();
    void writerAndDecoderAgreeOnEveryColumn();
    void kmhReadsBackAsAPlainFloatColumn();
    void catalogue();
};

// Each row: a text to convert to DOS words (none for words that no text gives), the words, and
// the text the words show.
void TestFormats::dosWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("date");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("shown");
    QTest::newRow("new year noon") << "01/01/2010 12:00" << 0x3C21 << 0x6000 << "01/01/2010 12:00";
    QTest::newRow("last year") << "31/12/2107 23:59" << 0xFF9F << 0xBF60 << "31/12/2107 23:59";
    QTest::newRow("1979 wraps") << "01/01/1979 00:00" << 0xFE21 << 0 << "01/01/2107 00:00";
    QTest::newRow("padded") << "15/03/2015 07:05" << 0x466F << 0x38A0 << "15/03/2015 07:05";
    QTest::newRow("day not a number")
        << "xx/03/2015 07:05" << 0x4660 << 0x38A0 << "00/03/2015 07:05";
    QTest::newRow("month 17 masked") << "01/17/2010 00:00" << 0x3C21 << 0 << "01/01/2010 00:00";
    QTest::newRow("minute 64 masked")
        << "01/01/2010 10:64" << 0x3C21 << 0x5000 << "01/01/2010 10:00";
    QTest::newRow("hour 40 wraps") << "01/01/2010 40:00" << 0x3C21 << 0x4000 << "01/01/2010 08:00";
    QTest::newRow("item over 65535") << "70000/01/2010 00:00" << 0x3C20 << 0 << "00/01/2010 00:00";
    QTest::newRow("seconds ignored") << "" << 0x3C21 << 0x601F << "01/01/2010 12:00";
    QTest::newRow("both zero") << "" << 0 << 0 << "00/00/1980 00:00";
    QTest::newRow("month 13, hour 25") << "" << 0xFFBF << 0xCFA0 << "31/13/2107 25:61";
    QTest::newRow("all bits set") << "" << 0xFFFF << 0xFFFF << "31/15/2107 31:63";
}

void TestFormats::dosWords()
{
    QFETCH(QString, text);
    QFETCH(int, date);
    QFETCH(int, time);
    QFETCH(QString, shown);
    if (!text.isEmpty()) {
        DosDateTime words{0xAAAA, 0x5555};
        FenPrincipale::textToDosDateTime(words, text);
        QCOMPARE(int(words.date), date);
        QCOMPARE(int(words.time), time);
    }
    QCOMPARE(FenPrincipale::dosDateTimeToText(quint16(time), quint16(date)), shown);
}

// Each row: a text, the WS2300 seconds or the WS3600 day number it is stored as (none for
// values that no text gives), and the text that value shows, here in Paris.
void TestFormats::stationTimestamps_data()
{
    QTest::addColumn<bool>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("2300 epoch") << true << "01/01/1970 01:00" << 2208992400.0 << "01/01/1970 01:00";
    QTest::newRow("2300 winter") << true << "01/01/2010 12:00" << 3471336000.0
                                 << "01/01/2010 12:00";
    QTest::newRow("2300 summer") << true << "14/07/2015 12:00" << 3645860400.0
                                 << "14/07/2015 12:00";
    QTest::newRow("2300 zero wraps") << true << "" << 0.0 << "07/02/2036 06:28";
    QTest::newRow("2300 largest wraps") << true << "" << 4294967295.0 << "07/02/2036 06:28";
    QTest::newRow("3600 1970") << false << "01/01/1970 00:00" << 25569.0 << "01/01/1970 00:00";
    QTest::newRow("3600 winter noon")
        << false << "01/01/2010 12:00" << 40179.5 << "01/01/2010 12:00";
    QTest::newRow("3600 summer evening")
        << false << "14/07/2015 18:00" << 42199.75 << "14/07/2015 18:00";
    QTest::newRow("3600 spring change")
        << false << "29/03/2015 02:30" << 42092.0 + 2.5 / 24 << "29/03/2015 02:30";
    QTest::newRow("3600 a hair below noon") << false << "" << 40179.5 - 1e-9 << "01/01/2010 12:00";
    QTest::newRow("3600 0.4 s early") << false << "" << 40179.5 - 0.4 / 86400 << "01/01/2010 12:00";
    QTest::newRow("3600 below midnight") << false << "" << 42200.0 - 1e-9 << "15/07/2015 00:00";
    QTest::newRow("3600 before 1970") << false << "" << 25568.0 << "06/02/2106 06:28";
    QTest::newRow("3600 not a number") << false << "" << std::nan("") << "01/01/1970 00:00";
}

void TestFormats::stationTimestamps()
{
    QFETCH(bool, seconds);
    QFETCH(QString, text);
    QFETCH(double, stored);
    QFETCH(QString, shown);
    if (seconds) {
        if (!text.isEmpty())
            QCOMPARE(double(FenPrincipale::textToSeconds(text)), stored);
        QCOMPARE(FenPrincipale::secondsToText(quint32(stored)), shown);
    } else {
        if (!text.isEmpty())
            QCOMPARE(FenPrincipale::textToDayNumber(text), stored);
        QCOMPARE(FenPrincipale::dayNumberToText(stored), shown);
    }
}

// Every minute that exists comes back as written, through a clock change and a leap day; the
// DOS words over their whole span.
void TestFormats::wholeMinutesComeBack()
{
    QStringList texts = minutesOfDay(QDate(2015, 10, 25)) + minutesOfDay(QDate(2016, 2, 29));
    for (const QString& text : minutesOfDay(QDate(2015, 3, 29))) {
        if (!text.contains(QLatin1String(" 02:")))
            texts << text;
    }
    for (const QString& text : texts)
        QCOMPARE(FenPrincipale::secondsToText(FenPrincipale::textToSeconds(text)), text);
    for (QDate day(1980, 1, 1); day.year() < 2108; day = day.addDays(97)) {
        const QStringList minutes = minutesOfDay(day);
        for (int minute = 0; minute < minutes.size(); minute += 7) {
            DosDateTime words;
            FenPrincipale::textToDosDateTime(words, minutes.at(minute));
            QCOMPARE(FenPrincipale::dosDateTimeToText(words.time, words.date), minutes.at(minute));
        }
    }
}

void TestFormats::ws3600IgnoresTheTimeZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("localNoonUtc");
    QTest::newRow("UTC") << QByteArray("UTC") << "14/07/2015 12:00";
    QTest::newRow("Paris in summer") << QByteArray("Europe/Paris") << "14/07/2015 14:00";
    QTest::newRow("New York") << QByteArray("America/New_York") << "14/07/2015 08:00";
    QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata") << "14/07/2015 17:30";
}

void TestFormats::ws3600IgnoresTheTimeZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, localNoonUtc);
    TestSupport::setTimeZone(zone.constData());
    // The zone really is in force for the local-time conversions...
    QCOMPARE(FenPrincipale::secondsToText(1436875200u + 2208992400u), localNoonUtc);
    // ...and the day numbers read and write the same clock readings whatever it is, through
    // both clock changes of the local zone.
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
    // Such values are why the conversion must round rather than truncate.
    QVERIFY(belowWholeSecond > 100);
    TestSupport::setTimeZone("Europe/Paris");
}

// Integers with their divisor, floats with their decimals, and wide integers.
void TestFormats::cellTexts_data()
{
    QTest::addColumn<bool>("scaled");
    QTest::addColumn<double>("value");
    QTest::addColumn<qulonglong>("integer");
    QTest::addColumn<int>("divisorOrDecimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("negative tenth") << true << -5.0 << 0ull << 10 << "-0.5";
    QTest::newRow("thousandths") << true << 7.0 << 0ull << 1000 << "0.007";
    QTest::newRow("negative integer") << true << -12.0 << 0ull << 1 << "-12";
    QTest::newRow("s16 minimum in tenths") << true << -32768.0 << 0ull << 10 << "-3276.8";
    QTest::newRow("trailing zero kept") << true << 250.0 << 0ull << 1000 << "0.250";
    QTest::newRow("hundredths") << true << 12345.0 << 0ull << 100 << "123.45";
    QTest::newRow("negative hundredth") << true << -1.0 << 0ull << 100 << "-0.01";
    QTest::newRow("humidity rounds") << false << 64.6 << 0ull << 0 << "65";
    QTest::newRow("u32 maximum") << false << 0.0 << 4294967295ull << -1 << "4294967295";
    QTest::newRow("integer ignores the float") << false << 12.5 << 7ull << -1 << "7";
    QTest::newRow("rain thousandths") << false << 0.1 << 0ull << 3 << "0.100";
    QTest::newRow("a tie rounds away from zero") << false << -12.25 << 0ull << 1 << "-12.3";
}

void TestFormats::cellTexts()
{
    QFETCH(bool, scaled);
    QFETCH(double, value);
    QFETCH(qulonglong, integer);
    QFETCH(int, divisorOrDecimals);
    QFETCH(QString, text);
    TestSupport::Editor editor;
    QSignalSpy changes(editor.model(), &QAbstractItemModel::dataChanged);
    if (scaled) {
        QCOMPARE(FenPrincipale::scaledText(int(value), divisorOrDecimals), text);
        editor.window().setScaledCell(0, 0, int(value), divisorOrDecimals);
    } else {
        QCOMPARE(FenPrincipale::floatText(float(value), integer, divisorOrDecimals), text);
        editor.window().setFloatCell(0, 0, float(value), integer, divisorOrDecimals);
    }
    QCOMPARE(editor.cell(0, 0), text);
    QCOMPARE(changes.count(), 1);
}

// Each row: a field's bytes and the text the table shows for them, both ways ("both"), only
// when read ("read") or only when the text is written ("write").
void TestFormats::fields_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, int type, int column, const char* way, const char* hex,
                        const char* text) {
        QTest::newRow(name) << type << column << way << QByteArray::fromHex(hex) << text;
    };
    row("WD x10 signed", WD, 0, "both", "d500", "21.3");
    row("WD s16 minimum", WD, 0, "both", "0080", "-3276.8");
    row("WD negative tenths", WD, 0, "both", "ccff", "-5.2");
    row("WD too many decimals", WD, 0, "write", "0000", "21.35");
    row("WD not a number", WD, 0, "write", "0000", "abc");
    row("WD u8 maximum", WD, 17, "both", "ff", "255");
    row("WD pressure x10 unsigned", WD, 32, "both", "9427", "1013.2");
    row("WD rain x1000 unsigned", WD, 33, "both", "fa00", "0.250");
    row("WD rain 40 wraps", WD, 33, "write", "409c", "40");
    row("WD direction word", WD, 35, "both", "0e01", "270");
    row("WD word refuses a minus", WD, 35, "write", "0000", "-5");
    row("WD solar at an odd offset", WD, 38, "read", "f9ff", "-7");
    row("WD x100 signed", WD, 40, "both", "de26", "99.50");
    row("WD last byte", WD, 45, "both", "03", "3");
    row("WS whole hectopascals", WS, 32, "both", "f503", "1013");
    row("WS signed rain 40", WS, 33, "write", "0000", "40");
    row("WS x10 unsigned refuses a minus", WS, 36, "write", "0000", "-1.5");
    row("WS last byte", WS, 42, "both", "c8", "200");
    row("WM byte", WM, 5, "both", "41", "65");
    row("WM byte fraction", WM, 5, "write", "00", "65.5");
    row("WM byte low 8 bits", WM, 5, "write", "2c", "300");
    row("WM odd pressure offset", WM, 10, "both", "db03", "987");
    row("WM x1000 signed", WM, 11, "both", "0700", "0.007");
    row("WM gusts x10 signed", WM, 14, "both", "ddff", "-3.5");
    row("3600 humidity no decimals", W36, 3, "read", "33338142", "65");
    row("3600 relative pressure", W36, 4, "both", "9a197f44", "1020.4");
    row("3600 absolute pressure", W36, 5, "both", "66e67644", "987.6");
    row("3600 wind from km/h", W36, 8, "both", "00002040", "9.0");
    row("3600 direction code 3", W36, 9, "both", "03000000", "67.5");
    row("3600 direction code 16", W36, 9, "both", "10000000", "360.0");
    row("3600 gust as stored", W36, 10, "both", "0000803f", "1.0");
    row("3600 unknown u32", W36, 11, "both", "ffffffff", "4294967295");
    row("2300 float", W23, 1, "both", "6666aa41", "21.3");
    row("2300 u32 low 16", W23, 2, "write", "7011", "70000");
    row("2300 humidity u16", W23, 3, "both", "ffff", "65535");
    row("2300 rain total", W23, 5, "both", "00509a44", "1234.500");
    row("2300 wind x 3.6", W23, 6, "both", "0000803f", "3.6");
    row("2300 direction", W23, 7, "both", "05000000", "112.5");
    row("2300 unknown at 0x00", W23, 8, "both", "4d000000", "77");
}

void TestFormats::fields()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(QString, way);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    const Format::Field& field = layout.fields[column];
    if (way != QLatin1String("write")) {
        QByteArray record(layout.recordSize, '\x5A');
        record.replace(field.offset, bytes.size(), bytes);
        QCOMPARE(FenPrincipale::fieldText(field, record.constData()), text);
    }
    if (way != QLatin1String("read")) {
        QByteArray record(layout.recordSize, '\x5A');
        TestAccess::writeField(field, record.data(), text);
        QCOMPARE(record.mid(field.offset, bytes.size()).toHex(), bytes.toHex());
        record.replace(field.offset, bytes.size(), QByteArray(bytes.size(), '\x5A'));
        QCOMPARE(record, QByteArray(layout.recordSize, '\x5A'));
    }
}

// A value written into any column and read back shows the same text: the writer and the
// decoder address the same bytes in the same way.
void TestFormats::writerAndDecoderAgreeOnEveryColumn()
{
    for (const Format::RecordLayout& layout : Format::layouts) {
        for (int column = 0; column < layout.columnCount; ++column) {
            const Format::Field& f = layout.fields[column];
            const int decimals = Format::ruleDecimals(f.rule);
            const QString text = f.rule == Format::CellRule::DirectionCode
                                     ? QStringLiteral("202.5")
                                     : QString::number(12.0 + column / 8.0, 'f', qMax(decimals, 0));
            QByteArray record(layout.recordSize, '\0');
            TestAccess::writeField(f, record.data(), text);
            QCOMPARE(FenPrincipale::fieldText(f, record.constData()), text);
        }
    }
}

// Every text from -50.00 to 2000.00 typed into a km/h column reads back, once stored in m/s, as
// the text a plain float column shows for it.
void TestFormats::kmhReadsBackAsAPlainFloatColumn()
{
    const Format::Field& wind = Format::layout(DataFileType::WS3600).fields[8];
    QByteArray record(56, '\0');
    int differing = 0;
    for (int hundredths = -5000; hundredths <= 200000; ++hundredths) {
        const QString text = QString::number(hundredths / 100.0, 'f', 2);
        TestAccess::writeField(wind, record.data(), text);
        if (FenPrincipale::fieldText(wind, record.constData()) !=
            QString::number(double(text.toFloat()), 'f', 1))
            ++differing;
    }
    QCOMPARE(differing, 0);
}

// The header lists, the short names that key the settings, and what each column measures, which
// follows from its name and its unit.
void TestFormats::catalogue()
{
    const QStringList expected{
        "43 Temp. I.\n(°C) GWD Press. Abs.\n(hPa)", "46 Temp. I.\n(°C) W1 Press. Rel.\n(hPa)",
        "16 Temp. I.\n(°C) Hum. Press. Abs.\n(hPa)", "9 Temp. I.\n(°C) unknown Pression Abs\n(hPa)",
        "12 Temp. I.\n(°C) unknown Pression Rel.\n(hPa)"};
    const int pressureColumn[] = {32, 32, 10, 4, 4};
    const QList<QPair<QString, Quantity>> byName{{"Temp. I.", Quantity::IndoorTemperature},
                                                 {"Temp. Sol", Quantity::GroundTemperature},
                                                 {"(°C)", Quantity::OutdoorTemperature},
                                                 {"Hum. Fol.", Quantity::None},
                                                 {"Hum. Sol", Quantity::None},
                                                 {"(%)", Quantity::Humidity},
                                                 {"(hPa)", Quantity::Pressure},
                                                 {"(Km/h)", Quantity::Wind},
                                                 {"(°)", Quantity::Direction},
                                                 {"Pluie\n", Quantity::RainPerRecord},
                                                 {"Index UV", Quantity::UvIndex},
                                                 {"Ray. Sol.", Quantity::SolarRadiation},
                                                 {"", Quantity::None}};
    QStringList noData;
    for (int type = 0; type < Format::dataFileTypeCount; ++type) {
        const QStringList headers = FenPrincipale::headerList(DataFileType(type));
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(headers.size())
                     .arg(headers.first(), headers.last(), headers.at(pressureColumn[type])),
                 expected.at(type));
        QSet<QString> shortNames;
        for (int column = 0; column < headers.size(); ++column) {
            const Format::Field& field = Format::layout(DataFileType(type)).fields[column];
            const QString& header = headers.at(column);
            shortNames << FenPrincipale::shortColumnName(header);
            QVERIFY(!FenPrincipale::shortColumnName(header).contains(QLatin1Char('\n')));
            const auto rule = std::find_if(byName.begin(), byName.end(), [&](const auto& named) {
                return header.contains(named.first);
            });
            QVERIFY2(field.quantity == rule->second, qPrintable(header));
            if (!std::isnan(field.noData))
                noData << QStringLiteral("%1 %2 %3").arg(type).arg(column).arg(field.noData);
        }
        QCOMPARE(shortNames.size(), headers.size());
    }
    QCOMPARE(noData, (QStringList{"3 1 81.1", "3 3 110", "3 6 183.6", "4 10 51"}));
}

STRATOMARK_TEST_MAIN(TestFormats)
#include "tst_formats.moc"
