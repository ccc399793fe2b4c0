#include "shortcuts.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <string.h>

namespace testing_support {

Shortcut readShortcut(const std::string& linkFile) {
    Shortcut shortcut;
    if (FAILED(CoInitialize(nullptr))) {
        shortcut.error = "CoInitialize failed";
        return shortcut;
    }
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH) != 0 &&
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = "";
        char folder[MAX_PATH] = "";
        char arguments[1024] = "";
        link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(folder, sizeof folder);
        link->GetArguments(arguments, sizeof arguments);
        shortcut.target = target;
        shortcut.workingFolder = folder;
        shortcut.arguments = arguments;
    } else {
        shortcut.error = "cannot read the shortcut " + linkFile;
    }
    if (persist != nullptr) persist->Release();
    if (link != nullptr) link->Release();
    CoUninitialize();
    return shortcut;
}

std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

} // namespace testing_support
