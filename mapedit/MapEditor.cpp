#include "MapEditor.h"

#include "Hourglass.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapDraw.h"
#include "MessageService.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace {

const QString kNotAvailable = QStringLiteral("Esta función todavía no está disponible.");

int floorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool layerMode(int mode) {
  return mode == emLower || mode == emUpper;
}

}  // namespace

QMimeData* TileBlockToMime(const std::vector<std::uint8_t>& block) {
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kTileMimeType),
                QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
  return mime;
}

bool MimeHasTileBlock(const QMimeData* mime) {
  return mime && mime->hasFormat(QString::fromLatin1(kTileMimeType));
}

TFormMapEditor::TFormMapEditor(QWidget* parent)
    : TFormMapViewer(parent), FEngine(std::make_unique<TMapPaintEngine>(FNoMap)) {
  setObjectName(QStringLiteral("FormMapEditor"));
  FPickTimer = new QTimer(this);
  FPickTimer->setSingleShot(true);
  FPickTimer->setInterval(150);
  connect(FPickTimer, &QTimer::timeout, this, [this] { FPickArmed = true; });
  FAntsTimer = new QTimer(this);
  FAntsTimer->setInterval(50);
  connect(FAntsTimer, &QTimer::timeout, this, [this] {
    const TCellRect& s = FEngine->Selection();
    if (!s.Empty()) invalidatePixels(CellRectToPixels(QRect(s.X, s.Y, s.W, s.H)));
  });
  FAntsTimer->start();
  MapFrame()->installEventFilter(this);
  buildMenus();
}

TFormMapEditor::~TFormMapEditor() {
  if (Map()) Map()->OnCellsChanged = nullptr;
}

QColor TFormMapEditor::ModeColor(int mode) {
  switch (mode) {
    case emLower: return QColor(128, 255, 128);
    case emUpper: return QColor(128, 192, 255);
    default: return QColor(255, 255, 128);
  }
}

bool TFormMapEditor::cellInMap(QPoint cell) const {
  return Map() && cell.x() >= 0 && cell.y() >= 0 && cell.x() < Map()->Width &&
         cell.y() < Map()->Height;
}

// --- Repainting -----------------------------------------------------------------------------

void TFormMapEditor::cellsChanged(int x, int y, int w, int h) {
  FDirty |= QRect(x, y, w, h);
}

void TFormMapEditor::flushDirty() {
  if (FDirty.isEmpty()) return;
  InvalidateCells(FDirty);
  FDirty = {};
}

void TFormMapEditor::invalidatePixels(const QRect& pixels) {
  PaintBox()->update(pixels.adjusted(-2, -2, 2, 2));
}

void TFormMapEditor::DrawCell(int column, int row) {
  TVudMap* map = Map();
  if (!map || column < 0 || row < 0 || column >= map->Width || row >= map->Height) return;
  const int s = CellSize();
  const TVireoRect r = CellOnBoard(column, row);
  const int x = r.Left, y = r.Top;
  TVireoBoard& board = FrontBoard();
  TVudChipSetGraphic& chips = ChipSetGraphic();
  const int lower = map->LowerLayer.Get(column, row);
  const int upper = map->UpperLayer.Get(column, row);
  if (PanoramaShows(*map, Panorama())) {
    board.StretchSheet({x, y, x + s, y + s}, *Panorama(),
                       {column * 16, row * 16, column * 16 + 16, row * 16 + 16});
    chips.SetTransparentMode(true);
  } else {
    if (TileKindOf(lower) == TTileKind::None) FillBoardRect(board, {x, y, x + s, y + s}, 0);
    chips.SetTransparentMode(false);
  }
  // While painting, the other layer is shown dimmed.
  const bool painting = layerMode(FMode) && FTool >= mtPen;
  const int dimmedOpacity = chips.DimmedSheet().Opacity;
  chips.DimmedSheet().Opacity = 255;
  chips.DrawTile(board, x, y, lower, 0, painting && FMode == emUpper, s);
  chips.SetTransparentMode(true);
  if (!chips.SkipsTile(upper)) {
    const bool dim = painting && FMode == emLower;
    if (dim) chips.DimmedSheet().Opacity = 160;
    chips.DrawTile(board, x, y, upper, 0, dim, s);
  }
  chips.DimmedSheet().Opacity = dimmedOpacity;
  const int value = EventMap().EventAt(column, row);
  if (value > 0) EventMap().DrawEventCell(board, x, y, value, FMode != emEvents, s);
  if (FMode == emEvents) {
    FillBoardRect(board, {x, y + s - 1, x + s, y + s}, 0);
    FillBoardRect(board, {x + s - 1, y, x + s, y + s}, 0);
  }
}

