// The map tree view's dialogs on a temporary project: map properties, new map, new area, area
// properties and map shift store what OK says into the tree and the map, and Cancel nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "ED_Area.h"
#include "MapTreeFixture.h"
#include "storage/DataBase.h"

namespace fs = std::filesystem;

namespace {

// Runs `answer` on the next modal dialog (within two seconds); the answer closes it.
void WhenModal(std::function<void(QDialog*)> answer)
{
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < 2000)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            answer(dialog);
    });
    timer->start(5);
}

template <class T>
T* child(QDialog* d, const QString& name)
{
    T* w = d->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

std::vector<uint8_t> entryBytes(const TVudMapTreeItem& entry)
{
    TWriter w;
    entry.SaveToStream(w);
    return w.Buf;
}

class MapTreeDialogsTest : public MapTreeTest {
protected:
    void SetUp() override
    {
        MapTreeTest::SetUp();
        DB.Reset();
        DB.ChipSets().At(0)->Name = "Campo";
        DB.ChipSets().Obtain(2)->Name = "Pueblo";
        DB.ChipSets().Obtain(3)->Name = "Mazmorra";
        DB.MonGroups().At(0)->Name = "Limo";
        DB.MonGroups().Obtain(2)->Name = "Lobos";
    }
    TVudDataBase DB;
};

TEST_F(MapTreeDialogsTest, MapPropertiesStoreIntoTheEntryAndTheMapAndDropWhatFallsOutside)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {2, 1, ntMap, "Casa"}});
    {
        TVudMap big;
        big.LoadFromProject(2);
        big.SetWidth(30);
        big.SetHeight(30);
        big.SetCell(0, 19, 14, 5077);
        big.Events.Obtain(1)->X = 5, big.Events.Obtain(1)->Y = 5;
        big.Events.Obtain(2)->X = 25, big.Events.Obtain(2)->Y = 3;
        big.SaveToProject(2);
    }
    OpenView();
    Tree.StartPosition.Set(TVudMapStartPosition::spParty, 2, 25, 3);
    Tree.StartPosition.Set(TVudMapStartPosition::spBoat, 2, 2, 2);
    Tree.StartPosition.Set(TVudMapStartPosition::spShip, 1, 19, 14);
    ASSERT_TRUE(View->SelectNode(2));
    bool keptPosition = false;
    QObject::connect(View.get(), &TFormMapTree::MapSelected, [&] { keptPosition = View->KeepPosition(); });

    QString title;
    WhenModal([&](QDialog* d) {
        title = d->windowTitle();
        EXPECT_TRUE(child<QRadioButton>(d, "RadioMusic0")->isEnabled()) << "a sub-map may take its parent's";
        child<QLineEdit>(d, "EditName")->setText("Castillo");
        child<QSpinBox>(d, "SpinWidth")->setValue(20);
        child<QSpinBox>(d, "SpinHeight")->setValue(15);
        child<QComboBox>(d, "ComboChipSet")->setCurrentIndex(2);
        child<QRadioButton>(d, "RadioTeleport2")->setChecked(true);
        child<QRadioButton>(d, "RadioBattleBack1")->setChecked(true);
        child<QSpinBox>(d, "SpinSteps")->setValue(40);
        child<QPushButton>(d, "ButtonOk")->click();
    });
    View->MapProperties();
    EXPECT_EQ(title, "Propiedades del mapa - ID:0002");
    const TVudMapTreeItem* entry = Tree.Find(2);
    EXPECT_EQ(entry->Name, "Castillo");
    EXPECT_EQ(entry->ParentID, 1);
    EXPECT_EQ(entry->Teleport, 2);
    EXPECT_EQ(entry->BattleBackType, 1);
    EXPECT_EQ(entry->MusicType, 0);
    EXPECT_EQ(entry->EncounterSteps, 40);
    EXPECT_EQ(View->TreeView()->currentItem()->text(0), "Castillo");
    EXPECT_EQ(Map.Width, 20);
    EXPECT_EQ(Map.Height, 15);
    EXPECT_EQ(Map.ChipSetID, 3);
    EXPECT_EQ(Map.LowerLayer.Get(19, 14), 5077);
    EXPECT_NE(Map.Events.Find(1), nullptr);
    EXPECT_EQ(Map.Events.Find(2), nullptr) << "the event outside the new size is gone";
    EXPECT_EQ(Tree.StartPosition.MapID(TVudMapStartPosition::spParty), 0);
    EXPECT_EQ(Tree.StartPosition.X(TVudMapStartPosition::spParty), 0);
    EXPECT_EQ(Tree.StartPosition.MapID(TVudMapStartPosition::spBoat), 2);
    EXPECT_EQ(Tree.StartPosition.MapID(TVudMapStartPosition::spShip), 1) << "another map's place stays";
    EXPECT_TRUE(Map.Modified);
    EXPECT_TRUE(keptPosition);
    EXPECT_TRUE(View->MapsChanged());
    EXPECT_TRUE(Boxes.fake.shown.isEmpty());

    View->SaveAllMaps();
    TVudMapTree reread;
    reread.LoadFromFile();
    EXPECT_EQ(reread.Find(2)->Name, "Castillo");
    EXPECT_EQ(reread.Find(2)->Teleport, 2);
    TVudMap saved;
    saved.LoadFromProject(2);
    EXPECT_EQ(saved.Width, 20);
    EXPECT_EQ(saved.Events.Count(), 1);
}

