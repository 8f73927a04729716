// Help by context number: local HTML pages in the program folder's "Taleforge-help", one page per
// context ("<n>.html"), falling back to the contents page at an anchor "#ctx<n>".
#pragma once
#include <QUrl>
#include <functional>

QUrl HelpUrl(int context);
// Opens the page in the user's browser (tests replace the opener).
void ShowHelp(int context);
void SetHelpOpenerForTests(std::function<void(const QUrl&)> opener);

// Context number of the contents page.
constexpr int kHelpContents = 1;
