#pragma once

#include <QString>

namespace vexa {

// The icon a message box shows: stop for errors and failed file operations,
// exclamation for refused input and warnings, question for confirmations, information for
// news that needs no answer.
enum class MessageIcon { Stop, Exclamation, Question, Information };

// One message the program reports: the string-table id it comes from, the text
// as shown (arguments already filled in) and its icon.
struct Message {
    int id = 0;
    QString text;
    MessageIcon icon = MessageIcon::Stop;
};

// Builds the message of string `id` with its table text.
Message message(int id, MessageIcon icon);

} // namespace vexa
