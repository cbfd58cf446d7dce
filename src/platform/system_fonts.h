#pragma once

#include <QHash>
#include <QString>

namespace kestrix::platform {

// The system's own hold on its installed fonts, for one removal run. On Windows a font the
// system has loaded can be neither overwritten nor deleted, and a value under the registry's
// Fonts key names each installed font's file: the font is unloaded before its file is touched,
// loaded again when the file stays, and forgotten once the file is gone; when the run ends,
// running programs are told once that the fonts changed. Elsewhere the system holds no font
// that way, and nothing is done.
class SystemFonts {
public:
    SystemFonts() = default;
    SystemFonts(const SystemFonts&) = delete;
    SystemFonts& operator=(const SystemFonts&) = delete;
    ~SystemFonts();

    // Unloads the font file at the host path, as often as it was loaded.
    void unload(const QString& hostPath);
    // Loads it again, where it was unloaded: its file could not be removed.
    void reload(const QString& hostPath);
    // Removes every value under the Fonts key that names the removed file.
    void forget(const QString& hostPath);

private:
    QHash<QString, int> unloaded_;  // by host path: how often
    bool changed_ = false;
};

}  // namespace kestrix::platform
