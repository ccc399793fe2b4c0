// The add flow's host for tests: a main window made from the program's own dialog template,
// the built-in texts, and a folder for the pictures beside the data folder.
#ifndef MURALTO_ADD_FLOW_HOST_H
#define MURALTO_ADD_FLOW_HOST_H

#include <windows.h>

#include <string>
#include <vector>

#include "program_fixture.h"

class AddFlowHost : public ProgramTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The buffer as the open-file dialog leaves it: one path, or the folder and the names.
    static void select(const std::vector<std::string>& parts);

    std::string folder;
    HWND host = nullptr;
};

#endif
