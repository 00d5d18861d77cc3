// The simulated registry: keys and typed values with Windows' semantics, handles with access rights,
// REGEDIT4 text, and the ADVAPI32 calls over it.
#include <simwin/sim.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace simwin {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Splits a key path into its names. Windows refuses a path that begins with a backslash; an empty name
// between two backslashes counts for nothing, as on Wine.
bool SplitKeyPath(const char* path, std::vector<std::string>* names) {
    names->clear();
    if (!path) return true;
    if (path[0] == '\\') return false;
    std::string current;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\') {
            if (!current.empty()) names->push_back(current);
            current.clear();
        } else {
            current += *p;
        }
    }
    if (!current.empty()) names->push_back(current);
    return true;
}

const struct {
    const char* full;
    const char* shortName;
    LONG handle;
} kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", static_cast<LONG>(0x80000000)},
    {"HKEY_CURRENT_USER", "HKCU", static_cast<LONG>(0x80000001)},
    {"HKEY_LOCAL_MACHINE", "HKLM", static_cast<LONG>(0x80000002)},
    {"HKEY_USERS", "HKU", static_cast<LONG>(0x80000003)},
};

bool WantsRead(REGSAM access) { return access & (KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY); }
bool WantsWrite(REGSAM access) { return access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK); }

bool AccessAllowed(const RegKey& key, REGSAM access) {
    if (key.denyRead && WantsRead(access)) return false;
    if (key.denyWrite && WantsWrite(access)) return false;
    return true;
}

}  // namespace

// ---- Keys ----
RegValue* RegKey::FindValue(const std::string& valueName) {
    for (RegValue& value : values)
        if (SameTextIgnoringCase(value.name, valueName)) return &value;
    return nullptr;
}

std::shared_ptr<RegKey> RegKey::FindSubkey(const std::string& keyName) const {
    for (const auto& key : subkeys)
        if (SameTextIgnoringCase(key->name, keyName)) return key;
    return nullptr;
}

Registry::Registry() {
    for (const auto& root : kRoots) {
        auto key = std::make_shared<RegKey>();
        key->name = root.full;
        roots_[root.full] = key;
    }
}

std::shared_ptr<RegKey> Registry::Root(HKEY predefined) const {
    for (const auto& root : kRoots)
        if (predefined == reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root.handle))) return roots_.at(root.full);
    return nullptr;
}

namespace {
// "HKEY_CURRENT_USER\\A\\B" or "HKCU\\A\\B" into the root's full name and the rest.
bool SplitFullPath(const std::string& fullPath, std::string* root, std::string* rest) {
    const size_t slash = fullPath.find('\\');
    const std::string head = Upper(fullPath.substr(0, slash));
    *rest = slash == std::string::npos ? "" : fullPath.substr(slash + 1);
    for (const auto& r : kRoots)
        if (head == r.full || head == r.shortName) {
            *root = r.full;
            return true;
        }
    return false;
}
}  // namespace

std::shared_ptr<RegKey> Registry::Find(const std::string& fullPath) const {
    std::string root, rest;
    std::vector<std::string> names;
    if (!SplitFullPath(fullPath, &root, &rest) || !SplitKeyPath(rest.c_str(), &names)) return nullptr;
    std::shared_ptr<RegKey> key = roots_.at(root);
    for (const auto& name : names) {
        key = key->FindSubkey(name);
        if (!key) return nullptr;
    }
    return key;
}

std::shared_ptr<RegKey> Registry::Ensure(const std::string& fullPath) {
    std::string root, rest;
    std::vector<std::string> names;
    if (!SplitFullPath(fullPath, &root, &rest) || !SplitKeyPath(rest.c_str(), &names)) return nullptr;
    std::shared_ptr<RegKey> key = roots_.at(root);
    for (const auto& name : names) {
        auto next = key->FindSubkey(name);
        if (!next) {
            next = std::make_shared<RegKey>();
            next->name = name;
            key->subkeys.push_back(next);
        }
        key = next;
    }
    return key;
}

