#include "MapViewer.h"

#include "DataBase.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapDraw.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

int floorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool validCellSize(int size) {
  return size == 32 || size == 16 || size == 8 || size == 4;
}

// Scroll position that keeps a point stored at cell size 32 in the middle of the client.
int centredScroll(int client, int stored, int cellSize) {
  return (client / 2 + stored) * cellSize / 32 - client / 2;
}

}  // namespace

// --- TMapFrame ------------------------------------------------------------------------------

TMapFrame::TMapFrame(TFormMapViewer* viewer) : QAbstractScrollArea(viewer), FViewer(viewer) {
  setObjectName(QStringLiteral("MapFrame"));
  viewport()->setObjectName(QStringLiteral("Background"));
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(16);
}

bool TMapFrame::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::Paint:
      FViewer->paintBackground(static_cast<QPaintEvent*>(event));
      return true;
    case QEvent::Resize:
      if (!FViewer->FInLayout) {
        FViewer->Layout();
        FViewer->RedrawAll();
      }
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
      if (FViewer->panEvent(static_cast<QMouseEvent*>(event))) return true;
      break;
    default: break;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void TMapFrame::scrollContentsBy(int, int) {
  // The picture is redrawn from the boards, never scrolled as pixels of the window.
  FViewer->scrollBarsMoved();
}

// --- TMapPaintBox ---------------------------------------------------------------------------

TMapPaintBox::TMapPaintBox(TFormMapViewer* viewer, QWidget* parent)
    : QWidget(parent), FViewer(viewer) {
  setObjectName(QStringLiteral("PaintBox"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TMapPaintBox::paintEvent(QPaintEvent* event) {
  FViewer->paintPicture(event);
}

void TMapPaintBox::mousePressEvent(QMouseEvent* event) {
  if (!FViewer->panEvent(event)) FViewer->PaintBoxMouseDown(event);
}

void TMapPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (!FViewer->panEvent(event)) FViewer->PaintBoxMouseMove(event);
}

void TMapPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  if (!FViewer->panEvent(event)) FViewer->PaintBoxMouseUp(event);
}

void TMapPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  FViewer->PaintBoxDoubleClick(event);
}

// --- TFormMapViewer -------------------------------------------------------------------------

TFormMapViewer::TFormMapViewer(QWidget* parent)
    : QWidget(parent),
      FOwnChips(std::make_unique<TVudChipSetGraphic>()),
      FOwnChars(std::make_unique<TVudCharSetGraphic>()),
      FChips(FOwnChips.get()),
      FChars(FOwnChars.get()) {
  setObjectName(QStringLiteral("FormMapViewer"));
  FFrame = new TMapFrame(this);
  FPaintBox = new TMapPaintBox(this, FFrame->viewport());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FFrame);
  FAutoScrollTimer = new QTimer(this);
  FAutoScrollTimer->setObjectName(QStringLiteral("AutoScrollTimer"));
  FAutoScrollTimer->setInterval(40);
  connect(FAutoScrollTimer, &QTimer::timeout, this, [this] { AutoScrollTick(); });
  FEventMap.SetGraphics(FChips, FChars);
}

TFormMapViewer::~TFormMapViewer() = default;

void TFormMapViewer::SetGraphics(TVudChipSetGraphic* chips, TVudCharSetGraphic* chars) {
  FChips = chips ? chips : FOwnChips.get();
  FChars = chars ? chars : FOwnChars.get();
  FEventMap.SetGraphics(FChips, FChars);
}

TVudMapTreeItem* TFormMapViewer::MapTreeItem() const {
  if (!FMapTree) return nullptr;
  if (FMap && FMap->ID > 0)
    if (TVudMapTreeItem* item = FMapTree->Find(FMap->ID)) return item;
  return FMapTree->Find(FMapTree->ActiveMapID);
}

QSize TFormMapViewer::ClientSize() const {
  return FFrame->viewport()->size();
}

QRect TFormMapViewer::PictureRect() const {
  return FPaintBox->geometry();
}

