#pragma once

#include <QHash>
#include <QString>
#include <functional>

namespace kestrix::platform {

// The system's calls that load and unload a font file in the session; tests put stand-ins in
// their place. Elsewhere than on Windows nothing holds a font that way: nothing is unloaded.
struct FontCalls {
    // Unloads one load of the font file at the host path; false when none was left.
    std::function<bool(const QString& hostPath)> unloadOnce;
    std::function<void(const QString& hostPath)> load;
};
[[nodiscard]] FontCalls systemFontCalls();

// Removes every value under the Fonts keys of the machine and of the user that names the file;
// returns whether any went. Elsewhere than on Windows there are none.
bool forgetFontValues(const QString& hostPath);
// Tells the running programs that the installed fonts changed.
void announceFontChange();

// The system's own hold on its installed fonts, for one removal run. On Windows a font the
// system has loaded can be neither overwritten nor deleted, and a value under the registry's
// Fonts key names each installed font's file: the font is unloaded right before its file is
// wiped, loaded again when the file stays whole, and forgotten once its content is gone; when
// the run ends, running programs are told once that the fonts changed.
class SystemFonts {
public:
    explicit SystemFonts(FontCalls calls = systemFontCalls()) : calls_(std::move(calls)) {}
    SystemFonts(const SystemFonts&) = delete;
    SystemFonts& operator=(const SystemFonts&) = delete;
    ~SystemFonts();

    // Unloads the font file at the host path, as often as it was loaded.
    void unload(const QString& hostPath);
    // Loads it again, where it was unloaded: its file could not be touched.
    void reload(const QString& hostPath);
    // Forgets the file whose content is gone: it stays unloaded and its values go.
    void forget(const QString& hostPath);

private:
    FontCalls calls_;
    QHash<QString, int> unloaded_;  // by host path: how often
    bool changed_ = false;
};

}  // namespace kestrix::platform
