#include "app/CommandLine.h"

#include "HVVersion.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace hv {

namespace {

QString HelpText(const QString& program) {
    return QStringLiteral("使い方: %1 [オプション] [ドキュメント.hv] [/d]\n"
                          "        %1 /u\n"
                          "\n"
                          "Hollyvine - ブックマーク マネージャ\n"
                          "\n"
                          "オプション:\n"
                          "  -h, --help     このヘルプを表示します。\n"
                          "  -v, --version  バージョンを表示します。\n"
                          "\n"
                          "引数:\n"
                          "  ドキュメント.hv  開くドキュメント。省略すると前回のドキュメントを開きます (設定による)。\n"
                          "  /d             デバッグ モード: ドキュメントを開けないときに例外の詳細を表示します。\n"
                          "  /u             確認のうえ、このユーザーの設定を削除して終了します。\n"
                          "\n"
                          "ドキュメントはコマンドライン ツール hvtool でも扱えます (hvtool --help)。\n")
        .arg(program);
}

QString VersionText() {
    return QStringLiteral("Hollyvine %1\n")
        .arg(QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size())));
}

} // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("document"), QString());

    TCommandLine result;
    const QString program = QStringLiteral("hollyvine");
    if (!parser.parse(arguments)) {
        result.Action = TCommandLine::TAction::Error;
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty()) {
            result.Text = QStringLiteral("引数が正しくありません: %1\n").arg(parser.errorText());
        } else {
            const QString& name = unknown.constFirst();
            result.Text = QStringLiteral("不明なオプションです: %1%2\n")
                              .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
        }
        result.Text += QStringLiteral("使い方は %1 --help で表示します。\n").arg(program);
        return result;
    }
    if (parser.isSet(help)) {
        result.Action = TCommandLine::TAction::Help;
        result.Text = HelpText(program);
    } else if (parser.isSet(version)) {
        result.Action = TCommandLine::TAction::Version;
        result.Text = VersionText();
    } else {
        result.Options = ParseStartArguments(parser.positionalArguments());
    }
    return result;
}

int CommandLineExitCode(const TCommandLine& commandLine) {
    return commandLine.Action == TCommandLine::TAction::Error ? 2 : 0;
}

} // namespace hv
