#pragma once

#include <stdexcept>
#include <string>

namespace hv {

// Base of every error the core raises; what() is the user-facing message (UTF-8).
class EHVError : public std::runtime_error {
public:
    explicit EHVError(const std::string& message) : std::runtime_error(message) {}
    // The class name shown in square brackets by the application's exception handler.
    virtual const char* ClassName() const noexcept { return "EHVError"; }
};

// A text that should have been a number, a date or a quoted memo was not.
class EConvertError : public EHVError {
public:
    using EHVError::EHVError;
    const char* ClassName() const noexcept override { return "EConvertError"; }
};

// A file could not be read, created or replaced.
class EFileError : public EHVError {
public:
    using EHVError::EHVError;
    const char* ClassName() const noexcept override { return "EFileError"; }
};

} // namespace hv
