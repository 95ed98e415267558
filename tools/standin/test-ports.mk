# The stand-in services' ports that the test builds are made for: the one place
# they are written. The Makefile includes this file, CMake reads it
# (tools/standin/CMakeLists.txt) and the gallery's script parses it.
STANDIN_UPDATE_PORT := 18080
STANDIN_PACKAGE_PORT := 18081
STANDIN_LOGCONF_PORT := 18443
STANDIN_COLLECTOR_PORT := 18444
STANDIN_CONTROL_PORT := 18099
