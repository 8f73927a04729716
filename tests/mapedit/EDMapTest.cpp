// Map properties: a map under the root never stores "as parent" (0) for its five choices.
#include "ED_Map.h"
#include "LD_MapTree.h"

#include <gtest/gtest.h>

namespace {

TEST(EDMapRootChoices, RootMapsStoreOneForAsParent) {
  TVudMapTreeItem item;
  item.MusicType = 0;
  item.BattleBackType = 2;
  item.Teleport = 0;
  item.Escape = 1;
  item.Save = 0;
  TVudMapTreeItem nested;
  nested.MusicType = nested.Teleport = nested.Save = 0;
  StoreRootChoices(item, true);
  EXPECT_EQ(item.MusicType, 1);
  EXPECT_EQ(item.BattleBackType, 2);
  EXPECT_EQ(item.Teleport, 1);
  EXPECT_EQ(item.Escape, 1);
  EXPECT_EQ(item.Save, 1);
  StoreRootChoices(nested, false);
  EXPECT_EQ(nested.MusicType, 0);
  EXPECT_EQ(nested.Teleport, 0);
  EXPECT_EQ(nested.Save, 0);
}

}  // namespace
