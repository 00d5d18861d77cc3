// What a size command changes, in the parts a user knows by name. Each size procedure reports the parts it
// could not change, so that the program tells the user exactly that and never claims more.
#pragma once

enum SizeAspect : unsigned {
    kWindowSizesAspect = 1u << 0,    // window and menu sizes and their text: metrics, fonts, scheme name
    kDesktopIconsAspect = 1u << 1,   // icon size, spacing and title font, and the desktop's layout
    kMousePointersAspect = 1u << 2,  // the pointer scheme
    kTextSizeAspect = 1u << 3,       // the text size of Internet Explorer and Outlook Express
    kStyleSizeAspect = 1u << 4,      // the visual style's size (Windows XP with a visual style)
};

// A set of SizeAspect bits.
using SizeAspects = unsigned;

struct SizeOutcome {
    SizeAspects unchanged = 0;
    // The visual style's size did not change because its tool is not installed: installing the program
    // again is what helps.
    bool styleToolMissing = false;
};
