#include "testsupport.h"

#include <QDateTime>
#include <QSignalSpy>

#include <cmath>

using Format::DataFileType;

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void dosWordsToText_data();
    void dosWordsToText();
    void textToDosWords_data();
    void textToDosWords();
    void dosWordsRoundTrip();
    void ws2300SecondsToText_data();
    void ws2300SecondsToText();
    void ws2300TextToSeconds_data();
    void ws2300TextToSeconds();
    void ws2300WholeMinutesRoundTrip();
    void ws3600DayNumberToText_data();
    void ws3600DayNumberToText();
    void ws3600TextToDayNumber_data();
    void ws3600TextToDayNumber();
    void ws3600IgnoresTheTimeZone_data();
    void ws3600IgnoresTheTimeZone();
    void scaledText_data();
    void scaledText();
    void floatText_data();
    void floatText();
    void cellSettersWriteThroughTheModel();
    void headerLists_data();
    void headerLists();
    void shortColumnName_data();
    void shortColumnName();

private:
    static QStringList minutesOfDay(const QDate& day);
};

QStringList TestConversions::minutesOfDay(const QDate& day)
{
    QStringList texts;
    for (int minute = 0; minute < 24 * 60; ++minute)
        texts << day.toString(QStringLiteral("dd/MM/yyyy ")) +
                     QTime(minute / 60, minute % 60).toString(QStringLiteral("hh:mm"));
    return texts;
}

void TestConversions::dosWordsToText_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("new year noon") << 0x6000 << 0x3C21 << "01/01/2010 12:00";
    QTest::newRow("seconds bits ignored") << 0x601F << 0x3C21 << "01/01/2010 12:00";
    QTest::newRow("both words zero") << 0 << 0 << "00/00/1980 00:00";
    QTest::newRow("month 13, hour 25") << 0xCFA0 << 0xFFBF << "31/13/2107 25:61";
    QTest::newRow("all bits set") << 0xFFFF << 0xFFFF << "31/15/2107 31:63";
    QTest::newRow("single digits padded") << 0x38A0 << 0x466F << "15/03/2015 07:05";
}

void TestConversions::dosWordsToText()
{
    QFETCH(int, time);
    QFETCH(int, date);
    QFETCH(QString, text);
    QCOMPARE(FenPrincipale::dosDateTimeToText(quint16(time), quint16(date)), text);
}

void TestConversions::textToDosWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("date");
    QTest::addColumn<int>("time");
    QTest::newRow("new year noon") << "01/01/2010 12:00" << 0x3C21 << 0x6000;
    QTest::newRow("last representable year") << "31/12/2107 23:59" << 0xFF9F << 0xBF60;
    QTest::newRow("year before 1980 wraps") << "01/01/1979 00:00" << 0xFE21 << 0x0000;
    QTest::newRow("spring morning") << "15/03/2015 07:05" << 0x466F << 0x38A0;
    QTest::newRow("day not a number") << "xx/03/2015 07:05" << 0x4660 << 0x38A0;
    QTest::newRow("month 17 masked") << "01/17/2010 00:00" << 0x3C21 << 0x0000;
    QTest::newRow("minute 64 masked") << "01/01/2010 10:64" << 0x3C21 << 0x5000;
    QTest::newRow("hour 40 wraps") << "01/01/2010 40:00" << 0x3C21 << 0x4000;
    QTest::newRow("item over 65535 reads 0") << "70000/01/2010 00:00" << 0x3C20 << 0x0000;
}

void TestConversions::textToDosWords()
{
    QFETCH(QString, text);
    QFETCH(int, date);
    QFETCH(int, time);
    DosDateTime words;
    words.date = 0xAAAA;
    words.time = 0x5555;
    FenPrincipale::textToDosDateTime(words, text);
    QCOMPARE(int(words.date), date);
    QCOMPARE(int(words.time), time);
}