void TFormMapEditor::ScrollUpdate() {
  TFormMapViewer::ScrollUpdate();
}

void TFormMapEditor::RedrawAll() {
  TFormMapViewer::RedrawAll();
}

void TFormMapEditor::ReloadMap() {
  TVudMap* map = Map();
  if (map && &FEngine->Map() != map) {
    FEngine->Map().OnCellsChanged = nullptr;  // the previous map no longer reports here
    auto engine = std::make_unique<TMapPaintEngine>(*map);
    engine->Brushes = FEngine->Brushes;
    engine->Layer = FEngine->Layer;
    FEngine = std::move(engine);
  }
  if (map) {
    map->OnCellsChanged = [this](int x, int y, int w, int h) { cellsChanged(x, y, w, h); };
    FEngine->Reload();
  }
  FStroking = FSelecting = FDraggingSel = FPicking = FEventDrag = false;
  FBrushRect = {};
  TFormMapViewer::ReloadMap();
  FEngine->SetMergeTargets(ChipSetGraphic());
  FDirty = {};
}

// --- Modes and commands ---------------------------------------------------------------------

void TFormMapEditor::SetEditMode(int mode) {
  if (mode == FMode || mode < emLower || mode > emNone) return;
  cancelStroke();
  FMode = mode;
  if (layerMode(mode)) FEngine->Layer = mode;
  if (mode == emEvents) {
    FBrushRect = {};
    FCursor = {-1, -1};
    FEngine->DropSelection();
  } else if (layerMode(mode)) {
    const QPoint p = PaintBox()->mapFromGlobal(QCursor::pos());
    if (PaintBox()->rect().contains(p)) setBrushRect(QRect(CellAt(p) - FAnchor,
                                                           QSize(Brush(mode).Width, Brush(mode).Height)));
  }
  updateCursorShape();
  if (OnCursorMoved) OnCursorMoved(this);
  RedrawAll();
}

void TFormMapEditor::SetTool(int tool) {
  if (tool < mtSelect || tool > mtFill) return;
  cancelStroke();
  FEngine->DropSelection();
  FTool = tool;
  updateCursorShape();
  RedrawAll();
}

void TFormMapEditor::Undo() {
  if (!Map() || FEngine->UndoManager().Count() <= 0) return;
  HourglassGuard hourglass;
  FEngine->Undo();
  FDirty = {};
  RedrawAll();
}

void TFormMapEditor::ClearUndo() {
  FEngine->UndoManager().ClearHistory();
}

void TFormMapEditor::BrushChanged() {
  FAnchor = {0, 0};
  if (FEngine->SelectionLiftedNotMoved()) FEngine->LiftSelection();
  if (!FBrushRect.isEmpty()) {
    const TVudCurrentChip& b = Brush(FMode);
    setBrushRect(QRect(FCursor, QSize(b.Width, b.Height)));
  }
}

void TFormMapEditor::FinishStroke() {
  if (FPicking) finishPick();
  if (!FStroking && !FSelecting && !FDraggingSel) return;
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(PaintBox()->mapFromGlobal(QCursor::pos())),
                 QPointF(QCursor::pos()), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  PaintBoxMouseUp(&up);
}

