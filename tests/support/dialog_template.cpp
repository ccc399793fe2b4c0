#include "dialog_template.h"

#include <string.h>

namespace e2e {

namespace {

// Reads a template's fields in order; every read is bounded by the resource's size.
class TemplateReader {
  public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    template <typename T> T next() {
        T value = T();
        if (!ok_ || pos_ + sizeof value > size_) {
            ok_ = false;
            return value;
        }
        memcpy(&value, data_ + pos_, sizeof value);
        pos_ += sizeof value;
        return value;
    }

    std::wstring string() {
        std::wstring text;
        for (WCHAR c = next<WCHAR>(); ok_ && c != 0; c = next<WCHAR>()) text += c;
        return text;
    }

    // A menu or class: none, an ordinal, or a name.
    void skipNameOrOrdinal() {
        WORD first = next<WORD>();
        if (first == 0xFFFF) {
            next<WORD>();
        } else if (first != 0) {
            string();
        }
    }

  private:
    const BYTE* data_;
    DWORD size_;
    DWORD pos_ = 0;
    bool ok_ = true;
};

} // namespace

DialogTemplate readDialogTemplate(const std::string& module, int id) {
    DialogTemplate dialog;
    HMODULE file = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (file == nullptr) return dialog;
    HRSRC resource = FindResourceA(file, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)); // RT_DIALOG
    HGLOBAL loaded = resource != nullptr ? LoadResource(file, resource) : nullptr;
    const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (data != nullptr) {
        TemplateReader reader(data, SizeofResource(file, resource));
        WORD version = reader.next<WORD>();
        WORD signature = reader.next<WORD>();
        reader.next<DWORD>(); // help id
        reader.next<DWORD>(); // extended style
        dialog.style = reader.next<DWORD>();
        reader.next<WORD>(); // controls
        reader.next<short>();
        reader.next<short>();
        dialog.width = reader.next<short>();
        dialog.height = reader.next<short>();
        reader.skipNameOrOrdinal(); // menu
        reader.skipNameOrOrdinal(); // class
        reader.string();            // caption
        if (dialog.style & DS_SETFONT) {
            dialog.pointSize = reader.next<WORD>();
            dialog.weight = reader.next<WORD>();
            dialog.italic = reader.next<BYTE>() != 0;
            reader.next<BYTE>(); // character set: the dialog manager asks for the default one
            dialog.face = reader.string();
        }
        dialog.found = reader.ok() && version == 1 && signature == 0xFFFF;
    }
    FreeLibrary(file);
    return dialog;
}

HFONT createDialogFont(const DialogTemplate& dialog, int dpi) {
    std::wstring face = dialog.face;
    if ((dialog.style & DS_SHELLFONT) == DS_SHELLFONT && face == L"MS Shell Dlg")
        face = L"MS Shell Dlg 2";
    return CreateFontW(-MulDiv(dialog.pointSize, dpi, 72), 0, 0, 0, dialog.weight, dialog.italic,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, FF_DONTCARE, face.c_str());
}

SIZE dialogBaseUnits(HFONT font) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(screen, letters, sizeof letters - 1, &extent);
    TEXTMETRICA metrics;
    memset(&metrics, 0, sizeof metrics);
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

} // namespace e2e
