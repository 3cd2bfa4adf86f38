#pragma once

#include <string_view>

// The names of the JSON form of a document that dump writes and write reads.
namespace hv::cli::json_keys {

inline constexpr std::string_view kVersion = "version";
inline constexpr std::string_view kPassword = "password";
inline constexpr std::string_view kEncoding = "encoding";
inline constexpr std::string_view kRoot = "root";

inline constexpr std::string_view kFolderName = "name";
inline constexpr std::string_view kExpanded = "expanded";
inline constexpr std::string_view kItems = "items";
inline constexpr std::string_view kFolders = "folders";

inline constexpr std::string_view kItemName = "name";
inline constexpr std::string_view kUrl = "url";
inline constexpr std::string_view kMemo = "memo";
inline constexpr std::string_view kLastVisited = "lastVisited";
inline constexpr std::string_view kSchedule = "schedule";
inline constexpr std::string_view kIconFile = "iconFile";
inline constexpr std::string_view kIconIndex = "iconIndex";
inline constexpr std::string_view kCommands = "commands";

inline constexpr std::string_view kCommandTitle = "title";
inline constexpr std::string_view kCommandLine = "commandLine";
inline constexpr std::string_view kUpdateLastVisited = "updateLastVisited";

inline constexpr std::string_view kEncodingCp932 = "CP932";
inline constexpr std::string_view kEncodingUtf8 = "UTF-8";

} // namespace hv::cli::json_keys
