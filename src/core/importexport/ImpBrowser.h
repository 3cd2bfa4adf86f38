#pragma once

#include <string>
#include <string_view>

// Adding the page a running browser shows as an item.
namespace hv {

class THVFolder;
class THVItem;
class TBrowserConversation;
class TTreeEdits;
class TUserPrompts;

inline constexpr std::string_view kBrowserTopic = "WWW_GetWindowInfo";
inline constexpr std::string_view kBrowserItem = "0xFFFFFFFF";
inline constexpr std::string_view kIEService = "IExplore";
inline constexpr std::string_view kNNService = "Netscape";
inline constexpr std::string_view kNoBrowser = "ブラウザが見つかりません。URL を取得できません。";

struct TBrowserAnswer {
    bool Found = false;
    std::string Title;
    std::string URL;
};

// The URL and title of an answer text: two double-quoted fields separated by a comma, in which
// every backslash is dropped; further fields are ignored. Always Found.
TBrowserAnswer ParseBrowserAnswer(std::string_view text);

// Asks one browser (kIEService or kNNService); not Found when it gives no answer.
TBrowserAnswer QueryBrowser(TBrowserConversation& conversation, std::string_view service);

// The choice without the confirmation dialog: the preferred browser's answer when it answered,
// else the other's (which may be not Found). A browser that alone answered is never ignored.
TBrowserAnswer ChooseBrowserAnswer(const TBrowserAnswer& ie, const TBrowserAnswer& nn, bool nnFirst);

// Appends the answer's page to folder as an item (title as name, made unique; both made
// one-line values), through edits when given, and returns it.
THVItem* AddBrowserPage(THVFolder& folder, const TBrowserAnswer& answer, TTreeEdits* edits = nullptr);

// The capture without the dialog: asks both browsers; when neither answers, tells kNoBrowser
// and returns nullptr; else adds the chosen answer (nullptr when it is not Found).
THVItem* CaptureBrowserPage(THVFolder& folder, TBrowserConversation& conversation, bool nnFirst, TUserPrompts& prompts);

} // namespace hv
