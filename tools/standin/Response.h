#pragma once
#include <memory>
#include <string>

#include "tools/standin/Answer.h"
#include "tools/standin/BodySource.h"

namespace standin {

// An answer ready to go out: the head (status line, header lines and the
// blank line; empty for a raw answer, whose bytes are all body) and the body.
struct Response {
    int status = 0; // 0 for a raw answer
    std::string head;
    std::unique_ptr<BodySource> body; // may be null: no body
    bool sendBody = true;             // false for HEAD: the head still announces the length
    Delivery delivery;
};

} // namespace standin
