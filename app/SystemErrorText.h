// The program's own Japanese words for the system errors a user meets with
// files, so that a message reads in one language whatever the system's.
#pragma once

#include <QString>

// A sentence for `errnum` (an errno value); an error without words of its own
// gets its number and the system's text.
[[nodiscard]] QString JapaneseSystemError(int errnum);
