#pragma once
// Compiled into the Windows builds of jsoncpp ahead of each of its sources
// (-include, see tools/build-deps-windows.sh), so that nothing of the
// library that this program reaches constructs a C++ stream: in a static
// link the first one brings the whole C++ locale, about a megabyte of the
// executable. The library's own code is not changed:
// - <iostream>, which its reader and value sources include without using
//   it, is skipped: each inclusion constructs the standard streams at start.
// - Its reals are read by platform::NumberStream, which reads as the stream
//   did.
// - Its failure messages are its literal texts, as before, but thrown
//   without being put through a stream first.
// The stream-based entry points (parseFromStream, writeString, operator<<
// and >>) still exist; this program calls none of them.
#define _GLIBCXX_IOSTREAM 1

#include <json/assertions.h>
#include <json/config.h>

#include "platform/NumberStream.h"

#undef JSON_FAIL_MESSAGE
#define JSON_FAIL_MESSAGE(message)                                                                 \
    do {                                                                                           \
        Json::throwLogicError(message);                                                            \
    } while (0)

#define IStringStream ::platform::NumberStream
