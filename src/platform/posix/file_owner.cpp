#include "platform/file_owner.h"

namespace kestrix::platform {

// A Unix file's owner is a user of this machine, never the account Windows keeps its files
// through: only the names tell Windows' own fonts here.

QByteArray securityDescriptorOf(const QString&) {
    return {};
}

FileOwner ownerIn(const QByteArray&) {
    return FileOwner::NotKnown;
}

}  // namespace kestrix::platform
