// Optimize removes an installed font as Windows does: unloaded first, its registry value removed
// after, the running programs told once; a file another program holds stays as it is, and one of
// Windows' own is told by its owner.
#include "platform/file_owner.h"
#include "support/files.h"
#include "support/program_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>
#include <QDir>
#include <QFileInfo>
#include <iostream>

namespace kestrix::removal {
namespace {

const wchar_t* const fontsKey = LR"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts)";

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// A real font file: Windows' own Arial, or under Wine the DejaVu that Linux has.
QByteArray realFont() {
    for (const auto* path :
         {"C:/Windows/Fonts/arial.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}) {
        if (QFileInfo::exists(QString::fromLatin1(path))) {
            return test::contentOf(QString::fromLatin1(path));
        }
    }
    return {};
}

// A value under the Fonts key of the machine or of the user for as long as the test needs it, as
// installing a font makes one.
class FontsValue {
public:
    FontsValue(QString name, const QString& file, HKEY hive = HKEY_LOCAL_MACHINE)
        : name_(std::move(name)), hive_(hive) {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(hive_, fontsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        const std::wstring data = native(file);
        EXPECT_EQ(::RegSetValueExW(key, name_.toStdWString().c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(data.c_str()),
                                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    FontsValue(const FontsValue&) = delete;
    FontsValue& operator=(const FontsValue&) = delete;
    ~FontsValue() { ::RegDeleteKeyValueW(hive_, fontsKey, name_.toStdWString().c_str()); }

    [[nodiscard]] bool exists() const {
        return ::RegGetValueW(hive_, fontsKey, name_.toStdWString().c_str(), RRF_RT_REG_SZ, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS;
    }

private:
    QString name_;
    HKEY hive_;
};

// A self-relative security descriptor made from its SDDL text.
QByteArray descriptorOf(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG size = 0;
    EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                       &descriptor, &size));
    const QByteArray bytes(static_cast<const char*>(descriptor), static_cast<qsizetype>(size));
    ::LocalFree(descriptor);
    return bytes;
}

TEST(FileOwner, IsWindowsOnlyForTrustedInstaller) {
    using platform::FileOwner;
    const struct {
        const wchar_t* sddl;
        FileOwner owner;
    } rows[] = {
        {L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464G:SYD:(A;;FA;;;BA)",
         FileOwner::Windows},
        // Fonts that other software installed for all users.
        {L"O:BAG:SYD:(A;;FA;;;BA)", FileOwner::Someone},
        {L"O:SYG:SYD:(A;;FA;;;SY)", FileOwner::Someone},
        // A user's own, and another service's.
        {L"O:S-1-5-21-1004336348-1177238915-682003330-1001D:(A;;FA;;;WD)", FileOwner::Someone},
        {L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478465", FileOwner::Someone},
        {L"D:(A;;FA;;;WD)", FileOwner::NotKnown},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::ownerIn(descriptorOf(row.sddl)), row.owner)
            << QString::fromWCharArray(row.sddl).toStdString();
    }
    EXPECT_EQ(platform::ownerIn(QByteArray()), FileOwner::NotKnown);
    EXPECT_EQ(platform::ownerIn(QByteArray(8, '\x01')), FileOwner::NotKnown);
}

// A top-level window, as every program has, that counts the font changes it is told of.
class FontChangeListener {
public:
    FontChangeListener() {
        WNDCLASSW kind{};
        kind.lpfnWndProc = &FontChangeListener::receive;
        kind.hInstance = ::GetModuleHandleW(nullptr);
        kind.lpszClassName = L"KestrixFontChangeListener";
        ::RegisterClassW(&kind);
        window_ = ::CreateWindowExW(0, kind.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, kind.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&heard_));
    }
    FontChangeListener(const FontChangeListener&) = delete;
    FontChangeListener& operator=(const FontChangeListener&) = delete;
    ~FontChangeListener() { ::DestroyWindow(window_); }

    // Wine without a display makes no windows.
    [[nodiscard]] bool listening() const { return window_ != nullptr; }
    [[nodiscard]] int heard() const { return heard_; }

private:
    static LRESULT CALLBACK receive(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_FONTCHANGE) {
            ++*reinterpret_cast<int*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        return ::DefWindowProcW(window, message, w, l);
    }

    HWND window_ = nullptr;
    int heard_ = 0;
};

class InstalledFontRemoval : public test::ProgramFixture {};

TEST_F(InstalledFontRemoval, UnloadsRemovesAndForgetsTheFontButLeavesOneInUse) {
    const QByteArray font = realFont();
    ASSERT_FALSE(font.isEmpty()) << "no font file to install here";
    const QString installed = drive.addFont(QStringLiteral("Kestrel.ttf"), font);
    const QString held = drive.addFont(QStringLiteral("Held.ttf"), font);
    const QString own = drive.addUserFont(QStringLiteral("Own.ttf"), font);
    ASSERT_GT(::AddFontResourceExW(native(installed).c_str(), 0, nullptr), 0);
    const FontsValue installedValue(QStringLiteral("Kestrel Test (TrueType)"), installed);
    const FontsValue heldValue(QStringLiteral("Held Test (TrueType)"), held);
    // A font the user installed for themselves is named by its whole path.
    const FontsValue ownValue(QStringLiteral("Own Test (TrueType)"), own, HKEY_CURRENT_USER);
    // Another program reads it and lets nobody else near it.
    const HANDLE holder =
        ::CreateFileW(native(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const FontChangeListener listener;

    app::FrmKestrix& w = start();
    scan(w);
    answers.answer(QMessageBox::Yes);
    answers.answer(QMessageBox::Ok);
    w.cmdRemove->click();
    ::CloseHandle(holder);

    EXPECT_FALSE(drive.hasFont(QStringLiteral("Kestrel.ttf")));
    EXPECT_FALSE(installedValue.exists());
    EXPECT_FALSE(drive.hasUserFont(QStringLiteral("Own.ttf")));
    EXPECT_FALSE(ownValue.exists());
    EXPECT_EQ(::RemoveFontResourceExW(native(installed).c_str(), 0, nullptr), 0)
        << "the font is still loaded";
    EXPECT_EQ(test::contentOf(held), font);
    EXPECT_TRUE(heldValue.exists());
    EXPECT_EQ(w.lblttl->text(), QStringLiteral("2"));
    ASSERT_EQ(answers.shown().size(), 2U);
    EXPECT_EQ(answers.shown().back().text,
              QStringLiteral("These fonts were not removed:\n\nC:\\WINDOWS\\Fonts\\Held.ttf: in "
                             "use by another program (sharing violation)"));
    if (listener.listening()) {
        EXPECT_EQ(listener.heard(), 1);
    } else {
        std::cout << "not heard here, the font change: no window can be made\n";
    }
}

}  // namespace
}  // namespace kestrix::removal
