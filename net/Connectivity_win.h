#pragma once
#include <windows.h>

// Asks the system afresh whether the computer is connected to the Internet.
BOOL IsInternetConnected();
