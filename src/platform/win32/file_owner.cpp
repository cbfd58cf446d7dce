#include "platform/file_owner.h"

#include "platform/win32/handles.h"

#include <aclapi.h>
#include <sddl.h>
#include <QDir>
#include <memory>

namespace kestrix::platform {

namespace {

// NT SERVICE\TrustedInstaller: the same SID on every Windows, made from the service's name.
constexpr wchar_t trustedInstaller[] =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

struct LocalFree {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

bool isTrustedInstaller(PSID sid) {
    PSID wanted = nullptr;
    if (!::ConvertStringSidToSidW(trustedInstaller, &wanted)) {
        return false;
    }
    const std::unique_ptr<void, LocalFree> held(wanted);
    return ::EqualSid(sid, wanted) != FALSE;
}

}  // namespace

QByteArray securityDescriptorOf(const QString& hostPath) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(win32::wide(QDir::toNativeSeparators(hostPath)).c_str(),
                                SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, nullptr, nullptr,
                                nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    const std::unique_ptr<void, LocalFree> held(descriptor);
    return {static_cast<const char*>(descriptor),
            static_cast<qsizetype>(::GetSecurityDescriptorLength(descriptor))};
}

FileOwner ownerIn(const QByteArray& securityDescriptor) {
    if (securityDescriptor.size() < static_cast<qsizetype>(sizeof(SECURITY_DESCRIPTOR_RELATIVE))) {
        return FileOwner::NotKnown;
    }
    // Only read, though the calls take it as writable.
    auto* descriptor = const_cast<char*>(securityDescriptor.constData());
    if (!::IsValidSecurityDescriptor(descriptor)) {
        return FileOwner::NotKnown;
    }
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || owner == nullptr) {
        return FileOwner::NotKnown;
    }
    return isTrustedInstaller(owner) ? FileOwner::Windows : FileOwner::Someone;
}

}  // namespace kestrix::platform
