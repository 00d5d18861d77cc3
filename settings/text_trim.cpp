#include "settings/text_trim.h"

#include <algorithm>
#include <cstring>

namespace {
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
}  // namespace

char* TrimLeft(char* text) {
    while (IsWhite(*text)) ++text;
    return text;
}

char* Trim(char* text) {
    text = TrimLeft(text);
    size_t length = std::strlen(text);
    while (length > 0 && IsWhite(text[length - 1])) text[--length] = '\0';
    return text;
}

void AppendText(char* text, size_t capacity, const char* more) {
    const size_t used = std::strlen(text);
    if (used + 1 >= capacity) return;
    const size_t length = std::min(std::strlen(more), capacity - 1 - used);
    std::memcpy(text + used, more, length);
    text[used + length] = '\0';
}
