#include "SelMaterial.h"

#include "Materials.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

// --- TPickerPaintBox ---

TPickerPaintBox::TPickerPaintBox(TVireoBoard& board, QWidget* parent) : QWidget(parent), FBoard(board)
{
    setObjectName(QStringLiteral("PaintBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TPickerPaintBox::sizeHint() const
{
    return {FBoard.Width(), FBoard.Height()};
}

void TPickerPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (FBoard.Width() <= 0 || FBoard.Height() <= 0)
        return;
    const QImage image(FBoard.Bits(), FBoard.Width(), FBoard.Height(), FBoard.BytesPerLine(),
                       QImage::Format_RGB16);
    painter.drawImage(0, 0, image);
}

void TPickerPaintBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit Pressed(p.x(), p.y());
}

void TPickerPaintBox::mouseDoubleClickEvent(QMouseEvent*)
{
    emit DoubleClicked();
}

// --- TFormSelMaterial ---

TFormSelMaterial::TFormSelMaterial(const TPickerKind& kind, QWidget* owner)
    : TFormVudBase(owner), FKind(kind)
{
    setObjectName(FKind.ObjectName);
    setWindowTitle(FKind.Caption);
    if (!FKind.Sheet.isEmpty())
        Sheet.SetSize(FKind.Sheet.width(), FKind.Sheet.height());
    else
        Sheet.AutoSize = true;
    Sheet.Transparent = FKind.Transparent;
    if (!FKind.Preview.isEmpty())
        FBoard.SetSize(FKind.Preview.width(), FKind.Preview.height());
    BuildForm();
}

void TFormSelMaterial::BuildForm()
{
    FList = new QListWidget;
    FList->setObjectName(QStringLiteral("IconListBox1"));
    FList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    FList->setMinimumWidth(180);
    connect(FList, &QListWidget::currentRowChanged, this, [this] { IconListBox1Click(); });
    if (FKind.ListDoubleClickAccepts)
        connect(FList, &QListWidget::itemDoubleClicked, this, [this] { ButtonOkClick(); });

    FButtonOk = new QPushButton(QStringLiteral("Aceptar"));
    FButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    FButtonOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"));
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(FButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    if (!FKind.Preview.isEmpty()) {
        FPaintBox = new TPickerPaintBox(FBoard);
        FPaintBox->setFixedSize(FKind.Preview);
        connect(FPaintBox, &TPickerPaintBox::Pressed, this, [this](int x, int y) { PreviewMouseDown(x, y); });
        connect(FPaintBox, &TPickerPaintBox::DoubleClicked, this, [this] { ButtonOkClick(); });
        auto* frame = new QFrame;
        frame->setObjectName(QStringLiteral("PaintPanel"));
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        auto* inFrame = new QVBoxLayout(frame);
        inFrame->setContentsMargins(2, 2, 2, 2);
        inFrame->addWidget(FPaintBox);
        right->addWidget(frame, 0, Qt::AlignLeft | Qt::AlignTop);
    }
    FExtra = new QVBoxLayout;
    right->addLayout(FExtra);
    if (!FKind.Preview.isEmpty())
        right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FButtonOk);
    buttons->addWidget(cancel);
    right->addLayout(buttons);

    if (FKind.Preview.isEmpty()) {
        // Nothing to show beside the list: the buttons go under it.
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(FList, 1);
        layout->addLayout(right);
        FList->setMinimumHeight(220);
        return;
    }
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(FList, 1);
    layout->addLayout(right);
    FList->setMinimumHeight(std::max(220, FKind.Preview.height()));
}

void TFormSelMaterial::SetMaterialName(const QString& name)
{
    FName = StripRtpMark(name);
}

bool TFormSelMaterial::Execute(QString& name)
{
    SetMaterialName(name);
    if (exec() != QDialog::Accepted)
        return false;
    name = MaterialName();
    return true;
}

void TFormSelMaterial::showEvent(QShowEvent* event)
{
    FormShow();
    TFormVudBase::showEvent(event);
}

void TFormSelMaterial::FormShow()
{
    QStringList names;
    ListMaterials(names, FKind.Folder, MaterialExtensions(FKind.Folder));
    const int row = [&] {
        const QSignalBlocker block(FList);
        FList->clear();
        FList->addItems(names);
        const int found = InitialRow();
        FList->setCurrentRow(found);
        return found;
    }();
    FList->verticalScrollBar()->setValue(std::max(0, row - FKind.RowsAbove));
    IconListBox1Click();
}

int TFormSelMaterial::InitialRow() const
{
    if (FList->count() == 0)
        return -1;
    // The platform's lookup ignores letter case, so the rows are matched the same way.
    for (const QString& text : {FName, FName + kRtpMark}) {
        for (int i = 0; i < FList->count(); ++i)
            if (FList->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
                return i;
    }
    return 0;
}

void TFormSelMaterial::IconListBox1Click()
{
    const QListWidgetItem* item = FList->currentItem();
    FName = item ? StripRtpMark(item->text()) : QString();
    LoadSheet();
    MaterialLoaded();
    RedrawPreview();
}

void TFormSelMaterial::LoadSheet()
{
    if (FKind.Preview.isEmpty())
        return;
    Sheet.Clear();
    const QString file = ResolveMaterialFile(FName, FKind.Folder, MaterialExtensions(FKind.Folder));
    // The lookup gives back the bare name when no file exists; that is never loaded.
    bool loaded = !file.isEmpty() && QFileInfo(file).isAbsolute() && QFileInfo(file).isFile();
    if (loaded) {
        try {
            Sheet.LoadFromFile(QFile::encodeName(file).toStdString(), true);
        } catch (const std::exception&) {
            loaded = false;
        }
    }
    // A missing or unreadable file shows an empty picture.
    if (!loaded && Sheet.AutoSize)
        Sheet.FreeImage();
    else if (!loaded)
        Sheet.Clear();
}

void TFormSelMaterial::RedrawPreview()
{
    if (FKind.Preview.isEmpty())
        return;
    FBoard.Clear();
    if (Sheet.Width() > 0 && Sheet.Height() > 0)
        DrawPreview(FBoard);
    if (FPaintBox)
        FPaintBox->update();
}

void TFormSelMaterial::DrawPreview(TVireoBoard& board)
{
    board.DrawSheet(0, 0, Sheet.BoundsRect(), Sheet);
}

void TFormSelMaterial::PreviewMouseDown(int, int) {}

void TFormSelMaterial::ButtonOkClick()
{
    accept();
}

// --- TFormSelCellMaterial ---

TFormSelCellMaterial::TFormSelCellMaterial(const TPickerKind& kind, QSize cell, int columns, int rows,
                                           QWidget* owner)
    : TFormSelMaterial(kind, owner), FCell(cell), FColumns(columns), FRows(rows)
{
}

void TFormSelCellMaterial::SetCellIndex(int index)
{
    FCellIndex = index;
    RedrawPreview();
}

bool TFormSelCellMaterial::Execute(QString& name, int& cellIndex)
{
    SetCellIndex(cellIndex);
    if (!TFormSelMaterial::Execute(name))
        return false;
    cellIndex = CellIndex();
    return true;
}

void TFormSelCellMaterial::DrawPreview(TVireoBoard& board)
{
    DrawCells(board);
    // A stored index outside the grid keeps its value but gets no frame.
    if (FCellIndex >= 0 && FCellIndex < FColumns * FRows) {
        const int left = FCellIndex % FColumns * FCell.width();
        const int top = FCellIndex / FColumns * FCell.height();
        PickerDraw::DrawCellFrame(board, {left, top, left + FCell.width(), top + FCell.height()});
    }
}

void TFormSelCellMaterial::PreviewMouseDown(int x, int y)
{
    const int cell = PickerDraw::CellAt(x, y, FCell.width(), FCell.height(), FColumns, FRows);
    if (cell < 0 || cell == FCellIndex)
        return;
    FCellIndex = cell;
    RedrawPreview();
}

// --- PickerDraw ---

namespace PickerDraw {

TVireoRect FitRect(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight)
{
    int w = pictureWidth;
    int h = pictureHeight;
    if (w > areaWidth || h > areaHeight) {
        // Compare the aspect ratios without rounding: area w/h > picture w/h.
        if (qint64(areaWidth) * pictureHeight > qint64(pictureWidth) * areaHeight) {
            h = areaHeight;
            w = int(qint64(pictureWidth) * areaHeight / pictureHeight);
        } else {
            w = areaWidth;
            h = int(qint64(pictureHeight) * areaWidth / pictureWidth);
        }
    }
    const int left = (areaWidth - w) / 2;
    const int top = (areaHeight - h) / 2;
    return {left, top, left + w, top + h};
}

namespace {
void hline(TVireoBoard& board, int x0, int x1, int y, std::uint16_t color)
{
    if (y < 0 || y >= board.Height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, board.Width());
    std::uint16_t* row = board.ScanLine(y);
    for (int x = x0; x < x1; ++x)
        row[x] = color;
}

void vline(TVireoBoard& board, int x, int y0, int y1, std::uint16_t color)
{
    if (x < 0 || x >= board.Width())
        return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, board.Height());
    for (int y = y0; y < y1; ++y)
        board.ScanLine(y)[x] = color;
}

void ring(TVireoBoard& board, TVireoRect r, int inset, std::uint16_t color)
{
    const int l = r.Left + inset, t = r.Top + inset, rr = r.Right - inset, b = r.Bottom - inset;
    if (rr <= l || b <= t)
        return;
    hline(board, l, rr, t, color);
    hline(board, l, rr, b - 1, color);
    vline(board, l, t, b, color);
    vline(board, rr - 1, t, b, color);
}
} // namespace

void DrawCellFrame(TVireoBoard& board, TVireoRect cell)
{
    constexpr std::uint16_t black = 0x0000, white = 0xFFFF;
    ring(board, cell, 0, black);
    ring(board, cell, 1, white);
    ring(board, cell, 2, white);
    ring(board, cell, 3, black);
}

void FillBoard(TVireoBoard& board, std::uint16_t color)
{
    for (int y = 0; y < board.Height(); ++y)
        std::fill_n(board.ScanLine(y), board.Width(), color);
}

int CellAt(int x, int y, int cellWidth, int cellHeight, int columns, int rows)
{
    if (x < 0 || y < 0 || x >= cellWidth * columns || y >= cellHeight * rows)
        return -1;
    return (y / cellHeight) * columns + x / cellWidth;
}

} // namespace PickerDraw
