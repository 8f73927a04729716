// Our codecs against a real peer: Qt's own PNG and BMP readers and writers, and files written
// by ImageMagick. The fixtures in tests/data/images were made from one 37 × 23 picture
// (a blend of two gradients, swirled) with ImageMagick 6.9:
//   convert src.png -dither None -colors 64 -type Palette -depth 8 PNG8:im_pal8.png
//   convert src.png -dither None -colors 12 PNG8:im_pal_small.png
//   convert src.png -alpha set -channel A -fx 'i<5?0:1' +channel -dither None -colors 64
//           PNG8:im_pal8_trns.png                     (palette with a tRNS chunk)
//   convert src.png -depth 8 PNG24:im_rgb.png
//   convert src.png -colorspace Gray -depth 8 PNG:im_gray.png          (colour type 0)
//   convert src.png -alpha set -channel A -evaluate set 50% +channel PNG32:im_rgba.png
//   convert src.png -depth 16 PNG48:im_rgb16.png
//   convert src.png -dither None -colors 64 -interlace PNG PNG8:im_interlaced.png
//   convert src.png -dither None -colors 12 -define png:bit-depth=4
//           -define png:color-type=3 im_pal4.png
//   convert src.png -dither None -colors 2|12|64 -type Palette -compress None
//           BMP3:im_bmp1.bmp|im_bmp4.bmp|im_bmp8.bmp
//   convert src.png -dither None -colors 64 -type Palette -compress RLE BMP3:im_rle8.bmp
//   convert src.png -type TrueColor BMP3:im_bmp24.bmp
//   convert src.png -alpha set -channel A -evaluate set 50% +channel -type TrueColorAlpha
//           BMP:im_bmp32.bmp                           (bit fields, 124-byte header)
//   convert src.png -define bmp:subtype=RGB565 BMP:im_bmp16.bmp
//   convert src.png -dither None -colors 64 -type Palette BMP2:im_os2.bmp  (12-byte header)
#include "ImageTestUtil.h"
#include "VireoBmp.h"
#include "VireoImageFile.h"
#include "VireoPng.h"
#include "VireoSheet.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using TBytes = std::vector<std::uint8_t>;

QImage qtDecode(const TBytes& data, const char* format) {
  QImage image;
  image.loadFromData(data.data(), int(data.size()), format);
  return image;
}

TBytes qtEncode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return TBytes(bytes.begin(), bytes.end());
}

// Every pixel's colour agrees with Qt's reading of the same file. Qt widens 5 and 6-bit
// channels by shifting (31 -> 248), we scale (31 -> 255) as ImageMagick does, so those files
// are allowed a difference below 8 per channel.
void expectSameAsQt(const TVireoBitmap& ours, const QImage& qt, int tolerance = 0) {
  ASSERT_FALSE(qt.isNull());
  ASSERT_EQ(ours.Width(), qt.width());
  ASSERT_EQ(ours.Height(), qt.height());
  for (int y = 0; y < qt.height(); ++y)
    for (int x = 0; x < qt.width(); ++x) {
      const std::uint32_t a = PixelRgb(ours, x, y), b = qt.pixel(x, y) & 0xFFFFFFu;
      for (int shift : {0, 8, 16})
        ASSERT_LE(std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)), tolerance)
            << x << "," << y;
    }
}

