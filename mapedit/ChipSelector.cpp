#include "ChipSelector.h"

#include "GR_ChipSet.h"
#include "LD_Map.h"
#include "MapEditor.h"
#include "MapViewer.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace {

int floorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

const QRect kFirstCell(0, 0, 1, 1);
const QRect kNoCell(-1, -1, 0, 0);

}  // namespace

// The grid: paints the board and the selection frame for its owner.
class TChipPaintBox : public QWidget {
public:
  explicit TChipPaintBox(TFormChipSelector* owner, QWidget* parent)
      : QWidget(parent), FOwner(owner) {}

protected:
  void paintEvent(QPaintEvent*) override { FOwner->paintGrid(this); }

private:
  TFormChipSelector* FOwner;
};

TFormChipSelector::TFormChipSelector(QWidget* parent) : QWidget(parent) {
  setObjectName("FormChipSelector");
  setWindowFlag(Qt::FramelessWindowHint);
  FFrame = new QScrollArea(this);
  FFrame->setObjectName("ScrollFrame1");
  FFrame->setWidgetResizable(false);
  FFrame->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FFrame->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FFrame->verticalScrollBar()->setSingleStep(16);
  FBackground = new QWidget;
  FBackground->setObjectName("Background");
  FBackground->setAutoFillBackground(true);
  FPaintBox = new TChipPaintBox(this, FBackground);
  FPaintBox->setObjectName("PaintBox");
  FPaintBox->setCursor(Qt::PointingHandCursor);
  FFrame->setWidget(FBackground);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(FFrame);
  FFrame->viewport()->installEventFilter(this);
  FBackground->installEventFilter(this);
  FPaintBox->installEventFilter(this);
  FTimer1 = new QTimer(this);
  FTimer1->setObjectName("Timer1");
  FTimer1->setInterval(150);
  FTimer1->setSingleShot(true);
  connect(FTimer1, &QTimer::timeout, this, &TFormChipSelector::holdElapsed);
  FTimer2 = new QTimer(this);
  FTimer2->setObjectName("Timer2");
  FTimer2->setInterval(40);
  connect(FTimer2, &QTimer::timeout, this, &TFormChipSelector::autoScrollTick);
  ResetPalette();
}

TFormChipSelector::~TFormChipSelector() = default;

void TFormChipSelector::SetMap(TVudMap* map, TVudChipSetGraphic* chips) {
  FMap = map;
  FChips = chips;
}

// --- Tables ---------------------------------------------------------------------------------

int TFormChipSelector::PaletteRows(int mode) {
  switch (mode) {
    case emLower: return 27;
    case emUpper:
    case emEvents: return 24;
    default: return 0;
  }
}

int TFormChipSelector::PaletteTileAt(int mode, int column, int row) {
  const int k = column + Columns * row;
  if (column < 0 || column >= Columns || row < 0 || row >= PaletteRows(mode)) return -1;
  if (mode != emLower) return kUpperFirst + k;
  if (k < 2) return k * 1000 + 49;
  if (k == 2) return 2049;
  if (k < 6) return 3000 + 50 * (k - 3);
  if (k < 18) return 4049 + 50 * (k - 6);
  return 5000 + k - 18;
}

QPoint TFormChipSelector::PaletteCellOf(int mode, int t) {
  QPoint cell(-1, -1);
  if (mode == emUpper || mode == emEvents) {
    if (t >= kUpperFirst) cell = QPoint((t - kUpperFirst) % 6, (t - kUpperFirst) / 6);
  } else if (mode == emLower && t >= 0) {
    if (t < 3000) cell = QPoint(t / 1000, 0);
    else if (t < 4000) cell = QPoint((t - 3000) / 50 + 3, 0);
    else if (t < 5000) {
      // Only the icon shape has a cell; an exact shape picked with Shift has none.
      if (t % 50 == 49) {
        const int i = (t - 4000) / 50 + 6;
        cell = QPoint(i % 6, i / 6);
      }
    } else cell = QPoint((t - 4982) % 6, (t - 4982) / 6);
  }
  if (cell.x() < 0 || cell.x() >= Columns || cell.y() < 0 || cell.y() >= PaletteRows(mode))
    return {-1, -1};
  return cell;
}

QPoint TFormChipSelector::CellAtPixel(QPoint pixel) {
  return {floorDiv(pixel.x(), CellSize), floorDiv(pixel.y(), CellSize)};
}

