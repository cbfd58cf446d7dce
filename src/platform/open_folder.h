#pragma once

#include "platform/unique_handle.h"

#include <QString>
#include <QStringList>
#include <variant>

namespace kestrix::platform {

// How a name is found among a folder's entries, as Windows finds it: the entry spelled exactly
// so, otherwise the one entry equal to it with letter case ignored. Where several are equal
// and none exactly, nothing is guessed.
struct EntryMatch {
    enum class Status { Found, Missing, Ambiguous };
    Status status = Status::Missing;
    QString name;  // the entry's own spelling, where found
};
[[nodiscard]] EntryMatch matchEntry(const QString& name, const QStringList& entries);

// A folder held open. Its entries are found, opened and removed relative to it, so that
// renaming the folder, or putting a link in its place, cannot redirect anything afterwards.
class OpenFolder {
public:
    // Opens the folder at a host path; links on the way are followed, once.
    [[nodiscard]] static std::variant<OpenFolder, QString> open(const QString& hostPath);

    // The subfolder of that name, or the folder a link of that name leads to.
    [[nodiscard]] std::variant<OpenFolder, QString> subfolder(const QString& name) const;
    [[nodiscard]] EntryMatch find(const QString& name) const;
    [[nodiscard]] QStringList entries() const;
    // Whether both are the very same folder, whatever the names that led to them.
    [[nodiscard]] bool isSameFolder(const OpenFolder& other) const;
    // Whether this folder is `outer` or lies somewhere below it.
    [[nodiscard]] bool isWithin(const OpenFolder& outer) const;

    // The system's handle, for opening and removing entries relative to the folder.
    [[nodiscard]] const UniqueHandle& handle() const { return handle_; }

private:
    explicit OpenFolder(UniqueHandle handle) : handle_(std::move(handle)) {}

    UniqueHandle handle_;
};

}  // namespace kestrix::platform