void TestConversions::dosWordsRoundTrip()
{
    for (QDate day(1980, 1, 1); day.year() < 2108; day = day.addDays(97)) {
        const QStringList texts = minutesOfDay(day);
        for (int minute = 0; minute < texts.size(); minute += 7) {
            DosDateTime words;
            FenPrincipale::textToDosDateTime(words, texts.at(minute));
            QCOMPARE(FenPrincipale::dosDateTimeToText(words.time, words.date), texts.at(minute));
        }
    }
}

void TestConversions::ws2300SecondsToText_data()
{
    QTest::addColumn<uint>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("the station epoch") << 2208992400u << "01/01/1970 01:00";
    QTest::newRow("winter") << 3471336000u << "01/01/2010 12:00";
    QTest::newRow("summer") << 3645860400u << "14/07/2015 12:00";
    QTest::newRow("zero wraps") << 0u << "07/02/2036 06:28";
    QTest::newRow("largest wraps") << 4294967295u << "07/02/2036 06:28";
}

void TestConversions::ws2300SecondsToText()
{
    QFETCH(uint, seconds);
    QFETCH(QString, text);
    QCOMPARE(FenPrincipale::secondsToText(seconds), text);
}

void TestConversions::ws2300TextToSeconds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("seconds");
    QTest::newRow("the station epoch") << "01/01/1970 01:00" << 2208992400u;
    QTest::newRow("winter") << "01/01/2010 12:00" << 3471336000u;
    QTest::newRow("summer") << "14/07/2015 12:00" << 3645860400u;
}

void TestConversions::ws2300TextToSeconds()
{
    QFETCH(QString, text);
    QFETCH(uint, seconds);
    QCOMPARE(uint(FenPrincipale::textToSeconds(text)), seconds);
}

void TestConversions::ws2300WholeMinutesRoundTrip()
{
    QStringList texts = minutesOfDay(QDate(2015, 10, 25)) + minutesOfDay(QDate(2016, 2, 29));
    for (const QString& text : minutesOfDay(QDate(2015, 3, 29))) {
        if (!text.contains(QLatin1String(" 02:")))
            texts << text;
    }
    for (const QString& text : texts)
        QCOMPARE(FenPrincipale::secondsToText(FenPrincipale::textToSeconds(text)), text);
}

void TestConversions::ws3600DayNumberToText_data()
{
    QTest::addColumn<double>("dayNumber");
    QTest::addColumn<QString>("text");
    QTest::newRow("1970") << 25569.0 << "01/01/1970 00:00";
    QTest::newRow("winter noon") << 40179.5 << "01/01/2010 12:00";
    QTest::newRow("summer noon") << 42199.5 << "14/07/2015 12:00";
    QTest::newRow("a hair below noon") << 40179.5 - 1e-9 << "01/01/2010 12:00";
    QTest::newRow("a hair below midnight") << 42200.0 - 1e-9 << "15/07/2015 00:00";
    QTest::newRow("0.4 s before noon") << 40179.5 - 0.4 / 86400 << "01/01/2010 12:00";
    QTest::newRow("spring change hour") << 42092.0 + 2.5 / 24 << "29/03/2015 02:30";
    QTest::newRow("before 1970 wraps") << 25568.0 << "06/02/2106 06:28";
    QTest::newRow("not a number") << std::nan("") << "01/01/1970 00:00";
}

void TestConversions::ws3600DayNumberToText()
{
    QFETCH(double, dayNumber);
    QFETCH(QString, text);
    QCOMPARE(FenPrincipale::dayNumberToText(dayNumber), text);
}

void TestConversions::ws3600TextToDayNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("dayNumber");
    QTest::newRow("1970") << "01/01/1970 00:00" << 25569.0;
    QTest::newRow("winter noon") << "01/01/2010 12:00" << 40179.5;
    QTest::newRow("summer evening") << "14/07/2015 18:00" << 42199.75;
    QTest::newRow("inside the spring change") << "29/03/2015 02:30" << 42092.0 + 2.5 / 24;
}

