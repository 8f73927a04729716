// The map tree view against a temporary project: work copies, save and revert, copy and paste,
// delete, drag and drop, and the refusal of a broken tree file.
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <fstream>

#include "MapTreeFixture.h"
#include "storage/VudError.h"

namespace fs = std::filesystem;

namespace {
// New map and new area open their dialog modally: take its defaults.
void acceptNextDialog()
{
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            d->accept();
    });
}

const std::vector<TNodeSpec> kTwoMaps = {{1, 0, ntMap, "Pueblo"}, {2, 0, ntMap, "Bosque"}};
}

TEST_F(MapTreeTest, LoadNamesRootFillsControlAndSelectsCurrentMap)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {2, 1, ntMap, "Casa"}, {3, 1, ntArea, "Plaza"}});
    OpenView();
    EXPECT_EQ(Tree.Find(0)->Name, "La Leyenda");
    QTreeWidget* tv = View->TreeView();
    ASSERT_EQ(tv->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tv->topLevelItem(0);
    EXPECT_EQ(root->text(0), "La Leyenda");
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(0), "Pueblo");
    EXPECT_EQ(root->child(0)->childCount(), 2);
    EXPECT_EQ(View->SelectedID(), 1);
    EXPECT_EQ(Map.ID, 1);
    EXPECT_EQ(Map.LowerLayer.Get(0, 0), 5001);
    EXPECT_EQ(Selections, 1);
    EXPECT_FALSE(View->MapsChanged());
}

TEST_F(MapTreeTest, EditsGoToWorkCopiesUntilSavedAndRevertDiscardsThem)
{
    MakeProject(kTwoMaps);
    OpenView();
    const auto treeBefore = FileBytes(Project / kMapTreeFileName);
    const auto map1Before = FileBytes(ProjectFile(1));
    bool lastChanged = false;
    QObject::connect(View.get(), &TFormMapTree::MapsModifiedChanged, [&](bool c) { lastChanged = c; });

    Map.SetCell(0, 4, 4, 5100); // as the paint engine does
    ASSERT_TRUE(View->SelectNode(2));
    EXPECT_TRUE(fs::exists(WorkFile(1)));
    EXPECT_TRUE(Tree.Find(1)->Modified);
    EXPECT_TRUE(View->MapsChanged());
    EXPECT_TRUE(lastChanged);
    EXPECT_EQ(Map.ID, 2);
    Map.SetCell(0, 1, 1, 5002);
    ASSERT_TRUE(View->SelectNode(1));
    EXPECT_EQ(Map.LowerLayer.Get(4, 4), 5100) << "map 1 shows its edits from the work copy";
    EXPECT_TRUE(Tree.Find(2)->Modified);
    EXPECT_EQ(FileBytes(Project / kMapTreeFileName), treeBefore);
    EXPECT_EQ(FileBytes(ProjectFile(1)), map1Before);

    View->RevertAllMaps();
    EXPECT_FALSE(fs::exists(WorkFile(1)));
    EXPECT_FALSE(fs::exists(WorkFile(2)));
    EXPECT_FALSE(View->MapsChanged());
    EXPECT_FALSE(lastChanged);
    EXPECT_EQ(Map.ID, 1);
    EXPECT_EQ(Map.LowerLayer.Get(4, 4), 0);
    ASSERT_TRUE(View->SelectNode(2));
    EXPECT_EQ(Map.LowerLayer.Get(1, 1), 0);

    // Edit again and save: the work copy moves into the project, the tree file is written.
    Map.SetCell(0, 2, 2, 5033);
    ASSERT_TRUE(View->SelectNode(1));
    ASSERT_TRUE(fs::exists(WorkFile(2)));
    Map.SetCell(0, 3, 3, 5044); // still in the map object: saving stashes it first
    View->SaveAllMaps();
    EXPECT_FALSE(View->MapsChanged());
    EXPECT_FALSE(fs::exists(WorkFile(1)));
    EXPECT_FALSE(fs::exists(WorkFile(2)));
    TVudMap saved;
    saved.LoadFromProject(2);
    EXPECT_EQ(saved.LowerLayer.Get(2, 2), 5033);
    saved.LoadFromProject(1);
    EXPECT_EQ(saved.LowerLayer.Get(3, 3), 5044);
    TVudMapTree reread;
    reread.LoadFromFile();
    EXPECT_EQ(reread.ActiveMapID, 1);
}

