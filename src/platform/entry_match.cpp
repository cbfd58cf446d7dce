#include "platform/open_folder.h"

namespace kestrix::platform {

EntryMatch matchEntry(const QString& name, const QStringList& entries) {
    if (entries.contains(name)) {
        return {EntryMatch::Status::Found, name};
    }
    QStringList equal;
    for (const auto& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            equal << entry;
        }
    }
    if (equal.size() > 1) {
        return {EntryMatch::Status::Ambiguous, {}};
    }
    return equal.isEmpty() ? EntryMatch{} : EntryMatch{EntryMatch::Status::Found, equal.front()};
}

}  // namespace kestrix::platform
