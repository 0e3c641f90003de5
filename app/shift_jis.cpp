#include "app/shift_jis.h"

#include <cstring>

#include "app/idle.h"
#include "app/state.h"

namespace {

constexpr UINT kShiftJis = 932;

} // namespace

bool SystemCodePageIsShiftJis() {
    static const bool shiftJis = GetACP() == kShiftJis;
    return shiftJis;
}

// Asked for the length first; a call with no room only measures.
std::wstring WideFromShiftJis(const char* text) {
    const int bytes = static_cast<int>(std::strlen(text));
    const int length = MultiByteToWideChar(kShiftJis, 0, text, bytes, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kShiftJis, 0, text, bytes, wide.data(), length);
    return wide;
}

std::string ShiftJisFromWide(const wchar_t* text) {
    const int characters = static_cast<int>(std::wcslen(text));
    const int length =
        WideCharToMultiByte(kShiftJis, 0, text, characters, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kShiftJis, 0, text, characters, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// A message box runs a loop of its own and tells her window nothing of it
// (under Wine it sends no WM_ENTERIDLE; Windows documents nothing either
// way), so its start carries the ticks on as a menu's or a dialog box's idle
// message does. The box of a second start comes before any window of hers.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    if (gMascot.mainWindow != nullptr)
        StartModalTicks(gMascot.mainWindow);
    return MessageBoxW(owner, WideFromShiftJis(text).c_str(), WideFromShiftJis(caption).c_str(),
                       type);
}
