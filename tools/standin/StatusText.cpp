#include "tools/standin/StatusText.h"

namespace standin {

// The statuses the services and the tests' scripts use; a script that wants
// another text for them, or any other status, gives its own reason.
std::string_view statusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 307:
        return "Temporary Redirect";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Status";
    }
}

} // namespace standin
