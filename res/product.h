// What the program, its visual-style tool and the installers share: the name, the maker, the version, the
// fixed installation folder, the program's own key with its follow-up flag, the follow-up shortcut and the
// Windows Installer package's upgrade code. Read as it stands by the C++ sources and the resource scripts,
// and through the C preprocessor by the build (cmake/product_facts.cmake), which hands the texts to the
// setup program's script, the package's source and the run command.
#pragma once

#define OPTIVUE_PRODUCT_NAME "Optivue"
#define OPTIVUE_MAKER "Korvani"
#define OPTIVUE_VERSION_NUMBERS 1, 10, 0, 0
#define OPTIVUE_VERSION_TEXT "1.10.0.0"
// Fixed, not derived from where a program file lies or from the system's program folder: the program
// starts the tool from here and the tool names the program here.
#define OPTIVUE_INSTALLATION_FOLDER "C:\\Program Files\\Korvani\\Brontype"
// The program's key under HKEY_CURRENT_USER and its one value: set to 1 by the visual-style tool when a
// size waits for the next logon, it asks the program's next start for a follow-up run.
#define OPTIVUE_PROGRAM_KEY "Software\\Korvani\\optiv"
#define OPTIVUE_CHANGED_VALUE "Changed"
// The shortcut to the installed program that the tool places in the user's Startup folder with the flag,
// and the follow-up run deletes; the uninstallers delete it too.
#define OPTIVUE_STARTUP_SHORTCUT "Optivue.lnk"
// The visual-style tool's exit codes that say the size changed: switched at once, or recorded for the next
// logon with the program's follow-up run asked for. Every other code says that it did not change.
#define OPTIVUE_STYLE_TOOL_SWITCHED 0
#define OPTIVUE_STYLE_TOOL_RECORDED 1
// The Windows Installer package's UpgradeCode, the same for every release: a newer package finds an older
// one by it and replaces it, and the setup program finds an installation made from a package by it.
#define OPTIVUE_PACKAGE_UPGRADE_CODE "{DB1372D1-BF58-459A-94BF-440D38871FFE}"
