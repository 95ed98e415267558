#pragma once

namespace standin {

// The services' ports: by default those the test builds are made for
// (tools/standin/test-ports.mk, passed in by the build); 0 picks a free one.
struct Ports {
    int update = KESTRIX_STANDIN_UPDATE_PORT;
    int package = KESTRIX_STANDIN_PACKAGE_PORT;
    int logConf = KESTRIX_STANDIN_LOGCONF_PORT;
    int collector = KESTRIX_STANDIN_COLLECTOR_PORT;
    int control = KESTRIX_STANDIN_CONTROL_PORT;

    static Ports anyFree() { return Ports{0, 0, 0, 0, 0}; }
};

} // namespace standin
