#pragma once
#include <string>

// Serves one request line and returns the response line: {"ok": true, ...} or
// {"ok": false, "error": code, "message": text}. Sets `quit` for "quit".
std::string Serve(const std::string& requestLine, bool& quit);
