#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace kestrix::platform {

// Who owns a file: Windows itself (NT SERVICE\TrustedInstaller, the account through which
// Windows keeps its own files), someone else, or nobody can tell (the system keeps no owner).
enum class FileOwner { Windows, Someone, NotKnown };

// A file's security descriptor, self-relative, as the system keeps it with the file; empty
// where it keeps none or the file cannot be asked. Elsewhere than on Windows always empty.
[[nodiscard]] QByteArray securityDescriptorOf(const QString& hostPath);

// Who owns a file with that security descriptor.
[[nodiscard]] FileOwner ownerIn(const QByteArray& securityDescriptor);

// Who owns the file at a host path; the scan and Optimize ask through this, tests through a
// stand-in.
using OwnerLookup = std::function<FileOwner(const QString& hostPath)>;
[[nodiscard]] inline FileOwner ownerOf(const QString& hostPath) {
    return ownerIn(securityDescriptorOf(hostPath));
}

}  // namespace kestrix::platform
