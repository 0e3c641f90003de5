#include "mascot/mascot_window.h"

#include <cstdio>
#include <cstring>

#include "alarm/alarm_check.h"
#include "anim/chooser.h"
#include "anim/random.h"
#include "anim/sprites.h"
#include "app/idle.h"
#include "app/platform.h"
#include "app/scale.h"
#include "app/shift_jis.h"
#include "app/sound.h"
#include "app/state.h"
#include "app/window_classes.h"
#include "info/info_window.h"
#include "mascot/display_scale.h"
#include "mascot/start_position.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace {

constexpr const char* kTrayTip = "マスコットメニュー";

// Started at logon, she may offer her icon while the shell is still busy
// setting up the notification area; it refuses, and no "TaskbarCreated"
// follows, since the taskbar exists. The icon is offered again every 30
// ticks (about three seconds) for 3000 ticks (at least five minutes).
constexpr int kTrayRetryTicks = 3000;
constexpr int kTrayRetryEvery = 30;

// The icon's record as it stands, in its Unicode form: its tip is Shift-JIS
// text, which a system of another code page would garble.
BOOL NotifyTray(DWORD message) {
    NOTIFYICONDATAW wide = WideTrayData(gMascot.trayData);
    return Shell_NotifyIconW(message, &wide);
}

// True when the icon is in the notification area. A shell that answers too
// late may have added it all the same, so a refused icon is looked for.
bool PutTrayIcon() { return NotifyTray(NIM_ADD) || NotifyTray(NIM_MODIFY); }

void PutTrayIconOrRetry() { gMascot.trayRetryTicks = PutTrayIcon() ? 0 : kTrayRetryTicks; }

// Started elevated ("Run as administrator", a task with the highest
// privileges), the program would not hear "TaskbarCreated" from the
// non-elevated shell: the system filters messages from lower integrity
// levels unless the window lets them through, and the icon would never come
// back after Explorer restarts. Nothing else is let through. Bound at run
// time: the call for one window comes with Windows 7; Vista has only the
// one for the whole process, which serves as well, since the message is the
// same for every window.
void LetTaskbarCreatedThrough(HWND window) {
    using FilterProc = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    using ProcessFilterProc = BOOL(WINAPI*)(UINT, DWORD);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto filter = reinterpret_cast<FilterProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    const auto processFilter = reinterpret_cast<ProcessFilterProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")));
    if (filter != nullptr)
        filter(window, gMascot.taskbarCreated, MSGFLT_ALLOW, nullptr);
    else if (processFilter != nullptr)
        processFilter(gMascot.taskbarCreated, MSGFLT_ADD);
}

