#pragma once

#include "Errors.h"

#include <string>
#include <string_view>
#include <vector>

namespace hv {

// The system offers no way to dial; the launch stops and the error handler shows this.
class EDialUpError : public EHVError {
public:
    using EHVError::EHVError;
    const char* ClassName() const noexcept override { return "EDialUpError"; }
};

// "ダイアルアップに必要な API が見つかりません。..." with the system's error code and message.
std::string DialApiMissingMessage(int code, std::string_view systemMessage);

// The system's remote-access service: is a connection up, dial one, which entries are there.
class TNetworkConnections {
public:
    virtual ~TNetworkConnections();
    // Whether at least one connection is active.
    virtual bool IsConnected() = 0;
    // Brings up the named entry; 0 on success, any other value on failure. Throws EDialUpError
    // when the system has no dialling service.
    virtual int Dial(const std::string& entry) = 0;
    // The names of the entries that can be dialled (for the settings dialog).
    virtual std::vector<std::string> Entries() = 0;
};

} // namespace hv
