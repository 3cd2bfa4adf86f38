#include "JsonDocumentReader.h"

#include "DocumentJson.h"
#include "DocumentLoader.h"
#include "JsonEvents.h"
#include "model/DateTime.h"
#include "model/Names.h"
#include "text/TextUtil.h"

#include <array>
#include <climits>
#include <cstdint>
#include <span>
#include <unordered_set>
#include <vector>

namespace hv::cli {

namespace {

namespace keys = json_keys;

enum class TFrameKind { Top, Folder, ItemArray, FolderArray, Item, CommandArray, Command };

// The keys of each kind of object; a key's index is its id below.
constexpr std::array<std::string_view, 4> kTopKeys = {keys::kVersion, keys::kPassword, keys::kEncoding, keys::kRoot};
enum TTopKey { kTopVersion, kTopPassword, kTopEncoding, kTopRoot };

constexpr std::array<std::string_view, 4> kFolderKeys = {keys::kFolderName, keys::kExpanded, keys::kItems,
                                                         keys::kFolders};
enum TFolderKey { kFolderName, kFolderExpanded, kFolderItems, kFolderFolders };

constexpr std::array<std::string_view, 8> kItemKeys = {keys::kItemName,    keys::kUrl,      keys::kMemo,
                                                       keys::kLastVisited, keys::kSchedule, keys::kIconFile,
                                                       keys::kIconIndex,   keys::kCommands};
enum TItemKey {
    kItemName,
    kItemUrl,
    kItemMemo,
    kItemLastVisited,
    kItemSchedule,
    kItemIconFile,
    kItemIconIndex,
    kItemCommands
};

constexpr std::array<std::string_view, 3> kCommandKeys = {keys::kCommandTitle, keys::kCommandLine,
                                                          keys::kUpdateLastVisited};
enum TCommandKey { kCommandTitle, kCommandLine, kCommandUpdate };

std::span<const std::string_view> KeysOf(TFrameKind kind) {
    switch (kind) {
    case TFrameKind::Top:
        return kTopKeys;
    case TFrameKind::Folder:
        return kFolderKeys;
    case TFrameKind::Item:
        return kItemKeys;
    case TFrameKind::Command:
        return kCommandKeys;
    default:
        return {};
    }
}

// One JSON value as the parser reports it; containers only by their kind.
struct TValue {
    enum TKind { Null, Bool, Integer, Float, String, Object, Array } Kind;
    bool BoolValue = false;
    // Integers outside the range of int64 are marked so.
    std::int64_t IntValue = 0;
    bool IntOutOfRange = false;
    std::string* StringValue = nullptr;
};

// An open object or array, and how it hangs in its parent (for the paths in messages).
struct TFrame {
    TFrameKind Kind;
    THVFolder* Folder = nullptr;
    THVItem* Item = nullptr;
    int Command = -1;
    // The key this value sits under in its parent object, or else its index in the parent array.
    std::string_view KeyInParent = {};
    std::size_t IndexInParent = 0;
    // Objects: the keys seen so far (a bit per key id) and the key whose value comes next.
    unsigned Seen = 0;
    int PendingKey = -1;
    // Arrays: how many elements have begun.
    std::size_t Elements = 0;
};

class TDocumentSax : public TJsonHandler {
public:
    TJsonDocument Result;
    std::string Error;

    bool Null() override { return OnValue({TValue::Null}); }
    bool Boolean(bool value) override {
        TValue v{TValue::Bool};
        v.BoolValue = value;
        return OnValue(v);
    }
    bool Integer(std::int64_t value, bool outOfRange) override {
        TValue v{TValue::Integer};
        v.IntValue = value;
        v.IntOutOfRange = outOfRange;
        return OnValue(v);
    }
    bool Float() override { return OnValue({TValue::Float}); }
    bool String(std::string& value) override {
        TValue v{TValue::String};
        v.StringValue = &value;
        return OnValue(v);
    }
    bool StartObject() override { return OnValue({TValue::Object}); }
    bool StartArray() override { return OnValue({TValue::Array}); }

    bool Key(std::string& name) override {
        TFrame& frame = m_Stack.back();
        std::span<const std::string_view> known = KeysOf(frame.Kind);
        for (std::size_t id = 0; id < known.size(); ++id) {
            if (known[id] == name) {
                if ((frame.Seen & (1U << id)) != 0) {
                    return Fail(Subject() + "のキー \"" + name + "\" が重複しています。");
                }
                frame.Seen |= 1U << id;
                frame.PendingKey = static_cast<int>(id);
                return true;
            }
        }
        return Fail(Subject() + "に不明なキー \"" + name + "\" があります。");
    }

