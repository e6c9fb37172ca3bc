#include "editor/EditorCommands.h"
#include "editor/MainControl.h"
#include "view/SmoothCurve.h"

#include "ScriptedEditorHost.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Fixture {
    Editor editor;
    ScriptedHost host;
    Fixture() { host.editor = &editor; }
    CommandOutcome run(MainControl id, bool ticked = false) { return runEditorCommand(editor, host, id, ticked); }
    void givenPoints(std::initializer_list<CurvePoint> points)
    {
        for (CurvePoint p : points)
            editor.document.appendPoint(p);
        editor.document.markSaved();
    }
};

} // namespace

TEST(DisplayFlagCommands, ADerivativeAndTheIntegralAreNeverShownTogether)
{
    using enum MainControl;
    struct Step {
        MainControl id;
        bool ticked;
        DisplayFlags flags;
    };
    const Step steps[] = {
        {Derivative1Box, true, Derivative1},
        {IntegralBox, true, Integral},
        {Derivative2Box, true, Derivative2},
        {Derivative1Box, true, Derivative1 | Derivative2},
        {Derivative2Box, false, Derivative1},
        {IntegralBox, true, Integral},
        {IntegralBox, false, {}},
    };
    Fixture f;
    for (const Step& s : steps) {
        SCOPED_TRACE(int(s.id));
        CommandOutcome out = f.run(s.id, s.ticked);
        EXPECT_EQ(f.editor.displayFlags, s.flags);
        EXPECT_TRUE(out.showDisplayFlags);
        EXPECT_EQ(out.redraw, RedrawKind::Full);
    }
}