bool Registry::Remove(const std::string& fullPath) {
    const size_t slash = fullPath.rfind('\\');
    if (slash == std::string::npos) return false;
    auto parent = Find(fullPath.substr(0, slash));
    if (!parent) return false;
    const std::string name = fullPath.substr(slash + 1);
    auto& keys = parent->subkeys;
    const auto it =
        std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return SameTextIgnoringCase(k->name, name); });
    if (it == keys.end()) return false;
    keys.erase(it);
    return true;
}

void Registry::SetValue(const std::string& fullPath, const std::string& name, DWORD type, std::vector<BYTE> data) {
    auto key = Ensure(fullPath);
    if (!key) return;
    if (RegValue* value = key->FindValue(name)) {
        value->type = type;
        value->data = std::move(data);
    } else {
        key->values.push_back(RegValue{name, type, std::move(data)});
    }
}

void Registry::SetString(const std::string& fullPath, const std::string& name, const std::string& text, DWORD type) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(fullPath, name, type, std::move(data));
}

void Registry::SetDword(const std::string& fullPath, const std::string& name, DWORD value) {
    std::vector<BYTE> data(4);
    std::memcpy(data.data(), &value, 4);
    SetValue(fullPath, name, REG_DWORD, std::move(data));
}

const RegValue* Registry::Value(const std::string& fullPath, const std::string& name) const {
    auto key = Find(fullPath);
    return key ? key->FindValue(name) : nullptr;
}

std::optional<std::string> Registry::String(const std::string& fullPath, const std::string& name) const {
    const RegValue* value = Value(fullPath, name);
    if (!value) return std::nullopt;
    const auto end = std::find(value->data.begin(), value->data.end(), 0);
    return std::string(value->data.begin(), end);
}

void Registry::SetAccess(const std::string& fullPath, bool canRead, bool canWrite) {
    auto key = Ensure(fullPath);
    key->denyRead = !canRead;
    key->denyWrite = !canWrite;
}

// ---- Handles ----
HKEY Registry::OpenHandle(std::shared_ptr<RegKey> key, REGSAM access, std::string path) {
    const uintptr_t id = nextHandle_;
    nextHandle_ += 4;
    handles_[id] = Handle{std::move(key), access, std::move(path)};
    return reinterpret_cast<HKEY>(id);
}

const Registry::Handle* Registry::Lookup(HKEY key) const {
    const auto it = handles_.find(reinterpret_cast<uintptr_t>(key));
    if (it != handles_.end()) return &it->second;
    if (auto root = Root(key)) {
        auto& handle = rootHandles_[reinterpret_cast<uintptr_t>(key)];
        handle = Handle{root, KEY_ALL_ACCESS, ""};
        return &handle;
    }
    return nullptr;
}

bool Registry::CloseHandle(HKEY key) {
    if (Root(key)) return true;  // closing a predefined key is allowed and does nothing
    return handles_.erase(reinterpret_cast<uintptr_t>(key)) == 1;
}

std::string Registry::HandleName(HKEY key) const {
    for (const auto& root : kRoots)
        if (key == reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root.handle))) return root.shortName;
    if (!key) return "NULL";
    return "hkey#" + std::to_string((reinterpret_cast<uintptr_t>(key) - 0x1000) / 4 + 1);
}

// ---- REGEDIT4 text ----
namespace {

std::string HexBytes(const std::vector<BYTE>& data) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        if (i) out += ',';
        out += buf;
    }
    return out;
}

bool IsPlainString(const RegValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) return false;
    for (size_t i = 0; i + 1 < value.data.size(); ++i)
        if (value.data[i] == 0 || value.data[i] == '\r' || value.data[i] == '\n') return false;
    return true;
}

std::string QuoteRegText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

