// optivue_folders.dll: the package's custom actions LookAtFolders (immediate, only looking) and CheckFolders
// (deferred and run as SYSTEM after the older version's removal, before any folder or file is written). It brings the
// installation folder and the two above it (C:\Program Files and the maker's folder) to the state the setup program
// leaves them in, or fails the installation having changed nothing:
//   - a folder that is not there is created with its owner and permissions in one step;
//   - C:\Program Files and the maker's folder, when they were there, must be owned by Administrators,
//     SYSTEM, TrustedInstaller or the administrator who installs, and nobody else (Power Users aside, who
//     have Modify on Windows' own program folder) may add to them, delete in them or change their
//     permissions or owner;
//   - the installation folder, when it was there, must be empty (an older version's files are gone before
//     this action runs), and then gets the owner and permissions;
//   - a junction or other reparse point in the place of any of them is refused;
//   - while a removal waiting for the next restart names the installation folder, nothing is installed.
// CustomActionData: the installing administrator's SID (empty when the user is no administrator), a
// semicolon, and the refusal's message with [1] for the folder. Only what Windows Installer 2.0 has.
#include <windows.h>

#include <aclapi.h>
#include <msi.h>
#include <msiquery.h>
#include <sddl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "res/product.h"

namespace {

// Owner Administrators; a DACL protected from the parent's: Administrators and SYSTEM full control, Users
// and Power Users read and execute, inherited by everything below. As the setup program's.
const wchar_t kSecurity[] = L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;PU)";
// Add a file or folder, delete a child, delete, change permissions or owner, generic all and write.
constexpr DWORD kWriteRights = 0x500D0046;

std::wstring Wide(const char* text) {
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH);
    return wide;
}

std::wstring Parent(const std::wstring& folder) { return folder.substr(0, folder.find_last_of(L'\\')); }

bool SidIs(PSID sid, const std::wstring& text) {
    PSID wanted = nullptr;
    if (text.empty() || !ConvertStringSidToSidW(text.c_str(), &wanted)) return false;
    const bool same = EqualSid(sid, wanted) != FALSE;
    LocalFree(wanted);
    return same;
}

struct Trust {
    std::wstring installer;  // the administrator who installs; empty: none

    bool Owner(PSID sid) const {
        return SidIs(sid, L"S-1-5-32-544") || SidIs(sid, L"S-1-5-18") ||
               SidIs(sid, L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464") || SidIs(sid, installer);
    }
    bool Writer(PSID sid) const { return Owner(sid) || SidIs(sid, L"S-1-5-32-547") || SidIs(sid, L"S-1-3-0"); }
};

bool PersistentAcls(const std::wstring& folder) {
    const std::wstring root = folder.substr(0, 3);
    DWORD flags = 0;
    return !GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) ||
           (flags & FILE_PERSISTENT_ACLS);
}

// A folder above the installation folder that was there: owned and changeable by trusted accounts only.
bool SafeFolderAbove(const std::wstring& folder, const Trust& trust) {
    if (!PersistentAcls(folder)) return true;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return false;
    bool safe = owner && trust.Owner(owner) && dacl;  // no DACL: everybody may do everything
    ACL_SIZE_INFORMATION size = {};
    if (safe && !GetAclInformation(dacl, &size, sizeof size, AclSizeInformation)) safe = false;
    for (DWORD i = 0; safe && i < size.AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) {
            safe = false;
        } else if (header->AceFlags & INHERIT_ONLY_ACE || header->AceType == ACCESS_DENIED_ACE_TYPE ||
                   header->AceType == SYSTEM_AUDIT_ACE_TYPE || header->AceType == SYSTEM_ALARM_ACE_TYPE) {
            // only for what is created below, or no grant
        } else if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            safe = false;  // an entry of a kind not read here
        } else {
            auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
            if ((ace->Mask & kWriteRights) && !trust.Writer(reinterpret_cast<PSID>(&ace->SidStart))) safe = false;
        }
    }
    LocalFree(descriptor);
    return safe;
}