void TFormMapEditor::HideBrush() {
  setBrushRect({});
}

void TFormMapEditor::setBrushRect(const QRect& rect) {
  if (rect == FBrushRect) return;
  if (!FBrushRect.isEmpty()) invalidatePixels(CellRectToPixels(FBrushRect));
  FBrushRect = rect;
  if (!rect.isEmpty()) invalidatePixels(CellRectToPixels(rect));
}

void TFormMapEditor::updateCursorShape() {
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (FPicking) shape = Qt::PointingHandCursor;
  else if (layerMode(FMode))
    switch (FTool) {
      case mtSelect: {
        const TCellRect& s = FEngine->Selection();
        shape = !s.Empty() && s.Contains(FCursor.x(), FCursor.y()) ? Qt::SizeAllCursor : Qt::CrossCursor;
        break;
      }
      case mtZoom: shape = Qt::SizeVerCursor; break;
      case mtFill: shape = Qt::UpArrowCursor; break;
      default: shape = Qt::CrossCursor; break;
    }
  PaintBox()->setCursor(shape);
}

void TFormMapEditor::readModifiers(QMouseEvent* event) {
  FEngine->Shift = event->modifiers() & Qt::ShiftModifier;
  FEngine->Ctrl = event->modifiers() & Qt::ControlModifier;
}

void TFormMapEditor::cancelStroke() {
  if (FPicking) {
    FPicking = false;
    FPickTimer->stop();
    FAnchor = FOldAnchor;
  }
  if (FStroking || FSelecting) {
    FEngine->CancelStroke();
    FStroking = FSelecting = false;
  }
  if (FDraggingSel) {
    FDraggingSel = false;
    FEngine->CancelSelectionDrag();
  }
  FEventDrag = false;
  AutoScrollTimer()->stop();
  flushDirty();
  PaintBox()->update();
}

// --- Mouse ----------------------------------------------------------------------------------

void TFormMapEditor::PaintBoxMouseDown(QMouseEvent* event) {
  readModifiers(event);
  if (!Map()) return;
  if (FMode == emEvents) eventMouseDown(event);
  else if (layerMode(FMode)) layerMouseDown(event);
  flushDirty();
}

void TFormMapEditor::PaintBoxMouseMove(QMouseEvent* event) {
  readModifiers(event);
  if (!Map()) return;
  if (FMode == emEvents) eventMouseMove(event);
  else if (layerMode(FMode)) layerMouseMove(event);
  flushDirty();
}

void TFormMapEditor::PaintBoxMouseUp(QMouseEvent* event) {
  readModifiers(event);
  if (!Map()) return;
  if (FMode == emEvents) eventMouseUp(event);
  else if (layerMode(FMode)) layerMouseUp(event);
  flushDirty();
}

void TFormMapEditor::PaintBoxDoubleClick(QMouseEvent* event) {
  if (!Map()) return;
  if (layerMode(FMode) && event->button() == Qt::RightButton && FTool != mtZoom) {
    cancelStroke();
    SetEditMode(FMode == emLower ? emUpper : emLower);
    if (OnLayerToggled) OnLayerToggled(this);
  } else if (FMode == emEvents && event->button() == Qt::LeftButton) {
    selectEventCell(CellAt(event->position().toPoint()));
    UpdateEventMenu();
    if (FActCreate->isVisible() && FActCreate->isEnabled()) FActCreate->trigger();
    else if (FActEdit->isVisible() && FActEdit->isEnabled()) FActEdit->trigger();
  }
}

void TFormMapEditor::zoomAt(QPoint p, bool in) {
  const int size = CellSize();
  const int next = in ? std::min(size * 2, 32) : std::max(size / 2, 4);
  if (next == size) return;
  // Keep the map point under the cursor.
  const int mapX = (p.x() + ScrollPos().x()) * next / size;
  const int mapY = (p.y() + ScrollPos().y()) * next / size;
  const QPoint before = PaintBox()->mapTo(MapFrame()->viewport(), p);
  SetCellSize(next);
  const QRect pic = PictureRect();
  SetScrollPos(mapX - (before.x() - pic.left()), mapY - (before.y() - pic.top()));
  RedrawAll();
}

