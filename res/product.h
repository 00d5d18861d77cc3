// What the program, its visual-style tool and the installers share: the name, the maker, the version, the
// fixed installation folder and the Windows Installer package's upgrade code. Read by the C++ sources, the
// resource scripts, the setup program's script and (through the C preprocessor) the package's build.
#pragma once

#define OPTIVUE_PRODUCT_NAME "Optivue"
#define OPTIVUE_MAKER "Korvani"
#define OPTIVUE_VERSION_NUMBERS 1,10,0,0
#define OPTIVUE_VERSION_TEXT "1.10.0.0"
// Fixed, not derived from where a program file lies or from the system's program folder: the program
// starts the tool from here and the tool names the program here.
#define OPTIVUE_INSTALLATION_FOLDER "C:\\Program Files\\Korvani\\Brontype"
// The Windows Installer package's UpgradeCode, the same for every release: a newer package finds an older
// one by it and replaces it, and the setup program finds an installation made from a package by it.
#define OPTIVUE_PACKAGE_UPGRADE_CODE "{DB1372D1-BF58-459A-94BF-440D38871FFE}"
