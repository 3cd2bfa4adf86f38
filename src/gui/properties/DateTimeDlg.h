#pragma once

#include "model/DateTime.h"

#include <QAbstractSpinBox>
#include <QDialog>
#include <QString>

#include <optional>

class QKeyEvent;
class QMenu;

namespace hv {

class TUserPrompts;

// The character a key press types into an edit field: Backspace is 8 and Ctrl+letter its control
// character (Ctrl+Z = 26). Keys that type nothing (arrows, Delete, function keys) and the dialog
// keys Tab, Enter and Esc give 0.
char16_t TypedChar(const QKeyEvent& event);

// A number field of the date-and-time dialog with an up-down control that wraps at the ends.
// It takes only digits, Backspace and Ctrl+Z (undo) from the keyboard, no cut or paste, and
// checks nothing while typing: the dialog checks the text on OK.
class TDTDEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    TDTDEdit(const QString& shortName, int minimum, int maximum, int digits, QWidget* parent = nullptr);

    // The field's short name in the warning, such as "年".
    const QString& ShortName() const { return m_ShortName; }
    int Minimum() const { return m_Minimum; }
    int Maximum() const { return m_Maximum; }
    void SetMaximum(int maximum) { m_Maximum = maximum; }
    void SetValue(int value);
    QString Text() const;
    void SetText(const QString& text);
    // The number in the field; none when the text is not a decimal integer.
    std::optional<int> Number() const;
    // The field's own context menu ("すべて選択(&A)"), owned by the caller.
    QMenu* CreateContextMenu();

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_ShortName;
    int m_Minimum;
    int m_Maximum;
    int m_Digits;
};

// The values the date-and-time dialog reads and writes back.
struct TDateTimeDlgParams {
    TDateTime Value = 0;
    int MaxYear = 2080;
    int MinYear = 1981;
    int Left = 200;
    int Top = 200;
    QString Caption;
};

// A small dialog for one date and time (to the minute): year, month, day, hour and minute.
class TDateTimeDlg : public QDialog {
    Q_OBJECT
public:
    enum { FieldYear, FieldMonth, FieldDay, FieldHour, FieldMinute, FieldCount };

    TDateTimeDlg(TDateTimeDlgParams& params, TUserPrompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog modally; on OK params.Value takes the entered moment. The position is
    // written back into params whatever the outcome.
    bool Execute();
    // The check of OK, field by field: false, after the warning naming the faulty field, keeps
    // the dialog open with that field focused. The day's bound is the chosen month's length.
    bool Validate();
    // The entered moment, seconds 0 (valid after Validate).
    TDateTime Value() const;

    TDTDEdit* Field(int index) const { return m_Fields[index]; }
    void accept() override;

private:
    TDateTimeDlgParams& m_Params;
    TUserPrompts& m_Prompts;
    TDTDEdit* m_Fields[FieldCount];
};

} // namespace hv
