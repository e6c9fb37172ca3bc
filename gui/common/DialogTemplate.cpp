#include "gui/common/DialogTemplate.h"

#include "gui/common/DialogUnits.h"
#include "gui/common/QtText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace {

QLabel* makeLabel(QWidget& parent, const QString& caption, unsigned flags)
{
    auto* label = new QLabel(caption, &parent);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (flags & ControlFlag::Centred)
        horizontal = Qt::AlignHCenter;
    else if (flags & ControlFlag::RightAligned)
        horizontal = Qt::AlignRight;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    if (flags & ControlFlag::SunkenPanel)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

// A push button with the focus is the one Enter presses (Qt's auto-default buttons of a
// dialog); the Default one is pressed when the focus is elsewhere.
QPushButton* makeButton(QWidget& parent, const QString& caption, unsigned flags)
{
    auto* button = new QPushButton(caption, &parent);
    button->setAutoDefault(true);
    if (flags & ControlFlag::Default)
        button->setDefault(true);
    return button;
}

// An edit field that the dialog gives the focus selects its whole text, so that what is
// typed replaces the value shown: at the dialog's first focus, by Tab, by a mnemonic or
// by the program. A click puts the caret where it lands, and a field that gets the focus
// back with its window keeps its caret.
class CFieldSelection : public QObject {
public:
    explicit CFieldSelection(QWidget& dialog) : QObject(&dialog), dialog_(dialog) { dialog.installEventFilter(this); }
    void watch(QLineEdit& field) { field.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_) {
            if (event->type() == QEvent::Show)
                firstFocus_ = true;
            return false;
        }
        if (event->type() != QEvent::FocusIn)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        bool select = false;
        switch (reason) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason: select = true; break;
        case Qt::ActiveWindowFocusReason: select = firstFocus_; break;
        default: break;
        }
        firstFocus_ = false;
        if (select)
            static_cast<QLineEdit*>(watched)->selectAll();
        return false;
    }

private:
    QWidget& dialog_;
    bool firstFocus_ = false;
};

QFrame* makeFrame(QWidget& parent, int style)
{
    auto* frame = new QFrame(&parent);
    frame->setFrameStyle(style);
    frame->setLineWidth(1);
    return frame;
}

QWidget* makeControl(QWidget& parent, const ControlSpec& spec, const CustomControlFactory& makeCustom)
{
    const QString caption = toQString(spec.caption);
    switch (spec.kind) {
    case ControlKind::Group: return new QGroupBox(caption, &parent);
    case ControlKind::Label: return makeLabel(parent, caption, spec.flags);
    case ControlKind::Edit: return new QLineEdit(&parent);
    case ControlKind::Button: return makeButton(parent, caption, spec.flags);
    case ControlKind::Check: return new QCheckBox(caption, &parent);
    case ControlKind::Radio: return new QRadioButton(caption, &parent);
    case ControlKind::Combo: return new QComboBox(&parent);
    case ControlKind::Frame: return makeFrame(parent, QFrame::Box | QFrame::Plain);
    case ControlKind::EtchedLine: return makeFrame(parent, QFrame::VLine | QFrame::Sunken);
    case ControlKind::Custom: break;
    }
    // A template without its factory still gets a placeholder where the control goes.
    return makeCustom ? makeCustom(parent, spec) : new QWidget(&parent);
}

// The key is a shortcut of the button's own: Qt leaves it out while the button is hidden
// or disabled, and a field that keeps the key for itself (Ctrl+Z in a QLineEdit) gets it
// first. It clicks the button as the mouse does, at once.
void giveToolTipAndKey(QWidget& widget, const ControlSpec& spec)
{
    QString tip = toQString(spec.toolTip);
    auto* button = qobject_cast<QAbstractButton*>(&widget);
    if (button && spec.shortcut) {
        const QKeySequence key(QString::fromLatin1(spec.shortcut), QKeySequence::PortableText);
        auto* shortcut = new QShortcut(key, button);
        QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
        const QString keyName = key.toString(QKeySequence::NativeText);
        tip = tip.isEmpty() ? keyName : QStringLiteral("%1 (%2)").arg(tip, keyName);
    }
    if (!tip.isEmpty())
        widget.setToolTip(tip);
}

} // namespace

DialogControls buildDialog(QWidget& dialog, const DialogTemplate& layout, const ControlCommand& onCommand,
                           const CustomControlFactory& makeCustom)
{
    const DialogUnits du(dialog.font());
    dialog.setFixedSize(du.x(layout.width), du.y(layout.height));

    DialogControls controls;
    CFieldSelection* selection = nullptr;
    for (const ControlSpec& spec : layout.controls) {
        QWidget* widget = makeControl(dialog, spec, makeCustom);
        if (spec.kind == ControlKind::Edit) {
            if (!selection)
                selection = new CFieldSelection(dialog);
            selection->watch(*static_cast<QLineEdit*>(widget));
        }
        widget->setGeometry(du.rect(spec.x, spec.y, spec.w, spec.h));
        giveToolTipAndKey(*widget, spec);
        if (spec.id.value == NoControlId)
            continue;
        widget->setObjectName(QStringLiteral("ctl%1").arg(spec.id.value));
        controls.byId_[spec.id.value] = widget;
        if (!onCommand)
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QObject::connect(button, &QAbstractButton::clicked, &dialog,
                             [onCommand, id = spec.id.value] { onCommand(id); });
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            QObject::connect(list, &QComboBox::activated, &dialog, [onCommand, id = spec.id.value] { onCommand(id); });
    }
    return controls;
}
