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

QString wineDriveC() {
    const auto env = QProcessEnvironment::systemEnvironment();
    QString prefix = env.value(QStringLiteral("WINEPREFIX"));
    if (prefix.isEmpty()) {
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    }
    const QString dosDevice = prefix + QStringLiteral("/dosdevices/c:");
    return QFileInfo::exists(dosDevice) ? dosDevice : prefix + QStringLiteral("/drive_c");
}

}  // namespace

DriveMap DriveMap::fromEnvironment() {
#ifdef Q_OS_WIN
    return DriveMap(QString());
#else
    return DriveMap(wineDriveC());
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