    bool EndObject() override {
        const TFrame& frame = m_Stack.back();
        if (frame.Kind == TFrameKind::Top && (frame.Seen & (1U << kTopRoot)) == 0) {
            return Fail("\"root\" がありません。");
        }
        m_Stack.pop_back();
        return true;
    }

    bool EndArray() override {
        m_Stack.pop_back();
        return true;
    }

    bool SyntaxError(std::size_t position) {
        // Where it stopped is what the user needs.
        return Fail("JSON の構文が正しくありません (" + std::to_string(position) + " バイト目)。");
    }

    // The raw tree: folders and items exactly as listed, before the document rules are applied.
    std::unique_ptr<THVFolder> RawRoot;

private:
    bool Fail(std::string message) {
        if (Error.empty()) {
            Error = std::move(message);
        }
        return false;
    }

    bool WrongType(std::string_view expected) {
        return Fail(Subject() + "は" + std::string(expected) + "でなければなりません。");
    }

    // Where the value being read sits, as "root.folders[0].items[2].url". Paths through deep
    // trees keep their start and end only.
    std::string Path() const {
        std::vector<std::string> parts;
        for (std::size_t i = 0; i < m_Stack.size(); ++i) {
            const TFrame& frame = m_Stack[i];
            if (i > 0) {
                parts.push_back(ElementLabel(frame, m_Stack[i - 1]));
            }
        }
        if (!m_Stack.empty()) {
            const TFrame& top = m_Stack.back();
            if (top.PendingKey >= 0) {
                parts.push_back("." + std::string(KeysOf(top.Kind)[static_cast<std::size_t>(top.PendingKey)]));
            } else if (IsArray(top.Kind)) {
                parts.push_back("[" + std::to_string(top.Elements) + "]");
            }
        }
        // The elided middle starts after an array index and ends before a key.
        constexpr std::size_t kHead = 5, kTail = 7;
        std::size_t tailStart = parts.size() > kHead + kTail + 1 ? parts.size() - kTail : kHead;
        while (tailStart > kHead && !parts[tailStart].starts_with('.')) {
            --tailStart;
        }
        std::string path;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i == kHead && tailStart > kHead) {
                path += "\u2026";
                i = tailStart - 1;
                continue;
            }
            path += parts[i];
        }
        if (path.starts_with('.')) {
            path.erase(0, 1);
        }
        return path;
    }

    // The path as the subject of a message.
    std::string Subject() const {
        std::string path = Path();
        return path.empty() ? std::string("JSON の最上位") : path + " ";
    }

    static std::string ElementLabel(const TFrame& frame, const TFrame& parent) {
        if (IsArray(parent.Kind)) {
            return "[" + std::to_string(frame.IndexInParent) + "]";
        }
        return "." + std::string(frame.KeyInParent);
    }

    static bool IsArray(TFrameKind kind) {
        return kind == TFrameKind::ItemArray || kind == TFrameKind::FolderArray || kind == TFrameKind::CommandArray;
    }

    void Push(TFrame frame) {
        if (!m_Stack.empty()) {
            TFrame& parent = m_Stack.back();
            if (IsArray(parent.Kind)) {
                frame.IndexInParent = parent.Elements++;
            } else {
                frame.KeyInParent = KeysOf(parent.Kind)[static_cast<std::size_t>(parent.PendingKey)];
                parent.PendingKey = -1;
            }
        }
        m_Stack.push_back(frame);
    }

    static bool GetInt(const TValue& v, int& out) {
        if (v.Kind != TValue::Integer || v.IntOutOfRange || v.IntValue < INT_MIN || v.IntValue > INT_MAX) {
            return false;
        }
        out = static_cast<int>(v.IntValue);
        return true;
    }

