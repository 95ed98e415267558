#pragma once
#include <windows.h>

#include <string>

namespace platform {

// Loads a string with the language-neutral lookup: the platform's resource
// loader picks the string block in the user's display language, exactly as
// it picks the dialog template, so texts and template always match.
// A missing string gives an empty text.
std::wstring LoadResourceString(HINSTANCE hInstance, UINT id);

} // namespace platform