void TFormMapEditor::layerMouseDown(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QPoint cell = CellAt(pos);
  const Qt::MouseButton button = event->button();
  // Another button while a stroke or a pick runs cancels it.
  if (FStroking || FSelecting || FDraggingSel || FPicking) {
    if (button != Qt::MiddleButton) cancelStroke();
    return;
  }
  if (FTool == mtZoom) {
    if (button == Qt::LeftButton || button == Qt::RightButton) zoomAt(pos, button == Qt::LeftButton);
    return;
  }
  if (button == Qt::RightButton) {
    if (FTool == mtSelect) {
      const TCellRect& s = FEngine->Selection();
      if (s.Empty() || !s.Contains(cell.x(), cell.y())) FEngine->DropSelection();
      PaintBox()->update();
      UpdateTileMenu();
      FTileMenu->popup(event->globalPosition().toPoint());
    } else {
      startPick(cell);
    }
    return;
  }
  if (button != Qt::LeftButton) return;
  if (FTool == mtSelect) {
    const TCellRect& s = FEngine->Selection();
    if (!s.Empty() && s.Contains(cell.x(), cell.y())) {
      FDraggingSel = true;
      FDragPixel = pos;
      FDragOrigin = {s.X, s.Y};
      return;
    }
    FSelAnchor = NearestGridPoint(pos);
    FSelAnchor.setX(std::clamp(FSelAnchor.x(), 0, Map()->Width));
    FSelAnchor.setY(std::clamp(FSelAnchor.y(), 0, Map()->Height));
    FEngine->BeginStroke(mtSelect, cell.x(), cell.y(), cell.x(), cell.y());
    FSelecting = true;
    AutoScrollTimer()->start();
    PaintBox()->update();
    return;
  }
  // The brush rectangle under the press itself (no move need have come first).
  const QRect brush(cell - FAnchor, QSize(Brush(FMode).Width, Brush(FMode).Height));
  setBrushRect(brush);
  FCursor = cell;
  if (FTool == mtFill) {
    HourglassGuard hourglass;
    FEngine->BeginStroke(FTool, brush.x(), brush.y(), cell.x(), cell.y());
  } else {
    FEngine->BeginStroke(FTool, brush.x(), brush.y(), cell.x(), cell.y());
  }
  FStroking = true;
}

void TFormMapEditor::layerMouseMove(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QPoint cell = CellAt(pos);
  const bool moved = cell != FCursor;
  FCursor = cell;
  if (FPicking) {
    movePick(cell);
  } else if (FTool != mtZoom) {
    const TVudCurrentChip& b = Brush(FMode);
    setBrushRect(QRect(cell - FAnchor, QSize(b.Width, b.Height)));
  }
  if (FStroking) FEngine->MoveStroke(FBrushRect.x(), FBrushRect.y(), cell.x(), cell.y());
  if (FSelecting) {
    QPoint g = NearestGridPoint(pos);
    g.setX(std::clamp(g.x(), 0, Map()->Width));
    g.setY(std::clamp(g.y(), 0, Map()->Height));
    const QRect r = QRect(FSelAnchor, g).normalized();
    FEngine->SetSelection({r.x(), r.y(), std::abs(g.x() - FSelAnchor.x()), std::abs(g.y() - FSelAnchor.y())});
    PaintBox()->update();
  }
  if (FDraggingSel) {
    // One cell per half cell passed beyond the previous step.
    const int s = CellSize();
    const QPoint d = pos - FDragPixel;
    const int dx = floorDiv(d.x() + s / 2, s), dy = floorDiv(d.y() + s / 2, s);
    FEngine->MoveSelectionTo(FDragOrigin.x() + dx, FDragOrigin.y() + dy);
    PaintBox()->update();
  }
  if (FTool == mtSelect) updateCursorShape();
  if (moved && OnCursorMoved) OnCursorMoved(this);
}

