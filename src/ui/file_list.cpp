#include "ui/file_list.h"

#include "platform/system_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace kestrix::ui {

namespace {

bool byName(const QString& a, const QString& b) {
    const int ignoringCase = a.compare(b, Qt::CaseInsensitive);
    return ignoringCase != 0 ? ignoringCase < 0 : a < b;
}

// Names that are not valid in the file system's encoding come back from the listing altered;
// such a name would lead to another file, or to none.
QStringList namesLeadingBack(const QString& folder, QStringList names) {
    std::sort(names.begin(), names.end());
    QStringList kept;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool duplicate = (i > 0 && names[i] == names[i - 1]) ||
                               (i + 1 < names.size() && names[i] == names[i + 1]);
        const QFileInfo info(folder + u'/' + names[i]);
        if (!duplicate && (info.exists() || info.isSymLink())) {
            kept << names[i];
        }
    }
    return kept;
}

}  // namespace

bool isWindowsFileName(const QString& name) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x20 || forbidden.contains(c);
    });
}

FileList::FileList(platform::DriveMap drives, const QString& pattern) : drives_(std::move(drives)) {
    for (const auto& wildcard : pattern.split(u';', Qt::SkipEmptyParts)) {
        wildcards_.emplace_back(QRegularExpression::wildcardToRegularExpression(wildcard.trimmed()),
                                QRegularExpression::CaseInsensitiveOption);
    }
}

bool FileList::fitsPattern(const QString& name) const {
    return std::any_of(wildcards_.begin(), wildcards_.end(),
                       [&](const QRegularExpression& re) { return re.match(name).hasMatch(); });
}

std::optional<FileList::Failure> FileList::refresh() {
    entries_.clear();
    folders_.clear();
    index_ = -1;
    if (auto noDrive = drives_.missingDriveC()) {
        return Failure{paths_.value(0), *noDrive};
    }
    std::optional<Failure> absent;
    for (const auto& path : paths_) {
        const auto folder = drives_.resolve(path);
        if (folder.status == platform::ResolvedPath::Status::Missing) {
            const QString reason =
                QStringLiteral("not found (%1)").arg(QDir::toNativeSeparators(folder.hostPath));
            if (&path == &paths_.front()) {
                absent = Failure{path, reason};
            }
            continue;
        }
        auto listed = readFolder(folder);
        if (auto* failure = std::get_if<QString>(&listed)) {
            entries_.clear();
            return Failure{path, *failure};
        }
        folders_.push_back({path, folder.hostPath});
        for (auto& name : std::get<QStringList>(listed)) {
            entries_.push_back({std::move(name), folders_.size() - 1});
        }
    }
    return entries_.empty() ? absent : std::nullopt;
}

std::variant<QStringList, QString> FileList::readFolder(
    const platform::ResolvedPath& folder) const {
    if (folder.status != platform::ResolvedPath::Status::Found) {
        return platform::describeUnusable(folder);
    }
    const QFileInfo info(folder.hostPath);
    if (!info.isDir()) {
        return QStringLiteral("not a folder");
    }
    const QDir dir(folder.hostPath);
    if (!info.isReadable() || !dir.isReadable()) {
        return QStringLiteral("the folder cannot be read");
    }
    QStringList candidates;
    // Qt leaves out hidden files; the system's own, which Qt does not tell, are left out too.
    for (const auto& name : dir.entryList(QDir::Files)) {
        if (isWindowsFileName(name) && fitsPattern(name) &&
            !platform::isSystemFile(folder.hostPath + u'/' + name)) {
            candidates << name;
        }
    }
    QStringList names = namesLeadingBack(folder.hostPath, candidates);
    std::sort(names.begin(), names.end(), byName);
    return names;
}

const FileList::Entry* FileList::selected() const {
    return index_ >= 0 && index_ < listCount() ? &entries_.at(static_cast<std::size_t>(index_))
                                               : nullptr;
}

QString FileList::fileName() const {
    const Entry* entry = selected();
    return entry ? entry->name : QString();
}

QString FileList::filePath() const {
    const Entry* entry = selected();
    return entry ? folders_.at(entry->folder).windowsPath + u'\\' + entry->name : QString();
}

QString FileList::hostPath() const {
    const Entry* entry = selected();
    return entry ? folders_.at(entry->folder).hostPath + u'/' + entry->name : QString();
}

}  // namespace kestrix::ui
