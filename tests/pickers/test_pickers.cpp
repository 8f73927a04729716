// The material pickers on a throw-away project and run-time package with small pictures.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "PickerTestProject.h"
#include "SelBackdrop.h"
#include "SelBattle.h"
#include "SelChar.h"
#include "SelChipSet.h"
#include "SelFace.h"
#include "SelGameOver.h"
#include "SelMonster.h"
#include "SelMovie.h"
#include "SelPanorama.h"
#include "SelPicture.h"
#include "SelSystem.h"
#include "SelTitle.h"

#include <functional>
#include <memory>

namespace {

template <typename T>
T* Child(QWidget& form, const char* name)
{
    T* w = form.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QListWidget* List(QWidget& form)
{
    return Child<QListWidget>(form, "IconListBox1");
}

QString CurrentText(QWidget& form)
{
    const QListWidgetItem* item = List(form)->currentItem();
    return item ? item->text() : QString();
}

// Sent directly: QTest takes (0, 0) for "the middle of the widget".
void Press(QWidget& form, QPoint at)
{
    QWidget* box = Child<QWidget>(form, "PaintBox");
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, box->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(box, &release);
}

struct Member {
    const char* Caption;
    const char* Folder;
    QSize Picture; // of the test files; empty for the movie picker
    std::function<std::unique_ptr<TFormSelMaterial>()> Make;
};

template <typename T>
std::function<std::unique_ptr<TFormSelMaterial>()> maker()
{
    return [] { return std::make_unique<T>(); };
}

const std::vector<Member>& Members()
{
    static const std::vector<Member> members = {
        {"Gráfico de cara", "FaceSet", {192, 192}, maker<TFormSelFace>()},
        {"Gráficos de Cuerpo", "CharSet", {288, 256}, maker<TFormSelChar>()},
        {"Gráficos de Enemigo", "Monster", {64, 48}, maker<TFormSelMonster>()},
        {"Gráficos de Animación de Batalla", "Battle", {480, 480}, maker<TFormSelBattle>()},
        {"Gráfico de fondo de batalla", "Backdrop", {320, 160}, maker<TFormSelBackdrop>()},
        {"Gráficos de panorama", "Panorama", {320, 240}, maker<TFormSelPanorama>()},
        {"Gráficos de Imágen", "Picture", {100, 50}, maker<TFormSelPicture>()},
        {"Gráficos de ChipSet", "ChipSet", {480, 256}, maker<TFormSelChipSet>()},
        {"Gráfico del título", "Title", {320, 240}, maker<TFormSelTitle>()},
        {"Gráficos de Game Over", "GameOver", {320, 240}, maker<TFormSelGameOver>()},
        {"Gráficos del sistema", "System", {160, 128}, maker<TFormSelSystem>()},
        {"Archivo de Vídeo", "Movie", {}, maker<TFormSelMovie>()},
    };
    return members;
}

// Alpha in the project, Beta and Gamma only in the package, Zeta in both.
void AddMaterials(PickerTestProject& p, const Member& m)
{
    for (const auto& [inPackage, name] : {std::pair{false, "Alpha"}, {true, "Beta"}, {true, "Gamma"},
                                         {false, "Zeta"}, {true, "Zeta"}}) {
        if (m.Picture.isEmpty())
            p.Bytes(inPackage, m.Folder, QString(name) + ".avi", "RIFF");
        else
            p.Picture(inPackage, m.Folder, QString(name) + ".png", m.Picture.width(), m.Picture.height());
    }
}

} // namespace

TEST(Pickers, EveryMemberSelectsTheGivenNameAndReturnsItBare)
{
    struct Case {
        const char* Given;
        const char* Row;
        const char* Returned;
    };
    const Case cases[] = {
        {"Alpha", "Alpha", "Alpha"},
        {"Beta", "Beta <RTP>", "Beta"},
        {"Gamma <RTP>", "Gamma <RTP>", "Gamma"},
        {"gamma", "Gamma <RTP>", "Gamma"}, // names match files whatever their letter case
        {"Zeta", "Zeta", "Zeta"},          // the project's file wins over the package's
        {"Missing", "Alpha", "Alpha"},
        {"", "Alpha", "Alpha"},
        {"../Project/FaceSet/Alpha", "Alpha", "Alpha"}, // never a path
    };
    PickerTestProject p;
    for (const Member& m : Members()) {
        AddMaterials(p, m);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(m.Folder) + " given '" + c.Given + "'");
            auto form = m.Make();
            EXPECT_EQ(form->windowTitle(), QString::fromUtf8(m.Caption));
            EXPECT_EQ(Child<QPushButton>(*form, "ButtonOk")->text(), "Aceptar");
            EXPECT_EQ(Child<QPushButton>(*form, "ButtonCancel")->text(), "Cancelar");
            form->SetMaterialName(QString::fromUtf8(c.Given));
            form->show();
            const QStringList rows = {"Alpha", "Zeta", "Beta <RTP>", "Gamma <RTP>"};
            ASSERT_EQ(List(*form)->count(), rows.size());
            for (int i = 0; i < rows.size(); ++i)
                EXPECT_EQ(List(*form)->item(i)->text(), rows[i]);
            EXPECT_EQ(CurrentText(*form), c.Row);
            QTest::mouseClick(Child<QPushButton>(*form, "ButtonOk"), Qt::LeftButton);
            EXPECT_EQ(form->result(), QDialog::Accepted);
            EXPECT_EQ(form->MaterialName(), c.Returned);
        }
    }
}

