#include "TerminalPrompts.h"

#include "text/TextUtil.h"

#include <istream>
#include <ostream>

namespace hv::cli {

namespace {

bool IsYes(const std::string& answer) {
    const std::string lower = AsciiLowerCase(answer);
    return lower == "y" || lower == "yes" || answer == "はい";
}

} // namespace

void TTerminalPrompts::WriteText(const std::string& text, const std::string& title) {
    if (title != kPromptTitle) {
        m_IO.Err << '[' << title << "]\n";
    }
    m_IO.Err << text << '\n';
}

std::optional<std::string> TTerminalPrompts::ReadAnswer(bool secret) {
    m_IO.Err << std::flush;
    std::string line;
    const bool read =
        secret && m_IO.ReadSecretLine ? m_IO.ReadSecretLine(line) : static_cast<bool>(std::getline(m_IO.In, line));
    if (!read) {
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

void TTerminalPrompts::ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) {
    if (kind != TMessageKind::Information || !m_ResultsToOut) {
        WriteText(text, title);
        return;
    }
    // The completion message is the command's result: standard output, as with the other commands.
    if (title != kPromptTitle) {
        m_IO.Out << '[' << title << "]\n";
    }
    m_IO.Out << text << '\n';
}

bool TTerminalPrompts::AskYesNo(const std::string& text, const std::string& title) {
    WriteText(text, title);
    if (m_AssumeYes) {
        m_IO.Err << "--yes: はい\n";
        return true;
    }
    if (!m_IO.InIsTerminal) {
        m_IO.Err << "いいえ (--yes を付けると「はい」と答えます)\n";
        return false;
    }
    m_IO.Err << "[y/N]: ";
    const std::optional<std::string> answer = ReadAnswer(false);
    return answer && IsYes(*answer);
}

TSaveAnswer TTerminalPrompts::AskSave(const std::string& text, const std::string& title) {
    WriteText(text, title);
    if (m_AssumeYes) {
        m_IO.Err << "--yes: 保存する\n";
        return TSaveAnswer::Save;
    }
    if (!m_IO.InIsTerminal) {
        m_IO.Err << "キャンセル (--yes を付けると「保存する」と答えます)\n";
        return TSaveAnswer::Cancel;
    }
    m_IO.Err << "[s: 保存する / n: 保存しない / C: キャンセル]: ";
    const std::optional<std::string> answer = ReadAnswer(false);
    const std::string lower = answer ? AsciiLowerCase(*answer) : std::string();
    if (lower == "s") {
        return TSaveAnswer::Save;
    }
    return lower == "n" ? TSaveAnswer::DontSave : TSaveAnswer::Cancel;
}

std::optional<std::string> TTerminalPrompts::AskPassword(const std::string& prompt, const std::string& title) {
    if (m_Password) {
        return m_Password;
    }
    if (!m_IO.InIsTerminal) {
        return std::nullopt;
    }
    WriteText(prompt, title);
    m_IO.Err << "パスワード: ";
    return ReadAnswer(true);
}

} // namespace hv::cli
