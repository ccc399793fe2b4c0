#include "add_flow_host.h"

#include <string.h>

#include "add_pictures.h"
#include "interface_texts.h"
#include "resource.h"
#include "txm.h"

namespace {

INT_PTR CALLBACK hostProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

} // namespace

void AddFlowHost::SetUp() {
    ProgramTest::SetUp();
    appInstance = GetModuleHandleA(nullptr); // the dialog templates are in this program
    TXM_clear(&languageStore);
    installBuiltInTexts();
    folder = std::string(dataFolder) + "\\..\\MuraltoPicks";
    CreateDirectoryA(folder.c_str(), nullptr);
    host = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, hostProc, 0);
    ASSERT_NE(nullptr, host);
}

void AddFlowHost::TearDown() { DestroyWindow(host); }

void AddFlowHost::select(const std::vector<std::string>& parts) {
    memset(openFileBuffer, 0, sizeof openFileBuffer);
    int at = 0;
    for (const std::string& part : parts)
        at += MultiByteToWideChar(CP_ACP, 0, part.c_str(), -1, openFileBuffer + at,
                                  OPEN_FILE_BUFFER_SIZE - at);
}
