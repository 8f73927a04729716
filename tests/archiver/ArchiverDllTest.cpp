// UNLHA32.DLL as the editor and Setup load it: by absolute path, looking up "Unlha".
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

namespace {

using TUnlha = int (*)(void*, const char*, char*, unsigned long);

void writeFile(const QString& path, const QByteArray& data) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

}  // namespace

TEST(ArchiverDll, LoadsByAbsolutePathAndPacksAndExtracts) {
  const QString dll = QStringLiteral(TF_PROGRAM_DIR "/UNLHA32.DLL");
  ASSERT_TRUE(QFile::exists(dll));
  EXPECT_TRUE(QFile::exists(QStringLiteral(TF_PROGRAM_DIR "/UNLHA32.TXT")));
  QLibrary lib(dll);
  ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
  auto unlha = reinterpret_cast<TUnlha>(lib.resolve("Unlha"));
  ASSERT_NE(unlha, nullptr);

  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString project = tmp.filePath("Proyecto");
  writeFile(project + "/TFPLAY.exe", QByteArray(5000, 'e'));
  writeFile(project + "/Map0001.lmu", "map");
  QDir().mkpath(project + "/Movie");
  const QString work = tmp.filePath("TF_WORK/GameDisk");
  writeFile(work + "/Response.lst", ("\"" + project + "/\"\r\nMovie\r\nTFPLAY.exe\r\nMap????.lmu\r\n").toLocal8Bit());
  const QByteArray pack = QString("a -+ -r2 -d -jsl \"%1/Proyecto.lzh\" @%1/Response.lst").arg(work).toLocal8Bit();
  EXPECT_EQ(unlha(nullptr, pack.constData(), nullptr, 0), 0);
  const QString game = tmp.filePath("Juegos/Proyecto");
  const QByteArray extract = QString("x -+ \"%1/Proyecto.lzh\" \"%2/\"").arg(work, game).toLocal8Bit();
  EXPECT_EQ(unlha(nullptr, extract.constData(), nullptr, 0), 0);
  EXPECT_EQ(QFileInfo(game + "/TFPLAY.exe").size(), 5000);
  EXPECT_TRUE(QFileInfo(game + "/Movie").isDir());

  // Failures are results, and the message reaches a buffer when one is given.
  char out[256] = {};
  EXPECT_NE(unlha(nullptr, "x -+ \"/nonexistent/a.lzh\" \"/tmp\"", out, sizeof out), 0);
  EXPECT_GT(std::strlen(out), 0u);
  EXPECT_NE(unlha(nullptr, nullptr, nullptr, 0), 0);
  char tiny[4];
  EXPECT_NE(unlha(nullptr, "bogus", tiny, sizeof tiny), 0);
  EXPECT_EQ(std::strlen(tiny), 3u);
}
