#include <gtest/gtest.h>

#include "LD_Attrib.h"
#include "RecordChunks.h"

TEST(VudAttrib, RatesDefaultsAndMessage)
{
    TVudAttribItem a;
    const int rates[] = {300, 200, 100, 50, 0};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(a.Rate(r), rates[r]);
    EXPECT_EQ(a.Rate(5), 0);
    // A cleared attribute writes only its type.
    EXPECT_EQ(Save(a), (Bytes_{0x02, 0x01, 0x00, 0x00}));
    a.RateC = 150;
    a.RateE = -10;
    a.Name = "Fuego";
    a.AttribType = 1;
    TVudAttribItem copy;
    copy.Assign(a);
    EXPECT_EQ(Save(copy), Save(a));
    EXPECT_EQ(copy.RateE, -10);

    TVudAttrib attributes;
    try {
        attributes.ItemByIndex(0);
        ADD_FAILURE() << "no exception";
    } catch (const EVudError& e) {
        EXPECT_STREQ(e.what(), "Atributo no válido");
    }
}