void TFormMapViewer::refreshCharSets() {
  FChars->ClearUseMarks();
  if (FMap)
    for (int i = 0; i < FMap->Events.Count(); ++i)
      if (const TVudEventItem* e = FMap->Events.At(i))
        for (int p = 0; p < e->Pages.Count(); ++p)
          if (const TVudEventPageItem* page = e->Pages.At(p); page && !page->CharSetName.empty())
            FChars->AcquireCharSet(page->CharSetName);
  FChars->PurgeIdle();
}

void TFormMapViewer::ReloadMap() {
  if (FMap && TVudDataBase::Instance() && FChips == FOwnChips.get())
    FChips->SetChipSet(TVudDataBase::Instance()->ChipSets().Find(FMap->ChipSetID));
  refreshCharSets();
  FEventMap.BuildEventMap(FMapTree, FMap);
  if (!KeepPosition) {
    const TVudMapTreeItem* item = MapTreeItem();
    const QSize client = ClientSize();
    FScrollX = centredScroll(client.width(), item ? item->ScrollX : 0, FCellSize);
    FScrollY = centredScroll(client.height(), item ? item->ScrollY : 0, FCellSize);
  }
  Layout();
  FPanorama = FMap ? LoadPanorama(*FMap) : nullptr;
  RedrawAll();
}

void TFormMapViewer::EventsChanged() {
  refreshCharSets();
  FEventMap.BuildEventMap(FMapTree, FMap);
  RedrawAll();
}

void TFormMapViewer::SetCellSize(int size) {
  if (size == FCellSize || !validCellSize(size)) return;
  const QSize client = ClientSize();
  if (const TVudMapTreeItem* item = MapTreeItem()) {
    FScrollX = centredScroll(client.width(), item->ScrollX, size);
    FScrollY = centredScroll(client.height(), item->ScrollY, size);
  } else {
    // Without a stored offset keep the current centre.
    FScrollX = (FScrollX + client.width() / 2) * size / FCellSize - client.width() / 2;
    FScrollY = (FScrollY + client.height() / 2) * size / FCellSize - client.height() / 2;
  }
  FCellSize = size;
  Layout();
  RedrawAll();
  if (OnScaleChanged) OnScaleChanged(this);
}

void TFormMapViewer::SetScrollPos(int x, int y) {
  FFrame->horizontalScrollBar()->setValue(x);
  FFrame->verticalScrollBar()->setValue(y);
}

void TFormMapViewer::Layout() {
  if (FInLayout) return;
  FInLayout = true;
  // Showing or hiding a scroll bar changes the client; settle within a few rounds.
  for (int round = 0; round < 3; ++round) {
    const QSize before = ClientSize();
    layoutOnce();
    if (ClientSize() == before) break;
  }
  FInLayout = false;
}

void TFormMapViewer::layoutOnce() {
  const QSize client = ClientSize();
  const int mapW = FMap ? std::max(FMap->Width, 0) * FCellSize : 0;
  const int mapH = FMap ? std::max(FMap->Height, 0) * FCellSize : 0;
  const int visW = std::min(mapW, client.width()), visH = std::min(mapH, client.height());
  if (FFront->Width() < visW || FFront->Height() < visH) {
    const int w = std::max(FFront->Width(), visW), h = std::max(FFront->Height(), visH);
    FBoards[0].SetSize(w, h);
    FBoards[1].SetSize(w, h);
  }
  FScrollX = std::clamp(FScrollX, 0, std::max(mapW - visW, 0));
  FScrollY = std::clamp(FScrollY, 0, std::max(mapH - visH, 0));
  FArmed = false;
  QScrollBar* h = FFrame->horizontalScrollBar();
  QScrollBar* v = FFrame->verticalScrollBar();
  h->setRange(0, std::max(mapW - client.width(), 0));
  h->setPageStep(std::max(client.width(), 1));
  h->setValue(FScrollX);
  v->setRange(0, std::max(mapH - client.height(), 0));
  v->setPageStep(std::max(client.height(), 1));
  v->setValue(FScrollY);
  FArmed = true;
  FPaintBox->setGeometry((client.width() - visW) / 2, (client.height() - visH) / 2, visW, visH);
}

void TFormMapViewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
}

