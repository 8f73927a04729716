#include "ED_Map.h"

#include "DataBase.h"
#include "ED_Map2.h"
#include "HelpService.h"
#include "LD_Map.h"
#include "LD_MapTree.h"
#include "MapEditUtils.h"
#include "Materials.h"
#include "TextCodec.h"
#include "VireoSheet.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <qdrawutil.h>
#include <span>

#ifdef TF_HAVE_PICKERS
#include "SelBackdrop.h"
#include "SelPanorama.h"
#endif
#ifdef TF_HAVE_SOUNDFORMS
#include "SelMusic.h"
#endif

namespace {

const char* const kEncounterMime = "application/x-taleforge-569";
int gLastTroop = 1;

// A spin edit whose text is empty while it is disabled.
class TBlankingSpinBox : public QSpinBox {
public:
  using QSpinBox::QSpinBox;

protected:
  QString textFromValue(int value) const override {
    return isEnabled() ? QSpinBox::textFromValue(value) : QString();
  }
  void changeEvent(QEvent* event) override {
    QSpinBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) lineEdit()->setText(textFromValue(value()));
  }
};

std::uint16_t rgb565(const QColor& c) {
  return std::uint16_t((c.red() >> 3) << 11 | (c.green() >> 2) << 5 | (c.blue() >> 3));
}

bool openMusicPicker(QWidget* owner, TVudMusic& music) {
#ifdef TF_HAVE_SOUNDFORMS
  TFormSelMusic picker(owner);
  TMusicSetting setting;
  setting.Name = FromCp1252(music.Name);
  setting.FadeIn = music.FadeIn;
  setting.Volume = music.Volume;
  setting.Tempo = music.Tempo;
  setting.Balance = music.Balance;
  if (!picker.Execute(setting)) return false;
  music.Name = ToCp1252(setting.Name);
  music.FadeIn = setting.FadeIn;
  music.Volume = setting.Volume;
  music.Tempo = setting.Tempo;
  music.Balance = setting.Balance;
  return true;
#else
  // Music picker hook: the sound layer is not built into this configuration.
  Q_UNUSED(owner);
  Q_UNUSED(music);
  return false;
#endif
}

// Without the picker family in this configuration the buttons open nothing.
template <class TPicker>
bool openMaterialPicker(QWidget* owner, QString& name) {
#ifdef TF_HAVE_PICKERS
  TPicker picker(owner);
  return picker.Execute(name);
#else
  Q_UNUSED(owner);
  Q_UNUSED(name);
  return false;
#endif
}

#ifndef TF_HAVE_PICKERS
struct TFormSelPanorama;
struct TFormSelBackdrop;
#endif

TEDMapPickers defaultPickers() {
  return {openMaterialPicker<TFormSelPanorama>, openMaterialPicker<TFormSelBackdrop>, openMusicPicker};
}

QLabel* label(const char* text, QWidget* parent) {
  return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

// ---- helpers ------------------------------------------------------------------------------

TClickBox::TClickBox(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setCursor(Qt::PointingHandCursor);
}

void TClickBox::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
    OnClick();
}

void TClickBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && OnClick) {
    OnClick();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void StoreRootChoices(TVudMapTreeItem& item, bool underRoot) {
  if (!underRoot) return;
  for (uint8_t* choice : {&item.MusicType, &item.BattleBackType, &item.Teleport, &item.Escape,
                          &item.Save})
    if (*choice == 0) *choice = 1;
}

QRect FitPreviewRect(QSize picture, QSize area) {
  if (picture.isEmpty() || area.isEmpty()) return {};
  int w = picture.width(), h = picture.height();
  if (w > area.width() || h > area.height()) {
    // The side that overflows more decides the scale.
    if (qint64(area.width()) * h > qint64(w) * area.height()) {
      w = std::max(1, int(qint64(w) * area.height() / h));
      h = area.height();
    } else {
      h = std::max(1, int(qint64(h) * area.width() / w));
      w = area.width();
    }
  }
  return {(area.width() - w) / 2, (area.height() - h) / 2, w, h};
}

QStringList DataBaseChipSetNames() {
  QStringList names;
  if (TVudDataBase* db = TVudDataBase::Instance())
    for (int i = 0; i < db->ChipSets().Count(); ++i)
      names << FromCp1252(db->ChipSets().At(i)->Name);
  return names;
}

QStringList DataBaseTroopNames() {
  QStringList names;
  if (TVudDataBase* db = TVudDataBase::Instance())
    for (int i = 0; i < db->MonGroups().Count(); ++i)
      names << FromCp1252(db->MonGroups().At(i)->Name);
  return names;
}

TEDMapPickers& EDMapPickers() {
  static TEDMapPickers pickers = defaultPickers();
  return pickers;
}

void ResetEDMapPickers() {
  EDMapPickers() = defaultPickers();
}

// ---- encounter list -----------------------------------------------------------------------

TEncounterList::TEncounterList(bool areaCaptions, QWidget* parent) : QListWidget(parent) {
  setObjectName("ListEncounters");
  FMenu = new QMenu(this);
  FMenu->setObjectName("PopupMenuEncounters");
  auto add = [this](const char* caption, QList<QKeySequence> keys, void (TEncounterList::*slot)()) {
    QAction* a = FMenu->addAction(QString::fromUtf8(caption));
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WidgetShortcut);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    return a;
  };
  FModify = add("&Modificar", {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                &TEncounterList::Modify);
  FMenu->setDefaultAction(FModify);
  FMenu->addSeparator();
  FCut = add("&Cortar", {QKeySequence("Ctrl+X")}, &TEncounterList::Cut);
  FCopy = add("Co&piar", {QKeySequence("Ctrl+C")}, &TEncounterList::Copy);
  FPaste = add(areaCaptions ? "P&egar" : "&Pegar", {QKeySequence("Ctrl+V")}, &TEncounterList::Paste);
  FMenu->addSeparator();
  FDelete = add("&Eliminar", {QKeySequence(Qt::Key_Delete)}, &TEncounterList::Delete);
  connect(this, &QListWidget::itemDoubleClicked, this, [this] { Modify(); });
  connect(this, &QListWidget::currentRowChanged, this, [this] { UpdateActions(); });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateActions(); });
  rebuild(0);
}

int TEncounterList::LastTroop() {
  return gLastTroop;
}

void TEncounterList::ResetLastTroop() {
  gLastTroop = 1;
}

void TEncounterList::SetTroopNames(const QStringList& names) {
  FTroopNames = names;
  rebuild(currentRow());
}

void TEncounterList::SetEncounters(const TVudEncount& encounters) {
  FTroops.clear();
  // The limit is for adding: a longer list from another program is kept whole, not cut on OK.
  for (int i = 0; i < encounters.Count(); ++i)
    FTroops.push_back(encounters.At(i)->TroopID);
  rebuild(0);
}

void TEncounterList::StoreEncounters(TVudEncount& encounters) const {
  encounters.Clear();
  for (int troop : FTroops) encounters.Append()->TroopID = troop;
}

void TEncounterList::rebuild(int select) {
  const QSignalBlocker block(this);
  clear();
  for (int troop : FTroops) {
    // A troop the database no longer has still shows its number.
    addItem(troop >= 1 && troop <= FTroopNames.size() ? FTroopNames[troop - 1]
                                                      : QString::asprintf("%.4d", troop));
  }
  addItem(QString());
  setCurrentRow(std::clamp(select, 0, count() - 1));
  if (QListWidgetItem* after = item(currentRow() + 1)) scrollToItem(after);
  scrollToItem(currentItem());
  UpdateActions();
}

bool TEncounterList::encounterRow() const {
  return currentRow() >= 0 && currentRow() < int(FTroops.size());
}

void TEncounterList::UpdateActions() {
  const int row = currentRow();
  const bool full = int(FTroops.size()) >= kMaxEncounters;
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  FModify->setEnabled(row >= 0 && (encounterRow() || !full));
  FCut->setEnabled(encounterRow());
  FCopy->setEnabled(encounterRow());
  FDelete->setEnabled(encounterRow());
  FPaste->setEnabled(row >= 0 && !full && mime && mime->hasFormat(kEncounterMime));
}

void TEncounterList::contextMenuEvent(QContextMenuEvent* event) {
  UpdateActions();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    const QRect r = visualItemRect(currentItem());
    FMenu->popup(viewport()->mapToGlobal(r.isValid() ? r.bottomLeft() : QPoint(0, 0)));
  } else if (hasFocus() && currentRow() >= 0) {
    FMenu->popup(event->globalPos());
  }
  event->accept();
}

