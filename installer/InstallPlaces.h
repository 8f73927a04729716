// Where an installed game leaves its traces on this system, shared by Setup and Sweeper: the
// per-user folder that holds the uninstaller, the applications folder that holds the menu
// shortcuts, the uninstall keys, and the checks that keep names from the game disk inside them.
#pragma once
#include <QString>

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\" — every uninstall key lies below it.
inline const QString kUninstallKeyPrefix =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
// The shortcut folder under the applications folder, "Taleforge Studio/Juegos".
inline const QString kShortcutFolder = QStringLiteral("Taleforge Studio/Juegos");

// The freedesktop applications folder of the user ("~/.local/share/applications"), no trailing '/'.
QString ApplicationsFolder();
// The per-user program folder that receives "sweeper.exe" ("~/.local/bin"), no trailing '/'.
QString UninstallerFolder();

// A single folder name: not empty, not "." or "..", no separator, drive colon, quote, wildcard
// or control character. ProjectName from a game disk must pass before it names anything.
bool IsSafeFolderName(const QString& name);
// A title as a file name: separators, reserved and control characters become '_', leading dots
// and spaces go; `fallback` when nothing is left.
QString TitleAsFileName(const QString& title, const QString& fallback);
// True when `text` holds a control character (C0, DEL or C1).
bool HasControlCharacter(const QString& text);
