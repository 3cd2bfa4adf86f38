#include "document/HVDocument.h"

#include "Errors.h"
#include "document/Merge.h"
#include "document/Preload.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"
#include "platform/Clock.h"
#include "platform/Memory.h"
#include "platform/SystemError.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"
#include "text/TextUtil.h"

#include <utility>
#include <vector>

namespace hv {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

const char* ClassNameOf(const std::exception& error) {
    if (const auto* hvError = dynamic_cast<const EHVError*>(&error)) {
        return hvError->ClassName();
    }
    return "Exception";
}

} // namespace

std::string SavePromptText(const std::string& shownName) {
    return "ファイル " + Quoted(shownName) +
           " は変更されています。保存しますか？\n\n保存しない場合、変更内容は失われます。\n"
           "現在の処理を中断したい場合は [キャンセル] を選んでください。";
}

std::string OpeningCaption(const std::string& baseName) {
    return "ファイル " + Quoted(baseName) + " を開いています...";
}

std::string PasswordPromptText(const std::string& baseName) {
    return "ファイル " + Quoted(baseName) + " はパスワードで保護されています。\nパスワードを入力してください。";
}

std::string InvalidDocumentMessage(const std::string& path, const std::string& reason) {
    return "ファイル " + Quoted(path) + " は" + reason + "。";
}

std::string CannotOpenMessage(const std::string& path) {
    return "ファイル " + Quoted(path) + " を開けませんでした。";
}

std::string CannotSaveMessage(const std::string& path) {
    return "ファイル " + Quoted(path) + " を保存できませんでした。";
}

std::string MergeFailedMessage(const std::string& path) {
    return "ファイル " + Quoted(path) + " のマージに失敗しました。";
}

std::string FileNotFoundMessage(const std::string& path) {
    return "ファイル " + Quoted(path) + " が見つかりません。";
}

std::string FileOpenErrorText(const std::string& path, const std::exception& error) {
    return "FileName: " + path + "\nException Class: " + ClassNameOf(error) + "\nError Message: " + error.what();
}

std::string ExceptionText(const std::exception& error) {
    std::string text = error.what();
    if (!text.ends_with('.') && !text.ends_with("。")) {
        text += '.';
    }
    return text + "\n[" + ClassNameOf(error) + "]";
}

std::string BaseFileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsDocumentFileName(const std::string& path) {
    const std::string name = BaseFileName(path);
    return name.size() >= 3 && AsciiSameText(std::string_view(name).substr(name.size() - 3), ".hv");
}

std::string PasswordProblem(const std::string& password) {
    if (Utf8Length(password) > kMaxPasswordLength) {
        return "パスワードは " + std::to_string(kMaxPasswordLength) + " 文字以内にしてください。";
    }
    if (password.find_first_of("\r\n") != std::string::npos) {
        return "パスワードに改行は使えません。";
    }
    return {};
}

bool AcceptPasswordEntries(const std::string& first, const std::string& second, TUserPrompts& prompts) {
    if (first != second) {
        prompts.Information(std::string(kPasswordMismatchMessage));
        return false;
    }
    return true;
}

TDocumentView::~TDocumentView() = default;

THVDocument::THVDocument(TUserPrompts& prompts, TSettings* settings, TDocumentView* view)
    : m_Prompts(prompts), m_Settings(settings), m_View(view), m_Root(NewDocumentRoot()) {}

namespace {

bool g_FreeDocumentTrees = true;
// A little less than what the tree of a document takes in memory for each byte of its file (about
// 1.9 for a document of plain bookmarks), in eighths: pages made present beforehand and then not
// used would only add to the program's memory.
constexpr std::size_t kTreeEighthsPerFileByte = 15;

} // namespace

void SetFreeDocumentTrees(bool free) {
    g_FreeDocumentTrees = free;
}

bool FreeDocumentTrees() {
    return g_FreeDocumentTrees;
}

void DisposeDocumentTree(std::unique_ptr<THVFolder> root) {
    if (!g_FreeDocumentTrees && root) {
        // Kept where leak checkers still see it, and left to the system at exit.
        static auto* const kept = new std::vector<THVFolder*>;
        kept->push_back(root.release());
    }
}

THVDocument::~THVDocument() {
    DisposeDocumentTree(std::move(m_Root));
}

std::unique_ptr<THVFolder> NewDocumentRoot() {
    auto root = std::make_unique<THVFolder>(std::string(kDocumentRootName));
    root->SetExpanded(true);
    return root;
}

void ReserveTreeMemory(std::size_t fileSize) {
    ReserveHeap(fileSize / 8 * kTreeEighthsPerFileByte);
}

void THVDocument::SetOpening(bool opening) {
    m_Opening = opening;
    if (!opening) {
        RefreshCaption();
    }
}

std::string THVDocument::DisplayName() const {
    if (m_FileName.empty()) {
        return std::string(kUntitledName);
    }
    std::string name = BaseFileName(m_FileName);
    if (!FileExists(m_FileName)) {
        name += kNewFileMark;
    }
    return name;
}