TEST_F(MapTreeTest, WorkCopyThatCannotBeWrittenIsReportedAndTheEditsStay)
{
    MakeProject(kTwoMaps);
    OpenView();
    fs::remove_all(Scratch);
    { std::ofstream(Scratch) << "not a folder"; } // every write into it fails
    Map.SetCell(0, 4, 4, 5100);
    View->SelectNode(2);
    ASSERT_EQ(Boxes.fake.shown.size(), 1);
    EXPECT_EQ(Boxes.fake.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(Boxes.fake.shown[0].text.contains("0001"));
    EXPECT_EQ(View->SelectedID(), 1);
    EXPECT_EQ(Tree.ActiveMapID, 1);
    EXPECT_EQ(Map.ID, 1);
    EXPECT_TRUE(Map.Modified);
    EXPECT_EQ(Map.LowerLayer.Get(4, 4), 5100);
    EXPECT_THROW(View->SaveAllMaps(), EVudError);
    EXPECT_TRUE(View->MapsChanged());
}

TEST_F(MapTreeTest, AreaLoadsItsMapAndCentresTheView)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {5, 1, ntArea, "Plaza"}});
    OpenView();
    ASSERT_TRUE(View->SelectNode(5));
    EXPECT_EQ(Map.ID, 1);
    EXPECT_EQ(Tree.ActiveMapID, 5);
    // area 2..8 x 3..9: centre (5, 6) cells = (160, 192) pixels, picture 320 x 240
    EXPECT_EQ(Tree.Find(5)->ScrollX, (2 + 8) * 16 - 160);
    EXPECT_EQ(Tree.Find(5)->ScrollY, (3 + 9) * 16 - 120);
    // An edit made while an area is current belongs to its map.
    Map.SetCell(0, 0, 0, 5077);
    ASSERT_TRUE(View->SelectNode(0));
    EXPECT_TRUE(Tree.Find(1)->Modified);
    EXPECT_TRUE(fs::exists(WorkFile(1)));
    EXPECT_EQ(Map.Width, 0) << "the root unloads the map";
}

TEST_F(MapTreeTest, TreeFileWithoutRootIsRefused)
{
    MakeProject(kTwoMaps, false);
    View = std::make_unique<TFormMapTree>();
    View->SetMapTree(&Tree);
    View->SetMap(&Map);
    try {
        View->LoadMapTree();
        FAIL() << "loaded";
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Los datos del árbol de mapas están corruptos. No se puede leer el proyecto.");
    }
    // A file that is not a map tree at all is refused the same way (the tree is left empty).
    { std::ofstream(Project / kMapTreeFileName, std::ios::binary) << "garbage"; }
    EXPECT_THROW(View->LoadMapTree(), EVudError);
    EXPECT_EQ(Tree.Count(), 0);
}

TEST_F(MapTreeTest, CopyAndPasteGiveANewIDAndTheSameContent)
{
    MakeProject({{1, 0, ntMap, "Castle"}, {3, 0, ntMap, "MAP0003"}});
    OpenView();
    Tree.Find(1)->EncounterSteps = 40;
    Map.SetCell(1, 6, 7, 10005); // unsaved edit: the copy takes the map object as it is
    View->CopyMap();
    ASSERT_TRUE(View->ClipboardHasMap());
    ASSERT_TRUE(View->SelectNode(0));
    View->PasteMap();
    EXPECT_EQ(View->SelectedID(), 2);
    const TVudMapTreeItem* pasted = Tree.Find(2);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Name, "Castle");
    EXPECT_EQ(pasted->ParentID, 0);
    EXPECT_EQ(pasted->Depth, 1);
    EXPECT_EQ(pasted->NodeType, ntMap);
    EXPECT_EQ(pasted->EncounterSteps, 40);
    EXPECT_TRUE(pasted->Modified);
    ASSERT_TRUE(fs::exists(WorkFile(2)));
    EXPECT_EQ(Map.ID, 2);
    EXPECT_EQ(Map.UpperLayer.Get(6, 7), 10005);
    EXPECT_EQ(Map.LowerLayer.Get(0, 0), 5001);

    // A default name follows the new ID; pasted under a map it becomes its child.
    ASSERT_TRUE(View->SelectNode(3));
    View->CopyMap();
    ASSERT_TRUE(View->SelectNode(1));
    View->PasteMap();
    ASSERT_NE(Tree.Find(4), nullptr);
    EXPECT_EQ(Tree.Find(4)->Name, "MAP0004");
    EXPECT_EQ(Tree.Find(4)->ParentID, 1);
    EXPECT_EQ(Tree.Find(4)->Depth, 2);
    EXPECT_EQ(Map.LowerLayer.Get(0, 0), 5003);
    EXPECT_TRUE(Boxes.fake.shown.isEmpty());

    View->SaveAllMaps();
    TVudMap saved;
    saved.LoadFromProject(2);
    EXPECT_EQ(saved.UpperLayer.Get(6, 7), 10005);
}