TEST(BoundsCommand, AcceptedBoundsBecomeTheWindowAndOthersAreRefused)
{
    struct Case {
        const char* what;
        ScriptedHost::Bounds bounds;
        bool redraw;
        bool message;
    };
    const Case cases[] = {
        {"valid", {true, true, {-1, -2, 3, 4}}, true, false},
        {"cancelled", {false, true, {}}, false, false},
        {"reversed x", {true, true, {3, -2, -1, 4}}, false, true},
        {"empty y", {true, true, {-1, 2, 3, 2}}, false, true},
        {"unreadable field", {true, false, {-1, -2, 3, 4}}, false, true},
        {"unusable extent", {true, true, {1e300, 0, 1e300 + 1e285, 1}}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.host.bounds = c.bounds;
        CommandOutcome out = f.run(MainControl::Bounds);
        EXPECT_EQ(f.editor.interactionMode, InteractionMode::ModeFinished);
        EXPECT_EQ(out.redraw == RedrawKind::Full, c.redraw);
        const ViewWindow start{-36, -36, 36, 36};
        EXPECT_EQ(f.editor.view.current, c.redraw ? c.bounds.window : start);
        if (c.redraw) {
            EXPECT_EQ(f.editor.view.previousWindow, start);
            EXPECT_EQ(f.editor.statusText, "Nouvelles bornes (-1.00, -2.00), (3.00, 4.00)");
        }
        ASSERT_EQ(f.host.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(f.host.messages[0],
                      (UserMessage{"Bornes incorrectes !!!", "", MessageButtons::Ok, MessageIcon::Error,
                                   MessageOwner::Focus}));
        }
    }
}

TEST(FormulaCommand, AppendsWhatFitsNormalizesAndFits)
{
    struct Case {
        const char* what;
        int before;
        std::vector<CurvePoint> formula;
        int after;
        bool fitted;
    };
    const Case cases[] = {
        {"cancelled", 2, {}, 2, false},
        {"one point, no fit", 2, {{5, 5}}, 3, false},
        {"sorted and fitted", 2, {{-3, 9}, {-2, 4}, {-1, 1}}, 5, true},
        {"only what fits", MaxCurvePoints - 1, {{-3, 9}, {-2, 4}, {-1, 1}}, MaxCurvePoints, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        for (int i = 0; i < c.before; ++i)
            f.editor.document.appendPoint({double(i), double(i)});
        const ViewWindow start = f.editor.view.current;
        f.host.formulaPoints = c.formula;
        CommandOutcome out = f.run(MainControl::Formula);
        EXPECT_EQ(f.host.cursors, std::vector<CursorRequest>{CursorRequest::Arrow});
        EXPECT_EQ(f.editor.interactionMode, InteractionMode::FormulaEntry);
        EXPECT_EQ(f.editor.document.count(), c.after);
        EXPECT_EQ(f.editor.document.undoCount(), c.before) << "the snapshot comes before the dialog";
        EXPECT_EQ(out.redraw, c.formula.empty() ? RedrawKind::None : RedrawKind::Full);
        EXPECT_EQ(f.editor.view.current != start, c.fitted);
        for (int i = 1; i < f.editor.document.count(); ++i)
            EXPECT_LT(f.editor.document.points()[i - 1].x, f.editor.document.points()[i].x);
    }
}

TEST(StopPath, AsksOnlyWhenModifiedAndSavesUntilWrittenOrGivenUp)
{
    struct Case {
        const char* what;
        bool pointAdded;
        const char* unitShown;
        MessageAnswer answer;
        std::deque<SaveOutcome> saves;
        int saveDialogs;
        bool stops;
    };
    const Case cases[] = {
        {"unchanged", false, "mm", MessageAnswer::Yes, {}, 0, true},
        {"no", true, "mm", MessageAnswer::No, {}, 0, true},
        {"yes, written", true, "mm", MessageAnswer::Yes, {SaveOutcome::Written}, 1, true},
        {"yes, save dialog cancelled: back to editing",
         true,
         "mm",
         MessageAnswer::Yes,
         {SaveOutcome::Cancelled},
         1,
         false},
        {"yes, failed twice",
         true,
         "mm",
         MessageAnswer::Yes,
         {SaveOutcome::Failed, SaveOutcome::Failed, SaveOutcome::Written},
         3,
         true},
        {"yes, failed then cancelled",
         true,
         "mm",
         MessageAnswer::Yes,
         {SaveOutcome::Failed, SaveOutcome::Cancelled},
         2,
         false},
        {"another unit shown", false, "cm", MessageAnswer::Yes, {SaveOutcome::Written}, 1, true},
        {"the unit in another letter case", false, "MM", MessageAnswer::Yes, {}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.editor.document.unitName = "mm";
        f.givenPoints({{1, 2}});
        if (c.pointAdded)
            f.editor.document.appendPoint({3, 4});
        f.editor.interactionMode = InteractionMode::PointEntry;
        f.editor.statusText = "invite";
        const ViewWindow shown = f.editor.view.current;
        f.host.unit = c.unitShown;
        f.host.answers = {c.answer};
        f.host.saveOutcomes = c.saves;
        CommandOutcome out = f.run(MainControl::Stop);
        EXPECT_EQ(out.stop, c.stops);
        const bool asked = c.pointAdded || (std::string(c.unitShown) != "mm" && std::string(c.unitShown) != "MM");
        ASSERT_EQ(f.host.messages.size(), asked ? 1u : 0u);
        if (asked) {
            EXPECT_EQ(f.host.messages[0],
                      (UserMessage{"Les données ont été modifiées\nVoulez-vous les sauvegarder ?", "Sortie",
                                   MessageButtons::YesNo, MessageIcon::Question, MessageOwner::Window}));
        }
        EXPECT_EQ(f.host.saveCount, c.saveDialogs);
        if (c.saveDialogs > 0) {
            EXPECT_EQ(f.editor.document.unitName, c.unitShown) << "the shown unit is saved";
        }
        if (!c.stops) {
            EXPECT_EQ(out.redraw, RedrawKind::None);
            EXPECT_EQ(out.cursor, CursorRequest::Unchanged);
            EXPECT_EQ(f.editor.document.count(), 2) << "the edit is still there";
            EXPECT_EQ(f.editor.interactionMode, InteractionMode::PointEntry);
            EXPECT_EQ(f.editor.statusText, "invite");
            EXPECT_EQ(f.editor.view.current, shown);
        }
    }
}

TEST(ModeCommands, SetTheirModePromptAndCursor)
{
    struct Case {
        MainControl id;
        int points;
        InteractionMode mode;
        const char* status;
        CursorRequest cursor;
    };
    const Case cases[] = {
        {MainControl::PointEntry, 0, InteractionMode::PointEntry, "Gauche-Saisir Point / Droit-Saisir Coordonnées",
         CursorRequest::Cross},
        {MainControl::DeletePoint, 0, InteractionMode::PointDelete, "Pas de point à supprimer",
         CursorRequest::Unchanged},
        {MainControl::DeletePoint, 2, InteractionMode::PointDelete, "Gauche = Supprimer un point",
         CursorRequest::Unchanged},
        {MainControl::Centre, 0, InteractionMode::PickCentre, "Cliquer le centre de la courbe",
         CursorRequest::Unchanged},
        // "&Copie" and the other controls without a command only blank the status line.
        {MainControl::CopyMode, 0, InteractionMode::Idle, " ", CursorRequest::Unchanged},
        {MainControl::Units, 0, InteractionMode::Idle, " ", CursorRequest::Unchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.id));
        Fixture f;
        for (int i = 0; i < c.points; ++i)
            f.editor.document.appendPoint({double(i), 0});
        f.editor.statusText = "before";
        CommandOutcome out = f.run(c.id);
        EXPECT_EQ(f.editor.interactionMode, c.mode);
        EXPECT_EQ(f.editor.statusText, c.status);
        EXPECT_EQ(out.cursor, c.cursor);
        EXPECT_EQ(out.redraw, RedrawKind::None);
    }
}

TEST(ModeCommands, PointEntryIsRefusedAtTheCapacity)
{
    Fixture f;
    for (int i = 0; i < MaxCurvePoints; ++i)
        f.editor.document.appendPoint({double(i), 0});
    f.run(MainControl::PointEntry);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0],
              (UserMessage{"La limite de points a été atteinte !!!", "Attention", MessageButtons::Ok,
                           MessageIcon::Error, MessageOwner::Window}));
    EXPECT_EQ(f.editor.interactionMode, InteractionMode::Idle);
}

