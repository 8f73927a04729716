// Exceptions of the storage layer. Messages are the program's own Spanish texts (UTF-8).
#pragma once
#include <stdexcept>
#include <string>

// An error that stops an operation; the editor shows what() in an error box.
class EVudError : public std::runtime_error {
public:
    explicit EVudError(const std::string& message) : std::runtime_error(message) {}
};

// A stream ended early or held a length that cannot be right.
class EReadError : public EVudError {
public:
    EReadError() : EVudError("Error leyendo flujo") {}
};

// Process-wide lenient mode: the editor switches it on at start-up and never off. While on,
// typed look-ups of a missing ID return nothing and load failures are swallowed by the callers.
bool LenientMode();
void SetLenientMode(bool on);
