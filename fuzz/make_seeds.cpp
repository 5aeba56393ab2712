// Writes the seed corpora of the fuzz targets into the folder given, one folder a target: the
// small document of each type as a file to load, its exports (with and without edits) as files
// to import, and texts of each kind to type, paste and correct with.
#include "fuzzsupport.h"

namespace
{

using Format::DataFileType;

void writeSeed(const QString& folder, const QString& name, const QByteArray& bytes)
{
    TestSupport::writeFile(folder + QLatin1Char('/') + name, bytes);
}

QByteArray prefixed(std::initializer_list<int> bytes, const QByteArray& rest)
{
    QByteArray seed;
    for (const int byte : bytes)
        seed.append(char(byte));
    return seed + rest;
}

// The document's export, as the window writes it with the separator of that index.
QByteArray exported(TestSupport::Editor& editor, int separator)
{
    const QString path = editor.path(QStringLiteral("export.csv"));
    editor.trigger("&Exporter");
    TestAccess::separatorCombo(editor.window())->setCurrentIndex(separator);
    const auto answer = TestSupport::chooseFile(path, QStringLiteral("*.*"));
    editor.click("OK");
    return TestSupport::readFile(path);
}

void writeSeeds(const QString& root, DataFileType type)
{
    const int t = int(type);
    const QByteArray document = Fuzz::document(type);
    writeSeed(root + QStringLiteral("/load_save"), QStringLiteral("document-%1").arg(t),
              prefixed({t}, document));
    writeSeed(root + QStringLiteral("/load_save"), QStringLiteral("patterned-%1").arg(t),
              prefixed({t}, TestSupport::stationFile(type, 3)));

    TestSupport::Editor editor;
    editor.open(type, document);
    const QString imports = root + QStringLiteral("/import");
    writeSeed(imports, QStringLiteral("same-%1").arg(t), prefixed({t, 1}, exported(editor, 0)));
    writeSeed(imports, QStringLiteral("comma-%1").arg(t), prefixed({t, 1}, exported(editor, 1)));
    editor.edit(1, 1, QStringLiteral("12.5"));
    editor.edit(2, 0, QStringLiteral("1,0"));
    writeSeed(imports, QStringLiteral("edited-%1").arg(t), prefixed({t, 0}, exported(editor, 0)));

    const QString typed = root + QStringLiteral("/typed");
    const QStringList texts{QStringLiteral("21.5"),  QStringLiteral("12,5"),
                            QStringLiteral("-0.04"), QStringLiteral("1e3"),
                            QStringLiteral("abc"),   QStringLiteral("1\t2\n3\t4")};
    for (int way = 0; way < 3; ++way) {
        for (int i = 0; i < texts.size(); ++i)
            writeSeed(typed, QStringLiteral("%1-%2-%3").arg(t).arg(way).arg(i),
                      prefixed({t, way + 3 * i, 0x41 + i, 0x21 + i}, texts.at(i).toUtf8()));
    }
}

} // namespace

int main(int argc, char** argv)
{
    TestSupport::initProcess();
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    for (int type = 0; type < Format::dataFileTypeCount; ++type)
        writeSeeds(QString::fromLocal8Bit(argv[1]), DataFileType(type));
    return 0;
}
