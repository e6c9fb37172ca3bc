#pragma once

// What the core tests share: points printed as (x, y) in failures, the test data files,
// a document of given points and the points of a document as a vector, a temporary
// folder per test, and a scripted host (ScriptedEditorHost.h).

#include "curve/CurveDocument.h"

#include "CurvePointPrinter.h"

#include <algorithm>
#include <bit>
#include <clocale>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <locale>
#include <optional>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// A file of tests/data.
inline std::string dataFile(const char* name)
{
    return std::string(CRB_TEST_DATA) + "/" + name;
}

// A document holding `points` in their order (the first MaxCurvePoints of them), nothing
// else set.
inline CurveDocument documentOf(const std::vector<CurvePoint>& points)
{
    CurveDocument doc;
    doc.replacePoints(points);
    return doc;
}

// The document's points.
inline std::vector<CurvePoint> pointsOf(const CurveDocument& doc)
{
    return {doc.points().begin(), doc.points().end()};
}

// A path as the program's code holds it: UTF-8.
inline std::string utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Two paths that name the same place the same way once "/" and "\\" are the platform's
// separator and "." and ".." are gone. Nothing stays nothing.
inline std::optional<std::string> normalPath(const std::optional<std::string>& path)
{
    if (!path)
        return std::nullopt;
    return utf8Of(std::filesystem::u8path(*path).lexically_normal());
}

// A fresh folder of its own under the system's temporary folder for each test (ctest
// runs tests side by side), removed with its contents at the end. Relative names are
// UTF-8 with "/" between folders, and paths come back in UTF-8, on every platform.
class TempDirectory {
public:
    explicit TempDirectory(std::string_view label = "crbedit-test")
    {
        namespace fs = std::filesystem;
        std::random_device entropy;
        std::error_code error;
        const fs::path base = fs::temp_directory_path(error);
        for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
            const fs::path candidate = base / fs::u8path(std::string(label) + "-" + std::to_string(entropy()));
            if (fs::create_directory(candidate, error))
                root_ = candidate;
        }
    }
    ~TempDirectory()
    {
        std::error_code ignored;
        if (!root_.empty())
            std::filesystem::remove_all(root_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path at(std::string_view relative) const
    {
        return relative.empty() ? root_ : root_ / std::filesystem::u8path(relative);
    }
    std::string path(std::string_view relative = {}) const { return utf8Of(at(relative)); }
    // Writes `bytes` at `relative`, making the folders on the way; returns its path.
    std::string write(std::string_view relative, std::string_view bytes) const
    {
        const std::filesystem::path file = at(relative);
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return utf8Of(file);
    }

private:
    std::filesystem::path root_;
};

// Puts the process in a French locale (decimal comma) for the scope, and back after.
// The C library's locale has a different name on each platform; the C++ global locale
// follows where the standard library knows French (MinGW's knows only "C").
class CommaDecimalLocale {
public:
    CommaDecimalLocale()
    {
        const char* previous = std::setlocale(LC_ALL, nullptr);
        saved_ = previous ? previous : "C";
        for (const char* name : {"fr_FR.UTF-8", "fr_FR.utf8", "French_France.1252", "fr-FR", "French"}) {
            if (std::setlocale(LC_ALL, name)) {
                name_ = name;
                break;
            }
        }
        try {
            if (!name_.empty())
                savedGlobal_ = std::locale::global(std::locale(name_));
        } catch (const std::runtime_error&) {
        }
    }
    ~CommaDecimalLocale()
    {
        if (savedGlobal_)
            std::locale::global(*savedGlobal_);
        std::setlocale(LC_ALL, saved_.c_str());
    }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    // The locale that was set, empty when the machine has none of them.
    const std::string& name() const { return name_; }

private:
    std::string saved_;
    std::string name_;
    std::optional<std::locale> savedGlobal_;
};

// The two numbers are the same bit for bit: -0.0 is not 0.0, and a NaN matches only the
// same NaN.
inline bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The two lists hold the same points bit for bit.
inline bool sameBits(std::span<const CurvePoint> a, std::span<const CurvePoint> b)
{
    const auto same = [](const CurvePoint& p, const CurvePoint& q) { return sameBits(p.x, q.x) && sameBits(p.y, q.y); };
    return std::ranges::equal(a, b, same);
}

// The name generator of INSTANTIATE_TEST_SUITE_P for case structs that carry a `name`
// (letters, digits and underscores only): GoogleTest's output and ctest then say which
// case failed, where they would otherwise show an index.
struct CaseName {
    template <class Info>
    std::string operator()(const Info& info) const
    {
        return std::string(info.param.name);
    }
};