void SaveKey(const RegKey& key, const std::string& path, std::string* out) {
    *out += "[" + path + "]\n";
    for (const RegValue& value : key.values) {
        *out += value.name.empty() ? "@" : QuoteRegText(value.name);
        *out += '=';
        if (IsPlainString(value)) {
            *out += QuoteRegText(std::string(value.data.begin(), value.data.end() - 1));
        } else if (value.type == REG_DWORD && value.data.size() == 4) {
            DWORD number;
            std::memcpy(&number, value.data.data(), 4);
            char buf[16];
            std::snprintf(buf, sizeof buf, "dword:%08x", number);
            *out += buf;
        } else if (value.type == REG_BINARY) {
            *out += "hex:" + HexBytes(value.data);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
            *out += buf + HexBytes(value.data);
        }
        *out += '\n';
    }
    *out += '\n';
    std::vector<std::shared_ptr<RegKey>> sorted = key.subkeys;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return Upper(a->name) < Upper(b->name); });
    for (const auto& sub : sorted) SaveKey(*sub, path + "\\" + sub->name, out);
}

// Reads a quoted text at *p (which points at the opening quote); leaves *p after the closing quote.
bool ReadQuoted(const std::string& line, size_t* p, std::string* text) {
    if (*p >= line.size() || line[*p] != '"') return false;
    text->clear();
    for (size_t i = *p + 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            *text += line[++i];
        } else if (line[i] == '"') {
            *p = i + 1;
            return true;
        } else {
            *text += line[i];
        }
    }
    return false;
}

bool ParseHexBytes(const std::string& text, std::vector<BYTE>* data) {
    data->clear();
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (c == ',' || c == ' ' || c == '\t') {
            if (!digits.empty()) {
                if (digits.size() > 2) return false;
                data->push_back(static_cast<BYTE>(std::stoul(digits, nullptr, 16)));
                digits.clear();
            }
        } else {
            return false;
        }
    }
    if (!digits.empty()) {
        if (digits.size() > 2) return false;
        data->push_back(static_cast<BYTE>(std::stoul(digits, nullptr, 16)));
    }
    return true;
}

// Joins lines continued with a trailing backslash, as the registry editor wraps long hex data.
std::vector<std::string> LogicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string raw, pending;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (!pending.empty()) {
            const size_t start = raw.find_first_not_of(" \t");
            raw = start == std::string::npos ? "" : raw.substr(start);
        }
        pending += raw;
        if (!pending.empty() && pending.back() == '\\' && pending.find('=') != std::string::npos &&
            pending.find("=\"") == std::string::npos) {
            pending.pop_back();
            continue;
        }
        lines.push_back(pending);
        pending.clear();
    }
    if (!pending.empty()) lines.push_back(pending);
    return lines;
}

}  // namespace

std::string Registry::SaveRegText() const {
    std::string out = "REGEDIT4\n\n";
    for (const auto& root : kRoots) {
        const auto& key = roots_.at(root.full);
        if (key->values.empty() && key->subkeys.empty()) continue;
        SaveKey(*key, root.full, &out);
    }
    return out;
}

