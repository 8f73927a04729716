#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "AtomicFile.h"
#include "FileKinds.h"
#include "Fixtures.h"
#include "RecordJson.h"

namespace fs = std::filesystem;
using ByteVec = std::vector<uint8_t>;

namespace {

const fs::path kData = fs::path(TF_TEST_DATA) / "storage" / "maps";
const char* const kFixtures[] = {"Map0001.lmu", "Map0002.lmu", "TFPLAY.lmt"};

// One folder per test: ctest runs the tests of this file in parallel processes.
fs::path workDir()
{
    const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
    const fs::path dir = fs::path(testing::TempDir()) / ("tfdata-" + test);
    static std::string made;
    if (made != test) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        made = test;
    }
    return dir;
}

std::string readText(const fs::path& f)
{
    std::ifstream in(f, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeBytes(const fs::path& f, const ByteVec& bytes) { SaveFileAtomic(f, bytes); }

void writeText(const fs::path& f, const std::string& text)
{
    writeBytes(f, ByteVec(text.begin(), text.end()));
}

struct TRun {
    int rc = -1;
    std::string out, err;
};

// Runs the real program; the exit code comes back through the shell so a crash shows as 128+.
TRun tfdata(const std::string& args)
{
    const fs::path dir = workDir();
    const std::string cmd = "'" + std::string(TF_PROGRAM_DIR) + "/tfdata' " + args + " >'" + (dir / "out").string() +
                            "' 2>'" + (dir / "err").string() + "'; echo $? >'" + (dir / "rc").string() + "'";
    TRun r;
    if (std::system(cmd.c_str()) != 0)
        return r;
    r.rc = std::stoi(readText(dir / "rc"));
    r.out = readText(dir / "out");
    r.err = readText(dir / "err");
    return r;
}

std::string q(const fs::path& p) { return "'" + p.string() + "'"; }

std::unique_ptr<TFileDoc> loadBytes(const ByteVec& bytes)
{
    const TFileKind* kind = FindFileKind(ReadFormatName(bytes));
    if (!kind)
        throw EReadError();
    auto doc = kind->Make();
    TReader r(bytes);
    doc->Load(r);
    return doc;
}

ByteVec buildFrom(const std::string& json)
{
    const Json j = Json::Parse(json);
    auto doc = FindFileKind(j.Find("Format")->AsString())->Make();
    doc->FromJson(j);
    return doc->Save();
}

bool contains(const ByteVec& hay, const ByteVec& needle)
{
    return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

} // namespace

// Makes the fixture files again (run by hand with --gtest_also_run_disabled_tests).
TEST(TfData, DISABLED_WriteFixtures)
{
    TVudMap map;
    FillFixtureMap(map);
    writeBytes(kData / "Map0001.lmu", map.SaveToFileBytes());
    TVudMap cleared;
    cleared.Clear();
    writeBytes(kData / "Map0002.lmu", cleared.SaveToFileBytes());
    TVudMapTree tree;
    FillFixtureTree(tree);
    TWriter w;
    tree.SaveTreeToStream(w);
    writeBytes(kData / "TFPLAY.lmt", w.Buf);
}

TEST(TfData, FixturesAreWhatTheModelWrites)
{
    TVudMap map;
    FillFixtureMap(map);
    EXPECT_EQ(ReadWholeFile(kData / "Map0001.lmu"), map.SaveToFileBytes());
    TVudMapTree tree;
    FillFixtureTree(tree);
    TWriter w;
    tree.SaveTreeToStream(w);
    EXPECT_EQ(ReadWholeFile(kData / "TFPLAY.lmt"), w.Buf);
}

TEST(TfData, DumpThenBuildIsByteIdentical)
{
    for (const char* name : kFixtures) {
        const fs::path json = workDir() / (std::string(name) + ".json");
        const fs::path out = workDir() / (std::string(name) + ".out");
        const TRun d = tfdata("dump " + q(kData / name));
        ASSERT_EQ(d.rc, 0) << name << ": " << d.err;
        writeText(json, d.out);
        const TRun b = tfdata("build " + q(json) + " " + q(out));
        ASSERT_EQ(b.rc, 0) << name << ": " << b.err;
        EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(kData / name)) << name;
        EXPECT_EQ(tfdata("validate " + q(out)).rc, 0) << name;
    }
}

TEST(TfData, DumpShowsFieldsScriptsRoutesAndUnicode)
{
    const TRun d = tfdata("dump " + q(kData / "Map0001.lmu"));
    ASSERT_EQ(d.rc, 0);
    for (const char* want : {"\"Format\": \"VudMapUnit\"", "\"ChipSetID\": 2", "\"PanoramaName\": \"Cielo\xC3\xA1\"",
                             "\"LowerLayer\": [", "\"Events\": [", "\"Pages\": [", "\"Condition\": {",
                             "{\"Code\": 10110, \"Indent\": 0, \"Text\": \"\xC2\xA1Hola! \xC2\xBFQu\xC3\xA9 tal?\", \"Params\": []}",
                             "\"Params\": [1, 0, 5, -8]", "{\"Code\": 32, \"Value\": 5}", "\"SoundName\": \"Paso\""})
        EXPECT_NE(d.out.find(want), std::string::npos) << want;
    const Json j = Json::Parse(d.out);
    const Json& rows = *j.Find("UpperLayer");
    ASSERT_EQ(rows.AsArray().size(), 16u);
    EXPECT_EQ(rows.AsArray()[0].AsArray().size(), 21u);
    EXPECT_EQ(rows.AsArray()[0].AsArray()[0].AsInt(), 10000);

    const TRun t = tfdata("dump " + q(kData / "TFPLAY.lmt"));
    ASSERT_EQ(t.rc, 0);
    for (const char* want : {"\"Nodes\": [", "\"Order\": [0, 1, 2, 4, 3]", "\"ActiveMapID\": 2",
                             "\"AreaRect\": [2, 3, 9, 8]", "\"Name\": \"Bosque\xC3\xA9\"", "\"PartyMapID\": 1"})
        EXPECT_NE(t.out.find(want), std::string::npos) << want;
}

TEST(TfData, ResaveCountsOneSave)
{
    const fs::path out = workDir() / "resaved.lmu";
    ASSERT_EQ(tfdata("resave " + q(kData / "Map0001.lmu") + " " + q(out)).rc, 0);
    TVudMap map;
    map.LoadFromFile(out);
    EXPECT_EQ(map.SaveCount, 7);
    const fs::path tree = workDir() / "resaved.lmt";
    ASSERT_EQ(tfdata("resave " + q(kData / "TFPLAY.lmt") + " " + q(tree)).rc, 0);
    EXPECT_EQ(ReadWholeFile(tree), ReadWholeFile(kData / "TFPLAY.lmt"));
}

TEST(TfData, BuildWritesTheByteExamples)
{
    const ByteVec map = buildFrom(R"({"Format": "VudMapUnit", "Events": [{"ID": 1, "Pages": [{"ID": 1,
        "Script": [{"Code": 10110, "Indent": 1, "Text": "Hola"}, {"Code": 0, "Indent": 0}],
        "MoveRoute": {"Commands": [{"Code": 0}, {"Code": 32, "Value": 5}, {"Code": 2}]}}]}]})");
    EXPECT_TRUE(contains(map, {0xCE, 0x7E, 0x01, 0x04, 0x48, 0x6F, 0x6C, 0x61, 0x00}));
    EXPECT_TRUE(contains(map, {0x0B, 0x01, 0x04, 0x0C, 0x04, 0x00, 0x20, 0x05, 0x02}));
    // A JSON that names nothing but the format is the cleared map, without a counted save.
    const ByteVec cleared = buildFrom(R"({"Format": "VudMapUnit"})");
    EXPECT_EQ(cleared.size(), 1224u);
    EXPECT_EQ(ReadWholeFile(kData / "Map0002.lmu"), cleared);
}

