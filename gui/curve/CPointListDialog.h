#pragma once

#include "core/curve/PointList.h"
#include "core/formula/FormulaDialogMemory.h"

#include "gui/common/DialogTemplate.h"
#include "gui/common/HelpOpener.h"
#include "gui/common/PlatformServices.h"

#include <QDialog>

#include <functional>

class CPointLineDelegate;
class QListWidget;

// The controls of "Liste des Points", numbered as its template numbers them.
enum class PointListControl : int {
    Ok = 1,        // "&Ok"
    Cancel = 2,    // "&Arrêt", Escape and the close box
    Lines = 200,   // the list of points
    Insert = 201,  // "Insérer &Point"
    Delete = 202,  // "&Supprimer"
    Formula = 203, // "&Formule"
    Empty = 204,   // "&Vider"
    Print = 205,   // "&Imprimer"
    Help = 206,    // "Ai&de..."
    X = 207,       // the x field
    Y = 208,       // the y field
    Modify = 209,  // "&Modifier"
    XHeading = 210,
    YHeading = 211,
    Count = 212,         // the point count
    File = 213,          // "&Fichier"
    NumberHeading = 600, // "No." over the numbers (its template caption goes on with the x heading)
    HeadingGroup = 601,  // the frame of the headings
    CountGroup = 602,    // the frame of the count
    ListGroup = 603,     // the frame of the commands on the whole list
    EntryGroup = 604,    // the frame of the fields and of the commands on one point
};

// "Liste des Points": the curve's points as numbered lines, edited by value on a working
// copy that the document takes only on "&Ok". The list's rules are CPointList's; this
// window reads the fields, calls it and shows what it gives back.
class CPointListDialog : public QDialog {
    Q_OBJECT
public:
    CPointListDialog(CPlatformServices& services, CurveDocument& doc, FormulaDialogMemory& memory, HelpOpener help,
                     QWidget* parent = nullptr);

    // The control with the given id, as the dialog's template numbers them, when it
    // is a W.
    template <class W = QWidget>
    W* control(PointListControl id) const
    {
        return controls_.control<W>(id);
    }
    const CPointList& pointList() const { return list_; }

private:
    void buildControls();
    // Places the list's columns and their headings, each as wide as its widest text,
    // widening the dialog when the template leaves them too little room.
    void layOutColumns();
    void widenList(int extra);
    void onCommand(PointListControl id);
    // Shows every line, the count, and no selection.
    void refreshPointList();
    // The selected line, or NoSelectedLine.
    int selectedLine() const;
    void showSelectedPoint();
    void insertPoint();
    void modifyPoint();
    void deletePoint();
    void appendFormulaPoints();
    void readFile();
    void emptyList();
    QString fieldText(PointListControl id) const;
    void showMessage(const UserMessage& message);

    CPlatformServices& services_;
    CurveDocument& doc_;
    FormulaDialogMemory& memory_;
    HelpOpener help_; // for the list's "Ai&de..." and the formula dialog it opens
    CPointList list_;
    DialogControls controls_;
    QListWidget* lines_ = nullptr;
    CPointLineDelegate* lineDelegate_ = nullptr;
};

// Runs the list modally over `owner`. Accepted when "&Ok" closed it: the document then
// holds the list's points. "&Arrêt", Escape and the close box leave the points as they
// were (a file read from the list has still changed the document's file path and
// settings, which the result tells).
PointListResult runPointListDialog(QWidget* owner, CPlatformServices& services, CurveDocument& doc,
                                   FormulaDialogMemory& memory, HelpOpener help = {});
