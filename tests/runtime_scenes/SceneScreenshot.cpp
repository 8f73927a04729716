// Screenshots of the title and battle test scenes with the generated run-time package and the
// default database of the program folder. Run under Xvfb:
//   runtime_scenes_screenshot [program folder] [output folder] [troop ID]
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "BattleTestScene.h"
#include "DataBase.h"
#include "GameMaterials.h"
#include "TextCodec.h"
#include "TitleScene.h"
#include "VudError.h"

namespace {
QString findMaterial(const QString& rtp, const QString& folder, const QString& name)
{
    for (const char* ext : {"bmp", "png", "xyz"}) {
        const QString path = QStringLiteral("%1/%2/%3.%4").arg(rtp, folder, name, QLatin1String(ext));
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool save(QWidget& scene, const QString& file)
{
    scene.resize(640, 480);
    scene.show();
    QApplication::processEvents();
    const bool ok = scene.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString program = args.size() > 1 ? args[1] : QStringLiteral(TF_PROGRAM_DIR);
    const QString out = args.size() > 2 ? args[2] : QStringLiteral(TF_SOURCE_DIR "/docs/screenshots");
    const int troop = args.size() > 3 ? args[3].toInt() : 2;
    const QString rtp = program + QStringLiteral("/RTP");
    auto resolve = [rtp](const QString& folder, const QString& name) { return findMaterial(rtp, folder, name); };

    SetLenientMode(true);
    TVudDataBase db;
    db.LoadFromFile(QFile::encodeName(program + QStringLiteral("/TFPLAY.ldb.dat")).toStdString());

    TTitleScene title(LoadGameImage(resolve(QStringLiteral("Title"), FromCp1252(db.System().TitleName)), false));
    TTitleScene plain{QImage()};
    plain.SetTitleText(QStringLiteral("La Leyenda del Valle"));
    TBattleTestScene battle(db, troop, resolve);
    TBattleTestScene unknown(db, 999, resolve);
    bool ok = save(title, out + QStringLiteral("/runtime-title.png"));
    ok = save(plain, out + QStringLiteral("/runtime-title-plain.png")) && ok;
    ok = save(battle, out + QStringLiteral("/runtime-battle-test.png")) && ok;
    ok = save(unknown, out + QStringLiteral("/runtime-battle-unknown-troop.png")) && ok;
    return ok ? 0 : 1;
}