void TestConversions::ws3600TextToDayNumber()
{
    QFETCH(QString, text);
    QFETCH(double, dayNumber);
    QCOMPARE(FenPrincipale::textToDayNumber(text), dayNumber);
}

void TestConversions::ws3600IgnoresTheTimeZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("localNoonUtc");
    QTest::newRow("UTC") << QByteArray("UTC") << "14/07/2015 12:00";
    QTest::newRow("Paris in summer") << QByteArray("Europe/Paris") << "14/07/2015 14:00";
    QTest::newRow("New York") << QByteArray("America/New_York") << "14/07/2015 08:00";
    QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata") << "14/07/2015 17:30";
}

void TestConversions::ws3600IgnoresTheTimeZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, localNoonUtc);
    TestSupport::setTimeZone(zone.constData());
    // The zone really is in force for the local-time conversions...
    QCOMPARE(FenPrincipale::secondsToText(1436875200u + 2208992400u), localNoonUtc);

    // ...and the day numbers read and write the same clock readings whatever it is, through
    // both clock changes of the local zone.
    QCOMPARE(FenPrincipale::dayNumberToText(42199.5), QStringLiteral("14/07/2015 12:00"));
    QCOMPARE(FenPrincipale::textToDayNumber(QStringLiteral("14/07/2015 12:00")), 42199.5);
    int belowWholeSecond = 0;
    const QList<QDate> days{QDate(2015, 3, 8), QDate(2015, 3, 29), QDate(2015, 10, 25),
                            QDate(2015, 11, 1), QDate(2016, 2, 29)};
    for (const QDate& day : days) {
        for (const QString& text : minutesOfDay(day)) {
            const double dayNumber = FenPrincipale::textToDayNumber(text);
            const double seconds = (dayNumber - 25569.0) * 86400.0;
            if (seconds < std::round(seconds))
                ++belowWholeSecond;
            QCOMPARE(FenPrincipale::dayNumberToText(dayNumber), text);
        }
    }
    // Such values are why the conversion must round rather than truncate.
    QVERIFY(belowWholeSecond > 100);
    TestSupport::setTimeZone("Europe/Paris");
}

void TestConversions::scaledText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<QString>("text");
    QTest::newRow("negative tenth") << -5 << 10 << "-0.5";
    QTest::newRow("thousandths") << 7 << 1000 << "0.007";
    QTest::newRow("negative integer") << -12 << 1 << "-12";
    QTest::newRow("s16 minimum in tenths") << -32768 << 10 << "-3276.8";
    QTest::newRow("s16 maximum in thousandths") << 32767 << 1000 << "32.767";
    QTest::newRow("u8 maximum") << 255 << 1 << "255";
    QTest::newRow("trailing zero kept") << 250 << 1000 << "0.250";
    QTest::newRow("tenths") << -35 << 10 << "-3.5";
    QTest::newRow("hundredths") << 12345 << 100 << "123.45";
    QTest::newRow("negative hundredth") << -1 << 100 << "-0.01";
    QTest::newRow("zero tenths") << 0 << 10 << "0.0";
}

void TestConversions::scaledText()
{
    QFETCH(int, value);
    QFETCH(int, divisor);
    QFETCH(QString, text);
    QCOMPARE(FenPrincipale::scaledText(value, divisor), text);
}

void TestConversions::floatText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<qulonglong>("integerValue");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("humidity rounds") << 64.6f << 0ull << 0 << "65";
    QTest::newRow("whole humidity has no point") << 65.0f << 0ull << 0 << "65";
    QTest::newRow("u32 maximum") << 0.0f << 4294967295ull << -1 << "4294967295";
    QTest::newRow("integer ignores the float") << 12.5f << 7ull << -1 << "7";
    QTest::newRow("one metre per second") << float(1.0f * 3.6) << 0ull << 1 << "3.6";
    QTest::newRow("wind 2.5 m/s") << float(2.5f * 3.6) << 0ull << 1 << "9.0";
    QTest::newRow("direction code 16") << float(16u * 22.5) << 0ull << 1 << "360.0";
    QTest::newRow("direction code 3") << float(3u * 22.5) << 0ull << 1 << "67.5";
    QTest::newRow("rain thousandths") << 0.1f << 0ull << 3 << "0.100";
    QTest::newRow("float above the tenth") << 21.35f << 0ull << 1 << "21.4";
    QTest::newRow("a tie rounds away from zero") << -12.25f << 0ull << 1 << "-12.3";
}

