#include "ProjPathBox.h"

#include <QDir>
#include <QFontMetrics>

TPathBox::TPathBox(QWidget* parent) : QPushButton(parent)
{
    setObjectName(QStringLiteral("PathBox"));
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("text-align: left; padding: 3px 6px;"));
    setMinimumWidth(200);
}

void TPathBox::SetPath(const QString& p)
{
    path = p;
    setToolTip(QDir::toNativeSeparators(p));
    updateText();
}

void TPathBox::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    updateText();
}

void TPathBox::updateText()
{
    // Long paths lose their middle, so both the drive end and the folder stay readable.
    setText(fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle,
                                     std::max(40, width() - 14)));
}
