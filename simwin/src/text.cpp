// Text as the simulated machine keeps it (UTF-8) and as the program's calls see it: code page 1252 for
// the ANSI calls, UTF-16 for the wide ones; and WideCharToMultiByte over them.
#include <simwin/sim.h>

#include <cstring>

namespace simwin {
namespace {

// Code page 1252's bytes 0x80 to 0x9F; the rest of the page is Latin-1. The five bytes without a character
// stand for the control characters of their own number, as the system converts them.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t FromAnsiByte(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

// The byte of a character in code page 1252, or -1 where the page lacks it.
int ToAnsiByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c) return 0x80 + i;
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The characters of a UTF-8 text; a malformed sequence reads as U+FFFD and moves on by one byte.
std::u32string DecodeUtf8(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > utf8.size()) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

}  // namespace

std::string Utf8FromAnsi(const char* ansi) {
    std::string out;
    for (; ansi && *ansi; ++ansi) AppendUtf8(out, FromAnsiByte(static_cast<unsigned char>(*ansi)));
    return out;
}

std::string AnsiFromUtf8(const std::string& utf8, bool* replaced) {
    std::string out;
    if (replaced) *replaced = false;
    for (char32_t c : DecodeUtf8(utf8)) {
        const int byte = ToAnsiByte(c);
        if (byte < 0 && replaced) *replaced = true;
        out += static_cast<char>(byte < 0 ? '?' : byte);
    }
    return out;
}

std::u16string Utf16FromUtf8(const std::string& utf8) {
    std::u16string out;
    for (char32_t c : DecodeUtf8(utf8)) {
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf8FromUtf16(const WCHAR* wide) {
    std::string out;
    for (; wide && *wide; ++wide) {
        char32_t c = *wide;
        if (c >= 0xD800 && c < 0xDC00 && wide[1] >= 0xDC00 && wide[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[1] - 0xDC00);
            ++wide;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace simwin

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR bytes, int byteCount,
                               LPCSTR defaultChar, BOOL* usedDefaultChar) {
    simwin::Machine& m = simwin::machine();
    const std::string wideText = wide ? simwin::Utf8FromUtf16(wide) : std::string();
    const std::string args = std::to_string(codePage) + ", " + simwin::Hex(flags) + ", " +
                             simwin::Quote(wide ? wideText.c_str() : nullptr) + ", " + std::to_string(wideLength) +
                             ", " + (bytes ? "buffer" : "NULL") + ", " + std::to_string(byteCount);
    auto finish = [&](int result) {
        m.journal.Record("WideCharToMultiByte", args, static_cast<LONG_PTR>(result));
        return result;
    };
    if (auto fault = m.faults.Check("WideCharToMultiByte", ERROR_INVALID_PARAMETER)) {
        m.lastError = static_cast<DWORD>(*fault);
        return finish(0);
    }
    // Only whole NUL-terminated texts, as the program converts them.
    if (codePage != CP_ACP || !wide || wideLength != -1 || byteCount < 0 || (byteCount > 0 && !bytes) || defaultChar) {
        m.lastError = ERROR_INVALID_PARAMETER;
        return finish(0);
    }
    bool replaced = false;
    const std::string ansi = simwin::AnsiFromUtf8(wideText, &replaced);
    const int needed = static_cast<int>(ansi.size()) + 1;
    if (byteCount == 0) return finish(needed);
    if (byteCount < needed) {
        m.lastError = ERROR_INSUFFICIENT_BUFFER;
        return finish(0);
    }
    std::memcpy(bytes, ansi.c_str(), static_cast<size_t>(needed));
    if (usedDefaultChar) *usedDefaultChar = replaced ? TRUE : FALSE;
    return finish(needed);
}
