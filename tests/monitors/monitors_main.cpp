// The two-monitor journeys' driver: on the display itself, since a Wine virtual desktop has
// one monitor.
#include <gtest/gtest.h>

#include <stdio.h>

#include "options.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!e2e::parseOptions(argc, argv, {&e2e::Options::programFolder})) {
        fprintf(stderr, "usage: monitors_tests --programs=FOLDER\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