TEST(VireoPeers, FilesWrittenByOtherProgramsLoadWithTheSamePixels) {
  struct {
    const char* Name;
    int Bits;
  } cases[] = {{"im_pal8.png", 8},  {"im_pal_small.png", 8}, {"im_pal8_trns.png", 8},
               {"im_rgb.png", 24},  {"im_bmp1.bmp", 1},      {"im_bmp4.bmp", 4},
               {"im_bmp8.bmp", 8},  {"im_rle8.bmp", 8},      {"im_os2.bmp", 8},
               {"im_bmp16.bmp", 24}, {"im_bmp24.bmp", 24},   {"im_bmp32.bmp", 32}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TBytes data = FixtureBytes(c.Name);
    TVireoBitmap ours;
    VireoDecodeImage(ours, data.data(), data.size());
    EXPECT_EQ(ours.BitCount(), c.Bits);
    const QImage qt = qtDecode(data, nullptr);
    const bool fiveBit = std::string(c.Name) == "im_bmp16.bmp";
    expectSameAsQt(ours, qt, fiveBit ? 7 : 0);
    // ImageMagick's own reading of that file ("convert im_bmp16.bmp txt:-"): (123,60,0).
    if (fiveBit) {
      EXPECT_EQ(PixelRgb(ours, 0, 0), 0x7B3C00u);
    }
    if (c.Bits == 8 && qt.format() == QImage::Format_Indexed8) {
      for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x)
          ASSERT_EQ(ours.PixelIndex(x, y), qt.pixelIndex(x, y));
    }
    if (c.Bits == 32) {
      EXPECT_EQ(ours.ScanLine(3)[3], qAlpha(qt.pixel(0, 3)));
    }
  }
}

TEST(VireoPeers, KindsWeDoNotReadAreRefusedByName) {
  for (const char* name : {"im_gray.png", "im_rgba.png", "im_rgb16.png", "im_interlaced.png",
                           "im_pal4.png"}) {
    const TBytes data = FixtureBytes(name);
    TVireoBitmap b;
    try {
      VireoDecodeImage(b, data.data(), data.size());
      ADD_FAILURE() << name;
    } catch (const EVireoError& e) {
      EXPECT_STREQ(e.what(), "Imagen PNG no soportada") << name;
    }
  }
}

TEST(VireoPeers, OurPngLoadsInQtWithTheSamePixelsAndPalette) {
  // Large enough for several IDAT chunks.
  const TVireoBitmap picture = RandomBitmap(320, 240, 8, 21);
  const QImage qt = qtDecode(VireoEncodePng(picture), "PNG");
  ASSERT_EQ(qt.format(), QImage::Format_Indexed8);
  ASSERT_EQ(qt.colorTable().size(), 256);
  for (int i = 0; i < 256; ++i) {
    const TVireoPaletteEntry& e = picture.Palette[i];
    EXPECT_EQ(qt.colorTable()[i], qRgb(e.Red, e.Green, e.Blue)) << i;
  }
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_EQ(qt.pixelIndex(x, y), picture.ScanLine(y)[x]);

  const TVireoBitmap truecolour = RandomBitmap(99, 41, 24, 22);
  expectSameAsQt(truecolour, qtDecode(VireoEncodePng(truecolour), "PNG"));
}

TEST(VireoPeers, QtPalettePngAndBmpLoadHere) {
  QImage image(61, 19, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (int i = 0; i < 256; ++i) table.append(qRgb(i, 255 - i, (i * 7) & 255));
  image.setColorTable(table);
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 61; ++x) image.setPixel(x, y, uint((x * 5 + y * 3) % 256));
  for (const char* format : {"PNG", "BMP"}) {
    SCOPED_TRACE(format);
    const TBytes data = qtEncode(image, format);
    TVireoBitmap ours;
    VireoDecodeImage(ours, data.data(), data.size());
    ASSERT_EQ(ours.BitCount(), 8);
    for (int y = 0; y < 19; ++y)
      for (int x = 0; x < 61; ++x) ASSERT_EQ(ours.ScanLine(y)[x], image.pixelIndex(x, y));
    for (int i = 0; i < 256; ++i)
      EXPECT_EQ(qRgb(ours.Palette[i].Red, ours.Palette[i].Green, ours.Palette[i].Blue),
                table[i]);
  }
}

TEST(VireoPeers, OurEightBitBmpIsAnEightBitFileForQt) {
  const TVireoBitmap picture = RandomBitmap(37, 11, 8, 23);
  const QImage qt = qtDecode(VireoEncodeBmp(picture), "BMP");
  ASSERT_EQ(qt.format(), QImage::Format_Indexed8);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(qt.pixelIndex(x, y), picture.ScanLine(y)[x]);
}

