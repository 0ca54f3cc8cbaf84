// vo3112datagen: draws the module pictures and writes the data sheets for
// every module of the two description files, into one output folder laid out
// like the program folder.
//
//   vo3112datagen --out DIR --neutral ModIO_NX.cfg --branded ModIO_QA.cfg
#include "Catalogue.h"
#include "DataSheet.h"
#include "FrontPlate.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <cstdio>

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "vo3112datagen: %s\n", qPrintable(message));
    return 1;
}

bool savePicture(const QImage &image, const QString &outDir, const QString &relative, QString &error)
{
    if (relative.isEmpty() || QDir::isAbsolutePath(relative) || relative.contains(QLatin1String(".."))) {
        error = QStringLiteral("picture name must lie inside the program folder: ") + relative;
        return false;
    }
    const QString path = QDir(outDir).filePath(relative);
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path)) {
        error = QStringLiteral("cannot write ") + path;
        return false;
    }
    return true;
}

bool generate(const QString &cfg, const Brand &brand, const QString &outDir, QString &error)
{
    Catalogue catalogue;
    if (!readCatalogue(cfg, catalogue, error))
        return false;
    if (!savePicture(drawEmptySlot(brand), outDir, brand.emptyImage, error))
        return false;
    QMap<QString, QList<const ModuleInfo *>> sheets;
    for (const ModuleInfo &m : catalogue.modules) {
        if (m.id != 0 && m.image.compare(brand.emptyImage, Qt::CaseInsensitive) != 0 &&
            !savePicture(drawModule(brand, m), outDir, m.image, error))
            return false;
        sheets[dataSheetName(m.shortName, brand.branded)].append(&m);
    }
    const QDir folder(QDir(outDir).filePath(brand.pdfFolder));
    if (!QDir().mkpath(folder.path())) {
        error = QStringLiteral("cannot make ") + folder.path();
        return false;
    }
    for (auto it = sheets.cbegin(); it != sheets.cend(); ++it)
        if (!writeDataSheet(folder.filePath(it.key()), brand, catalogue, it.value(), error))
            return false;
    std::printf("vo3112datagen: %s: %lld modules, %lld data sheets\n", qPrintable(QFileInfo(cfg).fileName()),
                static_cast<long long>(catalogue.modules.size()), static_cast<long long>(sheets.size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString outDir, neutral, branded;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--out"))
            outDir = args[i + 1];
        else if (args[i] == QLatin1String("--neutral"))
            neutral = args[i + 1];
        else if (args[i] == QLatin1String("--branded"))
            branded = args[i + 1];
        else
            return fail(QStringLiteral("unknown option ") + args[i]);
    }
    if (outDir.isEmpty() || neutral.isEmpty() || branded.isEmpty())
        return fail(QStringLiteral("usage: vo3112datagen --out DIR --neutral ModIO_NX.cfg --branded ModIO_QA.cfg"));

    QString error;
    if (!generate(neutral, neutralBrand(), outDir, error) || !generate(branded, brandedBrand(), outDir, error))
        return fail(error);
    return 0;
}
