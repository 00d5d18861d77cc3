// The registry keys the tests set up and check, below HKEY_CURRENT_USER, each named once. The program's own
// key is res/product.h's. The simulated platform's registry and journal name a key by its full path:
// InCurrentUser gives it.
#pragma once

#include "res/product.h"

#include <string>

namespace test_keys {

constexpr char kAppearance[] = "Control Panel\\Appearance";
constexpr char kNewSchemes[] = "Control Panel\\Appearance\\New Schemes";
constexpr char kStandardScheme[] = "Control Panel\\Appearance\\New Schemes\\21";
constexpr char kColors[] = "Control Panel\\Colors";
constexpr char kCursors[] = "Control Panel\\Cursors";
constexpr char kWindowMetrics[] = "Control Panel\\Desktop\\WindowMetrics";
constexpr char kBrowserScripts[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
constexpr char kIdentities[] = "Identities";
constexpr char kThemeManager[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
constexpr char kSetupUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" OPTIVUE_PRODUCT_NAME;
constexpr char kProgram[] = OPTIVUE_PROGRAM_KEY;
constexpr char kChgthemeSettings[] = "Software\\Wine\\AppDefaults\\chgtheme.exe";
constexpr char kChgthemeDllOverrides[] = "Software\\Wine\\AppDefaults\\chgtheme.exe\\DllOverrides";

// A key's full path as the simulated platform names it.
inline std::string InCurrentUser(const char* path) { return std::string("HKEY_CURRENT_USER\\") + path; }

}  // namespace test_keys
