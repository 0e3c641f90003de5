#include "support/test_env.h"

#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/state.h"
#include "app/window_classes.h"
#include "support/fake_platform.h"

namespace {

class ProgramEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char dir[MAX_PATH];
        std::snprintf(dir, sizeof dir, "%smascot-unit-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(dir, nullptr);
        SetCurrentDirectoryA(dir);
        RegisterWindowClasses(GetModuleHandleA(nullptr));
    }
};

const ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

} // namespace

void ResetProgram() {
    std::memset(&gMascot, 0, sizeof gMascot);
    gMascot.instance = GetModuleHandleA(nullptr);
    fake::Reset();
    DeleteFileA("mascot.ini");
}

void WriteSettingsFile(const std::string& text) {
    std::ofstream file("mascot.ini", std::ios::binary | std::ios::trunc);
    file << text;
}

std::string ReadSettingsFile() {
    std::ifstream file("mascot.ini", std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char part[4];
    for (unsigned char c : bytes) {
        std::snprintf(part, sizeof part, out.empty() ? "%02X" : " %02X", c);
        out += part;
    }
    return out;
}

bool PumpMessages() {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            quit = true;
        else
            DispatchMessageA(&message);
    }
    return quit;
}

// Free GDI handles: regions are the cheapest GDI object to make.
int FreeGdiHandles() {
    std::vector<HRGN> made;
    for (;;) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (region == nullptr || made.size() >= 1000000)
            break;
        made.push_back(region);
    }
    for (HRGN region : made)
        DeleteObject(region);
    return static_cast<int>(made.size());
}

// Free USER handles: menus are the cheapest USER object to make.
int FreeUserHandles() {
    std::vector<HMENU> made;
    for (;;) {
        HMENU menu = CreateMenu();
        if (menu == nullptr || made.size() >= 1000000)
            break;
        made.push_back(menu);
    }
    for (HMENU menu : made)
        DestroyMenu(menu);
    return static_cast<int>(made.size());
}

int WineMajorVersion() {
    using VersionProc = const char*(CDECL*)();
    const auto version = reinterpret_cast<VersionProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return version != nullptr ? std::atoi(version()) : 0;
}
