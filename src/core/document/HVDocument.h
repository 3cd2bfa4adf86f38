#pragma once

#include "document/DocumentFile.h"
#include "document/DocumentReader.h"
#include "document/RecentFiles.h"
#include "document/ViewState.h"
#include "platform/SafeFile.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hv {

class TDocumentPreload;
class THVFolder;
class TSettings;
class TUserPrompts;

// The caption of the root folder.
inline constexpr std::string_view kDocumentRootName = "Hollyvine";
// The display name of a document that has no file name.
inline constexpr std::string_view kUntitledName = "(無題)";
// Appended to the display name while the file does not exist (yet).
inline constexpr std::string_view kNewFileMark = "(新規)";
// Appended to the caption while the document is modified.
inline constexpr std::string_view kModifiedMark = "(更新)";
inline constexpr std::string_view kSavePromptTitle = "ファイルの保存";
inline constexpr std::string_view kMergingCaption = "マージ処理中...";
inline constexpr std::string_view kWrongPasswordMessage = "正しいパスワードが入力されませんでした。";
inline constexpr std::string_view kMergeDoneMessage = "マージが完了しました。";
inline constexpr std::string_view kFileOpenErrorTitle = "File Open Error";
// The password dialog ("パスワードの設定").
inline constexpr std::string_view kPasswordDialogTitle = "パスワードの設定";
inline constexpr std::string_view kPasswordDialogText = "パスワードを入力してください。\n（同じものを２回）";
inline constexpr std::string_view kPasswordMismatchMessage = "同じパスワードを２回入力してください。";

// The messages of the lifecycle, with their file names filled in.
std::string SavePromptText(const std::string& shownName);
std::string OpeningCaption(const std::string& baseName);
std::string PasswordPromptText(const std::string& baseName);
std::string InvalidDocumentMessage(const std::string& path, const std::string& reason);
std::string CannotOpenMessage(const std::string& path);
std::string CannotSaveMessage(const std::string& path);
std::string MergeFailedMessage(const std::string& path);
std::string FileNotFoundMessage(const std::string& path);
// The debug-mode box of a failed open (title kFileOpenErrorTitle).
std::string FileOpenErrorText(const std::string& path, const std::exception& error);
// An error as the application's exception handler shows it: the message, a "." unless it ends
// in "." or "。", a line break and the class name in square brackets.
std::string ExceptionText(const std::exception& error);

// The file name without its directory.
std::string BaseFileName(const std::string& path);
// Whether a dropped file is opened as a document: its extension is ".hv" in any letter case.
bool IsDocumentFileName(const std::string& path);

// Empty when password can protect a document, else why not (more than kMaxPasswordLength
// characters, or a line break, which would end the file's header line).
std::string PasswordProblem(const std::string& password);
// The password dialog's OK: true when both entries are equal; otherwise shows
// kPasswordMismatchMessage (information) and the dialog stays open.
bool AcceptPasswordEntries(const std::string& first, const std::string& second, TUserPrompts& prompts);

// What the file-properties dialog shows.
struct TFileProperties {
    std::string FileName; // empty for a document never saved ("（新規）")
    bool Modified = false;
    bool HasPassword = false;
    int FolderCount = 0; // the root included
    int ItemCount = 0;   // in all folders
};

// What the document needs of the window that shows it. Every method has a harmless default, so
// tools and tests implement only what they use. The calls arrive on the thread that called the
// document.
class TDocumentView {
public:
    virtual ~TDocumentView();

    // The caption text changed; the window shows it as its title, the tray icon's hint and the
    // application title. During open and merge it is the progress text of the operation.
    virtual void CaptionChanged(const std::string& /*caption*/) {}
    // A long operation begins (true) or ends (false): the hourglass cursor.
    virtual void BusyChanged(bool /*busy*/) {}

    // New and open are about to replace the root: drop every reference into the old tree (the
    // find windows get the item-about-to-be-freed notices, the models begin their reset). The
    // old tree is freed after RootChanged.
    virtual void RootAboutToChange() {}
    // The new root is in place, and so are the file name, the password and ViewState(). The
    // window ends its reset, resets the folder history, selects
    // FolderAtPosition(Root(), ViewState().Selected), shows the folders expanded or collapsed
    // as their Expanded() flags say, gives the tree the focus, scrolls it to the top and brings
    // the selected folder into view.
    virtual void RootChanged() {}

    // A merge is about to add folders and items to the tree, and has done so (also after a
    // failed merge, with what was merged so far). Afterwards the window brings the selected
    // folder into view and shows its items again.
    virtual void TreeAboutToChange() {}
    virtual void TreeChanged() {}

    // The folder selected in the tree, for the view state; nullptr counts as the root.
    virtual const THVFolder* SelectedFolder() const { return nullptr; }
    // Save begins: put what is edited but not yet in the tree (the memo editor's text) into its
    // item.
    virtual void CommitEdits() {}
    // The save dialog "ファイルに名前を付けて保存" (extension "hv", asks before overwriting), for
    // saving a document that has no file name; nullopt when cancelled.
    virtual std::optional<std::string> AskSaveFileName() { return std::nullopt; }
};