TEST_F(MapTreeTest, BrokenClipboardBlockPastesNothing)
{
    MakeProject(kTwoMaps);
    OpenView();
    View->CopyMap();
    const QByteArray good = QApplication::clipboard()->mimeData()->data("application/x-taleforge-568");
    QByteArray longer = good + QByteArray("\x01\x02", 2);
    longer[0] = char(uint8_t(good[0]) + 2); // a length that matches, trailing bytes after the entry
    const QList<QByteArray> bad = {
        good.left(3),
        good.left(good.size() - 5), // length field larger than the data
        [&] { QByteArray b = good.left(good.size() - 5); b[0] = char(uint8_t(good[0]) - 5); return b; }(),
        longer,
    };
    const int count = Tree.Count();
    const auto order = Tree.Order;
    for (const QByteArray& block : bad) {
        auto* mime = new QMimeData;
        mime->setData("application/x-taleforge-568", block);
        QApplication::clipboard()->setMimeData(mime);
        Boxes.fake.shown.clear();
        View->PasteMap();
        EXPECT_EQ(Tree.Count(), count);
        EXPECT_EQ(Tree.Order, order);
        EXPECT_EQ(Map.ID, 1);
        EXPECT_EQ(Boxes.fake.shown.size(), 1);
    }
    EXPECT_FALSE(View->MapsChanged());
}

TEST_F(MapTreeTest, DeletingAMapWithTwoChildrenRemovesThreeFilesAtTheNextSave)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {2, 1, ntMap, "Casa"}, {3, 1, ntMap, "Tienda"}, {4, 0, ntMap, "Bosque"}});
    Tree.LoadFromFile();
    Tree.StartPosition.Set(TVudMapStartPosition::spParty, 3, 4, 5);
    Tree.StartPosition.Set(TVudMapStartPosition::spBoat, 4, 1, 1);
    Tree.SaveToFile();
    OpenView();
    ASSERT_TRUE(View->SelectNode(1));
    Boxes.fake.answers = {MessageAnswer::No};
    View->DeleteNode();
    EXPECT_NE(Tree.Find(1), nullptr);
    Boxes.fake.answers = {MessageAnswer::Yes};
    View->DeleteNode();
    EXPECT_EQ(Boxes.fake.shown.back().text, QString::fromUtf8("Se eliminará \"Pueblo\". ¿Continuar?"));
    EXPECT_EQ(Boxes.fake.shown.back().icon, MessageIcon::Question);
    EXPECT_EQ(Tree.Find(1), nullptr);
    EXPECT_EQ(Tree.Find(2), nullptr);
    EXPECT_EQ(Tree.Find(3), nullptr);
    EXPECT_EQ(View->SelectedID(), 0);
    EXPECT_EQ(View->TreeView()->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(Tree.StartPosition.MapID(TVudMapStartPosition::spParty), 0);
    EXPECT_EQ(Tree.StartPosition.MapID(TVudMapStartPosition::spBoat), 4);
    EXPECT_TRUE(View->MapsChanged());
    for (int id : {1, 2, 3})
        EXPECT_TRUE(fs::exists(ProjectFile(id))) << id;
    View->SaveAllMaps();
    for (int id : {1, 2, 3})
        EXPECT_FALSE(fs::exists(ProjectFile(id))) << id;
    EXPECT_TRUE(fs::exists(ProjectFile(4)));
    EXPECT_FALSE(View->MapsChanged());
}