void TestConversions::floatText()
{
    QFETCH(float, value);
    QFETCH(qulonglong, integerValue);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(FenPrincipale::floatText(value, static_cast<unsigned long>(integerValue), decimals),
             text);
}

void TestConversions::cellSettersWriteThroughTheModel()
{
    const auto window = TestSupport::makeWindow();
    TestAccess::installModel(*window, new TableModel(2, 3, nullptr));
    TableModel* model = TestAccess::model(*window);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    window->setScaledCell(1, 2, -5, 10);
    window->setFloatCell(0, 1, 64.6f, 0, 0);
    window->setFloatCell(1, 0, 0.0f, 4294967295ul, -1);
    QCOMPARE(model->data(model->index(1, 2), Qt::DisplayRole).toString(), QStringLiteral("-0.5"));
    QCOMPARE(model->data(model->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("65"));
    QCOMPARE(model->data(model->index(1, 0), Qt::DisplayRole).toString(),
             QStringLiteral("4294967295"));
    QCOMPARE(changes.count(), 3);
}

void TestConversions::headerLists_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("header");
    QTest::newRow("WD first") << int(DataFileType::WswinWD) << 46 << 0 << "Temp. I.\n(°C)";
    QTest::newRow("WD last") << int(DataFileType::WswinWD) << 46 << 45 << "W1";
    QTest::newRow("WS pressure") << int(DataFileType::WswinWS) << 43 << 32 << "Press. Abs.\n(hPa)";
    QTest::newRow("WM last") << int(DataFileType::WswinWM) << 16 << 15 << "Hum.";
    QTest::newRow("3600 relative")
        << int(DataFileType::WS3600) << 12 << 4 << "Pression Rel.\n(hPa)";
    QTest::newRow("3600 absolute") << int(DataFileType::WS3600) << 12 << 5 << "Pression Abs\n(hPa)";
    QTest::newRow("3600 last") << int(DataFileType::WS3600) << 12 << 11 << "unknown";
    QTest::newRow("2300 direction") << int(DataFileType::WS2300) << 9 << 7 << "Direction\n(°)";
    QTest::newRow("2300 last") << int(DataFileType::WS2300) << 9 << 8 << "unknown";
}

void TestConversions::headerLists()
{
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(int, column);
    QFETCH(QString, header);
    const QStringList headers = FenPrincipale::headerList(DataFileType(type));
    QCOMPARE(headers.size(), count);
    QCOMPARE(headers.at(column), header);
    // Short names are settings keys: within a type they must not collide.
    QStringList shortNames;
    for (const QString& h : headers)
        shortNames << FenPrincipale::shortColumnName(h);
    shortNames.removeDuplicates();
    QCOMPARE(shortNames.size(), count);
}

void TestConversions::shortColumnName_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("shortName");
    QTest::newRow("with unit") << "Temp. I.\n(°C)"
                               << "Temp. I.";
    QTest::newRow("no unit") << "Index UV"
                             << "Index UV";
    QTest::newRow("unknown") << "unknown"
                             << "unknown";
    QTest::newRow("two lines") << "a\nb\nc"
                               << "a";
}

void TestConversions::shortColumnName()
{
    QFETCH(QString, header);
    QFETCH(QString, shortName);
    QCOMPARE(FenPrincipale::shortColumnName(header), shortName);
}

STRATOMARK_TEST_MAIN(TestConversions)
#include "tst_conversions.moc"
