#pragma once

#include <QString>

namespace kestrix::platform {

// The folder where the user's programs keep their settings: $XDG_CONFIG_HOME, or ~/.config
// when it is unset or not an absolute path; on Windows the user's local application data.
[[nodiscard]] QString userConfigFolder();

// The name of Kestrix's own folder in the user's configuration folder: "kestrix", as Linux
// programs name theirs; "Kestrix" on Windows.
[[nodiscard]] QString ownFolderName();

// Whether a program may keep its files in `folder`: it is a folder we may write to. A folder
// without any write permission bit counts as read-only even for root, as a read-only folder
// does on Windows for an administrator. On Windows, Windows is asked by trying: its permissions
// decide, not attributes.
[[nodiscard]] bool isWritableFolder(const QString& folder);

// The folder where Windows installs the fonts a user installs for themselves, as a Windows path:
// %LOCALAPPDATA%\Microsoft\Windows\Fonts of the account the program runs as; elsewhere the same
// folder of the Wine prefix's user, named after the Unix user as Wine names it.
[[nodiscard]] QString userFontFolder();

// Where Debian's fonts-wine puts Wine's own fonts, outside the folders fontconfig searches;
// "" on Windows.
[[nodiscard]] QString wineFontFolder();

}  // namespace kestrix::platform