TEST(ViewCommands, ZoomPreviousFitAndRedraw)
{
    Fixture f;
    f.givenPoints({{0, 0}, {10, 5}});
    CommandOutcome out = f.run(MainControl::ZoomIn);
    EXPECT_EQ(f.editor.view.current, (ViewWindow{-18, -18, 18, 18}));
    EXPECT_EQ(out.redraw, RedrawKind::Full);
    f.run(MainControl::ZoomOut);
    EXPECT_EQ(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));

    out = f.run(MainControl::Previous);
    EXPECT_EQ(f.editor.interactionMode, InteractionMode::PreviousWindow);
    EXPECT_EQ(out.redraw, RedrawKind::Full);
    EXPECT_EQ(f.editor.view.current, (ViewWindow{-10, -10, 10, 10})) << "the two windows exchanged";
    EXPECT_EQ(f.editor.view.previousWindow, (ViewWindow{-36, -36, 36, 36}));

    out = f.run(MainControl::FitAll);
    EXPECT_EQ(out.cursor, CursorRequest::Arrow);
    EXPECT_EQ(f.editor.view.current, f.editor.view.dataExtent);
    EXPECT_EQ(f.run(MainControl::Redraw).redraw, RedrawKind::Full);

    Fixture single;
    single.givenPoints({{1, 1}});
    EXPECT_EQ(single.run(MainControl::FitAll).redraw, RedrawKind::None) << "one point has no extent";
}

