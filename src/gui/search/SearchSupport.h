#pragma once

#include "settings/RestorePos.h"

#include <string_view>

class QTreeView;
class QWidget;

namespace hv {

class TSettings;

// The result list of a search window: report style, several rows selectable, the header
// clickable, hot tracking as ListHotTrack says, and the columns 120 pixels wide or, with
// AutoResizeColumns, fitted to their headers (the last one filling the rest).
void SetUpResultList(QTreeView* list, TSettings* settings);
bool SingleClickOpens(TSettings* settings);
// The result list's hot tracking as the item list has it: ListHotTrack, and the underline and
// the hand cursor of ListHotTrackStyle. Runs again when the settings change.
void ApplyResultHotTrack(QTreeView* list, TSettings* settings);

// A search window's stored place (valueName of the Window key), and storing it on close.
void RestorePlacement(QWidget* window, TSettings* settings, std::string_view valueName, TRestorePosOptions options);
void StorePlacement(const QWidget* window, TSettings* settings, std::string_view valueName, TRestorePosOptions options);

} // namespace hv