void TEncounterList::Modify() {
  UpdateActions();
  if (!FModify->isEnabled()) return;
  const int row = currentRow();
  const bool existing = encounterRow();
  TFormEDMapEncount form(FTroopNames, existing ? FTroops[size_t(row)] : gLastTroop, this);
  if (form.exec() != QDialog::Accepted || form.TroopID() < 1) return;
  gLastTroop = form.TroopID();
  if (existing)
    FTroops[size_t(row)] = form.TroopID();
  else
    FTroops.push_back(form.TroopID());
  rebuild(existing ? row : int(FTroops.size()) - 1);
}

void TEncounterList::Copy() {
  if (!encounterRow()) return;
  TVudEncountItem item;
  item.TroopID = FTroops[size_t(currentRow())];
  const std::vector<uint8_t> block = item.CopyToClipboard();
  auto* mime = new QMimeData;
  mime->setData(kEncounterMime,
                QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
  QApplication::clipboard()->setMimeData(mime);
  UpdateActions();
}

void TEncounterList::Cut() {
  if (!encounterRow()) return;
  Copy();
  Delete();
}

void TEncounterList::Paste() {
  UpdateActions();
  if (!FPaste->isEnabled()) return;
  const QByteArray data = QApplication::clipboard()->mimeData()->data(kEncounterMime);
  TVudEncountItem item;
  if (!item.PasteFromClipboard(
          std::span(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()))) ||
      item.TroopID < 1)  // another program's block may name no troop
    return;
  const int row = std::min(currentRow(), int(FTroops.size()));
  FTroops.insert(FTroops.begin() + row, item.TroopID);
  rebuild(row);
}

void TEncounterList::Delete() {
  if (!encounterRow()) return;
  const int row = currentRow();
  FTroops.erase(FTroops.begin() + row);
  rebuild(row);
}

// ---- panorama preview ---------------------------------------------------------------------

TPanoramaPreview::TPanoramaPreview(QWidget* parent)
    : QWidget(parent), FSheet(std::make_unique<TVireoSheet>()),
      FBoard(std::make_unique<TVireoBoard>()) {
  setObjectName("PanoramaPreview");
  FSheet->AutoSize = true;
}

TPanoramaPreview::~TPanoramaPreview() = default;

void TPanoramaPreview::SetPanorama(const QString& name) {
  if (FNamed && name == FName) return;
  FNamed = true;
  FName = name;
  FSheet->FreeImage();
  FLoaded = false;
  if (!name.isEmpty()) {
    const QString file = ResolveMaterialFile(name, "Panorama", MaterialExtensions("Panorama"));
    if (!file.isEmpty()) FSheet->LoadFromFile(file.toStdString(), false);
    FLoaded = FSheet->Width() > 0 && FSheet->Height() > 0;
  }
  FBoardFor = {};
  update();
}

QRect TPanoramaPreview::PictureRect() const {
  if (!FLoaded) return {};
  const QRect inner = rect().adjusted(2, 2, -2, -2);
  return FitPreviewRect({FSheet->Width(), FSheet->Height()}, inner.size()).translated(inner.topLeft());
}

void TPanoramaPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect inner = rect().adjusted(2, 2, -2, -2);
  qDrawShadePanel(&painter, rect(), palette(), true, 2);
  if (inner.isEmpty()) return;
  if (FBoardFor != inner.size()) {
    FBoardFor = inner.size();
    FBoard->SetSize(inner.width(), inner.height());
    FillBoardRect(*FBoard, {0, 0, inner.width(), inner.height()},
                  rgb565(palette().color(QPalette::Window)));
    if (FLoaded) {
      const QRect fit = FitPreviewRect({FSheet->Width(), FSheet->Height()}, inner.size());
      FBoard->StretchSheet({fit.left(), fit.top(), fit.right() + 1, fit.bottom() + 1}, *FSheet,
                           FSheet->BoundsRect());
    }
  }
  const QImage image(FBoard->Bits(), FBoard->Width(), FBoard->Height(), FBoard->BytesPerLine(),
                     QImage::Format_RGB16);
  painter.drawImage(inner.topLeft(), image);
}