// The notification area shows small icons (SM_CXSMICON at the system DPI:
// 16 pixels at 96 DPI, 24 at 144, 32 at 192); the icon holds a picture
// drawn for each of these sizes.
void AddTrayIcon(HWND window) {
    gMascot.trayIcon = static_cast<HICON>(
        LoadImageA(gMascot.instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    NOTIFYICONDATAA& tray = gMascot.trayData;
    std::memset(&tray, 0, sizeof tray);
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray.hWnd = window;
    tray.uID = 0;
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = kTrayMessage;
    tray.hIcon = gMascot.trayIcon;
    std::strcpy(tray.szTip, kTrayTip);
    PutTrayIconOrRetry();
    gMascot.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    LetTaskbarCreatedThrough(window);
}

// The taskbar was made anew (Explorer restarted): the same icon, tip and
// callback go into its notification area.
void OnTaskbarCreated() { PutTrayIconOrRetry(); }

// The first animation follows the hour band: night dozes, afternoon fans,
// the rest of the day reads (through the short lead-in).
void ChooseFirstState() {
    switch (BandOfHour(gMascot.now.wHour)) {
    case HourBand::Night:
        Cursor(Dozing) = 2;
        gMascot.state = Dozing;
        break;
    case HourBand::Afternoon: gMascot.state = Fanning; break;
    case HourBand::Day: gMascot.state = ReadingLeadIn; break;
    }
}

void CreateInfoPanel(HWND window, int x, int y) {
    const bool hidden = SettingTextIs(kSectionOption, kKeyInfoWindow, "1", "0");
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    const POINT panel = PanelPlaceBeside(x, y);
    gMascot.infoWindow =
        CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPanelClass, nullptr,
                        hidden ? WS_POPUP : WS_POPUP | WS_VISIBLE, panel.x, panel.y, PanelWidth(),
                        PanelHeight(), nullptr, nullptr, instance, nullptr);
    gMascot.flags.infoShown = hidden ? 0 : 1;
    if (hidden)
        CheckMenuItem(gMascot.menuBar, IDM_INFO, MF_BYCOMMAND | MF_UNCHECKED);
}

void ApplyOnTopSetting(HWND window) {
    gMascot.flags.onTop = ReadSettingInt(kSectionOption, kKeyOnTop, 1) & 3;
    if (gMascot.flags.onTop == 0) {
        SetBothTopmost(window, HWND_NOTOPMOST);
        CheckMenuItem(gMascot.menuBar, IDM_ON_TOP, MF_BYCOMMAND | MF_UNCHECKED);
    }
}

void OnCreate(HWND window) {
    gMascot.scale = ScaleForDpi(WindowDpi(window));
    gMascot.menuBar = LoadMenuA(gMascot.instance, MAKEINTRESOURCEA(IDR_MENU));
    gMascot.popupMenu = GetSubMenu(gMascot.menuBar, 0);
    // The frame cursors start at 0 with the rest of the record.
    LoadSprites(window);
    AddTrayIcon(window);
    gMascot.flags.breezeLength = kNoBreeze;
    PlatformLocalTime(&gMascot.now);
    ChooseFirstState();
    SeedRandom();
    SeedSettings();
    gMascot.flags.alarmEnabled = ReadSettingInt(kSectionAlarm, kKeyAlarmUse, 0) & 3;
    gMascot.flags.alarmDaily = ReadSettingInt(kSectionAlarm, kKeyAlarmDaily, 0) & 3;
    const POINT start = StartPlace();
    CreateInfoPanel(window, start.x, start.y);
    ApplyOnTopSetting(window);
    CreateInfoFont();
    MoveToStart(window, start);
}

// Tells which folder cannot hold the settings file, what that costs and
// what to do about it.
void TellSettingsUnwritable(HWND window) {
    wchar_t folder[MAX_PATH] = L"."; // left so when the call fails or the path does not fit
    GetCurrentDirectoryW(MAX_PATH, folder); // in Unicode, whatever the system's code page
    char text[2048];
    std::snprintf(text, sizeof text,
                  "次のフォルダーに設定ファイル mascot.ini を書き込めません。\n%s\n\n"
                  "このフォルダーでは設定が保存されないため、アラームを設定しても鳴りま"
                  "せん。「手前に表示」と「情報を表示」の選択も、次に起動すると元に戻り"
                  "ます。\n\n"
                  "書き込みのできるフォルダーから起動してください。たとえば、マスコットを"
                  " C:\\Users\\（ユーザー名）\\mascot のような自分用のフォルダーに置き、"
                  "「作業フォルダー」をそのフォルダーにしたショートカットから起動します。\n\n"
                  "Program Files の中のほか、「ドキュメント」やデスクトップも、Windows "
                  "セキュリティの「コントロールされたフォルダー アクセス」やセキュリティ "
                  "ソフトに保護されていたり、OneDrive に移されていたりして、書き込めない"
                  "ことがあります。",
                  ShiftJisFromWide(folder).c_str());
    ShowMessage(window, text, "設定の保存（デスクトップマスコット）", MB_ICONWARNING);
}

// What must not outlive the program: a ringing alarm (a one-time one would
// otherwise ring again at the next start or tomorrow), its sound, and the
// icon, which the notification area would keep until a mouse passed over it.
void EndWhatOutlivesTheProgram() {
    FinishRingingAtExit();
    gMascot.trayRetryTicks = 0; // nor offered again before the process ends
    NotifyTray(NIM_DELETE);
    StopSound(); // even a ringing alarm ends with the program
}

void OnDestroy(HWND window) {
    FreeSprites(window);
    // The font that the panel's font displaces while a page is drawn is the
    // canvas's stock font, which is never deleted.
    DeleteObject(gMascot.infoFont);
    EndWhatOutlivesTheProgram();
    PostQuitMessage(0);
}

// At a logoff or shutdown Windows ends the process after this without
// destroying the window, so the destroy handler's last duties are done here.
// The Restart Manager (an installer, Windows Update) asks with CLOSEAPP
// instead: the session goes on and nothing ends the process, which is to
// close itself, as the exit command does.
void OnEndSession(HWND window, WPARAM ending, LPARAM how) {
    if (ending == FALSE)
        return;
    if (how & ENDSESSION_CLOSEAPP)
        ExitProgram(window);
    else
        EndWhatOutlivesTheProgram();
}

// What the system asks her window to paint (after a change of her shape,
// when a window over her goes) gets her frame at once, and nothing is erased
// first: her frame covers every pixel of her shape. Erased with the class's
// white brush, the window would show white until the next tick: Windows
// paints a shape handed over with repainting whenever it gets to it, which
// may be after the step that drew her new frame.
void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintFrame(dc);
    EndPaint(window, &paint);
}

} // namespace