TEST(DocumentCommands, ResetUndoSmoothingAndPeriodicity)
{
    Fixture f;
    f.givenPoints({{0, 0}, {1, 1}, {2, 0}});
    f.editor.document.takeSnapshot();
    f.host.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    f.run(MainControl::Reset);
    EXPECT_EQ(f.editor.document.count(), 3);
    EXPECT_EQ(f.host.messages.back(),
              (UserMessage{"Voulez-vous vraiment tout effacer ?", "Attention !", MessageButtons::OkCancel,
                           MessageIcon::Question, MessageOwner::Window}));
    CommandOutcome out = f.run(MainControl::Reset);
    EXPECT_EQ(f.editor.document.count(), 0);
    EXPECT_EQ(f.editor.interactionMode, InteractionMode::Reset);
    EXPECT_TRUE(out.showCount);

    out = f.run(MainControl::Undo);
    EXPECT_EQ(f.editor.document.count(), 3);
    EXPECT_TRUE(out.showCount);
    EXPECT_EQ(out.redraw, RedrawKind::Full);

    for (MainControl id :
         {MainControl::SmoothAucun, MainControl::SmoothCubique, MainControl::SmoothAkima, MainControl::SmoothCarlson}) {
        EXPECT_EQ(f.run(id).redraw, RedrawKind::Full);
        EXPECT_EQ(f.editor.document.smoothingMode, int(id) - int(MainControl::SmoothAucun));
    }
    EXPECT_EQ(f.run(MainControl::Periodic, true).redraw, RedrawKind::None) << "shown at the next redraw";
    EXPECT_EQ(f.editor.document.periodic, 1);
    f.run(MainControl::Periodic, false);
    EXPECT_EQ(f.editor.document.periodic, 0);
}

TEST(FileCommands, OpenReadsSnapshotsAndFitsAndSaveStoresTheShownUnit)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "crbedit-editor-commands";
    fs::create_directories(dir);
    const std::string upper = (dir / "CAM.CRB").string();
    fs::copy_file(dataFile("current.crb"), upper, fs::copy_options::overwrite_existing);

    Fixture f;
    f.host.unit = ""; // an empty curve, no unit shown: nothing to save first
    f.host.openPaths = {std::nullopt, upper};
    EXPECT_EQ(f.run(MainControl::OpenFile).redraw, RedrawKind::None) << "cancelled";
    CommandOutcome out = f.run(MainControl::OpenFile);
    EXPECT_EQ(f.editor.document.filePath, upper);
    EXPECT_EQ(f.editor.document.count(), 3);
    EXPECT_EQ(f.editor.document.undoCount(), 3) << "the snapshot follows the read";
    EXPECT_TRUE(out.selectUnit && out.showCount && out.showCurveSettings);
    EXPECT_EQ(out.redraw, RedrawKind::Full);
    EXPECT_NE(f.editor.view.current, (ViewWindow{-36, -36, 36, 36}));
    EXPECT_TRUE(f.host.messages.empty());

    f.host.unit = "mm"; // the window shows the unit read
    f.host.openPaths = {dataFile("one_field.txt")};
    f.run(MainControl::OpenFile);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].owner, MessageOwner::None);
    EXPECT_EQ(f.host.messages[0].caption, "");

    f.host.unit = "cm";
    f.run(MainControl::Save);
    EXPECT_EQ(f.editor.document.unitName, "cm");
    EXPECT_EQ(f.host.saveCount, 1);
    fs::remove_all(dir);
}

TEST(FileCommands, AFileThatCannotBeOpenedLosesNoEdit)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "crbedit-unreadable-open";
    fs::create_directories(dir);
    // A name the dialog returned but that is gone by the time it is read, and a folder.
    for (const std::string& chosen : {(dir / "removed.crb").string(), dir.string()}) {
        SCOPED_TRACE(chosen);
        Fixture f;
        f.givenPoints({{0, 0}, {1, 1}});
        f.editor.document.filePath = "edited.crb";
        f.editor.document.takeSnapshot();
        f.editor.document.appendPoint({2, 4}); // the edit that must not be lost
        const ViewWindow shown = f.editor.view.current;

        f.host.openPaths = {chosen};
        f.host.answers = {MessageAnswer::No}; // not saved first
        const CommandOutcome out = f.run(MainControl::OpenFile);
        EXPECT_EQ(out.redraw, RedrawKind::None);
        EXPECT_EQ(f.editor.document.count(), 3);
        EXPECT_EQ(f.editor.document.undoCount(), 2) << "the undo copy is kept";
        EXPECT_EQ(f.editor.document.filePath, "edited.crb");
        EXPECT_EQ(f.editor.view.current, shown);
        EXPECT_EQ(f.host.messages.size(), 1u) << "only the question before the open dialog";

        f.host.saveOutcomes = {SaveOutcome::Written};
        f.run(MainControl::Stop);
        ASSERT_EQ(f.host.messages.size(), 2u) << "the stop still asks to save";
        EXPECT_EQ(f.host.messages[1].text, "Les données ont été modifiées\nVoulez-vous les sauvegarder ?");
    }
    fs::remove_all(dir);
}