void TFormMapEditor::layerMouseUp(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (FPicking && button == Qt::RightButton) {
    finishPick();
    return;
  }
  if (button != Qt::LeftButton) return;
  if (FStroking) {
    FStroking = false;
    FEngine->EndStroke();
  } else if (FSelecting) {
    FSelecting = false;
    AutoScrollTimer()->stop();
    FEngine->EndStroke();
    PaintBox()->update();
  } else if (FDraggingSel) {
    FDraggingSel = false;
    if (!FEngine->SelectionLiftedNotMoved()) Map()->Modified = true;
  }
}

// --- Picking --------------------------------------------------------------------------------

void TFormMapEditor::startPick(QPoint cell) {
  if (!cellInMap(cell)) return;
  FPicking = true;
  FPickArmed = false;
  FPickStart = cell;
  FOldAnchor = FAnchor;
  FAnchor = {0, 0};
  setBrushRect(QRect(cell, QSize(1, 1)));
  updateCursorShape();
  FPickTimer->start();
}

void TFormMapEditor::movePick(QPoint cell) {
  if (!FPickArmed) return;
  const int x = std::clamp(cell.x(), std::max(FPickStart.x() - 5, 0),
                           std::min(FPickStart.x() + 5, Map()->Width - 1));
  const int y = std::clamp(cell.y(), std::max(FPickStart.y() - 5, 0),
                           std::min(FPickStart.y() + 5, Map()->Height - 1));
  const QRect r = QRect(FPickStart, QPoint(x, y)).normalized();
  FAnchor = QPoint(x, y) - r.topLeft();
  setBrushRect(r);
}

void TFormMapEditor::finishPick() {
  FPicking = false;
  FPickTimer->stop();
  const QRect r = FBrushRect;
  if (!r.isEmpty()) {
    Brush(FMode) = FEngine->PickBrush({r.x(), r.y(), r.width(), r.height()});
    if (OnBrushPicked) OnBrushPicked(this);
  }
  updateCursorShape();
}

// --- Event mode -----------------------------------------------------------------------------

void TFormMapEditor::selectEventCell(QPoint cell) {
  if (!cellInMap(cell)) return;
  if (FSelCell.x() >= 0) invalidatePixels(CellRectToPixels(QRect(FSelCell, QSize(1, 1))));
  FSelCell = cell;
  FCursor = cell;
  invalidatePixels(CellRectToPixels(QRect(cell, QSize(1, 1))));
  if (OnCursorMoved) OnCursorMoved(this);
}

void TFormMapEditor::eventMouseDown(QMouseEvent* event) {
  const QPoint cell = CellAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  if (!cellInMap(cell)) return;
  selectEventCell(cell);
  if (event->button() == Qt::LeftButton && EventMap().EventAt(cell.x(), cell.y()) > 0) {
    FEventDrag = true;
    FEventFrom = cell;
    FEventTarget = cell;
  } else if (event->button() == Qt::RightButton) {
    UpdateEventMenu();
    FEventMenu->popup(event->globalPosition().toPoint());
  }
}

void TFormMapEditor::eventMouseMove(QMouseEvent* event) {
  const QPoint cell = CellAt(event->position().toPoint());
  if (FEventDrag && cell != FEventTarget) {
    invalidatePixels(CellRectToPixels(QRect(FEventTarget, QSize(1, 1))));
    FEventTarget = cell;
    invalidatePixels(CellRectToPixels(QRect(cell, QSize(1, 1))));
  }
  if (cell != FCursor) {
    FCursor = cell;
    if (OnCursorMoved) OnCursorMoved(this);
  }
}