    bool OnValue(const TValue& v) {
        if (m_Stack.empty()) {
            if (v.Kind != TValue::Object) {
                return WrongType("オブジェクト");
            }
            Push({TFrameKind::Top});
            return true;
        }
        TFrame& frame = m_Stack.back();
        switch (frame.Kind) {
        case TFrameKind::Top:
            return OnTopMember(frame, v);
        case TFrameKind::Folder:
            return OnFolderMember(frame, v);
        case TFrameKind::Item:
            return OnItemMember(frame, v);
        case TFrameKind::Command:
            return OnCommandMember(frame, v);
        case TFrameKind::ItemArray:
            if (v.Kind != TValue::Object) {
                return WrongType("オブジェクト");
            }
            Push({TFrameKind::Item, nullptr, frame.Folder->List().Add()});
            return true;
        case TFrameKind::FolderArray:
            if (v.Kind != TValue::Object) {
                return WrongType("オブジェクト");
            }
            Push({TFrameKind::Folder, frame.Folder->AddChild({})});
            m_Stack.back().Folder->SetExpanded(true);
            return true;
        case TFrameKind::CommandArray: {
            if (v.Kind != TValue::Object) {
                return WrongType("オブジェクト");
            }
            TCmdList& commands = frame.Item->GetCommands();
            commands.Add();
            TFrame command{TFrameKind::Command, nullptr, frame.Item};
            command.Command = commands.Count() - 1;
            Push(command);
            return true;
        }
        }
        return false;
    }

    bool OnTopMember(TFrame& frame, const TValue& v) {
        switch (frame.PendingKey) {
        case kTopVersion: {
            int version = 0;
            if (!GetInt(v, version) || (version != 1 && version != 2)) {
                return WrongType("整数 1 か 2 ");
            }
            Result.Version = version;
            break;
        }
        case kTopPassword:
            if (v.Kind != TValue::String) {
                return WrongType("文字列");
            }
            Result.Password = *v.StringValue;
            break;
        case kTopEncoding:
            if (v.Kind == TValue::String && AsciiSameText(*v.StringValue, keys::kEncodingUtf8)) {
                Result.Encoding = TDocEncoding::Utf8;
            } else if (v.Kind == TValue::String && AsciiSameText(*v.StringValue, keys::kEncodingCp932)) {
                Result.Encoding = TDocEncoding::Cp932;
            } else {
                return WrongType("文字列 \"CP932\" か \"UTF-8\" ");
            }
            break;
        case kTopRoot:
            if (v.Kind != TValue::Object) {
                return WrongType("オブジェクト");
            }
            RawRoot = std::make_unique<THVFolder>(std::string(kRootCaption));
            RawRoot->SetExpanded(true);
            Push({TFrameKind::Folder, RawRoot.get()});
            return true;
        }
        frame.PendingKey = -1;
        return true;
    }

    bool OnFolderMember(TFrame& frame, const TValue& v) {
        switch (frame.PendingKey) {
        case kFolderName:
            if (v.Kind != TValue::String) {
                return WrongType("文字列");
            }
            // The root keeps its caption; files do not store a name for it.
            if (frame.Folder != RawRoot.get()) {
                frame.Folder->SetName(std::move(*v.StringValue));
            }
            break;
        case kFolderExpanded:
            if (v.Kind != TValue::Bool) {
                return WrongType("真偽値 (true か false) ");
            }
            frame.Folder->SetExpanded(v.BoolValue);
            break;
        case kFolderItems:
        case kFolderFolders:
            if (v.Kind != TValue::Array) {
                return WrongType("配列");
            }
            Push({frame.PendingKey == kFolderItems ? TFrameKind::ItemArray : TFrameKind::FolderArray, frame.Folder});
            return true;
        }
        frame.PendingKey = -1;
        return true;
    }

    bool OnItemMember(TFrame& frame, const TValue& v) {
        THVItem& item = *frame.Item;
        const int key = frame.PendingKey;
        if (key == kItemCommands) {
            if (v.Kind != TValue::Array) {
                return WrongType("配列");
            }
            Push({TFrameKind::CommandArray, nullptr, frame.Item});
            return true;
        }
        if (key == kItemIconIndex) {
            int index = 0;
            if (!GetInt(v, index)) {
                return WrongType("整数 (" + std::to_string(INT_MIN) + " から " + std::to_string(INT_MAX) + ") ");
            }
            item.SetIconRaw(item.GetIconFile(), index);
        } else if (key == kItemLastVisited && v.Kind == TValue::Null) {
            item.SetLastVisited(0);
        } else if (v.Kind != TValue::String) {
            return WrongType(key == kItemLastVisited ? "文字列か null " : "文字列");
        } else {
            std::string& text = *v.StringValue;
            switch (key) {
            case kItemName:
                item.SetName(std::move(text));
                break;
            case kItemUrl:
                item.SetURL(std::move(text));
                break;
            case kItemMemo:
                item.SetMemo(std::move(text));
                break;
            case kItemLastVisited:
                item.SetLastVisited(ParseDocDateTime(text));
                break;
            case kItemSchedule:
                item.SetSchedule(std::move(text));
                break;
            case kItemIconFile:
                item.SetIconRaw(std::move(text), item.GetIconIndex());
                break;
            default:
                break;
            }
        }
        frame.PendingKey = -1;
        return true;
    }

