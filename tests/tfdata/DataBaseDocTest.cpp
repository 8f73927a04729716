// tfdata on TFPLAY.ldb: the fixture database through dump, build, resave and validate.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "AtomicFile.h"
#include "DataBase.h"
#include "FileKinds.h"

namespace fs = std::filesystem;
using ByteVec = std::vector<uint8_t>;

namespace {
const fs::path kDbData = fs::path(TF_TEST_DATA) / "storage" / "db";

// One folder per test: ctest may run the tests at the same time.
fs::path dbWorkDir()
{
    static const fs::path dir = [] {
        const fs::path d = fs::path(testing::TempDir()) /
                           (std::string("tfdata-db-") + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::string slurp(const fs::path& f)
{
    std::ifstream in(f, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs the real program and returns its exit code (crashes show as 128+).
int runTfdata(const std::string& args, std::string* out = nullptr, std::string* err = nullptr)
{
    const fs::path dir = dbWorkDir();
    const std::string cmd = "'" + std::string(TF_PROGRAM_DIR) + "/tfdata' " + args + " >'" + (dir / "out").string() +
                            "' 2>'" + (dir / "err").string() + "'; echo $? >'" + (dir / "rc").string() + "'";
    if (std::system(cmd.c_str()) != 0)
        return -1;
    if (out)
        *out = slurp(dir / "out");
    if (err)
        *err = slurp(dir / "err");
    return std::stoi(slurp(dir / "rc"));
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The fixture as the model writes it (the hand-made file is not in every record's own form).
ByteVec canonical(const char* name)
{
    const ByteVec bytes = ReadWholeFile(kDbData / name);
    TVudDataBase db;
    TReader r(bytes);
    db.LoadFromStream(r);
    TWriter w;
    db.SaveImage(w);
    return w.Buf;
}
} // namespace

TEST(TfDataDataBase, DumpBuildResaveRoundTrip)
{
    const fs::path dir = dbWorkDir();
    const fs::path file = dir / "TFPLAY.ldb";
    const ByteVec model = canonical("sample.ldb");
    SaveFileAtomic(file, model);

    std::string json;
    ASSERT_EQ(runTfdata("dump " + quoted(file), &json), 0);
    std::ofstream(dir / "db.json", std::ios::binary) << json;
    ASSERT_EQ(runTfdata("build " + quoted(dir / "db.json") + " " + quoted(dir / "built.ldb")), 0);
    EXPECT_EQ(ReadWholeFile(dir / "built.ldb"), model);

    // Windows-1252 names come out as Unicode: 0x80 is the euro sign, 0x9F is Y with diaeresis.
    EXPECT_NE(json.find("\"\u20ACuro\""), std::string::npos);
    EXPECT_NE(json.find("Puerta\u0178"), std::string::npos);
    EXPECT_NE(json.find("\"Switches\""), std::string::npos);
    EXPECT_NE(json.find("\"Hola\""), std::string::npos); // the common event's script as lines

    ASSERT_EQ(runTfdata("resave " + quoted(file) + " " + quoted(dir / "resaved.ldb")), 0);
    TVudDataBase db;
    db.LoadFromFile(dir / "resaved.ldb");
    EXPECT_EQ(db.System().SaveCount, 5); // the fixture's 4, plus one save

    std::string out;
    EXPECT_EQ(runTfdata("validate " + quoted(file), &out), 0);
    EXPECT_NE(out.find("correcto"), std::string::npos);
    fs::remove_all(dir);
}

TEST(TfDataDataBase, BadInputIsRefused)
{
    const fs::path dir = dbWorkDir();
    ByteVec cut = canonical("sample.ldb");
    cut.resize(cut.size() - 2);
    SaveFileAtomic(dir / "cut.ldb", cut);
    std::string err;
    EXPECT_EQ(runTfdata("validate " + quoted(dir / "cut.ldb"), nullptr, &err), 1);
    EXPECT_NE(err.find("VudDataBase"), std::string::npos);

    std::ofstream(dir / "bad.json", std::ios::binary) << R"({"Format": "VudDataBase", "Heroes": []})";
    EXPECT_EQ(runTfdata("build " + quoted(dir / "bad.json") + " " + quoted(dir / "bad.ldb"), nullptr, &err), 1);
    EXPECT_NE(err.find("Heroes"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "bad.ldb"));

    // A JSON with only the switches: the other sections are those of a new database.
    std::ofstream(dir / "small.json", std::ios::binary)
        << R"({"Format": "VudDataBase", "Switches": [{"ID": 1, "Name": "Puerta"}, {"ID": 2}]})";
    ASSERT_EQ(runTfdata("build " + quoted(dir / "small.json") + " " + quoted(dir / "small.ldb")), 0);
    TVudDataBase db;
    db.LoadFromFile(dir / "small.ldb");
    ASSERT_EQ(db.Switches().Count(), 2);
    EXPECT_EQ(db.Switches().At(0)->Name, "Puerta");
    EXPECT_EQ(db.Variables().Count(), 1);
    fs::remove_all(dir);
}
