#pragma once

// What the GUI tests share: where the test data lies, the controls of a window or a
// dialog found by their enum value, the gestures made on them, acting on a modal
// dialog from the event loop it starts, and a main window over an editor.

#include "core/curve/CurveDocument.h"
#include "core/curve/CurvePoint.h"
#include "core/editor/Editor.h"
#include "core/editor/MainControl.h"

#include "gui/app/CMainWindow.h"
#include "gui/common/DialogTemplate.h"

#include "ScriptedPlatformServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTimer>
#include <QtTest>

#include <concepts>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

// A file of tests/data.
QString dataFile(const char* name);

// The points of a document, in order.
std::vector<CurvePoint> pointsOf(const CurveDocument& doc);

// A control id: a value of one of the control enums, or a ControlIdValue holding one.
template <class Id>
concept ControlIdentifier = std::is_enum_v<Id> || std::same_as<Id, ControlIdValue>;

// The object name a dialog template gives the control `id`.
inline QString controlName(ControlIdValue id)
{
    return QStringLiteral("ctl%1").arg(id.value);
}

// The control `id` of a window or dialog when it is a W; nullptr otherwise. A window
// that has its own lookup for this kind of id (CMainWindow, CPointListDialog,
// CFormulaDialog, CParameterDialog) is asked; any other widget is searched for the
// control's object name.
template <class W = QWidget, class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget> W* controlOf(Owner& owner, Id id)
{
    if constexpr (requires { owner.template control<W>(id); })
        return owner.template control<W>(id);
    else
        return owner.template findChild<W*>(controlName(id));
}

// Where a click on `widget` lands: on the box of a check box or radio button, the
// middle of anything else.
QPoint clickPoint(QWidget* widget);

// A left click on `widget`; a failure when there is none.
void clickWidget(QWidget* widget);

// Waits until `window` is the active window, as a user finds a window that has just
// opened; false after five seconds. (QTest::qWaitForWindowActive then also waits for a
// window at 0,0 to move, which under Wine takes half a minute.)
bool waitUntilActive(QWidget& window);

// A left click on the control `id` of a window or dialog.
template <class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget>
void clickControl(Owner& owner, Id id)
{
    clickWidget(controlOf(owner, id));
}

// Replaces the text of `field` with `text`, typed key by key; a failure when there is
// no field.
void typeIntoField(QLineEdit* field, const QString& text);

// Replaces the text of the field `id` of a window or dialog with `text`, typed.
template <class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget>
void typeInto(Owner& owner, Id id, const QString& text)
{
    typeIntoField(controlOf<QLineEdit>(owner, id), text);
}

// The edit field `id` of a window or dialog.
template <class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget> QLineEdit* fieldOf(Owner& owner, Id id)
{
    return controlOf<QLineEdit>(owner, id);
}

// The text the edit field `id` shows.
template <class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget> QString fieldText(Owner& owner, Id id)
{
    return fieldOf(owner, id)->text();
}

// Whether the button `id` (a check box or a radio button) is ticked.
template <class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget>
bool isChecked(Owner& owner, Id id)
{
    return controlOf<QAbstractButton>(owner, id)->isChecked();
}

// The text of the label `id`.
template <class Owner, ControlIdentifier Id>
requires std::derived_from<Owner, QWidget> QString labelText(Owner& owner, Id id)
{
    return controlOf<QLabel>(owner, id)->text();
}

// Runs `act` on the modal window once it is up, from the event loop it starts: call it
// just before what opens the window. The modal window must be a D and, when
// `objectName` is given, carry that name.
template <class D = QDialog, class Act>
void whenTheModalDialogOpens(Act act, const char* objectName = nullptr)
{
    QTimer::singleShot(0, [act = std::move(act), objectName]() mutable {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "the expected window is the modal window");
        if (objectName)
            QCOMPARE(dialog->objectName(), QString::fromUtf8(objectName));
        act(*dialog);
    });
}

enum class WindowDisplay {
    Hidden,
    Shown
};

// A main window over an editor, with scripted platform services. Built empty, the
// editor is prepared first and open() then makes the window; built with points, the
// curve holds them, its snapshot is taken and the window is open over it.
struct MainWindowFixture {
    CScriptedPlatformServices services;
    Editor editor;
    std::unique_ptr<CMainWindow> window;

    MainWindowFixture() = default;
    explicit MainWindowFixture(std::initializer_list<CurvePoint> points, WindowDisplay display = WindowDisplay::Hidden);

    // Makes the window over the editor as it stands; shown, and waited for until it is
    // exposed, when asked.
    void open(WindowDisplay display = WindowDisplay::Hidden);
};
