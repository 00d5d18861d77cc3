#include "tests/support/style_tool.h"

#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"

#ifndef _WIN32
#include <simwin/sim.h>

#include <vector>
#endif

namespace test_platform {
namespace {

const char kToolName[] = "chgtheme.exe";

}  // namespace

#ifdef _WIN32
namespace {

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    const std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/") + 1);
}

// Makes `folder` when it is missing; true when this call made it.
bool MakeFolder(const std::string& folder) { return CreateDirectoryA(folder.c_str(), nullptr) != 0; }

}  // namespace

StyleToolDouble::StyleToolDouble(Place place) {
    const std::string programFolder = ProgramFolder();
    if (programFolder.empty()) return;
    if (place == Place::kInstallationFolder) {
        const std::string tool = kStyleToolPath;
        const std::string brontype = tool.substr(0, tool.find_last_of('\\'));
        const std::string korvani = brontype.substr(0, brontype.find_last_of('\\'));
        if (MakeFolder(korvani)) createdFolders_[1] = korvani;
        if (MakeFolder(brontype)) createdFolders_[0] = brontype;
        path_ = tool;
    } else {
        path_ = programFolder + kToolName;
    }
    if (GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        keptAside_ = path_ + ".kept-by-tests";
        if (!MoveFileA(path_.c_str(), keptAside_.c_str())) {
            keptAside_.clear();
            return;
        }
    }
    finished_ = CreateEventA(nullptr, TRUE, FALSE, style_tool_double::kFinishedEvent);
    installed_ = finished_ && CopyFileA((programFolder + style_tool_double::kProgramName).c_str(), path_.c_str(), TRUE);
}

StyleToolDouble::~StyleToolDouble() {
    // The stand-in may still be ending after it set its event; its file goes once it has.
    if (installed_)
        for (int attempt = 0; attempt < 100 && !DeleteFileA(path_.c_str()); ++attempt) Sleep(100);
    if (!keptAside_.empty()) MoveFileA(keptAside_.c_str(), path_.c_str());
    for (const std::string& folder : createdFolders_)
        if (!folder.empty()) RemoveDirectoryA(folder.c_str());
    if (finished_) CloseHandle(finished_);
}

bool StyleToolDouble::Finished() const { return finished_ && WaitForSingleObject(finished_, 0) == WAIT_OBJECT_0; }
#else
StyleToolDouble::StyleToolDouble(Place place) {
    simwin::Machine& machine = simwin::machine();
    path_ = place == Place::kInstallationFolder ? std::string(kStyleToolPath)
                                                : std::string("C:\\Optivue Tests\\") + kToolName;
    machine.kernel.AddFile(path_);
    std::shared_ptr<bool> finished = finished_;
    machine.shell.onStart = [finished](const std::string&, const std::string&) {
        simwin::machine().clock.At(simwin::machine().clock.NowMs() + 550, [finished] {
            simwin::Machine& m = simwin::machine();
            std::vector<BYTE> seen;
            for (const auto& live : style_tool_double::kLiveColors) {
                m.display.colors[live.index] = live.color;
                const BYTE* bytes = reinterpret_cast<const BYTE*>(&m.display.colors[live.index]);
                seen.insert(seen.end(), bytes, bytes + sizeof(COLORREF));
            }
            m.registry.SetValue(std::string("HKEY_CURRENT_USER\\") + style_tool_double::kReportKey,
                                style_tool_double::kColorsSeen, REG_BINARY, seen);
            for (const auto& stored : style_tool_double::kStoredColors)
                m.registry.SetString("HKEY_CURRENT_USER\\Control Panel\\Colors", stored.name, stored.text);
            *finished = true;
        });
    };
    installed_ = true;
}

StyleToolDouble::~StyleToolDouble() {
    simwin::Machine& machine = simwin::machine();
    machine.shell.onStart = nullptr;
    auto& files = machine.kernel.files;
    for (auto file = files.begin(); file != files.end(); ++file)
        if (*file == path_) {
            files.erase(file);
            break;
        }
}

bool StyleToolDouble::Finished() const { return *finished_; }
#endif

}  // namespace test_platform