TEST(TfData, BadJsonIsRefusedWithItsPlace)
{
    const struct {
        const char* json;
        const char* message;
    } cases[] = {
        {"{\"Format\": \"VudMapUnit\", \"Width\": 20,}", "JSON no válido"},
        {"[1, 2", "JSON no válido"},
        {"{\"Width\": 20}", "falta \"Format\""},
        {"{\"Format\": \"VudOtro\"}", "formato desconocido"},
        {"{\"Format\": \"VudMapUnit\", \"Anchura\": 20}", "Anchura: campo desconocido"},
        {"{\"Format\": \"VudMapUnit\", \"Width\": 10000}", "Width: tamaño de mapa fuera de rango"},
        {"{\"Format\": \"VudMapUnit\", \"ScrollType\": 256}", "ScrollType: fuera de rango"},
        {"{\"Format\": \"VudMapUnit\", \"ChipSetID\": 4294967296}", "ChipSetID: fuera de rango"},
        {"{\"Format\": \"VudMapUnit\", \"ChipSetID\": 1.5}", "ChipSetID: se esperaba un número entero"},
        {"{\"Format\": \"VudMapUnit\", \"PanoramaName\": \"\xE2\x82\xAC\xE4\xB8\xAD\"}", "PanoramaName: texto que Windows-1252"},
        {"{\"Format\": \"VudMapUnit\", \"Width\": 2, \"Height\": 1, \"LowerLayer\": [[1, 2, 3]]}", "LowerLayer[0]: se esperaban 2"},
        {"{\"Format\": \"VudMapUnit\", \"Events\": [{\"ID\": 1}, {\"ID\": 1}]}", "Events[1].ID: ID repetido"},
        {"{\"Format\": \"VudMapUnit\", \"Events\": [{\"ID\": 1, \"Pages\": [{\"ID\": 1, \"Script\": [{\"Code\": \"x\"}]}]}]}",
         "Events[0].Pages[0].Script[0].Code"},
        {"{\"Format\": \"VudMapTree\", \"Nodes\": [{\"ID\": 0, \"AreaRect\": [1, 2]}]}", "Nodes[0].AreaRect: se esperaban 4"},
        {"{\"Format\": \"VudMapUnit\", \"Width\": 9999, \"Height\": 9999}", "necesita sus dos capas"},
    };
    const fs::path json = workDir() / "bad.json", out = workDir() / "bad.out";
    for (const auto& c : cases) {
        writeText(json, c.json);
        fs::remove(out);
        const TRun r = tfdata("build " + q(json) + " " + q(out));
        EXPECT_EQ(r.rc, 1) << c.json;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.json << " -> " << r.err;
        EXPECT_FALSE(fs::exists(out)) << c.json;
    }
    // Nesting and the number of values are bounded, whatever the text.
    std::string deep(100000, '[');
    writeText(json, deep);
    EXPECT_NE(tfdata("build " + q(json) + " " + q(out)).err.find("anidamiento"), std::string::npos);
    std::string many = "[";
    for (size_t i = 0; i <= Json::kMaxValues; ++i)
        many += "0,";
    many += "0]";
    writeText(json, many);
    EXPECT_NE(tfdata("build " + q(json) + " " + q(out)).err.find("demasiados valores"), std::string::npos);
}

