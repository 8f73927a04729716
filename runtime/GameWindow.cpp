#include "GameWindow.h"

#include "AudioCoordinator.h"
#include "GameMaterials.h"
#include "GameProject.h"
#include "MapScene.h"
#include "Settings.h"
#include "TextCodec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdio>

#ifdef TF_HAVE_SCENES
#include "BattleTestScene.h"
#include "TitleScene.h"
#endif

namespace {
#ifndef TF_HAVE_SCENES
// Stands in for a scene that is not built: its text on a black screen; Enter goes on.
class TTextScene : public QLabel {
public:
    TTextScene(const QString& text, std::function<void()> onEnter, QWidget* parent)
        : QLabel(text, parent), FEnter(std::move(onEnter))
    {
        setAlignment(Qt::AlignCenter);
        setStyleSheet(QStringLiteral("background: black; color: white; font-size: 20px;"));
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && FEnter)
            FEnter();
        else
            QLabel::keyPressEvent(e);
    }

private:
    std::function<void()> FEnter;
};
#endif

QString fourDigits(int id)
{
    return QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0'));
}
} // namespace

TGameWindow::TGameWindow(TGameProject& project, const TPlayArgs& args, QWidget* parent)
    : QWidget(parent), FProject(project), FArgs(args)
{
    setObjectName(QStringLiteral("GameWindow"));
    setWindowTitle(ReadGameTitle(project.Folder));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    resize(TMapScene::ScreenWidth * 2, TMapScene::ScreenHeight * 2);
    qApp->installEventFilter(this);
}

TGameWindow::~TGameWindow()
{
    qApp->removeEventFilter(this);
    StopMusic();
}

TMapScene* TGameWindow::MapScene() const
{
    return qobject_cast<TMapScene*>(FScene);
}

QString TGameWindow::projectLabel() const
{
    return QStringLiteral("TFPLAY: project \"%1\"").arg(QDir::toNativeSeparators(FProject.Folder));
}

void TGameWindow::Start()
{
    if (FArgs.Mode == TPlayArgs::TMode::BattleTest)
        ShowBattleTest();
    else if (FArgs.ShowTitle)
        ShowTitle();
    else
        ShowMap();
}

void TGameWindow::setScene(QWidget* scene)
{
    if (FScene) {
        FScene->hide();
        FScene->deleteLater();
    }
    FScene = scene;
    layout()->addWidget(scene);
    scene->show();
    scene->setFocus();
}

bool TGameWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TGameWindow::playMusic(const TVudMusic* music)
{
    // Sound is a nicety: a missing file or device leaves the game silent, never stops it.
    const bool none = !music || music->Name.empty() || music->Name == "(OFF)";
    const QString file = none ? QString() : ResolveGameMaterial(QStringLiteral("Music"), FromCp1252(music->Name));
    // Walking into a map with the same music keeps it playing where it is.
    if (!file.isEmpty() && file == FMusicFile)
        return;
    FMusicFile = file;
    if (file.isEmpty()) {
        StopMusic();
        return;
    }
    if (!PlayMusic(QFile::encodeName(file).toStdString()))
        return;
    FadeInMusic(music->FadeIn);
    SetMusicVolume(music->Volume);
    SetMusicTempo(music->Tempo);
    SetMusicBalance(music->Balance);
}

void TGameWindow::ShowTitle()
{
    const TVudSystem& system = FProject.DataBase->System();
    const QImage picture = LoadGameMaterialImage(QStringLiteral("Title"), FromCp1252(system.TitleName), false);
#ifdef TF_HAVE_SCENES
    auto* scene = new TTitleScene(picture, this);
    scene->SetTitleText(windowTitle());
    connect(scene, &TTitleScene::NewGame, this, &TGameWindow::ShowMap, Qt::QueuedConnection);
    connect(scene, &TTitleScene::Quit, this, &QWidget::close, Qt::QueuedConnection);
#else
    auto* scene = new TTextScene(windowTitle() + QStringLiteral("\n\nNueva partida (Intro)\nSalir (Esc)"),
                                 [this] { QMetaObject::invokeMethod(this, &TGameWindow::ShowMap, Qt::QueuedConnection); },
                                 this);
#endif
    scene->setObjectName(QStringLiteral("TitleScene"));
    setScene(scene);
    playMusic(&system.TitleMusic);
    emit SceneReady(projectLabel() + QStringLiteral(", title screen"));
}

void TGameWindow::ShowMap()
{
    auto* scene = new TMapScene(FProject, this, FArrivalFade);
    FArrivalFade = false;
    scene->World().PlaceHero({FProject.StartX, FProject.StartY}, FArrivalFacing);
    connect(scene, &TMapScene::Teleport, this, &TGameWindow::teleport, Qt::QueuedConnection);
    setScene(scene);
    playMusic(MapMusic(FProject.Tree, FProject.MapID));
    const TCellPos hero = scene->World().Hero();
    emit SceneReady(projectLabel() + QStringLiteral(", map %1 (%2x%3), hero at (%4,%5), %6 events")
                                         .arg(fourDigits(FProject.MapID))
                                         .arg(FProject.Map.Width)
                                         .arg(FProject.Map.Height)
                                         .arg(hero.X)
                                         .arg(hero.Y)
                                         .arg(scene->EventCount()));
}

void TGameWindow::teleport(int mapID, int x, int y)
{
    // A destination that cannot be entered leaves the party where it is.
    try {
        CheckGameMap(FProject, mapID, x, y);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TFPLAY: %s\n", e.what());
        if (TMapScene* scene = MapScene())
            scene->LightUp();
        return;
    }
    // The party arrives facing the way it went, the new map lighting up.
    FArrivalFade = true;
    FArrivalFacing = MapScene() ? MapScene()->World().Facing() : TDir::Down;
    // The old scene draws the project's map: it goes before the map changes.
    delete FScene;
    FScene = nullptr;
    try {
        LoadGameMap(FProject, mapID, x, y);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TFPLAY: %s\n", e.what());
        close();
        return;
    }
    ShowMap();
}

void TGameWindow::ShowBattleTest()
{
#ifdef TF_HAVE_SCENES
    auto* scene = new TBattleTestScene(*FProject.DataBase, FArgs.TroopID, &ResolveGameMaterial, this);
    connect(scene, &TBattleTestScene::Quit, this, &QWidget::close, Qt::QueuedConnection);
#else
    auto* scene = new TTextScene(QStringLiteral("Prueba de batalla: grupo %1\n(sin reglas de batalla todavía)")
                                     .arg(FArgs.TroopID),
                                 {}, this);
#endif
    scene->setObjectName(QStringLiteral("BattleTestScene"));
    setScene(scene);
    playMusic(&FProject.DataBase->System().BattleMusic);
    emit SceneReady(projectLabel() + QStringLiteral(", battle test, troop %1").arg(fourDigits(FArgs.TroopID)));
}
