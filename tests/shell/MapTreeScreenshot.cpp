// Not a test: the map tree view on a small project with maps and areas, and the place chooser,
// saved as pictures (run under Xvfb): maptree_screenshot <output folder>.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "MapSetPlace.h"
#include "MapTreeView.h"
#include "Settings.h"
#include "TextCodec.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

namespace {

struct TNode {
    int ID, ParentID;
    uint8_t Kind;
    const char* Name;
};

void makeProject()
{
    const TNode nodes[] = {
        {1, 0, ntMap, "Pueblo de Arena"}, {2, 1, ntMap, "Posada"}, {3, 2, ntMap, "Sótano"},
        {4, 1, ntArea, "Mercado"}, {5, 1, ntMap, "Herrería"}, {6, 0, ntMap, "Bosque Viejo"},
        {7, 6, ntArea, "Claro"}, {8, 6, ntArea, "Río"}, {9, 0, ntMap, "Castillo"}, {10, 9, ntMap, "Torre"},
    };
    TVudMapTree tree;
    TVudMapTreeItem* root = tree.AddMap(0, 0);
    root->Expanded = 1;
    for (const TNode& n : nodes) {
        TVudMapTreeItem* node = tree.AddMap(n.ParentID, n.ID);
        node->NodeType = n.Kind;
        node->Name = ToCp1252(QString::fromUtf8(n.Name));
        node->Expanded = n.ID != 9;
        if (n.Kind == ntArea) {
            node->AreaRect[2] = 6, node->AreaRect[3] = 5;
            continue;
        }
        TVudMap map;
        map.Clear();
        for (int y = 0; y < map.Height; ++y)
            for (int x = 0; x < map.Width; ++x)
                map.SetCell(0, x, y, uint16_t(5000 + (x + y + n.ID) % 6));
        map.SaveToProject(n.ID);
    }
    tree.ActiveMapID = 4;
    tree.SaveToFile();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : QDir::currentPath();
    QTemporaryDir dir;
    const QString project = dir.path() + "/Project";
    QDir().mkpath(project);
    QDir().mkpath(dir.path() + "/TF_WORK");
    SetCurrentProjectFolder(project);
    SetScratchFolder((dir.path() + "/TF_WORK").toStdString());
    WriteGameTitle(project, QString::fromUtf8("La Leyenda del Desierto"));
    makeProject();

    TVudMapTree tree;
    TVudMap map;
    TFormMapTree view;
    view.SetMapTree(&tree);
    view.SetMap(&map);
    view.resize(240, 300);
    view.LoadMapTree();
    view.show();
    TFormMapSetPlace chooser;
    chooser.MapTree = &tree;
    chooser.MapID = 1;
    chooser.Cell = {4, 3};
    chooser.ShowAreas = true;
    int status = 0;
    QTimer::singleShot(300, [&] {
        chooser.show();
        QTimer::singleShot(300, [&] {
            if (!view.grab().save(out + "/maptree.png") || !chooser.grab().save(out + "/mapsetplace.png"))
                status = 1;
            chooser.hide();
            app.quit();
        });
    });
    app.exec();
    std::printf("%s\n", status ? "failed" : "saved");
    return status;
}
