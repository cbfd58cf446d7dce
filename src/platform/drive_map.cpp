#include "platform/drive_map.h"

#include "platform/host_drive.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace kestrix::platform {

namespace {

bool entryExists(const QString& hostPath) {
    const QFileInfo info(hostPath);
    return info.exists() || info.isSymLink();  // a dangling link still occupies its name
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// The components of a path after drive C:; nothing for a path elsewhere or one that climbs.
std::optional<QStringList> componentsOnDriveC(const QString& windowsPath) {
    if (!windowsPath.startsWith(QStringLiteral("C:"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    const QStringList components =
        QString(windowsPath.mid(2)).replace(u'/', u'\\').split(u'\\', Qt::SkipEmptyParts);
    for (const auto& component : components) {
        if (component == QStringLiteral(".") || component == QStringLiteral("..")) {
            return std::nullopt;
        }
    }
    return components;
}

}  // namespace

DriveMap DriveMap::fromEnvironment(const QString& winePrefix) {
    return DriveMap(hostDriveC(winePrefix), winePrefixFolder(winePrefix));
}

bool DriveMap::isWinePrefixDrive() {
    return !hostDriveC(QString()).isEmpty();
}

DriveMap DriveMap::withDriveC(const QString& hostRoot) {
    return DriveMap(hostRoot, QFileInfo(hostRoot).absolutePath());
}

ResolvedPath DriveMap::resolve(const QString& windowsPath) const {
    if (driveC_.isEmpty()) {
        return {QFileInfo::exists(windowsPath) ? ResolvedPath::Status::Found
                                               : ResolvedPath::Status::Missing,
                windowsPath};
    }
    const auto components = componentsOnDriveC(windowsPath);
    if (!components) {
        return {ResolvedPath::Status::Invalid, QString()};
    }
    QString current = driveC_;
    bool missing = false;
    for (const auto& component : *components) {
        const QString exact = current + u'/' + component;
        if (missing || entryExists(exact)) {
            current = exact;
            continue;
        }
        const EntryMatch match = matchEntry(component, entriesOf(current));
        if (match.status == EntryMatch::Status::Ambiguous) {
            return {ResolvedPath::Status::Ambiguous, exact};
        }
        missing = match.status == EntryMatch::Status::Missing;
        current = missing ? exact : current + u'/' + match.name;
    }
    return {missing ? ResolvedPath::Status::Missing : ResolvedPath::Status::Found, current};
}

std::variant<OpenFolder, QString> DriveMap::openFolder(const QString& windowsPath) const {
    if (driveC_.isEmpty()) {
        return OpenFolder::open(windowsPath);
    }
    const auto components = componentsOnDriveC(windowsPath);
    if (!components) {
        return describeUnusable({ResolvedPath::Status::Invalid, {}});
    }
    auto opened = OpenFolder::open(driveC_);
    if (const auto* failure = std::get_if<QString>(&opened)) {
        return *failure;
    }
    const OpenFolder& drive = std::get<OpenFolder>(opened);
    std::optional<OpenFolder> folder;
    for (const auto& component : *components) {
        const OpenFolder& current = folder ? *folder : drive;
        const EntryMatch match = current.find(component);
        if (match.status == EntryMatch::Status::Ambiguous) {
            return QStringLiteral("several folders differ from \"%1\" only in letter case")
                .arg(component);
        }
        if (match.status == EntryMatch::Status::Missing) {
            return QStringLiteral("\"%1\" not found").arg(component);
        }
        auto next = current.subfolder(match.name);
        if (auto* failure = std::get_if<QString>(&next)) {
            return std::move(*failure);
        }
        folder = std::get<OpenFolder>(std::move(next));
    }
    if (!folder) {
        return opened;
    }
    if (!folder->isWithin(drive) && !isInPrefix(*folder)) {
        return QStringLiteral("it leads out of the Wine prefix through a link");
    }
    return std::move(*folder);
}

bool DriveMap::isInPrefix(const OpenFolder& folder) const {
    const auto prefix = OpenFolder::open(prefix_);
    const auto* opened = std::get_if<OpenFolder>(&prefix);
    return opened != nullptr && folder.isWithin(*opened);
}

std::optional<QString> DriveMap::missingDriveC() const {
    if (driveC_.isEmpty() || QFileInfo(driveC_).isDir()) {
        return std::nullopt;
    }
    return QStringLiteral(
               "there is no drive C: here. Kestrix looked for it in\n%1\nIt works on the "
               "C: drive of a Wine prefix: ~/.wine, or the one named by the WINEPREFIX "
               "environment variable, or the one given with\nkestrix --prefix PATH")
        .arg(driveC_);
}

QString describeUnusable(const ResolvedPath& path) {
    switch (path.status) {
        case ResolvedPath::Status::Found:
            return QString();
        case ResolvedPath::Status::Missing:
            return QStringLiteral("not found");
        case ResolvedPath::Status::Ambiguous:
            return QStringLiteral("several files differ from this name only in letter case");
        case ResolvedPath::Status::Invalid:
            return QStringLiteral("not a path on drive C:");
    }
    return QString();
}

}  // namespace kestrix::platform
