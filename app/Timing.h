// Moments of the window's work, written when LUMO_TIMING names a file, so that
// its speed can be measured from outside (bench/whole-process.sh).
#pragma once

// Appends "<what> <seconds since the epoch>" to the file LUMO_TIMING names;
// nothing when it names none.
void NoteTime(const char* what);
