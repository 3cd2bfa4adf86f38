#pragma once

#include <string_view>

namespace hv {

class THVFolder;

// The effect of a drag over a drop target or of a drop.
enum class TDropEffect { None, Move, Copy, CopyOrMove, Link };

// Where the dragged data comes from.
enum class TDragOrigin {
    // The selected folder, dragged from this window's tree.
    FolderFromThisTree,
    // The selected items, dragged from this window's list.
    ItemsFromThisList,
    Elsewhere
};

// The best format the dragged data offers.
enum class TDropFormat { None, Own, Link, Files };

// The effect the modifier keys choose: Ctrl copies, Ctrl with Shift links, anything else moves.
TDropEffect KeyEffect(bool ctrl, bool shift);

// The effect of dropping on target (the folder under the mouse in the tree, or the selected
// folder over the list or where the tree has no row) while selected is the selected folder:
// - a folder from this tree: none into its own parent, copy into itself or below itself, else
//   the keys' choice;
// - items from this list: none into the folder they are in, else the keys' choice;
// - anything else: copy for the own format (the keys' choice with Shift held), link for links
//   and files, none for nothing usable.
TDropEffect DropEffect(TDragOrigin origin, const THVFolder* target, const THVFolder* selected, TDropFormat format,
                       bool ctrl, bool shift);

// Whether a window of this class (X11 WM_CLASS, instance and class) belongs to a web browser:
// Firefox, Chromium, Chrome, Brave, Vivaldi, Opera or Epiphany, letter case ignored.
bool IsBrowserWindowClass(std::string_view windowClass);

} // namespace hv
