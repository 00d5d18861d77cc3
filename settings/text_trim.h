// Trimming of row texts and line fields: white space is blanks, tabs and line breaks (and the vertical tab
// and form feed). Both work in place on a NUL-terminated text and never look past its NUL.
#pragma once

// The first character of `text` that is not white space.
char* TrimLeft(char* text);

// TrimLeft, and the white space at the end cut off by moving the NUL.
char* Trim(char* text);