bool Registry::LoadRegText(const std::string& text, std::string* error) {
    auto fail = [&](size_t lineNumber, const std::string& why) {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    const std::vector<std::string> lines = LogicalLines(text);
    if (lines.empty() || lines[0] != "REGEDIT4") return fail(1, "expected REGEDIT4");
    std::shared_ptr<RegKey> key;
    std::string keyPath;
    for (size_t n = 1; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') return fail(n + 1, "unterminated key");
            keyPath = line.substr(1, line.size() - 2);
            if (!keyPath.empty() && keyPath[0] == '-') {
                Remove(keyPath.substr(1));
                key = nullptr;
                continue;
            }
            key = Ensure(keyPath);
            if (!key) return fail(n + 1, "unknown root in " + keyPath);
            continue;
        }
        if (!key) return fail(n + 1, "value outside a key");
        size_t p = 0;
        std::string name;
        if (line[0] == '@') {
            p = 1;
        } else if (!ReadQuoted(line, &p, &name)) {
            return fail(n + 1, "bad value name");
        }
        if (p >= line.size() || line[p] != '=') return fail(n + 1, "expected =");
        ++p;
        const std::string data = line.substr(p);
        if (data == "-") {
            auto& values = key->values;
            values.erase(std::remove_if(values.begin(), values.end(),
                                        [&](const RegValue& v) { return SameTextIgnoringCase(v.name, name); }),
                         values.end());
        } else if (!data.empty() && data[0] == '"') {
            std::string textValue;
            size_t q = 0;
            if (!ReadQuoted(data, &q, &textValue) || q != data.size()) return fail(n + 1, "bad string");
            SetString(keyPath, name, textValue);
        } else if (data.rfind("dword:", 0) == 0) {
            const std::string digits = data.substr(6);
            if (digits.size() != 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return fail(n + 1, "bad dword");
            SetDword(keyPath, name, static_cast<DWORD>(std::stoul(digits, nullptr, 16)));
        } else if (data.rfind("hex:", 0) == 0 || data.rfind("hex(", 0) == 0) {
            DWORD type = REG_BINARY;
            size_t colon = 3;
            if (data[3] == '(') {
                const size_t close = data.find("):");
                if (close == std::string::npos) return fail(n + 1, "bad hex type");
                const std::string typeDigits = data.substr(4, close - 4);
                if (typeDigits.empty() || typeDigits.size() > 8 ||
                    typeDigits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                    return fail(n + 1, "bad hex type");
                type = static_cast<DWORD>(std::stoul(typeDigits, nullptr, 16));
                colon = close + 1;
            }
            std::vector<BYTE> bytes;
            if (!ParseHexBytes(data.substr(colon + 1), &bytes)) return fail(n + 1, "bad hex data");
            SetValue(keyPath, name, type, std::move(bytes));
        } else {
            return fail(n + 1, "unknown data form");
        }
    }
    return true;
}

}  // namespace simwin

// ---- ADVAPI32 ----
using simwin::Hex;
using simwin::machine;
using simwin::Quote;

namespace {

std::string KeyName(HKEY key) { return machine().registry.HandleName(key); }

std::string SizeArg(const DWORD* size) { return size ? std::to_string(*size) : "NULL"; }

// The key path a call on `key` works on: the opened key's own, with `subKey` below it when there is one.
std::string PathOf(HKEY key, const char* subKey = nullptr) {
    const simwin::Registry::Handle* handle = machine().registry.Lookup(key);
    std::string path = handle ? handle->path : "";
    if (subKey && *subKey) path += (path.empty() ? "" : "\\") + std::string(subKey);
    return path;
}

// One registry call's journal entry, recorded with the call's result and what it found.
struct RegCall {
    const char* call;
    std::string args;
    std::string keyPath;
    std::string valueName;

    LONG Finish(LONG result, std::string found = {}, long long count = -1,
                const std::string* foundValueName = nullptr) const {
        simwin::JournalEntry entry;
        entry.call = call;
        entry.args = args;
        entry.result = result;
        entry.found = std::move(found);
        entry.count = count;
        entry.keyPath = keyPath;
        entry.valueName = foundValueName ? *foundValueName : valueName;
        machine().journal.Record(std::move(entry));
        return result;
    }
};

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Checks an open handle for the access an operation needs.
LONG CheckHandle(HKEY key, REGSAM needed, const simwin::Registry::Handle** handle) {
    *handle = machine().registry.Lookup(key);
    if (!*handle) return ERROR_INVALID_HANDLE;
    if (((*handle)->access & needed) != needed) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

}  // namespace

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
    const RegCall reg{"RegOpenKeyExA",
                      KeyName(key) + ", " + Quote(subKey) + ", " + std::to_string(options) + ", " + Hex(desired),
                      PathOf(key, subKey), ""};
    if (auto fault = machine().faults.Check("RegOpenKeyExA", ERROR_FILE_NOT_FOUND)) return reg.Finish(*fault);
    if (!result) return reg.Finish(ERROR_INVALID_PARAMETER);
    const simwin::Registry::Handle* parent = machine().registry.Lookup(key);
    if (!parent) return reg.Finish(ERROR_INVALID_HANDLE);
    std::vector<std::string> names;
    if (!simwin::SplitKeyPath(subKey, &names)) return reg.Finish(ERROR_BAD_PATHNAME);
    std::shared_ptr<simwin::RegKey> target = parent->key;
    for (const auto& name : names) {
        target = target->FindSubkey(name);
        if (!target) return reg.Finish(ERROR_FILE_NOT_FOUND);
    }
    if (!simwin::AccessAllowed(*target, desired)) return reg.Finish(ERROR_ACCESS_DENIED);
    *result = machine().registry.OpenHandle(target, desired, reg.keyPath);
    return reg.Finish(ERROR_SUCCESS, KeyName(*result));
}

LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM desired,
                            const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition) {
    (void)reserved;
    const RegCall reg{"RegCreateKeyExA",
                      KeyName(key) + ", " + Quote(subKey) + ", " + Quote(keyClass) + ", " + std::to_string(options) +
                          ", " + Hex(desired) + ", " + (security ? "security" : "NULL"),
                      PathOf(key, subKey), ""};
    if (auto fault = machine().faults.Check("RegCreateKeyExA", ERROR_ACCESS_DENIED)) return reg.Finish(*fault);
    if (!result) return reg.Finish(ERROR_INVALID_PARAMETER);
    const simwin::Registry::Handle* parent = machine().registry.Lookup(key);
    if (!parent) return reg.Finish(ERROR_INVALID_HANDLE);
    std::vector<std::string> names;
    if (!subKey || !simwin::SplitKeyPath(subKey, &names)) return reg.Finish(ERROR_BAD_PATHNAME);
    std::shared_ptr<simwin::RegKey> target = parent->key;
    DWORD created = REG_OPENED_EXISTING_KEY;
    for (const auto& name : names) {
        auto next = target->FindSubkey(name);
        if (!next) {
            if (target->denyWrite) return reg.Finish(ERROR_ACCESS_DENIED);
            next = std::make_shared<simwin::RegKey>();
            next->name = name;
            target->subkeys.push_back(next);
            created = REG_CREATED_NEW_KEY;
        }
        target = next;
    }
    if (!simwin::AccessAllowed(*target, desired)) return reg.Finish(ERROR_ACCESS_DENIED);
    *result = machine().registry.OpenHandle(target, desired, reg.keyPath);
    if (disposition) *disposition = created;
    return reg.Finish(ERROR_SUCCESS, KeyName(*result));
}

