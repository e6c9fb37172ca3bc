#pragma once

#include <string>
#include <string_view>

enum class MessageIcon {
    None,
    Information,
    Warning,
    Error,
    Question
};
enum class MessageButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel
};
enum class MessageAnswer {
    Ok,
    Cancel,
    Yes,
    No
};

// The answer that changes nothing, which the close box (or Escape) of a message box
// gives: Cancel where there is one, else No to a question, else OK.
constexpr MessageAnswer safeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel: return MessageAnswer::Cancel;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::Ok: break;
    }
    return MessageAnswer::Ok;
}

// Which window a message box belongs to.
enum class MessageOwner {
    Window,      // the main window
    DrawingArea, // the drawing area in the main window
    Dialog,      // the dialog whose logic raised it (the point list)
    Focus,       // whichever window has the keyboard focus
    None,        // no owner (start-up, file readers)
};

// Caption of a message box raised without a caption of its own.
inline constexpr std::string_view DefaultMessageCaption = "Erreur";

// The one message type of the program: a message box that a command, a dialog's logic
// or an operation asks for, with its French text and caption (empty for the default
// caption), buttons, icon and owner. Lowest in core, so that every subsystem can say
// what it has to say the same way.
struct UserMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageOwner owner = MessageOwner::Window;
    friend bool operator==(const UserMessage&, const UserMessage&) = default;
};
