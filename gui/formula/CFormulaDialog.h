#pragma once

#include "core/curve/CurvePoint.h"
#include "core/formula/FormulaDialogMemory.h"
#include "core/formula/FormulaPreview.h"

#include "gui/common/DialogTemplate.h"
#include "gui/common/HelpOpener.h"
#include "gui/common/PlatformServices.h"

#include <QDialog>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CFormulaPreviewArea;

// The controls of "Définition de courbes", numbered as its template numbers them.
enum class FormulaControl : int {
    Validate = 1,       // "&Valider"
    Cancel = 2,         // "&Annuler"
    ReadOutGroup = 136, // the frame of the read-out of the picked point and of ymin, ymax
    PreviewGroup = 137, // the frame of the preview
    Formula = 140,      // "Formule f(x)"
    A = 141,            // "Intervalle de"
    B = 142,            // "a"
    Increment = 143,    // "Inc"
    PickedX = 150,      // the picked point's x
    PickedY = 151,      // and y
    Preview = 160,
    Compute = 170, // "&Calcul"
    Help = 173,    // "A&ide..."
    FormulaLabel = 290,
    IntervalLabel = 291,
    BLabel = 292,
    IncrementLabel = 293,
    Ymin = 295, // the smallest y computed
    Ymax = 296, // the largest
};

// "Définition de courbes": f(x) over a..b with a step, previewed on "&Calcul" and
// handed over on "&Valider". The field texts outlive the dialog in `memory`.
class CFormulaDialog : public QDialog {
    Q_OBJECT
public:
    CFormulaDialog(CPlatformServices& services, FormulaDialogMemory& memory, QWidget* parent = nullptr);
    // How "A&ide..." opens the help; without one, or when the help file is not
    // installed, the dialog says the file is missing.
    void setHelp(HelpOpener help) { help_ = std::move(help); }

    // The control with the given id, as the dialog's template numbers them, when it
    // is a W.
    template <class W = QWidget>
    W* control(FormulaControl id) const
    {
        return controls_.control<W>(id);
    }
    CFormulaPreviewArea* previewArea() const { return preview_; }

    // The points of the last successful computation (none after a failure).
    const std::vector<CurvePoint>& points() const { return points_; }
    std::vector<CurvePoint> takePoints() { return std::move(points_); }

    // "&Calcul".
    void compute();
    // A click in the preview at `position` (preview coordinates).
    void pickAt(QPoint pixel);
    // Draws the preview again from the kept pixels, or black when there are none.
    void repaintPreview();

public slots:
    void accept() override; // "&Valider"
    void reject() override; // "&Annuler", Escape and the close box

protected:
    void showEvent(QShowEvent* event) override;

private:
    HelpOpener help_;
    void buildControls();
    void restoreFields();
    void showHelp();
    void setLabel(FormulaControl id, const QString& text);
    // The field's text as read (its first `length` characters), kept in memory too.
    std::string readField(FormulaControl id, int length, std::string& remembered);
    void showMessage(std::string_view text, std::string_view caption, MessageIcon icon);

    CPlatformServices& services_;
    FormulaDialogMemory& memory_;
    DialogControls controls_;
    CFormulaPreviewArea* preview_ = nullptr;
    std::vector<CurvePoint> points_;
    FormulaPreview previewPicture_;
    PreviewPick pick_;
};

// Runs the dialog modally over `owner`: the computed points on "&Valider" (none when
// nothing was computed), none on "&Annuler".
// `help` opens the help at the formula language; without one, "A&ide..." says the
// help file is missing.
std::vector<CurvePoint> runFormulaDialog(QWidget* owner, CPlatformServices& services, FormulaDialogMemory& memory,
                                         HelpOpener help = {});
