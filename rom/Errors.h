#pragma once
// Errors that travel to the general error report: the editor shows the text and goes on,
// the command line prints it and exits with status 2.

#include <stdexcept>
#include <string>

class EditorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "'%s' is not a valid integer value"
inline EditorError ConvertError(const std::string& text) {
    return EditorError("'" + text + "' is not a valid integer value");
}

// "List index out of bounds (%d)"
inline EditorError ListIndexError(long long index) {
    return EditorError("List index out of bounds (" + std::to_string(index) + ")");
}
