#include "platform/NetworkConnections.h"

namespace hv {

TNetworkConnections::~TNetworkConnections() = default;

std::string DialApiMissingMessage(int code, std::string_view systemMessage) {
    return "ダイアルアップに必要な API が見つかりません。Wininet.dll のバージョンを確認してください。\n(" +
           std::to_string(code) + ": " + std::string(systemMessage) + ")";
}

} // namespace hv
