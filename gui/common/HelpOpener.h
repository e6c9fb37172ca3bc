#pragma once

#include <functional>
#include <string_view>

class QWidget;

// Opens the installed help file at `topic` over `owner`. False when no help file is
// installed: the dialog that asked then says so itself, as the owner of the message.
// The main window makes one and hands it to every dialog, which hands it on to the
// dialogs it opens.
using HelpOpener = std::function<bool(QWidget* owner, std::string_view topic)>;
