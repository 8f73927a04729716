#include <gtest/gtest.h>

#include "LD_Switch.h"
#include "LD_Variable.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

template <class List>
void checkNameList(const char* message)
{
    List list;
    list.Append();
    list.Append()->Name = "Puerta\x80";
    EXPECT_EQ(Save(list), (ByteVec{0x02, 0x01, 0x00, 0x02, 0x01, 0x07, 'P', 'u', 'e', 'r', 't', 'a', 0x80, 0x00}));
    EXPECT_EQ(TCatalog::DisplayName(*list.ItemByID(1)), "0001");
    EXPECT_EQ(TCatalog::DisplayName(*list.ItemByID(2)), "0002:Puerta\x80");
    try {
        list.ItemByID(3);
        FAIL() << message;
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), message);
    }
    SetLenientMode(true);
    EXPECT_EQ(list.ItemByID(3), nullptr);
    SetLenientMode(false);
}

TEST(SwitchAndVariable, NameListsAndMessages)
{
    checkNameList<TVudSwitch>("Interruptor no válido.");
    checkNameList<TVudVariable>("Variable no válida.");
}