// The open document: its folder tree, its file name, whether it is modified, its password, and
// the "File" menu's operations on it. The main window owns one for its whole life; hvtool uses
// one per command. Every message and question goes through the TUserPrompts given at
// construction, so all of it runs and is tested without a window.
//
// State
// - Root(): the root folder (caption "Hollyvine"). New and Open replace it (the TDocumentView
//   hears of it); Save, SaveAs and Merge keep it.
// - FileName(): the document file's path as given to Open, SetFileName or SaveAs (callers pass
//   FullFileName(chosen path)); empty for a document never saved.
// - Modified(): set by MarkModified, which every change of folders or items must call; cleared by
//   a successful save, SetFileName, New, Open and the save prompt's "保存しない(&N)".
// - Password(): empty when the document has none. A document with a password is written as
//   version 2 (scrambled), without as version 1.
// - Opening(): while set, caption refreshes are held back; clearing it refreshes the caption.
//
// Caption: "Hollyvine - NAME", with "(更新)" appended while modified; NAME is "(無題)" without
// a file name, else the file name without its directory, followed by "(新規)" while no file of
// that name exists. Every change of the state sends the caption to TDocumentView::CaptionChanged.
//
// Settings (optional): AutoSave (the save prompt saves a named document without asking),
// SortFolder (folders made by open and merge are put in name order), and the File table, which
// keeps the view state of each document. Without settings none of this happens: no view state
// is read or written, folders keep the order of the file, the save prompt always asks.
//
// The window calls the operations from its commands:
//   新規        if (doc.SavePrompt()) doc.New();
//   開く        name = open dialog; if (name) doc.OpenAfterPrompt(FullFileName(*name));
//   drop        the first file, if IsDocumentFileName: doc.OpenAfterPrompt(FullFileName(path))
//   recent      doc.OpenRecent(path)
//   上書き保存  doc.Save()
//   名前を付けて保存  name = save dialog; if (name) doc.SaveAs(FullFileName(*name))
//   マージ      name = open dialog; if (name) doc.Merge(FullFileName(*name))
//   プロパティ  Properties(), then SetPassword with the dialog's password on OK
//   closing     go on only if doc.SavePrompt()
// The recent-files list is loaded at start-up (RecentFiles().Load) and stored when the window
// is destroyed (RecentFiles().Store); open and save add to it.
// Whether a document frees its tree when it is destroyed (the default). A program that ends right
// after its work, like hvtool, turns this off: the system takes the memory back at once, where
// freeing a tree of many thousands of items one by one costs as much as a part of reading it.
void SetFreeDocumentTrees(bool free);
bool FreeDocumentTrees();
// Frees root, or keeps it to the end of the process when documents do not free their trees.
void DisposeDocumentTree(std::unique_ptr<THVFolder> root);
// The root folder of a new document: "Hollyvine", expanded.
std::unique_ptr<THVFolder> NewDocumentRoot();
// Readies the heap for the tree of a document file of fileSize bytes, read next.
void ReserveTreeMemory(std::size_t fileSize);

class THVDocument {
public:
    // prompts, settings and view must outlive the document; settings and view may be nullptr.
    explicit THVDocument(TUserPrompts& prompts, TSettings* settings = nullptr, TDocumentView* view = nullptr);
    THVDocument(const THVDocument&) = delete;
    THVDocument& operator=(const THVDocument&) = delete;
    ~THVDocument();

    THVFolder& Root() { return *m_Root; }
    const THVFolder& Root() const { return *m_Root; }
    const std::string& FileName() const { return m_FileName; }
    bool Modified() const { return m_Modified; }
    const std::string& Password() const { return m_Password; }
    bool Opening() const { return m_Opening; }
    void SetOpening(bool opening);

    // The format version and encoding of the file last read or written (1 and CP932 for a new
    // document). Saving chooses them afresh: the version by the password, the encoding by
    // whether every character has a CP932 form.
    int FileVersion() const { return m_FileVersion; }
    TDocEncoding FileEncoding() const { return m_FileEncoding; }

    // The view state restored by the last open: Selected is the position of the folder to
    // select (0 when the stored one does not exist), Collapsed the stored list. The folders'
    // Expanded() flags already carry it. New resets it.
    const TViewState& ViewState() const { return m_ViewState; }

    TRecentFiles& RecentFiles() { return m_RecentFiles; }
    const TRecentFiles& RecentFiles() const { return m_RecentFiles; }

    // Debug mode ("/d"): a failed open shows the "File Open Error" box with the exception, and a
    // failed save shows the exception after its message.
    bool DebugMode() const { return m_DebugMode; }
    void SetDebugMode(bool on) { m_DebugMode = on; }

    // The reason of the last failed open, save or merge as the system gave it (for hvtool,
    // which prints it below the message); empty after a success or a refused password.
    const std::string& LastErrorDetail() const { return m_LastErrorDetail; }

    std::string DisplayName() const;
    std::string Caption() const;
    // Sends Caption() to the view, unless Opening().
    void RefreshCaption();