TEST(Pickers, ChoosingARowReplacesTheNameAndCancelLeavesItToTheCaller)
{
    PickerTestProject p;
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.Folder);
        AddMaterials(p, m);
        auto form = m.Make();
        form->SetMaterialName("Alpha");
        form->show();
        List(*form)->setCurrentRow(3);
        EXPECT_EQ(form->MaterialName(), "Gamma");
        if (!m.Picture.isEmpty()) {
            EXPECT_GT(form->PreviewSheet().Width(), 0);
        }
        QTest::mouseClick(Child<QPushButton>(*form, "ButtonCancel"), Qt::LeftButton);
        EXPECT_EQ(form->result(), QDialog::Rejected);
    }
}

TEST(Pickers, AnEmptyFolderGivesAnEmptyName)
{
    PickerTestProject p;
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.Folder);
        auto form = m.Make();
        form->SetMaterialName("Alpha");
        form->show();
        EXPECT_EQ(List(*form)->count(), 0);
        EXPECT_EQ(form->MaterialName(), "");
    }
}

TEST(Pickers, DoubleClicksAccept)
{
    PickerTestProject p;
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.Folder);
        AddMaterials(p, m);
        const bool cellPicker = QString(m.Folder) == "FaceSet" || QString(m.Folder) == "CharSet";
        {
            auto form = m.Make();
            form->show();
            QListWidget* list = List(*form);
            const QRect row = list->visualItemRect(list->item(2));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            // Face and character pickers take a double click on the list as a plain click.
            EXPECT_EQ(form->isVisible(), cellPicker);
            EXPECT_EQ(form->MaterialName(), "Beta");
        }
        if (!m.Picture.isEmpty()) {
            auto form = m.Make();
            form->show();
            QTest::mouseDClick(Child<QWidget>(*form, "PaintBox"), Qt::LeftButton, {}, QPoint(5, 5));
            EXPECT_EQ(form->result(), QDialog::Accepted);
            EXPECT_FALSE(form->isVisible());
        }
    }
}

TEST(Pickers, AClickBeyondTheGridIsIgnored)
{
    PickerTestProject p;
    for (const Member& m : Members()) {
        if (m.Picture.isEmpty())
            continue;
        SCOPED_TRACE(m.Folder);
        AddMaterials(p, m);
        auto form = m.Make();
        auto* cells = dynamic_cast<TFormSelCellMaterial*>(form.get());
        if (cells)
            cells->SetCellIndex(5);
        form->show();
        const QSize box = Child<QWidget>(*form, "PaintBox")->size();
        for (const QPoint at : {QPoint(box.width(), 10), QPoint(10, box.height()), QPoint(-1, 10),
                                QPoint(10, -1), QPoint(box.width() + 200, box.height() + 200)}) {
            Press(*form, at);
            if (cells) {
                EXPECT_EQ(cells->CellIndex(), 5);
            }
        }
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->MaterialName(), "Alpha");
    }
}