void TFormMapEditor::eventMouseUp(QMouseEvent* event) {
  if (!FEventDrag || event->button() != Qt::LeftButton) return;
  FEventDrag = false;
  const QPoint to = CellAt(event->position().toPoint());
  const int what = EventMap().EventAt(FEventFrom.x(), FEventFrom.y());
  PaintBox()->update();
  if (!cellInMap(to) || to == FEventFrom || EventMap().EventAt(to.x(), to.y()) != 0) return;
  if (what >= TVudEventMap::spPartyCode && MapTree()) {
    TVudMapStartPosition& sp = MapTree()->StartPosition;
    int32_t* xy[4][2] = {{&sp.PartyX, &sp.PartyY}, {&sp.BoatX, &sp.BoatY},
                         {&sp.ShipX, &sp.ShipY}, {&sp.AirshipX, &sp.AirshipY}};
    const int i = what - TVudEventMap::spPartyCode;
    *xy[i][0] = to.x(), *xy[i][1] = to.y();
  } else if (what > 0 && what < TVudEventMap::spPartyCode) {
    TVudEventItem* e = Map()->Events.Find(what);
    if (!e) return;
    e->X = to.x(), e->Y = to.y();
  } else {
    return;
  }
  Map()->Modified = true;
  EventsChanged();
  selectEventCell(to);
}

void TFormMapEditor::notAvailable() {
  cancelStroke();
  Messages().Information(kNotAvailable);
}

void TFormMapEditor::setPartyStart() {
  cancelStroke();
  if (!MapTree() || !cellInMap(FSelCell)) return;
  TVudMapStartPosition& sp = MapTree()->StartPosition;
  sp.PartyMapID = MapTree()->ActiveMapID ? MapTree()->ActiveMapID : Map()->ID;
  sp.PartyX = FSelCell.x(), sp.PartyY = FSelCell.y();
  Map()->Modified = true;
  EventsChanged();
}

// --- Menus and keys -------------------------------------------------------------------------

void TFormMapEditor::buildMenus() {
  FTileMenu = new QMenu(this);
  FTileMenu->setObjectName(QStringLiteral("TileMenu"));
  FActCut = FTileMenu->addAction(QStringLiteral("C&ortar"), this, &TFormMapEditor::TileCut);
  FActCut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  FActCopy = FTileMenu->addAction(QStringLiteral("&Copiar"), this, &TFormMapEditor::TileCopy);
  FActCopy->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
  FActPaste = FTileMenu->addAction(QStringLiteral("&Pegar"), this, &TFormMapEditor::TilePaste);
  FActPaste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
  FActClear = FTileMenu->addAction(QStringLiteral("&Limpiar"), this, &TFormMapEditor::TileClear);
  FActClear->setShortcut(QKeySequence(Qt::Key_Delete));
  FTileMenu->addSeparator();
  FActSelectAll =
      FTileMenu->addAction(QStringLiteral("Seleccionar &todo"), this, &TFormMapEditor::TileSelectAll);
  FActSelectAll->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
  for (QAction* a : FTileMenu->actions()) a->setShortcutContext(Qt::WidgetShortcut);

  FEventMenu = new QMenu(this);
  FEventMenu->setObjectName(QStringLiteral("EventMenu"));
  auto add = [this](const char* text, auto slot) {
    return FEventMenu->addAction(QString::fromUtf8(text), this, slot);
  };
  auto na = [this] { notAvailable(); };
  FActCreate = add("Crear &evento...", na);
  FActEdit = add("Editar &evento...", na);
  FEventMenu->addSeparator();
  FActEvCut = add("C&ortar", na);
  FActEvCopy = add("&Copiar", na);
  FActEvPaste = add("&Pegar", na);
  FActEvDelete = add("&Eliminar", na);
  FEventMenu->addSeparator();
  FActTeleport = add("Crear un evento de &teletransporte...", na);
  FActParty = add("Configurar como po&sición inicial del grupo", [this] { setPartyStart(); });
  FActVehicle = add("Configurar como posición inicial de ve&hículo...", na);
  FActCreate->setShortcut(QKeySequence(Qt::Key_Return));
  FActEdit->setShortcut(QKeySequence(Qt::Key_Return));
  FActEvCut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  FActEvCopy->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
  FActEvPaste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
  FActEvDelete->setShortcut(QKeySequence(Qt::Key_Delete));
  for (QAction* a : FEventMenu->actions()) a->setShortcutContext(Qt::WidgetShortcut);
}

