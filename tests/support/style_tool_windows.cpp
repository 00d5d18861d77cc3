// The stand-in for the visual-style tool on a real system: style_tool_double.exe copied under the tool's
// name, and the event it sets once it has made its changes.
#include "tests/support/style_tool.h"

#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/support/test_platform.h"

namespace test_platform {
namespace {

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
        path_ = programFolder + "chgtheme.exe";
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

}  // namespace test_platform