TEST_F(MapTreeTest, DragAndDropReparentsAndKeepsDepths)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {2, 1, ntMap, "Casa"}, {3, 2, ntMap, "Sotano"},
                 {4, 0, ntMap, "Bosque"}, {5, 1, ntArea, "Plaza"}});
    OpenView();
    // refused: onto itself, onto its own descendant, onto an area, an area onto another map,
    // the root anywhere
    EXPECT_FALSE(View->CanDropOn(1, 1));
    EXPECT_FALSE(View->CanDropOn(1, 3));
    EXPECT_FALSE(View->CanDropOn(2, 5));
    EXPECT_FALSE(View->CanDropOn(5, 4));
    EXPECT_FALSE(View->CanDropOn(0, 4));
    EXPECT_TRUE(View->CanDropOn(5, 1));
    EXPECT_FALSE(View->MoveMap(1, 3));

    ASSERT_TRUE(View->MoveMap(2, 4));
    EXPECT_EQ(Tree.Find(2)->ParentID, 4);
    EXPECT_EQ(Tree.Find(2)->Depth, 2);
    EXPECT_EQ(Tree.Find(3)->Depth, 3);
    EXPECT_EQ(Tree.Order, (std::vector<int32_t>{0, 1, 5, 4, 2, 3}));
    EXPECT_TRUE(Tree.Find(0)->Modified);
    EXPECT_TRUE(View->MapsChanged());
    QTreeWidgetItem* bosque = View->TreeView()->topLevelItem(0)->child(1);
    ASSERT_EQ(bosque->childCount(), 1);
    EXPECT_EQ(bosque->child(0)->text(0), "Casa");

    View->SaveAllMaps();
    TVudMapTree reread;
    reread.LoadFromFile();
    EXPECT_EQ(reread.Order, Tree.Order);
    EXPECT_EQ(reread.Find(3)->Depth, 3);
    EXPECT_FALSE(View->MapsChanged());
}

TEST_F(MapTreeTest, NewMapAndNewAreaTakeTheFreeIDs)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {3, 0, ntMap, "Bosque"}});
    OpenView();
    acceptNextDialog();
    View->NewMap();
    ASSERT_NE(Tree.Find(2), nullptr);
    EXPECT_EQ(Tree.Find(2)->Name, "MAP0002");
    EXPECT_EQ(Tree.Find(2)->ParentID, 1);
    EXPECT_EQ(Map.ID, 2);
    EXPECT_TRUE(Map.Modified);
    ASSERT_TRUE(View->SelectNode(1));
    acceptNextDialog();
    View->NewArea();
    ASSERT_NE(Tree.Find(4), nullptr);
    EXPECT_EQ(Tree.Find(4)->Name, "AREA0004");
    EXPECT_EQ(Tree.Find(4)->NodeType, ntArea);
    EXPECT_EQ(Tree.Find(4)->AreaRect[2], 20);
    EXPECT_EQ(Tree.Find(4)->AreaRect[3], 15);
    View->SaveAllMaps();
    EXPECT_TRUE(fs::exists(ProjectFile(2)));
    EXPECT_FALSE(fs::exists(ProjectFile(4)));
}

TEST_F(MapTreeTest, MenusFollowTheNodeKindAndReadOnlyHasNone)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {5, 1, ntArea, "Plaza"}});
    OpenView();
    QStringList captions;
    for (QAction* a : View->PopupMenu(1)->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Propie&dades del Mapa...", "&Nuevo Mapa...", "N&ueva Area...", "&Copiar",
                                     "&Pegar", "&Eliminar...", "Move&r Mapa..."}));
    EXPECT_EQ(View->PopupMenu(2)->actions()[0]->text(), QString::fromUtf8("P&ropiedades del área..."));
    EXPECT_EQ(View->TreeView()->actions().size(), 7);
    View->SelectNode(5);
    EXPECT_EQ(View->TreeView()->actions().size(), 2);
    QApplication::clipboard()->clear();
    View->SelectNode(0);
    EXPECT_FALSE(View->PopupMenu(0)->actions()[1]->isEnabled());
    View->SetReadOnly(true);
    EXPECT_TRUE(View->TreeView()->actions().isEmpty());
    EXPECT_FALSE(View->CanDropOn(1, 0));
    const auto order = Tree.Order;
    View->TreeView()->topLevelItem(0)->child(0)->setExpanded(false);
    EXPECT_EQ(Tree.Find(1)->Expanded, 1) << "a read-only view leaves the entries alone";
}
