#include "layout_checks.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "window_messages.h"

namespace e2e {

namespace {

std::string describeRect(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

struct Children {
    HWND dialog;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectChild(HWND child, LPARAM param) {
    Children* children = reinterpret_cast<Children*>(param);
    // Only the dialog's own controls: a combo box's edit or a list's header are theirs.
    if (GetParent(child) == children->dialog) children->windows.push_back(child);
    return TRUE;
}

std::vector<HWND> controlsOf(HWND dialog) {
    Children children = {dialog, {}};
    EnumChildWindows(dialog, collectChild, reinterpret_cast<LPARAM>(&children));
    return children.windows;
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string withoutMnemonics(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// The texts a control shows and the room it leaves for them; none for controls without text.
struct TextRoom {
    std::vector<std::string> texts; // each on a line of its own, or each entry of a list
    bool linesStack = false;        // texts are the lines of one text, shown one under another
    int width = 0;
    int height = 0;
};

TextRoom roomOf(HWND control, int dpi) {
    TextRoom room;
    RECT client;
    GetClientRect(control, &client);
    room.width = client.right;
    room.height = client.bottom;
    std::string kind = className(control);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (_stricmp(kind.c_str(), "Button") == 0) {
        LONG type = style & BS_TYPEMASK;
        room.texts.push_back(withoutMnemonics(windowText(control)));
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
            type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
            room.width -= room.height;
        } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            room.width -= 2 * MulDiv(2, dpi, 96);
        } else if (type == BS_GROUPBOX) {
            room.height = 0; // the title sits on the frame: its height is not the control's
        }
    } else if (_stricmp(kind.c_str(), "Static") == 0) {
        LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
            type == SS_LEFTNOWORDWRAP) {
            std::string text = windowText(control);
            room.texts = linesOf((style & SS_NOPREFIX) ? text : withoutMnemonics(text));
            room.linesStack = true;
        }
    } else if (_stricmp(kind.c_str(), "ComboBox") == 0) {
        room.texts = comboEntries(control);
        room.width -= room.height;
    } else if (_stricmp(kind.c_str(), "Edit") == 0) {
        room.texts.push_back(windowText(control));
    }
    return room;
}

} // namespace

std::string sizeProblems(HWND dialog, const DialogTemplate& dialogTemplate, HFONT font, int dpi) {
    std::string problems;
    RECT client;
    GetClientRect(dialog, &client);
    SIZE base = dialogBaseUnits(font);
    int fontWidth = MulDiv(dialogTemplate.width, base.cx, 4);
    int fontHeight = MulDiv(dialogTemplate.height, base.cy, 8);
    if (client.right != fontWidth || client.bottom != fontHeight)
        problems += "client area " + std::to_string(client.right) + " x " +
                    std::to_string(client.bottom) + ", while the template's font (base units " +
                    std::to_string(base.cx) + " x " + std::to_string(base.cy) + ") makes it " +
                    std::to_string(fontWidth) + " x " + std::to_string(fontHeight) + "\n";
    // MS Shell Dlg 8 has base units of 6 x 13 at 96 DPI.
    double wantWidth = dialogTemplate.width * 6 / 4.0 * dpi / 96;
    double wantHeight = dialogTemplate.height * 13 / 8.0 * dpi / 96;
    if (fabs(client.right - wantWidth) > 0.06 * wantWidth ||
        fabs(client.bottom - wantHeight) > 0.06 * wantHeight)
        problems += "client area " + std::to_string(client.right) + " x " +
                    std::to_string(client.bottom) + " at " + std::to_string(dpi) +
                    " DPI, not within 6 % of " + std::to_string(static_cast<int>(wantWidth)) +
                    " x " + std::to_string(static_cast<int>(wantHeight)) + "\n";
    return problems;
}

std::string controlsOutside(HWND dialog) {
    std::string problems;
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND control : controlsOf(dialog)) {
        if (!IsWindowVisible(control)) continue;
        RECT frame;
        GetWindowRect(control, &frame);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
        if (frame.left < 0 || frame.top < 0 || frame.right > client.right ||
            frame.bottom > client.bottom)
            problems += className(control) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" +
                        windowText(control) + "\" at " + describeRect(frame) +
                        " is not inside the client area " + describeRect(client) + "\n";
    }
    return problems;
}

std::string textsThatDoNotFit(HWND dialog, HFONT font, int dpi) {
    std::string problems;
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICA metrics;
    memset(&metrics, 0, sizeof metrics);
    GetTextMetricsA(screen, &metrics);
    for (HWND control : controlsOf(dialog)) {
        if (!IsWindowVisible(control)) continue;
        TextRoom room = roomOf(control, dpi);
        std::string name = className(control) + " " + std::to_string(GetDlgCtrlID(control));
        for (const std::string& text : room.texts) {
            SIZE extent = {0, 0};
            GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &extent);
            if (extent.cx > room.width)
                problems += name + " \"" + text + "\" is " + std::to_string(extent.cx) +
                            " pixels wide, room for " + std::to_string(room.width) + "\n";
        }
        int lines = room.linesStack ? static_cast<int>(room.texts.size()) : 1;
        if (!room.texts.empty() && room.height > 0 && lines * metrics.tmHeight > room.height)
            problems += name + " \"" + room.texts[0] + "\": " + std::to_string(lines) +
                        " line(s) of " + std::to_string(metrics.tmHeight) + " pixels, room for " +
                        std::to_string(room.height) + "\n";
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return problems;
}

// Each mnemonic ('&' before a letter, "&&" being a plain '&') once among the dialog's controls,
// whatever the letter's case.
std::string mnemonicClashes(HWND dialog) {
    std::string problems;
    std::vector<std::pair<char, std::string>> seen;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const std::string text = windowText(control);
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') continue;
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            char key = text[i + 1];
            CharLowerBuffA(&key, 1);
            for (const auto& other : seen)
                if (other.first == key)
                    problems +=
                        "\n  \"" + text + "\" and \"" + other.second + "\" share a mnemonic";
            seen.push_back({key, text});
            break;
        }
    }
    return problems;
}

} // namespace e2e