void TPanoramaPreview::mouseDoubleClickEvent(QMouseEvent*) {
  if (isEnabled() && OnDoubleClick) OnDoubleClick();
}

// ---- the dialog ---------------------------------------------------------------------------

TFormEDMap::TFormEDMap(QWidget* owner)
    : TFormVudBase(owner), FMusic(std::make_unique<TVudMusic>()) {
  setObjectName("FormEDMap");
  setWindowTitle(QString::fromUtf8("Propiedades del mapa"));
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  buildLeft(left);
  buildRight(right);
  columns->addLayout(left, 0);
  columns->addLayout(right, 1);
  layout->addLayout(columns, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton(QString::fromUtf8("&Aceptar"), this);
  ok->setObjectName("ButtonOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("&Cancelar"), this);
  cancel->setObjectName("ButtonCancel");
  auto* help = new QPushButton(QString::fromUtf8("Ayuda"), this);
  help->setObjectName("ButtonHelp");
  for (QPushButton* b : {ok, cancel, help}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(84);
    buttons->addWidget(b);
  }
  ok->setDefault(true);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TFormEDMap::ButtonOkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &TFormEDMap::ButtonHelpClick);
  UpdateControls();
}

TFormEDMap::~TFormEDMap() = default;

QButtonGroup* TFormEDMap::addChoices(QGroupBox* group, const QStringList& captions,
                                     const QString& name, QBoxLayout* layout) {
  auto* buttons = new QButtonGroup(group);
  buttons->setObjectName(name);
  for (int i = 0; i < captions.size(); ++i) {
    auto* radio = new QRadioButton(captions[i], group);
    radio->setObjectName(QString("%1%2").arg(name).arg(i));
    buttons->addButton(radio, i);
    layout->addWidget(radio);
  }
  buttons->button(0)->setChecked(true);
  connect(buttons, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (on) UpdateControls();
  });
  return buttons;
}

void TFormEDMap::buildLeft(QVBoxLayout* column) {
  auto* top = new QGridLayout;
  top->addWidget(label("Nombre ", this), 0, 0);
  FName = new QLineEdit(this);
  FName->setObjectName("EditName");
  FName->setMaxLength(24);
  FName->setValidator(new TCp1252Validator(FName));
  top->addWidget(FName, 0, 1, 1, 3);
  top->addWidget(label("Gráficos", this), 1, 0);
  FChipSet = new QComboBox(this);
  FChipSet->setObjectName("ComboChipSet");
  top->addWidget(FChipSet, 1, 1, 1, 3);
  top->addWidget(label("Tamaño ", this), 2, 0);
  FWidth = new QSpinBox(this);
  FWidth->setObjectName("SpinWidth");
  FWidth->setRange(20, 999);
  FHeight = new QSpinBox(this);
  FHeight->setObjectName("SpinHeight");
  FHeight->setRange(15, 999);
  top->addWidget(FWidth, 2, 1);
  top->addWidget(new QLabel(QString::fromUtf8("×"), this), 2, 2, Qt::AlignCenter);
  top->addWidget(FHeight, 2, 3);
  top->addWidget(label("Tipo de Ciclo ", this), 3, 0);
  FScrollType = new QComboBox(this);
  FScrollType->setObjectName("ComboScrollType");
  FScrollType->addItems({"Ninguno", "Vertical", "Horizontal", "Ambos"});
  top->addWidget(FScrollType, 3, 1, 1, 3);
  top->setColumnStretch(1, 1);
  top->setColumnStretch(3, 1);
  column->addLayout(top);

  auto* panorama = new QGroupBox(this);
  panorama->setObjectName("GroupPanorama");
  auto* pv = new QVBoxLayout(panorama);
  FUsePanorama = new QCheckBox(QString::fromUtf8("Utilizar Imágen de Fondo..."), panorama);
  FUsePanorama->setObjectName("CheckUsePanorama");
  pv->addWidget(FUsePanorama);
  auto* pictureRow = new QHBoxLayout;
  FPreview = new TPanoramaPreview(panorama);
  FPreview->setFixedSize(204, 154);
  FPreview->OnDoubleClick = [this] { ButtonPanoramaClick(); };
  pictureRow->addWidget(FPreview);
  FPanoramaButton = new QPushButton(QString::fromUtf8("Elegir..."), panorama);
  FPanoramaButton->setObjectName("ButtonPanorama");
  FPanoramaButton->setAutoDefault(false);
  pictureRow->addWidget(FPanoramaButton, 0, Qt::AlignBottom);
  pictureRow->addStretch(1);
  pv->addLayout(pictureRow);
  FOptions = new QGroupBox(panorama);
  FOptions->setObjectName("GroupPanoramaOptions");
  auto* grid = new QGridLayout(FOptions);
  auto direction = [this, grid](int row, const char* caption, const QString& name, QCheckBox*& scroll,
                                QCheckBox*& autoScroll, QSpinBox*& speed) {
    scroll = new QCheckBox(QString::fromUtf8(caption), FOptions);
    scroll->setObjectName("Check" + name + "Scroll");
    autoScroll = new QCheckBox(QString::fromUtf8("Automático"), FOptions);
    autoScroll->setObjectName("Check" + name + "Auto");
    speed = new TBlankingSpinBox(FOptions);
    speed->setObjectName("Spin" + name + "Speed");
    speed->setRange(-8, 8);
    grid->addWidget(scroll, row, 0);
    grid->addWidget(autoScroll, row, 1);
    grid->addWidget(new QLabel(QString::fromUtf8("Velocidad"), FOptions), row, 2);
    grid->addWidget(speed, row, 3);
    for (QCheckBox* box : {scroll, autoScroll})
      connect(box, &QCheckBox::toggled, this, &TFormEDMap::UpdateControls);
  };
  direction(0, "Horizontal", "H", FHScroll, FHAuto, FHSpeed);
  direction(1, "Vertical", "V", FVScroll, FVAuto, FVSpeed);
  pv->addWidget(FOptions);
  column->addWidget(panorama);
  column->addStretch(1);
  connect(FUsePanorama, &QCheckBox::toggled, this, &TFormEDMap::UpdateControls);
  connect(FPanoramaButton, &QPushButton::clicked, this, &TFormEDMap::ButtonPanoramaClick);
}