// "Fichier" and a file dropped on the window read the file the same way, after the same
// question.
TEST(FileCommands, OpenOrDropOnAModifiedCurveOffersToSaveItFirst)
{
    struct Case {
        const char* what;
        bool modified;
        MessageAnswer answer;
        std::deque<SaveOutcome> saves;
        bool read; // the open dialog came (or the drop went on), and the file was read
    };
    const Case cases[] = {
        {"unmodified: read at once", false, MessageAnswer::Cancel, {}, true},
        {"no: read without saving", true, MessageAnswer::No, {}, true},
        {"cancel: nothing changes", true, MessageAnswer::Cancel, {}, false},
        {"yes, written: then read", true, MessageAnswer::Yes, {SaveOutcome::Written}, true},
        {"yes, save dialog cancelled: nothing read", true, MessageAnswer::Yes, {SaveOutcome::Cancelled}, false},
        {"yes, write failed: nothing read", true, MessageAnswer::Yes, {SaveOutcome::Failed}, false},
    };
    for (const bool dropped : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(dropped ? "dropped, " : "Fichier, ") + c.what);
            Fixture f;
            f.editor.document.unitName = "mm";
            f.givenPoints({{1, 2}});
            if (c.modified)
                f.editor.document.appendPoint({3, 4});
            f.host.unit = "cm"; // a save takes the unit shown
            if (!c.modified)
                f.host.unit = "mm";
            f.host.answers = {c.answer};
            f.host.saveOutcomes = c.saves;
            const std::string file = dataFile("current.crb");
            if (!dropped)
                f.host.openPaths = {file};
            const CommandOutcome out = dropped ? openDroppedFile(f.editor, f.host, file) : f.run(MainControl::OpenFile);

            ASSERT_EQ(f.host.messages.size(), c.modified ? 1u : 0u);
            if (c.modified) {
                EXPECT_EQ(
                    f.host.messages[0],
                    (UserMessage{"Les données ont été modifiées\nVoulez-vous les sauvegarder ?", "Ouvrir un fichier",
                                 MessageButtons::YesNoCancel, MessageIcon::Question, MessageOwner::Window}));
            }
            EXPECT_EQ(f.host.saveCount, static_cast<int>(c.saves.size()));
            if (!c.saves.empty() && !c.read) {
                EXPECT_EQ(f.editor.document.unitName, "cm") << "saved with the unit shown";
            }
            EXPECT_TRUE(f.host.openPaths.empty() || !c.read);
            EXPECT_EQ(f.editor.document.count(), c.read ? 3 : (c.modified ? 2 : 1));
            EXPECT_EQ(f.editor.document.filePath, c.read ? file : "");
            EXPECT_EQ(out.redraw, c.read ? RedrawKind::Full : RedrawKind::None);
            EXPECT_EQ(out.showCurveSettings && out.selectUnit && out.showCount, c.read);
        }
    }
}