TEST(Pickers, FaceAndCharacterPressesChooseCells)
{
    struct Case {
        bool Face;
        QPoint At;
        int Cell;
    };
    const Case cases[] = {
        {true, {0, 0}, 0},      {true, {47, 47}, 0},   {true, {48, 0}, 1},    {true, {191, 0}, 3},
        {true, {0, 48}, 4},     {true, {100, 100}, 10}, {true, {191, 191}, 15},
        {false, {0, 0}, 0},     {false, {47, 63}, 0},  {false, {48, 0}, 1},   {false, {191, 63}, 3},
        {false, {0, 64}, 4},    {false, {144, 64}, 7}, {false, {191, 127}, 7}, {false, {100, 70}, 6},
    };
    PickerTestProject p;
    p.Picture(false, "FaceSet", "Caras.png", 192, 192);
    p.Picture(false, "CharSet", "Gente.png", 288, 256);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Face ? "face " : "character ") + std::to_string(c.At.x()) + "," +
                     std::to_string(c.At.y()));
        std::unique_ptr<TFormSelCellMaterial> form;
        if (c.Face)
            form = std::make_unique<TFormSelFace>();
        else
            form = std::make_unique<TFormSelChar>();
        form->SetCellIndex(c.Cell == 2 ? 1 : 2);
        form->show();
        Press(*form, c.At);
        EXPECT_EQ(form->CellIndex(), c.Cell);
        // Choosing a row does not change the cell.
        List(*form)->setCurrentRow(-1);
        EXPECT_EQ(form->MaterialName(), "");
        EXPECT_EQ(form->CellIndex(), c.Cell);
    }
}

TEST(Pickers, ChosenCellIsFramedBlackWhiteWhiteBlack)
{
    PickerTestProject p;
    p.Picture(false, "FaceSet", "Caras.png", 192, 192, 7);
    TFormSelFace form;
    form.SetCellIndex(5); // column 1, row 1: pixels 48..95
    form.show();
    const TVireoBoard& b = form.PreviewBoard();
    const std::uint16_t face = TestColor(7);
    const std::uint16_t expected[] = {face, 0x0000, 0xFFFF, 0xFFFF, 0x0000, face};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(b.ScanLine(70)[47 + i], expected[i]) << "left edge, x " << 47 + i;
        EXPECT_EQ(b.ScanLine(70)[96 - i], expected[i]) << "right edge, x " << 96 - i;
        EXPECT_EQ(b.ScanLine(47 + i)[70], expected[i]) << "top edge, y " << 47 + i;
        EXPECT_EQ(b.ScanLine(96 - i)[70], expected[i]) << "bottom edge, y " << 96 - i;
    }
    // Other cells show the picture 1:1.
    EXPECT_EQ(b.ScanLine(0)[0], face);
    EXPECT_EQ(b.ScanLine(191)[191], face);
}

TEST(Pickers, CharacterThumbnailsAreTheFrontMiddleStepsAtTwiceTheirSize)
{
    PickerTestProject p;
    // Pixel (x, y) of the test picture has index x / 24 + y / 32 × 16 + 1: one index per frame.
    p.Picture(false, "CharSet", "Gente.png", 288, 256);
    TFormSelChar form;
    form.SetCellIndex(-1);
    form.show();
    const TVireoBoard& b = form.PreviewBoard();
    for (int i = 0; i < 8; ++i) {
        const int frame = (72 * (i % 4) + 24) / 24 + (128 * (i / 4) + 64) / 32 * 16 + 1;
        const int x = 48 * (i % 4), y = 64 * (i / 4);
        for (const QPoint at : {QPoint(x, y), QPoint(x + 47, y + 63), QPoint(x + 20, y + 30)})
            EXPECT_EQ(b.ScanLine(at.y())[at.x()], TestColor(frame)) << "character " << i;
    }
}

