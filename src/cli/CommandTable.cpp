#include "Command.h"
#include "HVVersion.h"
#include "SettingsCommand.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace hv::cli {

// The browser stores' commands (BrowsersCommand.cpp, ImportBrowserCommand.cpp).
int RunBrowsers(TCommandArgs args, TCommandIO& io);
int RunImportBrowser(TCommandArgs args, TCommandIO& io);

namespace {

constexpr std::string_view kProgram = "hvtool";

// To add a command: write its Run function and add a row here; usage and help follow.
constexpr std::array kCommands = {
    TCommandInfo{"dump", "DOC.hv [--password PW] [--compact]", "ドキュメント全体を JSON で標準出力に書き出します。",
                 "  フォルダはファイルの順のまま (並べ替えなし) です。JSON の形:\n"
                 "    {\"version\":1|2, \"password\":\"...\", \"encoding\":\"CP932\"|\"UTF-8\", \"root\":FOLDER}\n"
                 "    FOLDER = {\"name\", \"expanded\", \"items\":[ITEM...], \"folders\":[FOLDER...]}\n"
                 "    ITEM = {\"name\", \"url\", \"memo\", \"lastVisited\":\"yyyy/m/d h:nn\"|null, \"schedule\",\n"
                 "            \"iconFile\", \"iconIndex\", \"commands\":[{\"title\", \"commandLine\", "
                 "\"updateLastVisited\"}]}\n"
                 "  --compact      インデントも改行もない 1 行の JSON にします (深い階層のドキュメント向け)。\n"
                 "  --password PW  保護されたドキュメントのパスワード。",
                 RunDump},
    TCommandInfo{"write", "IN.json OUT.hv [--password PW]",
                 "dump の形の JSON からドキュメントを書きます (IN.json が - なら標準入力)。",
                 "  \"version\"、\"encoding\"、\"expanded\" は省略できます。バージョンはパスワードで決まり\n"
                 "  (空なら 1、あれば 2)、\"encoding\":\"UTF-8\" は UTF-8 を強制し、それ以外は CP932 で\n"
                 "  書けるときは CP932 で書きます。同じ名前のフォルダはまとめられ、同じ名前のアイテムには\n"
                 "  \"~1\" などが付きます。\n"
                 "  --password PW  JSON の \"password\" より優先します (16 文字まで)。",
                 RunWrite},
    TCommandInfo{"ls", "DOC.hv [--password PW]", "フォルダとアイテムのツリーを表示します。",
                 "  1 行目はルートの \"Hollyvine\"。フォルダは 1 階層ごとに空白 2 つ下げてその名前を、\n"
                 "  アイテムはそのフォルダより 1 段下げて \"名前  <URL>\" の形で表示します。各フォルダの\n"
                 "  アイテムが先に (ファイルの順に)、その後にサブフォルダが並びます。サブフォルダは設定の\n"
                 "  SortFolder が true (既定) なら名前の順、false ならファイルの順です。\n"
                 "  例:\n"
                 "    Hollyvine\n"
                 "      Yahoo!  <http://www.yahoo.co.jp/>\n"
                 "      ニュース\n"
                 "        NHK  <http://www.nhk.or.jp/>",
                 RunLs},
    TCommandInfo{"find",
                 "DOC.hv TEXT [--field name|url|memo] [--type contains|not-contains|equals|begins|ends] [--case] "
                 "[--folder PATH [--no-subfolders]] [--password PW]",
                 "TEXT を名前・URL・メモから検索し、見つかったアイテムを \"PATH<TAB>名前<TAB>URL\" の形で表示します。",
                 "  PATH はルートの \"Hollyvine\" から \"\\\" で区切ったフォルダのパスです。\n"
                 "  --field         調べる項目 (既定 name)。\n"
                 "  --type          検索の方法: 含む、含まない、である、で始まる、で終わる (既定 contains)。\n"
                 "                  項目が空のアイテムはどの方法でも見つかりません。\n"
                 "  --case          大文字・小文字を区別します。\n"
                 "  --folder PATH   そのフォルダとサブフォルダだけを調べます (既定はすべてのフォルダ)。\n"
                 "  --no-subfolders --folder のフォルダだけを調べます。\n"
                 "  フォルダは上から順に、サブフォルダはそのフォルダのアイテムの後に調べます。",
                 RunFind},
    TCommandInfo{
        "dups", "DOC.hv [--no-commands] [--folder PATH [--no-subfolders]] [--password PW]",
        "同じ URL を指しているアイテム・コマンドを表示します。",
        "  重複ごとに 1 ブロック、各行は \"名前<TAB>PATH<TAB>コマンド名<TAB>URL\" で、ブロックの間は空行です。\n"
        "  URL は大文字・小文字を区別せずに比べ、グループの最初の書き方で表示します。\n"
        "  --no-commands   コマンドのコマンドラインを調べません。\n"
        "  --folder PATH   そのフォルダとサブフォルダだけを調べます (既定はすべてのフォルダ)。\n"
        "  --no-subfolders --folder のフォルダだけを調べます。",
        RunDups},
    TCommandInfo{
        "links", "FILE.html...",
        "HTML ファイルのリンクを \"チェック<TAB>タイトル<TAB>URL<TAB>インポート元\" の形で表示します。",
        "  チェックは 1 (http, https, ftp, gopher のリンク) か 0 です。ファイルの順、ファイルの中では\n"
        "  リンクの順に並びます。読めないファイルがあるとそこまでのリンクを表示して終了します (終了コード 1)。",
        RunLinks},
    TCommandInfo{"import-links", "DOC.hv FILE.html... [--folder PATH] [--all] [--password PW]",
                 "HTML ファイルのリンクをアイテムとしてフォルダに追加します。",
                 "  チェックの付くリンク (links で 1 のもの) を順に追加し、同じ名前には \"~1\" などが付きます。\n"
                 "  DOC.hv がなければ新しく作ります。\n"
                 "  --folder PATH   追加先のフォルダ (既定はルート)。\n"
                 "  --all           チェックのないリンクも追加します。",
                 RunImportLinks},
    TCommandInfo{"import-bookmarks", "DOC.hv BOOKMARKS.html [--folder PATH] [--password PW]",
                 "Netscape 形式のブックマークファイルをフォルダに取り込みます。",
                 "  ブックマークのフォルダはサブフォルダに、リンクはアイテムになります。取り込み先はサブフォルダの\n"
                 "  ないフォルダに限ります。DOC.hv がなければ新しく作ります。\n"
                 "  --folder PATH   取り込み先のフォルダ (既定はルート)。",
                 RunImportBookmarks},
    TCommandInfo{"browsers", "",
                 "ブラウザのブックマークを \"ブラウザ<TAB>プロファイル<TAB>数<TAB>パス\" の形で表示します。",
                 "  Firefox (places.sqlite) と Chromium、Google Chrome、Brave、Vivaldi、Microsoft Edge (Bookmarks)\n"
                 "  のプロファイルごとに 1 行。ブラウザは firefox、chromium、chrome、brave、vivaldi、edge で、数は\n"
                 "  ブックマークの数です。読めないものは標準エラーに出し、終了コード 1。",
                 RunBrowsers},
    TCommandInfo{"import-browser", "DOC.hv (BROWSER[:PROFILE] | PATH) [--folder PATH] [--password PW]",
                 "ブラウザのブックマークをフォルダに取り込みます (ブラウザの実行中でもかまいません)。",
                 "  BROWSER は browsers の表示する名前で、PROFILE がなければそのブラウザの既定のプロファイル\n"
                 "  (Firefox は profiles.ini の既定、Chromium 系は最後に使ったもの) です。PATH は places.sqlite、\n"
                 "  Bookmarks またはそれを含むプロファイルのディレクトリ。ブックマークのフォルダはサブフォルダに、\n"
                 "  ブックマークはアイテムになります。取り込み先はサブフォルダのないフォルダに限ります。\n"
                 "  DOC.hv がなければ新しく作ります。\n"
                 "  --folder PATH   取り込み先のフォルダ (既定はルート)。",
                 RunImportBrowser},
    TCommandInfo{"export-bookmarks", "DOC.hv OUT.html [--folder PATH] [--subfolders-first] [--title T] [--password PW]",
                 "フォルダを Netscape 形式のブックマークファイル (UTF-8) に書き出します。",
                 "  OUT.html があれば確認せずに置き換えます。\n"
                 "  --folder PATH      書き出すフォルダ (既定はルートから全体)。\n"
                 "  --subfolders-first 各フォルダでサブフォルダをアイテムより前に書きます (既定は設定の ItemsFirst)。\n"
                 "  --title T          ページのタイトル (既定 \"Hollyvine\")。",
                 RunExportBookmarks},
    TCommandInfo{"import-favorites", "DOC.hv [DIR] [--folder PATH] [--yes] [--password PW]",
                 "[お気に入り] のフォルダ (既定は設定のお気に入りフォルダ) をフォルダに取り込みます。",
                 "  ディレクトリはサブフォルダに、.url ファイルはアイテムになります。取り込み先はサブフォルダの\n"
                 "  ないフォルダに限ります。確認には --yes で「はい」と答えます。",
                 RunImportFavorites},
    TCommandInfo{"import-shortcuts", "DOC.hv FILE.url... [--folder PATH] [--password PW]",
                 "インターネット ショートカットをアイテムとして取り込みます。", "", RunImportShortcuts},
    TCommandInfo{"export-favorites", "DOC.hv [DIR] [--folder PATH] [--clear] [--yes] [--password PW]",
                 "フォルダを .url ファイルのディレクトリツリー (既定はお気に入りフォルダ) に書き出します。",
                 "  既存のファイルは上書きせず \"名前(2).url\" などにします。--clear は先に .url ファイルと空の\n"
                 "  サブディレクトリを削除します (確認には --yes)。書けなかったものは標準エラーに出し、終了コード 1。",
                 RunExportFavorites},
    TCommandInfo{"export-html",
                 "DOC.hv OUT.html [--folder PATH] [--kanji sjis|jis|euc|utf8] [--eol crlf|lf|cr] "
                 "[--heading h1|h2|h3|b] [--bold-items] [--show-cmd] [--title T] [--password PW]",
                 "フォルダを HTML ページに書き出します。",
                 "  省略した選択は設定 (ExportHtml) に従います。--show-cmd はアイテムのコマンドも書きます。",
                 RunExportHtml},
    TCommandInfo{"browser-url", "",
                 "ブラウザが表示しているページを表示します (IExplore/Netscape<TAB>URL<TAB>タイトル)。", "",
                 RunBrowserUrl},
    TCommandInfo{"capture", "DOC.hv [--folder PATH] [--password PW]",
                 "ブラウザが表示しているページをアイテムとして追加します。",
                 "  どちらのブラウザも答えるときは設定 ImpBrowserNNFirst で選びます。", RunCapture},
    TCommandInfo{"settings", "[set TABLE KEY VALUE [--escaped]]",
                 "設定の表を表示します (set でひとつの値を書き換えて保存します)。",
                 "  1 行にひとつ、\"表<TAB>キー<TAB>種類<TAB>値\" の形で表示します。表は main、ExportBm、\n"
                 "  ExportHtml、Find、ToolBar、Window、種類は string、integer、boolean、binary です。値は既定値に\n"
                 "  保存された値を重ねたもので、文字列の TAB、CR、LF、\\ は \\t、\\r、\\n、\\\\ と、binary は\n"
                 "  16 進数のバイト列で表示します。設定は $HOLLYVINE_CONFIG_DIR (既定は $XDG_CONFIG_HOME/hollyvine、\n"
                 "  ~/.config/hollyvine) の registry.reg にあり、まだない値には既定値が書き込まれます。\n"
                 "  set は KEY の今の種類で VALUE を書きます: boolean は true、false、1、0、binary は\n"
                 "  \"01 02 ff\" のような 16 進数、string はそのまま。\n"
                 "  --escaped  string の VALUE の \\t、\\r、\\n、\\\\ を TAB、CR、LF、\\ として読みます。",
                 RunSettings},
    TCommandInfo{"due", "DOC.hv [--at \"yyyy/m/d h:nn\"] [--password PW]",
                 "訪問予定で今 (--at の日時に) 訪問すべきアイテムを \"PATH<TAB>名前<TAB>URL\" の形で表示します。",
                 "  PATH はフォルダ名をルートの \"Hollyvine\" から \\ でつないだもの、並びはウィンドウの\n"
                 "  フォルダの順 (設定の SortFolder に従う) です。\n"
                 "  --at  この日時で判定します (既定は今。環境変数 HOLLYVINE_NOW でも固定できます)。",
                 RunDue},
    TCommandInfo{"open", "DOC.hv PATH NAME [--yes] [--password PW]",
                 "アイテムをウィンドウと同じように開き、アクセス日時を記録してドキュメントを保存します。",
                 "  アクセス制限、ダイアルアップの確認は設定のとおりです。開けなかったとき、PATH のフォルダに\n"
                 "  NAME のアイテムがないときは 1 で終わります。\n"
                 "  --yes  アクセス制限の確認に「はい」と答えます (端末でなければ既定は「いいえ」)。",
                 RunOpen},
    TCommandInfo{"merge", "DOC.hv OTHER.hv [--password PW] [--other-password PW]",
                 "OTHER.hv のフォルダとアイテムを DOC.hv にマージして保存します。",
                 "  フォルダは名前 (大文字・小文字を区別しない) で対応させ、ないものは作ります。同じフォルダにある、\n"
                 "  名前と URL (URL は大文字・小文字も区別) が同じアイテムは同じものとみなし、最終アクセス日時が\n"
                 "  新しいときだけそれを取り込みます。ほかは新しいアイテムとして追加し、同じ名前には \"~1\" などが\n"
                 "  付きます。失敗したときは DOC.hv を書き換えません。\n"
                 "  --password PW        DOC.hv のパスワード。\n"
                 "  --other-password PW  OTHER.hv のパスワード。",
                 RunMerge},
    TCommandInfo{"passwd", "DOC.hv [--password OLD] [--new-password NEW]",
                 "ドキュメントのパスワードを設定または削除して保存します。",
                 "  パスワードがあればバージョン 2、なければバージョン 1 で保存します。何も表示しません。\n"
                 "  --password OLD      今のパスワード。\n"
                 "  --new-password NEW  新しいパスワード (16 文字まで)。空にするとパスワードを削除します。\n"
                 "                      ないときは端末で 2 回たずねます (標準入力が端末でなければ失敗します)。",
                 RunPasswd},
    TCommandInfo{"info", "DOC.hv [--password PW]", "ドキュメントの情報を \"キー<TAB>値\" の形で表示します。",
                 "  file (フルパス)、version (1 か 2)、encoding (CP932 か UTF-8)、password (true か false)、\n"
                 "  folders (ルートを含むフォルダの数)、items (全フォルダのアイテムの数) を 1 行ずつ表示します。\n"
                 "  --password PW  保護されたドキュメントのパスワード。",
                 RunInfo},
    TCommandInfo{"help", "[COMMAND]", "使い方を表示します (COMMAND を指定するとその詳細)。", "", RunHelp},
};

// How to hand over a password without showing it to the other users of the machine.
constexpr std::string_view kPasswordNote =
    "  パスワード: --password PW の代わりに --password-file FILE (FILE の 1 行目) か環境変数\n"
    "  HOLLYVINE_PASSWORD でも渡せます。--password PW は ps などでほかのユーザーにも見えるので、\n"
    "  ほかの人から読めないファイル (--password-file) か環境変数を使うのが安全です。優先順位は\n"
    "  --password、--password-file、HOLLYVINE_PASSWORD の順です。--other-password、\n"
    "  --new-password にも --other-password-file、--new-password-file があります。\n";

void PrintUsage(std::ostream& out) {
    out << "使い方: " << kProgram << " <コマンド> [引数...]\n\nコマンド:\n";
    for (const TCommandInfo& command : kCommands) {
        out << "  " << command.Name << ' ' << command.Synopsis << "\n      " << command.Summary << '\n';
    }
    out << '\n' << kPasswordNote;
    out << "\n" << kProgram << " help <コマンド> でコマンドごとの詳細を表示します。\n";
    out << kProgram << " --version でバージョンを表示します。\n";
}

void PrintShortUsage(std::ostream& out) {
    out << "使い方: " << kProgram << " <コマンド> [引数...]\nコマンド:";
    for (const TCommandInfo& command : kCommands) {
        out << ' ' << command.Name;
    }
    out << "\n詳しくは " << kProgram << " --help を見てください。\n";
}

} // namespace

