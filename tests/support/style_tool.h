// The stand-in for the visual-style tool chgtheme on either platform (tests/fixtures/style_tool_double.h
// says what it changes when started). On a real system it is the program style_tool_double.exe copied
// under the tool's name; on the simulated one a file of the machine's that the shell's start hook plays
// 550 ms after the start.
#pragma once

#include <memory>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace test_platform {

class StyleToolDouble {
public:
    enum class Place {
        kInstallationFolder,  // where the tool belongs: C:\Program Files\Korvani\Brontype\chgtheme.exe
        kProgramFolder,       // this program's folder, where only a search for the bare name would find it
    };

    // Installs the stand-in; a file already at that place is kept aside and put back afterwards.
    explicit StyleToolDouble(Place place);
    ~StyleToolDouble();
    StyleToolDouble(const StyleToolDouble&) = delete;
    StyleToolDouble& operator=(const StyleToolDouble&) = delete;

    bool Installed() const { return installed_; }
    // Whether the stand-in was started and has made all its changes.
    bool Finished() const;

private:
    std::string path_;
    bool installed_ = false;
#ifdef _WIN32
    std::string keptAside_;
    std::string createdFolders_[2];
    HANDLE finished_ = nullptr;
#else
    // Shared with the change scheduled on the machine's clock, which may outlive this object.
    std::shared_ptr<bool> finished_ = std::make_shared<bool>(false);
#endif
};

}  // namespace test_platform
