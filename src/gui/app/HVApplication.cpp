#include "app/HVApplication.h"

#include "document/HVDocument.h"
#include "platform/UserPrompts.h"

#include <exception>

namespace hv {

THVApplication::THVApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool THVApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (m_Prompts != nullptr) {
            m_Prompts->Error(ExceptionText(error));
        }
    }
    return false;
}

} // namespace hv
