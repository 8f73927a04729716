#include "HelpService.h"

#include "ProgramFolder.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {
std::function<void(const QUrl&)>& opener()
{
    static std::function<void(const QUrl&)> f;
    return f;
}
} // namespace

QUrl HelpUrl(int context)
{
    const QString folder = ProgramFolder() + QStringLiteral("Taleforge-help/");
    const QString page = folder + QString::number(context) + QStringLiteral(".html");
    if (QFileInfo::exists(page))
        return QUrl::fromLocalFile(page);
    QUrl url = QUrl::fromLocalFile(folder + QStringLiteral("index.html"));
    if (context != kHelpContents)
        url.setFragment(QStringLiteral("ctx%1").arg(context));
    return url;
}

void ShowHelp(int context)
{
    const QUrl url = HelpUrl(context);
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void SetHelpOpenerForTests(std::function<void(const QUrl&)> f)
{
    opener() = std::move(f);
}
