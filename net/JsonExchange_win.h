#pragma once
#include "net/HostPort.h"

#include <string>

class CKNHttpAdapter;
class FirstLineReader;

// One request to a vendor JSON service.
struct JsonRequest {
    const HostPort* server;
    bool secure; // HTTPS with INTERNET_FLAG_SECURE; else plain HTTP on an existing connection
    const wchar_t* verb;
    const wchar_t* path;
    std::string body;
};

enum class ExchangeOutcome {
    Failed,   // an Internet failure; the status is as far as it was stored
    NotOk,    // an HTTP status other than 200
    Answered, // HTTP 200 and the answer's first line was read
};

// Sends the request with the installer's headers and reads the first line of
// a 200 answer into the reader (carriage returns dropped). Stores the status
// in the worker. All handles are closed when it returns. An answer line over
// the cap comes back as Answered, the reader saying it overflowed.
ExchangeOutcome RunJsonExchange(CKNHttpAdapter& adapter, const JsonRequest& request,
                                FirstLineReader& answer);

// The body of requests that carry no data: the styled form of a null value.
std::string NullRequestBody();
