// XvfbServer.h — a private virtual X server for the backend tests.
//
//   XvfbServer  starts Xvfb on the first free display number (-displayfd, so
//               parallel test runs never race for a number), points DISPLAY
//               at it, and stops it again
#pragma once

#include <sys/types.h>

#include <string>

class XvfbServer {
public:
    explicit XvfbServer(int depth);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return pid_ > 0 && !display_.empty(); }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};
