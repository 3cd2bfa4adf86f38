#pragma once

#include "model/DateTime.h"

#include <string>
#include <string_view>
#include <vector>

namespace hv {

class THVFolder;
class TRegHash;

// How a document's folder tree was left on screen, kept per document in the File table (the
// value named with the document's full path). Folders are named by their pre-order position:
// the root is 0, then its first child and that child's descendants, then the next child, and
// so on.
//
// The stored text is a list of lines, each ending in CR LF:
//   yyyy/m/d          the day it was written (the end-of-program pruning reads it)
//   Selected=N        the selected folder; left out when the root is selected
//   Collapsed=A,B,... the collapsed folders that have sub-folders, ascending; empty when none
struct TViewState {
    // The position of the selected folder.
    int Selected = 0;
    // The positions of the collapsed folders, as stored; a number that could not be read is -1.
    std::vector<int> Collapsed;

    bool operator==(const TViewState&) const = default;
};

// The pre-order position of folder in root's tree; -1 when folder is not in it.
int FolderPosition(const THVFolder& root, const THVFolder* folder);
// The folder at a pre-order position; nullptr when the tree has no such position.
THVFolder* FolderAtPosition(THVFolder& root, int position);

// The state of a tree: the selected folder (nullptr counts as the root) and every folder that
// has sub-folders and is not expanded.
TViewState CaptureViewState(const THVFolder& root, const THVFolder* selected);

// The stored text of a state, dated with the day of today.
std::string FormatViewState(const TViewState& state, TDateTime today);
// Reads a stored text (lines may end in CR LF or LF, keys ignore letter case). Selected is 0
// when its line is missing or holds no number.
TViewState ParseViewState(std::string_view text);

// Restores a state on a freshly read tree. The folders are walked in pre-order with the
// Collapsed list read from left to right: the folder whose position equals the next number of
// the list loses its expanded flag and the number after it is taken. So the list works as
// written (ascending); a number out of order or unreadable stops the collapsing there, and
// positions the tree does not have are ignored. Returns the folder to select: the one at
// Selected, else the root.
THVFolder& ApplyViewState(THVFolder& root, const TViewState& state);

// The state stored for path; the File table is opened and closed around the read. An entry that
// does not exist yet is created empty (the end-of-program pruning removes it again).
TViewState ReadViewState(TRegHash& file, const std::string& path);
// Stores the state for path, dated with the day of now.
void WriteViewState(TRegHash& file, const std::string& path, const TViewState& state, TDateTime now);

} // namespace hv
