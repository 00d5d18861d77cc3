// chgtheme's string-table rows: what it tells a person in a message box (English and German; the system's
// resource lookup picks the language). %1, %2 and %3 stand for texts filled in when the message is shown:
// the size, as "Large Size", in its language's quotation marks (row IDS_TOOL_QUOTED_SIZE), and the sizes a
// style offers. The sizes are named by the texts of the main dialog's size buttons.
#pragma once

// "%1" in the language's quotation marks, and the separators of a list of sizes: "a", "b" and "c".
#define IDS_TOOL_QUOTED_SIZE 10
#define IDS_TOOL_LIST_SEPARATOR 11
#define IDS_TOOL_LIST_LAST_SEPARATOR 12

// One row for each refusal and failure. %1: the size asked for.
#define IDS_TOOL_USAGE 20  // %1, %2, %3: the three sizes; no size was asked for
#define IDS_TOOL_UNSUPPORTED_SYSTEM 21
#define IDS_TOOL_NO_ACTIVE_STYLE 22
#define IDS_TOOL_SIZE_NOT_OFFERED 23  // %2: the sizes the style offers
#define IDS_TOOL_SIZES_UNKNOWN 24
#define IDS_TOOL_NOT_RECORDED 25
#define IDS_TOOL_FOLLOW_UP_NOT_ASKED 26
