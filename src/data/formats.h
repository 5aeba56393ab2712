#ifndef STRATOMARK_FORMATS_H
#define STRATOMARK_FORMATS_H

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

// The record layouts of the five station file types. The decoder, the record writer and the
// column catalogue all read these tables, so a field's offset, width and scale are stated once.
namespace Format
{

enum class FieldType : quint8 { U8, S16, U16, U32, F32, F64 };

// How a field's value becomes its cell text (and, read backwards, how a typed text is stored).
enum class CellRule : quint8 {
    Integer,         // the value in decimal
    Tenths,          // value / 10, 1 decimal
    Hundredths,      // value / 100, 2 decimals
    Thousandths,     // value / 1000, 3 decimals
    Decimals0,       // float, no decimal point
    Decimals1,       // float, 1 decimal
    Decimals3,       // float, 3 decimals
    MetresPerSecond, // float stored in m/s, shown in km/h (x 3.6), 1 decimal
    DirectionCode,   // u32 count of 22.5 degree steps, shown in degrees, 1 decimal
};

// How a typed cell text is stored into its field. The signedness of the parse is a property of
// the column, not of the field: like columns of the wswin types differ here.
enum class WriteKind : quint8 {
    ScaledSigned,   // number x divisor, parsed as a signed 16-bit integer
    ScaledUnsigned, // number x divisor, parsed as an unsigned 16-bit integer
    Word,           // unsigned 16-bit integer
    Byte,           // unsigned 16-bit integer, low 8 bits kept
    Float,          // binary32
    FloatFromKmh,   // km/h typed, m/s stored as binary32
    U32,            // unsigned 32-bit integer
    U32Low16,       // unsigned 32-bit integer, low 16 bits kept
    Direction,      // degrees typed, count of 22.5 degree steps stored
};

// What a column measures, which tells a plausible reading from a rogue one.
enum class Quantity : quint8 {
    None, // a count, a code or a sensor of unknown use: any value is plausible
    OutdoorTemperature,
    GroundTemperature,
    IndoorTemperature,
    Humidity,
    OutdoorHumidity,
    Pressure,
    Wind,
    Gust, // the strongest wind of the record, which its mean wind cannot exceed
    Direction,
    RainPerRecord,
    RainTotal, // a counter of the rain since it was last set, which grows over the years
    UvIndex,
    SolarRadiation,
};

struct Field {
    quint16 offset;
    FieldType type;
    CellRule rule;
    WriteKind write;
    const char* header; // UTF-8; "\n" separates the name from the unit
    Quantity quantity;
    // The value, as the cell shows it, that the station writes when it has no reading; NaN for
    // a column without one.
    double noData = std::numeric_limits<double>::quiet_NaN();
};

// The readings a quantity can plausibly take, both ends included, and the jump away from both
// neighbours and back that makes a reading a spike; no spike test where jump is 0.
struct PlausibleRange {
    double lowest;
    double highest;
    double jump;
};

// Indexed by Quantity.
constexpr std::array<PlausibleRange, 14> plausibleRanges{{
    {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 0},
    {-60, 60, 8},
    {-60, 60, 8},
    {0, 50, 8},
    {1, 100, 0},
    {1, 100, 0},
    {850, 1100, 5},
    {0, 250, 0},
    {0, 250, 0},
    {0, 360, 0},
    {0, 100, 0},
    {0, 100000, 0},
    {0, 16, 0},
    {0, 1500, 0},
}};

static_assert(plausibleRanges.size() == std::size_t(Quantity::SolarRadiation) + 1,
              "a quantity has no plausible range");

constexpr const PlausibleRange& plausibleRange(Quantity quantity)
{
    return plausibleRanges[std::size_t(quantity)];
}

// The values that a typed or imported text may hold, both ends included, compared as binary32.
// A rain counter passes any fixed bound within a few years: only its field's precision, which
// the editing gate checks on its own, limits it.
struct AcceptedRange {
    float lowest;
    float highest;
};

constexpr AcceptedRange acceptedRange(Quantity quantity)
{
    return quantity == Quantity::RainTotal
               ? AcceptedRange{0, std::numeric_limits<float>::infinity()}
               : AcceptedRange{-50, 2000};
}

enum class Timestamp : quint8 {
    DosWords,  // u16 DOS time word at 0x00, u16 DOS date word at 0x02
    Seconds,   // u32 seconds count at 0x04 (WS2300)
    DayNumber, // f64 day number at 0x00 (WS3600)
};

// The order of the type selector's items, which is also the order of the stored file index.
enum class DataFileType : int { WswinWS = 0, WswinWD = 1, WswinWM = 2, WS2300 = 3, WS3600 = 4 };
constexpr int dataFileTypeCount = 5;

struct RecordLayout {
    const char* name;
    int headerSize;  // bytes before the records
    int recordSize;  // bytes per record
    int trailerSize; // bytes after the records
    Timestamp timestamp;
    const Field* fields; // in column order
    int columnCount;
};

constexpr int wswinHeaderSize = 18;
constexpr int ws2300TrailerSize = 28;

constexpr int fieldSize(FieldType type)
{
    switch (type) {
    case FieldType::U8:
        return 1;
    case FieldType::S16:
    case FieldType::U16:
        return 2;
    case FieldType::U32:
    case FieldType::F32:
        return 4;
    case FieldType::F64:
        return 8;
    }
    return 0;
}

// Divisor of the integer rules; 0 for the float rules.
constexpr int ruleDivisor(CellRule rule)
{
    switch (rule) {
    case CellRule::Integer:
        return 1;
    case CellRule::Tenths:
        return 10;
    case CellRule::Hundredths:
        return 100;
    case CellRule::Thousandths:
        return 1000;
    default:
        return 0;
    }
}

// Decimals of the cell text; -1 for a plain integer.
constexpr int ruleDecimals(CellRule rule)
{
    switch (rule) {
    case CellRule::Integer:
        return -1;
    case CellRule::Decimals0:
        return 0;
    case CellRule::Tenths:
    case CellRule::Decimals1:
    case CellRule::MetresPerSecond:
    case CellRule::DirectionCode:
        return 1;
    case CellRule::Hundredths:
        return 2;
    case CellRule::Thousandths:
    case CellRule::Decimals3:
        return 3;
    }
    return -1;
}

namespace detail
{

template <std::size_t N, std::size_t M>
constexpr std::array<Field, N + M> join(const std::array<Field, N>& a,
                                        const std::array<Field, M>& b)
{
    std::array<Field, N + M> all{};
    for (std::size_t i = 0; i < N; ++i)
        all[i] = a[i];
    for (std::size_t i = 0; i < M; ++i)
        all[N + i] = b[i];
    return all;
}

using T = FieldType;
using R = CellRule;
using W = WriteKind;
using Q = Quantity;

// Offsets 0x04 to 0x33, shared by "wswin_WD" and "wswin_WS".
constexpr std::array<Field, 32> wswinSensors{{
    {0x04, T::S16, R::Tenths, W::ScaledSigned, "Temp. I.\n(°C)", Q::IndoorTemperature},
    {0x06, T::S16, R::Tenths, W::ScaledSigned, "Temp. E.\n(°C)", Q::OutdoorTemperature},
    {0x08, T::S16, R::Tenths, W::ScaledSigned, "Temp. 2\n(°C)", Q::OutdoorTemperature},
    {0x0A, T::S16, R::Tenths, W::ScaledSigned, "Temp. 3\n(°C)", Q::OutdoorTemperature},
    {0x0C, T::S16, R::Tenths, W::ScaledSigned, "Temp. 4\n(°C)", Q::OutdoorTemperature},
    {0x0E, T::S16, R::Tenths, W::ScaledSigned, "Temp. E. Min\n(°C)", Q::OutdoorTemperature},
    {0x10, T::S16, R::Tenths, W::ScaledSigned, "Temp. E. Max\n(°C)", Q::OutdoorTemperature},
    {0x12, T::S16, R::Tenths, W::ScaledSigned, "Temp. 7\n(°C)", Q::OutdoorTemperature},
    {0x14, T::S16, R::Tenths, W::ScaledSigned, "Sonde Fol. 1", Q::None},
    {0x16, T::S16, R::Tenths, W::ScaledSigned, "Sonde Fol. 2", Q::None},
    {0x18, T::S16, R::Tenths, W::ScaledSigned, "Sonde Fol. 3", Q::None},
    {0x1A, T::S16, R::Tenths, W::ScaledSigned, "Sonde Fol. 4", Q::None},
    {0x1C, T::S16, R::Tenths, W::ScaledSigned, "Temp. Sol 1\n(°C)", Q::GroundTemperature},
    {0x1E, T::S16, R::Tenths, W::ScaledSigned, "Temp. Sol 2\n(°C)", Q::GroundTemperature},
    {0x20, T::S16, R::Tenths, W::ScaledSigned, "Temp. Sol 3\n(°C)", Q::GroundTemperature},
    {0x22, T::S16, R::Tenths, W::ScaledSigned, "Temp. Sol 4\n(°C)", Q::GroundTemperature},
    {0x24, T::U8, R::Integer, W::Byte, "Hum. I.\n(%)", Q::Humidity},
    {0x25, T::U8, R::Integer, W::Byte, "Hum. E.\n(%)", Q::OutdoorHumidity},
    {0x26, T::U8, R::Integer, W::Byte, "Hum. 2\n(%)", Q::Humidity},
    {0x27, T::U8, R::Integer, W::Byte, "Hum. 3\n(%)", Q::Humidity},
    {0x28, T::U8, R::Integer, W::Byte, "Hum. 4\n(%)", Q::Humidity},
    {0x29, T::U8, R::Integer, W::Byte, "Hum. 5\n(%)", Q::Humidity},
    {0x2A, T::U8, R::Integer, W::Byte, "Hum. 6\n(%)", Q::Humidity},
    {0x2B, T::U8, R::Integer, W::Byte, "Hum. 7\n(%)", Q::Humidity},
    {0x2C, T::U8, R::Integer, W::Byte, "Hum. Fol. 1\n(%)", Q::None},
    {0x2D, T::U8, R::Integer, W::Byte, "Hum. Fol. 2\n(%)", Q::None},
    {0x2E, T::U8, R::Integer, W::Byte, "Hum. Fol. 3\n(%)", Q::None},
    {0x2F, T::U8, R::Integer, W::Byte, "Hum. Fol. 4\n(%)", Q::None},
    {0x30, T::U8, R::Integer, W::Byte, "Hum. Sol 1\n(%)", Q::None},
    {0x31, T::U8, R::Integer, W::Byte, "Hum. Sol 2\n(%)", Q::None},
    {0x32, T::U8, R::Integer, W::Byte, "Hum. Sol 3\n(%)", Q::None},
    {0x33, T::U8, R::Integer, W::Byte, "Hum. Sol 4\n(%)", Q::None},
}};

constexpr std::array<Field, 46> wswinWD =
    join(wswinSensors,
         std::array<Field, 14>{{
             {0x34, T::S16, R::Tenths, W::ScaledUnsigned, "Press. Rel.\n(hPa)", Q::Pressure},
             {0x36, T::S16, R::Thousandths, W::ScaledUnsigned, "Pluie\n(mm)", Q::RainPerRecord},
             {0x38, T::S16, R::Tenths, W::ScaledUnsigned, "Vit. Vent\n(Km/h)", Q::Wind},
             {0x3A, T::S16, R::Integer, W::Word, "Direction\n(°)", Q::Direction},
             {0x3C, T::S16, R::Tenths, W::ScaledSigned, "Evapotr.\n(mm)", Q::None},
             {0x3E, T::U8, R::Integer, W::Byte, "Index UV", Q::UvIndex},
             {0x3F, T::S16, R::Integer, W::Word, "Ray. Sol.", Q::SolarRadiation},
             {0x41, T::S16, R::Tenths, W::ScaledUnsigned, "Rafales\n(Km/h)", Q::Gust},
             {0x43, T::S16, R::Hundredths, W::ScaledSigned, "ISS Réception", Q::None},
             {0x45, T::S16, R::Integer, W::Word, "Inconnu 1", Q::None},
             {0x47, T::S16, R::Integer, W::Word, "Inconnu 2", Q::None},
             {0x49, T::U8, R::Integer, W::Byte, "GWD", Q::None},
             {0x4A, T::U8, R::Integer, W::Byte, "W0", Q::None},
             {0x4B, T::U8, R::Integer, W::Byte, "W1", Q::None},
         }});

constexpr std::array<Field, 43> wswinWS =
    join(wswinSensors,
         std::array<Field, 11>{{
             {0x34, T::S16, R::Integer, W::Word, "Press. Abs.\n(hPa)", Q::Pressure},
             {0x36, T::S16, R::Thousandths, W::ScaledSigned, "Pluie\n(mm)", Q::RainPerRecord},
             {0x38, T::S16, R::Tenths, W::ScaledUnsigned, "Vit. Vent\n(Km/h)", Q::Wind},
             {0x3A, T::S16, R::Integer, W::Word, "Direction\n(°)", Q::Direction},
             {0x3C, T::S16, R::Tenths, W::ScaledUnsigned, "Evapotr.\n(mm)", Q::None},
             {0x3E, T::U8, R::Integer, W::Byte, "Index UV", Q::UvIndex},
             {0x3F, T::S16, R::Integer, W::Word, "Ray. Sol.", Q::SolarRadiation},
             {0x41, T::S16, R::Tenths, W::ScaledUnsigned, "Rafales\n(Km/h)", Q::Gust},
             {0x43, T::S16, R::Integer, W::Word, "Inconnu 1", Q::None},
             {0x45, T::S16, R::Integer, W::Word, "Inconnu 2", Q::None},
             {0x47, T::U8, R::Integer, W::Byte, "GWD", Q::None},
         }});

constexpr std::array<Field, 16> wswinWM{{
    {0x04, T::S16, R::Tenths, W::ScaledSigned, "Temp. I.\n(°C)", Q::IndoorTemperature},
    {0x06, T::S16, R::Tenths, W::ScaledSigned, "Temp. E.\n(°C)", Q::OutdoorTemperature},
    {0x08, T::S16, R::Tenths, W::ScaledSigned, "Temp. 2\n(°C)", Q::OutdoorTemperature},
    {0x0A, T::S16, R::Tenths, W::ScaledSigned, "Temp. 3\n(°C)", Q::OutdoorTemperature},
    {0x0C, T::S16, R::Tenths, W::ScaledSigned, "Temp. 4\n(°C)", Q::OutdoorTemperature},
    {0x0E, T::U8, R::Integer, W::Byte, "Hum. I.\n(%)", Q::Humidity},
    {0x0F, T::U8, R::Integer, W::Byte, "Hum. E.\n(%)", Q::OutdoorHumidity},
    {0x10, T::U8, R::Integer, W::Byte, "Hum. 2\n(%)", Q::Humidity},
    {0x11, T::U8, R::Integer, W::Byte, "Hum. 3\n(%)", Q::Humidity},
    {0x12, T::U8, R::Integer, W::Byte, "Hum. 4\n(%)", Q::Humidity},
    {0x13, T::S16, R::Integer, W::Word, "Press. Abs.\n(hPa)", Q::Pressure},
    {0x15, T::S16, R::Thousandths, W::ScaledSigned, "Pluie\n(mm)", Q::RainPerRecord},
    {0x17, T::S16, R::Tenths, W::ScaledUnsigned, "Vit. Vent\n(Km/h)", Q::Wind},
    {0x19, T::S16, R::Integer, W::Word, "Direction\n(°)", Q::Direction},
    {0x1B, T::S16, R::Tenths, W::ScaledSigned, "Rafales\n(Km/h)", Q::Gust},
    {0x1D, T::U8, R::Integer, W::Byte, "Hum.", Q::None},
}};

// In real files 0x08 holds the station (absolute) pressure and 0x0C the sea-level (relative)
// one, so the "Rel." column reads 0x0C and the "Abs" column 0x08. A gust of 51.0 is what the
// station writes when it measured none.
constexpr std::array<Field, 12> ws3600{{
    {0x24, T::F32, R::Decimals1, W::Float, "Temp. I.\n(°C)", Q::IndoorTemperature},
    {0x28, T::F32, R::Decimals1, W::Float, "Temp. E.\n(°C)", Q::OutdoorTemperature},
    {0x2C, T::F32, R::Decimals0, W::Float, "Hum. I.\n(%)", Q::Humidity},
    {0x30, T::F32, R::Decimals0, W::Float, "Hum. E.\n(%)", Q::OutdoorHumidity},
    {0x0C, T::F32, R::Decimals1, W::Float, "Pression Rel.\n(hPa)", Q::Pressure},
    {0x08, T::F32, R::Decimals1, W::Float, "Pression Abs\n(hPa)", Q::Pressure},
    {0x1C, T::F32, R::Decimals3, W::Float, "Pluie totale\n(mm)", Q::RainTotal},
    {0x20, T::F32, R::Decimals3, W::Float, "Pluie\n(mm)", Q::RainPerRecord},
    {0x10, T::F32, R::MetresPerSecond, W::FloatFromKmh, "Vit. Vent\n(Km/h)", Q::Wind},
    {0x14, T::U32, R::DirectionCode, W::Direction, "Direction\n(°)", Q::Direction},
    {0x18, T::F32, R::Decimals1, W::Float, "Rafales\n(Km/h)", Q::Gust, 51.0},
    {0x34, T::U32, R::Integer, W::U32, "unknown", Q::None},
}};

// With the outdoor sensors out of reach the station writes 81.1 °C, 110 % and 51.0 m/s.
constexpr std::array<Field, 9> ws2300{{
    {0x18, T::F32, R::Decimals1, W::Float, "Temp. I.\n(°C)", Q::IndoorTemperature},
    {0x1C, T::F32, R::Decimals1, W::Float, "Temp. E.\n(°C)", Q::OutdoorTemperature, 81.1},
    {0x20, T::U16, R::Integer, W::U32Low16, "Hum. I.\n(%)", Q::Humidity},
    {0x22, T::U16, R::Integer, W::U32Low16, "Hum. E.\n(%)", Q::OutdoorHumidity, 110},
    {0x08, T::F32, R::Decimals1, W::Float, "Pression Abs\n(hPa)", Q::Pressure},
    {0x14, T::F32, R::Decimals3, W::Float, "Pluie totale\n(mm)", Q::RainTotal},
    {0x0C, T::F32, R::MetresPerSecond, W::FloatFromKmh, "Vit. Vent\n(Km/h)", Q::Wind, 183.6},
    {0x10, T::U32, R::DirectionCode, W::Direction, "Direction\n(°)", Q::Direction},
    {0x00, T::U32, R::Integer, W::U32, "unknown", Q::None},
}};

} // namespace detail

// Indexed by DataFileType.
constexpr std::array<RecordLayout, dataFileTypeCount> layouts{{
    {"wswin_WS", wswinHeaderSize, 72, 0, Timestamp::DosWords, detail::wswinWS.data(),
     int(detail::wswinWS.size())},
    {"wswin_WD", wswinHeaderSize, 76, 0, Timestamp::DosWords, detail::wswinWD.data(),
     int(detail::wswinWD.size())},
    {"wswin_WM", wswinHeaderSize, 30, 0, Timestamp::DosWords, detail::wswinWM.data(),
     int(detail::wswinWM.size())},
    {"WS2300", 0, 36, ws2300TrailerSize, Timestamp::Seconds, detail::ws2300.data(),
     int(detail::ws2300.size())},
    {"WS3600", 0, 56, 0, Timestamp::DayNumber, detail::ws3600.data(), int(detail::ws3600.size())},
}};

constexpr const RecordLayout& layout(DataFileType type)
{
    return layouts[std::size_t(type)];
}

// The type of that name, as the selector and the settings write it.
constexpr std::optional<DataFileType> typeNamed(std::string_view name)
{
    for (int type = 0; type < dataFileTypeCount; ++type) {
        if (name == layouts[std::size_t(type)].name)
            return DataFileType(type);
    }
    return std::nullopt;
}

constexpr int largestRecordSize = 76;

constexpr bool largestRecordSizeHoldsEveryRecord()
{
    for (const RecordLayout& l : layouts) {
        if (l.recordSize > largestRecordSize)
            return false;
    }
    return true;
}
static_assert(largestRecordSizeHoldsEveryRecord(), "a record is larger than largestRecordSize");

constexpr int timestampOffset(Timestamp stamp)
{
    return stamp == Timestamp::Seconds ? 4 : 0;
}

constexpr int timestampSize(Timestamp stamp)
{
    return stamp == Timestamp::DayNumber ? 8 : 4;
}

constexpr bool overlaps(int offsetA, int sizeA, int offsetB, int sizeB)
{
    return offsetA < offsetB + sizeB && offsetB < offsetA + sizeA;
}

// Every field lies inside its record, apart from the timestamp and from every other field.
constexpr bool fieldsAreDisjoint()
{
    for (const RecordLayout& l : layouts) {
        for (int c = 0; c < l.columnCount; ++c) {
            const Field& f = l.fields[c];
            const int size = fieldSize(f.type);
            if (f.offset + size > l.recordSize ||
                overlaps(f.offset, size, timestampOffset(l.timestamp), timestampSize(l.timestamp)))
                return false;
            for (int other = c + 1; other < l.columnCount; ++other) {
                const Field& g = l.fields[other];
                if (overlaps(f.offset, size, g.offset, fieldSize(g.type)))
                    return false;
            }
        }
    }
    return true;
}
static_assert(fieldsAreDisjoint(), "a record field overlaps another field or its timestamp");

constexpr bool writeKindFitsField(WriteKind write, FieldType type)
{
    switch (write) {
    case WriteKind::ScaledSigned:
    case WriteKind::ScaledUnsigned:
    case WriteKind::Word:
        return type == FieldType::S16;
    case WriteKind::Byte:
        return type == FieldType::U8;
    case WriteKind::Float:
    case WriteKind::FloatFromKmh:
        return type == FieldType::F32;
    case WriteKind::U32:
    case WriteKind::Direction:
        return type == FieldType::U32;
    case WriteKind::U32Low16:
        return type == FieldType::U16;
    }
    return false;
}

constexpr bool writeKindsFitTheirFields()
{
    for (const RecordLayout& l : layouts) {
        for (int c = 0; c < l.columnCount; ++c) {
            if (!writeKindFitsField(l.fields[c].write, l.fields[c].type))
                return false;
        }
    }
    return true;
}
static_assert(writeKindsFitTheirFields(),
              "a column is written through a kind its field cannot hold");

} // namespace Format

#endif