bool Empty(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool empty = true;
    do {
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) empty = false;
    } while (empty && FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

// A name of PendingFileRenameOperations ("\??\C:\...", "!\??\C:\..." or empty) that is the folder or in it.
bool PendingInFolder(const std::wstring& folder) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> names;
    LONG read = ERROR_MORE_DATA;
    DWORD bytes = 0;
    for (DWORD size = 8192; read == ERROR_MORE_DATA && size <= 4 * 1024 * 1024; size *= 2) {
        names.assign(size / sizeof(wchar_t) + 2, L'\0');  // two NULs more: the list ends whatever it holds
        bytes = size;
        read = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                reinterpret_cast<BYTE*>(names.data()), &bytes);
    }
    RegCloseKey(key);
    if (read != ERROR_SUCCESS) return false;
    const std::wstring inside = folder + L"\\";
    const wchar_t* end = names.data() + bytes / sizeof(wchar_t);
    for (const wchar_t* name = names.data(); name < end; name += wcslen(name) + 1) {
        std::wstring path = name;
        if (!path.empty() && path[0] == L'!') path.erase(0, 1);
        if (path.compare(0, 4, L"\\??\\") == 0) path.erase(0, 4);
        if (!_wcsicmp(path.c_str(), folder.c_str()) || !_wcsnicmp(path.c_str(), inside.c_str(), inside.size()))
            return true;
    }
    return false;
}

// True when the folders are ready; otherwise *refused is the folder that is not. With `change` false only
// looked at: a folder that is not there counts as ready, and nothing is created or set.
bool Prepare(const std::wstring& folder, const Trust& trust, bool change, std::wstring* refused) {
    *refused = folder;
    if (PendingInFolder(folder)) return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kSecurity, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    const std::wstring levels[] = {Parent(Parent(folder)), Parent(folder), folder};
    bool ready = true;
    for (const std::wstring& level : levels) {
        *refused = level;
        const DWORD found = GetFileAttributesW(level.c_str());
        if (found == INVALID_FILE_ATTRIBUTES) {
            if (!change) break;  // nor is anything below it
            ready = CreateDirectoryW(level.c_str(), &attributes) != FALSE;
        } else if ((found & FILE_ATTRIBUTE_REPARSE_POINT) || !(found & FILE_ATTRIBUTE_DIRECTORY)) {
            ready = false;
        } else if (level != folder) {
            ready = SafeFolderAbove(level, trust);
        } else if (!Empty(level)) {
            ready = false;
        } else if (change && PersistentAcls(level)) {
            PSID owner = nullptr;
            PACL dacl = nullptr;
            BOOL present = FALSE, defaulted = FALSE;
            GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
            GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
            ready = SetNamedSecurityInfoW(
                        const_cast<wchar_t*>(level.c_str()), SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                        owner, nullptr, dacl, nullptr) == ERROR_SUCCESS;
        }
        if (!ready) break;
    }
    LocalFree(descriptor);
    return ready;
}

}  // namespace

namespace {

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
    std::vector<wchar_t> text(4096, L'\0');
    DWORD length = static_cast<DWORD>(text.size() - 1);
    if (MsiGetPropertyW(install, name, text.data(), &length) != ERROR_SUCCESS) return L"";
    return text.data();
}

UINT Check(MSIHANDLE install, const std::wstring& administrator, const std::wstring& message, bool change) {
    Trust trust;
    trust.installer = administrator;
    std::wstring refused;
    if (Prepare(Wide(OPTIVUE_INSTALLATION_FOLDER), trust, change, &refused)) return ERROR_SUCCESS;
    const MSIHANDLE record = MsiCreateRecord(1);
    if (record) {
        MsiRecordSetStringW(record, 0, message.c_str());
        MsiRecordSetStringW(record, 1, refused.c_str());
        MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONSTOP), record);
        MsiCloseHandle(record);
    }
    return ERROR_INSTALL_FAILURE;
}

}  // namespace

// Immediate, before anything is written (also where the standard actions write at once, as under Wine):
// looks at the folders that are there and refuses, changing nothing.
extern "C" __declspec(dllexport) UINT __stdcall LookAtFolders(MSIHANDLE install) {
    return Check(install, Property(install, L"OptivueAdministratorSid"), Property(install, L"OptivueFolderRefused"),
                 false);
}

// Deferred, as SYSTEM: looks again (a folder may have come since), creates what is missing and locks the
// installation folder that was there.
extern "C" __declspec(dllexport) UINT __stdcall CheckFolders(MSIHANDLE install) {
    const std::wstring data = Property(install, L"CustomActionData");
    const size_t line = data.find(L';');
    return Check(install, data.substr(0, line), line == std::wstring::npos ? L"" : data.substr(line + 1), true);
}
