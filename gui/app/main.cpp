#include "gui/app/CommandLine.h"
#include "gui/app/EditorModule.h"

int main(int argc, char* argv[])
{
    if (const std::optional<int> answered = runCommandLineOption(argc, argv))
        return *answered;
    return runEditorModule(argc, argv);
}
