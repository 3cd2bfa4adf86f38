#include "properties/DateTimeDlg.h"

#include "platform/UserPrompts.h"
#include "properties/PropDlgServices.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <memory>

namespace hv {

namespace {

constexpr int kMinClientHeight = 60;

} // namespace

char16_t TypedChar(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Backspace) {
        return 8;
    }
    if ((event.modifiers() & Qt::ControlModifier) != 0 && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return 0;
    }
    const char16_t c = text.front().unicode();
    return c < 32 || c == 127 ? 0 : c;
}

TDTDEdit::TDTDEdit(const QString& shortName, int minimum, int maximum, int digits, QWidget* parent)
    : QAbstractSpinBox(parent), m_ShortName(shortName), m_Minimum(minimum), m_Maximum(maximum), m_Digits(digits) {
    setObjectName(shortName);
    setWrapping(true);
    setAccelerated(false);
    QLineEdit* edit = lineEdit();
    edit->setMaxLength(digits);
    edit->setAcceptDrops(false);
    // Text typed through an input method would pass by the key filter.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->installEventFilter(this);
}

void TDTDEdit::SetValue(int value) {
    SetText(QString::number(value));
}

QString TDTDEdit::Text() const {
    return lineEdit()->text();
}

void TDTDEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

std::optional<int> TDTDEdit::Number() const {
    const QString text = Text();
    if (text.isEmpty() || text.front() == QLatin1Char('$')) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void TDTDEdit::stepBy(int steps) {
    // The up-down starts from the field's number (kept inside the range) and wraps to the
    // other end when it passes one.
    int value = std::clamp(Number().value_or(m_Minimum), m_Minimum, std::max(m_Minimum, m_Maximum));
    value += steps;
    if (value > m_Maximum) {
        value = m_Minimum;
    } else if (value < m_Minimum) {
        value = m_Maximum;
    }
    SetValue(value);
    selectAll();
}

QAbstractSpinBox::StepEnabled TDTDEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

QSize TDTDEdit::sizeHint() const {
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize text(metrics.horizontalAdvance(QString(m_Digits + 1, QLatin1Char('0'))) + 4,
                     lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

void TDTDEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) {
        event->accept();
        return;
    }
    const char16_t c = TypedChar(*event);
    const bool allowed = c == 0 || (c >= u'0' && c <= u'9') || c == 8 || c == 26;
    if (!allowed) {
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

QMenu* TDTDEdit::CreateContextMenu() {
    auto* menu = new QMenu(this);
    QAction* all = menu->addAction(QString::fromUtf8("すべて選択(&A)"));
    connect(all, &QAction::triggered, this, &TDTDEdit::selectAll);
    return menu;
}

void TDTDEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(CreateContextMenu());
    menu->exec(event->globalPos());
    event->accept();
}

bool TDTDEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
            // The middle button would paste the selection.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
                return true;
            }
            break;
        case QEvent::ContextMenu:
            contextMenuEvent(static_cast<QContextMenuEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

TDateTimeDlg::TDateTimeDlg(TDateTimeDlgParams& params, TUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_Params(params), m_Prompts(prompts) {
    setWindowTitle(params.Caption);
    MakeFixedSizeDialog(*this);
    const QString uiGothic = QStringLiteral("MS UI Gothic");
    if (QFontDatabase::families().contains(uiGothic)) {
        setFont(QFont(uiGothic, font().pointSize()));
    }
    struct TFieldDef {
        const char* Caption;
        const char* ShortName;
        int Min;
        int Max;
        int Digits;
    };
    const TFieldDef defs[FieldCount] = {{"年(&Y)", "年", params.MinYear, params.MaxYear, 4},
                                        {"月(&M)", "月", 1, 12, 2},
                                        {"日(&D)", "日", 1, 31, 2},
                                        {"時(&H)", "時", 0, 23, 2},
                                        {"分(&N)", "分", 0, 59, 2}};
    auto* layout = new QHBoxLayout(this);
    const TDateTimeParts parts = DecodeDateTime(params.Value);
    const int values[FieldCount] = {parts.Year, parts.Month, parts.Day, parts.Hour, parts.Minute};
    for (int i = 0; i < FieldCount; ++i) {
        if (i == FieldHour) {
            layout->addSpacing(12);
        }
        auto* field =
            new TDTDEdit(QString::fromUtf8(defs[i].ShortName), defs[i].Min, defs[i].Max, defs[i].Digits, this);
        field->SetValue(values[i]);
        auto* label = new QLabel(QString::fromUtf8(defs[i].Caption), this);
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field);
        m_Fields[i] = field;
    }
    layout->addSpacing(12);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("bbtOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル(&C)"), this);
    cancel->setObjectName(QStringLiteral("bbtCancel"));
    for (QPushButton* button : {ok, cancel}) {
        button->setMinimumWidth(std::max(ok->sizeHint().width(), cancel->sizeHint().width()) + 12);
        layout->addWidget(button);
    }
    connect(ok, &QPushButton::clicked, this, &TDateTimeDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TDateTimeDlg::reject);

    const QSize size = layout->sizeHint();
    setFixedSize(size.width(), std::max(size.height(), kMinClientHeight));
    PlaceDialog(*this, QPoint(params.Left, params.Top));
    m_Fields[FieldYear]->setFocus();
}

bool TDateTimeDlg::Execute() {
    const bool ok = exec() == QDialog::Accepted;
    if (ok) {
        m_Params.Value = Value();
    }
    const QPoint place = DialogPlace(*this);
    m_Params.Left = place.x();
    m_Params.Top = place.y();
    return ok;
}

bool TDateTimeDlg::Validate() {
    int year = 0;
    int month = 0;
    for (int i = 0; i < FieldCount; ++i) {
        TDTDEdit* field = m_Fields[i];
        const int previousMax = field->Maximum();
        if (i == FieldDay) {
            field->SetMaximum(DaysInMonth(year, month));
        }
        const std::optional<int> value = field->Number();
        if (!value || *value < field->Minimum() || *value > field->Maximum()) {
            field->SetMaximum(previousMax);
            m_Prompts.Warning("[" + field->ShortName().toStdString() + "] の値が不正です。");
            field->setFocus();
            field->selectAll();
            return false;
        }
        if (i == FieldYear) {
            year = *value;
        } else if (i == FieldMonth) {
            month = *value;
        }
    }
    return true;
}

TDateTime TDateTimeDlg::Value() const {
    auto number = [this](int i) { return m_Fields[i]->Number().value_or(0); };
    TDateTime value = 0;
    if (!TryEncodeDateTime(number(FieldYear), number(FieldMonth), number(FieldDay), number(FieldHour),
                           number(FieldMinute), 0, 0, value)) {
        return m_Params.Value;
    }
    return value;
}

void TDateTimeDlg::accept() {
    if (Validate()) {
        QDialog::accept();
    }
}

} // namespace hv
