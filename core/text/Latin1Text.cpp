#include "text/Latin1Text.h"

#include "text/Utf8Text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        unsigned code = length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        bool valid = length > 1 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            auto cc = static_cast<unsigned char>(text[i + k]);
            if (!isUtf8Continuation(static_cast<char>(cc)))
                valid = false;
            else
                code = (code << 6) | (cc & 0x3F);
        }
        out += valid && code <= 0xFF ? static_cast<char>(code) : '?';
        i += valid ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

bool openRegularFile(const std::string& path, std::ifstream& in)
{
    std::error_code ec;
    fs::path p = fs::u8path(path);
    if (!fs::is_regular_file(p, ec))
        return false;
    in.open(p, std::ios::binary);
    return static_cast<bool>(in);
}

bool readFileBytes(const std::string& path, std::string& bytes, std::size_t limit)
{
    std::ifstream in;
    if (!openRegularFile(path, in))
        return false;
    try {
        bytes.clear();
        char buffer[65536];
        while (bytes.size() < limit) {
            in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, limit - bytes.size())));
            bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
            if (!in)
                break;
        }
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return false;
    }
    return !in.bad();
}

bool TextLineReader::next(std::string& piece)
{
    piece.clear();
    std::streambuf* buffer = in_.rdbuf();
    using Traits = std::char_traits<char>;
    while (piece.size() < pieceLength_ && consumed_ < MaxTextFileBytes) {
        Traits::int_type c = buffer->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof()))
            break;
        ++consumed_;
        if (c == '\r' && consumed_ < MaxTextFileBytes && Traits::eq_int_type(buffer->sgetc(), '\n')) {
            buffer->sbumpc();
            ++consumed_;
            c = '\n';
        }
        piece += Traits::to_char_type(c);
        if (c == '\n')
            break;
    }
    return !piece.empty();
}

std::string normalizeLineEnds(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i];
    }
    return out;
}

namespace {

// A file opened for writing by its descriptor, closed when it goes.
class FileHandle {
public:
    explicit FileHandle(int fd = -1) : fd_(fd) { }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) { }
    ~FileHandle() { close(); }