TEST(Pickers, TransparentPixelsShowTheColourOfEntryZero)
{
    PickerTestProject p;
    p.Picture(false, "CharSet", "Vacio.png", 288, 256, 0);
    p.Picture(false, "Monster", "Limo.png", 40, 20, 9);
    TFormSelChar chars;
    chars.SetCellIndex(-1);
    chars.show();
    EXPECT_EQ(chars.PreviewBoard().ScanLine(100)[150], TestColor(0));

    TFormSelMonster monster;
    monster.show();
    const TVireoBoard& b = monster.PreviewBoard();
    // A 40 × 20 battler sits centred in the 320 × 160 preview.
    EXPECT_EQ(b.ScanLine(0)[0], TestColor(0));
    EXPECT_EQ(b.ScanLine(69)[139], TestColor(0));
    EXPECT_EQ(b.ScanLine(70)[140], TestColor(9));
    EXPECT_EQ(b.ScanLine(89)[179], TestColor(9));
    EXPECT_EQ(b.ScanLine(90)[180], TestColor(0));
}

TEST(Pickers, FittedPreviewsShrinkLargePicturesAndCentreSmallOnes)
{
    struct Case {
        QSize Picture;
        TVireoRect Shown; // in the 320 × 240 preview
    };
    const Case cases[] = {
        {{640, 480}, {0, 0, 320, 240}},
        {{100, 50}, {110, 95, 210, 145}},
        {{320, 240}, {0, 0, 320, 240}},
        {{640, 120}, {0, 90, 320, 150}},  // the width decides
        {{160, 480}, {120, 0, 200, 240}}, // the height decides
        {{321, 100}, {0, 70, 320, 169}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Picture.width()) + "x" + std::to_string(c.Picture.height()));
        EXPECT_EQ(PickerDraw::FitRect(c.Picture.width(), c.Picture.height(), 320, 240), c.Shown);
        PickerTestProject p;
        p.Picture(false, "Picture", "Foto.png", c.Picture.width(), c.Picture.height(), 4);
        p.Picture(false, "Panorama", "Cielo.png", c.Picture.width(), c.Picture.height(), 4);
        TFormSelPicture picture;
        TFormSelPanorama panorama;
        for (TFormSelMaterial* form : {static_cast<TFormSelMaterial*>(&picture), static_cast<TFormSelMaterial*>(&panorama)}) {
            form->show();
            const TVireoBoard& b = form->PreviewBoard();
            int left = 320, top = 240, right = 0, bottom = 0;
            for (int y = 0; y < 240; ++y)
                for (int x = 0; x < 320; ++x)
                    if (b.ScanLine(y)[x] == TestColor(4)) {
                        left = std::min(left, x), top = std::min(top, y);
                        right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
                    }
            EXPECT_EQ((TVireoRect{left, top, right, bottom}), c.Shown);
        }
    }
}

TEST(Pickers, FixedPreviewsShowTheSheetWholeOrAtHalfSize)
{
    PickerTestProject p;
    p.Picture(false, "Battle", "Golpe.png", 480, 480);
    p.Picture(false, "ChipSet", "Campo.png", 480, 256);
    p.Picture(false, "Backdrop", "Bosque.png", 320, 160);
    p.Picture(false, "Title", "Titulo.png", 320, 240);
    p.Picture(false, "GameOver", "Fin.png", 320, 240);
    p.Picture(false, "System", "Sistema.png", 160, 128);
    p.Picture(false, "FaceSet", "Caras.png", 192, 192);
    TFormSelBattle battle;
    TFormSelChipSet chips;
    TFormSelBackdrop backdrop;
    TFormSelTitle title;
    TFormSelGameOver gameOver;
    TFormSelSystem system;
    TFormSelFace face;
    face.SetCellIndex(-1);
    const std::pair<TFormSelMaterial*, int> cases[] = {
        {&battle, 2}, {&chips, 2}, {&backdrop, 1}, {&title, 1}, {&gameOver, 1}, {&system, 1}, {&face, 1}};
    for (const auto& [form, scale] : cases) {
        SCOPED_TRACE(form->Folder().toStdString());
        form->show();
        const TVireoBoard& b = form->PreviewBoard();
        const TVireoSheet& s = form->PreviewSheet();
        ASSERT_EQ(b.Width() * scale, s.Width());
        ASSERT_EQ(b.Height() * scale, s.Height());
        for (int y = 0; y < b.Height(); y += 7)
            for (int x = 0; x < b.Width(); x += 5)
                ASSERT_EQ(b.ScanLine(y)[x], s.ColorTable[s.ScanLine(scale * y)[scale * x]]) << x << "," << y;
    }
}

