#include "ProjOpen.h"

#include "FolderTree.h"
#include "Hourglass.h"
#include "MessageService.h"
#include "ProjBasePath.h"
#include "ProjManager.h"
#include "ProjPathBox.h"
#include "ProjRename.h"
#include "Settings.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The project icon: a small folder with a map sheet on it.
QIcon projectIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    p.setPen(QColor(40, 90, 40));
    p.setBrush(QColor(120, 190, 110));
    p.drawRect(5, 7, 7, 5);
    return QIcon(pm);
}

QPushButton* button(const QString& text, const QString& name)
{
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    return b;
}
} // namespace

TFormProjectOpen::TFormProjectOpen(QWidget* owner) : TFormVudBase(owner)
{
    setObjectName(QStringLiteral("FormProjectOpen"));
    setWindowTitle(QStringLiteral("Abrir proyecto"));
    basePath = ReadProjectBasePath();

    ListProjects = new QTreeWidget;
    ListProjects->setObjectName(QStringLiteral("ListProjects"));
    ListProjects->setRootIsDecorated(false);
    ListProjects->setColumnCount(2);
    ListProjects->setHeaderLabels({QStringLiteral("Nombre de la carpeta"), QStringLiteral("Título del juego")});
    ListProjects->header()->setStretchLastSection(false);
    ListProjects->header()->setSectionsMovable(false);
    ListProjects->setColumnWidth(0, 150);
    ListProjects->setAllColumnsShowFocus(true);
    ListProjects->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PathBox = new TPathBox;
    PathBox->SetPath(basePath);

    auto* listBox = new QGroupBox(QStringLiteral("Lista de proyectos"));
    listBox->setObjectName(QStringLiteral("GroupList"));
    (new QVBoxLayout(listBox))->addWidget(ListProjects);
    auto* pathBox = new QGroupBox(QStringLiteral("Ruta del proyecto"));
    pathBox->setObjectName(QStringLiteral("GroupPath"));
    (new QVBoxLayout(pathBox))->addWidget(PathBox);

    ButtonOpen = button(QStringLiteral("&Abrir"), QStringLiteral("ButtonOpen"));
    ButtonOpen->setDefault(true);
    ButtonCancel = button(QStringLiteral("Cancelar"), QStringLiteral("ButtonCancel"));
    ButtonRename = button(QStringLiteral("Cambia&r nombre..."), QStringLiteral("ButtonRename"));
    ButtonDelete = button(QStringLiteral("&Eliminar..."), QStringLiteral("ButtonDelete"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ButtonOpen, ButtonCancel})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {ButtonRename, ButtonDelete})
        buttons->addWidget(b);

    auto* left = new QVBoxLayout;
    left->addWidget(listBox, 1);
    left->addWidget(pathBox);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(520, 340);

    connect(ButtonOpen, &QPushButton::clicked, this, &TFormProjectOpen::ButtonOpenClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonRename, &QPushButton::clicked, this, &TFormProjectOpen::ButtonRenameClick);
    connect(ButtonDelete, &QPushButton::clicked, this, &TFormProjectOpen::ButtonDeleteClick);
    connect(PathBox, &QPushButton::clicked, this, &TFormProjectOpen::PathBoxClick);
    connect(ListProjects, &QTreeWidget::itemDoubleClicked, this, &TFormProjectOpen::ButtonOpenClick);
}

void TFormProjectOpen::showEvent(QShowEvent* event)
{
    if (!shown) {
        shown = true;
        UpdateList();
    }
    TFormVudBase::showEvent(event);
    fitColumns();
}

void TFormProjectOpen::resizeEvent(QResizeEvent* event)
{
    TFormVudBase::resizeEvent(event);
    fitColumns();
}

void TFormProjectOpen::fitColumns()
{
    // The title takes what the name column leaves, less a scroll bar when one is needed.
    const auto* view = ListProjects;
    const int rowHeight = std::max(1, view->sizeHintForRow(0));
    const bool scrolls = view->topLevelItemCount() * rowHeight > view->viewport()->height();
    const int scrollBar = scrolls && !view->verticalScrollBar()->isVisible()
                              ? style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                              : 0;
    ListProjects->setColumnWidth(1, std::max(40, view->viewport()->width() - view->columnWidth(0) - scrollBar));
}

void TFormProjectOpen::UpdateList(const QString& select)
{
    HourglassGuard hourglass;
    ListProjects->clear();
    const QIcon icon = projectIcon();
    QTreeWidgetItem* chosen = nullptr;
    for (const TProjectEntry& p : ::ListProjects(basePath)) {
        auto* item = new QTreeWidgetItem(ListProjects, {p.Folder, p.Title});
        item->setIcon(0, icon);
        if (!chosen && !select.isEmpty() && p.Folder == select)
            chosen = item;
    }
    if (!chosen)
        chosen = ListProjects->topLevelItem(0);
    if (chosen) {
        ListProjects->setCurrentItem(chosen);
        ListProjects->scrollToItem(chosen);
    }
    fitColumns();
}

QString TFormProjectOpen::selectedFolder() const
{
    const QTreeWidgetItem* item = ListProjects->currentItem();
    return item && item->isSelected() ? item->text(0) : QString();
}

void TFormProjectOpen::ButtonOpenClick()
{
    const QString folder = selectedFolder();
    if (folder.isEmpty())
        return;
    WriteProjectBasePath(basePath);
    folderName = folder;
    accept();
}

void TFormProjectOpen::PathBoxClick()
{
    TFormProjectBasePath dialog(this, basePath);
    if (dialog.exec() != QDialog::Accepted || dialog.Path() == basePath)
        return;
    basePath = dialog.Path();
    WriteProjectBasePath(basePath);
    PathBox->SetPath(basePath);
    UpdateList();
}

void TFormProjectOpen::ButtonRenameClick()
{
    const QTreeWidgetItem* item = ListProjects->currentItem();
    if (selectedFolder().isEmpty())
        return;
    TFormProjectRename dialog(this, basePath, item->text(0), item->text(1));
    if (dialog.exec() == QDialog::Accepted)
        UpdateList(dialog.FolderName());
}

void TFormProjectOpen::ButtonDeleteClick()
{
    const QString folder = selectedFolder();
    if (folder.isEmpty())
        return;
    if (!Messages().WarningYesNo(QStringLiteral("Se va a eliminar el proyecto '%1'. Un proyecto "
                                                "eliminado luego no se puede recuperar. ¿Eliminar "
                                                "realmente?")
                                     .arg(folder)))
        return;
    {
        HourglassGuard hourglass;
        QDir::setCurrent(basePath);
        DeleteFolderTree(basePath + folder);
    }
    UpdateList();
}
