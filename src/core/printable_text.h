#pragma once

#include <string>
#include <string_view>

// A text from a file or a file name, made safe to put into a message: every
// control character (C0, DEL and the C1 range), and every byte that is no
// part of a valid UTF-8 character, shows as "\xNN" (one per byte), so a
// terminal never takes it as a command and the message stays one line. The
// rest is unchanged, and a text that holds no such byte comes back as it
// was: applying this twice changes nothing.
std::string PrintableText(std::string_view text);

// The text in Polish quotes, made printable: how a message names a file.
std::string QuotedName(std::string_view name);