    bool OnCommandMember(TFrame& frame, const TValue& v) {
        TCmdItem& command = frame.Item->GetCommands().Items(frame.Command);
        if (frame.PendingKey == kCommandUpdate) {
            if (v.Kind != TValue::Bool) {
                return WrongType("真偽値 (true か false) ");
            }
            command.UpdateLastVisited = v.BoolValue;
        } else {
            if (v.Kind != TValue::String) {
                return WrongType("文字列");
            }
            (frame.PendingKey == kCommandTitle ? command.Title : command.CommandLine) = std::move(*v.StringValue);
        }
        frame.PendingKey = -1;
        return true;
    }

    std::vector<TFrame> m_Stack;
};

// Applies the rules of a document read to the raw tree, in the order a read of its records would:
// each folder is looked up by name among its parent's children (so same-named siblings merge)
// and each item gets a unique name in its folder. The raw items are freed as they are copied, so
// that the copies reuse their memory.
std::unique_ptr<THVFolder> BuildDocumentTree(THVFolder& raw) {
    auto root = std::make_unique<THVFolder>(std::string(kRootCaption));
    root->SetExpanded(raw.Expanded());
    std::vector<THVFolder*> targets; // the target folder of each level of the current path
    ForEachFolder(raw, [&](THVFolder& folder, int level) {
        THVFolder* target = root.get();
        targets.resize(static_cast<std::size_t>(level));
        if (level > 0) {
            bool created = false;
            target = targets.back()->FindOrCreateChild(FolderNameWithYen(folder.Name()), false, &created);
            if (created) {
                target->SetExpanded(folder.Expanded());
            }
        }
        targets.push_back(target);
        for (const auto& item : folder.List()) {
            THVItem* copy = target->List().Add();
            copy->Assign(*item);
            MakeUniqueName(*copy);
        }
        folder.List().Clear();
    });
    return root;
}

// True when some folder of the raw tree has two children that a read would merge into one.
bool HasMergingFolders(const THVFolder& raw) {
    bool found = false;
    std::unordered_set<std::string> seen;
    ForEachFolder(raw, [&](const THVFolder& folder, int) {
        if (found || folder.ChildCount() < 2) {
            return;
        }
        seen.clear();
        for (const auto& child : folder.Children()) {
            if (!seen.insert(AsciiLowerCase(FolderNameWithYen(child->Name()))).second) {
                found = true;
                return;
            }
        }
    });
    return found;
}

// What BuildDocumentTree gives for a raw tree without folders to merge, done in place: the
// folder names with "\" replaced and the item names made unique, list by list in list order.
void ApplyDocumentRules(THVFolder& raw) {
    ForEachFolder(raw, [](THVFolder& folder, int level) {
        if (level > 0 && folder.Name().find('\\') != std::string::npos) {
            folder.SetName(FolderNameWithYen(folder.Name()));
        }
        folder.List().MakeNamesUniqueFrom(0);
    });
}

} // namespace

TJsonDocument ReadDocumentJson(std::string_view text) {
    TDocumentSax sax;
    const TJsonReadResult read = ReadJson(text, sax);
    if (read.Kind == TJsonReadResult::SyntaxError) {
        sax.SyntaxError(read.Position);
    }
    if (read.Kind != TJsonReadResult::Ok || !sax.Error.empty()) {
        throw EJsonDocumentError(sax.Error.empty() ? std::string("JSON を読めませんでした。") : sax.Error);
    }
    TJsonDocument doc = std::move(sax.Result);
    if (HasMergingFolders(*sax.RawRoot)) {
        doc.Root = BuildDocumentTree(*sax.RawRoot);
    } else {
        ApplyDocumentRules(*sax.RawRoot);
        doc.Root = std::move(sax.RawRoot);
    }
    return doc;
}

} // namespace hv::cli