QRect TFormChipSelector::DragRect(int mode, QPoint anchor, QPoint cursor) {
  const int rows = PaletteRows(mode);
  if (rows <= 0) return kNoCell;
  if (mode == emEvents) return QRect(anchor, QSize(1, 1));
  const int x = std::clamp(cursor.x(), 0, Columns - 1);
  int y = std::clamp(cursor.y(), 0, rows - 1);
  y = std::clamp(y, anchor.y() - 5, anchor.y() + 5);
  return QRect(QPoint(std::min(anchor.x(), x), std::min(anchor.y(), y)),
               QPoint(std::max(anchor.x(), x), std::max(anchor.y(), y)));
}

// --- State ----------------------------------------------------------------------------------

void TFormChipSelector::ResetPalette() {
  FScroll.fill(0);
  FSelection.fill(kFirstCell);
  FDragging = false;
  FMode = emNone;
  layout();
}

void TFormChipSelector::SetPaletteMode(int mode) {
  mode &= 3;
  if (mode == FMode) return;
  FinishPaletteDrag();
  FScroll[std::size_t(FMode)] = ScrollPosition();
  FMode = mode;
  layout();
  emit BrushChanged();
}

void TFormChipSelector::RefreshPalette() { layout(); }

QRect TFormChipSelector::PaletteSelection() const {
  const QRect r = FSelection[std::size_t(FMode)];
  return r.isEmpty() ? kNoCell : r;
}

void TFormChipSelector::SelectPaletteRect(const QRect& cells) {
  FSelection[std::size_t(FMode)] = cells.isEmpty() ? kNoCell : cells;
  FPaintBox->update();
}

void TFormChipSelector::ShowTile(int tileID) {
  const QPoint cell = PaletteCellOf(FMode, tileID);
  SelectPaletteRect(cell.x() < 0 ? kNoCell : QRect(cell, QSize(1, 1)));
  if (cell.x() >= 0) FFrame->ensureVisible(cell.x() * CellSize, cell.y() * CellSize, 0, CellSize);
}

TVudCurrentChip TFormChipSelector::SelectedBlock() const {
  TVudCurrentChip chip;
  const QRect r = PaletteSelection();
  if (r.x() < 0 || FMode == emNone) {
    chip.SetSingle(std::uint16_t(std::max(0, PaletteTileAt(FMode == emNone ? emLower : FMode, 0, 0))));
    return chip;
  }
  const int w = std::min(r.width(), TVudCurrentChip::MaxSide);
  const int h = std::min(r.height(), TVudCurrentChip::MaxSide);
  chip.SetSize(w, h);
  for (int c = 0; c < w; ++c)
    for (int row = 0; row < h; ++row)
      chip.Set(c, row, std::uint16_t(PaletteTileAt(FMode, r.x() + c, r.y() + row)));
  return chip;
}

int TFormChipSelector::ScrollPosition() const { return FFrame->verticalScrollBar()->value(); }

bool TFormChipSelector::hasMap() const { return FMap && FMap->Width > 0; }

// --- Drawing --------------------------------------------------------------------------------

void TFormChipSelector::layout() {
  const int rows = hasMap() ? PaletteRows(FMode) : 0;
  const int h = rows * CellSize;
  FPaintBox->setGeometry(0, 0, rows ? Columns * CellSize : 0, h);
  FBackground->resize(rows ? Columns * CellSize : 0, h);
  FFrame->verticalScrollBar()->setValue(FScroll[std::size_t(FMode)]);
  redraw();
}

void TFormChipSelector::redraw() {
  const int rows = hasMap() ? PaletteRows(FMode) : 0;
  FBoard.SetSize(Columns * CellSize, std::max(rows, 1) * CellSize);
  if (rows && FChips && FMap->ChipSetID > 0) {
    const bool transparent = FChips->TransparentMode();
    FChips->SetTransparentMode(false);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < Columns; ++c)
        FChips->DrawTile(FBoard, c * CellSize, r * CellSize, PaletteTileAt(FMode, c, r), 0, false,
                         CellSize);
    FChips->SetTransparentMode(transparent);
  }
  FPaintBox->update();
}

