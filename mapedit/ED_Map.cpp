#include "ED_Map.h"

#include "LD_MapTree.h"

void StoreRootChoices(TVudMapTreeItem& item, bool underRoot) {
  if (!underRoot) return;
  for (uint8_t* choice : {&item.MusicType, &item.BattleBackType, &item.Teleport, &item.Escape,
                          &item.Save})
    if (*choice == 0) *choice = 1;
}
