#include "gui/app/MainWindowLayout.h"

#include "core/editor/MainControl.h"

#include "gui/common/DialogUnits.h"

#include <QWidget>

#include <algorithm>

using enum MainControl;

namespace {

using Kind = ControlKind;
constexpr unsigned CoordinateField = ControlFlag::RightAligned;
constexpr unsigned CountField = ControlFlag::Centred | ControlFlag::SunkenPanel;

// The window's template, 520 x 330 dialog units. Group boxes come first so that the
// controls they frame lie above them.
constexpr ControlSpec Controls[] = {
    {InputGroup, Kind::Group, "Saisie", 4, 2, 512, 26},
    {NoId, Kind::Group, "Affichage", 4, 44, 72, 46},
    {NoId, Kind::Group, "Lissage", 4, 92, 72, 56},
    {TransformGroup, Kind::Group, "&Transfos", 4, 150, 72, 102},
    {NoId, Kind::Group, "Unités", 4, 254, 72, 34},
    {CoordGroup, Kind::Group, "Coord", 456, 30, 60, 36},
    {ZoomGroup, Kind::Group, "&Zoom", 456, 70, 60, 118},
    {NoId, Kind::Group, "", 4, 292, 512, 34},

    {Redraw, Kind::Button, "&Redess", 10, 11, 40, 13, 0, "Redessiner la courbe"},
    {Undo, Kind::Button, "&Undo", 52, 11, 40, 13, 0, "Annuler la dernière modification des points (un seul niveau)",
     "Ctrl+Z"},
    {NoId, Kind::EtchedLine, "", 96, 10, 2, 15},
    {PointEntry, Kind::Button, "&Point", 100, 11, 40, 13, 0,
     "Saisie de points : clic gauche pour placer un point, clic droit pour saisir ses coordonnées"},
    {DeletePoint, Kind::Button, "&Effacer", 142, 11, 40, 13, 0,
     "Effacer des points : clic gauche pour supprimer le point le plus proche, clic droit pour annuler "
     "la dernière suppression"},
    {EraseWindow, Kind::Button, "&Effac Fen", 184, 11, 44, 13, 0,
     "Effacer les points situés dans un rectangle tracé à la souris"},
    {Reset, Kind::Button, "&R.A.Z.", 230, 11, 40, 13, 0, "Effacer tous les points de la courbe (après confirmation)"},
    {NoId, Kind::EtchedLine, "", 274, 10, 2, 15},
    {OpenFile, Kind::Button, "Fichier", 278, 11, 40, 13, 0,
     "Ouvrir un fichier courbe (.crb) ou un fichier de points ASCII (.txt)", "Ctrl+O"},
    {List, Kind::Button, "&Liste", 320, 11, 40, 13, 0, "Voir et modifier la liste des points"},
    {Formula, Kind::Button, "&Formule", 362, 11, 40, 13, 0, "Ajouter des points calculés par une formule y = f(x)"},
    {NoId, Kind::EtchedLine, "", 406, 10, 2, 15},
    {PointCount, Kind::Label, "", 466, 11, 44, 13, CountField},

    {Periodic, Kind::Check, "Périodicité", 8, 32, 66, 10, 0,
     "Marquer la courbe comme périodique ; ce choix est enregistré dans le fichier"},
    {Derivative1Box, Kind::Check, "Dérivée 1", 10, 54, 62, 10, 0, "Afficher la dérivée première de la courbe"},
    {Derivative2Box, Kind::Check, "Dérivée 2", 10, 65, 62, 10, 0, "Afficher la dérivée seconde de la courbe"},
    {IntegralBox, Kind::Check, "Intégration", 10, 76, 62, 10, 0,
     "Afficher l'intégrale de la courbe (à la place des dérivées)"},
    {SmoothAucun, Kind::Radio, "Aucun", 10, 102, 62, 10},
    {SmoothCubique, Kind::Radio, "Cubique", 10, 113, 62, 10},
    {SmoothAkima, Kind::Radio, "Akima", 10, 124, 62, 10},
    {SmoothCarlson, Kind::Radio, "Carlson", 10, 135, 62, 10},
    {CopyMode, Kind::Check, "&Copie", 10, 160, 60, 10, 0,
     "Les transformations ajoutent des copies des points choisis au lieu de les déplacer (sauf Affinité)"},
    {Translate, Kind::Button, "&Trans", 10, 172, 60, 13, 0, "Translation : déplacer les points choisis d'un vecteur"},
    {Mirror, Kind::Button, "&Miroir", 10, 187, 60, 13, 0,
     "Miroir : symétrie des points choisis par rapport à une droite"},
    {Rotate, Kind::Button, "&Rotat", 10, 202, 60, 13, 0, "Rotation : tourner les points choisis autour d'un centre"},
    {Homothety, Kind::Button, "&Homo.", 10, 217, 60, 13, 0,
     "Homothétie : agrandir ou réduire les points choisis autour d'un centre"},
    {Affinity, Kind::Button, "&Affinité", 10, 232, 60, 13, 0,
     "Affinité : multiplier les x ou les y des points choisis par un facteur"},
    {Units, Kind::Combo, "", 10, 267, 60, 14},

    {DrawingFrame, Kind::Frame, "", 80, 32, 370, 256},

    {MouseX, Kind::Label, "", 460, 41, 52, 9, CoordinateField},
    {MouseY, Kind::Label, "", 460, 52, 52, 9, CoordinateField},
    {ZoomWindow, Kind::Button, "&Fenêtre", 462, 80, 48, 13, 0, "Zoomer sur un rectangle tracé à la souris"},
    {ZoomIn, Kind::Button, "&Plus", 462, 95, 48, 13, 0,
     "Zoom avant : diviser les bornes de la vue par 2, autour de l'origine"},
    {ZoomOut, Kind::Button, "&Moins", 462, 110, 48, 13, 0,
     "Zoom arrière : multiplier les bornes de la vue par 2, autour de l'origine"},
    {FitAll, Kind::Button, "&Tout", 462, 125, 48, 13, 0, "Afficher toute la courbe"},
    {Centre, Kind::Button, "&Centre", 462, 140, 48, 13, 0, "Recentrer la vue sur un point cliqué"},
    {Previous, Kind::Button, "&Préc", 462, 155, 48, 13, 0, "Revenir à la vue précédente"},
    {Bounds, Kind::Button, "&Bornes", 462, 170, 48, 13, 0, "Saisir au clavier les bornes de la vue"},
    {CopyPicture, Kind::Button, "&Copier", 462, 196, 48, 14, 0, "Copier le dessin de la courbe dans le presse-papiers"},
    {Print, Kind::Button, "&Imprimer", 462, 214, 48, 14, 0, "Imprimer la courbe sur une page graduée"},
    {Stop, Kind::Button, "&Arrêt", 462, 270, 48, 16, 0,
     "Terminer l'édition (propose d'enregistrer une courbe modifiée)"},

    {StatusLine, Kind::Label, "", 10, 305, 360, 10},
    {Help, Kind::Button, "&Aide", 378, 302, 50, 15, 0, "Afficher l'aide de l'éditeur", "F1"},
    {Save, Kind::Button, "&Enregistrer", 434, 302, 76, 15, 0, "Enregistrer la courbe", "Ctrl+S"},
};

constexpr DialogTemplate Layout{520, 330, Controls};

// The control of the template with this id.
constexpr const ControlSpec& specOf(MainControl id)
{
    return *std::find_if(std::begin(Controls), std::end(Controls), [id](const ControlSpec& c) { return c.id == id; });
}

} // namespace