void TFormChipSelector::paintGrid(QWidget* box) {
  QPainter painter(box);
  if (!hasMap() || FMode == emNone) return;
  const QImage image(FBoard.Bits(), FBoard.Width(), FBoard.Height(), FBoard.BytesPerLine(),
                     QImage::Format_RGB16);
  painter.drawImage(0, 0, image);
  const QRect sel = PaletteSelection();
  if (sel.x() < 0) return;
  // The map editor's brush frame, in the mode's colour.
  const QRect r(sel.x() * CellSize, sel.y() * CellSize, sel.width() * CellSize,
                sel.height() * CellSize);
  const QColor colours[4] = {Qt::black, TFormMapEditor::ModeColor(FMode), Qt::white, Qt::black};
  painter.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    painter.setPen(colours[i]);
    painter.drawRect(r.adjusted(i, i, -i - 1, -i - 1));
  }
}

// --- Mouse ----------------------------------------------------------------------------------

bool TFormChipSelector::eventFilter(QObject* watched, QEvent* event) {
  const bool ours = watched == FPaintBox || watched == FBackground || watched == FFrame->viewport();
  if (!ours) return QWidget::eventFilter(watched, event);
  auto* w = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* e = static_cast<QMouseEvent*>(event);
      mouseDown(e, FPaintBox->mapFrom(w, e->position().toPoint()));
      return true;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint pos = FPaintBox->mapFrom(w, e->position().toPoint());
      if (FPanning) {
        FFrame->verticalScrollBar()->setValue(FPanScroll - (e->globalPosition().toPoint().y() - FPanStart.y()));
      } else {
        mouseMove(pos);
      }
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() == Qt::MiddleButton) FPanning = false;
      else if (FDragging && e->button() == FDragButton) mouseUp();
      return true;
    }
    case QEvent::Wheel: {
      if (watched != FFrame->viewport()) return false;
      auto* e = static_cast<QWheelEvent*>(event);
      if (!FDragging && !FPanning) {
        const int notches = e->angleDelta().y() / 120;
        QScrollBar* bar = FFrame->verticalScrollBar();
        bar->setValue(bar->value() - notches * 16);
      }
      return true;
    }
    default: return false;
  }
}

void TFormChipSelector::mouseDown(QMouseEvent* event, QPoint pos) {
  if (event->button() == Qt::MiddleButton) {
    if (FDragging) return;
    FPanning = true;
    FPanStart = event->globalPosition().toPoint();
    FPanScroll = ScrollPosition();
    return;
  }
  if (FDragging) {
    // Another button during a drag cancels it.
    FDragging = false;
    FTimer1->stop();
    FTimer2->stop();
    FSelection[std::size_t(FMode)] = FBeforeDrag;
    FPaintBox->update();
    return;
  }
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  if (!hasMap() || FMode == emNone || FPanning) return;
  const QPoint cell = CellAtPixel(pos);
  if (cell.x() < 0 || cell.y() < 0 || cell.x() >= Columns || cell.y() >= PaletteRows(FMode))
    return;
  FBeforeDrag = FSelection[std::size_t(FMode)];
  FDragging = true;
  FDragButton = event->button();
  FAnchor = cell;
  FLastPos = FPaintBox->mapTo(FFrame->viewport(), pos);
  SelectPaletteRect(QRect(cell, QSize(1, 1)));
  FTimer1->start();
  FTimer2->start();
}

void TFormChipSelector::mouseMove(QPoint pos) {
  if (!FDragging) return;
  FLastPos = FPaintBox->mapTo(FFrame->viewport(), pos);
  if (FTimer1->isActive() || FMode == emEvents) return;
  SelectPaletteRect(DragRect(FMode, FAnchor, CellAtPixel(pos)));
}

void TFormChipSelector::holdElapsed() {
  mouseMove(FPaintBox->mapFrom(FFrame->viewport(), FLastPos));
}

void TFormChipSelector::mouseUp() {
  if (!FDragging) return;
  FDragging = false;
  FTimer1->stop();
  FTimer2->stop();
  emit BrushChanged();
}

void TFormChipSelector::FinishPaletteDrag() { mouseUp(); }

void TFormChipSelector::autoScrollTick() {
  if (!FDragging) return;
  // The last cursor position the grid saw (it holds the capture, so it sees every move).
  const QPoint p = FLastPos;
  const int dy = TFormMapViewer::AutoScrollDelta(p.y(), FFrame->viewport()->height());
  if (!dy) return;
  QScrollBar* bar = FFrame->verticalScrollBar();
  bar->setValue(bar->value() + dy);
  mouseMove(FPaintBox->mapFrom(FFrame->viewport(), p));
}
