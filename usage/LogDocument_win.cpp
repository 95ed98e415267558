#include "usage/LogDocument_win.h"

#include "env/DeviceId_win.h"
#include "env/TimeZone_win.h"
#include "env/UserAgent_win.h"
#include "usage/LogDocument.h"

void BuildLogDocument(const UsageEventRecord& record, std::string& out) {
    LogEnvironment environment;
    environment.localIp = GetLocalIP();
    environment.userAgent = MakeUserAgent();
    environment.timeZone = QueryTimeZone();
    environment.deviceId = GetDeviceId();
    BuildLogDocument(record, environment, out);
}