const DialogTemplate& mainWindowLayout()
{
    return Layout;
}

void CMainWindowPlacements::record(QWidget& window, const QWidget& drawingFrame)
{
    templateSize_ = window.size();
    window.setMinimumSize(templateSize_);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const DialogUnits du(window.font());
    const ControlSpec& frame = specOf(DrawingFrame);
    const ControlSpec& status = specOf(StatusLine);
    const int frameLeft = du.x(frame.x);
    const int frameRight = du.x(frame.x + frame.w);
    const int frameBottom = du.y(frame.y + frame.h);
    const int statusRight = du.x(status.x + status.w);
    for (QObject* child : window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        const QRect r = widget->geometry();
        const bool acrossFrame = r.left() < frameLeft && r.left() + r.width() > frameRight;
        Placement p{widget, r, 0, 0, 0, 0};
        if (widget == &drawingFrame) {
            p.growX = p.growY = 1;
        } else if (r.top() >= frameBottom) {
            p.moveY = 1;
            p.moveX = r.left() >= statusRight ? 1 : 0;
            p.growX = acrossFrame ? 1 : 0;
        } else if (r.left() >= frameRight) {
            p.moveX = 1;
        } else if (acrossFrame) {
            p.growX = 1;
        }
        placements_.push_back(p);
    }
}

void CMainWindowPlacements::apply(const QWidget& window) const
{
    const int dx = std::max(0, window.width() - templateSize_.width());
    const int dy = std::max(0, window.height() - templateSize_.height());
    for (const Placement& p : placements_)
        p.widget->setGeometry(p.rect.x() + p.moveX * dx, p.rect.y() + p.moveY * dy, p.rect.width() + p.growX * dx,
                              p.rect.height() + p.growY * dy);
}
