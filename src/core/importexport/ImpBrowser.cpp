#include "importexport/ImpBrowser.h"

#include "model/HVFolder.h"
#include "model/TreeEdits.h"
#include "platform/BrowserConversation.h"
#include "platform/UserPrompts.h"
#include "text/TextUtil.h"

namespace hv {

namespace {

// One quoted field starting at pos (its opening quote already passed): up to the next double
// quote or the end, backslashes dropped; pos ends after the closing quote.
std::string ParseField(std::string_view text, std::size_t& pos) {
    std::string field;
    while (pos < text.size() && text[pos] != '"') {
        if (text[pos] != '\\') {
            field += text[pos];
        }
        ++pos;
    }
    if (pos < text.size()) {
        ++pos;
    }
    return field;
}

} // namespace

TBrowserAnswer ParseBrowserAnswer(std::string_view text) {
    TBrowserAnswer answer;
    answer.Found = true;
    std::size_t pos = 1;
    answer.URL = ParseField(text, pos);
    pos += 2; // the comma and the title's opening quote
    answer.Title = ParseField(text, pos);
    return answer;
}

TBrowserAnswer QueryBrowser(TBrowserConversation& conversation, std::string_view service) {
    const auto text = conversation.Request(service, kBrowserTopic, kBrowserItem);
    return text ? ParseBrowserAnswer(*text) : TBrowserAnswer{};
}

TBrowserAnswer ChooseBrowserAnswer(const TBrowserAnswer& ie, const TBrowserAnswer& nn, bool nnFirst) {
    const TBrowserAnswer& preferred = nnFirst ? nn : ie;
    return preferred.Found ? preferred : (nnFirst ? ie : nn);
}

THVItem* AddBrowserPage(THVFolder& folder, const TBrowserAnswer& answer, TTreeEdits* edits) {
    if (edits != nullptr) {
        return edits->AddNewItem(folder.List(), SanitizeLine(answer.Title), SanitizeLine(answer.URL));
    }
    THVItem* item = folder.List().Add(SanitizeLine(answer.Title));
    item->SetURL(SanitizeLine(answer.URL));
    MakeUniqueName(*item);
    return item;
}

THVItem* CaptureBrowserPage(THVFolder& folder, TBrowserConversation& conversation, bool nnFirst,
                            TUserPrompts& prompts) {
    const TBrowserAnswer ie = QueryBrowser(conversation, kIEService);
    const TBrowserAnswer nn = QueryBrowser(conversation, kNNService);
    if (!ie.Found && !nn.Found) {
        prompts.Information(std::string(kNoBrowser));
        return nullptr;
    }
    const TBrowserAnswer chosen = ChooseBrowserAnswer(ie, nn, nnFirst);
    return chosen.Found ? AddBrowserPage(folder, chosen) : nullptr;
}

} // namespace hv
