#include "app/shift_jis.h"

namespace {

constexpr UINT kShiftJis = 932;

} // namespace

bool SystemCodePageIsShiftJis() {
    static const bool shiftJis = GetACP() == kShiftJis;
    return shiftJis;
}

std::wstring WideFromShiftJis(const char* text) {
    const int length = MultiByteToWideChar(kShiftJis, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kShiftJis, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1)); // without the terminating zero
    return wide;
}

std::string ShiftJisFromWide(const wchar_t* text) {
    const int length = WideCharToMultiByte(kShiftJis, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kShiftJis, 0, text, -1, &bytes[0], length, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(length - 1));
    return bytes;
}

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxW(owner, WideFromShiftJis(text).c_str(), WideFromShiftJis(caption).c_str(),
                       type);
}
