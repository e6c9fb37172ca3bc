#include "curve/CurveFile.h"
#include "curve/FileDialogRules.h"
#include "text/Latin1Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Reads a file of tests/data into a fresh document, as start-up does.
struct Loaded {
    CurveDocument doc;
    FileReadResult result;
    std::vector<CurvePoint> points() const { return pointsOf(doc); }
};

Loaded load(const char* name, bool curve)
{
    Loaded l;
    l.doc.smoothingMode = Carlson; // to see what the reader sets
    l.doc.periodic = 1;
    l.doc.unitName = "before";
    std::string path = dataFile(name);
    l.result = curve ? readCurveFile(path, l.doc) : readAsciiFile(path, l.doc);
    return l;
}

class TempDir : public TempDirectory {
public:
    std::string file(const char* name) const { return path(name); }
};

std::string bytesOf(const std::string& path)
{
    std::string bytes;
    readFileBytes(path, bytes);
    return bytes;
}

} // namespace

TEST(CurveFileReader, CurrentLayoutTakesEverySetting)
{
    auto l = load("current.crb", true);
    EXPECT_TRUE(l.result.opened);
    EXPECT_TRUE(l.result.message.empty());
    EXPECT_EQ(l.points(), (std::vector<CurvePoint>{{0, 0}, {1.5, -2.25}, {3, 4.125}}));
    EXPECT_EQ(l.doc.smoothingMode, 2);
    EXPECT_EQ(l.doc.periodic, 1);
    EXPECT_EQ(l.doc.unitName, "mm");
    EXPECT_EQ(l.doc.savedCount(), 3);
}

TEST(CurveFileReader, OlderAndNewerVersions)
{
    auto v3 = load("version20020703.crb", true);
    EXPECT_EQ(v3.doc.smoothingMode, 3);
    EXPECT_EQ(v3.doc.periodic, 0);
    EXPECT_EQ(v3.points(), (std::vector<CurvePoint>{{1, 2}, {3, 4}})) << "tabs separate %lf numbers";
    EXPECT_EQ(v3.doc.unitName, "");

    auto old = load("old_layout.crb", true);
    EXPECT_EQ(old.doc.smoothingMode, 1);
    EXPECT_EQ(old.doc.periodic, 0);
    EXPECT_EQ(old.points(), (std::vector<CurvePoint>{{0.5, 1.5}, {1, 2}, {2, -3}}));
    EXPECT_TRUE(old.result.message.empty());

    auto future = load("future_version.crb", true);
    EXPECT_EQ(future.doc.smoothingMode, 1);
    EXPECT_EQ(future.doc.periodic, 1);
    EXPECT_EQ(future.points(), (std::vector<CurvePoint>{{5, 6}, {7, 8}}));
    EXPECT_EQ(future.doc.unitName, "rad");
}

TEST(CurveFileReader, OldLayoutEndingEarlyReportsTheLastFirstField)
{
    auto l = load("old_truncated.crb", true);
    EXPECT_EQ(l.points(), (std::vector<CurvePoint>{{0.5, 1.5}, {1, 2}}));
    EXPECT_EQ(l.result.message, "Erreur à la ligne [  2] !!!\nLecture interrompue");
    EXPECT_EQ(l.doc.savedCount(), 2);
}

