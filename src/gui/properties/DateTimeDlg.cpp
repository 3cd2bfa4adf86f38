#include "properties/DateTimeDlg.h"

#include "platform/UserPrompts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace hv {

namespace {
struct TFieldDef {
    const char* Caption;
    const char* ShortName;
    int Min;
    int Max;
};
} // namespace

TDateTimeDlg::TDateTimeDlg(TDateTimeDlgParams& params, TUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_Params(params), m_Prompts(prompts) {
    setWindowTitle(params.Caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    const TFieldDef defs[5] = {{"年(&Y)", "年", params.MinYear, params.MaxYear},
                               {"月(&M)", "月", 1, 12},
                               {"日(&D)", "日", 1, 31},
                               {"時(&H)", "時", 0, 23},
                               {"分(&N)", "分", 0, 59}};
    auto* layout = new QHBoxLayout(this);
    const TDateTimeParts parts = DecodeDateTime(params.Value);
    const int values[5] = {parts.Year, parts.Month, parts.Day, parts.Hour, parts.Minute};
    for (int i = 0; i < 5; ++i) {
        if (i == 3) {
            layout->addSpacing(12);
        }
        auto* field = new QSpinBox(this);
        field->setObjectName(QString::fromUtf8(defs[i].ShortName));
        field->setProperty("shortName", QString::fromUtf8(defs[i].ShortName));
        field->setRange(defs[i].Min, defs[i].Max);
        field->setWrapping(true);
        field->setValue(values[i]);
        auto* label = new QLabel(QString::fromUtf8(defs[i].Caption), this);
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field);
        m_Fields[i] = field;
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QString::fromUtf8("キャンセル(&C)"), QDialogButtonBox::RejectRole);
    layout->addSpacing(12);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TDateTimeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TDateTimeDlg::reject);
    move(params.Left, params.Top);
}

bool TDateTimeDlg::Execute() {
    const bool ok = exec() == QDialog::Accepted;
    if (ok) {
        m_Params.Value = Value();
    }
    m_Params.Left = x();
    m_Params.Top = y();
    return ok;
}

bool TDateTimeDlg::Validate() {
    const int year = m_Fields[0]->value();
    const int month = m_Fields[1]->value();
    for (int i = 0; i < 5; ++i) {
        QSpinBox* field = m_Fields[i];
        bool isNumber = false;
        const int value = field->cleanText().toInt(&isNumber);
        int max = field->maximum();
        if (i == 2) {
            max = DaysInMonth(year, month);
        }
        if (!isNumber || value < field->minimum() || value > max) {
            m_Prompts.Warning("[" + field->property("shortName").toString().toStdString() + "] の値が不正です。");
            field->setFocus();
            return false;
        }
    }
    return true;
}

TDateTime TDateTimeDlg::Value() const {
    return EncodeDateTime(m_Fields[0]->value(), m_Fields[1]->value(), m_Fields[2]->value(), m_Fields[3]->value(),
                          m_Fields[4]->value(), 0, 0);
}

void TDateTimeDlg::accept() {
    if (Validate()) {
        QDialog::accept();
    }
}

} // namespace hv
