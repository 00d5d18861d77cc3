// Trimming of row texts and line fields: white space is blanks, tabs and line breaks (and the vertical tab
// and form feed). Both work in place on a NUL-terminated text and never look past its NUL. And the one
// bounded append that builds a path or a message from parts.
#pragma once

#include <cstddef>

// The first character of `text` that is not white space.
char* TrimLeft(char* text);

// TrimLeft, and the white space at the end cut off by moving the NUL.
char* Trim(char* text);

// Appends `more` to the NUL-terminated `text` of `capacity` bytes, as much of it as fits; the result stays
// terminated within the capacity.
void AppendText(char* text, size_t capacity, const char* more);