TEST(CurveFileReader, DamagedFilesNeverOverfillOrKeepUnreadPoints)
{
    struct Case {
        const char* file;
        std::vector<CurvePoint> points;
        const char* unit;
    } cases[] = {
        {"negative_count.crb", {}, ""},
        {"not_a_number.crb", {}, ""},
        {"bad_number.crb", {{1, 2}, {3, 4}}, ""},
        {"nan_value.crb", {{1, 2}}, ""},
        {"overflow_value.crb", {{1, 2}}, ""},
        {"old_short_line.crb", {{0.5, 1.5}}, ""},
        {"long_unit.crb", {{1, 2}}, "millimetres_par"},
        {"empty_curve.crb", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto l = load(c.file, true);
        EXPECT_TRUE(l.result.message.empty());
        EXPECT_EQ(l.points(), c.points);
        EXPECT_EQ(l.doc.unitName, c.unit);
        EXPECT_EQ(l.doc.savedCount(), l.doc.count());
    }
}

TEST(CurveFileReader, DeclaredCountAboveCapacityKeeps1024AndFindsTheUnit)
{
    auto l = load("too_many.crb", true);
    ASSERT_EQ(l.doc.count(), MaxCurvePoints);
    EXPECT_EQ(l.doc.points()[1023], (CurvePoint{1023, 2046}));
    EXPECT_EQ(l.doc.unitName, "kg");
}

TEST(CurveFileReader, UnitIsReadAsLatin1)
{
    auto l = load("latin1_unit.crb", true);
    EXPECT_EQ(l.doc.unitName, "µm");
}

TEST(CurveFileReader, MissingFileChangesNothing)
{
    CurveDocument doc = documentOf({{1, 1}, {2, 2}});
    doc.markSaved();
    doc.removePoint(1);
    doc.smoothingMode = Akima;
    doc.unitName = "mm";
    auto r = readCurveFile(dataFile("no_such_file.crb"), doc);
    auto a = readAsciiFile(dataFile("no_such_file.txt"), doc);
    EXPECT_FALSE(r.opened);
    EXPECT_FALSE(a.opened);
    EXPECT_EQ(doc.count(), 1);
    EXPECT_EQ(doc.smoothingMode, Akima);
    EXPECT_EQ(doc.unitName, "mm");
    EXPECT_EQ(doc.savedCount(), 2);
}

#ifndef _WIN32
TEST(CurveFileReader, DevicesAreNotRead)
{
    // An endless device on the command line must not hang or exhaust memory.
    CurveDocument doc;
    doc.appendPoint({1, 1});
    EXPECT_FALSE(readCurveFile("/dev/zero", doc).opened);
    EXPECT_FALSE(readAsciiFile("/dev/zero", doc).opened);
    EXPECT_FALSE(readAsciiFile(CRB_TEST_DATA, doc).opened);
    EXPECT_EQ(doc.count(), 1);
}
#endif

TEST(AsciiFileReader, SkipsBlankAndCommentLinesKeepsFileOrder)
{
    auto l = load("mixed.txt", false);
    EXPECT_TRUE(l.result.message.empty());
    EXPECT_EQ(l.points(), (std::vector<CurvePoint>{{1, 2}, {3, 4}, {0, 7}, {-15, 2.5}, {0, 0}, {0.5, 0.25}}));
    EXPECT_EQ(l.doc.savedCount(), 6);
    // The ASCII reader leaves the curve settings alone.
    EXPECT_EQ(l.doc.smoothingMode, 3);
    EXPECT_EQ(l.doc.unitName, "before");
}

TEST(AsciiFileReader, ALineWithOneFieldStopsReadingWithTheCutLine)
{
    struct Case {
        const char* file;
        std::vector<CurvePoint> points;
        const char* shown;
    } cases[] = {
        {"one_field.txt", {{1, 2}, {3, 4}}, "42"},
        {"tab_separated.txt", {{1, 2}}, "3\t4"},
        {"blank_line.txt", {{1, 2}}, "   \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto l = load(c.file, false);
        EXPECT_EQ(l.points(), c.points);
        EXPECT_EQ(l.result.message, std::string("Erreur à la ligne [") + c.shown + "] !!!\nLecture interrompue");
        EXPECT_EQ(l.doc.savedCount(), static_cast<int>(c.points.size()));
    }
}

TEST(AsciiFileReader, LinesAreReadIn79CharacterPieces)
{
    auto l = load("long_line.txt", false);
    EXPECT_TRUE(l.result.message.empty());
    EXPECT_EQ(l.points(), (std::vector<CurvePoint>{{1, 2}, {3, 4}, {5, 6}, {7, 8}}));
}

TEST(AsciiFileReader, SurplusLinesAreDroppedSilently)
{
    auto l = load("many_points.txt", false);
    EXPECT_TRUE(l.result.message.empty());
    ASSERT_EQ(l.doc.count(), MaxCurvePoints);
    EXPECT_EQ(l.doc.points()[1023], (CurvePoint{511.5, 1023.0 * 1023 * 0.001}));
}

TEST(CurveFileReader, TheCurveReaderIsChosenByCrbInAnyLetterCase)
{
    // What start-up does with CAM.CRB, as the simulation product may name it.
    TempDir dir;
    const std::string path = dir.write("data/CAM.CRB", bytesOf(dataFile("current.crb")));
    CurveDocument doc;
    auto r = readPointFile(path, doc);
    EXPECT_EQ(pointsOf(doc), (std::vector<CurvePoint>{{0, 0}, {1.5, -2.25}, {3, 4.125}}));
    EXPECT_EQ(doc.smoothingMode, Akima) << "read as a curve file";
    EXPECT_TRUE(r.message.empty());
    for (const char* path : {"D:\\x.crb\\pts.txt", "D:\\data\\CAM.CRB", "a.Crb", "/tmp/.CRB"})
        EXPECT_TRUE(isCurveFilePath(path)) << path;
    for (const char* path : {"a.txt", "a.cr", "crb", "a.c rb"})
        EXPECT_FALSE(isCurveFilePath(path)) << path;
}

TEST(CurveFileWriter, WritesTheCurrentLayoutWithCrLf)
{
    CurveDocument doc;
    doc.smoothingMode = Cubique;
    doc.periodic = 1;
    doc.unitName = "deg";
    std::vector<CurvePoint> pts{{1.5, -0.0000004}, {1e6, 2.0}};
    EXPECT_EQ(curveFileBytes(doc, pts),
              "20020704\r\n1\r\n1\r\n2\r\n1.500000 -0.000000\r\n1000000.000000 2.000000\r\ndeg\r\n");
    doc.unitName.clear();
    EXPECT_EQ(curveFileBytes(doc, {}), "20020704\r\n1\r\n1\r\n0\r\n");
    doc.unitName = "µm→s";
    EXPECT_EQ(curveFileBytes(doc, {}), "20020704\r\n1\r\n1\r\n0\r\n\xb5m?s\r\n");
}

TEST(CurveFileWriter, RoundTripUnderACommaDecimalLocale)
{
    std::optional<CommaDecimalLocale> french(std::in_place);
    ASSERT_FALSE(french->name().empty()) << "no French locale on this machine";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale really uses a comma";

    TempDir dir;
    CurveDocument doc;
    doc.smoothingMode = Carlson;
    doc.periodic = 1;
    doc.unitName = "mm s";
    doc.appendPoint({-2.25, 1234.5678901});
    doc.appendPoint({3.0000004, -7});
    std::string path = dir.file("round.crb");
    ASSERT_TRUE(writeCurveFileTo(path, doc, doc.points()));

    CurveDocument back;
    auto r = readCurveFile(path, back);
    french.reset();

    EXPECT_TRUE(r.message.empty());
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(back.points()[0], (CurvePoint{-2.25, 1234.567890}));
    EXPECT_EQ(back.points()[1], (CurvePoint{3.0, -7}));
    EXPECT_EQ(back.smoothingMode, Carlson);
    EXPECT_EQ(back.periodic, 1);
    EXPECT_EQ(back.unitName, "mm") << "a unit with a blank reads back as its first word";
}

TEST(CurveFileWriter, AFailedWriteKeepsThePreviousFileAndLeavesNoTemporary)
{
    TempDir dir;
    std::string path = dir.file("keep");
    // A directory cannot be replaced by a curve file.
    fs::create_directories(fs::path(path) / "x");
    CurveDocument doc;
    EXPECT_FALSE(writeCurveFileTo(path, doc, {}));
    EXPECT_TRUE(fs::is_directory(fs::path(path) / "x"));
    EXPECT_FALSE(writeCurveFileTo(dir.file("missing/dir/a.crb"), doc, {}));

    std::string saved = dir.file("a.crb");
    EXPECT_TRUE(writeCurveFileTo(saved, doc, {}));
    EXPECT_TRUE(writeCurveFileTo(saved, doc, {}));
    EXPECT_EQ(bytesOf(saved), "20020704\r\n0\r\n0\r\n0\r\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.file("")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.crb", "keep"})) << "no temporary file stays behind";
}

