// What the program, its visual-style tool and the installer share: the name, the maker, the version and
// the fixed installation folder. Read by the C++ sources, the resource scripts and the installer script.
#pragma once

#define OPTIVUE_PRODUCT_NAME "Optivue"
#define OPTIVUE_MAKER "Korvani"
#define OPTIVUE_VERSION_NUMBERS 1,10,0,0
#define OPTIVUE_VERSION_TEXT "1.10.0.0"
// Fixed, not derived from where a program file lies or from the system's program folder: the program
// starts the tool from here and the tool names the program here.
#define OPTIVUE_INSTALLATION_FOLDER "C:\\Program Files\\Korvani\\Brontype"
