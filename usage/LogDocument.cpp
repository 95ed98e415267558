#include "usage/LogDocument.h"

#include "usage/LogClock.h"
#include "usage/NrvJson.h"
#include "usage/Utf8.h"

namespace {

bool IsEmpty(const wchar_t* text) {
    return !text || !*text;
}

bool IsEventKind(const wchar_t* kind) {
    return kind && (kind[0] == L'e' || kind[0] == L'E') && kind[1] == L'\0';
}

void SetText(CNRVJson& json, const char* key, const wchar_t* text) {
    json.SetString(key, ToUtf8(text).c_str());
}

Json::Value Identification(const UsageEventRecord& record) {
    CNRVJson ti;
    SetText(ti, "t", record.t);
    SetText(ti, "v", record.v);
    return ti.GetRoot();
}

Json::Value Client(const LogEnvironment& environment) {
    CNRVJson ui;
    SetText(ui, "ua", environment.userAgent.c_str());
    SetText(ui, "ip", environment.localIp.c_str());
    return ui.GetRoot();
}

// Null when no key was set.
Json::Value Event(const UsageEventRecord& record) {
    CNRVJson obj;
    if (!IsEmpty(record.dp))
        SetText(obj, "dp", record.dp);
    if (!IsEmpty(record.dt))
        SetText(obj, "dt", record.dt);
    if (IsEventKind(record.t)) {
        SetText(obj, "ec", record.ec);
        SetText(obj, "ea", record.ea);
    }
    if (!IsEmpty(record.el))
        SetText(obj, "el", record.el);
    return obj.GetRoot();
}

Json::Value Context(const UsageEventRecord& record, const LogEnvironment& environment) {
    CNRVJson ctx;
    ctx.SetInt64("ts", LogSeconds(record.timeMs));
    ctx.SetReal("tms", LogMilliseconds(record.timeMs));
    if (environment.timeZone.available) {
        ctx.SetInt("tzos", environment.timeZone.tzos);
        SetText(ctx, "tzid", environment.timeZone.tzid.c_str());
    }
    SetText(ctx, "bid", environment.deviceId.c_str());
    ctx.SetBool("nos", true);
    return ctx.GetRoot();
}

} // namespace

void BuildLogDocument(const UsageEventRecord& record, const LogEnvironment& environment,
                      std::string& out) {
    CNRVJson document;
    document.SetValue("ti", Identification(record));
    document.SetValue("ui", Client(environment));
    document.SetValue("obj", Event(record));
    CNRVJson custom;
    if (custom.Parse(ToUtf8(record.cobj).c_str()))
        document.SetValue("cobj", custom.GetRoot());
    document.SetValue("ctx", Context(record, environment));
    out = document.ToCompactString();
}