std::string THVDocument::Caption() const {
    std::string caption = std::string(kDocumentRootName) + " - " + DisplayName();
    if (m_Modified) {
        caption += kModifiedMark;
    }
    return caption;
}

void THVDocument::RefreshCaption() {
    if (!m_Opening) {
        ShowCaption(Caption());
    }
}

void THVDocument::ShowCaption(const std::string& text) {
    if (m_View != nullptr) {
        m_View->CaptionChanged(text);
    }
}

void THVDocument::SetBusy(bool busy) {
    if (m_View != nullptr) {
        m_View->BusyChanged(busy);
    }
}

void THVDocument::SetModified(bool modified) {
    m_Modified = modified;
    RefreshCaption();
}

void THVDocument::MarkModified() {
    SetModified(true);
}

bool THVDocument::SortFolders() const {
    return m_Settings != nullptr && m_Settings->Get(opt::Main::SortFolder);
}

bool THVDocument::AutoSave() const {
    return m_Settings != nullptr && m_Settings->Get(opt::Main::AutoSave);
}

bool THVDocument::SavePrompt() {
    if (!m_Modified) {
        if (!m_FileName.empty()) {
            WriteViewState();
        }
        return true;
    }
    // A failed automatic save asks as well: refusing every close until the file can be written
    // again would leave the user no way out but "save as".
    if (AutoSave() && !m_FileName.empty() && SaveToFile()) {
        return true;
    }
    const std::string shown = m_FileName.empty() ? std::string(kUntitledName) : m_FileName;
    switch (m_Prompts.AskSave(SavePromptText(shown), std::string(kSavePromptTitle))) {
    case TSaveAnswer::Save:
        Save();
        break;
    case TSaveAnswer::DontSave:
        SetModified(false);
        break;
    case TSaveAnswer::Cancel:
        break;
    }
    return !m_Modified;
}

std::unique_ptr<THVFolder> THVDocument::InstallRoot(std::unique_ptr<THVFolder> root, const std::string& fileName,
                                                    const TDocumentText* text) {
    if (m_View != nullptr) {
        m_View->RootAboutToChange();
    }
    std::unique_ptr<THVFolder> old = std::exchange(m_Root, std::move(root));
    m_FileName = fileName;
    m_Modified = false;
    m_Password = text != nullptr ? text->Password : std::string();
    m_FileVersion = text != nullptr ? text->Version : 1;
    m_FileEncoding = text != nullptr ? text->Encoding : TDocEncoding::Cp932;
    m_ViewState = {};
    if (!fileName.empty()) {
        m_RecentFiles.Add(fileName);
        if (m_Settings != nullptr) {
            try {
                m_ViewState = ReadViewState(m_Settings->File(), fileName);
            } catch (const EHVError&) {
                // The view state only decides which folder is selected and which are collapsed;
                // a store that cannot be read does not keep the document from opening.
            }
        }
        const THVFolder& selected = ApplyViewState(*m_Root, m_ViewState);
        m_ViewState.Selected = FolderPosition(*m_Root, &selected);
    }
    if (m_View != nullptr) {
        m_View->RootChanged();
    }
    RefreshCaption();
    return old;
}

void THVDocument::New() {
    InstallRoot(NewDocumentRoot(), {}, nullptr);
}

std::unique_ptr<THVFolder> THVDocument::DetachRoot() {
    return InstallRoot(NewDocumentRoot(), {}, nullptr);
}

std::optional<TDocumentReader> THVDocument::LoadChecked(const std::string& path) {
    TDocumentReader reader(path);
    if (!reader.Password().empty()) {
        const std::optional<std::string> entered =
            m_Prompts.AskPassword(PasswordPromptText(BaseFileName(path)), std::string(kPromptTitle));
        if (!entered || *entered != reader.Password()) {
            m_Prompts.Warning(std::string(kWrongPasswordMessage));
            return std::nullopt;
        }
    }
    return reader;
}

bool THVDocument::Open(const std::string& path, TDocumentPreload* preload) {
    m_LastErrorDetail.clear();
    SetBusy(true);
    ShowCaption(OpeningCaption(BaseFileName(path)));
    m_Opening = true;
    bool opened = false;
    try {
        if (std::optional<TPreloadedDocument> read =
                preload != nullptr ? preload->Take(path, SortFolders()) : std::nullopt) {
            InstallRoot(std::move(read->Root), path, &read->Header);
            opened = true;
            RemoveLeftoverDocumentTempFiles(path);
        } else if (std::optional<TDocumentReader> reader = LoadChecked(path)) {
            auto root = NewDocumentRoot();
            TReadOptions options;
            options.SortFolders = SortFolders();
            ReserveTreeMemory(reader->FileSize());
            std::exception_ptr failure;
            try {
                ReadRecords(*reader, *root, options);
            } catch (...) {
                failure = std::current_exception();
            }
            if (failure) {
                // What was read so far is shown, but under no name: saving it must not replace
                // the file it came from without the user choosing so.
                InstallRoot(std::move(root), {}, nullptr);
                std::rethrow_exception(failure);
            }
            InstallRoot(std::move(root), path, &reader->Header());
            opened = true;
            RemoveLeftoverDocumentTempFiles(path);
        }
    } catch (const EInvalidDocument& e) {
        m_Prompts.Warning(InvalidDocumentMessage(path, e.what()));
    } catch (const std::exception& e) {
        m_LastErrorDetail = ErrorReason(e);
        if (m_DebugMode) {
            m_Prompts.Error(FileOpenErrorText(path, e), std::string(kFileOpenErrorTitle));
        } else {
            m_Prompts.Error(CannotOpenMessage(path));
        }
    }
    SetOpening(false);
    SetBusy(false);
    return opened;
}