std::span<const TCommandInfo> CommandTable() {
    return kCommands;
}

const TCommandInfo* FindCommand(std::string_view name) {
    auto it = std::find_if(kCommands.begin(), kCommands.end(),
                           [name](const TCommandInfo& command) { return command.Name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

void PrintCommandHelp(std::ostream& out, const TCommandInfo& command) {
    out << "使い方: " << kProgram << ' ' << command.Name << ' ' << command.Synopsis << "\n  " << command.Summary
        << '\n';
    if (!command.Details.empty()) {
        out << command.Details << '\n';
    }
    if (command.Synopsis.find("--password") != std::string_view::npos) {
        out << kPasswordNote;
    }
}

int UsageError(TCommandIO& io, std::string_view command, std::string_view message) {
    io.Err << message << '\n';
    if (const TCommandInfo* info = FindCommand(command)) {
        io.Err << "使い方: " << kProgram << ' ' << info->Name << ' ' << info->Synopsis << '\n';
    } else {
        PrintShortUsage(io.Err);
    }
    return kExitUsage;
}

int RunHelp(TCommandArgs args, TCommandIO& io) {
    if (args.empty()) {
        PrintUsage(io.Out);
        return kExitOk;
    }
    if (args.size() > 1) {
        return UsageError(io, "help", "引数が多すぎます。");
    }
    const TCommandInfo* command = FindCommand(args[0]);
    if (command == nullptr) {
        return UsageError(io, {}, "不明なコマンドです: " + args[0]);
    }
    PrintCommandHelp(io.Out, *command);
    return kExitOk;
}

int RunHvtool(const std::vector<std::string>& args, TCommandIO& io) {
    if (args.empty()) {
        return UsageError(io, {}, "コマンドを指定してください。");
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h") {
        PrintUsage(io.Out);
        return kExitOk;
    }
    if (name == "--version") {
        io.Out << kProgram << ' ' << kProgramVersion << '\n';
        return kExitOk;
    }
    const TCommandInfo* command = FindCommand(name);
    if (command == nullptr) {
        return UsageError(io, {}, "不明なコマンドです: " + name);
    }
    return command->Run(TCommandArgs(args).subspan(1), io);
}

} // namespace hv::cli