void TFormEDMap::buildRight(QVBoxLayout* column) {
  auto pickerRow = [this](QGroupBox* group, QButtonGroup* buttons, QLineEdit*& box,
                          const QString& name, void (TFormEDMap::*click)()) {
    auto* v = static_cast<QVBoxLayout*>(group->layout());
    auto* row = new QHBoxLayout;
    QAbstractButton* choose = buttons->button(2);
    v->removeWidget(choose);
    row->addWidget(choose);
    auto* clickBox = new TClickBox(group);
    clickBox->setObjectName(name);
    clickBox->OnClick = [this, click] { (this->*click)(); };
    box = clickBox;
    row->addWidget(box, 1);
    v->addLayout(row);
  };
  auto* music = new QGroupBox(QString::fromUtf8("Música de Mapa"), this);
  auto* mv = new QVBoxLayout(music);
  FMusicType = addChoices(music, {"Como el Principal", "Ninguna", "Elegir"}, "RadioMusic", mv);
  pickerRow(music, FMusicType, FMusicBox, "EditMusic", &TFormEDMap::MusicBoxClick);
  auto* back = new QGroupBox(QString::fromUtf8("Fondo de Batalla "), this);
  auto* bv = new QVBoxLayout(back);
  FBattleBackType =
      addChoices(back, {"Como en Principal", "Como en Terreno", "Elegir"}, "RadioBattleBack", bv);
  pickerRow(back, FBattleBackType, FBattleBackBox, "EditBattleBack", &TFormEDMap::BattleBackBoxClick);
  auto* upper = new QHBoxLayout;
  upper->addWidget(music, 1);
  upper->addWidget(back, 1);
  column->addLayout(upper);

  auto* permissions = new QHBoxLayout;
  const char* captions[3] = {"Teletransporte", "Escape ", "Guardar"};
  const char* names[3] = {"RadioTeleport", "RadioEscape", "RadioSave"};
  for (int i = 0; i < 3; ++i) {
    auto* group = new QGroupBox(QString::fromUtf8(captions[i]), this);
    auto* v = new QVBoxLayout(group);
    FPermissions[i] = addChoices(group, {"Como Principal", "Permite", "No Permite"}, names[i], v);
    permissions->addWidget(group, 1);
  }
  column->addLayout(permissions);

  auto* troops = new QGroupBox(QString::fromUtf8("Grupos Enemigos"), this);
  auto* tv = new QVBoxLayout(troops);
  FEncounters = new TEncounterList(false, troops);
  FEncounters->setMinimumHeight(120);
  tv->addWidget(FEncounters, 1);
  auto* steps = new QHBoxLayout;
  steps->addWidget(label("Pasos para", troops));
  FSteps = new QSpinBox(troops);
  FSteps->setObjectName("SpinSteps");
  FSteps->setRange(0, 99999);
  FSteps->setValue(25);
  steps->addWidget(FSteps);
  steps->addWidget(label("Combate", troops));
  steps->addStretch(1);
  tv->addLayout(steps);
  column->addWidget(troops, 1);
}