TEST_F(MapTreeDialogsTest, CancelStoresNothing)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {5, 1, ntArea, "Plaza"}});
    OpenView();
    auto cancelAfterChanges = [](QDialog* d) {
        if (auto* name = d->findChild<QLineEdit*>("EditName"))
            name->setText("Otro");
        if (auto* width = d->findChild<QSpinBox*>("SpinWidth"))
            width->setValue(50);
        if (auto* count = d->findChild<QSpinBox*>("SpinCount"))
            count->setValue(3);
        child<QPushButton>(d, "ButtonCancel")->click();
    };
    ASSERT_TRUE(View->SelectNode(5));
    const auto areaBefore = entryBytes(*Tree.Find(5));
    WhenModal(cancelAfterChanges);
    View->AreaProperties();
    EXPECT_EQ(entryBytes(*Tree.Find(5)), areaBefore);
    EXPECT_FALSE(Tree.Find(5)->Modified);

    ASSERT_TRUE(View->SelectNode(1));
    const auto entryBefore = entryBytes(*Tree.Find(1));
    const auto mapBefore = Map.SaveToFileBytes();
    const int count = Tree.Count();
    const int selections = Selections;
    for (void (TFormMapTree::*command)() :
         {&TFormMapTree::MapProperties, &TFormMapTree::NewMap, &TFormMapTree::NewArea, &TFormMapTree::ShiftMap}) {
        WhenModal(cancelAfterChanges);
        (View.get()->*command)();
    }
    EXPECT_EQ(Tree.Count(), count);
    EXPECT_EQ(entryBytes(*Tree.Find(1)), entryBefore);
    EXPECT_EQ(Map.SaveToFileBytes(), mapBefore);
    EXPECT_FALSE(Map.Modified);
    EXPECT_FALSE(View->MapsChanged());
    EXPECT_EQ(Selections, selections) << "no dialog reported a change";
    EXPECT_FALSE(fs::exists(WorkFile(1)));
    EXPECT_TRUE(Boxes.fake.shown.isEmpty());
}

TEST_F(MapTreeDialogsTest, NewMapTakesTheDialogsValuesAndTheRootsChoices)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}});
    OpenView();
    Map.ChipSetID = 2; // the selected map's chipset

    // Under a map: the parent's chipset, "as parent" choices allowed.
    QString title;
    int chipIndex = -1;
    WhenModal([&](QDialog* d) {
        title = d->windowTitle();
        chipIndex = child<QComboBox>(d, "ComboChipSet")->currentIndex();
        child<QSpinBox>(d, "SpinWidth")->setValue(40);
        child<QRadioButton>(d, "RadioMusic2")->setChecked(true);
        child<QPushButton>(d, "ButtonOk")->click();
    });
    View->NewMap();
    EXPECT_EQ(title, "Nuevo mapa - ID:0002");
    EXPECT_EQ(chipIndex, 1);
    const TVudMapTreeItem* sub = Tree.Find(2);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->Name, "MAP0002");
    EXPECT_EQ(sub->ParentID, 1);
    EXPECT_EQ(sub->NodeType, ntMap);
    EXPECT_EQ(sub->MusicType, 2);
    EXPECT_EQ(sub->Music.Name, "(OFF)");
    EXPECT_EQ(sub->Teleport, 0);
    EXPECT_EQ(sub->EncounterSteps, 25);
    EXPECT_EQ(Map.ID, 2);
    EXPECT_EQ(Map.Width, 40);
    EXPECT_EQ(Map.Height, 15);
    EXPECT_EQ(Map.ChipSetID, 2);
    EXPECT_TRUE(Map.Modified);
    EXPECT_EQ(View->SelectedID(), 2);

    // Under the root: the five choices are stored as 1.
    ASSERT_TRUE(View->SelectNode(0));
    bool asParentEnabled = true;
    WhenModal([&](QDialog* d) {
        asParentEnabled = child<QRadioButton>(d, "RadioSave0")->isEnabled();
        child<QLineEdit>(d, "EditName")->setText("Mundo");
        child<QPushButton>(d, "ButtonOk")->click();
    });
    View->NewMap();
    EXPECT_FALSE(asParentEnabled);
    const TVudMapTreeItem* top = Tree.Find(3);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Name, "Mundo");
    EXPECT_EQ(top->ParentID, 0);
    for (uint8_t v : {top->MusicType, top->BattleBackType, top->Teleport, top->Escape, top->Save})
        EXPECT_EQ(v, 1);
    EXPECT_EQ(Map.ChipSetID, 1);
    View->SaveAllMaps();
    EXPECT_TRUE(fs::exists(ProjectFile(2)));
    EXPECT_TRUE(fs::exists(ProjectFile(3)));
}