void TFormMapEditor::UpdateTileMenu() {
  const bool has = !FEngine->Selection().Empty();
  FActCut->setEnabled(has);
  FActCopy->setEnabled(has);
  FActClear->setEnabled(has);
  FActPaste->setEnabled(MimeHasTileBlock(QApplication::clipboard()->mimeData()));
}

void TFormMapEditor::UpdateEventMenu() {
  const int v = cellInMap(FSelCell) ? EventMap().EventAt(FSelCell.x(), FSelCell.y()) : 0;
  const bool something = v > 0, start = v >= TVudEventMap::spPartyCode;
  FActCreate->setVisible(!something);
  FActEdit->setVisible(something);
  FActEdit->setEnabled(something && !start);
  FEventMenu->setDefaultAction(something ? FActEdit : FActCreate);
  FActEvCut->setEnabled(something);
  FActEvCopy->setEnabled(something);
  FActEvDelete->setEnabled(something);
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  FActEvPaste->setEnabled(!something && mime && mime->hasFormat(QStringLiteral("application/x-taleforge-563")));
  FActTeleport->setEnabled(!something);
  FActParty->setEnabled(!something);
  FActVehicle->setEnabled(!something);
}

void TFormMapEditor::TileCopy() {
  if (FEngine->Selection().Empty()) return;
  QApplication::clipboard()->setMimeData(TileBlockToMime(FEngine->CopySelection()));
}

void TFormMapEditor::TileCut() {
  if (FEngine->Selection().Empty()) return;
  TileCopy();
  TileClear();
}

void TFormMapEditor::TileClear() {
  if (FEngine->Selection().Empty()) return;
  FEngine->ClearSelection();
  flushDirty();
  PaintBox()->update();
}

void TFormMapEditor::TilePaste() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (!Map() || !MimeHasTileBlock(mime)) return;
  const QByteArray data = mime->data(QString::fromLatin1(kTileMimeType));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
  if (data.size() < 4) return;
  const int w = bytes[0] | bytes[1] << 8, h = bytes[2] | bytes[3] << 8;
  int left = 0, top = 0;
  const QSize client = ClientSize();
  PasteOrigin(std::min(client.width(), PictureRect().width()),
              std::min(client.height(), PictureRect().height()), ScrollPos().x(), ScrollPos().y(),
              CellSize(), w, h, left, top);
  FEngine->Paste(bytes, std::size_t(data.size()), left, top);
  flushDirty();
  PaintBox()->update();
}

void TFormMapEditor::TileSelectAll() {
  if (!Map()) return;
  FEngine->SelectAll();
  PaintBox()->update();
}