TEST(VireoPeers, BoardWrapsAsRgb16WithoutCopying) {
  TVireoSheet sheet;
  sheet.SetSize(3, 1);
  sheet.Palette[1] = {255, 0, 0, 0};
  sheet.Palette[2] = {0, 0, 255, 0};
  sheet.ScanLine(0)[0] = 1, sheet.ScanLine(0)[2] = 2;
  sheet.UpdateColorTable();
  TVireoBoard board;
  board.SetSize(5, 3);  // odd width: rows are padded
  board.DrawSheet(1, 2, sheet.BoundsRect(), sheet);
  const QImage image(board.Bits(), board.Width(), board.Height(), board.BytesPerLine(),
                     QImage::Format_RGB16);
  EXPECT_EQ(image.constBits(), board.Bits());
  EXPECT_EQ(image.pixel(1, 2), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(3, 2), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(2, 2), qRgb(0, 0, 0));
}

// --- the tfimage tool ---

struct TRun {
  int Exit;
  QString Out, Err;
};

TRun tfimage(const QStringList& arguments) {
  QProcess process;
  process.start(QString(TF_PROGRAM_DIR) + "/tfimage", arguments);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

QString fixture(const char* name) {
  return QString(TF_TEST_DATA) + "/images/" + name;
}

TEST(VireoTool, InfoReportsFormatSizeDepthAndPalette) {
  TRun run = tfimage({"info", fixture("im_pal8.png")});
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out, "format: PNG\nsize: 37 x 23\nbits: 8\npalette: 256\n");
  run = tfimage({"info", fixture("im_bmp4.bmp")});
  EXPECT_EQ(run.Out, "format: BMP\nsize: 37 x 23\nbits: 4\npalette: 16\n");
  run = tfimage({"info", fixture("im_rgba.png")});
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "tfimage: Imagen PNG no soportada\n");
  EXPECT_TRUE(run.Out.isEmpty());
}

TEST(VireoTool, ConvertWritesByTheOutputExtension) {
  const TTestDir dir;
  const QString xyz = QString::fromStdString((dir / "out.xyz").string());
  TRun run = tfimage({"convert", fixture("im_rle8.bmp"), xyz});
  EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
  run = tfimage({"info", xyz});
  EXPECT_EQ(run.Out, "format: XYZ\nsize: 37 x 23\nbits: 8\npalette: 256\n");
  TVireoBitmap a, b;
  LoadImageFile(a, fixture("im_rle8.bmp").toStdString());
  LoadImageFile(b, xyz.toStdString());
  EXPECT_TRUE(SamePixels(a, b));
}

TEST(VireoTool, BadUseAndBadFilesExitOne) {
  const TTestDir dir;
  const std::string junk = (dir / "junk.png").string();
  std::FILE* f = std::fopen(junk.c_str(), "wb");
  std::fputs("\x89PNG not really", f);
  std::fclose(f);
  struct {
    QStringList Arguments;
    QString Err;
  } cases[] = {
      {{"info", QString::fromStdString(junk)}, "tfimage: Imagen PNG no válida\n"},
      {{"convert", fixture("im_pal8.png"), QString::fromStdString((dir / "no/x.bmp").string())},
       ""},
      {{"info"}, ""},
      {{"frobnicate", "x"}, ""},
      {{}, ""},
  };
  for (const auto& c : cases) {
    const TRun run = tfimage(c.Arguments);
    EXPECT_EQ(run.Exit, 1) << c.Arguments.join(' ').toStdString();
    EXPECT_FALSE(run.Err.isEmpty());
    if (!c.Err.isEmpty()) {
      EXPECT_EQ(run.Err, c.Err);
    }
  }
  const TRun help = tfimage({"--help"});
  EXPECT_EQ(help.Exit, 0);
  EXPECT_TRUE(help.Out.contains("convert"));
}

}  // namespace
