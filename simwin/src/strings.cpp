// The simulated platform's string resources (read from the same resource scripts that the windows build
// compiles) and the string helpers of KERNEL32 and SHLWAPI.
#include <shlwapi.h>
#include <simwin/sim.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace simwin {
namespace {

std::string Trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    const size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

bool ParseLanguage(const std::string& languageStatement, WORD* langId) {
    const size_t comma = languageStatement.find(',');
    if (comma == std::string::npos) return false;
    const std::string primary = Trim(languageStatement.substr(0, comma));
    const std::string sub = Trim(languageStatement.substr(comma + 1));
    auto number = [](const std::string& word, const std::string& name, int value, int* out) {
        if (word == name) {
            *out = value;
            return true;
        }
        if (!word.empty() && std::isdigit(static_cast<unsigned char>(word[0]))) {
            *out = static_cast<int>(std::stol(word, nullptr, 0));
            return true;
        }
        return false;
    };
    int p = 0, s = 0;
    if (!number(primary, "LANG_ENGLISH", 0x09, &p) && !number(primary, "LANG_GERMAN", 0x07, &p)) return false;
    if (!number(sub, "SUBLANG_ENGLISH_US", 0x01, &s) && !number(sub, "SUBLANG_GERMAN", 0x01, &s)) return false;
    *langId = static_cast<WORD>((s << 10) | p);
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A resource-compiler string literal: "" is a quote; \n \r \t \\ \" and \x with up to two hex digits.
bool ParseLiteral(const std::string& line, size_t start, std::string* text) {
    text->clear();
    for (size_t i = start + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                *text += '"';
                ++i;
                continue;
            }
            return Trim(line.substr(i + 1)).empty();
        }
        if (c != '\\') {
            *text += c;
            continue;
        }
        if (++i >= line.size()) return false;
        switch (line[i]) {
            case 'n':
                *text += '\n';
                break;
            case 'r':
                *text += '\r';
                break;
            case 't':
                *text += '\t';
                break;
            case '\\':
                *text += '\\';
                break;
            case '"':
                *text += '"';
                break;
            case 'x': {
                int value = 0, digits = 0;
                while (digits < 2 && i + 1 < line.size() && HexDigit(line[i + 1]) >= 0)
                    value = value * 16 + HexDigit(line[++i]), ++digits;
                if (!digits) return false;
                *text += static_cast<char>(value);
                break;
            }
            default:
                return false;
        }
    }
    return false;
}

}  // namespace

bool StringTables::LoadResourceScript(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open";
        return false;
    }
    WORD language = 0;
    bool inTable = false, inBlock = false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        auto fail = [&](const std::string& why) {
            if (error) *error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        std::string text = Trim(line);
        if (text.empty() || text.rfind("//", 0) == 0 || text[0] == '#') continue;
        if (text.rfind("LANGUAGE", 0) == 0) {
            if (!ParseLanguage(text.substr(8), &language)) return fail("unknown LANGUAGE");
        } else if (text == "STRINGTABLE") {
            inTable = true;
        } else if (inTable && !inBlock && (text == "BEGIN" || text == "{")) {
            inBlock = true;
        } else if (inBlock && (text == "END" || text == "}")) {
            inBlock = inTable = false;
        } else if (inBlock) {
            size_t digitsEnd = 0;
            while (digitsEnd < text.size() && std::isdigit(static_cast<unsigned char>(text[digitsEnd]))) ++digitsEnd;
            const size_t quote = text.find('"', digitsEnd);
            if (!digitsEnd || quote == std::string::npos) return fail("expected a row number and a text");
            const std::string between = Trim(text.substr(digitsEnd, quote - digitsEnd));
            if (!between.empty() && between != ",") return fail("unexpected text before the string");
            std::string row;
            if (!ParseLiteral(text, quote, &row)) return fail("bad string literal");
            if (!language) return fail("row before any LANGUAGE statement");
            tables_[language][static_cast<UINT>(std::stoul(text.substr(0, digitsEnd)))] = row;
        } else if (inTable) {
            return fail("expected BEGIN");
        }
    }
    if (inTable) {
        if (error) *error = "STRINGTABLE not closed";
        return false;
    }
    return true;
}

const std::string* StringTables::Row(UINT id) const {
    auto table = tables_.find(language_);
    if (table == tables_.end()) table = tables_.find(kEnglish);  // the lookup's fallback for other languages
    if (table == tables_.end()) return nullptr;
    const auto row = table->second.find(id);
    return row == table->second.end() ? nullptr : &row->second;
}

void StringTables::SetRow(WORD langId, UINT id, std::string text) { tables_[langId][id] = std::move(text); }

void StringTables::RemoveRow(WORD langId, UINT id) { tables_[langId].erase(id); }

}  // namespace simwin

using simwin::machine;
using simwin::Quote;

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    // The one module of the simulated process: the program itself.
    HMODULE module = moduleName ? nullptr : reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000));
    machine().journal.Record("GetModuleHandleA", Quote(moduleName), reinterpret_cast<intptr_t>(module));
    return module;
}

int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    (void)instance;
    const std::string args = std::to_string(id) + ", " + std::to_string(bufferMax);
    if (auto fault = machine().faults.Check("LoadStringA", 0)) {
        if (buffer && bufferMax > 0) buffer[0] = 0;
        machine().journal.Record("LoadStringA", args, 0);
        return 0;
    }
    if (!buffer || bufferMax <= 0) {
        machine().journal.Record("LoadStringA", args, -1);
        return -1;
    }
    // As the platform does: at most bufferMax - 1 bytes and a NUL; a missing row gives 0 and an empty text.
    int length = 0;
    if (const std::string* row = machine().strings.Row(id)) {
        length = static_cast<int>(std::min<size_t>(row->size(), static_cast<size_t>(bufferMax - 1)));
        std::memcpy(buffer, row->data(), static_cast<size_t>(length));
    }
    buffer[length] = 0;
    machine().journal.Record("LoadStringA", args, length);
    return length;
}

int WINAPI lstrcmpA(LPCSTR a, LPCSTR b) {
    // The platform compares by the user's locale: case first folded for the order, then case decides.
    // Only byte-equal texts compare equal, which is all a caller may rely on here.
    if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (; *x || *y; ++x, ++y) {
        const int fx = std::tolower(*x), fy = std::tolower(*y);
        if (fx != fy) return fx < fy ? -1 : 1;
    }
    const int exact = std::strcmp(a, b);
    return exact < 0 ? -1 : (exact > 0 ? 1 : 0);
}

int WINAPI lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

int WINAPI StrToIntA(LPCSTR text) {
    if (!text) return 0;
    const char* p = text;
    const bool negative = *p == '-';
    if (negative) ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p))) return 0;
    uint32_t value = 0;  // wraps like the platform's 32-bit arithmetic, without undefined behaviour
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}