TEST(CurveFileWriter, TheDirectoryIsFlushedAfterTheRename)
{
    TempDir dir;
    EXPECT_TRUE(syncDirectory(dir.file("")));
    EXPECT_FALSE(syncDirectory(dir.file("missing")));
    // A name without a folder is saved in the working directory, which is flushed too.
    const fs::path before = fs::current_path();
    fs::current_path(dir.file(""));
    CurveDocument doc;
    EXPECT_TRUE(writeCurveFileTo("relative.crb", doc, {}));
    fs::current_path(before);
    EXPECT_EQ(bytesOf(dir.file("relative.crb")), "20020704\r\n0\r\n0\r\n0\r\n");
}

TEST(CurveFileWriter, SavesNamesOfAnyLegalLength)
{
    TempDir dir;
    CurveDocument doc;
    doc.appendPoint({1, 2});
    for (std::size_t length : {251u, 255u}) {
        std::string name = std::string(length - 4, 'n') + ".crb";
        std::string path = dir.file(name.c_str());
        ASSERT_TRUE(writeCurveFileTo(path, doc, doc.points())) << length;
        EXPECT_EQ(bytesOf(path), "20020704\r\n0\r\n0\r\n1\r\n1.000000 2.000000\r\n");
    }
}

#ifndef _WIN32
TEST(CurveFileWriter, ALinkPlantedBesideTheTargetIsNeverWrittenThrough)
{
    TempDir dir;
    std::string victim = dir.file("victim");
    std::string target = dir.file("cam.crb");
    {
        std::ofstream(victim, std::ios::binary) << "precious";
    }
    // The names a writer might try for its temporary file, every one a link to the victim.
    for (const std::string& name : {target + ".tmp~", target + ".tmp", dir.file(".cam.crb.tmp")})
        fs::create_symlink(victim, name);
    CurveDocument doc;
    ASSERT_TRUE(writeCurveFileTo(target, doc, {}));
    EXPECT_EQ(bytesOf(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(bytesOf(target), "20020704\r\n0\r\n0\r\n0\r\n");
}

TEST(CurveFileWriter, ReplacesTheFileALinkNamesAndKeepsItsPermissions)
{
    TempDir dir;
    std::string real = dir.file("real.crb");
    std::string link = dir.file("link.crb");
    {
        std::ofstream(real, std::ios::binary) << "old";
    }
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);
    CurveDocument doc;
    ASSERT_TRUE(writeCurveFileTo(link, doc, {}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytesOf(real), "20020704\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

// The names of a folder's files, sorted.
static std::vector<std::string> fileNames(const TempDir& dir, std::string_view folder = {})
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.at(folder)))
        names.push_back(utf8Of(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// A save that cannot replace the file says so (the user is asked again) and leaves the
// old bytes and no temporary file. Windows refuses to replace a file another program
// holds open; elsewhere the reader keeps the old file and the save goes through.
TEST(CurveFileWriter, AFileThatCannotBeReplacedIsReportedAndKept)
{
    TempDir dir;
    CurveDocument doc;
    doc.appendPoint({1, 2});
    const std::span<const CurvePoint> points = doc.points();
    const std::string saved = "20020704\r\n0\r\n0\r\n1\r\n1.000000 2.000000\r\n";

    const std::string readOnly = dir.write("lecture seule.crb", "old");
    fs::permissions(fs::u8path(readOnly), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(writeCurveFileTo(readOnly, doc, points)) << "a read-only file is left alone";
    EXPECT_EQ(bytesOf(readOnly), "old");
    fs::permissions(fs::u8path(readOnly), fs::perms::owner_write, fs::perm_options::add);

    const std::string held = dir.write("ouvert.crb", "old");
    {
        std::ifstream reader(fs::u8path(held), std::ios::binary);
        ASSERT_TRUE(reader.is_open());
#ifdef _WIN32
        EXPECT_FALSE(writeCurveFileTo(held, doc, points));
        EXPECT_EQ(bytesOf(held), "old");
#else
        EXPECT_TRUE(writeCurveFileTo(held, doc, points));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old") << "the reader keeps its file";
#endif
    }
    EXPECT_EQ(fileNames(dir), (std::vector<std::string>{"lecture seule.crb", "ouvert.crb"})) << "no temporary stays";
    // Once the other program has let go, saving again succeeds.
    EXPECT_TRUE(writeCurveFileTo(held, doc, points));
    EXPECT_EQ(bytesOf(held), saved);
}

#ifndef _WIN32
// Runs `save` as a user who owns neither the folder nor (as root would) every file:
// root drops its privileges in a child process for it. The child's exit status: 0 when
// `save` returned true, 1 when false, 2 when it could not become that user.
template <class Save>
static int exitStatusAsAnotherUser(Save save)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(save() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// In a shared folder the user may not write, or in another user's folder with the sticky
// bit, no file can be created or renamed over: a file there that the user may write is
// saved in place, and one they may not write is left alone.
TEST(CurveFileWriter, AWritableFileInAFolderTheUserMayNotWriteIsSavedInPlace)
{
    struct Case {
        const char* what;
        fs::perms folder;
        fs::perms file;
        bool needsAnotherOwner; // only root can make the folder another user's
        bool saved;
    };
    const fs::perms readAll = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms writeAll = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const fs::perms enterAll = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    const Case cases[] = {
        {"folder without write permission", readAll | enterAll, readAll | writeAll, false, true},
        {"another user's sticky folder", readAll | writeAll | enterAll | fs::perms::sticky_bit, readAll | writeAll,
         true, true},
        {"a file the user may not write either", readAll | enterAll, readAll | fs::perms::owner_write, true, false},
    };
    CurveDocument doc;
    doc.appendPoint({1, 2});
    const std::string saved = "20020704\r\n0\r\n0\r\n1\r\n1.000000 2.000000\r\n";
    const std::string old = "an older curve, longer than the new one, whose tail must go";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsAnotherOwner && geteuid() != 0)
            continue;
        TempDir dir;
        const std::string target = dir.write("partage/cam.crb", old);
        fs::permissions(dir.at(""), readAll | enterAll | fs::perms::owner_write);
        fs::permissions(fs::u8path(target), c.file);
        fs::permissions(dir.at("partage"), c.folder);
        const int status = exitStatusAsAnotherUser([&] { return writeCurveFileTo(target, doc, doc.points()); });
        fs::permissions(dir.at("partage"), fs::perms::owner_all);
        ASSERT_NE(status, 2) << "could not run as another user";
        EXPECT_EQ(status, c.saved ? 0 : 1);
        EXPECT_EQ(bytesOf(target), c.saved ? saved : old);
        EXPECT_EQ(fileNames(dir, "partage"), std::vector<std::string>{"cam.crb"}) << "no temporary stays";
    }
}
#endif

// Windows users keep their curves under names with accents: the UTF-8 path the window
// hands over opens, saves and reads back the same on every platform.
TEST(CurveFileWriter, AccentedNamesSaveAndReadBack)
{
    TempDir dir;
    fs::create_directory(dir.at("Donn\xC3\xA9"
                                "es"));
    const std::string path = dir.path("Donn\xC3\xA9"
                                      "es/courbe-\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.crb");
    CurveDocument doc;
    doc.appendPoint({0.5, -1.25});
    doc.appendPoint({2, 3});
    ASSERT_TRUE(writeCurveFileTo(path, doc, doc.points()));
    EXPECT_EQ(fileNames(dir,
                        "Donn\xC3\xA9"
                        "es"),
              (std::vector<std::string>{"courbe-\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.crb"}));
    EXPECT_EQ(bytesOf(path), "20020704\r\n0\r\n0\r\n2\r\n0.500000 -1.250000\r\n2.000000 3.000000\r\n");

    CurveDocument back;
    const auto result = readCurveFile(path, back);
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(pointsOf(back), (std::vector<CurvePoint>{{0.5, -1.25}, {2, 3}}));
}

TEST(FileDialogRules, PathChecksAndMessages)
{
    EXPECT_EQ(checkChosenPath("/tmp/a.crb"), FileDialogError::None);
    EXPECT_EQ(checkChosenPath(""), FileDialogError::Cancelled);
    EXPECT_EQ(checkChosenPath("/tmp/"), FileDialogError::InvalidFileName);
    EXPECT_EQ(checkChosenPath("/tmp/" + std::string(251, 'a')), FileDialogError::NameTooLong);
    EXPECT_EQ(checkChosenPath("/" + std::string(254, 'a')), FileDialogError::None);
    EXPECT_EQ(fileDialogErrorMessage(FileDialogError::InvalidFileName), "Nom de fichier invalide");
    EXPECT_EQ(fileDialogErrorMessage(FileDialogError::NameTooLong),
              "Nom de fichier trop long (longueur maxi = 256 car.)");
    EXPECT_EQ(fileDialogErrorMessage(FileDialogError::Other), "Erreur non référencée !!!");
    EXPECT_EQ(fileDialogErrorMessage(FileDialogError::Cancelled), "");
}
