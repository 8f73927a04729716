#include "IniFile.h"
#include "TestSandbox.h"

#include <QFile>
#include <QFileInfo>

namespace {
class IniFileTest : public SandboxTest {
protected:
    QByteArray Read(const QString& rel)
    {
        QFile f(Path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

struct ReadCase {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(IniFileTest, ReadsWithProfileSemantics)
{
    const ReadCase cases[] = {
        {"[TFPLAY]\r\nGameTitle=Hola\r\n", "TFPLAY", "GameTitle", "Hola"},
        {"[tfplay]\r\ngametitle=Hola\r\n", "TFPLAY", "GAMETITLE", "Hola"},           // case
        {"[TFPLAY]\nGameTitle =   Hola mundo  \n", "TFPLAY", "GameTitle", "Hola mundo"}, // trim, LF
        {"[TFPLAY]\nA=1\nA=2\n", "TFPLAY", "A", "1"},                                // first key wins
        {"[S]\nA=1\n[S]\nA=2\nB=3\n", "S", "A", "1"},                               // first section
        {"[S]\nA=1\n[S]\nB=3\n", "S", "B", "<none>"},                               // only the first
        {"[Other]\nA=1\n", "S", "A", "<none>"},
        {"A=1\n[S]\n", "S", "A", "<none>"},                                         // before sections
        {"[S]\n;A=1\n", "S", "A", "<none>"},                                         // comment
        {"[S]\nA=\"  quoted  \"\n", "S", "A", "  quoted  "},
        {"[S]\nA=\n", "S", "A", ""},
        {"[ S ]\nA=x=y\n", "S", "A", "x=y"},
    };
    for (const auto& c : cases) {
        WriteFile("t.ini", c.file);
        IniFile ini(Path("t.ini"));
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<none>").toStdString(), c.expected) << c.file;
    }
}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    IniFile ini(Path("absent.ini"));
    EXPECT_EQ(ini.ReadString("TFPLAY", "GameTitle", "Untitled"), "Untitled");
    EXPECT_EQ(ini.ReadInteger("TFPLAY", "MapEditMode", 7), 7);
    EXPECT_TRUE(ini.ReadBool("TFPLAY", "X", true));
    EXPECT_FALSE(ini.ValueExists("TFPLAY", "GameTitle"));
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    const struct {
        const char* value;
        int integer; // with default -1
        bool flag;   // with default false
    } cases[] = {{"0", 0, false}, {"1", 1, true},     {" 42 ", 42, true}, {"-3", -3, true},
                 {"0x1F", 31, true}, {"$10", 16, true}, {"abc", -1, true}, {"12abc", -1, true},
                 {"", -1, true}};
    for (const auto& c : cases) {
        WriteFile("n.ini", QByteArray("[S]\nV=") + c.value + "\n");
        IniFile ini(Path("n.ini"));
        EXPECT_EQ(ini.ReadInteger("S", "V", -1), c.integer) << c.value;
        // A value that is no number takes the default (-1 here, which is "true").
        EXPECT_EQ(ini.ReadBool("S", "V", false), c.integer == -1 ? false : c.flag) << c.value;
    }
    IniFile ini(Path("n.ini"));
    ASSERT_TRUE(ini.WriteBool("S", "F", true));
    EXPECT_EQ(ini.ReadString("S", "F", ""), "1");
    ASSERT_TRUE(ini.WriteInteger("S", "N", -12));
    EXPECT_EQ(ini.ReadInteger("S", "N", 0), -12);
}

TEST_F(IniFileTest, Windows1252RoundTrip)
{
    IniFile ini(Path("w.ini"));
    const QString title = QStringLiteral("El Niño € — “Ñandú”");
    ASSERT_TRUE(ini.WriteString("TFPLAY", "GameTitle", title));
    // Stored as single bytes of the code page, not UTF-8.
    EXPECT_EQ(Read("w.ini"), QByteArray("[TFPLAY]\r\nGameTitle=El Ni\xF1o \x80 \x97 \x93\xD1" "and\xFA\x94\r\n"));
    EXPECT_EQ(ini.ReadString("TFPLAY", "GameTitle", ""), title);
    // Bytes written by someone else come back as the same characters.
    WriteFile("b.ini", "[S]\nT=\xE1\xE9\x80\x9F\n");
    EXPECT_EQ(IniFile(Path("b.ini")).ReadString("S", "T", ""), QStringLiteral("áé€Ÿ"));
}

TEST_F(IniFileTest, WritesKeepOtherLines)
{
    WriteFile("k.ini", "; comment\r\n[Setup]\r\nDiskNumber=1\r\n\r\n[TFPLAY]\r\ngametitle=Old\r\n"
                       "weird line\r\nMapEditMode=2\r\n\r\n[Tail]\r\nX=1\r\n");
    IniFile ini(Path("k.ini"));
    ASSERT_TRUE(ini.WriteString("tfplay", "GameTitle", "New"));
    ASSERT_TRUE(ini.WriteInteger("TFPLAY", "MapEditZoom", 3));
    ASSERT_TRUE(ini.WriteString("Fresh", "K", "v"));
    EXPECT_EQ(Read("k.ini"),
              QByteArray("; comment\r\n[Setup]\r\nDiskNumber=1\r\n\r\n[TFPLAY]\r\nGameTitle=New\r\n"
                         "weird line\r\nMapEditMode=2\r\nMapEditZoom=3\r\n\r\n[Tail]\r\nX=1\r\n"
                         "[Fresh]\r\nK=v\r\n"));
    ASSERT_TRUE(ini.DeleteKey("TFPLAY", "MAPEDITMODE"));
    EXPECT_FALSE(ini.ValueExists("TFPLAY", "MapEditMode"));
    EXPECT_EQ(ini.ReadString("Tail", "X", ""), "1");
}

TEST_F(IniFileTest, ValueCannotInjectLinesAndUnwritableFolderFails)
{
    IniFile ini(Path("i.ini"));
    ASSERT_TRUE(ini.WriteString("S", "A", "one\r\n[Evil]\r\nB=2"));
    EXPECT_FALSE(ini.SectionExists("Evil"));
    EXPECT_FALSE(IniFile(Path("no/such/folder/x.ini")).WriteString("S", "A", "1"));
}
} // namespace

namespace {
TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    WriteFile("big.ini", QByteArray(5 * 1024 * 1024, 'x'));
    IniFile ini(Path("big.ini"));
    EXPECT_EQ(ini.ReadString("S", "A", "d"), "d");
    EXPECT_FALSE(ini.WriteString("S", "A", "1"));
    EXPECT_EQ(QFileInfo(Path("big.ini")).size(), 5 * 1024 * 1024);
}
} // namespace

#include <random>

namespace {
// Settings files come with projects from anywhere: no content may crash or hang the reader, and
// a write keeps every line it did not change.
TEST_F(IniFileTest, ArbitraryContentIsHandled)
{
    std::mt19937 rng(1252);
    const char alphabet[] = "[]=;\"' \t\r\n\0aAbB0\x80\xff";
    for (int round = 0; round < 300; ++round) {
        QByteArray content;
        const int size = int(rng() % 200);
        for (int i = 0; i < size; ++i)
            content += alphabet[rng() % (sizeof alphabet - 1)];
        WriteFile("r.ini", content);
        IniFile ini(Path("r.ini"));
        ini.ReadString("a", "b", "");
        ini.ReadInteger("A", "B", 0);
        ini.SectionExists("aA");
        ASSERT_TRUE(ini.WriteString("a", "b", "v"));
        EXPECT_EQ(ini.ReadString("A", "B", ""), "v");
        const int kept = int(content.count('\n'));
        EXPECT_GE(int(Read("r.ini").count('\n')), kept) << round;
    }
}
} // namespace