    // Marks the document modified (and refreshes the caption).
    void MarkModified();

    // Before new, open and closing. A modified document is saved without asking when AutoSave is
    // on and it has a file name; otherwise (and also when that automatic save failed) the
    // question "ファイル "%s" は変更されています。..." is asked: "保存する(&S)" saves as Save does,
    // "保存しない(&N)" clears the modified mark, "キャンセル" does nothing. An unmodified document
    // with a file name gets its view state written. Returns true when the document is no longer
    // modified, i.e. when the caller may go on.
    bool SavePrompt();

    // An empty document: a root without folders or items, no file name, not modified, no
    // password, the root to be selected. Does not ask; call SavePrompt first.
    void New();

    // Opens the document at path (no save prompt). A protected document asks for its password
    // ("ファイル "%s" はパスワードで保護されています。..."); a wrong or cancelled entry shows
    // "正しいパスワードが入力されませんでした。" and leaves everything as it was. On success the
    // tree is the file's, the file name path, not modified, the password the file's, path is at
    // the top of the recent files and the view state is restored. Errors:
    // - not a document: the warning "ファイル "%s" は%s。"; the document stays as it was;
    // - any other error before the body is read (unreadable file): "ファイル "%s" を開けません
    //   でした。" (in debug mode the "File Open Error" box instead); the document stays as it was;
    // - an error while reading the body: the same message, and the tree keeps what was read,
    //   with no file name, no password and not modified.
    // Returns true on success. A preload that holds the tree of path read whole saves reading it
    // again.
    bool Open(const std::string& path, TDocumentPreload* preload = nullptr);
    // The save prompt, then Open when the document is no longer modified.
    bool OpenAfterPrompt(const std::string& path);
    // A recent-files entry: "ファイル "%s" が見つかりません。" when the file is gone, else
    // OpenAfterPrompt.
    bool OpenRecent(const std::string& path);

    // Names the document (not modified afterwards).
    void SetFileName(const std::string& path);

    // Saves under the file name; without one, asks the view for a name and saves as that. The
    // file is replaced safely (a temporary "%s.%.4d.%.4d.hv" created exclusively beside it,
    // written, flushed, renamed over it, its permissions kept, a symbolic link followed); then
    // the view state is written, the file goes to the top of the recent files and the mark is
    // cleared. On failure: the error "ファイル "%s" を保存できませんでした。" (in debug mode the
    // exception as well), the old file on disk untouched, the document as modified as before.
    // Returns true when saved.
    bool Save();
    // Saves under path and keeps it as the file name. When that fails, the document keeps its
    // previous file name and is marked modified.
    bool SaveAs(const std::string& path);

    // Adds the folders and items of the document at path (no save prompt; see MergeRecords for
    // the rules), after the password gate as in Open. Marks the document modified and shows
    // "マージが完了しました。". Errors: the warning "ファイル "%s" は%s。" for a file that is no
    // document, else "ファイル "%s" のマージに失敗しました。"; what was merged before the error
    // stays, and the document is marked modified when that was anything. Returns true on success.
    bool Merge(const std::string& path);

    // Writes the view state of a named document into the File table (no-op without settings or
    // file name).
    void WriteViewState();

    TFileProperties Properties() const;
    // The file-properties dialog's OK: when password differs from the document's (exactly), the
    // document takes it and is marked modified; an empty password removes the protection.
    // Returns whether it changed. Throws EHVError with PasswordProblem's text for a password
    // that cannot be stored.
    bool SetPassword(const std::string& password);

    // Hands the tree to the caller and starts a new document (for tools that only read).
    std::unique_ptr<THVFolder> DetachRoot();

    // For tests: the safe write's temporary-name hook and injected failures (FailAfterBytes).
    void SetWriteOptions(TSafeWriteOptions options) { m_WriteOptions = std::move(options); }

private:
    void SetModified(bool modified);
    void ShowCaption(const std::string& text);
    void SetBusy(bool busy);
    bool SortFolders() const;
    bool AutoSave() const;
    // Saves under m_FileName.
    bool SaveToFile();
    // The file's text after the password gate; nullopt when the gate refused (message shown).
    std::optional<TDocumentReader> LoadChecked(const std::string& path);
    // Puts root in place of the current tree, with the view told before and after, and sets the
    // state that goes with it (text: the file's header, nullptr for none). Returns the old tree.
    std::unique_ptr<THVFolder> InstallRoot(std::unique_ptr<THVFolder> root, const std::string& fileName,
                                           const TDocumentText* text);

    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    TDocumentView* m_View;
    std::unique_ptr<THVFolder> m_Root;
    std::string m_FileName;
    std::string m_Password;
    bool m_Modified = false;
    bool m_Opening = false;
    bool m_DebugMode = false;
    int m_FileVersion = 1;
    TDocEncoding m_FileEncoding = TDocEncoding::Cp932;
    TViewState m_ViewState;
    TRecentFiles m_RecentFiles;
    std::string m_LastErrorDetail;
    TSafeWriteOptions m_WriteOptions;
};

} // namespace hv