LONG WINAPI RegCloseKey(HKEY key) {
    const RegCall reg{"RegCloseKey", KeyName(key), PathOf(key), ""};
    if (auto fault = machine().faults.Check("RegCloseKey", ERROR_INVALID_HANDLE)) {
        machine().registry.CloseHandle(key);  // a failed close still gives the handle up
        return reg.Finish(*fault);
    }
    return reg.Finish(machine().registry.CloseHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) {
    const RegCall reg{
        "RegQueryValueExA",
        KeyName(key) + ", " + Quote(valueName) + ", " + (data ? "buffer" : "NULL") + ", " + SizeArg(dataSize),
        PathOf(key), valueName ? valueName : ""};
    if (auto fault = machine().faults.Check("RegQueryValueExA", ERROR_FILE_NOT_FOUND)) return reg.Finish(*fault);
    if (reserved || (data && !dataSize)) return reg.Finish(ERROR_INVALID_PARAMETER);
    const simwin::Registry::Handle* handle;
    if (LONG status = CheckHandle(key, KEY_QUERY_VALUE, &handle)) return reg.Finish(status);
    const simwin::RegValue* value = handle->key->FindValue(valueName ? valueName : "");
    if (!value) return reg.Finish(ERROR_FILE_NOT_FOUND);
    if (type) *type = value->type;
    const DWORD size = static_cast<DWORD>(value->data.size());
    LONG status = ERROR_SUCCESS;
    if (data) {
        // A buffer too small receives nothing; the caller learns the size it needs.
        if (*dataSize < size) {
            status = ERROR_MORE_DATA;
        } else if (size) {
            std::memcpy(data, value->data.data(), size);
            // NT terminates a string stored without its NUL when the buffer has room, without counting it.
            const bool isString = IsStringType(value->type);
            if (isString && data[size - 1] != 0 && *dataSize > size) data[size] = 0;
        }
    }
    if (dataSize) *dataSize = size;
    return reg.Finish(status);
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize) {
    (void)reserved;
    const RegCall reg{
        "RegSetValueExA",
        KeyName(key) + ", " + Quote(valueName) + ", " + std::to_string(type) + ", " + std::to_string(dataSize),
        PathOf(key), valueName ? valueName : ""};
    if (auto fault = machine().faults.Check("RegSetValueExA", ERROR_ACCESS_DENIED)) return reg.Finish(*fault);
    if (!data && dataSize) return reg.Finish(ERROR_INVALID_PARAMETER);
    const simwin::Registry::Handle* handle;
    if (LONG status = CheckHandle(key, KEY_SET_VALUE, &handle)) return reg.Finish(status);
    // Windows NT counts a string's NUL that the caller left out of the size when it follows the data
    // directly; it reads the byte after the data to find out, so this does too.
    DWORD stored = dataSize;
    const bool isString = IsStringType(type);
    if (isString && dataSize && data[dataSize - 1] != 0 && data[dataSize] == 0) ++stored;
    std::vector<BYTE> bytes(data, data + stored);
    const std::string name = valueName ? valueName : "";
    if (simwin::RegValue* value = handle->key->FindValue(name)) {
        value->type = type;
        value->data = std::move(bytes);
    } else {
        handle->key->values.push_back(simwin::RegValue{name, type, std::move(bytes)});
    }
    return reg.Finish(ERROR_SUCCESS);
}

LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName) {
    const RegCall reg{"RegDeleteValueA", KeyName(key) + ", " + Quote(valueName), PathOf(key),
                      valueName ? valueName : ""};
    if (auto fault = machine().faults.Check("RegDeleteValueA", ERROR_FILE_NOT_FOUND)) return reg.Finish(*fault);
    const simwin::Registry::Handle* handle;
    if (LONG status = CheckHandle(key, KEY_SET_VALUE, &handle)) return reg.Finish(status);
    auto& values = handle->key->values;
    const std::string name = valueName ? valueName : "";
    const auto it = std::find_if(values.begin(), values.end(),
                                 [&](const simwin::RegValue& v) { return simwin::SameTextIgnoringCase(v.name, name); });
    if (it == values.end()) return reg.Finish(ERROR_FILE_NOT_FOUND);
    values.erase(it);
    return reg.Finish(ERROR_SUCCESS);
}

LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    const RegCall reg{"RegDeleteKeyA", KeyName(key) + ", " + Quote(subKey), PathOf(key, subKey), ""};
    if (auto fault = machine().faults.Check("RegDeleteKeyA", ERROR_ACCESS_DENIED)) return reg.Finish(*fault);
    const simwin::Registry::Handle* parent = machine().registry.Lookup(key);
    if (!parent) return reg.Finish(ERROR_INVALID_HANDLE);
    std::vector<std::string> names;
    if (!subKey || !simwin::SplitKeyPath(subKey, &names) || names.empty()) return reg.Finish(ERROR_BAD_PATHNAME);
    std::shared_ptr<simwin::RegKey> owner = parent->key;
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        owner = owner->FindSubkey(names[i]);
        if (!owner) return reg.Finish(ERROR_FILE_NOT_FOUND);
    }
    auto& keys = owner->subkeys;
    const auto it = std::find_if(keys.begin(), keys.end(),
                                 [&](const auto& k) { return simwin::SameTextIgnoringCase(k->name, names.back()); });
    if (it == keys.end()) return reg.Finish(ERROR_FILE_NOT_FOUND);
    // Windows deletes only a key without subkeys, and only where the key may be changed.
    if (!(*it)->subkeys.empty() || (*it)->denyWrite) return reg.Finish(ERROR_ACCESS_DENIED);
    keys.erase(it);
    return reg.Finish(ERROR_SUCCESS);
}

LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD reserved, LPDWORD type,
                          LPBYTE data, LPDWORD dataSize) {
    const RegCall reg{"RegEnumValueA",
                      KeyName(key) + ", " + std::to_string(index) + ", " + SizeArg(valueNameSize) + ", " +
                          (data ? "buffer" : "NULL") + ", " + SizeArg(dataSize),
                      PathOf(key), ""};
    if (auto fault = machine().faults.Check("RegEnumValueA", ERROR_NO_MORE_ITEMS)) return reg.Finish(*fault);
    if (reserved || !valueName || !valueNameSize || (data && !dataSize)) return reg.Finish(ERROR_INVALID_PARAMETER);
    const simwin::Registry::Handle* handle;
    if (LONG status = CheckHandle(key, KEY_QUERY_VALUE, &handle)) return reg.Finish(status);
    const auto& values = handle->key->values;
    if (index >= values.size()) return reg.Finish(ERROR_NO_MORE_ITEMS);
    const simwin::RegValue& value = values[index];
    const DWORD size = static_cast<DWORD>(value.data.size());
    // The name needs room for its NUL; neither buffer receives anything when one of them is too small.
    if (value.name.size() >= *valueNameSize || (data && *dataSize < size)) {
        if (dataSize) *dataSize = size;
        return reg.Finish(ERROR_MORE_DATA);
    }
    std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
    *valueNameSize = static_cast<DWORD>(value.name.size());
    if (type) *type = value.type;
    if (data && size) {
        std::memcpy(data, value.data.data(), size);
        // As the query does: a string stored without its NUL gets one where the buffer has room, uncounted.
        const bool isString = IsStringType(value.type);
        if (isString && data[size - 1] != 0 && *dataSize > size) data[size] = 0;
    }
    if (dataSize) *dataSize = size;
    return reg.Finish(ERROR_SUCCESS, Quote(value.name.c_str()), -1, &value.name);
}

LONG WINAPI RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD keyClassSize, LPDWORD reserved, LPDWORD subKeys,
                             LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                             LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                             PFILETIME lastWriteTime) {
    const RegCall reg{"RegQueryInfoKeyA", KeyName(key), PathOf(key), ""};
    if (auto fault = machine().faults.Check("RegQueryInfoKeyA", ERROR_ACCESS_DENIED)) return reg.Finish(*fault);
    if (reserved) return reg.Finish(ERROR_INVALID_PARAMETER);
    const simwin::Registry::Handle* handle;
    if (LONG status = CheckHandle(key, KEY_QUERY_VALUE, &handle)) return reg.Finish(status);
    const simwin::RegKey& k = *handle->key;
    if (keyClass && keyClassSize && *keyClassSize) keyClass[0] = 0;
    if (keyClassSize) *keyClassSize = 0;
    if (subKeys) *subKeys = static_cast<DWORD>(k.subkeys.size());
    DWORD longestKey = 0, longestName = 0, largestData = 0;
    for (const auto& sub : k.subkeys) longestKey = std::max<DWORD>(longestKey, static_cast<DWORD>(sub->name.size()));
    for (const auto& v : k.values) {
        longestName = std::max<DWORD>(longestName, static_cast<DWORD>(v.name.size()));
        // The registry keeps strings as UTF-16, and the largest size it reports is the stored one, even to
        // the ANSI call: two bytes for every character of an ANSI string.
        const bool isString = IsStringType(v.type);
        largestData = std::max<DWORD>(largestData, static_cast<DWORD>(v.data.size() * (isString ? 2 : 1)));
    }
    if (maxSubKeyLength) *maxSubKeyLength = longestKey;
    if (maxClassLength) *maxClassLength = 0;
    if (values) *values = static_cast<DWORD>(k.values.size());
    if (maxValueNameLength) *maxValueNameLength = longestName;
    if (maxValueLength) *maxValueLength = largestData;
    if (securityDescriptorSize) *securityDescriptorSize = 0;
    if (lastWriteTime) *lastWriteTime = FILETIME{0, 0};
    return reg.Finish(ERROR_SUCCESS, std::to_string(k.values.size()) + " values",
                      static_cast<long long>(k.values.size()));
}
