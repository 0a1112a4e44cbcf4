// main.cpp — runs the X11 backend tests on a private Xvfb.
//
// A server of our own is started when DISPLAY is unset or empty, or when
// BRISORA_XVFB_DEPTH asks for a given depth (the ctest entries do, so that the
// tests never draw on a developer's screen). Listing tests needs no server.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "XvfbServer.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    const char* display = std::getenv("DISPLAY");
    const char* depth = std::getenv("BRISORA_XVFB_DEPTH");
    std::unique_ptr<XvfbServer> server;
    if (!listing && (depth != nullptr || display == nullptr || *display == '\0')) {
        server = std::make_unique<XvfbServer>(depth != nullptr ? std::atoi(depth) : 24);
        if (!server->running()) {
            std::fprintf(stderr, "could not start Xvfb\n");
            return 1;
        }
    }
    return RUN_ALL_TESTS();
}
