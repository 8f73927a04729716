#include "TestSandbox.h"
#include "TextCodec.h"

namespace {
TEST(TextCodec, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252(std::string("\x80\x9F\xE9")), QStringLiteral("€Ÿé"));
}

TEST(TextCodec, UnrepresentableCharactersAreFlagged)
{
    EXPECT_TRUE(IsCp1252Text(QStringLiteral("Añejo “€” …")));
    EXPECT_FALSE(IsCp1252Text(QStringLiteral("Ωmega")));
    EXPECT_FALSE(IsCp1252Text(QString::fromUtf8("\xF0\x9F\x98\x80"))); // a surrogate pair
    EXPECT_EQ(ToCp1252(QStringLiteral("aΩb")), "a?b");
    EXPECT_EQ(ToCp1252(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), "a?b");
}

TEST(TextCodec, ValidatorRefusesWhatTheCodePageCannotHold)
{
    TCp1252Validator v;
    int pos = 0;
    QString ok = QStringLiteral("Sin Título €");
    QString bad = QStringLiteral("日本");
    EXPECT_EQ(v.validate(ok, pos), QValidator::Acceptable);
    EXPECT_EQ(v.validate(bad, pos), QValidator::Invalid);
}
} // namespace