TEST_F(MapTreeDialogsTest, NewAreaAndAreaPropertiesStoreNameRectangleAndEncounters)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}});
    OpenView();
    QString shownRect;
    WhenModal([&](QDialog* d) {
        shownRect = child<QLineEdit>(d, "EditArea")->text();
        child<QPushButton>(d, "ButtonOk")->click();
    });
    View->NewArea();
    const TVudMapTreeItem* area = Tree.Find(2);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(shownRect, "(000,000) - (019,014)");
    EXPECT_EQ(area->Name, "AREA0002");
    EXPECT_EQ(area->NodeType, ntArea);
    EXPECT_EQ(std::vector<int>(area->AreaRect, area->AreaRect + 4), (std::vector<int>{0, 0, 20, 15}));
    EXPECT_TRUE(area->Modified);
    EXPECT_EQ(View->SelectedID(), 2);

    Tree.Find(2)->Modified = false;
    WhenModal([&](QDialog* d) {
        child<QLineEdit>(d, "EditName")->setText("Plaza");
        static_cast<TFormEDArea*>(d)->SetArea(QRect(QPoint(3, 4), QPoint(7, 9)));
        child<QPushButton>(d, "ButtonOk")->click();
    });
    View->AreaProperties();
    EXPECT_EQ(area->Name, "Plaza");
    EXPECT_EQ(View->TreeView()->currentItem()->text(0), "Plaza");
    EXPECT_EQ(std::vector<int>(area->AreaRect, area->AreaRect + 4), (std::vector<int>{3, 4, 8, 10}));
    EXPECT_TRUE(area->Modified);
    View->SaveAllMaps();
    TVudMapTree reread;
    reread.LoadFromFile();
    EXPECT_EQ(reread.Find(2)->Name, "Plaza");
    EXPECT_EQ(reread.Find(2)->AreaRect[3], 10);
}

TEST_F(MapTreeDialogsTest, ShiftMovesCellsEventsAndStartPositionsAndWritesTheWorkCopy)
{
    MakeProject({{1, 0, ntMap, "Pueblo"}, {2, 0, ntMap, "Bosque"}});
    OpenView();
    Map.Events.Obtain(1)->X = 19;
    Map.Events.Obtain(1)->Y = 0;
    Tree.StartPosition.Set(TVudMapStartPosition::spParty, 1, 18, 14);
    Tree.StartPosition.Set(TVudMapStartPosition::spBoat, 2, 18, 14);
    struct Case {
        const char* radio;
        int count;
        QPoint cell, event, party;
    };
    // Cell (0,0) holds 5001; each case starts where the previous one left things.
    const Case cases[] = {
        {"RadioRight", 3, {3, 0}, {2, 0}, {1, 14}},
        {"RadioUp", 1, {3, 14}, {2, 14}, {1, 13}},
        {"RadioLeft", 20, {3, 14}, {2, 14}, {1, 13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        WhenModal([&](QDialog* d) {
            child<QRadioButton>(d, c.radio)->setChecked(true);
            child<QSpinBox>(d, "SpinCount")->setValue(c.count);
            child<QPushButton>(d, "ButtonOk")->click();
        });
        View->ShiftMap();
        EXPECT_EQ(Map.LowerLayer.Get(c.cell.x(), c.cell.y()), 5001);
        EXPECT_EQ(QPoint(Map.Events.Find(1)->X, Map.Events.Find(1)->Y), c.event);
        EXPECT_EQ(QPoint(Tree.StartPosition.X(0), Tree.StartPosition.Y(0)), c.party);
        EXPECT_EQ(Tree.StartPosition.X(TVudMapStartPosition::spBoat), 18) << "another map's place stays";
        EXPECT_TRUE(Tree.Find(1)->Modified);
        EXPECT_TRUE(fs::exists(WorkFile(1)));
    }
    TVudMap work;
    work.LoadWork(1);
    EXPECT_EQ(work.LowerLayer.Get(3, 14), 5001);
}

} // namespace
