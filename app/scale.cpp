#include "app/scale.h"

#include <algorithm>
#include <climits>

#include "app/state.h"

namespace {

constexpr long long kLogicalDpi = USER_DEFAULT_SCREEN_DPI; // 96

// value * numerator / denominator, rounded half away from zero, within the
// int range.
int Proportion(long long value, long long numerator, long long denominator) {
    const long long scaled = value * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        scaled >= 0 ? (scaled + half) / denominator : -((-scaled + half) / denominator);
    return static_cast<int>(std::clamp<long long>(rounded, INT_MIN, INT_MAX));
}

} // namespace

int ScaleForDpi(UINT dpi) { return static_cast<int>((dpi + 23) / 48); }

int CurrentScale() { return gMascot.scale > 0 ? gMascot.scale : kDesignScale; }

int ArtToScreen(int artPixels) { return artPixels * CurrentScale(); }

int MascotSize() { return ArtToScreen(kArtSize); }

int MascotSizeForDpi(UINT dpi) { return kArtSize * ScaleForDpi(dpi); }

int ScaledLength(int designLength) {
    return Proportion(designLength, CurrentScale(), kDesignScale);
}

int DesignPixelAt(int at, int designLength) {
    const int length = ScaledLength(designLength);
    if (2 * at < length)
        return at * kDesignScale / CurrentScale();
    return designLength - 1 - (length - 1 - at) * kDesignScale / CurrentScale();
}

// The screen's DC answers with the system DPI in a DPI-aware program, on
// every Windows; GetDpiForSystem is newer and says no more.
UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// GetDpiForWindow came with Windows 10 (1607): bound at run time, so that
// the program still starts on the Windows before it.
UINT WindowDpi(HWND window) {
    using DpiProc = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT dpi = dpiForWindow != nullptr ? dpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int ScreenFromLogical(int logical) { return Proportion(logical, SystemDpi(), kLogicalDpi); }

int LogicalFromScreen(int screen) { return Proportion(screen, kLogicalDpi, SystemDpi()); }
