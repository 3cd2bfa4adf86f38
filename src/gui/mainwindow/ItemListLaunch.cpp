#include "document/HVDocument.h"
#include "launch/LaunchSettings.h"
#include "launch/OpenURL.h"
#include "mainwindow/ItemListController.h"
#include "model/HVItems.h"
#include "model/TreeEdits.h"
#include "platform/Clock.h"
#include "platform/LinuxShellLauncher.h"
#include "platform/NmcliConnections.h"
#include "properties/ItemPropDlg.h"
#include "properties/PropDlgServices.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <QAction>

#include <string>

// Opening items and running their commands, with the access time they record; the properties
// dialog and the services it launches with.

namespace hv {

bool TItemListController::OpenCurrentItem() {
    UpdateActions();
    if (!actOpenItem->isEnabled() || m_Current == nullptr) {
        return false;
    }
    THVItem* item = m_Current;
    const TLaunchOptions options = m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
    const TLaunchServices services{m_Prompts, *m_Shell, *m_Network, Clock()};
    // A copy: the questions on the way let events run, which may delete the item.
    const std::string url = item->GetURL();
    if (!OpenURL(url, options, services)) {
        return false;
    }
    // The prompts may have let events run; the item must still be the one shown.
    if (m_Current == item) {
        RecordAccess(*item);
    }
    return true;
}

void TItemListController::RecordAccess(THVItem& item) {
    hv::RecordAccess(item, Clock(), [this](THVItem& visited) {
        m_Edits.ItemChanged(visited);
        m_Document.MarkModified();
    });
}

bool TItemListController::RunCommand(const TCmdItem& command) {
    THVItem* item = m_Current;
    const TLaunchOptions options = m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
    // Copies: command belongs to the item, which the questions on the way may let be deleted.
    const std::string commandLine = command.CommandLine;
    const bool updateLastVisited = command.UpdateLastVisited;
    if (!OpenURL(commandLine, options, TLaunchServices{m_Prompts, *m_Shell, *m_Network, Clock()})) {
        return false;
    }
    if (updateLastVisited && item != nullptr && m_Current == item) {
        RecordAccess(*item);
    }
    return true;
}

bool TItemListController::Launch(const std::string& text) {
    const TLaunchOptions options = m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
    return OpenURL(text, options, TLaunchServices{m_Prompts, *m_Shell, *m_Network, Clock()});
}

TItemPropDlg& TItemListController::ItemDialog() {
    if (m_PropDlg == nullptr) {
        TSettings* settings = m_Settings;
        if (settings == nullptr) {
            m_OwnStore = std::make_unique<TMemoryRegistryStore>();
            m_OwnSettings = std::make_unique<TSettings>(*m_OwnStore);
            settings = m_OwnSettings.get();
        }
        m_PropServices = std::make_unique<TPropDlgServices>(TPropDlgServices{
            *settings, m_Prompts, [this](const std::string& commandLine) {
                const TLaunchOptions options =
                    m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
                OpenURL(commandLine, options, TLaunchServices{m_Prompts, *m_Shell, *m_Network, Clock()});
            }});
        m_PropDlg = new TItemPropDlg(*m_PropServices, m_Window);
    }
    return *m_PropDlg;
}

} // namespace hv
