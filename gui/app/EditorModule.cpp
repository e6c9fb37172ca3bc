#include "gui/app/EditorModule.h"

#include "gui/app/CommandLine.h"

#include <QString>

#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#ifndef CRB_EDITOR_MODULE_FILE
#error "CRB_EDITOR_MODULE_FILE names the editor's library file"
#endif

std::filesystem::path programDirectory()
{
#ifdef _WIN32
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            return std::filesystem::path(std::wstring(name.data(), length)).parent_path();
        if (name.size() >= 32768) // the longest path Windows has
            return {};
        name.resize(name.size() * 2);
    }
#else
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::filesystem::path() : program.parent_path();
#endif
}

EditorMain loadEditorModule(const std::filesystem::path& directory, QString& error)
{
    // Never a search of the system's folders for a file of that name.
    if (directory.empty() || !directory.is_absolute()) {
        error = QStringLiteral("Impossible de charger l'éditeur : le dossier du programme est inconnu");
        return nullptr;
    }
    const std::filesystem::path file = directory / CRB_EDITOR_MODULE_FILE;
    EditorMain entry = nullptr;
    QString reason;
#ifdef _WIN32
    // Its Qt DLLs are looked for beside it first.
    const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module) {
        // FARPROC is a function of no arguments: through void(*)() it may become any other.
        entry = reinterpret_cast<EditorMain>(reinterpret_cast<void (*)()>(GetProcAddress(module, EditorMainName)));
    } else {
        reason = QStringLiteral("erreur %1").arg(GetLastError());
    }
#else
    void* module = dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (module) {
        entry = reinterpret_cast<EditorMain>(dlsym(module, EditorMainName));
    } else {
        const char* message = dlerror();
        reason = message ? QString::fromLocal8Bit(message) : QStringLiteral("erreur inconnue");
    }
#endif
    if (entry)
        return entry;
    if (module)
        reason = QStringLiteral("point d'entrée %1 absent").arg(QLatin1String(EditorMainName));
    error = QStringLiteral("Impossible de charger l'éditeur <%1> : %2")
                .arg(QString::fromStdU16String(file.u16string()), reason);
    return nullptr;
}

int runEditorModule(int argc, char** argv)
{
    QString error;
    if (const EditorMain editor = loadEditorModule(programDirectory(), error))
        return editor(argc, argv);
    sayOnConsole(stderr, error);
#ifdef _WIN32
    // Started from the desktop, the program has no console to show the line.
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(error.utf16()), L"Editeur de courbes", MB_OK | MB_ICONERROR);
#endif
    return 1;
}
