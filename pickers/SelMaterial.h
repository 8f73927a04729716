// The material pickers: a list of one material folder with a preview of the chosen file,
// "Aceptar" and "Cancelar". Usage, the same for every member:
//
//   TFormSelPanorama form(this);
//   form.SetMaterialName(map.PanoramaName);   // bare, or with the " <RTP>" mark
//   if (form.exec() == QDialog::Accepted) {
//     map.PanoramaName = form.MaterialName(); // always bare, empty when nothing was chosen
//     ...refresh the caller's preview, Modified()...
//   }
//
// or in one line: `if (form.Execute(name)) ...` (with the cell, hue or options where the member
// has them).
//
// Callers that place the picker at an offset call SetPlacementOffset before exec().
// Face and character pickers also take and give back a cell (SetCellIndex / CellIndex), the
// system picker its two options, the enemy picker its hue. Showing the form fills the list,
// selects the row of the current name (or of the name marked " <RTP>", else the first row)
// and loads that file; choosing a row replaces the name, never the cell.
#pragma once

#include "VudBase.h"
#include "VireoSheet.h"

#include <QSize>
#include <QString>
#include <QWidget>

class QBoxLayout;
class QListWidget;
class QPushButton;

// The preview: the board drawn 1:1, mouse presses and double clicks handed to the form.
class TPickerPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPickerPaintBox(TVireoBoard& board, QWidget* parent = nullptr);
    QSize sizeHint() const override;

signals:
    void Pressed(int x, int y);
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TVireoBoard& FBoard;
};

// What sets one member apart from the others.
struct TPickerKind {
    QString ObjectName; // "FormSelFace"
    QString Caption;
    QString Folder;
    QSize Preview;      // empty: no preview
    QSize Sheet;        // empty: the sheet takes the file's size
    bool Transparent = false;
    int RowsAbove = 6;  // the selected row stands this many rows below the top
    bool ListDoubleClickAccepts = true;
};

class TFormSelMaterial : public TFormVudBase {
    Q_OBJECT
public:
    void SetMaterialName(const QString& name);
    // Shows the form modally starting from `name`; on "Aceptar" stores the bare name back and
    // gives true, otherwise leaves `name` alone.
    bool Execute(QString& name);
    QString MaterialName() const { return FName; }
    const QString& Folder() const { return FKind.Folder; }
    // Shown at this offset from the owner's client origin instead of centred on it.
    void SetPlacementOffset(QPoint offset) { PlacementOffset = offset; }

    void FormShow();
    void IconListBox1Click();
    void ButtonOkClick();

    // The preview as last drawn (empty for the movie picker).
    const TVireoBoard& PreviewBoard() const { return FBoard; }
    const TVireoSheet& PreviewSheet() const { return Sheet; }

protected:
    TFormSelMaterial(const TPickerKind& kind, QWidget* owner);

    // Draws the sheet onto the board, which is preview-sized and black. The default draws it
    // 1:1 at the top-left corner.
    virtual void DrawPreview(TVireoBoard& board);
    // A press on the preview, in preview pixels.
    virtual void PreviewMouseDown(int x, int y);
    // After the sheet was (re)loaded for a newly chosen row.
    virtual void MaterialLoaded() {}
    void showEvent(QShowEvent* event) override;

    void RedrawPreview();
    // The column under the preview, for a member's own controls.
    QBoxLayout* ExtraLayout() const { return FExtra; }

    TVireoSheet Sheet;

private:
    void BuildForm();
    void LoadSheet();
    int InitialRow() const;

    TPickerKind FKind;
    QString FName;
    TVireoBoard FBoard;
    QListWidget* FList = nullptr;
    TPickerPaintBox* FPaintBox = nullptr;
    QBoxLayout* FExtra = nullptr;
    QPushButton* FButtonOk = nullptr;
};

// A member whose preview is a grid of cells, one of them chosen (faces, characters).
class TFormSelCellMaterial : public TFormSelMaterial {
public:
    // Given by the caller, read back after "Aceptar"; choosing a row leaves it alone.
    void SetCellIndex(int index);
    int CellIndex() const { return FCellIndex; }
    using TFormSelMaterial::Execute;
    // The same with the cell.
    bool Execute(QString& name, int& cellIndex);

protected:
    TFormSelCellMaterial(const TPickerKind& kind, QSize cell, int columns, int rows, QWidget* owner);
    // The cells without the frame.
    virtual void DrawCells(TVireoBoard& board) = 0;
    void DrawPreview(TVireoBoard& board) override;
    void PreviewMouseDown(int x, int y) override;

private:
    QSize FCell;
    int FColumns, FRows;
    int FCellIndex = 0;
};

// Drawing pieces the members share.
namespace PickerDraw {
// The largest rectangle of the picture's aspect ratio that fits the area, centred; the picture's
// own size, centred, when it already fits (never scaled up).
TVireoRect FitRect(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);
// The chosen cell's outline, four pixels wide: black at the edge, white one and two pixels in,
// black three pixels in.
void DrawCellFrame(TVireoBoard& board, TVireoRect cell);
void FillBoard(TVireoBoard& board, std::uint16_t color);
// Cell index of a press in a grid of columns × rows cells, or -1 when the press lies outside it.
int CellAt(int x, int y, int cellWidth, int cellHeight, int columns, int rows);
} // namespace PickerDraw
