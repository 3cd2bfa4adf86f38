#pragma once

#include "model/DateTime.h"

#include <QDialog>
#include <QString>

class QSpinBox;

namespace hv {

class TUserPrompts;

// The values the date-and-time dialog reads and writes back.
struct TDateTimeDlgParams {
    TDateTime Value = 0;
    int MaxYear = 2080;
    int MinYear = 1981;
    int Left = 200;
    int Top = 200;
    QString Caption;
};

// A small dialog for one date and time (to the minute).
class TDateTimeDlg : public QDialog {
    Q_OBJECT
public:
    TDateTimeDlg(TDateTimeDlgParams& params, TUserPrompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog modally; on OK params.Value takes the entered moment. The position is
    // written back into params whatever the outcome.
    bool Execute();
    // The check of OK: false, after the warning naming the faulty field, keeps the dialog open.
    bool Validate();
    // The entered moment (valid after Validate).
    TDateTime Value() const;

    QSpinBox* Field(int index) const { return m_Fields[index]; }
    void accept() override;

private:
    TDateTimeDlgParams& m_Params;
    TUserPrompts& m_Prompts;
    QSpinBox* m_Fields[5];
};

} // namespace hv
