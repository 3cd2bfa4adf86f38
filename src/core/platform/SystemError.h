#pragma once

#include "Errors.h"

#include <exception>
#include <string>
#include <utility>

namespace hv {

// The system's reason for errno error as a Japanese sentence ("ディレクトリです。").
std::string SystemErrorText(int error);

// A file error whose cause the system gave: Reason() is that cause alone, for callers whose own
// message already names the file.
class ESystemFileError : public EFileError {
public:
    ESystemFileError(const std::string& message, std::string reason)
        : EFileError(message), m_Reason(std::move(reason)) {}
    const std::string& Reason() const noexcept { return m_Reason; }

private:
    std::string m_Reason;
};

// The line shown below a message that already names the file: the system's reason alone when
// the error carries one, else the error's own message.
inline std::string ErrorReason(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const ESystemFileError*>(&error); fileError != nullptr) {
        return fileError->Reason();
    }
    return error.what();
}

} // namespace hv
