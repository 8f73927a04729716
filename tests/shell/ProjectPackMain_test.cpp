// "Crear Instalación..." in the main window: enabled with a project, maps saved first.
#include "MainUnit.h"
#include "MainUnitFixture.h"
#include "MapEditor.h"
#include "MessageService.h"
#include "ProjPack.h"
#include "ProjPackCore.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "TestSandbox.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "storage/LD_Map.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace {
class PackMainTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        QDir().mkpath(Path("projects"));
        WriteProjectBasePath(Path("projects/"));
        WriteTemplates(Path("program"));
        for (const QString& f : kInstallerFiles) {
            if (!QFileInfo::exists(QStringLiteral(TF_PROGRAM_DIR "/") + f))
                GTEST_SKIP() << f.toStdString() << " is not built (a build without archiver or installer)";
        }
        for (const QString& f : kInstallerFiles)
            ASSERT_TRUE(QFile::link(QStringLiteral(TF_PROGRAM_DIR "/") + f, Path("program/") + f));
        ASSERT_TRUE(ResetScratchFolder());
    }
    // Packs into `dest` through the dialog that opens next.
    void packNext(const QString& dest)
    {
        OnNextModal([dest](QWidget* modal) {
            auto* dialog = qobject_cast<TFormProjectPack*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->SetDestination(dest);
            dialog->CopyProgress = [](qint64, qint64) { return true; };
            dialog->findChild<QPushButton*>("ButtonStart")->click();
        });
    }
};
} // namespace

TEST_F(PackMainTest, ChangedMapsAreSavedBeforeTheDiskIsMade)
{
    TFormVudMain w(nullptr, false);
    w.show();
    w.UpdateActions();
    EXPECT_FALSE(w.Action_ProjectPack->isEnabled());
    CreateProjectThroughDialog(w, QStringLiteral("La Búsqueda"));
    ASSERT_TRUE(w.ProjectManager().Opened());
    w.UpdateActions();
    EXPECT_TRUE(w.Action_ProjectPack->isEnabled());

    w.MapMode(1);
    w.MapEditor()->Brush(w.MapEditor()->EditMode()).SetSingle(5010);
    PaintCellWithMouse(w, {2, 3});
    ASSERT_TRUE(w.MapsChanged());

    ScopedMessageService boxes;
    boxes.fake.answers = {MessageAnswer::No};
    w.Action_ProjectPack->trigger();
    ASSERT_EQ(boxes.fake.shown.size(), 1);
    EXPECT_EQ(boxes.fake.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(w.MapsChanged()) << "No leaves the maps and opens nothing";

    boxes.fake.shown.clear();
    boxes.fake.answers = {MessageAnswer::Yes};
    packNext(Path("disk"));
    w.Action_ProjectPack->trigger();
    EXPECT_FALSE(w.MapsChanged());
    ASSERT_FALSE(boxes.fake.shown.isEmpty());
    EXPECT_EQ(boxes.fake.shown.last().text, QStringLiteral("Creación de la instalación del juego completada."));

    // The disk's map is the painted one: Setup would install what the author saw.
    const QString game = Path("installed/");
    QDir().mkpath(game);
    const QByteArray cmd = QStringLiteral("x -+ \"%1\" \"%2\"").arg(Path("disk/Proyecto1.lzh"), game).toLocal8Bit();
    ASSERT_EQ(LoadUnlha(Path("program"))(nullptr, cmd.constData(), nullptr, 0), 0);
    TVudMap map;
    map.LoadFromFileStrict(ToStoragePath(game + "Map0001.lmu"));
    EXPECT_EQ(map.LowerLayer.Get(2, 3), 5010);
}
