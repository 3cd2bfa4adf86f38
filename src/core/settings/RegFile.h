#pragma once

#include "Errors.h"
#include "settings/RegistryStore.h"

#include <string>
#include <string_view>

// The text form of the registry store: a REGEDIT4 file.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\K.Amsel\Hollyvine]
//   "RecentFiles"="/home/me/a.hv;/home/me/b.hv"
//   "SortType"=dword:00000002
//   "Data"=hex:01,02,ff
//   "Path"=hex(2):25,48,4f,4d,45,25,00
//
// Text is UTF-8. Inside quotes "\\" and "\"" stand for a backslash and a quote, and "\n", "\r"
// and "\0" for a line feed, a carriage return and a NUL, so every value stays on one line; any
// other backslash is taken as it stands (a hand-written "C:\temp" means what it says). Files that
// Windows' registry editor writes are read as well: CR LF line ends, ";" comments, "@" for the
// unnamed value, long "hex" lists continued with "\" at the line end, "[-KEY]" and "NAME=-"
// removals, and the "Windows Registry Editor Version 5.00" form in UTF-16 or UTF-8.

namespace hv {

// A registry file that cannot be read; Line is the 1-based line of the first fault.
class ERegFileError : public EHVError {
public:
    ERegFileError(int line, const std::string& reason);
    const char* ClassName() const noexcept override { return "ERegFileError"; }
    int Line() const { return m_Line; }
    const std::string& Reason() const { return m_Reason; }

private:
    int m_Line;
    std::string m_Reason;
};

// Reads the bytes of a registry file; an empty file is an empty registry.
// Throws ERegFileError for anything it cannot read, keeping nothing of it.
TRegistryTree ParseRegFile(std::string_view bytes);

// The bytes of a REGEDIT4 file holding the whole tree, sub-keys in alphabetical order and values
// in their order. Keys without values are written only
// where no key below them is, so that every existing key survives a round trip.
std::string FormatRegFile(const TRegistryTree& tree);

} // namespace hv