TEST(FileCommands, OnlyACurveOrAsciiFileIsTakenFromADrop)
{
    struct Case {
        const char* what;
        std::string path;
        bool pickRunning;
        bool accepted;
    };
    const Case cases[] = {
        {"curve file", "/data/came.crb", false, true},
        {"curve file in capitals", "C:/DATA/CAME.CRB", false, true},
        {"ASCII file", "/data/points.txt", false, true},
        {"ASCII file in mixed case", "/data/points.Txt", false, true},
        {"Windows separators", "C:\\data\\came.Crb", false, true},
        {"another extension", "/data/picture.png", false, false},
        {"crb inside the name only", "/data/came.crb.bak", false, false},
        {"a folder's name only", "/data/came.crb/", false, false},
        {"no extension", "/data/crb", false, false},
        {"during a pick", "/data/came.crb", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.editor.pickRunning = c.pickRunning;
        EXPECT_EQ(acceptsDroppedFile(f.editor, c.path), c.accepted);
    }
}

TEST(FileCommands, ADroppedFileWithAnUnusableNameIsSaidAndNotRead)
{
    struct Case {
        const char* what;
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {"longer than the dialog's buffer", "/" + std::string(300, 'a') + ".crb",
         "Nom de fichier trop long (longueur maxi = 256 car.)"},
        {"a control character", "/data/ca\tme.crb", "Nom de fichier invalide"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.givenPoints({{1, 2}, {3, 4}});
        f.editor.document.appendPoint({5, 6}); // modified: the name is refused before the question
        const CommandOutcome out = openDroppedFile(f.editor, f.host, c.path);
        ASSERT_EQ(f.host.messages.size(), 1u);
        EXPECT_EQ(f.host.messages[0],
                  (UserMessage{c.message, "Attention", MessageButtons::Ok, MessageIcon::Error, MessageOwner::Focus}));
        EXPECT_EQ(f.editor.document.count(), 3);
        EXPECT_EQ(out.redraw, RedrawKind::None);
    }
}

TEST(FileCommands, TheSaveDialogOffersTheFileLastUsedElseTheStartupFile)
{
    struct Case {
        const char* what;
        const char* filePath;
        const char* startupPath;
        const char* offered;
    };
    const Case cases[] = {
        {"no file at all", "", "", ""},
        {"started on the product's file", "", "/work/cam.crb", "/work/cam.crb"},
        {"a file read or saved since", "/other/b.crb", "/work/cam.crb", "/other/b.crb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editor editor;
        editor.document.filePath = c.filePath;
        editor.startupPath = c.startupPath;
        EXPECT_EQ(saveDialogName(editor), c.offered);
    }
}

TEST(ListCommand, AFileReadFromTheListShowsTheDocumentsSettingsHoweverItCloses)
{
    struct Case {
        const char* what;
        PointListResult result;
        bool settingsShown;
        RedrawKind redraw;
    };
    const Case cases[] = {
        {"stopped, nothing read", {false, false}, false, RedrawKind::None},
        {"stopped after a file read", {false, true}, true, RedrawKind::Full},
        {"accepted, nothing read", {true, false}, false, RedrawKind::Full},
        {"accepted after a file read", {true, true}, true, RedrawKind::Full},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.host.listResult = c.result;
        const CommandOutcome out = f.run(MainControl::List);
        EXPECT_EQ(out.showCurveSettings, c.settingsShown);
        EXPECT_EQ(out.selectUnit, c.settingsShown);
        EXPECT_EQ(out.redraw, c.redraw);
        EXPECT_TRUE(out.showCount);
    }
}

TEST(OutputCommands, PrintingSaysSoAndAFailedCopyIsReported)
{
    Fixture f;
    f.editor.statusText = "avant";
    f.run(MainControl::Print);
    EXPECT_EQ(f.host.printed, 1);
    EXPECT_EQ(f.host.statusShown, (std::vector<std::string>{"Impression de la courbe", " "}));
    EXPECT_EQ(f.host.cursors, std::vector<CursorRequest>{CursorRequest::Arrow});

    f.run(MainControl::CopyPicture);
    EXPECT_TRUE(f.host.messages.empty());
    f.host.pictureCopied = false;
    f.run(MainControl::CopyPicture);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0],
              (UserMessage{"Impossible de sauver la courbe\ndans le clipboard !!!", "** ATTENTION **",
                           MessageButtons::Ok, MessageIcon::Error, MessageOwner::Focus}));
    EXPECT_EQ(f.editor.statusText, "avant");
}
