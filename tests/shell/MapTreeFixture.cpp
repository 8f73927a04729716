#include "MapTreeFixture.h"

#include <QStandardPaths>
#include <fstream>
#include <iterator>

#include "Settings.h"

namespace fs = std::filesystem;

QApplication& MapTreeApp()
{
    static int argc = 1;
    static char name[] = "test_maptree";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

void MapTreeTest::SetUp()
{
    MapTreeApp();
    QStandardPaths::setTestModeEnabled(true);
    ASSERT_TRUE(Dir.isValid());
    Project = fs::path(Dir.path().toStdString()) / "Project";
    Scratch = fs::path(Dir.path().toStdString()) / "TF_WORK";
    fs::create_directories(Project);
    fs::create_directories(Scratch);
    SetCurrentProjectFolder(QString::fromStdString(Project.string()));
    SetScratchFolder(Scratch);
    WriteGameTitle(QString::fromStdString(Project.string()), QString::fromUtf8("La Leyenda"));
}

void MapTreeTest::TearDown()
{
    View.reset();
    SetCurrentProjectFolder(QString());
    SetScratchFolder({});
}

void MapTreeTest::MakeProject(const std::vector<TNodeSpec>& nodes, bool withRoot)
{
    TVudMapTree tree;
    if (withRoot) {
        TVudMapTreeItem* root = tree.AddMap(0, 0);
        root->NodeType = ntRoot;
        root->Name = "Juego";
    }
    for (const TNodeSpec& n : nodes) {
        TVudMapTreeItem* node = tree.AddMap(n.ParentID, n.ID);
        node->NodeType = n.Kind;
        node->Name = n.Name;
        node->Expanded = 1;
        if (n.Kind == ntArea) {
            node->AreaRect[0] = 2, node->AreaRect[1] = 3, node->AreaRect[2] = 8, node->AreaRect[3] = 9;
            continue;
        }
        TVudMap map;
        map.Clear();
        map.SetCell(0, 0, 0, uint16_t(5000 + n.ID));
        map.SaveToProject(n.ID);
    }
    tree.ActiveMapID = nodes.empty() ? 0 : nodes.front().ID;
    tree.SaveToFile();
}

void MapTreeTest::OpenView()
{
    View = std::make_unique<TFormMapTree>();
    View->SetMapTree(&Tree);
    View->SetMap(&Map);
    View->SetPictureSize(QSize(320, 240));
    QObject::connect(View.get(), &TFormMapTree::MapSelected, [this] { ++Selections; });
    View->LoadMapTree();
}

fs::path MapTreeTest::ProjectFile(int id) const
{
    return Project / MapFileName(id);
}

fs::path MapTreeTest::WorkFile(int id) const
{
    return Scratch / MapFileName(id);
}

std::vector<uint8_t> MapTreeTest::FileBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