QRect TFormMapViewer::VisibleCells() const {
  const QRect pic = PictureRect();
  if (pic.width() <= 0 || pic.height() <= 0) return {};
  const int left = FBoardX / FCellSize, top = FBoardY / FCellSize;
  const int right = (FBoardX + pic.width() - 1) / FCellSize;
  const int bottom = (FBoardY + pic.height() - 1) / FCellSize;
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

QPoint TFormMapViewer::CellAt(QPoint p) const {
  return {floorDiv(p.x() + FScrollX, FCellSize), floorDiv(p.y() + FScrollY, FCellSize)};
}

QPoint TFormMapViewer::NearestGridPoint(QPoint p) const {
  return {floorDiv(p.x() + FScrollX + FCellSize / 2, FCellSize),
          floorDiv(p.y() + FScrollY + FCellSize / 2, FCellSize)};
}

QRect TFormMapViewer::CellRectToPixels(const QRect& cells) const {
  return {cells.left() * FCellSize - FScrollX, cells.top() * FCellSize - FScrollY,
          cells.width() * FCellSize, cells.height() * FCellSize};
}

void TFormMapViewer::InvalidateCells(const QRect& cells) {
  if (!FMap || cells.isEmpty()) return;
  const bool loopX = FMap->ScrollType == 2 || FMap->ScrollType == 3;
  const bool loopY = FMap->ScrollType == 1 || FMap->ScrollType == 3;
  const bool outX = cells.left() < 0 || cells.right() >= FMap->Width;
  const bool outY = cells.top() < 0 || cells.bottom() >= FMap->Height;
  std::vector<int> dxs{0}, dys{0};
  if (loopX && outX) dxs.insert(dxs.end(), {FMap->Width, -FMap->Width});
  if (loopY && outY) dys.insert(dys.end(), {FMap->Height, -FMap->Height});
  for (int dx : dxs)
    for (int dy : dys) {
      const QRect copy = cells.translated(dx, dy);
      FPending.push_back(copy);
      FPaintBox->update(CellRectToPixels(copy));
    }
}

void TFormMapViewer::RedrawCells(const QRect& cells) {
  if (!FMap) return;
  const QRect r = cells & QRect(0, 0, FMap->Width, FMap->Height) & VisibleCells();
  for (int row = r.top(); row <= r.bottom(); ++row)
    for (int column = r.left(); column <= r.right(); ++column) DrawCell(column, row);
}

TVireoRect TFormMapViewer::CellOnBoard(int column, int row) const {
  const int x = column * FCellSize - FBoardX, y = row * FCellSize - FBoardY;
  return {x, y, x + FCellSize, y + FCellSize};
}

void TFormMapViewer::DrawMapCellAt(int column, int row) {
  TMapDrawContext context;
  context.Map = FMap;
  context.Chips = FChips;
  context.Panorama = FPanorama.get();
  context.Events = &FEventMap;
  context.CellSize = FCellSize;
  DrawMapCell(*FFront, context, column, row, column * FCellSize - FBoardX,
              row * FCellSize - FBoardY);
}

void TFormMapViewer::DrawCell(int column, int row) {
  DrawMapCellAt(column, row);
}

void TFormMapViewer::RedrawAll() {
  FPending.clear();
  FBoardX = FScrollX;
  FBoardY = FScrollY;
  FBoards[0].Clear();
  FBoards[1].Clear();
  RedrawCells(VisibleCells());
  FPaintBox->update();
  FFrame->viewport()->update();
}

void TFormMapViewer::ScrollUpdate() {
  if (FScrollX == FBoardX && FScrollY == FBoardY) return;
  const QRect pic = PictureRect();
  const int dx = FBoardX - FScrollX, dy = FBoardY - FScrollY;  // old minus new
  if (std::abs(dx) >= pic.width() || std::abs(dy) >= pic.height()) {
    RedrawAll();
    return;
  }
  std::swap(FFront, FBack);
  FFront->CopyRect(dx, dy, {0, 0, pic.width(), pic.height()}, *FBack);
  FBoardX = FScrollX;
  FBoardY = FScrollY;
  auto strip = [&](int x, int y, int w, int h) {
    const QPoint a = CellAt({x, y}), b = CellAt({x + w - 1, y + h - 1});
    RedrawCells(QRect(a, b));
  };
  if (dx > 0) strip(0, 0, dx, pic.height());
  if (dx < 0) strip(pic.width() + dx, 0, -dx, pic.height());
  if (dy > 0) strip(0, 0, pic.width(), dy);
  if (dy < 0) strip(0, pic.height() + dy, pic.width(), -dy);
}

void TFormMapViewer::flushPending() {
  std::vector<QRect> pending;
  pending.swap(FPending);
  for (const QRect& r : pending) RedrawCells(r);
}

void TFormMapViewer::paintPicture(QPaintEvent*) {
  ScrollUpdate();
  flushPending();
  QPainter painter(FPaintBox);
  const QRect pic = PictureRect();
  if (FFront->Width() > 0 && FFront->Height() > 0) {
    const QImage image(FFront->Bits(), FFront->Width(), FFront->Height(), FFront->BytesPerLine(),
                       QImage::Format_RGB16);
    painter.drawImage(QPoint(0, 0), image, QRect(0, 0, pic.width(), pic.height()));
  }
  PaintOverlay(painter);
}

void TFormMapViewer::paintBackground(QPaintEvent* event) {
  QPainter painter(FFrame->viewport());
  const QColor face = palette().color(QPalette::Button);
  const QColor shadow = palette().color(QPalette::Dark);
  QPixmap hatch(8, 8);
  hatch.fill(shadow);
  {
    QPainter p(&hatch);
    p.setPen(face);
    for (int i = 0; i < 8; ++i) p.drawPoint(i, i), p.drawPoint(7 - i, i);
  }
  // The pattern moves with the map.
  painter.setBrushOrigin(-FScrollX, -FScrollY);
  painter.fillRect(event->rect(), QBrush(hatch));
}

void TFormMapViewer::scrollBarsMoved() {
  if (!FArmed) return;
  const int x = FFrame->horizontalScrollBar()->value();
  const int y = FFrame->verticalScrollBar()->value();
  if (TVudMapTreeItem* item = MapTreeItem()) {
    if (FCellSize == 32) {
      item->ScrollX = x, item->ScrollY = y;
    } else {
      item->ScrollX += (x - FScrollX) * 32 / FCellSize;
      item->ScrollY += (y - FScrollY) * 32 / FCellSize;
    }
  }
  FScrollX = x;
  FScrollY = y;
  FPaintBox->update();
  FFrame->viewport()->update();
}

bool TFormMapViewer::panEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  if (event->type() == QEvent::MouseButtonPress && event->button() == Qt::MiddleButton) {
    FPanning = true;
    FPanStart = global;
    FPanScroll = {FScrollX, FScrollY};
    return true;
  }
  if (!FPanning) return false;
  if (event->type() == QEvent::MouseMove) {
    const QPoint delta = global - FPanStart;
    SetScrollPos(FPanScroll.x() - delta.x(), FPanScroll.y() - delta.y());
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease && event->button() == Qt::MiddleButton) {
    FPanning = false;
    FFrame->setFocus();
    return true;
  }
  return false;
}

