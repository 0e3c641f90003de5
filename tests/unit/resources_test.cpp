// The menu and the alarm dialog as the resource compiler built them into the
// program: item texts, ids, separators, check marks and the submenu; the
// dialog's style, caption, font and every control. The ids are written out
// as numbers, so that a changed or swapped constant in res/resource.h shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One line per item: "id text [checked]", "-" for a separator, and for a
// submenu "> text" followed by its items and "<".
void DescribeMenu(HMENU menu, std::vector<std::string>& lines) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
        std::string line;
        if (item.fType & MFT_SEPARATOR)
            line = "-";
        else if (item.hSubMenu != nullptr)
            line = std::string("> ") + text;
        else
            line = std::to_string(item.wID) + " " + text;
        if (item.fState & MFS_CHECKED)
            line += " checked";
        if ((item.fState & MFS_GRAYED) && !(item.fType & MFT_SEPARATOR))
            line += " grayed";
        lines.push_back(line);
        if (item.hSubMenu != nullptr) {
            DescribeMenu(item.hSubMenu, lines);
            lines.push_back("<");
        }
    }
}

// Reads a dialog template (the DIALOG form, not DIALOGEX).
class TemplateReader {
  public:
    explicit TemplateReader(const void* data) : at_(static_cast<const BYTE*>(data)) {}

    DWORD Dword() {
        DWORD value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    WORD Word() {
        WORD value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    short Short() { return static_cast<short>(Word()); }

    // A name field: "#n" for an ordinal, otherwise the text as Shift-JIS.
    std::string Name() {
        const WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::wstring wide;
        for (WORD c = first; c != 0; c = Word())
            wide += static_cast<wchar_t>(c);
        char text[256] = {};
        WideCharToMultiByte(932, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
        return text;
    }
    void AlignToDword(const void* start) {
        const size_t offset = static_cast<size_t>(at_ - static_cast<const BYTE*>(start));
        at_ += (4 - offset % 4) % 4;
    }

  private:
    const BYTE* at_;
};

// The system's control classes by name, whether stored as ordinals or names.
std::string ClassName(std::string name) {
    if (name == "#128")
        return "BUTTON";
    if (name == "#130")
        return "STATIC";
    if (name == "#133")
        return "COMBOBOX";
    CharUpperA(&name[0]);
    return name;
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(value));
    return text;
}

// "style exstyle|x,y,cx,cy|menu|class|caption|points face", then one line per
// control: "id class text x,y,cx,cy style exstyle".
std::vector<std::string> DescribeDialog(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (found == nullptr)
        return {"missing"};
    const void* start = LockResource(LoadResource(module, found));
    TemplateReader in(start);
    std::vector<std::string> lines;
    const DWORD style = in.Dword();
    const DWORD exStyle = in.Dword();
    const int count = in.Word();
    const int x = in.Short(), y = in.Short(), cx = in.Short(), cy = in.Short();
    const std::string menu = in.Name();
    const std::string windowClass = in.Name();
    const std::string caption = in.Name();
    std::string font;
    if (style & DS_SETFONT) {
        font = std::to_string(in.Word());
        font += " " + in.Name();
    }
    lines.push_back(Hex(style) + " " + Hex(exStyle) + "|" + std::to_string(x) + "," +
                    std::to_string(y) + "," + std::to_string(cx) + "," + std::to_string(cy) + "|" +
                    menu + "|" + windowClass + "|" + caption + "|" + font);
    for (int i = 0; i < count; ++i) {
        in.AlignToDword(start);
        const DWORD itemStyle = in.Dword();
        const DWORD itemExStyle = in.Dword();
        const int ix = in.Short(), iy = in.Short(), icx = in.Short(), icy = in.Short();
        const int itemId = in.Short();
        const std::string itemClass = ClassName(in.Name());
        const std::string text = in.Name();
        const WORD extra = in.Word();
        for (WORD b = 0; b < extra; ++b)
            in.Word(); // creation data, none expected
        lines.push_back(std::to_string(itemId) + " " + itemClass + " " + text + " " +
                        std::to_string(ix) + "," + std::to_string(iy) + "," + std::to_string(icx) +
                        "," + std::to_string(icy) + " " + Hex(itemStyle) + " " + Hex(itemExStyle) +
                        (extra ? " extra" : ""));
    }
    return lines;
}

// "id language" of every manifest, in hexadecimal.
BOOL CALLBACK ListLanguages(HMODULE, LPCSTR, LPCSTR name, WORD language, LONG_PTR list) {
    char line[32];
    std::snprintf(line, sizeof line, "%u %04X", static_cast<unsigned>(LOWORD(name)), language);
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(line);
    return TRUE;
}

BOOL CALLBACK ListManifests(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list) {
    EnumResourceLanguagesA(module, type, name, ListLanguages, list);
    return TRUE;
}

} // namespace

TEST(Resources, MenuAndAlarmDialogAsBuilt) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100));
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> menu;
    DescribeMenu(bar, menu);
    DestroyMenu(bar);
    const std::vector<std::string> expectedMenu = {
        "> &File",
        "105 アラーム設定(&A)",
        "-",
        "104 手前に表示(&T) checked",
        "106 情報を表示(&W) checked",
        "> アニメを変更(&S)",
        "40009 読書(&0)",
        "40010 団扇(&1)",
        "40011 居眠り(&2)",
        "40012 きょろきょろ(&3)",
        "40013 移動中(&4)",
        "-",
        "40015 ＋そよ風(&9)",
        "-",
        "40016 アニメ固定(&L)",
        "<",
        "103 移動(&M)",
        "-",
        "40008 情報切替(&I)",
        "-",
        "102 終了(&X)",
        "<",
    };
    EXPECT_EQ(menu, expectedMenu);

    // No system menu: the caption has no close box. The combo boxes scroll
    // their edit field (CBS_AUTOHSCROLL), so that two typed digits fit.
    const std::vector<std::string> expectedDialog = {
        "80C008C0 00000000|0,0,133,55|||アラームの設定|9 ＭＳ Ｐゴシック",
        "1 BUTTON OK 89,7,37,14 50010001 00000000",
        "2 BUTTON ｷｬﾝｾﾙ 89,28,37,14 50010000 00000000",
        "1006 BUTTON アラームを毎日鳴らす 7,37,76,11 50010003 00000000",
        "1007 BUTTON アラームを使用する 7,7,76,9 50010003 00000000",
        "-1 STATIC 時 33,23,10,11 50020000 00000000",
        "-1 STATIC 分 75,23,11,11 50020000 00000000",
        "1023 COMBOBOX  7,20,22,68 50210842 00000000",
        "1022 COMBOBOX  49,20,22,68 50210842 00000000",
    };
    EXPECT_EQ(DescribeDialog(110), expectedDialog);

    // One manifest, language-neutral, so that no toolchain's own stands
    // beside it under another language; it asks for code page 932.
    std::vector<std::string> manifests;
    EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(24), ListManifests, // RT_MANIFEST
                       reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, std::vector<std::string>{"1 0000"});
    HRSRC manifest = FindResourceExA(nullptr, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), 0);
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                           SizeofResource(nullptr, manifest));
    EXPECT_NE(text.find(">ja-JP</activeCodePage>"), std::string::npos);
    // Per-monitor DPI awareness, in the form each Windows knows.
    EXPECT_NE(text.find("/2005/WindowsSettings\">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(text.find("/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
}
