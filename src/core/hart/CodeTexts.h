#pragma once

#include <string>

namespace korvan {

// Where the response decoding gets the names of HART unit and manufacturer codes.
class CodeTexts {
public:
    virtual ~CodeTexts() = default;

    // The unit's name; empty when no name can be given (the source has said why).
    virtual std::string unitText(int code) = 0;
    // The manufacturer's name, "(null)" for an unknown code; empty when no name can be given.
    virtual std::string manufacturerText(int code) = 0;
};

} // namespace korvan