TEST(TfData, MalformedFilesExitOneWithAMessage)
{
    const ByteVec map = ReadWholeFile(kData / "Map0001.lmu");
    ByteVec wrongName = map;
    wrongName[4] = 'X'; // VudXapUnit
    ByteVec lengthBomb = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'U', 'n', 'i', 't', 0x51, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00};
    ByteVec sizeBomb = {10, 'V', 'u', 'd', 'M', 'a', 'p', 'U', 'n', 'i', 't', 0x02, 0x02, 0xCE, 0x0F,
                        0x03, 0x02, 0xCE, 0x0F, 0x00}; // 9999 x 9999 with no cells
    ByteVec nameBomb = {0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 'V'};
    ByteVec trailing = map;
    trailing.push_back(0);
    const struct {
        const char* what;
        ByteVec bytes;
        const char* message;
    } cases[] = {
        {"wrong format name", wrongName, "formato desconocido \"VudXapUnit\""},
        {"truncated", ByteVec(map.begin(), map.begin() + 700), "dañado o truncado"},
        {"length bomb", lengthBomb, "dañado o truncado"},
        {"size bomb", sizeBomb, "dañado o truncado"},
        {"format name bomb", nameBomb, "no es un archivo de proyecto"},
        {"empty file", {}, "no es un archivo de proyecto"},
        {"trailing bytes", trailing, "1 bytes de más al final"},
    };
    const fs::path f = workDir() / "bad.lmu";
    for (const auto& c : cases) {
        writeBytes(f, c.bytes);
        for (const char* cmd : {"validate ", "dump "}) {
            const TRun r = tfdata(cmd + q(f));
            EXPECT_EQ(r.rc, 1) << c.what;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << " -> " << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.what;
        }
    }
    EXPECT_EQ(tfdata("validate " + q(workDir() / "absent.lmu")).rc, 1);
    for (const char* args : {"", "frobnicate x", "dump", "build a", "resave a b c"}) {
        const TRun r = tfdata(args);
        EXPECT_EQ(r.rc, 1) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
    const TRun help = tfdata("--help");
    EXPECT_EQ(help.rc, 0);
    for (const char* cmd : {"dump", "build", "resave", "validate"})
        EXPECT_NE(help.out.find(cmd), std::string::npos);
}

TEST(TfData, EveryPrefixOfEveryFixtureIsRefused)
{
    for (const char* name : kFixtures) {
        const ByteVec full = ReadWholeFile(kData / name);
        for (size_t n = 0; n < full.size(); ++n) {
            const ByteVec cut(full.begin(), full.begin() + std::ptrdiff_t(n));
            EXPECT_THROW(loadBytes(cut), EVudError) << name << " prefix " << n;
        }
    }
}
