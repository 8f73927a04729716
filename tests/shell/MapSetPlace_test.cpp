// The place chooser on a temporary project.
#include <QLabel>
#include <QPushButton>

#include "MapPosSetter.h"
#include "MapSetPlace.h"
#include "MapTreeFixture.h"

TEST_F(MapTreeTest, PlaceChooserShowsTheGivenPlaceAndRestoresTheCurrentMap)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {2, 0, ntMap, "Bosque"}, {5, 1, ntArea, "Plaza"}});
    Tree.LoadFromFile();
    Tree.ActiveMapID = 5;
    TVudMap editorMap; // the editor's unsaved map 2
    editorMap.Clear();
    editorMap.ID = 2;
    editorMap.SetCell(0, 9, 9, 5123);

    TFormMapSetPlace dlg;
    dlg.MapTree = &Tree;
    dlg.MapID = 2;
    dlg.Cell = {3, 4};
    dlg.EditorMap = &editorMap;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Elegir Lugar");
    EXPECT_EQ(dlg.TreeView()->SelectedID(), 2);
    EXPECT_EQ(dlg.PosSetter()->Map()->LowerLayer.Get(9, 9), 5123);
    EXPECT_EQ(dlg.PosSetter()->Position(), QPoint(3, 4));
    EXPECT_EQ(Tree.Find(2)->ScrollX, 3 * 32 - 160);
    EXPECT_EQ(dlg.LabelPlace()->text(), "0002:Bosque (003,004)");
    EXPECT_TRUE(dlg.ButtonOk()->isEnabled());
    EXPECT_EQ(dlg.TreeView()->TreeView()->topLevelItem(0)->child(0)->childCount(), 0) << "areas hidden";

    dlg.TreeView()->SelectNode(0);
    EXPECT_EQ(dlg.MapID, 0);
    EXPECT_EQ(dlg.LabelPlace()->text(), "");
    EXPECT_FALSE(dlg.ButtonOk()->isEnabled());
    dlg.TreeView()->SelectNode(1);
    EXPECT_EQ(dlg.LabelPlace()->text(), "0001:Pueblo");
    EXPECT_FALSE(dlg.ButtonOk()->isEnabled()) << "a cell is required";
    dlg.NeedCell = false;
    dlg.TreeView()->SelectNode(2);
    EXPECT_TRUE(dlg.ButtonOk()->isEnabled());
    EXPECT_EQ(dlg.PosSetter()->Map()->LowerLayer.Get(9, 9), 5123) << "map 2 is the editor's map";
    dlg.TreeView()->SelectNode(1);
    EXPECT_EQ(dlg.PosSetter()->Map()->LowerLayer.Get(0, 0), 5001);

    EXPECT_FALSE(dlg.TreeView()->MapsChanged());
    dlg.hide();
    EXPECT_EQ(Tree.ActiveMapID, 5);
    EXPECT_EQ(Tree.Find(1)->Expanded, 1);
}

TEST_F(MapTreeTest, PlaceChooserWithoutAMapStartsOnTheAreasMapAndCanLock)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {5, 1, ntArea, "Plaza"}});
    Tree.LoadFromFile();
    Tree.ActiveMapID = 5;
    TFormMapSetPlace dlg;
    dlg.MapTree = &Tree;
    dlg.Lock = true;
    dlg.show();
    EXPECT_EQ(dlg.MapID, 1);
    EXPECT_EQ(dlg.TreeView()->SelectedID(), 1);
    EXPECT_FALSE(dlg.TreeView()->TreeView()->isEnabled());
    EXPECT_EQ(dlg.PosSetter()->CellSize(), 16);
    for (int tag : {1, 2, 3}) {
        dlg.findChild<QPushButton*>(QString("ButtonZoom%1").arg(tag))->click();
        EXPECT_EQ(dlg.PosSetter()->CellSize(), TFormMapSetPlace::ZoomCellSize(tag));
    }
    dlg.hide();
    EXPECT_EQ(Tree.ActiveMapID, 5);
}
