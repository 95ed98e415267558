#pragma once
#include <string>

// The installer's User-Agent, e.g.
// "Kestrix/5.0 (pc, Windows 7/6.1, ko-KR) KestrixDownloader/8.1.13.27212.PROD".
// Every call queries the system again; a query that fails leaves its token
// empty. Safe on any thread.
std::wstring MakeUserAgent();

// The OS token, e.g. "Windows 7/6.1"; empty for versions the table lacks.
std::wstring GetOSName();

// The product version from the running executable's version block, e.g.
// "8.1.13.27212"; empty when it has none.
std::wstring GetProductVersion();