bool TFormMapEditor::keyPress(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int key = event->key();
  if (ctrl && key == Qt::Key_Z) {
    Undo();
    return true;
  }
  QAction* action = nullptr;
  if (layerMode(FMode) && FTool == mtSelect) {
    UpdateTileMenu();
    if (ctrl && key == Qt::Key_A) action = FActSelectAll;
    else if (ctrl && key == Qt::Key_C) action = FActCopy;
    else if (ctrl && key == Qt::Key_V) action = FActPaste;
    else if (ctrl && key == Qt::Key_X) action = FActCut;
    else if (key == Qt::Key_Delete) action = FActClear;
  } else if (FMode == emEvents && cellInMap(FSelCell)) {
    UpdateEventMenu();
    QPoint step;
    if (key == Qt::Key_Left) step = {-1, 0};
    else if (key == Qt::Key_Right) step = {1, 0};
    else if (key == Qt::Key_Up) step = {0, -1};
    else if (key == Qt::Key_Down) step = {0, 1};
    if (!step.isNull()) {
      const QPoint to = FSelCell + step;
      if (cellInMap(to)) {
        selectEventCell(to);
        // Keep the selected cell in view.
        const QRect px = CellRectToPixels(QRect(to, QSize(1, 1)));
        const QRect pic = PictureRect();
        int sx = ScrollPos().x(), sy = ScrollPos().y();
        if (px.left() < 0) sx += px.left();
        if (px.right() >= pic.width()) sx += px.right() - pic.width() + 1;
        if (px.top() < 0) sy += px.top();
        if (px.bottom() >= pic.height()) sy += px.bottom() - pic.height() + 1;
        SetScrollPos(sx, sy);
      }
      return true;
    }
    if (ctrl && key == Qt::Key_C) action = FActEvCopy;
    else if (ctrl && key == Qt::Key_V) action = FActEvPaste;
    else if (ctrl && key == Qt::Key_X) action = FActEvCut;
    else if (key == Qt::Key_Delete) action = FActEvDelete;
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
      action = FActCreate->isVisible() ? FActCreate : FActEdit;
  }
  if (!action) return false;
  if (action->isEnabled()) action->trigger();
  return true;
}

bool TFormMapEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MapFrame() && event->type() == QEvent::KeyPress)
    if (keyPress(static_cast<QKeyEvent*>(event))) return true;
  return TFormMapViewer::eventFilter(watched, event);
}

// --- Frames ---------------------------------------------------------------------------------

void TFormMapEditor::PaintOverlay(QPainter& painter) {
  const bool painting = layerMode(FMode) && FTool >= mtPen;
  if (!FBrushRect.isEmpty() && (FMode == emEvents || painting || FPicking)) {
    QRect r = CellRectToPixels(FBrushRect);
    if (FMode == emEvents) r.adjust(-1, -1, 0, 0);
    const QColor colours[4] = {Qt::black, ModeColor(FMode), Qt::white, Qt::black};
    for (int i = 0; i < 4; ++i) {
      painter.setPen(colours[i]);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(r.adjusted(i, i, -i - 1, -i - 1));
    }
  }
  if (FMode == emEvents && cellInMap(FSelCell)) {
    const QRect r = CellRectToPixels(QRect(FSelCell, QSize(1, 1))).adjusted(-1, -1, 0, 0);
    const QColor colours[4] = {Qt::black, ModeColor(emEvents), Qt::white, Qt::black};
    for (int i = 0; i < 4; ++i) {
      painter.setPen(colours[i]);
      painter.drawRect(r.adjusted(i, i, -i - 1, -i - 1));
    }
  }
  if (FEventDrag && cellInMap(FEventTarget)) {
    const QRect r = CellRectToPixels(QRect(FEventTarget, QSize(1, 1))).adjusted(-1, -1, 0, 0);
    const QColor colours[4] = {Qt::black, QColor(160, 160, 160), Qt::white, Qt::black};
    for (int i = 0; i < 4; ++i) {
      painter.setPen(colours[i]);
      painter.drawRect(r.adjusted(i, i, -i - 1, -i - 1));
    }
  }
  const TCellRect& s = FEngine->Selection();
  if (layerMode(FMode) && FTool == mtSelect && !s.Empty()) {
    // Marching ants: white dots on black travelling clockwise at about 16 pixels a second.
    const QRect r = CellRectToPixels(QRect(s.X, s.Y, s.W, s.H)).adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(r);
    QPen dots(Qt::white, 1, Qt::CustomDashLine);
    dots.setDashPattern({1, 1});
    dots.setDashOffset(qreal(-((QDateTime::currentMSecsSinceEpoch() * 16 / 1024) % 96)));
    painter.setPen(dots);
    painter.drawLine(r.topRight(), r.topLeft());
    painter.drawLine(r.bottomRight(), r.topRight());
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
  }
}
