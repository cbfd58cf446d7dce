#include "platform/drive_map.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStringList>

namespace kestrix::platform {

namespace {

bool entryExists(const QString& hostPath) {
    const QFileInfo info(hostPath);
    return info.exists() || info.isSymLink();  // a dangling link still occupies its name
}

QStringList entriesEqualIgnoringCase(const QString& folder, const QString& name) {
    const auto all = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                            QDir::NoDotAndDotDot);
    QStringList equal;
    for (const auto& entry : all) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            equal << entry;
        }
    }
    return equal;
}

QString wineDriveC(QString prefix) {
    if (prefix.isEmpty()) {
        prefix = QProcessEnvironment::systemEnvironment().value(QStringLiteral("WINEPREFIX"));
    }
    prefix = prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine")
                              : QFileInfo(prefix).absoluteFilePath();
    const QString dosDevice = prefix + QStringLiteral("/dosdevices/c:");
    return QFileInfo::exists(dosDevice) ? dosDevice : prefix + QStringLiteral("/drive_c");
}

}  // namespace

DriveMap DriveMap::fromEnvironment(const QString& winePrefix) {
#ifdef Q_OS_WIN
    Q_UNUSED(winePrefix);
    return DriveMap(QString());
#else
    return DriveMap(wineDriveC(winePrefix));
#endif
}

DriveMap DriveMap::withDriveC(const QString& hostRoot) {
    return DriveMap(hostRoot);
}

ResolvedPath DriveMap::resolve(const QString& windowsPath) const {
    if (driveC_.isEmpty()) {
        return {QFileInfo::exists(windowsPath) ? ResolvedPath::Status::Found
                                               : ResolvedPath::Status::Missing,
                windowsPath};
    }
    if (!windowsPath.startsWith(QStringLiteral("C:"), Qt::CaseInsensitive)) {
        return {ResolvedPath::Status::Invalid, QString()};
    }
    QString current = driveC_;
    bool missing = false;
    const QStringList components =
        QString(windowsPath.mid(2)).replace(u'/', u'\\').split(u'\\', Qt::SkipEmptyParts);
    for (const auto& component : components) {
        if (component == QStringLiteral(".") || component == QStringLiteral("..")) {
            return {ResolvedPath::Status::Invalid, QString()};
        }
        const QString exact = current + u'/' + component;
        if (missing || entryExists(exact)) {
            current = exact;
            continue;
        }
        const auto equal = entriesEqualIgnoringCase(current, component);
        if (equal.size() > 1) {
            return {ResolvedPath::Status::Ambiguous, exact};
        }
        missing = equal.isEmpty();
        current = missing ? exact : current + u'/' + equal.front();
    }
    return {missing ? ResolvedPath::Status::Missing : ResolvedPath::Status::Found, current};
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
