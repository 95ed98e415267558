#pragma once
#include <json/value.h>

#include "tools/standin/RequestLog.h"

namespace standin {

// One recording as the control API reports it. Header lines and the body
// come as text where they are valid UTF-8; the *_base64 fields always hold
// the exact bytes.
Json::Value recordingJson(const Recording& recording);

} // namespace standin