NOTIFYICONDATAW WideTrayData(const NOTIFYICONDATAA& tray) {
    NOTIFYICONDATAW wide{};
    wide.cbSize = NOTIFYICONDATAW_V1_SIZE;
    wide.hWnd = tray.hWnd;
    wide.uID = tray.uID;
    wide.uFlags = tray.uFlags;
    wide.uCallbackMessage = tray.uCallbackMessage;
    wide.hIcon = tray.hIcon;
    // The tip of the first form holds 64 characters, its zero included.
    lstrcpynW(wide.szTip, WideFromShiftJis(tray.szTip).c_str(), 64);
    return wide;
}

void RetryTrayIcon() {
    if (gMascot.trayRetryTicks <= 0)
        return;
    gMascot.trayRetryTicks -= 1;
    if (gMascot.trayRetryTicks % kTrayRetryEvery == 0 && PutTrayIcon())
        gMascot.trayRetryTicks = 0;
}

LRESULT CALLBACK MascotWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(window); break;
    case WM_DESTROY: OnDestroy(window); break;
    case WM_ENDSESSION: OnEndSession(window, wParam, lParam); break;
    case WM_ERASEBKGND: return 1; // OnPaint covers it all
    case WM_PAINT: OnPaint(window); break;
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_LBUTTONDOWN: OnLeftButton(window, lParam); break;
    case WM_RBUTTONDOWN: OnRightButton(window, lParam); break;
    case kTrayMessage: OnTrayNotify(window, lParam); break;
    case WM_GETDPISCALEDSIZE: return OnGetDpiScaledSize(wParam, lParam);
    case WM_DPICHANGED: OnDpiChanged(window, wParam, lParam); break;
    case kSettingsUnwritableMessage: TellSettingsUnwritable(window); break;
    // A menu or a dialog box of hers waits for input, or she is dragged.
    case WM_ENTERIDLE:
    case WM_ENTERSIZEMOVE: StartModalTicks(window); break;
    case WM_TIMER:
        if (wParam == kModalTickTimer)
            ModalTick();
        break;
    default:
        if (message != gMascot.taskbarCreated)
            return DefWindowProcA(window, message, wParam, lParam);
        OnTaskbarCreated();
    }
    return 0;
}
