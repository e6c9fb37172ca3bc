#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <span>
#include <type_traits>

// What a control of a dialog template is; each kind is one widget class.
enum class ControlKind {
    Group,      // QGroupBox titled with the caption
    Label,      // QLabel showing the caption
    Edit,       // QLineEdit
    Button,     // QPushButton
    Check,      // QCheckBox
    Radio,      // QRadioButton
    Combo,      // QComboBox, a drop-down list
    Frame,      // QFrame: a plain one-pixel rectangle
    EtchedLine, // QFrame: a sunken vertical line
    Custom,     // the caller's own widget, from its factory
};

// Where a control departs from the usual look of its kind; or-ed together.
struct ControlFlag {
    static constexpr unsigned RightAligned = 1u << 0; // labels (left aligned otherwise)
    static constexpr unsigned Centred = 1u << 1;      // labels
    static constexpr unsigned SunkenPanel = 1u << 2;  // labels: framed as a sunken panel
    static constexpr unsigned Default = 1u << 3;      // buttons: the one Enter presses when no button has the focus
};

inline constexpr int NoControlId = -1;

// A control's id: a value of the window's own control enum (MainControl, the enums of
// each dialog), or NoControlId. Kept as the number the template gives it.
struct ControlIdValue {
    int value = NoControlId;
    constexpr ControlIdValue(int v) : value(v) { }
    template <class E>
    requires std::is_enum_v<E>
    constexpr ControlIdValue(E e) : value(static_cast<int>(e)) { }
    friend bool operator==(ControlIdValue, ControlIdValue) = default;
};

// One control, placed in dialog units.
struct ControlSpec {
    ControlIdValue id; // NoControlId when nothing refers to the control
    ControlKind kind;
    const char* caption; // UTF-8
    int x, y, w, h;
    unsigned flags = 0;
    const char* toolTip = nullptr;  // UTF-8: what the control does, shown under the mouse
    const char* shortcut = nullptr; // buttons: a key that clicks them, in portable text ("Ctrl+S")
};

// A dialog's layout: its fixed size and its controls. Controls are made in table order,
// which is the tab order and the stacking order, so group boxes come before what they
// frame.
struct DialogTemplate {
    int width, height; // dialog units
    std::span<const ControlSpec> controls;
};

// Called with a control's id when the user clicks its button, check box or radio
// button, or picks an entry of its list.
using ControlCommand = std::function<void(int id)>;
// Makes the widget of a Custom control on `parent`.
using CustomControlFactory = std::function<QWidget*(QWidget& parent, const ControlSpec& spec)>;

// The controls a template made, by id.
class DialogControls {
public:
    // The control with this id when it is a W; nullptr otherwise.
    template <class W = QWidget>
    W* control(ControlIdValue id) const
    {
        auto it = byId_.find(id.value);
        return it == byId_.end() ? nullptr : qobject_cast<W*>(it->second);
    }

private:
    friend DialogControls buildDialog(QWidget&, const DialogTemplate&, const ControlCommand&,
                                      const CustomControlFactory&);
    std::map<int, QWidget*> byId_;
};

// Fixes `dialog` to the template's size in its font's dialog units and makes every
// control on it, each with the object name "ctl<id>" when it has an id. A button's key
// clicks it while its window is active and the button enabled, and its tooltip ends
// with the key's name.
DialogControls buildDialog(QWidget& dialog, const DialogTemplate& layout, const ControlCommand& onCommand = {},
                           const CustomControlFactory& makeCustom = {});