bool THVDocument::OpenAfterPrompt(const std::string& path) {
    return SavePrompt() && Open(path);
}

bool THVDocument::OpenRecent(const std::string& path) {
    if (!FileExists(path)) {
        m_Prompts.Warning(FileNotFoundMessage(path));
        return false;
    }
    return OpenAfterPrompt(path);
}

void THVDocument::SetFileName(const std::string& path) {
    m_FileName = path;
    SetModified(false);
}

bool THVDocument::Save() {
    if (!m_FileName.empty()) {
        return SaveToFile();
    }
    const std::optional<std::string> name = m_View != nullptr ? m_View->AskSaveFileName() : std::nullopt;
    return name && SaveAs(*name);
}

bool THVDocument::SaveAs(const std::string& path) {
    const std::string previous = m_FileName;
    SetFileName(path);
    if (SaveToFile()) {
        return true;
    }
    // The document stays what it was: under its old name, and modified since it is not saved
    // under the new one.
    m_FileName = previous;
    SetModified(true);
    return false;
}

bool THVDocument::SaveToFile() {
    m_LastErrorDetail.clear();
    try {
        if (m_View != nullptr) {
            m_View->CommitEdits();
        }
        const TDocEncoding encoding = WriteDocumentFile(m_FileName, *m_Root, m_Password, false, m_WriteOptions);
        RemoveLeftoverDocumentTempFiles(m_FileName);
        m_FileVersion = m_Password.empty() ? 1 : 2;
        m_FileEncoding = encoding;
    } catch (const std::exception& e) {
        m_LastErrorDetail = ErrorReason(e);
        m_Prompts.Error(CannotSaveMessage(m_FileName));
        if (m_DebugMode) {
            m_Prompts.Error(ExceptionText(e));
        }
        RefreshCaption();
        return false;
    }
    WriteViewState();
    m_RecentFiles.Add(m_FileName);
    SetModified(false);
    return true;
}

bool THVDocument::Merge(const std::string& path) {
    m_LastErrorDetail.clear();
    SetBusy(true);
    ShowCaption(std::string(kMergingCaption));
    TMergeStats stats;
    bool merged = false;
    try {
        if (std::optional<TDocumentReader> reader = LoadChecked(path)) {
            if (m_View != nullptr) {
                m_View->TreeAboutToChange();
            }
            try {
                MergeRecords(reader->ReadRest(), *m_Root, SortFolders(), stats);
            } catch (...) {
                if (m_View != nullptr) {
                    m_View->TreeChanged();
                }
                throw;
            }
            if (m_View != nullptr) {
                m_View->TreeChanged();
            }
            merged = true;
        }
    } catch (const EInvalidDocument& e) {
        m_Prompts.Warning(InvalidDocumentMessage(path, e.what()));
    } catch (const std::exception& e) {
        m_LastErrorDetail = ErrorReason(e);
        m_Prompts.Warning(MergeFailedMessage(path));
    }
    // A merge that failed half-way still changed the tree; the mark says so, so that closing
    // asks before the change is dropped.
    if (merged || stats.Changed()) {
        m_Modified = true;
    }
    RefreshCaption();
    SetBusy(false);
    if (merged) {
        m_Prompts.Information(std::string(kMergeDoneMessage));
    }
    return merged;
}

void THVDocument::WriteViewState() {
    if (m_Settings == nullptr || m_FileName.empty()) {
        return;
    }
    const TViewState state = CaptureViewState(*m_Root, m_View != nullptr ? m_View->SelectedFolder() : nullptr);
    try {
        hv::WriteViewState(m_Settings->File(), m_FileName, state, Clock().Now());
    } catch (const EHVError&) {
        // Not worth a message: the document itself is saved, only its tree layout is not kept.
    }
}

TFileProperties THVDocument::Properties() const {
    TFileProperties properties;
    properties.FileName = m_FileName;
    properties.Modified = m_Modified;
    properties.HasPassword = !m_Password.empty();
    ForEachFolder(*m_Root, [&](const THVFolder& folder, int) {
        ++properties.FolderCount;
        properties.ItemCount += folder.List().Count();
    });
    return properties;
}

bool THVDocument::SetPassword(const std::string& password) {
    if (password == m_Password) {
        return false;
    }
    if (std::string problem = PasswordProblem(password); !problem.empty()) {
        throw EHVError(problem);
    }
    m_Password = password;
    MarkModified();
    return true;
}

} // namespace hv