int TFormMapViewer::AutoScrollDelta(int p, int page) {
  if (p < 16) return -2 * std::clamp((16 - p) / 2, 0, 20);
  if (p > page - 16) return 2 * std::clamp((p - page + 16) / 2, 0, 20);
  return 0;
}

void TFormMapViewer::AutoScrollTick() {
  const QPoint p = FPaintBox->mapFromGlobal(QCursor::pos());
  const QRect pic = PictureRect();
  const int dx = AutoScrollDelta(p.x(), pic.width()), dy = AutoScrollDelta(p.y(), pic.height());
  if (dx || dy) SetScrollPos(FScrollX + dx, FScrollY + dy);
  // Let the drag handlers see the cursor over the newly scrolled map.
  QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(QCursor::pos()), Qt::NoButton,
                   QApplication::mouseButtons(), QApplication::keyboardModifiers());
  PaintBoxMouseMove(&move);
}

void TFormMapViewer::PaintBoxMouseDown(QMouseEvent*) {}
void TFormMapViewer::PaintBoxMouseMove(QMouseEvent*) {}
void TFormMapViewer::PaintBoxMouseUp(QMouseEvent*) {}
void TFormMapViewer::PaintBoxDoubleClick(QMouseEvent*) {}
void TFormMapViewer::PaintOverlay(QPainter&) {}