    bool valid() const { return fd_ >= 0; }
    bool writeAll(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const auto chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
#ifdef _WIN32
            const int n = ::_write(fd_, bytes.data(), chunk);
#else
            const ssize_t n = ::write(fd_, bytes.data(), chunk);
#endif
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    // Puts `bytes` at the start of the file and cuts it after them.
    bool rewrite(std::string_view bytes)
    {
#ifdef _WIN32
        return ::_lseeki64(fd_, 0, SEEK_SET) == 0 && writeAll(bytes)
            && ::_chsize_s(fd_, static_cast<long long>(bytes.size())) == 0;
#else
        return ::lseek(fd_, 0, SEEK_SET) == 0 && writeAll(bytes)
            && ::ftruncate(fd_, static_cast<off_t>(bytes.size())) == 0;
#endif
    }
    bool sync()
    {
#ifdef _WIN32
        return ::_commit(fd_) == 0;
#else
        return ::fsync(fd_) == 0;
#endif
    }
    bool close()
    {
        if (fd_ < 0)
            return true;
#ifdef _WIN32
        const bool ok = ::_close(fd_) == 0;
#else
        const bool ok = ::close(fd_) == 0;
#endif
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

// Creates a new file of a short name of its own beside `target`, exclusively: an existing
// file or link of that name is never opened, so nothing planted there can be written
// through. The name is short so that a target name of any legal length can be saved.
// When it fails, `error` holds the errno of the last attempt.
FileHandle createUniqueBeside(const fs::path& target, fs::path& created, int& error)
{
    static std::atomic<unsigned> counter{0};
    std::random_device entropy;
    error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long tag = (static_cast<unsigned long long>(entropy()) << 20) ^ counter++;
        char name[32];
        std::snprintf(name, sizeof name, ".crb%012llx.tmp", tag & 0xFFFFFFFFFFFFull);
        created = target.parent_path() / name;
#ifdef _WIN32
        int fd = ::_wopen(created.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
        int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
#endif
        if (fd >= 0)
            return FileHandle(fd);
        error = errno;
        if (error != EEXIST)
            break;
    }
    return FileHandle();
}

// Opens the existing regular file `target` for writing, without truncating it.
FileHandle openExistingForWriting(const fs::path& target)
{
#ifdef _WIN32
    return FileHandle(::_wopen(target.c_str(), _O_WRONLY | _O_BINARY));
#else
    return FileHandle(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
#endif
}

// Writes `bytes` over the existing file `target` in place, for a folder where no file
// can be created or renamed: the old bytes are kept in memory and put back when the
// new ones cannot all be written and flushed, so the file is never left cut short by a
// failed save (a crash of the machine in the middle can still leave it mixed).
bool overwriteInPlace(const fs::path& target, std::string_view bytes)
{
    std::error_code ec;
    const std::uintmax_t oldSize = fs::file_size(target, ec);
    if (ec || oldSize > MaxTextFileBytes)
        return false;
    const std::u8string name = target.u8string();
    std::string old;
    if (!readFileBytes(std::string(name.begin(), name.end()), old) || old.size() != oldSize)
        return false;
    FileHandle out = openExistingForWriting(target);
    if (!out.valid())
        return false;
    if (out.rewrite(bytes) && out.sync() && out.close())
        return true;
    FileHandle back = out.valid() ? std::move(out) : openExistingForWriting(target);
    if (back.valid() && back.rewrite(old))
        back.sync();
    return false;
}

bool isPermissionError(int error)
{
    return error == EACCES || error == EPERM;
}

// A rename refused for lack of permission. (On Windows a refused move mostly means that
// another program holds the file: the save then fails, as it always has.)
bool isPermissionError(const std::error_code& ec)
{
#ifdef _WIN32
    (void)ec;
    return false;
#else
    return ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted;
#endif
}

bool syncDirectoryAt(const fs::path& dir);

// Puts `from` in the place of `to` in one step. On Windows the move is written through
// to the disk before it returns, and fails (rather than waiting) while another program
// holds `to` open without letting it be replaced.
bool moveOver(const fs::path& from, const fs::path& to, std::error_code& ec)
{
#ifdef _WIN32
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ec = std::error_code(static_cast<int>(::GetLastError()), std::system_category());
    return false;
#else
    fs::rename(from, to, ec);
    return !ec;
#endif
}

} // namespace

bool replaceFileSafely(const std::string& path, std::string_view bytes)
{
    std::error_code ec;
    fs::path target = fs::u8path(path);
    // Through a link the file it names is replaced, so that readers of the link see it.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return false;
        target = resolved;
    }
    if (target.filename().empty() || fs::is_directory(target, ec))
        return false;
    const bool existed = fs::exists(target, ec);
    fs::perms permissions = fs::perms::unknown;
    if (existed) {
        permissions = fs::status(target, ec).permissions();
        // A file its owner may not write is not replaced behind its back.
        if (ec || (permissions & fs::perms::owner_write) == fs::perms::none)
            return false;
    }
    // A folder the user may not write (a shared folder) takes no new file: a file of
    // theirs in it is then written in place.
    fs::path temporary;
    int error = 0;
    FileHandle out = createUniqueBeside(target, temporary, error);
    if (!out.valid())
        return existed && isPermissionError(error) && overwriteInPlace(target, bytes);
    const bool written = out.writeAll(bytes) && out.sync() && out.close();
    if (!written) {
        fs::remove(temporary, ec);
        return false;
    }
    if (existed)
        fs::permissions(temporary, permissions, ec);
    if (!moveOver(temporary, target, ec)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        // Another user's file in a folder with the sticky bit cannot be renamed over,
        // though its owner may let it be written.
        return existed && isPermissionError(ec) && overwriteInPlace(target, bytes);
    }
    // Until the directory is on disk the rename may be lost with the power, and the
    // old file, or none, come back. The new bytes are in place either way, so a
    // failure here only asks the user to save again.
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    return syncDirectoryAt(directory);
}

bool syncDirectory(const std::string& directory)
{
    return syncDirectoryAt(fs::u8path(directory));
}

namespace {

bool syncDirectoryAt(const fs::path& dir)
{
#ifdef _WIN32
    std::error_code ec;
    return fs::is_directory(dir, ec);
#else
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // Some file systems cannot flush a directory at all (EINVAL): nothing more can be done there.
    const bool synced = result == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return synced;
#endif
}

} // namespace
