#pragma once

#include "platform/open_folder.h"

#include <QString>
#include <optional>
#include <variant>

namespace kestrix::platform {

// Where a Windows path leads on this machine.
struct ResolvedPath {
    enum class Status {
        Found,      // every component exists; hostPath names it
        Missing,    // some component does not exist; hostPath is where it would be created
        Ambiguous,  // a component matches several entries by letter case only, none exactly
        Invalid,    // not a path on a drive this machine has
    };
    Status status = Status::Invalid;
    QString hostPath;
};

// Turns the program's Windows paths ("C:\WINDOWS\Fonts\arial.ttf") into host paths.
// Elsewhere than on Windows drive C: is the C: drive of a Wine prefix, and each component is
// matched as Windows matches names: exactly first, otherwise the one entry equal to it when
// letter case is ignored.
class DriveMap {
public:
    // Drive C: as Wine maps it: PREFIX/dosdevices/c: or PREFIX/drive_c, where PREFIX is
    // `winePrefix` when given, otherwise $WINEPREFIX, otherwise ~/.wine. On Windows paths are
    // taken as they are.
    static DriveMap fromEnvironment(const QString& winePrefix = QString());
    // Drive C: at `hostRoot`, in the prefix that is the folder holding it.
    static DriveMap withDriveC(const QString& hostRoot);
    // Whether drive C: is a Wine prefix's, which can be chosen; on Windows it is the system's.
    [[nodiscard]] static bool isWinePrefixDrive();

    [[nodiscard]] ResolvedPath resolve(const QString& windowsPath) const;
    // Opens the folder at a Windows path, matching each component as resolve() does and
    // following links on the way, as Wine does, as long as the folder reached lies in the Wine
    // prefix or on drive C:. Once it is open, nothing done to the path can steer what is done
    // in it.
    [[nodiscard]] std::variant<OpenFolder, QString> openFolder(const QString& windowsPath) const;

    // Why drive C: is not there, naming the folder that was looked for and how to choose a
    // prefix; nothing when it is there.
    [[nodiscard]] std::optional<QString> missingDriveC() const;

private:
    [[nodiscard]] bool isInPrefix(const OpenFolder& folder) const;

    DriveMap(QString driveC, QString prefix)
        : driveC_(std::move(driveC)), prefix_(std::move(prefix)) {}
    QString driveC_;  // empty: paths are host paths already
    QString prefix_;  // the folder that holds drive C:
};

// The reason a resolved path cannot be used, for messages to the user.
QString describeUnusable(const ResolvedPath& path);

}  // namespace kestrix::platform
