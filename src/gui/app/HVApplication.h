#pragma once

#include <QApplication>

namespace hv {

class TUserPrompts;

// The application object: an exception that reaches the event loop is shown in an error box
// ("message." + line break + "[EClassName]") and the program goes on.
class THVApplication : public QApplication {
    Q_OBJECT

public:
    THVApplication(int& argc, char** argv);

    void SetPrompts(TUserPrompts* prompts) { m_Prompts = prompts; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TUserPrompts* m_Prompts = nullptr;
};

} // namespace hv