int TFormEDMap::choice(const QButtonGroup* group) const {
  return std::max(0, group->checkedId());
}

void TFormEDMap::setChoice(QButtonGroup* group, int value) {
  if (value < 0 || value > 2) value = 0;
  if (FUnderRoot && value == 0) value = 1;
  group->button(value)->setChecked(true);
}

void TFormEDMap::SetChipSetNames(const QStringList& names) {
  const int index = FChipSet->currentIndex();
  FChipSet->clear();
  FChipSet->addItems(names);
  if (FChipSet->count()) FChipSet->setCurrentIndex(std::clamp(index, 0, FChipSet->count() - 1));
}

void TFormEDMap::SetTroopNames(const QStringList& names) {
  FEncounters->SetTroopNames(names);
}

void TFormEDMap::LoadValues(int mapID, bool newMap, bool underRoot, const TVudMapTreeItem& entry,
                            const TVudMap& map) {
  FUnderRoot = underRoot;
  setWindowTitle(QString::fromUtf8(newMap ? "Nuevo mapa" : "Propiedades del mapa") +
                 QString::asprintf(" - ID:%.4d", mapID));
  FName->setText(FromCp1252(entry.Name).left(24));
  const int chipIndex = map.ChipSetID - 1;
  FChipSet->setCurrentIndex(chipIndex >= 0 && chipIndex < FChipSet->count() ? chipIndex
                                                                            : (FChipSet->count() ? 0 : -1));
  FWidth->setValue(map.Width);
  FHeight->setValue(map.Height);
  FScrollType->setCurrentIndex(map.ScrollType <= 3 ? map.ScrollType : 0);
  FPanoramaName = FromCp1252(map.PanoramaName);
  FUsePanorama->setChecked(map.UsePanorama != 0);
  FHScroll->setChecked(map.PanoramaHScroll != 0);
  FHAuto->setChecked(map.PanoramaHAuto != 0);
  FVScroll->setChecked(map.PanoramaVScroll != 0);
  FVAuto->setChecked(map.PanoramaVAuto != 0);
  // Speeds go in before the cascade runs, so an enabled speed shows its value.
  FHSpeed->setValue(map.PanoramaHSpeed);
  FVSpeed->setValue(map.PanoramaVSpeed);
  for (QButtonGroup* group :
       {FMusicType, FBattleBackType, FPermissions[0], FPermissions[1], FPermissions[2]})
    group->button(0)->setEnabled(!underRoot);
  setChoice(FMusicType, entry.MusicType);
  setChoice(FBattleBackType, entry.BattleBackType);
  setChoice(FPermissions[0], entry.Teleport);
  setChoice(FPermissions[1], entry.Escape);
  setChoice(FPermissions[2], entry.Save);
  // After the choices: their cascade empties the boxes that are off.
  FMusic->Assign(entry.Music);
  FBattleBackName = FromCp1252(entry.BattleBackName);
  FEncounters->SetEncounters(entry.Encounters);
  FSteps->setValue(entry.EncounterSteps);
  UpdateControls();
}

void TFormEDMap::setSpeed(QSpinBox* spin, bool enabled) {
  // A disabled speed is emptied: it stores 0.
  if (!enabled) spin->setValue(0);
  spin->setEnabled(enabled);
}