TEST(Pickers, AnUnreadableFileShowsBlackAndCanBeAccepted)
{
    PickerTestProject p;
    p.Bytes(false, "Title", "Roto.png", QByteArray("\x89PNG\r\n\x1a\n broken", 16));
    p.Bytes(false, "Picture", "Roto.png", QByteArray("\x89PNG\r\n\x1a\n broken", 16));
    p.Picture(false, "Picture", "Bueno.png", 50, 50, 3);
    TFormSelPicture picture;
    picture.SetMaterialName("Bueno");
    picture.show();
    List(picture)->setCurrentRow(1); // Roto
    TFormSelTitle title;
    title.SetMaterialName("Roto");
    title.show();
    for (TFormSelMaterial* form : {static_cast<TFormSelMaterial*>(&picture), static_cast<TFormSelMaterial*>(&title)}) {
        const TVireoBoard& b = form->PreviewBoard();
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                ASSERT_EQ(b.ScanLine(y)[x], 0) << x << "," << y;
        QTest::mouseClick(Child<QPushButton>(*form, "ButtonOk"), Qt::LeftButton);
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(form->MaterialName(), "Roto");
    }
}

TEST(Pickers, SystemOptionsAreGivenAndReadBack)
{
    PickerTestProject p;
    p.Picture(true, "System", "Sistema.png", 160, 128);
    TFormSelSystem form;
    EXPECT_EQ(Child<QGroupBox>(form, "GroupWallpaper")->title(), "Papel Tapiz");
    EXPECT_EQ(Child<QGroupBox>(form, "GroupFont")->title(), "Tipo de letra");
    EXPECT_EQ(Child<QRadioButton>(form, "GroupWallpaper0")->text(), "Agrandar en Mapa");
    EXPECT_EQ(Child<QRadioButton>(form, "GroupWallpaper1")->text(), "Disminuir en Mapa");
    EXPECT_EQ(Child<QRadioButton>(form, "GroupFont0")->text(), "Lucida Console");
    EXPECT_EQ(Child<QRadioButton>(form, "GroupFont1")->text(), "Courier New");
    form.SetWallpaper(1);
    form.SetMessageFont(0);
    form.show();
    EXPECT_TRUE(Child<QRadioButton>(form, "GroupWallpaper1")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(form, "GroupFont0")->isChecked());
    QTest::mouseClick(Child<QRadioButton>(form, "GroupWallpaper0"), Qt::LeftButton);
    QTest::mouseClick(Child<QRadioButton>(form, "GroupFont1"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(form, "ButtonOk"), Qt::LeftButton);
    EXPECT_EQ(form.Wallpaper(), 0);
    EXPECT_EQ(form.MessageFont(), 1);
    EXPECT_EQ(form.MaterialName(), "Sistema");

    // A stored value no option stands for comes back unchanged unless the user picks one.
    TFormSelSystem odd;
    odd.SetWallpaper(7);
    odd.show();
    EXPECT_FALSE(Child<QRadioButton>(odd, "GroupWallpaper0")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(odd, "GroupWallpaper1")->isChecked());
    EXPECT_EQ(odd.Wallpaper(), 7);
}

TEST(Pickers, MonsterHueSlider)
{
    for (const auto& [position, hue] : {std::pair{0, 180}, {18, 0}, {17, 350}, {19, 10}, {36, 180}, {35, 170}}) {
        EXPECT_EQ(TFormSelMonster::HueOfPosition(position), hue) << position;
        if (position != 36) {
            EXPECT_EQ(TFormSelMonster::PositionOfHue(hue), position) << hue;
        }
    }
    EXPECT_EQ(TFormSelMonster::PositionOfHue(125), 30); // between two positions: the lower one

    PickerTestProject p;
    p.Picture(false, "Monster", "Rojo.png", 40, 20, 255);
    p.Picture(false, "Monster", "Verde.png", 40, 20, 255);
    TFormSelMonster form;
    form.SetMaterialName("Rojo");
    form.SetHue(120);
    form.show();
    // The caller's hue survives the opening and recolours the battler.
    EXPECT_EQ(form.Hue(), 120);
    TVireoSheet turned;
    turned.Palette[255] = {255, 0, 127, 0};
    turned.RotateHue(120);
    const std::uint16_t expected = turned.ColorTable[255];
    EXPECT_EQ(form.PreviewBoard().ScanLine(80)[160], expected);
    // Moving the slider recolours from the file's own palette, not from the last one.
    auto* slider = Child<QSlider>(form, "SliderHue");
    slider->setValue(18);
    EXPECT_EQ(form.Hue(), 0);
    EXPECT_EQ(form.PreviewBoard().ScanLine(80)[160], TestColor(255));
    slider->setValue(30);
    EXPECT_EQ(form.PreviewBoard().ScanLine(80)[160], expected);
    // Another file starts from hue 0.
    List(form)->setCurrentRow(1);
    EXPECT_EQ(form.MaterialName(), "Verde");
    EXPECT_EQ(form.Hue(), 0);
    EXPECT_EQ(form.PreviewBoard().ScanLine(80)[160], TestColor(255));
}

TEST(Pickers, SelectedRowStandsSixRowsBelowTheTop)
{
    PickerTestProject p;
    for (int i = 0; i < 40; ++i) {
        p.Picture(false, "Title", QString("T%1.png").arg(i, 2, 10, QChar('0')), 8, 8);
        p.Bytes(false, "Movie", QString("M%1.avi").arg(i, 2, 10, QChar('0')), "RIFF");
    }
    TFormSelTitle title;
    title.SetMaterialName("T20");
    title.show();
    EXPECT_EQ(List(title)->indexAt(QPoint(5, 2)).row(), 14);
    TFormSelMovie movie;
    movie.SetMaterialName("M20");
    movie.show();
    EXPECT_EQ(List(movie)->indexAt(QPoint(5, 2)).row(), 16);
    EXPECT_EQ(movie.findChild<QWidget*>("PaintBox"), nullptr);
    // Near the top nothing scrolls.
    TFormSelTitle top;
    top.SetMaterialName("T03");
    top.show();
    EXPECT_EQ(List(top)->indexAt(QPoint(5, 2)).row(), 0);
}

TEST(Pickers, ExecuteHandsValuesBackOnlyOnAceptar)
{
    PickerTestProject p;
    p.Picture(false, "FaceSet", "Caras.png", 192, 192);
    p.Picture(true, "FaceSet", "Otras.png", 192, 192);
    p.Picture(true, "Monster", "Limo.png", 40, 20);
    p.Picture(true, "System", "Sistema.png", 160, 128);
    // While the form runs: press `cell` (when given), then press the button.
    const auto whileShown = [](const char* button, QPoint cell = {-1, -1}) {
        QTimer::singleShot(0, [=] {
            QWidget* form = QApplication::activeModalWidget();
            ASSERT_NE(form, nullptr);
            if (cell.x() >= 0)
                Press(*form, cell);
            QTest::mouseClick(Child<QPushButton>(*form, button), Qt::LeftButton);
        });
    };
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "Aceptar" : "Cancelar");
        const char* button = ok ? "ButtonOk" : "ButtonCancel";
        QString name = "Otras <RTP>";
        int cell = 3;
        TFormSelFace face;
        whileShown(button, {60, 150});
        EXPECT_EQ(face.Execute(name, cell), ok);
        EXPECT_EQ(name, ok ? "Otras" : "Otras <RTP>");
        EXPECT_EQ(cell, ok ? 13 : 3);

        QString battler = "Limo";
        int hue = 40;
        TFormSelMonster monster;
        whileShown(button);
        EXPECT_EQ(monster.Execute(battler, hue), ok);
        EXPECT_EQ(hue, 40);

        QString system = "nada";
        int wallpaper = 1, font = 1;
        TFormSelSystem options;
        whileShown(button);
        EXPECT_EQ(options.Execute(system, wallpaper, font), ok);
        EXPECT_EQ(system, ok ? "Sistema" : "nada");
        EXPECT_EQ(wallpaper, 1);
        EXPECT_EQ(font, 1);
    }
}