void TFormEDMap::UpdateControls() {
  const bool panorama = FUsePanorama->isChecked();
  FPreview->setEnabled(panorama);
  FPreview->SetPanorama(panorama ? FPanoramaName : QString());
  FPanoramaButton->setEnabled(panorama);
  FOptions->setEnabled(panorama);
  FHScroll->setEnabled(panorama);
  FVScroll->setEnabled(panorama);
  FHAuto->setEnabled(panorama && FHScroll->isChecked());
  FVAuto->setEnabled(panorama && FVScroll->isChecked());
  setSpeed(FHSpeed, panorama && FHScroll->isChecked() && FHAuto->isChecked());
  setSpeed(FVSpeed, panorama && FVScroll->isChecked() && FVAuto->isChecked());

  const bool music = choice(FMusicType) == 2;
  if (!music) FMusic->Clear();
  FMusicBox->setEnabled(music);
  FMusicBox->setText(music ? FromCp1252(FMusic->Name) : QString());
  const bool back = choice(FBattleBackType) == 2;
  if (!back) FBattleBackName.clear();
  FBattleBackBox->setEnabled(back);
  FBattleBackBox->setText(back ? FBattleBackName : QString());
}

void TFormEDMap::StoreEntry(TVudMapTreeItem& entry) const {
  entry.Name = ToCp1252(FName->text());
  entry.MusicType = uint8_t(choice(FMusicType));
  if (entry.MusicType == 2)
    entry.Music.Assign(*FMusic);
  else
    entry.Music.Clear();
  entry.BattleBackType = uint8_t(choice(FBattleBackType));
  entry.BattleBackName = entry.BattleBackType == 2 ? ToCp1252(FBattleBackName) : std::string();
  entry.Teleport = uint8_t(choice(FPermissions[0]));
  entry.Escape = uint8_t(choice(FPermissions[1]));
  entry.Save = uint8_t(choice(FPermissions[2]));
  StoreRootChoices(entry, FUnderRoot);
  FEncounters->StoreEncounters(entry.Encounters);
  entry.EncounterSteps = FSteps->value();
}

void TFormEDMap::ApplyToMap(TVudMap& map) const {
  map.ChipSetID = std::max(1, FChipSet->currentIndex() + 1);
  map.SetWidth(FWidth->value());
  map.SetHeight(FHeight->value());
  map.SetScrollType(uint8_t(std::max(0, FScrollType->currentIndex())));
  map.UsePanorama = FUsePanorama->isChecked() ? 1 : 0;
  map.PanoramaName = map.UsePanorama ? ToCp1252(FPanoramaName) : std::string();
  map.PanoramaHScroll = FHScroll->isChecked() ? 1 : 0;
  map.PanoramaHAuto = FHAuto->isChecked() ? 1 : 0;
  map.PanoramaHSpeed = FHSpeed->isEnabled() ? FHSpeed->value() : 0;
  map.PanoramaVScroll = FVScroll->isChecked() ? 1 : 0;
  map.PanoramaVAuto = FVAuto->isChecked() ? 1 : 0;
  map.PanoramaVSpeed = FVSpeed->isEnabled() ? FVSpeed->value() : 0;
  map.Modified = true;
}

void TFormEDMap::ButtonOkClick() {
  accept();
}

void TFormEDMap::ButtonHelpClick() {
  ShowHelp(171);
}

void TFormEDMap::ButtonPanoramaClick() {
  if (!FUsePanorama->isChecked()) return;
  QString name = FPanoramaName;
  if (!EDMapPickers().Panorama || !EDMapPickers().Panorama(this, name)) return;
  FPanoramaName = StripRtpMark(name);
  FPreview->SetPanorama(FPanoramaName);
}

void TFormEDMap::MusicBoxClick() {
  if (!FMusicBox->isEnabled()) return;
  TVudMusic music;
  music.Assign(*FMusic);
  if (!EDMapPickers().Music || !EDMapPickers().Music(this, music)) return;
  FMusic->Assign(music);
  FMusicBox->setText(FromCp1252(FMusic->Name));
}

void TFormEDMap::BattleBackBoxClick() {
  if (!FBattleBackBox->isEnabled()) return;
  QString name = FBattleBackName;
  if (!EDMapPickers().BattleBack || !EDMapPickers().BattleBack(this, name)) return;
  FBattleBackName = StripRtpMark(name);
  FBattleBackBox->setText(FBattleBackName);
}
